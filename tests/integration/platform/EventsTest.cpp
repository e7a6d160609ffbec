#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <EpiWell.hh>

#include "PlatformService.h"
#include "kel_Connection.h"
#include "kel_DataChangedEventListener.h"
#include "kel_EntityQuery.h"
#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"

using platform_test::createWell;
using platform_test::text;

namespace {

struct Received {
  std::string entityType, entityId, changeKind, entityIdFromEntity;
  bool entityNil;
  bool hasTime;
};

// Records what arrives; a test waits for a number of events.
class RecordingListener : public kel_DataChangedEventListener {
public:
  explicit RecordingListener(const kel_Session& session) : kel_DataChangedEventListener(session) {}
  ~RecordingListener() override { unregisterListener(); }

  void handleDataChangedEvent(const kel_DataChangedEvent& event) override {
    if (m_inside.exchange(true)) m_overlapped = true;
    handle(event);
    if (m_slow) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    m_inside = false;
  }

  void handle(const kel_DataChangedEvent& event) {
    Received r;
    r.entityType = text(event.getEntityType());
    r.entityId = text(event.getEntityId());
    r.changeKind = text(event.getChangeKind());
    const kel_Entity entity = event.getEntity();
    r.entityNil = entity.isNil();
    // A handler may call the service from the delivery thread.
    r.entityIdFromEntity = r.entityNil ? std::string() : text(entity.getId());
    r.hasTime = !event.getTime().isNullDate();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fail) {
      m_fail = false;
      throw std::runtime_error("handler failed on purpose");
    }
    m_received.push_back(r);
    m_arrived.notify_all();
  }

  std::vector<Received> waitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_arrived.wait_for(lock, std::chrono::seconds(15), [&] { return m_received.size() >= count; });
    return m_received;
  }
  void beSlow() { m_slow = true; }
  bool overlapped() const { return m_overlapped; }
  void failNext() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fail = true;
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::vector<Received> m_received;
  bool m_fail = false;
  std::atomic<bool> m_inside{false};
  std::atomic<bool> m_overlapped{false};
  std::atomic<bool> m_slow{false};
};

EpiWell::Well_ptr wellById(const kel_Project& project, const std::string& id) {
  kel_EntityQuery query(project, "EpiWell_Well");
  query.setWhereClause("EpiWell_Well.project.name = :prjname");
  query.addParameter(":prjname", project.getName());
  query.execute();
  const kel_Array<kel_Entity> wells = query.getEntityResult();
  for (unsigned i = 0; i < wells.size(); ++i)
    if (text(wells[i].getId()) == id)
      return EpiWell::Well::_narrow(static_cast<EpEntity::Entity_ptr>(wells[i].getRemoteObject(kel_Internal())));
  return EpiWell::Well::_nil();
}

} // namespace

TEST(Events, DataChangesArriveForTheRegisteredTypesOnly) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Events");
  RecordingListener listener(session);
  listener.addEntityType("EpiWell::Well");
  listener.registerListener();
  EXPECT_TRUE(listener.isRegistered());
  listener.registerListener();  // twice changes nothing

  const std::string id = createWell(session, project, "E-1");
  EpiWell::Well_var well = wellById(project, id);
  ASSERT_FALSE(CORBA::is_nil(well.in()));
  well->setCountry("Norway");

  const std::vector<Received> received = listener.waitFor(2);
  ASSERT_GE(received.size(), 2u);
  EXPECT_EQ("EpiWell::Well", received[0].entityType);
  EXPECT_EQ("created", received[0].changeKind);
  EXPECT_EQ(id, received[0].entityId);
  EXPECT_FALSE(received[0].entityNil);
  EXPECT_EQ(id, received[0].entityIdFromEntity);
  EXPECT_TRUE(received[0].hasTime);
  EXPECT_EQ("modified", received[1].changeKind);
  EXPECT_EQ(id, received[1].entityId);
  for (const Received& r : received) EXPECT_EQ("EpiWell::Well", r.entityType);
}

TEST(Events, AFailingHandlerDoesNotStopDelivery) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Failing");
  RecordingListener listener(session);
  listener.addEntityType("EpiWell::Well");
  listener.registerListener();
  listener.failNext();
  createWell(session, project, "F-1");   // its event fails in the handler
  const std::string second = createWell(session, project, "F-2");
  const std::vector<Received> received = listener.waitFor(1);
  ASSERT_EQ(1u, received.size());
  EXPECT_EQ(second, received[0].entityId);
}

TEST(Events, NothingArrivesAfterUnregistering) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Quiet");
  RecordingListener listener(session);
  listener.addEntityType("EpiWell::Well");
  listener.registerListener();
  createWell(session, project, "Q-1");
  ASSERT_EQ(1u, listener.waitFor(1).size());
  listener.unregisterListener();
  EXPECT_FALSE(listener.isRegistered());
  createWell(session, project, "Q-2");

  // A second listener proves the event was sent; the first one stays quiet.
  RecordingListener witness(session);
  witness.registerListener();
  createWell(session, project, "Q-3");
  ASSERT_GE(witness.waitFor(1).size(), 1u);
  EXPECT_EQ(1u, listener.waitFor(1).size());
}

TEST(Events, EventsOfConcurrentWritersAllArriveOneAtATime) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Busy");
  RecordingListener listener(session);
  listener.addEntityType("EpiWell::Well");
  listener.beSlow();
  listener.registerListener();
  std::vector<std::thread> writers;
  for (int t = 0; t < 3; ++t)
    writers.emplace_back([&, t] {
      for (int i = 0; i < 5; ++i) createWell(session, project, ("B-" + std::to_string(t) + "-" + std::to_string(i)).c_str());
    });
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(15u, listener.waitFor(15).size());
  EXPECT_FALSE(listener.overlapped());
}

TEST(Events, AListenerOutlivingTheConnectionDoesNotRestartIt) {
  auto listener = std::make_unique<RecordingListener>(kel_Session::open());
  listener->registerListener();
  kel_Connection::shutdown();
  listener.reset();
  EXPECT_FALSE(kel_Connection::isInitialized());
}
