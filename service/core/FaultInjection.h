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

// Whether the fault that enterFault returned asks for a nil reference, or
// for an out-of-range value.
inline bool wantsNil(const std::optional<ValueFault>& fault) {
  return fault && fault->action == EpSession::RETURN_NIL;
}
inline bool wantsOutOfRange(const std::optional<ValueFault>& fault) {
  return fault && fault->action == EpSession::RETURN_OUT_OF_RANGE;
}

// Turns fault injection on for the life of the process (--fault-injection).
void enableFaultInjection();
bool faultInjectionEnabled();

// Arms a fault; EpTypes::BadArgumentsException when it names no operation or
// an exception the service cannot raise.
void armFault(const EpSession::Fault& fault);
void clearFaults();
unsigned long armedFaultCount();

// Calls the service makes to its own objects (a wellbore asking the unit
// service for a unit) run inside one of these, so that a fault armed for a
// client's call is not consumed by the service itself. Such calls run on the
// calling thread, which is what makes a thread-local mark enough.
class InternalCall {
public:
  InternalCall();
  ~InternalCall();
  InternalCall(const InternalCall&) = delete;
  InternalCall& operator=(const InternalCall&) = delete;

private:
  bool m_previous;
};

// The EpSession::FaultInjector servant.
class FaultInjectorServant : public POA_EpSession::FaultInjector {
public:
  void arm(const EpSession::Fault& fault) override;
  void clear() override;
  CORBA::ULong armedCount() override;
};

} // namespace kelwelld

#endif
