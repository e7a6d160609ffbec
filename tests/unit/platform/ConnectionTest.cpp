#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <omniORB4/CORBA.h>

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

// Local addresses (hex, as /proc shows them) of the TCP sockets this process listens on.
std::vector<std::string> listeningAddresses() {
  std::set<std::string> inodes;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (dirent* entry = readdir(fds)) {
      char target[256] = {0};
      const std::string path = std::string("/proc/self/fd/") + entry->d_name;
      const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
      const std::string link(target, n > 0 ? static_cast<std::size_t>(n) : 0);
      if (link.compare(0, 8, "socket:[") == 0) inodes.insert(link.substr(8, link.size() - 9));
    }
    closedir(fds);
  }
  std::vector<std::string> addresses;
  for (const char* table : {"/proc/self/net/tcp", "/proc/self/net/tcp6"}) {
    std::ifstream in(table);
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
      fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
      if (state == "0A" && inodes.count(inode)) addresses.push_back(local);
    }
  }
  return addresses;
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

TEST_F(ConnectionTest, CallbacksListenOnLoopbackOnly) {
  kel_Connection::getPoa();
  const std::vector<std::string> addresses = listeningAddresses();
  ASSERT_FALSE(addresses.empty());
  for (const std::string& address : addresses) EXPECT_EQ("0100007F:", address.substr(0, 9)) << address;
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

TEST_F(ConnectionTest, MessageLimitCarriesLargeTracesAndIsConfigurable) {
  kel_Connection::shutdown();
  kel_Connection::getOrb();
  // Ten million float samples, with room for the rest of the message.
  EXPECT_GE(omniORB::giopMaxMsgSize(), 10000000UL * sizeof(float) + 1024 * 1024);
  EXPECT_EQ(512UL * 1024 * 1024, omniORB::giopMaxMsgSize());
  kel_Connection::shutdown();
  setenv("KELWELL_MAX_MESSAGE_MB", "64", 1);
  kel_Connection::getOrb();
  EXPECT_EQ(64UL * 1024 * 1024, omniORB::giopMaxMsgSize());
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
