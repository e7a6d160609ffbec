// kel_cppUtil: the platform's string and lock classes.
#ifndef KEL_CPPUTIL_H
#define KEL_CPPUTIL_H

#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>

namespace kel_cppUtil {

// A text value. Converts to const char* so that it can be handed to C and
// CORBA interfaces directly; the pointer stays valid until the string changes.
class String {
public:
  String();
  String(const char* text);                // null reads as ""
  String(const std::string& text);
  String(const String& other);
  String(String&& other) noexcept;
  ~String();

  String& operator=(const char* text);
  String& operator=(const String& other);
  String& operator=(String&& other) noexcept;
  String& operator+=(const char* text);
  String& operator+=(const String& other);
  // Appends the decimal digits of value.
  String& operator<<(int value);
  String& operator<<(long value);
  String& operator<<(unsigned long value);
  String& operator<<(const char* text);

  bool operator==(const char* text) const;
  bool operator==(const String& other) const;
  bool operator!=(const char* text) const;
  bool operator!=(const String& other) const;
  bool operator<(const char* text) const;
  bool operator<(const String& other) const;

  operator const char*() const;
  const char* c_str() const;
  const std::string& str() const;
  std::size_t length() const;
  bool empty() const;

private:
  std::string m_text;
};

String operator+(const String& left, const String& right);
String operator+(const String& left, const char* right);
String operator+(const char* left, const String& right);
std::ostream& operator<<(std::ostream& out, const String& text);

class Mutex;

// Holds a Mutex locked for its lifetime.
class MutexLock {
public:
  explicit MutexLock(const Mutex& mutex);
  MutexLock(MutexLock&& other) noexcept;
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;
  MutexLock& operator=(MutexLock&&) = delete;
  ~MutexLock();

private:
  const Mutex* m_mutex;
};

// A non-recursive mutex. Copying a Mutex gives a new, unlocked mutex.
class Mutex {
public:
  Mutex();
  Mutex(const Mutex&);
  Mutex& operator=(const Mutex&);
  virtual ~Mutex();

  MutexLock getMutexLock() const;
  void lock() const;
  void unlock() const;

private:
  mutable std::mutex m_mutex;
};

} // namespace kel_cppUtil

#endif
