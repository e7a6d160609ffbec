#include "kel_WellBoreListDataChangedEvent.h"

#include <cstring>
#include <iostream>

#include <CosNotification.hh>
#include <EpiWell.hh>

#include "kel_FailureTranslation.h"

using namespace kel_translation;

namespace {

// The filterable property of a wellbore list event that holds its change.
constexpr const char* changedData = "ChangedData";

// The service's two change kinds, the only ones the change structure takes.
bool isKnownKind(CORBA::Long kind) {
  return kind == EpiWell::WellBoreList::BORE_ADDED || kind == EpiWell::WellBoreList::BORE_REMOVED;
}

// Events say which wellbore they concern or none: a missing wellbore equals
// only a missing one and sorts before any other, so that comparing events
// without change content never asks the service about nothing.
bool sameBore(const kel_WellBore& a, const kel_WellBore& b) {
  if (a.isNil() || b.isNil()) return a.isNil() && b.isNil();
  return a == b;
}

bool boreLess(const kel_WellBore& a, const kel_WellBore& b) {
  if (b.isNil()) return false;
  if (a.isNil()) return true;
  return a < b;
}

} // namespace

kel_WellBoreListDataChangedEvent::kel_WellBoreListDataChangedEvent() : m_changeType(0), m_hasChange(false) {}

kel_WellBoreListDataChangedEvent::kel_WellBoreListDataChangedEvent(const kel_WellBoreListDataChangedEvent& other)
    : kel_DataChangedEvent(other),
      m_changeType(other.m_changeType),
      m_bore(other.m_bore, true),
      m_change(other.m_change),
      m_hasChange(other.m_hasChange) {}

kel_WellBoreListDataChangedEvent::~kel_WellBoreListDataChangedEvent() = default;

// A failure of the platform's part (no event data) reaches the caller as the
// platform raised it; everything after it runs in this operation's ladder.
kel_WellBoreListDataChangedEvent::kel_WellBoreListDataChangedEvent(void* raw)
    : kel_DataChangedEvent(raw), m_changeType(0), m_hasChange(false) {
  translate(Msg{"Could not construct a Data Changed Event object. "},
            Where{"kel_WellBoreListDataChangedEvent", "kel_WellBoreListDataChangedEvent"}, Standard(), [&] {
              // One line per event, in one write so that lines of events
              // built on several threads do not mix.
              std::cout << "kel_WellBoreListDataChangedEvent\n" << std::flush;
              readChange(raw);
            });
}

// The change is the first filterable property when it is named "ChangedData"
// and holds a wellbore list change; anything else leaves the event without
// change content (a value of another type is not read as a change).
void kel_WellBoreListDataChangedEvent::readChange(const void* raw) {
  const CosNotification::StructuredEvent& event = *static_cast<const CosNotification::StructuredEvent*>(raw);
  const CosNotification::FilterableEventBody& properties = event.filterable_data;
  if (properties.length() == 0) return;
  if (std::strcmp(properties[0].name.in(), changedData) != 0) return;
  const EpiWell::WellBoreList::WellBoreListChange* change = nullptr;
  if (!(properties[0].value >>= change)) return;

  m_hasChange = true;
  m_changeType = change->changeType;
  if (isKnownKind(change->changeType)) m_change.changeType = change->changeType;
  if (!CORBA::is_nil(change->bore.in())) {
    m_bore = kel_WellBore(kel_RemoteStub(change->bore.in()), true);
    m_change.bore = kel_WellBore(kel_RemoteStub(change->bore.in()), true);
  }
}

kel_WellBoreListDataChangedEvent&
kel_WellBoreListDataChangedEvent::operator=(const kel_WellBoreListDataChangedEvent& other) {
  if (&other == this) return *this;
  return translate(Msg{"Could not copy the Well Bore List Data Changed Event object. "},
                   Where{"kel_WellBoreListDataChangedEvent", "operator="}, Standard(),
                   [&]() -> kel_WellBoreListDataChangedEvent& {
                     kel_DataChangedEvent::operator=(other);
                     m_changeType = other.m_changeType;
                     m_bore = other.m_bore;
                     m_change.changeType = other.m_change.changeType;
                     m_change.bore = other.m_change.bore;
                     m_hasChange = other.m_hasChange;
                     return *this;
                   });
}

bool kel_WellBoreListDataChangedEvent::operator==(const kel_WellBoreListDataChangedEvent& other) const {
  return m_changeType == other.m_changeType && sameBore(m_bore, other.m_bore) &&
         m_change.changeType == other.m_change.changeType && sameBore(m_change.bore, other.m_change.bore) &&
         kel_DataChangedEvent::operator==(other);
}

bool kel_WellBoreListDataChangedEvent::operator<(const kel_WellBoreListDataChangedEvent& other) const {
  return m_changeType < other.m_changeType && boreLess(m_bore, other.m_bore) &&
         m_change.changeType < other.m_change.changeType && boreLess(m_change.bore, other.m_change.bore) &&
         kel_DataChangedEvent::operator<(other);
}

bool kel_WellBoreListDataChangedEvent::hasChange() const { return m_hasChange; }
int kel_WellBoreListDataChangedEvent::getChangeType() const { return m_changeType; }
kel_WellBore kel_WellBoreListDataChangedEvent::getBore() const { return kel_WellBore(m_bore, true); }

kel_WellBoreList::WellBoreListChange kel_WellBoreListDataChangedEvent::getWellBoreListChange() const {
  return m_change;
}
