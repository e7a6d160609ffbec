#include "kel_Date.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <string>
#include <tuple>

#include "kel_Exception.h"

namespace {

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

bool validDateTime(int year, int month, int day, int hour, int minute, int second) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 &&
         second >= 0 && second <= 59;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long daysFromCivil(long year, long month, long day) {
  year -= month <= 2;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const long yearOfEra = year - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long days, int& year, int& month, int& day) {
  days += 719468;
  const long era = (days >= 0 ? days : days - 146096) / 146097;
  const long dayOfEra = days - era * 146097;
  const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

// Reads exactly count digits at text[pos].
bool digits(const std::string& text, std::size_t& pos, std::size_t count, int& value) {
  if (pos + count > text.size()) return false;
  value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return true;
}

bool expect(const std::string& text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

[[noreturn]] void refuse(const std::string& text, const char* why) {
  std::string message = "Could not read the date \"" + text + "\". ";
  throw kel_UserException(message.c_str(), why);
}

} // namespace

kel_Date::kel_Date() : m_null(true), m_year(0), m_month(0), m_day(0), m_hour(0), m_minute(0), m_second(0) {}

kel_Date::kel_Date(int year, int month, int day, int hour, int minute, int second)
    : m_null(false), m_year(year), m_month(month), m_day(day), m_hour(hour), m_minute(minute), m_second(second) {
  if (!validDateTime(year, month, day, hour, minute, second)) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
    refuse(text, "There is no such date and time. ");
  }
}

// Accepts "YYYY-MM-DD" and "YYYY-MM-DDThh:mm[:ss[.fraction]]" followed by
// nothing, "Z" or an offset "+hh:mm", "+hhmm" or "+hh" (also "-"); an offset
// is taken off to give UTC, a fraction of a second is dropped.
kel_Date kel_Date::fromString(const char* input) {
  if (input == nullptr) return kel_Date();
  std::string text(input);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return kel_Date();
  text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);

  const char* const format = "Expected an ISO 8601 date (YYYY-MM-DD) or date and time (YYYY-MM-DDThh:mm:ssZ). ";
  std::size_t pos = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!digits(text, pos, 4, year) || !expect(text, pos, '-') || !digits(text, pos, 2, month) ||
      !expect(text, pos, '-') || !digits(text, pos, 2, day))
    refuse(text, format);
  long offsetMinutes = 0;
  if (pos < text.size()) {
    if (text[pos] != 'T' && text[pos] != 't' && text[pos] != ' ') refuse(text, format);
    ++pos;
    if (!digits(text, pos, 2, hour) || !expect(text, pos, ':') || !digits(text, pos, 2, minute))
      refuse(text, format);
    if (pos < text.size() && text[pos] == ':') {
      ++pos;
      if (!digits(text, pos, 2, second)) refuse(text, format);
      if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
        ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos == start) refuse(text, format);
      }
    }
    if (pos < text.size()) {
      const char zone = text[pos];
      if (zone == 'Z' || zone == 'z') {
        ++pos;
      } else if (zone == '+' || zone == '-') {
        ++pos;
        int offsetHours = 0, offsetMins = 0;
        if (!digits(text, pos, 2, offsetHours)) refuse(text, format);
        if (pos < text.size()) {
          if (text[pos] == ':') ++pos;
          if (!digits(text, pos, 2, offsetMins)) refuse(text, format);
        }
        if (offsetHours > 23 || offsetMins > 59) refuse(text, "The time zone offset is out of range. ");
        offsetMinutes = (zone == '+' ? 1 : -1) * (offsetHours * 60L + offsetMins);
      } else {
        refuse(text, format);
      }
    }
    if (pos != text.size()) refuse(text, format);
  }
  if (!validDateTime(year, month, day, hour, minute, second)) refuse(text, "There is no such date and time. ");
  if (offsetMinutes == 0) return kel_Date(year, month, day, hour, minute, second);

  // Local time minus its offset is UTC.
  long minutes = daysFromCivil(year, month, day) * 1440L + hour * 60L + minute - offsetMinutes;
  long days = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
  minutes -= days * 1440;
  int y = 0, m = 0, d = 0;
  civilFromDays(days, y, m, d);
  if (!validDateTime(y, m, d, 0, 0, 0)) refuse(text, "The date lies outside the years 1 to 9999 in UTC. ");
  return kel_Date(y, m, d, static_cast<int>(minutes / 60), static_cast<int>(minutes % 60), second);
}

kel_Date kel_Date::now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  return kel_Date(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                  utc.tm_sec > 59 ? 59 : utc.tm_sec);
}

kel_cppUtil::String kel_Date::toString() const {
  if (m_null) return kel_cppUtil::String();
  char text[32];
  if (m_hour == 0 && m_minute == 0 && m_second == 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", m_year, m_month, m_day);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", m_year, m_month, m_day, m_hour,
                  m_minute, m_second);
  return kel_cppUtil::String(text);
}

bool kel_Date::isNullDate() const { return m_null; }
int kel_Date::getYear() const { return m_year; }
int kel_Date::getMonth() const { return m_month; }
int kel_Date::getDay() const { return m_day; }
int kel_Date::getHour() const { return m_hour; }
int kel_Date::getMinute() const { return m_minute; }
int kel_Date::getSecond() const { return m_second; }

bool kel_Date::operator==(const kel_Date& other) const {
  if (m_null || other.m_null) return m_null == other.m_null;
  return std::tie(m_year, m_month, m_day, m_hour, m_minute, m_second) ==
         std::tie(other.m_year, other.m_month, other.m_day, other.m_hour, other.m_minute, other.m_second);
}

bool kel_Date::operator!=(const kel_Date& other) const { return !(*this == other); }

bool kel_Date::operator<(const kel_Date& other) const {
  if (m_null || other.m_null) return m_null && !other.m_null;
  return std::tie(m_year, m_month, m_day, m_hour, m_minute, m_second) <
         std::tie(other.m_year, other.m_month, other.m_day, other.m_hour, other.m_minute, other.m_second);
}
