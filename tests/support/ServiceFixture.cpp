#include "ServiceFixture.h"

#include "PlatformConnection.h"
#include "kel_Connection.h"

namespace kelwell_test {

namespace {

// Starts the service before the first test and points the platform at it.
// Registered here, once, for every program that links the fixture.
const auto* const environment = ::testing::AddGlobalTestEnvironment(new PlatformServiceEnvironment);

} // namespace

Faults platformFaults() { return Faults(faultInjector()); }

ServiceFixture::ServiceFixture(const char* user, const char* projectStem)
    : m_user(user), m_projectStem(projectStem), session(kel_Session::open(user)), project(newProject()) {}

kel_Project ServiceFixture::newProject() const {
  static int count = 0;
  const std::string name = m_projectStem + " " + std::to_string(++count);
  return kel_Project::create(kel_Session::open(m_user.c_str()), name.c_str());
}

void ServiceFixture::raise(const char* operation, const char* exceptionName, const char* text1,
                           const char* text2, const std::string& objectId) {
  platformFaults().raise(operation, exceptionName, text1, text2, objectId);
}

void ServiceFixture::returnNil(const char* operation, const std::string& objectId) {
  platformFaults().returnNil(operation, objectId);
}

void ServiceFixture::returnOutOfRange(const char* operation, long value, const std::string& objectId) {
  platformFaults().returnOutOfRange(operation, value, objectId);
}

unsigned long ServiceFixture::armedFaults() { return platformFaults().armed(); }

void ServiceFixture::TearDown() { platformFaults().clear(); }

} // namespace kelwell_test
