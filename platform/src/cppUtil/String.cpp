#include "kel_cppUtil.h"

#include <ostream>
#include <utility>

namespace kel_cppUtil {

String::String() = default;
String::String(const char* text) : m_text(text ? text : "") {}
String::String(const std::string& text) : m_text(text) {}
String::String(const String& other) = default;
String::String(String&& other) noexcept : m_text(std::move(other.m_text)) {}
String::~String() = default;

String& String::operator=(const char* text) {
  // text may point into this string; assign() copes with that.
  m_text.assign(text ? text : "");
  return *this;
}

String& String::operator=(const String& other) {
  if (this != &other) m_text = other.m_text;
  return *this;
}

String& String::operator=(String&& other) noexcept {
  if (this != &other) m_text = std::move(other.m_text);
  return *this;
}

String& String::operator+=(const char* text) {
  if (text) m_text.append(text);
  return *this;
}

String& String::operator+=(const String& other) {
  m_text.append(other.m_text);
  return *this;
}

String& String::operator<<(int value) {
  m_text.append(std::to_string(value));
  return *this;
}

String& String::operator<<(long value) {
  m_text.append(std::to_string(value));
  return *this;
}

String& String::operator<<(unsigned long value) {
  m_text.append(std::to_string(value));
  return *this;
}

String& String::operator<<(const char* text) { return *this += text; }

bool String::operator==(const char* text) const { return m_text == (text ? text : ""); }
bool String::operator==(const String& other) const { return m_text == other.m_text; }
bool String::operator!=(const char* text) const { return !(*this == text); }
bool String::operator!=(const String& other) const { return !(*this == other); }
bool String::operator<(const char* text) const { return m_text < (text ? text : ""); }
bool String::operator<(const String& other) const { return m_text < other.m_text; }

String::operator const char*() const { return m_text.c_str(); }
const char* String::c_str() const { return m_text.c_str(); }
const std::string& String::str() const { return m_text; }
std::size_t String::length() const { return m_text.length(); }
bool String::empty() const { return m_text.empty(); }

String operator+(const String& left, const String& right) {
  String result(left);
  result += right;
  return result;
}

String operator+(const String& left, const char* right) {
  String result(left);
  result += right;
  return result;
}

String operator+(const char* left, const String& right) {
  String result(left);
  result += right;
  return result;
}

std::ostream& operator<<(std::ostream& out, const String& text) { return out << text.str(); }

} // namespace kel_cppUtil
