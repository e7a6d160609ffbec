#include "kel_String.h"

#include <ostream>
#include <utility>

#include "kel_cppUtil.h"

kel_String::kel_String() = default;
kel_String::kel_String(const char* text) : m_text(text ? text : "") {}
kel_String::kel_String(const kel_cppUtil::String& text) : m_text(text.str()) {}
kel_String::kel_String(const kel_String& other) = default;
kel_String::kel_String(kel_String&& other) noexcept : m_text(std::move(other.m_text)) {}
kel_String::~kel_String() = default;

kel_String& kel_String::operator=(const char* text) {
  // text may point into this string; assign() copes with that.
  m_text.assign(text ? text : "");
  return *this;
}

kel_String& kel_String::operator=(const kel_String& other) {
  if (this != &other) m_text = other.m_text;
  return *this;
}

kel_String& kel_String::operator=(kel_String&& other) noexcept {
  if (this != &other) m_text = std::move(other.m_text);
  return *this;
}

kel_String& kel_String::operator+=(const char* text) {
  if (text) m_text.append(text);
  return *this;
}

kel_String& kel_String::operator+=(const kel_String& other) {
  m_text.append(other.m_text);
  return *this;
}

kel_String& kel_String::operator+=(const kel_cppUtil::String& other) {
  m_text.append(other.str());
  return *this;
}

bool kel_String::operator==(const char* text) const { return m_text == (text ? text : ""); }
bool kel_String::operator==(const kel_String& other) const { return m_text == other.m_text; }
bool kel_String::operator==(const kel_cppUtil::String& other) const { return m_text == other.str(); }
bool kel_String::operator!=(const char* text) const { return !(*this == text); }
bool kel_String::operator!=(const kel_String& other) const { return !(*this == other); }
bool kel_String::operator!=(const kel_cppUtil::String& other) const { return !(*this == other); }
bool kel_String::operator<(const char* text) const { return m_text < (text ? text : ""); }
bool kel_String::operator<(const kel_String& other) const { return m_text < other.m_text; }
bool kel_String::operator<(const kel_cppUtil::String& other) const { return m_text < other.str(); }

kel_String::operator const char*() const { return m_text.c_str(); }
const char* kel_String::c_str() const { return m_text.c_str(); }
std::size_t kel_String::length() const { return m_text.length(); }

kel_String operator+(const kel_String& left, const kel_String& right) {
  kel_String result(left);
  result += right;
  return result;
}

kel_String operator+(const kel_String& left, const char* right) {
  kel_String result(left);
  result += right;
  return result;
}

kel_String operator+(const char* left, const kel_String& right) {
  kel_String result(left);
  result += right;
  return result;
}

kel_String operator+(const kel_String& left, const kel_cppUtil::String& right) {
  kel_String result(left);
  result += right;
  return result;
}

std::ostream& operator<<(std::ostream& out, const kel_String& text) { return out << text.c_str(); }
