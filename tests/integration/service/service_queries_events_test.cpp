// Project queries and data-changed events, over the wire.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include <CosNotifyComm.hh>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

std::vector<std::string> idsOf(const EpEntity::EntitySeq& entities) {
  std::vector<std::string> ids;
  for (CORBA::ULong i = 0; i < entities.length(); ++i) ids.push_back(CORBA::String_var(entities[i]->getId()).in());
  return ids;
}

std::string idOf(EpEntity::Entity_ptr entity) { return CORBA::String_var(entity->getId()).in(); }

EpSession::QueryParameterSeq parameters(std::initializer_list<std::pair<const char*, std::string>> values) {
  EpSession::QueryParameterSeq seq;
  seq.length(static_cast<CORBA::ULong>(values.size()));
  CORBA::ULong i = 0;
  for (const auto& value : values) {
    seq[i].name = value.first;
    seq[i].value = value.second.c_str();
    ++i;
  }
  return seq;
}

// Collects the structured events pushed to it.
class Consumer : public POA_CosNotifyComm::StructuredPushConsumer {
public:
  void push_structured_event(const CosNotification::StructuredEvent& event) override {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_arrived.wait(lock, [&] { return !m_held; });
    m_events.push_back(event);
    m_arrived.notify_all();
  }
  void offer_change(const CosNotification::EventTypeSeq&, const CosNotification::EventTypeSeq&) override {}
  void disconnect_structured_push_consumer() override {}

  // Waits up to 10 s for at least count events.
  std::vector<CosNotification::StructuredEvent> waitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_arrived.wait_for(lock, std::chrono::seconds(10), [&] { return m_events.size() >= count; });
    return m_events;
  }

  // While held, a push waits, as it would for a consumer that stopped reading.
  void hold(bool held) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_held = held;
    m_arrived.notify_all();
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::vector<CosNotification::StructuredEvent> m_events;
  bool m_held = false;
};

std::string header(const CosNotification::StructuredEvent& event, const char* name) {
  const CosNotification::OptionalHeaderFields& fields = event.header.variable_header;
  for (CORBA::ULong i = 0; i < fields.length(); ++i)
    if (std::string(fields[i].name.in()) == name) return text(fields[i].value);
  return "<missing>";
}

PortableServer::POA_ptr clientPoa();

// A consumer served by this process for the length of a test. The POA and
// this holder each own a count: a push still running when the test ends
// finishes before the servant goes.
struct ActiveConsumer {
  Consumer* servant = new Consumer;
  PortableServer::ObjectId_var id;
  CosNotifyComm::StructuredPushConsumer_var reference;
  bool active = true;

  ActiveConsumer();
  ~ActiveConsumer() {
    deactivate();
    servant->_remove_ref();
  }
  void deactivate() {
    if (active) clientPoa()->deactivate_object(id.in());
    active = false;
  }
  Consumer* operator->() { return servant; }
};

PortableServer::POA_ptr clientPoa() {
  static PortableServer::POA_var poa = [] {
    CORBA::Object_var object = clientOrb()->resolve_initial_references("RootPOA");
    PortableServer::POA_var root = PortableServer::POA::_narrow(object.in());
    PortableServer::POAManager_var manager = root->the_POAManager();
    manager->activate();
    return root;
  }();
  return poa.in();
}

ActiveConsumer::ActiveConsumer() {
  id = clientPoa()->activate_object(servant);
  CORBA::Object_var object = clientPoa()->id_to_reference(id.in());
  reference = CosNotifyComm::StructuredPushConsumer::_narrow(object.in());
}

} // namespace

TEST(ProjectQueries, FindTheEntitiesOfOneProjectInCreationOrderWithBoundValues) {
  Client client(sharedService());
  EpSession::Project_var north = client.newProject("north");
  EpSession::Project_var south = client.newProject("south");
  EpiWell::Well_var first = client.newWell(north.in(), "W-1");
  EpiWell::Well_var second = client.newWell(north.in(), "x'; DROP TABLE wells; --");
  EpiWell::Well_var third = client.newWell(north.in(), "W-3");
  EpiWell::Well_var elsewhere = client.newWell(south.in(), "W-1");
  first->setCountry("Norway");
  third->setCountry("Norway");
  second->setCountry("United Kingdom");
  const std::string northName = CORBA::String_var(north->getName()).in();

  // The clause the library's finder sends, parameter name with its colon.
  EpEntity::EntitySeq_var found = north->executeQuery(
      "EpiWell_Well", "EpiWell_Well.project.name = :prjname", parameters({{":prjname", northName}}));
  EXPECT_EQ(idsOf(found.in()), (std::vector<std::string>{idOf(first.in()), idOf(second.in()), idOf(third.in())}));
  found = south->executeQuery("EpiWell_Well", "", EpSession::QueryParameterSeq());
  EXPECT_EQ(idsOf(found.in()), std::vector<std::string>{idOf(elsewhere.in())});
  // A project only ever answers for its own entities.
  found = south->executeQuery("EpiWell_Well", "EpiWell_Well.project.name = :p", parameters({{"p", northName}}));
  EXPECT_EQ(found->length(), 0u);

  found = north->executeQuery("EpiWell_Well", "EpiWell_Well.country = 'Norway' and EpiWell_Well.name like 'W%'",
                              EpSession::QueryParameterSeq());
  EXPECT_EQ(idsOf(found.in()), (std::vector<std::string>{idOf(first.in()), idOf(third.in())}));

  // Values are data, never query text.
  found = north->executeQuery("EpiWell_Well", "EpiWell_Well.country = :c",
                              parameters({{"c", "Norway' OR '1'='1"}}));
  EXPECT_EQ(found->length(), 0u);
  found = north->executeQuery("EpiWell_Well", "EpiWell_Well.name = :n",
                              parameters({{"n", "x'; DROP TABLE wells; --"}}));
  EXPECT_EQ(idsOf(found.in()), std::vector<std::string>{idOf(second.in())});
  EXPECT_EQ(CORBA::String_var(third->getCountry()).in(), std::string("Norway"));

  EpiWell::WellBore_var bore1 = client.newWellBore(third.in(), "B-1");
  EpiWell::WellBore_var bore2 = client.newWellBore(third.in(), "B-2");
  bore2->setBoreStatus("drilling");
  found = north->executeQuery("EpiWell_WellBore", "EpiWell_WellBore.well.id = :well",
                              parameters({{":well", idOf(third.in())}}));
  EXPECT_EQ(idsOf(found.in()), (std::vector<std::string>{idOf(bore1.in()), idOf(bore2.in())}));
  found = north->executeQuery("EpiWell_WellBore", "EpiWell_WellBore.boreStatus = 'drilling'",
                              EpSession::QueryParameterSeq());
  EXPECT_EQ(idsOf(found.in()), std::vector<std::string>{idOf(bore2.in())});
}

TEST(ProjectQueries, BadClausesAreRefusedWithTheReason) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("bad queries");
  EXPECT_EQ(reasonOf<EpTypes::BadArgumentsException>([&] {
              project->executeQuery("EpiWell_Well", "EpiWell_Well.name = 'a'; DELETE FROM wells",
                                    EpSession::QueryParameterSeq());
            }),
            "The where clause \"EpiWell_Well.name = 'a'; DELETE FROM wells\" was refused: unexpected "
            "character ';' at position 24. ");
  EXPECT_EQ(reasonOf<EpTypes::BadArgumentsException>(
                [&] { project->executeQuery("EpiWell_Pick", "", EpSession::QueryParameterSeq()); }),
            "The entity type \"EpiWell_Pick\" cannot be queried; known: EpiWell_Well, EpiWell_WellBore, "
            "EpiWell_WellVelocity, EpiWell_WellLogTrace, EpiWell_WellPick, EpiWell_WellBoreList. ");
  EXPECT_THROW(project->executeQuery("EpiWell_Well", "EpiWell_Well.name = :nothing", EpSession::QueryParameterSeq()),
               EpTypes::BadArgumentsException);
  EXPECT_THROW(project->executeQuery("EpiWell_Well", "1=1", EpSession::QueryParameterSeq()),
               EpTypes::BadArgumentsException);
}

TEST(DataChangedEvents, ReachSubscribersOfTheirEntityTypeAfterTheWrite) {
  Client client(sharedService());
  EpSession::EventService_var events = client.manager->getEventService();
  ActiveConsumer wells;
  ActiveConsumer bores;
  EpTypes::StringSeq wellTypes;
  wellTypes.length(1);
  wellTypes[0] = "EpiWell::Well";
  EpTypes::StringSeq boreTypes;
  boreTypes.length(1);
  boreTypes[0] = "EpiWell::WellBore";
  const CORBA::ULong wellSubscription = events->subscribe(wells.reference.in(), wellTypes);
  const CORBA::ULong boreSubscription = events->subscribe(bores.reference.in(), boreTypes);

  EpSession::Project_var project = client.newProject("events");
  EpiWell::Well_var well = client.newWell(project.in(), "evented");
  well->setCountry("Denmark");
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "E-1");

  const auto received = wells->waitFor(3);
  ASSERT_EQ(received.size(), 3u);
  const auto& created = received[0];
  EXPECT_STREQ(created.header.fixed_header.event_type.domain_name.in(), "Kelvast");
  EXPECT_STREQ(created.header.fixed_header.event_type.type_name.in(), "DataChanged");
  EXPECT_STREQ(created.header.fixed_header.event_name.in(), "EpiWell::Well");
  EXPECT_EQ(header(created, "EntityType"), "EpiWell::Well");
  EXPECT_EQ(header(created, "EntityId"), idOf(well.in()));
  EXPECT_EQ(header(created, "ChangeKind"), "created");
  EXPECT_EQ(header(created, "Operation"), "createWell");
  EXPECT_EQ(header(created, "Time").size(), 20u);
  EXPECT_EQ(created.filterable_data.length(), 0u);
  EpEntity::Entity_ptr entity = EpEntity::Entity::_nil();
  ASSERT_TRUE(created.remainder_of_body >>= entity);
  EXPECT_EQ(idOf(entity), idOf(well.in()));
  EXPECT_EQ(header(received[1], "ChangeKind"), "modified");
  EXPECT_EQ(header(received[1], "Operation"), "setCountry");
  EXPECT_EQ(header(received[2], "Operation"), "createWellBore");   // its list of wellbores changed

  const auto boreEvents = bores->waitFor(1);
  ASSERT_EQ(boreEvents.size(), 1u);
  EXPECT_EQ(header(boreEvents[0], "EntityId"), idOf(bore.in()));

  events->unsubscribe(wellSubscription);
  events->unsubscribe(boreSubscription);
  well->setField("after");
  bore->setFluidType("oil");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(wells->waitFor(0).size(), 3u);
  EXPECT_EQ(bores->waitFor(0).size(), 1u);
}

TEST(DataChangedEvents, AConsumerThatIsGoneIsDroppedAndOthersStillReceive) {
  Client client(sharedService());
  EpSession::EventService_var events = client.manager->getEventService();
  ActiveConsumer gone;
  ActiveConsumer staying;
  events->subscribe(gone.reference.in(), EpTypes::StringSeq());
  const CORBA::ULong subscription = events->subscribe(staying.reference.in(), EpTypes::StringSeq());
  gone.deactivate();

  EpSession::Project_var project = client.newProject("dropped");   // every type: projects too
  EpiWell::Well_var well = client.newWell(project.in(), "w");
  EXPECT_EQ(staying->waitFor(2).size(), 2u);
  EXPECT_EQ(gone->waitFor(0).size(), 0u);
  events->unsubscribe(subscription);
}

namespace {

EpiWell::WellVelocity_var newVelocity(Client& client, EpiWell::WellBore_ptr bore, const char* name) {
  EpiWell::WellVelocity::WellVelocityData data;
  EpTypes::FloatSeq empty;
  for (EpiTypes::DataQuantities* list :
       {&data.times, &data.depths, &data.firstVelocities, &data.secondVelocities, &data.thirdVelocities})
    list->values.floatValues(empty);
  EpiTypes::DataQuantity datum;
  datum.value.floatValue(0.0f);
  CORBA::Object_var factory = client.factory(EpiWell::_tc_NewWellVelocityFactory->id(), true);
  return EpiWell::NewWellVelocityFactory::_narrow(factory.in())
      ->createWellVelocity(bore, name, "", datum, data, client.session.in());
}

} // namespace

TEST(DataChangedEvents, VelocityFunctionsReportCreationAndChangesAndAreFoundByQuery) {
  Client client(sharedService());
  EpSession::EventService_var events = client.manager->getEventService();
  ActiveConsumer velocities;
  ActiveConsumer bores;
  EpTypes::StringSeq velocityTypes;
  velocityTypes.length(1);
  velocityTypes[0] = "EpiWell::WellVelocity";
  EpTypes::StringSeq boreTypes;
  boreTypes.length(1);
  boreTypes[0] = "EpiWell::WellBore";
  const CORBA::ULong velocitySubscription = events->subscribe(velocities.reference.in(), velocityTypes);
  const CORBA::ULong boreSubscription = events->subscribe(bores.reference.in(), boreTypes);

  EpSession::Project_var project = client.newProject("velocity events");
  EpiWell::Well_var well = client.newWell(project.in(), "timed");
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "T-1");
  EpiWell::WellVelocity_var first = newVelocity(client, bore.in(), "first");
  EpiWell::WellVelocity_var second = newVelocity(client, bore.in(), "second");
  first->setComment("noted");
  EpiWell::WellVelocity::WellVelocityData refused;
  EpTypes::FloatSeq one;
  one.length(1);
  one[0] = -1.0f;
  for (EpiTypes::DataQuantities* list : {&refused.times, &refused.depths, &refused.firstVelocities,
                                         &refused.secondVelocities, &refused.thirdVelocities})
    list->values.floatValues(list == &refused.times || list == &refused.depths ? one : EpTypes::FloatSeq());
  EXPECT_THROW(first->setVelocityData(refused), EpiWell::WellVelocity::InvalidDataPairException);   // no event
  bore->setDefaultWellVelocity(second.in());

  const auto received = velocities->waitFor(3);
  ASSERT_EQ(received.size(), 3u);
  const std::pair<std::string, std::string> expected[] = {
      {idOf(first.in()), "created createWellVelocity"},
      {idOf(second.in()), "created createWellVelocity"},
      {idOf(first.in()), "modified setComment"}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(header(received[i], "EntityType"), "EpiWell::WellVelocity");
    EXPECT_EQ(header(received[i], "EntityId"), expected[i].first);
    EXPECT_EQ(header(received[i], "ChangeKind") + " " + header(received[i], "Operation"), expected[i].second);
  }
  const auto boreEvents = bores->waitFor(4);
  ASSERT_EQ(boreEvents.size(), 4u);   // its creation, two functions, its default
  EXPECT_EQ(header(boreEvents[1], "Operation"), "createWellVelocity");
  EXPECT_EQ(header(boreEvents[3], "Operation"), "setDefaultWellVelocity");
  events->unsubscribe(velocitySubscription);
  events->unsubscribe(boreSubscription);

  const std::string projectName = CORBA::String_var(project->getName()).in();
  EpEntity::EntitySeq_var found =
      project->executeQuery("EpiWell_WellVelocity", "EpiWell_WellVelocity.project.name = :prjname",
                            parameters({{":prjname", projectName}}));
  EXPECT_EQ(idsOf(found.in()), (std::vector<std::string>{idOf(first.in()), idOf(second.in())}));
  found = project->executeQuery("EpiWell_WellVelocity", "EpiWell_WellVelocity.name = 'second'",
                                EpSession::QueryParameterSeq());
  EXPECT_EQ(idsOf(found.in()), std::vector<std::string>{idOf(second.in())});
}

TEST(DataChangedEvents, ASubscriberThatFallsBehindIsDroppedAndLoggedWhileOthersKeepReceiving) {
  // Three events may wait for a subscriber; a push may take 1.5 s.
  ServiceProcess service(ServiceOptions{false, "", "", {"--event-queue", "3", "--call-timeout-ms", "1500"}});
  service.start();
  Client client(service);
  EpSession::EventService_var events = client.manager->getEventService();
  ActiveConsumer stopped;
  ActiveConsumer stalled;
  ActiveConsumer reading;
  stopped->hold(true);
  stalled->hold(true);
  struct Release {
    ActiveConsumer& a;
    ActiveConsumer& b;
    ~Release() {
      a->hold(false);
      b->hold(false);
    }
  } release{stopped, stalled};
  const CORBA::ULong stoppedNumber = events->subscribe(stopped.reference.in(), EpTypes::StringSeq());
  events->subscribe(reading.reference.in(), EpTypes::StringSeq());

  // One event in the stopped subscriber's push, three waiting, then one too many.
  EpSession::Project_var project = client.newProject("slow");
  EpiWell::Well_var well = client.newWell(project.in(), "w");
  for (std::size_t written = 2; written <= 6; ++written) {
    if (written > 2) well->setCountry(("Country " + std::to_string(written)).c_str());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reading->waitFor(written).size(), written);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << written;
  }
  EXPECT_NE(service.standardError().find("kelwelld: event subscription " + std::to_string(stoppedNumber) +
                                         " dropped: 3 events were waiting for its consumer"),
            std::string::npos)
      << service.standardError();

  // A subscriber whose push does not return within the time limit goes too.
  const CORBA::ULong stalledNumber = events->subscribe(stalled.reference.in(), EpTypes::StringSeq());
  well->setCountry("Stalled");
  EXPECT_EQ(reading->waitFor(7).size(), 7u);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_NE(service.standardError().find("kelwelld: event subscription " + std::to_string(stalledNumber) +
                                         " dropped: its consumer took no event within 1500 ms"),
            std::string::npos)
      << service.standardError();
  well->setCountry("After");
  EXPECT_EQ(reading->waitFor(8).size(), 8u);
}

TEST(DataChangedEvents, EveryPathChangeOfAWellboreIsReportedAndARefusedOneIsNot) {
  Client client(sharedService());
  EpSession::EventService_var events = client.manager->getEventService();
  EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
  EpSession::Project_var project = client.newProject("path events");
  EpiWell::Well_var well = client.newWell(project.in(), "path evented");
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "PE-1");
  ActiveConsumer bores;
  EpTypes::StringSeq boreTypes;
  boreTypes.length(1);
  boreTypes[0] = "EpiWell::WellBore";
  const CORBA::ULong subscription = events->subscribe(bores.reference.in(), boreTypes);

  auto quantities = [&](std::initializer_list<double> values, const char* unit) {
    EpiTypes::DataQuantities q;
    EpTypes::DoubleSeq sequence;
    sequence.length(static_cast<CORBA::ULong>(values.size()));
    CORBA::ULong i = 0;
    for (const double value : values) sequence[i++] = value;
    q.values.doubleValues(sequence);
    q.unit = units->getUnit(unit);
    return q;
  };
  bore->setSurveyStations(quantities({0.0, 100.0}, "m"), quantities({0.0, 3.0}, "dega"),
                          quantities({0.0, 0.0}, "dega"));
  EXPECT_THROW(bore->setSurveyStations(quantities({0.0, 100.0}, "m"), quantities({0.0}, "dega"),
                                       quantities({0.0, 0.0}, "dega")),
               EpiWell::WellBore::InvalidNumSamplesException);
  EpiWell::WellBore::PathData data;
  data.column0 = quantities({0.0, 10.0}, "m");
  data.column1 = quantities({0.0, 10.0}, "m");
  data.column2 = data.column3 = quantities({0.0, 0.0}, "m");
  data.column4 = quantities({}, "s");
  bore->setPathData(data);
  bore->setBoreStatus("");   // events come in order: nothing else lies between these

  const auto received = bores->waitFor(3);
  events->unsubscribe(subscription);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(header(received[0], "EntityId"), idOf(bore.in()));
  EXPECT_EQ(header(received[0], "ChangeKind"), "modified");
  EXPECT_EQ(header(received[0], "Operation"), "setSurveyStations");
  EXPECT_EQ(header(received[1], "Operation"), "setPathData");
  EXPECT_EQ(header(received[2], "Operation"), "setBoreStatus");
}

namespace {

using List = EpiWell::WellBoreList;

// A list of the project created through the factory, stored or not.
List::_var_type newList(Client& client, EpSession::Project_ptr project, bool stored) {
  CORBA::Object_var factory = client.factory(
      stored ? EpiWell::_tc_NewWellBoreListFactory->id() : EpiWell::_tc_StorelessWellBoreListFactory->id(), stored);
  if (stored)
    return EpiWell::NewWellBoreListFactory::_narrow(factory.in())
        ->createWellBoreList(project, "watched", "", EpiWell::WellBoreSeq(), client.session.in());
  return EpiWell::StorelessWellBoreListFactory::_narrow(factory.in())
      ->createWellBoreList(project, "watched", "", EpiWell::WellBoreSeq(), client.session.in());
}

// The change an event carries: its kind and its wellbore's id; kind -1 when
// the first filterable property is not a wellbore list change.
std::pair<int, std::string> changeOf(const CosNotification::StructuredEvent& event) {
  if (event.filterable_data.length() == 0 || std::string(event.filterable_data[0].name.in()) != "ChangedData")
    return {-1, ""};
  const List::WellBoreListChange* change = nullptr;
  if (!(event.filterable_data[0].value >>= change)) return {-1, ""};
  return {change->changeType, CORBA::is_nil(change->bore.in()) ? "nil" : idOf(change->bore.in())};
}

} // namespace

TEST(DataChangedEvents, WellboreListChangesReachSubscribersInCommitOrderWithTheirChange) {
  Client client(sharedService());
  EpSession::EventService_var events = client.manager->getEventService();
  EpSession::Project_var project = client.newProject("list events");
  EpiWell::Well_var well = client.newWell(project.in(), "w");
  constexpr int writers = 4, perWriter = 6;
  std::vector<std::vector<EpiWell::WellBore_var>> bores(writers);
  for (auto& own : bores)
    for (int i = 0; i < perWriter; ++i) own.push_back(client.newWellBore(well.in(), "B" + std::to_string(i)));

  for (bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "stored" : "storeless");
    ActiveConsumer consumer;
    ActiveConsumer second;   // of the same type: each subscriber receives every change
    EpTypes::StringSeq types;
    types.length(1);
    types[0] = "EpiWell::WellBoreList";
    const CORBA::ULong subscription = events->subscribe(consumer.reference.in(), types);
    const CORBA::ULong secondSubscription = events->subscribe(second.reference.in(), types);
    List::_var_type list = newList(client, project.in(), stored);
    client.newWellBore(well.in(), "not a list change");   // another type: not delivered

    // Writers on several threads, each adding its wellbores and removing its
    // first one: the events must follow the order the changes were committed in.
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w)
      threads.emplace_back([&, w] {
        for (auto& bore : bores[static_cast<std::size_t>(w)]) list->addBore(bore.in());
        list->removeBore(bores[static_cast<std::size_t>(w)][0].in());
      });
    for (auto& thread : threads) thread.join();

    const std::size_t expected = 1 + writers * (perWriter + 1);
    const auto received = consumer->waitFor(expected);
    ASSERT_EQ(received.size(), expected);
    EXPECT_EQ(header(received[0], "ChangeKind"), "created");
    EXPECT_EQ(changeOf(received[0]).first, -1);
    std::vector<std::string> replayed;   // the membership rebuilt from the events alone
    for (std::size_t i = 1; i < received.size(); ++i) {
      const auto& event = received[i];
      EXPECT_EQ(std::string(event.header.fixed_header.event_name.in()), "EpiWell::WellBoreList");
      EXPECT_EQ(header(event, "EntityId"), idOf(list.in()));
      EXPECT_EQ(event.filterable_data.length(), 1u);
      const auto [kind, bore] = changeOf(event);
      EXPECT_EQ(header(event, "Operation"), kind == List::BORE_ADDED ? "addBore" : "removeBore") << i;
      if (kind == List::BORE_ADDED) {
        replayed.push_back(bore);
      } else {
        ASSERT_EQ(kind, List::BORE_REMOVED) << i;
        const auto member = std::find(replayed.begin(), replayed.end(), bore);
        ASSERT_NE(member, replayed.end()) << "removed before it was added: " << bore;
        replayed.erase(member);
      }
    }
    EXPECT_EQ(replayed, idsOf(EpEntity::EntitySeq_var(list->getBores()).in()));
    EXPECT_EQ(replayed.size(), static_cast<std::size_t>(writers * (perWriter - 1)));

    // A refused change reports nothing.
    EXPECT_THROW(list->addBore(bores[1][1].in()), List::DuplicateBoreException);
    list->setName("renamed");   // an attribute change: an event without change content
    const auto after = consumer->waitFor(expected + 1);
    ASSERT_EQ(after.size(), expected + 1);
    EXPECT_EQ(header(after.back(), "Operation"), "setName");
    EXPECT_EQ(changeOf(after.back()).first, -1);
    EXPECT_EQ(second->waitFor(expected + 1).size(), expected + 1);
    events->unsubscribe(subscription);
    events->unsubscribe(secondSubscription);
  }
}

TEST(DataChangedEvents, AListSubscriberThatStopsReadingDoesNotSlowTheWriter) {
  // Pushes may wait 20 s: a writer held by the stopped subscriber would take that long.
  ServiceProcess service(ServiceOptions{false, "", "", {"--call-timeout-ms", "20000"}});
  service.start();
  Client client(service);
  EpSession::EventService_var events = client.manager->getEventService();
  EpSession::Project_var project = client.newProject("stopped");
  EpiWell::Well_var well = client.newWell(project.in(), "w");
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "B");
  List::_var_type list = newList(client, project.in(), true);
  ActiveConsumer stopped;
  ActiveConsumer reading;
  stopped->hold(true);
  struct Release {
    ActiveConsumer& held;
    ~Release() { held->hold(false); }
  } release{stopped};
  events->subscribe(stopped.reference.in(), EpTypes::StringSeq());
  events->subscribe(reading.reference.in(), EpTypes::StringSeq());

  constexpr std::size_t changes = 100;
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < changes / 2; ++i) {
    list->addBore(bore.in());
    list->removeBore(bore.in());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(reading->waitFor(changes).size(), changes);
}
