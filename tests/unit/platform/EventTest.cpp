#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <CosNotification.hh>

#include "kel_Connection.h"
#include "kel_DataChangedEvent.h"
#include "kel_DataChangedEventListener.h"
#include "kel_Exception.h"

namespace {

std::string text(const kel_cppUtil::String& s) { return s.str(); }

CosNotification::StructuredEvent dataChanged(const char* entityType, const char* id, const char* kind,
                                             const char* time) {
  CosNotification::StructuredEvent event;
  event.header.fixed_header.event_type.domain_name = CORBA::string_dup("Kelvast");
  event.header.fixed_header.event_type.type_name = CORBA::string_dup("DataChanged");
  event.header.fixed_header.event_name = CORBA::string_dup(entityType);
  const char* names[] = {"EntityType", "EntityId", "ChangeKind", "Time", "Operation"};
  const char* values[] = {entityType, id, kind, time, "setName"};
  event.header.variable_header.length(5);
  for (CORBA::ULong i = 0; i < 5; ++i) {
    event.header.variable_header[i].name = CORBA::string_dup(names[i]);
    event.header.variable_header[i].value <<= values[i];
  }
  return event;
}

// Copying an Any marshals its value, which needs the ORB's code sets: the
// ORB is started (it binds nothing until a POA is activated).
class OrbEnvironment : public ::testing::Environment {
public:
  void SetUp() override { kel_Connection::getOrb(); }
  void TearDown() override { kel_Connection::shutdown(); }
};
const auto* const orbEnvironment = ::testing::AddGlobalTestEnvironment(new OrbEnvironment);

class ReadableEvent : public kel_DataChangedEvent {
public:
  explicit ReadableEvent(void* raw) : kel_DataChangedEvent(raw) {}
  using kel_DataChangedEvent::createEventStruct;
};

class RecordingListener : public kel_DataChangedEventListener {
public:
  using kel_DataChangedEventListener::handleEvent;
  void handleDataChangedEvent(const kel_DataChangedEvent& event) override {
    received.push_back(text(event.getEntityType()) + " " + text(event.getChangeKind()));
  }
  std::vector<std::string> received;
};

} // namespace

TEST(DataChangedEvent, ReadsTheServiceHeader) {
  CosNotification::StructuredEvent raw = dataChanged("EpiWell::Well", "W-17", "modified", "2024-05-17T08:30:00Z");
  ReadableEvent event(&raw);
  EXPECT_EQ("Kelvast", text(event.getDomainName()));
  EXPECT_EQ("DataChanged", text(event.getTypeName()));
  EXPECT_EQ("EpiWell::Well", text(event.getEventName()));
  EXPECT_EQ("EpiWell::Well", text(event.getEntityType()));
  EXPECT_EQ("W-17", text(event.getEntityId()));
  EXPECT_EQ("modified", text(event.getChangeKind()));
  EXPECT_EQ(kel_Date(2024, 5, 17, 8, 30, 0), event.getTime());
  EXPECT_TRUE(event.getEntity().isNil());  // empty body

  // Copies compare equal; a different entity sorts by its identifier.
  kel_DataChangedEvent copy(event);
  EXPECT_TRUE(copy == event);
  CosNotification::StructuredEvent otherRaw = dataChanged("EpiWell::Well", "W-18", "modified", "2024-05-17T08:30:00Z");
  ReadableEvent other(&otherRaw);
  EXPECT_FALSE(other == event);
  EXPECT_TRUE(event < other);
  EXPECT_FALSE(other < event);
  EXPECT_FALSE(event < copy);
}

TEST(DataChangedEvent, RoundTripsThroughItsEventStructure) {
  CosNotification::StructuredEvent raw = dataChanged("EpiWell::WellBore", "B-1", "created", "2024-01-02T03:04:05Z");
  ReadableEvent event(&raw);
  std::unique_ptr<CosNotification::StructuredEvent> rebuilt(
      static_cast<CosNotification::StructuredEvent*>(event.createEventStruct()));
  ReadableEvent again(rebuilt.get());
  EXPECT_TRUE(again == event);
}

TEST(DataChangedEvent, ToleratesMissingOrBadHeaderFields) {
  CosNotification::StructuredEvent raw;
  raw.header.fixed_header.event_type.domain_name = CORBA::string_dup("Kelvast");
  raw.header.fixed_header.event_type.type_name = CORBA::string_dup("DataChanged");
  raw.header.fixed_header.event_name = CORBA::string_dup("EpiWell::Well");
  raw.header.variable_header.length(2);
  raw.header.variable_header[0].name = CORBA::string_dup("Time");
  raw.header.variable_header[0].value <<= "not a time";
  raw.header.variable_header[1].name = CORBA::string_dup("EntityId");
  raw.header.variable_header[1].value <<= CORBA::Long(5);  // not a text
  ReadableEvent event(&raw);
  EXPECT_TRUE(event.getTime().isNullDate());
  EXPECT_EQ("", text(event.getEntityId()));
  EXPECT_EQ("EpiWell::Well", text(event.getEntityType()));  // from the event name

  EXPECT_THROW(ReadableEvent(nullptr), kel_SystemException);
}

TEST(DataChangedEventListener, DeliversOnlyDataChangesOfItsTypes) {
  RecordingListener listener;
  EXPECT_TRUE(listener.matches("anything"));  // no filter yet
  listener.addEntityType("EpiWell::WellBoreList");
  listener.addEntityType("EpiWell::WellBoreList");
  EXPECT_TRUE(listener.matches("EpiWell::WellBoreList"));
  EXPECT_FALSE(listener.matches("EpiWell::Well"));
  EXPECT_EQ("DataChanged", text(listener.getEventType()));
  EXPECT_FALSE(listener.isRegistered());

  CosNotification::StructuredEvent list = dataChanged("EpiWell::WellBoreList", "L-1", "modified", "");
  CosNotification::StructuredEvent well = dataChanged("EpiWell::Well", "W-1", "created", "");
  CosNotification::StructuredEvent other = dataChanged("EpiWell::WellBoreList", "L-1", "modified", "");
  other.header.fixed_header.event_type.type_name = CORBA::string_dup("Heartbeat");
  listener.handleEvent(&list);
  listener.handleEvent(&well);
  listener.handleEvent(&other);
  EXPECT_EQ((std::vector<std::string>{"EpiWell::WellBoreList modified"}), listener.received);

  // Copies take the filter but not the registration.
  RecordingListener copy;
  static_cast<kel_DataChangedEventListener&>(copy) = listener;
  EXPECT_FALSE(copy.matches("EpiWell::Well"));
  EXPECT_FALSE(copy.isRegistered());
}
