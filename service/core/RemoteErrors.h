// What the service hands back to a caller besides data: the contract's
// exceptions with their texts, and strings for the ORB to own.
#ifndef KELWELLD_REMOTEERRORS_H
#define KELWELLD_REMOTEERRORS_H

#include <string>

#include <omniORB4/CORBA.h>

namespace kelwelld {

[[noreturn]] void throwStore(const std::string& message, const std::string& detail);
[[noreturn]] void throwValidation(const std::string& reason);
[[noreturn]] void throwBadArguments(const std::string& reason);
[[noreturn]] void throwFailed(const std::string& reason);
// The object named by a reference does not (or no longer) exist.
[[noreturn]] void throwNotExist();

// A string for the ORB to own (returned strings, structure members).
inline char* dup(const std::string& text) { return CORBA::string_dup(text.c_str()); }

// "text" in double quotes, for messages that quote what a caller sent.
std::string quoted(const std::string& text);

} // namespace kelwelld

#endif
