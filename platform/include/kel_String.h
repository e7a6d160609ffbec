// kel_String: the platform's older text class, kept for applications built
// against the earlier interface level of the well library, whose texts are
// kel_String throughout.
#ifndef KEL_STRING_H
#define KEL_STRING_H

#include <cstddef>
#include <iosfwd>
#include <string>

namespace kel_cppUtil {
class String;
}

class kel_String {
public:
  kel_String();
  kel_String(const char* text);                   // null reads as ""
  // The texts the platform's own classes return (identifiers, references,
  // messages) become kel_String where an older application keeps them.
  kel_String(const kel_cppUtil::String& text);
  kel_String(const kel_String& other);
  kel_String(kel_String&& other) noexcept;
  ~kel_String();

  kel_String& operator=(const char* text);
  kel_String& operator=(const kel_String& other);
  kel_String& operator=(kel_String&& other) noexcept;
  kel_String& operator+=(const char* text);
  kel_String& operator+=(const kel_String& other);
  // The overloads for kel_cppUtil::String settle what would be ambiguous:
  // the platform's texts convert both to kel_String and to const char*.
  kel_String& operator+=(const kel_cppUtil::String& other);

  bool operator==(const char* text) const;
  bool operator==(const kel_String& other) const;
  bool operator==(const kel_cppUtil::String& other) const;
  bool operator!=(const char* text) const;
  bool operator!=(const kel_String& other) const;
  bool operator!=(const kel_cppUtil::String& other) const;
  bool operator<(const char* text) const;
  bool operator<(const kel_String& other) const;
  bool operator<(const kel_cppUtil::String& other) const;

  // Valid until the string changes or goes.
  operator const char*() const;
  const char* c_str() const;
  std::size_t length() const;

private:
  std::string m_text;
};

kel_String operator+(const kel_String& left, const kel_String& right);
kel_String operator+(const kel_String& left, const char* right);
kel_String operator+(const char* left, const kel_String& right);
kel_String operator+(const kel_String& left, const kel_cppUtil::String& right);
std::ostream& operator<<(std::ostream& out, const kel_String& text);

#endif
