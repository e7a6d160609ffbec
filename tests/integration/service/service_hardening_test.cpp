// What a hostile or careless peer sends the service: headers the ORB would
// misread, and the real calls that must still be answered.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

constexpr std::uint32_t messageLimit = 1024 * 1024;   // --max-message-mb 1

// Resident memory of a process in KiB.
long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// A GIOP header announcing a body of bodySize bytes.
std::vector<unsigned char> header(unsigned char minor, bool littleEndian, std::uint32_t bodySize,
                                  unsigned char type = 0) {
  std::vector<unsigned char> bytes{'G', 'I', 'O', 'P', 1, minor, 0, type, 0, 0, 0, 0};
  // GIOP 1.0 has a byte-order octet, later versions a flags octet whose
  // lowest bit is the byte order: the same bit either way.
  bytes[6] = littleEndian ? 1 : 0;
  for (int i = 0; i < 4; ++i) {
    const unsigned char byte = static_cast<unsigned char>(bodySize >> (8 * (3 - i)));
    bytes[littleEndian ? 11 - i : 8 + i] = byte;
  }
  return bytes;
}

class RawConnection {
public:
  explicit RawConnection(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
      throw std::runtime_error("cannot connect to the service");
  }
  ~RawConnection() { ::close(m_fd); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  void send(const std::vector<unsigned char>& bytes) {
    ASSERT_EQ(::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
  }

  // Whether the service closes the connection within timeoutMs, reading
  // (and dropping) whatever it answers before that.
  bool closedWithin(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return false;
      pollfd ready{m_fd, POLLIN, 0};
      if (::poll(&ready, 1, static_cast<int>(left)) <= 0) continue;
      char buffer[4096];
      if (::recv(m_fd, buffer, sizeof buffer, 0) <= 0) return true;
    }
  }

private:
  int m_fd;
};

class GiopHeaderGuard : public ::testing::Test {
protected:
  static ServiceProcess& service() {
    static ServiceProcess process(ServiceOptions{false, "", "", {"--max-message-mb", "1"}});
    if (!process.running()) process.start();
    return process;
  }

  // A real call answers within a second.
  static void expectPromptAnswer() {
    static EpSession::SessionManager_var manager = connectRaw(clientOrb(), service().corbaloc());
    const auto start = std::chrono::steady_clock::now();
    CORBA::String_var version = manager->getVersion();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  }
};

TEST_F(GiopHeaderGuard, SizesTheOrbWouldMisreadCloseTheConnectionAndLeaveTheServiceServing) {
  expectPromptAnswer();
  const long residentBefore = residentKiB(service().pid());
  const struct {
    const char* what;
    std::uint32_t bodySize;
  } sizes[] = {
      {"header plus size wraps to 0", 0xfffffff4},
      {"just below the wrap", 0xfffffff0},
      {"wraps to 1", 0xfffffff5},
      {"largest size", 0xffffffff},
      {"one byte over the limit", messageLimit - 12 + 1},
      {"a page over the limit", messageLimit + 4096},
  };
  for (const auto& size : sizes)
    for (unsigned char minor : {0, 1, 2})
      for (bool littleEndian : {false, true}) {
        SCOPED_TRACE(std::string(size.what) + ", GIOP 1." + std::to_string(minor) +
                     (littleEndian ? ", little-endian" : ", big-endian"));
        RawConnection connection(service().port());
        connection.send(header(minor, littleEndian, size.bodySize));
        EXPECT_TRUE(connection.closedWithin(2000));
        expectPromptAnswer();
      }
  // An unguarded reader grows by about a gigabyte a second.
  EXPECT_LT(residentKiB(service().pid()) - residentBefore, 50 * 1024);
  EXPECT_NE(service().standardError().find("closed a connection whose GIOP header announced a message of "
                                           "4294967296 bytes (the limit is 1048576)"),
            std::string::npos);
}

TEST_F(GiopHeaderGuard, BadHeaderBehindAGoodMessageInOneSegmentIsRefusedToo) {
  // A LocateRequest for the entry point, then the wrapping header in the
  // same write: the ORB would split both out of one buffer.
  std::vector<unsigned char> locate = header(2, true, 0, 3);
  const unsigned char body[] = {1, 0, 0, 0,   // request id
                                0, 0, 0, 0,   // KeyAddr, padding
                                7, 0, 0, 0, 'k', 'e', 'l', 'w', 'e', 'l', 'l'};
  locate.insert(locate.end(), std::begin(body), std::end(body));
  locate[8] = sizeof body;
  const std::vector<unsigned char> bad = header(2, true, 0xfffffff4);
  locate.insert(locate.end(), bad.begin(), bad.end());
  RawConnection connection(service().port());
  connection.send(locate);
  EXPECT_TRUE(connection.closedWithin(2000));
  expectPromptAnswer();
}

TEST_F(GiopHeaderGuard, MessagesUpToTheLimitStillArrive) {
  // About 0.9 MiB of floats in the identifier: unmarshalled whole, then
  // refused for not being a text, over a connection that stays usable.
  Client client(service());
  EpSession::Project_var project = client.newProject();
  EpTypes::FloatSeq floats;
  floats.length(230000);
  for (CORBA::ULong i = 0; i < floats.length(); ++i) floats[i] = static_cast<float>(i);
  CosPropertyService::Property identifier;
  identifier.property_name = "UWI";
  identifier.property_value <<= floats;
  EXPECT_THROW(client.newWellFactory()->createWell(project.in(), "big", identifier, client.session.in()),
               EpEntity::ValidationException);
  expectPromptAnswer();
}

} // namespace

TEST(EntityKeys, OnlyTheCanonicalKeyReachesAnEntity) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("keys");
  EpiWell::Well_var well = client.newWell(project.in(), "canonical");
  const std::string id = CORBA::String_var(well->getId()).in();
  const std::string number = id.substr(id.find(':') + 1);
  for (const std::string& other : {"well:0" + number, "well:000" + number, "well:+" + number, "well: " + number}) {
    CORBA::Object_var object = clientOrb()->string_to_object(corbalocWithId(well.in(), id, other).c_str());
    EpiWell::Well_var alias = EpiWell::Well::_unchecked_narrow(object.in());
    EXPECT_THROW(alias->setCountry("Elsewhere"), CORBA::OBJECT_NOT_EXIST) << other;
  }
  EXPECT_STREQ(CORBA::String_var(well->getCountry()).in(), "");
}
