// Several kelwelld processes on one PostgreSQL database: what one writes the
// others read, references name every process and survive the one that made
// them, and concurrent writers through different processes lose nothing.
// Registered on PostgreSQL only (KELWELL_TEST_PG).
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <CosNotifyComm.hh>

#include <EpDataStore.hh>
#include <omniORB4/minorCode.h>

#include "Helpers.h"
#include "store/PostgresStore.h"

using namespace kelwell_test;

namespace {

// A port nothing listens on now, for a process to take next.
int freePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

// Two processes on one fresh schema, each publishing both addresses.
class SharedStore : public ::testing::Test {
protected:
  void SetUp() override {
    // A call cut off by a dead connection is retried once, as libkelWell's
    // ORB does (platform/src/kel/Connection.cpp).
    omniORB::installCommFailureExceptionHandler(
        nullptr, [](void*, CORBA::ULong retries, const CORBA::COMM_FAILURE& failure) -> CORBA::Boolean {
          return retries == 0 && failure.minor() == omni::COMM_FAILURE_WaitingForReply;
        });
    store = postgresTestStore();
    if (store.empty()) GTEST_SKIP() << "no PostgreSQL test cluster (KELWELL_TEST_PG)";
    const std::string ports[] = {std::to_string(freePort()), std::to_string(freePort())};
    for (int i = 0; i < 2; ++i) {
      // Each process names itself first: its clients stay with it while it lives.
      const std::string published = "127.0.0.1:" + ports[i] + ",127.0.0.1:" + ports[1 - i];
      ServiceOptions options;
      options.store = store;
      options.extraArgs = {"--port", ports[i], "--publish", published};
      services.push_back(std::make_unique<ServiceProcess>(options));
      services.back()->start();
    }
  }

  std::string store;
  std::vector<std::unique_ptr<ServiceProcess>> services;
};

// Collects the operations of the events pushed to it.
class Consumer : public POA_CosNotifyComm::StructuredPushConsumer {
public:
  void push_structured_event(const CosNotification::StructuredEvent& event) override {
    std::string line;
    const CosNotification::OptionalHeaderFields& fields = event.header.variable_header;
    for (CORBA::ULong i = 0; i < fields.length(); ++i) {
      const std::string name = fields[i].name.in();
      if (name == "Operation" || name == "EntityId") line += (line.empty() ? "" : " ") + text(fields[i].value);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back(line);
    m_arrived.notify_all();
  }
  void offer_change(const CosNotification::EventTypeSeq&, const CosNotification::EventTypeSeq&) override {}
  void disconnect_structured_push_consumer() override {}

  std::vector<std::string> waitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_arrived.wait_for(lock, std::chrono::seconds(10), [&] { return m_events.size() >= count; });
    return m_events;
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::vector<std::string> m_events;
};

std::string country(EpiWell::Well_ptr well) { return CORBA::String_var(well->getCountry()).in(); }

} // namespace

TEST_F(SharedStore, WhatOneProcessWritesTheOtherReadsUnderTheSameIds) {
  Client first(*services[0]);
  Client second(*services[1]);
  EpSession::Project_var project = first.newProject("shared");
  EpiWell::Well_var well = first.newWell(project.in(), "W-1");
  well->setCountry("Norway");

  // The same well through the other process: found by its project, same id.
  EpSession::ProjectSeq_var projects = second.session->listProjects();
  ASSERT_EQ(projects->length(), 1u);
  EpiWell::Well_var other = second.newWell(projects[0].in(), "W-2");
  EXPECT_NE(std::string(CORBA::String_var(other->getId()).in()),
            std::string(CORBA::String_var(well->getId()).in()));   // ids from one sequence
  const std::string id = CORBA::String_var(well->getId()).in();
  EpEntity::EntitySeq_var found =
      projects[0]->executeQuery("EpiWell_Well", "EpiWell_Well.name = 'W-1'", EpSession::QueryParameterSeq());
  ASSERT_EQ(found->length(), 1u);
  EXPECT_EQ(std::string(CORBA::String_var(found[0]->getId()).in()), id);
  EpiWell::Well_var throughSecond = EpiWell::Well::_narrow(found[0].in());
  EXPECT_EQ(country(throughSecond.in()), "Norway");
}

TEST_F(SharedStore, AWriteThroughOneProcessReachesTheSubscribersOfTheOtherInOrder) {
  CORBA::Object_var object = clientOrb()->resolve_initial_references("RootPOA");
  PortableServer::POA_var poa = PortableServer::POA::_narrow(object.in());
  PortableServer::POAManager_var poaManager = poa->the_POAManager();
  poaManager->activate();
  Consumer* consumer = new Consumer;
  PortableServer::ObjectId_var consumerId = poa->activate_object(consumer);
  CORBA::Object_var consumerObject = poa->id_to_reference(consumerId.in());
  CosNotifyComm::StructuredPushConsumer_var reference = CosNotifyComm::StructuredPushConsumer::_narrow(consumerObject.in());

  Client listener(*services[1]);
  EpSession::EventService_var events = listener.manager->getEventService();
  EpTypes::StringSeq wellTypes;
  wellTypes.length(1);
  wellTypes[0] = "EpiWell::Well";
  events->subscribe(reference.in(), wellTypes);

  Client writer(*services[0]);
  EpSession::Project_var project = writer.newProject("events");
  EpiWell::Well_var well = writer.newWell(project.in(), "W-1");
  const std::string id = CORBA::String_var(well->getId()).in();
  for (const char* value : {"a", "b", "c"}) well->setCountry(value);
  well->setCounty("d");

  const auto received = consumer->waitFor(5);
  poa->deactivate_object(consumerId.in());
  consumer->_remove_ref();
  ASSERT_EQ(received.size(), 5u);
  EXPECT_EQ(received[0].substr(0, id.size()), id);
  for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(received[i], id + " setCountry");
  EXPECT_EQ(received[4], id + " setCounty");
}

TEST_F(SharedStore, AClientCarriesOnThroughTheOtherProcessWhenItsOwnIsKilled) {
  Client client(*services[0]);
  EpSession::Project_var project = client.newProject("failover");
  EpiWell::Well_var well = client.newWell(project.in(), "W-1");
  well->setCountry("Norway");

  services[0]->kill();
  // The same reference, no help from the application: the ORB tries the
  // next published address. (The call that went out on the dead connection
  // is retried once, see SetUp; without that it would fail COMM_FAILURE,
  // COMPLETED_MAYBE, and only the next call would go through.)
  EXPECT_NO_THROW(EXPECT_EQ(country(well.in()), "Norway"));
  well->setCountry("Denmark");
  EXPECT_EQ(country(well.in()), "Denmark");
}

TEST_F(SharedStore, SigkillsUnderConcurrentWritersLoseNoAcknowledgedWrite) {
  Client first(*services[0]);
  EpSession::Project_var project = first.newProject("kills");
  constexpr int writers = 3;
  std::vector<EpiWell::Well_var> wells;
  for (int i = 0; i < writers; ++i) wells.push_back(first.newWell(project.in(), "K-" + std::to_string(i)));

  // Each writer counts up on its own well through process 0 (falling over
  // to process 1), and remembers the last value a reply acknowledged.
  std::atomic<bool> stop{false};
  std::vector<long> acknowledged(writers, 0);
  std::vector<std::thread> threads;
  for (int i = 0; i < writers; ++i)
    threads.emplace_back([&, i] {
      EpiWell::Well_ptr well = wells[static_cast<std::size_t>(i)].in();
      for (long n = 1; !stop; ++n) {
        try {
          well->setCountry(std::to_string(n).c_str());
          acknowledged[static_cast<std::size_t>(i)] = n;
        } catch (const CORBA::SystemException&) {   // the call the kill cut off
        } catch (const EpDataStore::StoreException&) {
        }
      }
    });
  for (int kill = 0; kill < 3; ++kill) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    services[0]->kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    services[0]->start();
  }
  stop = true;
  for (auto& thread : threads) thread.join();

  // Through the other process: every acknowledged value is there; at most
  // the one write a kill cut off (unacknowledged) may have gone in after it.
  Client second(*services[1]);
  EpSession::ProjectSeq_var projects = second.session->listProjects();
  for (int i = 0; i < writers; ++i) {
    EpEntity::EntitySeq_var found = projects[0]->executeQuery(
        "EpiWell_Well", ("EpiWell_Well.name = 'K-" + std::to_string(i) + "'").c_str(), EpSession::QueryParameterSeq());
    ASSERT_EQ(found->length(), 1u);
    const long stored = std::stol(country(EpiWell::Well::_narrow(found[0].in())));
    const long ack = acknowledged[static_cast<std::size_t>(i)];
    EXPECT_GT(ack, 0);
    EXPECT_TRUE(stored == ack || stored == ack + 1) << "stored " << stored << ", acknowledged " << ack;
  }
}

TEST_F(SharedStore, ConcurrentWritersThroughTwoProcessesLoseNoAcknowledgedWrite) {
  Client first(*services[0]);
  EpSession::Project_var project = first.newProject("writers");
  EpiWell::Well_var well = first.newWell(project.in(), "W-1");

  // Each writer sets its own attribute of the same well, through its own
  // process; a refused write (a conflict) is retried, as a client would.
  constexpr int writes = 40;
  std::atomic<int> conflicts{0};
  auto writer = [&](int process) {
    Client client(*services[static_cast<std::size_t>(process)]);
    EpSession::ProjectSeq_var projects = client.session->listProjects();
    EpEntity::EntitySeq_var found =
        projects[0]->executeQuery("EpiWell_Well", "EpiWell_Well.name = 'W-1'", EpSession::QueryParameterSeq());
    EpiWell::Well_var mine = EpiWell::Well::_narrow(found[0].in());
    for (int i = 1; i <= writes; ++i) {
      const std::string value = std::to_string(i);
      for (;;) {
        try {
          if (process == 0)
            mine->setCountry(value.c_str());
          else
            mine->setCounty(value.c_str());
          break;
        } catch (const EpDataStore::StoreException& e) {
          EXPECT_NE(std::string(e.detail.in()).find("may be retried"), std::string::npos) << e.detail.in();
          ++conflicts;
        }
      }
    }
  };
  std::thread a(writer, 0);
  std::thread b(writer, 1);
  a.join();
  b.join();
  EXPECT_EQ(country(well.in()), std::to_string(writes));
  EXPECT_EQ(std::string(CORBA::String_var(well->getCounty()).in()), std::to_string(writes));
}

// The store itself: a write that another process's committed write overtook
// is refused whole with a StoreException that says it may be retried.
TEST(SharedStoreEngine, AnOvertakenWriteIsRefusedWholeAndMayBeRetried) {
  const std::string url = postgresTestStore();
  if (url.empty()) GTEST_SKIP() << "no PostgreSQL test cluster (KELWELL_TEST_PG)";
  kelwelld::PostgresStore one(url);
  kelwelld::PostgresStore other(url);
  {
    kelwelld::Transaction create(one, "create");
    kelwelld::Statement insert(create, "INSERT INTO projects(name, created) VALUES ('p', 'then')",
                               kelwelld::Caching::Once);
    insert.run();
    create.commit();
  }
  kelwelld::Transaction slow(one, "the slow write");
  {
    kelwelld::Statement read(slow, "SELECT created FROM projects WHERE name = 'p'", kelwelld::Caching::Once);
    ASSERT_TRUE(read.step());
  }
  {
    kelwelld::Transaction fast(other, "the fast write");
    kelwelld::Statement update(fast, "UPDATE projects SET created = 'fast' WHERE name = 'p'",
                               kelwelld::Caching::Once);
    update.run();
    fast.commit();
  }
  try {
    kelwelld::Statement insert(slow, "INSERT INTO projects(name, created) VALUES ('q', 'slow')",
                               kelwelld::Caching::Once);
    insert.run();
    kelwelld::Statement update(slow, "UPDATE projects SET created = 'slow' WHERE name = 'p'",
                               kelwelld::Caching::Once);
    update.describe("Could not change the project p").run();
    FAIL() << "the overtaken write went through";
  } catch (const EpDataStore::StoreException& e) {
    EXPECT_STREQ(e.message.in(), "Could not change the project p");
    EXPECT_NE(std::string(e.detail.in()).find("may be retried"), std::string::npos) << e.detail.in();
  }
  kelwelld::Reader reader(other);
  kelwelld::Statement check(reader, "SELECT name, created FROM projects ORDER BY name", kelwelld::Caching::Once);
  ASSERT_TRUE(check.step());
  EXPECT_EQ(check.text(1), "fast");
  EXPECT_FALSE(check.step());   // nothing of the refused write, not even its insert
}

TEST(SharedStoreEngine, TranslatesPlaceholdersAndLikeOutsideQuotes) {
  const struct {
    const char* portable;
    const char* postgres;
  } cases[] = {
      {"SELECT 1 WHERE a = ? AND b = ?", "SELECT 1 WHERE a = $1 AND b = $2"},
      {"x LIKE ? ESCAPE '\\'", "x ILIKE $1 ESCAPE '\\'"},
      {"name = '?' AND v = ?", "name = '?' AND v = $1"},
      {"LIKELY = ? AND UNLIKE_x = ?", "LIKELY = $1 AND UNLIKE_x = $2"},
  };
  for (const auto& c : cases) EXPECT_EQ(kelwelld::postgresDialect(c.portable), c.postgres) << c.portable;
  EXPECT_EQ(kelwelld::withoutPassword("postgresql://u:secret@h:5/db?password=x&sslmode=require"),
            "postgresql://u:***@h:5/db?password=***&sslmode=require");
}
