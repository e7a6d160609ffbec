// Wellbore list change events and their listener, fed hand-made structured
// events as the platform delivers them; no service. Wellbores here are
// proxies of objects nobody serves: only what stays in this process is
// asked of them.
#include <functional>
#include <iostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <CosNotification.hh>
#include <CosPropertyService.hh>
#include <EpiWell.hh>

#include "FailureChain.h"
#include "kel_Connection.h"
#include "kel_Internal.h"
#include "kel_WellBoreListDataChangedEvent.h"
#include "kel_WellBoreListDataChangedEventListener.h"

using namespace kelwell_test;

namespace {

const std::string eventLine = "kel_WellBoreListDataChangedEvent\n";

// Copying an Any marshals its value, which needs the ORB (it binds nothing
// until a POA is activated).
class OrbEnvironment : public ::testing::Environment {
public:
  void SetUp() override { kel_Connection::getOrb(); }
  void TearDown() override { kel_Connection::shutdown(); }
};
const auto* const orbEnvironment = ::testing::AddGlobalTestEnvironment(new OrbEnvironment);

EpiWell::WellBore_ptr unservedBore(const char* key) {
  CORBA::ORB_ptr orb = static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb());
  CORBA::Object_var object = orb->string_to_object((std::string("corbaloc:iiop:127.0.0.1:1/") + key).c_str());
  return EpiWell::WellBore::_unchecked_narrow(object.in());
}

// Whether wrapper holds the same remote wellbore as reference (nil for none).
bool refersTo(const kel_WellBore& wrapper, EpiWell::WellBore_ptr reference) {
  auto held = static_cast<EpiWell::WellBore_ptr>(wrapper.getRemoteObject(kel_Internal()));
  if (CORBA::is_nil(reference)) return held == nullptr;
  return held != nullptr && reference->_is_equivalent(held);
}

CORBA::Any changeOf(CORBA::Long kind, EpiWell::WellBore_ptr bore) {
  EpiWell::WellBoreList::WellBoreListChange change;
  change.changeType = kind;
  change.bore = EpiWell::WellBore::_duplicate(bore);
  CORBA::Any value;
  value <<= change;
  return value;
}

// A wellbore list event as the service sends it, with the filterable data given.
CosNotification::StructuredEvent listEvent(const std::vector<std::pair<const char*, CORBA::Any>>& filterable,
                                           const char* time = "2024-05-17T08:30:00Z") {
  CosNotification::StructuredEvent event;
  event.header.fixed_header.event_type.domain_name = CORBA::string_dup("Kelvast");
  event.header.fixed_header.event_type.type_name = CORBA::string_dup("DataChanged");
  event.header.fixed_header.event_name = CORBA::string_dup("EpiWell::WellBoreList");
  const char* names[] = {"EntityType", "EntityId", "ChangeKind", "Time", "Operation"};
  const char* values[] = {"EpiWell::WellBoreList", "L-1", "modified", time, "addBore"};
  event.header.variable_header.length(5);
  for (CORBA::ULong i = 0; i < 5; ++i) {
    event.header.variable_header[i].name = CORBA::string_dup(names[i]);
    event.header.variable_header[i].value <<= values[i];
  }
  event.filterable_data.length(static_cast<CORBA::ULong>(filterable.size()));
  for (CORBA::ULong i = 0; i < filterable.size(); ++i) {
    event.filterable_data[i].name = CORBA::string_dup(filterable[i].first);
    event.filterable_data[i].value = filterable[i].second;
  }
  return event;
}

// Reaches the constructor from raw event data, as the listener does.
class RawEvent : public kel_WellBoreListDataChangedEvent {
public:
  explicit RawEvent(void* raw) : kel_WellBoreListDataChangedEvent(raw) {}
};

// Counts the lines the events write while it lives.
class StandardOutput {
public:
  StandardOutput() { ::testing::internal::CaptureStdout(); }
  ~StandardOutput() {
    if (!m_read) ::testing::internal::GetCapturedStdout();
  }
  std::string text() {
    m_read = true;
    return ::testing::internal::GetCapturedStdout();
  }

private:
  bool m_read = false;
};

// Records the order in which the callback and the handler saw each event.
class RecordingListener : public kel_WellBoreListDataChangedEventListener {
public:
  using kel_WellBoreListDataChangedEventListener::handleEvent;

  void handleWellBoreListDataChangedEvent(const kel_WellBoreListDataChangedEvent& event) override {
    seen.push_back("handler " + std::to_string(event.getChangeType()));
    handled.push_back(&event);
    if (handlerFails) handlerFails();
  }

  std::vector<std::string> seen;
  std::vector<const kel_WellBoreListDataChangedEvent*> handled;
  std::function<void()> handlerFails;
};

// The library's own listener, with its default handler.
class PlainListener : public kel_WellBoreListDataChangedEventListener {
public:
  using kel_WellBoreListDataChangedEventListener::handleEvent;
};

struct CallbackLog {
  RecordingListener* listener = nullptr;
  std::vector<const kel_WellBoreListDataChangedEvent*> events;
  std::function<void()> fails;
};

void recordingCallback(const kel_WellBoreListDataChangedEvent* event, void* userData) {
  auto* log = static_cast<CallbackLog*>(userData);
  log->events.push_back(event);
  log->listener->seen.push_back("callback " + std::to_string(event->getChangeType()));
  if (log->fails) log->fails();
}

} // namespace

TEST(WellBoreListEvent, ReadsTheChangeFromTheFirstFilterableProperty) {
  EpiWell::WellBore_var bore = unservedBore("bore");
  CORBA::Any aText;
  aText <<= "a change";
  CORBA::Any number;
  number <<= static_cast<CORBA::Long>(1);
  CosPropertyService::Property otherStructure;
  otherStructure.property_name = CORBA::string_dup("ChangedData");
  otherStructure.property_value <<= static_cast<CORBA::Long>(1);
  CORBA::Any structure;
  structure <<= otherStructure;

  struct Case {
    const char* what;
    std::vector<std::pair<const char*, CORBA::Any>> filterable;
    bool hasChange;
    int changeType;         // getChangeType()
    int structChangeType;   // getWellBoreListChange().changeType
    bool withBore;
  };
  const std::vector<Case> cases{
      {"a wellbore added", {{"ChangedData", changeOf(0, bore.in())}}, true, 0, 0, true},
      {"a wellbore removed", {{"ChangedData", changeOf(1, bore.in())}}, true, 1, 1, true},
      {"a kind the structure does not take", {{"ChangedData", changeOf(2, bore.in())}}, true, 2, 0, true},
      {"a negative kind", {{"ChangedData", changeOf(-1, bore.in())}}, true, -1, 0, true},
      {"a change naming no wellbore", {{"ChangedData", changeOf(1, EpiWell::WellBore::_nil())}}, true, 1, 1,
       false},
      {"later properties are not read",
       {{"ChangedData", changeOf(1, EpiWell::WellBore::_nil())}, {"ChangedData", changeOf(0, bore.in())}},
       true, 1, 1, false},
      {"no filterable data", {}, false, 0, 0, false},
      {"the change second", {{"Other", aText}, {"ChangedData", changeOf(1, bore.in())}}, false, 0, 0, false},
      {"another name", {{"changedData", changeOf(1, bore.in())}}, false, 0, 0, false},
      {"a text", {{"ChangedData", aText}}, false, 0, 0, false},
      {"a number", {{"ChangedData", number}}, false, 0, 0, false},
      {"another structure", {{"ChangedData", structure}}, false, 0, 0, false},
      {"an empty value", {{"ChangedData", CORBA::Any()}}, false, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CosNotification::StructuredEvent raw = listEvent(c.filterable);
    StandardOutput output;
    const RawEvent event(&raw);
    EXPECT_EQ(eventLine, output.text());

    EXPECT_EQ(c.hasChange, event.hasChange());
    EXPECT_EQ(c.changeType, event.getChangeType());
    const kel_WellBoreList::WellBoreListChange change = event.getWellBoreListChange();
    EXPECT_EQ(c.structChangeType, change.changeType);
    EpiWell::WellBore_ptr expected = c.withBore ? bore.in() : EpiWell::WellBore::_nil();
    EXPECT_TRUE(refersTo(event.getBore(), expected));
    EXPECT_TRUE(refersTo(change.bore, expected));
    // The platform's part is read from the same event.
    EXPECT_EQ("EpiWell::WellBoreList", text(event.getEntityType()));
  }
}

TEST(WellBoreListEvent, CopiesAssignmentsAndComparisonsWithoutAskingTheService) {
  EpiWell::WellBore_var bore = unservedBore("bore");
  CosNotification::StructuredEvent removedRaw = listEvent({{"ChangedData", changeOf(1, bore.in())}});
  CosNotification::StructuredEvent emptyRaw = listEvent({});
  CosNotification::StructuredEvent laterRaw = listEvent({}, "2024-05-18T08:30:00Z");
  StandardOutput output;
  const RawEvent removed(&removedRaw);
  const RawEvent empty(&emptyRaw);
  const RawEvent later(&laterRaw);

  // Copies keep the change and refer to the same wellbore.
  const kel_WellBoreListDataChangedEvent copy(removed);
  EXPECT_TRUE(copy.hasChange());
  EXPECT_EQ(1, copy.getChangeType());
  EXPECT_TRUE(refersTo(copy.getBore(), bore.in()));
  EXPECT_TRUE(refersTo(copy.getWellBoreListChange().bore, bore.in()));
  kel_WellBoreListDataChangedEvent assigned;
  EXPECT_FALSE(assigned.hasChange());
  EXPECT_TRUE(assigned.getBore().isNil());
  assigned = removed;
  EXPECT_EQ(1, assigned.getWellBoreListChange().changeType);
  EXPECT_TRUE(refersTo(assigned.getBore(), bore.in()));
  kel_WellBoreListDataChangedEvent& same = assigned;
  assigned = same;
  EXPECT_TRUE(refersTo(assigned.getBore(), bore.in()));
  assigned = empty;
  EXPECT_FALSE(assigned.hasChange());
  EXPECT_TRUE(assigned.getBore().isNil());
  EXPECT_TRUE(assigned.getWellBoreListChange().bore.isNil());

  // Events without a wellbore compare without a remote call.
  EXPECT_TRUE(assigned == empty);
  EXPECT_TRUE(kel_WellBoreListDataChangedEvent() == kel_WellBoreListDataChangedEvent());
  EXPECT_FALSE(empty == later);      // the platform's part differs
  EXPECT_FALSE(empty == removed);    // the kind differs
  // Less only when every part is: equal kinds never are, in either order.
  EXPECT_FALSE(empty < later);
  EXPECT_FALSE(later < empty);
  EXPECT_FALSE(removed < removed);
  // A missing wellbore sorts first: kind 0 < 1, none < one, and the time.
  CosNotification::StructuredEvent earlierRaw = listEvent({}, "2024-05-16T08:30:00Z");
  const RawEvent earlier(&earlierRaw);
  EXPECT_TRUE(earlier < removed);
  EXPECT_FALSE(removed < earlier);
}

TEST(WellBoreListEventListener, ListensToWellBoreListsOnly) {
  kel_WellBoreListDataChangedEventListener listener;
  EXPECT_TRUE(listener.matches("EpiWell::WellBoreList"));
  EXPECT_FALSE(listener.matches("EpiWell::WellBore"));
  EXPECT_EQ("DataChanged", text(listener.getEventType()));
  EXPECT_FALSE(listener.isRegistered());
  const kel_WellBoreListDataChangedEventListener withSession{kel_Session()};
  EXPECT_FALSE(withSession.matches("EpiWell::Well"));
}

TEST(WellBoreListEventListener, TheCallbackThenTheHandlerSeeTheSameEventOncePerDelivery) {
  EpiWell::WellBore_var bore = unservedBore("bore");
  RecordingListener listener;
  CallbackLog log{&listener, {}, {}};
  CosNotification::StructuredEvent added = listEvent({{"ChangedData", changeOf(0, bore.in())}});
  CosNotification::StructuredEvent removed = listEvent({{"ChangedData", changeOf(1, bore.in())}});
  CosNotification::StructuredEvent plain = listEvent({});

  StandardOutput output;
  listener.handleEvent(&added);  // no callback yet: the handler alone
  listener.setCallBack(recordingCallback, &log);
  listener.handleEvent(&removed);
  listener.handleEvent(&plain);
  listener.setCallBack(nullptr, &log);  // switched off
  listener.handleEvent(&added);
  EXPECT_EQ(eventLine + eventLine + eventLine + eventLine, output.text());

  EXPECT_EQ((std::vector<std::string>{"handler 0", "callback 1", "handler 1", "callback 0", "handler 0",
                                      "handler 0"}),
            listener.seen);
  ASSERT_EQ(2u, log.events.size());
  EXPECT_EQ(log.events[0], listener.handled[1]);
  EXPECT_EQ(log.events[1], listener.handled[2]);

  // The default handler does nothing.
  PlainListener plainListener;
  StandardOutput quiet;
  plainListener.handleEvent(&plain);
  EXPECT_EQ(eventLine, quiet.text());
}

TEST(WellBoreListEventListener, AssignmentTakesTheCallbackOnlyFromAListenerThatHasOne) {
  CallbackLog targetLog, sourceLog;
  RecordingListener target, withCallback, without;
  targetLog.listener = &target;
  sourceLog.listener = &target;
  target.setCallBack(recordingCallback, &targetLog);
  without.addEntityType("EpiWell::Well");

  CosNotification::StructuredEvent raw = listEvent({});
  StandardOutput output;
  static_cast<kel_WellBoreListDataChangedEventListener&>(target) = without;
  target.handleEvent(&raw);
  EXPECT_EQ(1u, targetLog.events.size());
  EXPECT_TRUE(target.matches("EpiWell::Well"));  // the settings were taken

  withCallback.setCallBack(recordingCallback, &sourceLog);
  static_cast<kel_WellBoreListDataChangedEventListener&>(target) = withCallback;
  target.handleEvent(&raw);
  EXPECT_EQ(1u, targetLog.events.size());
  EXPECT_EQ(1u, sourceLog.events.size());

  // A copy takes the callback.
  RecordingListener copy(target);
  copy.handleEvent(&raw);
  EXPECT_EQ(2u, sourceLog.events.size());

  // A later callback replaces both the function and its data.
  CallbackLog laterLog{&copy, {}, {}};
  copy.setCallBack(recordingCallback, &laterLog);
  copy.handleEvent(&raw);
  EXPECT_EQ(2u, sourceLog.events.size());
  EXPECT_EQ(1u, laterLog.events.size());
}

TEST(WellBoreListEventListener, AFailedDispatchLeavesAsTheListenersFailure) {
  const std::string dispatch = "Could not dispatch the received Kelvast Data Changed Event. ";
  const std::string where = "kel_DataChangedEventListener::handleEvent method. ";
  struct Case {
    const char* what;
    std::function<void()> callbackFails;
    std::function<void()> handlerFails;
    std::vector<Level> chain;
    std::vector<std::string> seen;
  };
  const std::vector<Case> cases{
      {"the callback refuses the change",
       [] { throw kel_UserException("Not this list. "); }, nullptr,
       {user(dispatch, kUser + where), user("Not this list. ")}, {"callback 1"}},
      {"the callback meets a platform failure",
       [] { throw kel_SystemException("The store is gone. ", "in the callback"); }, nullptr,
       {sys(dispatch, kSystem + where), sys("The store is gone. ", "in the callback")}, {"callback 1"}},
      {"the callback meets an ORB failure",
       [] { throw CORBA::TRANSIENT(0, CORBA::COMPLETED_NO); }, nullptr,
       {sys(dispatch, kCorba + where)}, {"callback 1"}},
      {"the callback throws something else",
       [] { throw std::runtime_error("bad"); }, nullptr,
       {sys(dispatch, kUnknown + where)}, {"callback 1"}},
      {"the handler fails after the callback",
       nullptr, [] { throw kel_UserException("Handler refused. "); },
       {user(dispatch, kUser + where), user("Handler refused. ")}, {"callback 1", "handler 1"}},
  };
  EpiWell::WellBore_var bore = unservedBore("bore");
  CosNotification::StructuredEvent raw = listEvent({{"ChangedData", changeOf(1, bore.in())}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingListener listener;
    CallbackLog log{&listener, {}, c.callbackFails};
    listener.setCallBack(recordingCallback, &log);
    listener.handlerFails = c.handlerFails;
    StandardOutput output;
    expectChain(caught([&] { listener.handleEvent(&raw); }), c.chain);
    EXPECT_EQ(eventLine, output.text());
    EXPECT_EQ(c.seen, listener.seen);
  }
}

namespace {

// A stream buffer that refuses every write.
class RefusingBuffer : public std::streambuf {
protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

} // namespace

TEST(WellBoreListEventListener, AnEventThatCannotBeBuiltReachesNeitherCallbackNorHandler) {
  RecordingListener listener;
  CallbackLog log{&listener, {}, {}};
  listener.setCallBack(recordingCallback, &log);
  const std::string dispatch = "Could not dispatch the received Kelvast Data Changed Event. ";
  const std::string where = "kel_DataChangedEventListener::handleEvent method. ";

  // No event data: the platform's part fails as the platform raised it.
  expectChain(caught([&] { listener.handleEvent(nullptr); }),
            {sys(dispatch, kSystem + where), sys("Could not read the event. ", "The event data is null. ")});

  // An application that has its standard output raise on failure: the
  // event's own construction fails inside its ladder.
  CosNotification::StructuredEvent raw = listEvent({});
  RefusingBuffer refusing;
  std::streambuf* const previous = std::cout.rdbuf(&refusing);
  const std::ios_base::iostate previousExceptions = std::cout.exceptions();
  std::cout.exceptions(std::ios_base::badbit);
  const Caught failure = caught([&] { listener.handleEvent(&raw); });
  std::cout.exceptions(std::ios_base::goodbit);
  std::cout.clear();
  std::cout.rdbuf(previous);
  std::cout.exceptions(previousExceptions);
  expectChain(failure, {sys(dispatch, kSystem + where),
                        sys("Could not construct a Data Changed Event object. ",
                            std::string(kUnknown) +
                                "kel_WellBoreListDataChangedEvent::kel_WellBoreListDataChangedEvent method. ")});
  EXPECT_TRUE(listener.seen.empty());
  EXPECT_TRUE(log.events.empty());
}
