#include "core/Time.h"

#include <cctype>
#include <ctime>

namespace kelwelld {

namespace {

// Reads exactly count digits at pos into value; advances pos.
bool digits(const std::string& text, std::size_t& pos, int count, int& value) {
  if (pos + static_cast<std::size_t>(count) > text.size()) return false;
  value = 0;
  for (int i = 0; i < count; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
    if (!std::isdigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  pos += static_cast<std::size_t>(count);
  return true;
}

bool literal(const std::string& text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

bool isIsoDate(const std::string& text) {
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0;
  if (!digits(text, pos, 4, year) || !literal(text, pos, '-') || !digits(text, pos, 2, month) ||
      !literal(text, pos, '-') || !digits(text, pos, 2, day))
    return false;
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return false;
  if (pos == text.size()) return true;

  int hour = 0, minute = 0, second = 0;
  if (!literal(text, pos, 'T') || !digits(text, pos, 2, hour) || !literal(text, pos, ':') ||
      !digits(text, pos, 2, minute))
    return false;
  if (hour > 23 || minute > 59) return false;
  if (literal(text, pos, ':')) {
    if (!digits(text, pos, 2, second) || second > 60) return false;   // 60: leap second
    if (literal(text, pos, '.')) {
      const std::size_t start = pos;
      while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
      if (pos == start) return false;
    }
  }
  if (pos == text.size()) return true;
  if (literal(text, pos, 'Z')) return pos == text.size();
  if (text[pos] != '+' && text[pos] != '-') return false;
  ++pos;
  int offsetHours = 0, offsetMinutes = 0;
  if (!digits(text, pos, 2, offsetHours)) return false;
  literal(text, pos, ':');
  if (!digits(text, pos, 2, offsetMinutes)) return false;
  return pos == text.size() && offsetHours <= 14 && offsetMinutes <= 59;
}

std::string nowUtc() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

} // namespace kelwelld
