// Test support: with --fault-injection, a test arms a fault through
// EpSession::FaultInjector and the next matching call misbehaves on purpose.
// Every servant operation that can be made to fail calls enterFault first.
#ifndef KELWELLD_FAULTINJECTION_H
#define KELWELLD_FAULTINJECTION_H

#include <optional>
#include <string>

#include <EpSession.hh>

namespace kelwelld {

// What an armed fault asks of the operation when it is not an exception.
struct ValueFault {
  EpSession::FaultAction action;   // RETURN_NIL or RETURN_OUT_OF_RANGE
  long value;                      // the out-of-range number to return
};

// Consumes the first armed fault for operation (on objectId, or on any object
// when the fault names none). A RAISE_EXCEPTION fault is thrown from here as
// the named remote or system exception with its texts; a value fault is
// returned for the operation to act on. Does nothing unless fault injection
// is enabled.
std::optional<ValueFault> enterFault(const char* operation, const std::string& objectId = "");

} // namespace kelwelld

#endif
