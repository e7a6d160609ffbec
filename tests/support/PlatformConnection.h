// For test programs that reach kelwelld through the platform, as an
// application does: the shared service found through KELWELL_SERVICE, and its
// fault injector (armed through Faults.h). Header only: the programs that
// include it link the platform; ServiceFixture.cpp registers the environment.
#ifndef KELWELL_TEST_PLATFORMCONNECTION_H
#define KELWELL_TEST_PLATFORMCONNECTION_H

#include <cstdlib>
#include <stdexcept>

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

} // namespace kelwell_test

#endif
