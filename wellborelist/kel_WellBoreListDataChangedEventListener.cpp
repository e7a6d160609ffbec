#include "kel_WellBoreListDataChangedEventListener.h"

#include "kel_FailureTranslation.h"

using namespace kel_translation;

namespace {

// The entity type of the events this listener subscribes to.
constexpr const char* wellBoreListEvents = "EpiWell::WellBoreList";

} // namespace

kel_WellBoreListDataChangedEventListener::kel_WellBoreListDataChangedEventListener()
    : m_callback(nullptr), m_userData(nullptr) {
  addEntityType(wellBoreListEvents);
}

kel_WellBoreListDataChangedEventListener::kel_WellBoreListDataChangedEventListener(const kel_Session& session)
    : kel_DataChangedEventListener(session), m_callback(nullptr), m_userData(nullptr) {
  addEntityType(wellBoreListEvents);
}

kel_WellBoreListDataChangedEventListener::kel_WellBoreListDataChangedEventListener(
    const kel_WellBoreListDataChangedEventListener& other)
    : kel_DataChangedEventListener(other), m_callback(other.m_callback), m_userData(other.m_userData) {}

// Delivery stops here, while the callback and a subclass's handler are still
// whole; a delivery under way is waited for.
kel_WellBoreListDataChangedEventListener::~kel_WellBoreListDataChangedEventListener() {
  try {
    unregisterListener();
  } catch (...) {
    // Nothing can be reported from a destructor; the platform's destructors
    // try once more.
  }
}

kel_WellBoreListDataChangedEventListener&
kel_WellBoreListDataChangedEventListener::operator=(const kel_WellBoreListDataChangedEventListener& other) {
  if (&other == this) return *this;
  if (other.m_callback != nullptr) {
    m_callback = other.m_callback;
    m_userData = other.m_userData;
  }
  kel_DataChangedEventListener::operator=(other);
  return *this;
}

void kel_WellBoreListDataChangedEventListener::setCallBack(CallBack callback, void* userData) {
  m_callback = callback;
  m_userData = userData;
}

void kel_WellBoreListDataChangedEventListener::handleWellBoreListDataChangedEvent(
    const kel_WellBoreListDataChangedEvent&) {}

void kel_WellBoreListDataChangedEventListener::handleEvent(void* raw) {
  translate(Msg{"Could not dispatch the received Kelvast Data Changed Event. "},
            Where{"kel_DataChangedEventListener", "handleEvent"}, Standard(), [&] {
              const kel_WellBoreListDataChangedEvent event(raw);
              if (m_callback != nullptr) m_callback(&event, m_userData);
              handleWellBoreListDataChangedEvent(event);
            });
}
