#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "kel_Connection.h"
#include "kel_Exception.h"
#include "kel_Session.h"

namespace {

// The failure of opening a session at location, with nothing listening there.
kel_SystemException failureAt(const char* location) {
  setenv("KELWELL_SERVICE", location, 1);
  try {
    kel_Session::open("tester");
  } catch (const kel_SystemException& error) {
    return error;
  } catch (const kel_Exception& error) {
    ADD_FAILURE() << "not a system failure: " << error.toString();
  }
  ADD_FAILURE() << "opening a session at " << location << " did not fail";
  return kel_SystemException("");
}

class ConnectionTest : public ::testing::Test {
protected:
  void TearDown() override {
    unsetenv("KELWELL_SERVICE");
    unsetenv("KELWELL_MAX_MESSAGE_MB");
    kel_Connection::shutdown();
  }
};

} // namespace

TEST_F(ConnectionTest, OrbStartsOnFirstUseAndStopsOnShutdown) {
  kel_Connection::shutdown();  // harmless when nothing runs
  EXPECT_FALSE(kel_Connection::isInitialized());
  EXPECT_NE(nullptr, kel_Connection::getOrb());
  EXPECT_TRUE(kel_Connection::isInitialized());
  EXPECT_NE(nullptr, kel_Connection::getPoa());
  kel_Connection::shutdown();
  EXPECT_FALSE(kel_Connection::isInitialized());
  // A new ORB can be started afterwards.
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  kel_Connection::initialize(argc, argv);
  EXPECT_TRUE(kel_Connection::isInitialized());
  EXPECT_EQ(1, argc);
}

TEST_F(ConnectionTest, FailuresNameTheLocationTried) {
  const kel_SystemException silent = failureAt("corbaloc:iiop:127.0.0.1:1/kelwell");
  EXPECT_NE(std::string::npos, silent.getContext().str().find("corbaloc:iiop:127.0.0.1:1/kelwell"))
      << silent.toString();
  EXPECT_NE(std::string::npos, silent.getContext().str().find("No well data service answers"))
      << silent.toString();

  const kel_SystemException malformed = failureAt("IOR:nonsense");
  EXPECT_NE(std::string::npos, malformed.getContext().str().find("IOR:nonsense is malformed"))
      << malformed.toString();

  const kel_SystemException missing = failureAt("file:/nonexistent/kelwell.ior");
  EXPECT_NE(std::string::npos, missing.getContext().str().find("/nonexistent/kelwell.ior"))
      << missing.toString();
  EXPECT_EQ("file:/nonexistent/kelwell.ior", kel_Connection::getServiceLocation().str());
}

TEST_F(ConnectionTest, ReferenceFilesHoldTheReferenceText) {
  const std::string path = ::testing::TempDir() + "kelwell-service.ref";
  {
    std::ofstream out(path);
    out << "  corbaloc:iiop:127.0.0.1:1/kelwell\n";
  }
  const std::string location = "file:" + path;
  const kel_SystemException failure = failureAt(location.c_str());
  // The file was read: the failure is that nobody answers, not that it is unreadable.
  EXPECT_NE(std::string::npos, failure.getContext().str().find("No well data service answers"))
      << failure.toString();
  std::remove(path.c_str());
}

TEST_F(ConnectionTest, BadSettingsAreRefusedClearly) {
  kel_Connection::shutdown();
  setenv("KELWELL_MAX_MESSAGE_MB", "lots", 1);
  try {
    kel_Connection::getOrb();
    FAIL() << "a bad message limit must be refused";
  } catch (const kel_SystemException& error) {
    EXPECT_NE(std::string::npos, error.getContext().str().find("KELWELL_MAX_MESSAGE_MB")) << error.toString();
    EXPECT_NE(std::string::npos, error.getContext().str().find("\"lots\"")) << error.toString();
  }
  EXPECT_FALSE(kel_Connection::isInitialized());
}
