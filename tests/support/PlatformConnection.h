// For test programs that reach kelwelld through the platform, as an
// application does: the shared service found through KELWELL_SERVICE, and its
// fault injector. Header only: the programs that include it link the platform.
#ifndef KELWELL_TEST_PLATFORMCONNECTION_H
#define KELWELL_TEST_PLATFORMCONNECTION_H

#include <cstdlib>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <EpSession.hh>

#include "ServiceProcess.h"
#include "kel_Connection.h"

namespace kelwell_test {

// Starts the shared service before the first test and points the platform at
// it; at exit the ORB goes before the service does.
class PlatformServiceEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    ServiceProcess& service = sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
  }
  void TearDown() override { kel_Connection::shutdown(); }
};

// The fault injector of the service the platform is connected to.
inline EpSession::FaultInjector_var faultInjector() {
  auto manager = static_cast<EpSession::SessionManager_ptr>(kel_Connection::getServiceManager());
  EpSession::FaultInjector_var faults = manager->getFaultInjector();
  if (CORBA::is_nil(faults.in())) throw std::runtime_error("kelwelld runs without --fault-injection");
  return faults;
}

// Makes the next call of operation (on objectId, or any object for "") misbehave.
inline void armFault(const char* operation, const std::string& objectId, EpSession::FaultAction action,
                     const char* exceptionName, const char* text1, const char* text2, long value) {
  EpSession::Fault fault;
  fault.operation = operation;
  fault.objectId = objectId.c_str();
  fault.action = action;
  fault.exceptionName = exceptionName;
  fault.text1 = text1;
  fault.text2 = text2;
  fault.value = static_cast<CORBA::Long>(value);
  faultInjector()->arm(fault);
}

} // namespace kelwell_test

#endif
