// Arming the service's fault injector (kelwelld --fault-injection): the next
// call of a named operation, on one object or on any, misbehaves once.
// Stubs only, so that suites that talk to the service through raw stubs and
// suites that go through the platform arm faults the same way.
#ifndef KELWELL_TEST_FAULTS_H
#define KELWELL_TEST_FAULTS_H

#include <string>

#include <EpSession.hh>

namespace kelwell_test {

class Faults {
public:
  explicit Faults(EpSession::FaultInjector_var injector);

  // Raises exceptionName (an IDL exception such as "EpDataStore::StoreException",
  // or "CORBA::TRANSIENT") carrying text1 and text2.
  void raise(const char* operation, const char* exceptionName, const char* text1 = "", const char* text2 = "",
             const std::string& objectId = "") const;
  // Answers a nil reference.
  void returnNil(const char* operation, const std::string& objectId = "") const;
  // Answers value where an enumeration or a count is expected.
  void returnOutOfRange(const char* operation, long value, const std::string& objectId = "") const;

  unsigned long armed() const;  // faults armed and not yet fired
  void clear() const;           // disarms every fault

private:
  void arm(const char* operation, const std::string& objectId, EpSession::FaultAction action,
           const char* exceptionName, const char* text1, const char* text2, long value) const;

  EpSession::FaultInjector_var m_injector;
};

} // namespace kelwell_test

#endif
