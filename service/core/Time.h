// ISO 8601 texts: the dates clients write, and the service's own time stamps.
#ifndef KELWELLD_TIME_H
#define KELWELLD_TIME_H

#include <string>

namespace kelwelld {

// True for "YYYY-MM-DD" and for a date-time "YYYY-MM-DDThh:mm[:ss[.fff]]"
// followed by nothing, "Z" or an offset "+hh:mm" / "-hh:mm" / "+hhmm"; the
// date must exist (leap years included) and the time be in range.
bool isIsoDate(const std::string& text);

// The current UTC time as "YYYY-MM-DDThh:mm:ssZ".
std::string nowUtc();

} // namespace kelwelld

#endif
