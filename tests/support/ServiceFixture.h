// The fixture of every suite that reaches kelwelld through the platform, as
// an application does: one service per test process (with fault injection),
// found through KELWELL_SERVICE; a session and a project of its own for each
// test; faults armed on the service and cleared after each test.
//
// A suite names its user and its projects:
//
//   struct Fixture : kelwell_test::ServiceFixture {
//     Fixture() : ServiceFixture("tester", "Project") {}
//   };
//
// Suites that reach the service through raw stubs share the service
// (sharedService()) and arm faults through Faults the same way.
#ifndef KELWELL_TEST_SERVICEFIXTURE_H
#define KELWELL_TEST_SERVICEFIXTURE_H

#include <string>

#include <gtest/gtest.h>

#include "Faults.h"
#include "kel_Project.h"
#include "kel_Session.h"

namespace kelwell_test {

// The fault injector of the service the platform is connected to.
Faults platformFaults();

class ServiceFixture : public ::testing::Test {
protected:
  ServiceFixture(const char* user, const char* projectStem);

  // A new project of the fixture's user: projectStem and a number unique in
  // this test process.
  kel_Project newProject() const;

  // The next call of operation (on objectId, or on any object) misbehaves once.
  static void raise(const char* operation, const char* exceptionName, const char* text1 = "",
                    const char* text2 = "", const std::string& objectId = "");
  static void returnNil(const char* operation, const std::string& objectId = "");
  static void returnOutOfRange(const char* operation, long value, const std::string& objectId = "");
  static unsigned long armedFaults();

  void TearDown() override;  // clears what a test left armed

  const std::string m_user;
  const std::string m_projectStem;

public:
  kel_Session session;
  kel_Project project;
};

} // namespace kelwell_test

#endif
