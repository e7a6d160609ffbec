#ifndef KEL_DATE_H
#define KEL_DATE_H

#include "kel_cppUtil.h"

// A date and time (UTC), or the null date meaning "unknown".
// Its text form is ISO 8601: "2024-05-17", "2024-05-17T08:30:00Z".
class kel_Date {
public:
  kel_Date();                                               // the null date
  kel_Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  // "" gives the null date; kel_UserException naming the text when it is
  // not an ISO 8601 date or date-time, or names an impossible date.
  static kel_Date fromString(const char* text);
  static kel_Date now();

  // "" for the null date; the date alone when the time is midnight, else
  // "YYYY-MM-DDThh:mm:ssZ".
  kel_cppUtil::String toString() const;
  bool isNullDate() const;

  int getYear() const;
  int getMonth() const;
  int getDay() const;
  int getHour() const;
  int getMinute() const;
  int getSecond() const;

  bool operator==(const kel_Date& other) const;
  bool operator!=(const kel_Date& other) const;
  bool operator<(const kel_Date& other) const;   // the null date sorts first

private:
  bool m_null;
  int m_year, m_month, m_day, m_hour, m_minute, m_second;
};

#endif
