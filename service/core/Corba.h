// Small helpers shared by the servants: raising the contract's exceptions with
// their texts, object ids, and strings handed to the ORB.
#ifndef KELWELLD_CORBA_H
#define KELWELLD_CORBA_H

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

// Object ids are the entity id texts ("well:12").
std::string idText(const PortableServer::ObjectId& oid);
PortableServer::ObjectId* toOid(const std::string& id);

// "text" in double quotes, for messages that quote what a caller sent.
std::string quoted(const std::string& text);

} // namespace kelwelld

#endif
