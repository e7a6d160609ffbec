// What a hostile or careless peer sends the service: headers the ORB would
// misread, and the real calls that must still be answered.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <CosNotifyComm.hh>

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

TEST(Quantities, ValuesBeyondAFloatAreRefusedWhenWritten) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("floats");
  EpiWell::Well_var well = client.newWell(project.in(), "deep");
  EpiWell::WellBore_var wellBore = client.newWellBore(well.in(), "deep-1");
  EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
  EpiTypes::DataQuantity kept;
  kept.value.floatValue(80.0f);
  kept.unit = units->getUnit("m");
  well->setWaterDepth(kept);
  wellBore->setTotalDepth(kept);
  const struct {
    double value;
    const char* text;
  } cases[] = {{1e300, "1e+300"}, {-1e300, "-1e+300"}, {3.5e38, "3.5e+38"}, {1e39, "1e+39"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EpiTypes::DataQuantity q = kept;
    q.value.doubleValue(c.value);
    EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setWaterDepth(q); }),
              std::string("The water depth ") + c.text +
                  " is beyond what a quantity can be read back as (at most 3.40282e+38 in magnitude). ");
    EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { wellBore->setTotalDepth(q); }),
              std::string("The total depth ") + c.text +
                  " is beyond what a quantity can be read back as (at most 3.40282e+38 in magnitude). ");
  }
  EXPECT_FLOAT_EQ(EpiTypes::DataQuantity_var(well->getWaterDepth())->value.floatValue(), 80.0f);
  EXPECT_FLOAT_EQ(EpiTypes::DataQuantity_var(wellBore->getTotalDepth())->value.floatValue(), 80.0f);
  // The largest float itself is carried.
  EpiTypes::DataQuantity largest = kept;
  largest.value.doubleValue(std::numeric_limits<float>::max());
  well->setWaterDepth(largest);
  EXPECT_FLOAT_EQ(EpiTypes::DataQuantity_var(well->getWaterDepth())->value.floatValue(),
                  std::numeric_limits<float>::max());
}

TEST(ServiceFiles, ReferenceFileReplacesALinkAndTheStoreIsPrivate) {
  ServiceProcess probe;   // only for its temporary directory
  const std::string victim = probe.directory() + "/victim.txt";
  const std::string iorFile = probe.directory() + "/kelwelld.ior";
  {
    std::ofstream out(victim);
    out << "untouched\n";
  }
  ASSERT_EQ(::chmod(victim.c_str(), 0644), 0);
  ASSERT_EQ(::symlink(victim.c_str(), iorFile.c_str()), 0);

  ServiceOptions options;
  options.store = probe.directory() + "/private.db";
  options.extraArgs = {"--ior-file", iorFile};
  ServiceProcess service(options);
  service.start();
  Client client(service);
  client.newProject("files");   // the WAL exists once something was written

  struct stat info {};
  ASSERT_EQ(::lstat(iorFile.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode)) << "the link was followed";
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  std::ifstream linkTarget(victim);
  std::string line;
  std::getline(linkTarget, line);
  EXPECT_EQ(line, "untouched");
  ASSERT_EQ(::stat(victim.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  for (const std::string& file : {options.store, options.store + "-wal"}) {
    ASSERT_EQ(::stat(file.c_str(), &info), 0) << file;
    EXPECT_EQ(info.st_mode & 0777, 0600u) << file;
  }
  // Nothing is left beside the reference file but the file itself.
  int besideIt = 0;
  for (const auto& entry : std::filesystem::directory_iterator(probe.directory()))
    besideIt += entry.path().filename().string().rfind("kelwelld.ior", 0) == 0;
  EXPECT_EQ(besideIt, 1);
}

TEST(TextLimits, TextsBeyondTheLimitsAreRefusedWithTheirReason) {
  ServiceProcess service(ServiceOptions{false, "", "", {"--max-text-kb", "1", "--max-name-bytes", "16"}});
  service.start();
  Client client(service);
  EpSession::Project_var project = client.newProject("t");
  EpiWell::Well_var well = client.newWell(project.in(), "limits");
  const std::string atLimit(1024, 'a');
  const std::string over(1025, 'o');
  const std::string reason = "is 1025 bytes long; the service keeps at most 1024. ";

  // A trace, a pick and a velocity function on one wellbore, for their text attributes.
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "limits");
  EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
  const auto quantity = [&](double value, const char* acronym) {
    EpiTypes::DataQuantity q;
    q.value.doubleValue(value);
    q.unit = units->getUnit(acronym);
    return q;
  };
  const auto list = [&](std::initializer_list<double> values, const char* acronym) {
    EpiTypes::DataQuantities q;
    EpTypes::DoubleSeq doubles;
    doubles.length(static_cast<CORBA::ULong>(values.size()));
    CORBA::ULong i = 0;
    for (double v : values) doubles[i++] = v;
    q.values.doubleValues(doubles);
    q.unit = units->getUnit(acronym);
    return q;
  };
  EpiWell::WellLogTrace::TraceData samples;
  samples.index.unit = units->getUnit("m");
  samples.index.values.floatValues(EpTypes::FloatSeq());
  samples.trace.values.length(1);
  samples.trace.values[0].floatValues(EpTypes::FloatSeq());
  samples.indexKind = EpiWell::WellLogTrace::INDEX_MD;
  EpTypes::DataValue null;
  null.floatValue(-999.25f);
  CORBA::Object_var found = client.factory(EpiWell::_tc_NewWellLogTraceFactory->id(), true);
  EpiWell::WellLogTrace_var trace = EpiWell::NewWellLogTraceFactory::_narrow(found.in())
      ->createWellLogTrace(bore.in(), "GR", "gamma", "LAS", samples, null, client.session.in());
  found = client.factory(EpiWell::_tc_NewWellPickFactory->id(), true);
  EpiWell::WellPick_var pick = EpiWell::NewWellPickFactory::_narrow(found.in())->createWellPick(
      bore.in(), "Top", "formation top", "me",
      EpiWell::WellPick::PickValue{quantity(100.0, "m"), EpiWell::WellPick::PICK_MD}, client.session.in());
  EpiWell::WellVelocity::WellVelocityData table;
  table.times = list({0.0, 1.0}, "s");
  table.depths = list({0.0, 1000.0}, "m");
  table.firstVelocities = table.secondVelocities = table.thirdVelocities = list({}, "m/s");
  found = client.factory(EpiWell::_tc_NewWellVelocityFactory->id(), true);
  EpiWell::WellVelocity_var velocity = EpiWell::NewWellVelocityFactory::_narrow(found.in())->createWellVelocity(
      bore.in(), "checkshots", "survey", quantity(0.0, "m"), table, client.session.in());

  // Texts stored with entities: ValidationException naming them.
  const struct {
    const char* what;
    std::function<void(const std::string&)> write;
  } stored[] = {
      {"The text of setCountry ", [&](const std::string& t) { well->setCountry(t.c_str()); }},
      {"The well name ", [&](const std::string& t) { client.newWell(project.in(), t); }},
      {"The identifier's value ", [&](const std::string& t) { client.newWell(project.in(), "w", t); }},
      {"The alias 0 (\"UWI\") ",
       [&](const std::string& t) {
         CosPropertyService::Properties aliases;
         aliases.length(1);
         aliases[0] = property("UWI", t);
         well->setAliases(aliases);
       }},
      {"The name of alias 0 ",
       [&](const std::string& t) {
         CosPropertyService::Properties aliases;
         aliases.length(1);
         aliases[0] = property(t, "x");
         well->setAliases(aliases);
       }},
      {"The text of setComment ", [&](const std::string& t) { trace->setComment(t.c_str()); }},
      {"The text of setInterpreter ", [&](const std::string& t) { pick->setInterpreter(t.c_str()); }},
      {"The text of setDataSource ", [&](const std::string& t) { velocity->setDataSource(t.c_str()); }},
  };
  for (const auto& c : stored) {
    SCOPED_TRACE(c.what);
    EXPECT_NO_THROW(c.write(atLimit));
    EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { c.write(over); }), c.what + reason);
  }
  EXPECT_EQ(CORBA::String_var(well->getCountry()).in(), atLimit);
  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>([&] { client.session->createProject(over.c_str()); }),
            "The project name " + reason);

  // Names held in memory: operations without a text exception raise BAD_PARAM.
  EXPECT_NO_THROW(EpSession::Session_var(client.manager->openSession("sixteen-bytes-ok")));
  EXPECT_THROW(EpSession::Session_var(client.manager->openSession("seventeen-bytes-x")), CORBA::BAD_PARAM);
  EpSession::EventService_var events = client.manager->getEventService();
  EpTypes::StringSeq types;
  types.length(1);
  types[0] = "EpiWell::WellBore-and-more";
  // A consumer reference is needed first: the service's own event service will do as a
  // non-nil object; the type name is refused before it is used.
  CORBA::Object_var any = client.manager->getEventService();
  CosNotifyComm::StructuredPushConsumer_var consumer =
      CosNotifyComm::StructuredPushConsumer::_unchecked_narrow(any.in());
  EXPECT_THROW(events->subscribe(consumer.in(), types), CORBA::BAD_PARAM);
}

TEST(SessionLimits, SessionsExpireWhenUnusedAndTheirNumberIsBounded) {
  ServiceProcess service(ServiceOptions{false, "", "", {"--session-idle-s", "1", "--max-sessions", "3"}});
  service.start();
  EpSession::SessionManager_var manager = connectRaw(clientOrb(), service.corbaloc());
  std::vector<EpSession::Session_var> sessions;
  for (int i = 0; i < 3; ++i) sessions.push_back(manager->openSession(("user" + std::to_string(i)).c_str()));
  EXPECT_THROW(EpSession::Session_var(manager->openSession("one too many")), CORBA::NO_RESOURCES);
  // Used every half second, the first stays; the others expire.
  for (int i = 0; i < 4; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_STREQ(CORBA::String_var(sessions[0]->getUser()).in(), "user0");
  }
  EXPECT_THROW(CORBA::String_var(sessions[1]->getUser()), CORBA::OBJECT_NOT_EXIST);
  EpSession::Session_var again = manager->openSession("room again");
  EXPECT_STREQ(CORBA::String_var(again->getUser()).in(), "room again");
}

TEST(ConnectionLimits, IdleAndStalledConnectionsCannotLockOutARealCall) {
  ServiceProcess service(ServiceOptions{false, "", "",
                                        {"--max-connections", "8", "--idle-connection-s", "2",
                                         "--stall-timeout-ms", "300"}});
  service.start();
  EpSession::SessionManager_var manager = connectRaw(clientOrb(), service.corbaloc());
  CORBA::String_var version = manager->getVersion();
  const long residentBefore = residentKiB(service.pid());

  std::vector<std::unique_ptr<RawConnection>> idle, stalled;
  for (int i = 0; i < 20; ++i) idle.push_back(std::make_unique<RawConnection>(service.port()));
  for (int i = 0; i < 5; ++i) {
    stalled.push_back(std::make_unique<RawConnection>(service.port()));
    std::vector<unsigned char> partial = header(2, true, 100);
    partial.resize(partial.size() + 10, 0);   // 10 of the 100 bytes announced
    stalled.back()->send(partial);
  }
  // A real call still answers promptly, on a new connection or the old one.
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    version = manager->getVersion();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  }
  // Stalled inside a message: closed after the stall time; idle: after the idle time.
  EXPECT_TRUE(stalled.back()->closedWithin(1000));
  EXPECT_TRUE(idle.back()->closedWithin(4000));
  EXPECT_LT(residentKiB(service.pid()) - residentBefore, 20 * 1024);
  version = manager->getVersion();
}

namespace {

// Runs a command line; its standard output.
std::string run(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  ::pclose(pipe);
  return output;
}

// A certificate authority and certificates it signed, made with openssl in dir.
void makeCertificates(const std::string& dir) {
  const std::string openssl = "cd '" + dir + "' && openssl ";
  for (const char* ca : {"ca", "other-ca"})
    run(openssl + "req -x509 -newkey rsa:2048 -nodes -keyout " + ca + ".key -out " + ca +
        ".pem -days 2 -subj '/CN=" + ca + "' 2>/dev/null");
  const struct {
    const char* who;
    const char* ca;
  } signs[] = {{"service", "ca"}, {"client", "ca"}, {"stranger", "other-ca"}};
  for (const auto& s : signs) {
    const std::string who = s.who;
    run(openssl + "req -newkey rsa:2048 -nodes -keyout " + who + ".key -out " + who + ".csr -subj '/CN=" + who +
        "' 2>/dev/null");
    run(openssl + "x509 -req -in " + who + ".csr -CA " + s.ca + ".pem -CAkey " + s.ca + ".key -CAcreateserial -out " +
        who + ".crt -days 2 2>/dev/null");
    run("cd '" + dir + "' && cat " + who + ".key " + who + ".crt > " + who + ".pem");
  }
}

} // namespace

TEST(Tls, OnlyClientsWithACertificateOfTheAuthorityAreAnswered) {
  ServiceProcess probe;   // only for its temporary directory
  const std::string dir = probe.directory();
  makeCertificates(dir);
  ServiceProcess service(
      ServiceOptions{false, "", "", {"--tls-key", dir + "/service.pem", "--tls-ca", dir + "/ca.pem"}});
  service.start();
  ASSERT_EQ(service.corbaloc().rfind("corbaloc:ssliop:127.0.0.1:", 0), 0u) << service.corbaloc();
  std::string plain = service.corbaloc();
  plain.replace(0, std::strlen("corbaloc:ssliop:"), "corbaloc:iiop:");
  const struct {
    const char* what;
    std::string location;
    std::string certificate;   // "" = none
    bool answered;
  } clients[] = {
      {"a certificate of the authority", service.corbaloc(), dir + "/client.pem", true},
      {"no certificate", service.corbaloc(), "", false},
      {"a certificate of another authority", service.corbaloc(), dir + "/stranger.pem", false},
      {"no TLS at all", plain, dir + "/client.pem", false},
  };
  for (const auto& c : clients) {
    SCOPED_TRACE(c.what);
    const std::string output =
        run(std::string(TLS_CLIENT) + " '" + c.location + "' '" + dir + "/ca.pem' " + c.certificate);
    EXPECT_EQ(output.rfind(c.answered ? "answered " : "failed ", 0), 0u) << output;
  }
}
