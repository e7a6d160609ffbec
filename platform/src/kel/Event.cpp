#include "kel_DataChangedEvent.h"
#include "kel_Event.h"

#include <tuple>

#include <CosNotification.hh>

#include "kel_PlatformInternal.h"

namespace {

const CosNotification::StructuredEvent& eventOf(void* raw, const char* message) {
  if (raw == nullptr) throw kel_SystemException(message, "The event data is null. ");
  return *static_cast<const CosNotification::StructuredEvent*>(raw);
}

// The text of a named header property, or "" when it is absent or no text.
kel_cppUtil::String property(const CosNotification::PropertySeq& properties, const char* name) {
  for (CORBA::ULong i = 0; i < properties.length(); ++i) {
    if (std::string(properties[i].name.in()) != name) continue;
    const char* text = nullptr;
    if (properties[i].value >>= text) return kel_cppUtil::String(text);
  }
  return kel_cppUtil::String();
}

void addProperty(CosNotification::PropertySeq& properties, const char* name, const char* value) {
  const CORBA::ULong n = properties.length();
  properties.length(n + 1);
  properties[n].name = CORBA::string_dup(name);
  properties[n].value <<= value;
}

} // namespace

// ---------------------------------------------------------------- kel_Event

kel_Event::kel_Event() = default;
kel_Event::kel_Event(const kel_Event& other) = default;
kel_Event& kel_Event::operator=(const kel_Event& other) = default;
kel_Event::~kel_Event() = default;

kel_Event::kel_Event(void* raw) {
  const CosNotification::StructuredEvent& event = eventOf(raw, "Could not read the event. ");
  m_domainName = event.header.fixed_header.event_type.domain_name.in();
  m_typeName = event.header.fixed_header.event_type.type_name.in();
  m_eventName = event.header.fixed_header.event_name.in();
  // A time the event cannot state is unknown, which is no reason to drop the event.
  try {
    m_time = kel_Date::fromString(property(event.header.variable_header, "Time"));
  } catch (const kel_Exception&) {
    m_time = kel_Date();
  }
}

kel_cppUtil::String kel_Event::getDomainName() const { return m_domainName; }
kel_cppUtil::String kel_Event::getTypeName() const { return m_typeName; }
kel_cppUtil::String kel_Event::getEventName() const { return m_eventName; }
kel_Date kel_Event::getTime() const { return m_time; }

bool kel_Event::operator==(const kel_Event& other) const {
  return m_domainName == other.m_domainName && m_typeName == other.m_typeName &&
         m_eventName == other.m_eventName && m_time == other.m_time;
}

bool kel_Event::operator<(const kel_Event& other) const {
  if (m_time < other.m_time) return true;
  if (other.m_time < m_time) return false;
  return std::tie(m_domainName, m_typeName, m_eventName) <
         std::tie(other.m_domainName, other.m_typeName, other.m_eventName);
}

void* kel_Event::createEventStruct() const {
  auto* event = new CosNotification::StructuredEvent;
  event->header.fixed_header.event_type.domain_name = CORBA::string_dup(m_domainName);
  event->header.fixed_header.event_type.type_name = CORBA::string_dup(m_typeName);
  event->header.fixed_header.event_name = CORBA::string_dup(m_eventName);
  if (!m_time.isNullDate()) addProperty(event->header.variable_header, "Time", m_time.toString());
  CosNotification::FilterableEventBody* filterable =
      static_cast<CosNotification::FilterableEventBody*>(createFilterableData());
  event->filterable_data = *filterable;
  delete filterable;
  return event;
}

void* kel_Event::createFilterableData() const { return new CosNotification::FilterableEventBody; }

void* kel_Event::createOptionalHeader() const { return new CosNotification::OptionalHeaderFields; }

// ---------------------------------------------------------------- kel_DataChangedEvent

kel_DataChangedEvent::kel_DataChangedEvent() = default;
kel_DataChangedEvent::kel_DataChangedEvent(const kel_DataChangedEvent& other) = default;
kel_DataChangedEvent& kel_DataChangedEvent::operator=(const kel_DataChangedEvent& other) = default;
kel_DataChangedEvent::~kel_DataChangedEvent() = default;

kel_DataChangedEvent::kel_DataChangedEvent(void* raw) : kel_Event(raw) {
  const CosNotification::StructuredEvent& event = eventOf(raw, "Could not read the data changed event. ");
  const CosNotification::PropertySeq& header = event.header.variable_header;
  m_entityType = property(header, "EntityType");
  if (m_entityType.empty()) m_entityType = event.header.fixed_header.event_name.in();
  m_entityId = property(header, "EntityId");
  m_changeKind = property(header, "ChangeKind");

  EpEntity::Entity_ptr entity = EpEntity::Entity::_nil();
  if (event.remainder_of_body >>= entity) {
    // The Any keeps its reference: the entity takes a count of its own.
    if (!CORBA::is_nil(entity)) m_entity = kel_Entity(kel_RemoteStub(entity), true);
  } else {
    CORBA::Object_var object;
    if ((event.remainder_of_body >>= CORBA::Any::to_object(object.out())) && !CORBA::is_nil(object.in()))
      m_entity = kel_Entity(kel_RemoteStub(object.in()), true);
  }
}

kel_cppUtil::String kel_DataChangedEvent::getEntityType() const { return m_entityType; }
kel_cppUtil::String kel_DataChangedEvent::getEntityId() const { return m_entityId; }
kel_cppUtil::String kel_DataChangedEvent::getChangeKind() const { return m_changeKind; }
kel_Entity kel_DataChangedEvent::getEntity() const { return m_entity; }

// Events are told apart by what they say, not by remote identity, so that
// comparing them never calls the service.
bool kel_DataChangedEvent::operator==(const kel_DataChangedEvent& other) const {
  return kel_Event::operator==(other) && m_entityType == other.m_entityType &&
         m_entityId == other.m_entityId && m_changeKind == other.m_changeKind;
}

bool kel_DataChangedEvent::operator<(const kel_DataChangedEvent& other) const {
  if (kel_Event::operator<(other)) return true;
  if (other.kel_Event::operator<(*this)) return false;
  return std::tie(m_entityType, m_entityId, m_changeKind) <
         std::tie(other.m_entityType, other.m_entityId, other.m_changeKind);
}

void* kel_DataChangedEvent::createEventStruct() const {
  auto* event = static_cast<CosNotification::StructuredEvent*>(kel_Event::createEventStruct());
  CosNotification::PropertySeq& header = event->header.variable_header;
  addProperty(header, "EntityType", m_entityType);
  addProperty(header, "EntityId", m_entityId);
  addProperty(header, "ChangeKind", m_changeKind);
  // A deleted entity travels as an empty body.
  if (void* entity = m_entity.getRemoteObject(kel_Internal()))
    event->remainder_of_body <<= static_cast<EpEntity::Entity_ptr>(entity);
  return event;
}

void* kel_DataChangedEvent::createFilterableData() const { return kel_Event::createFilterableData(); }

void* kel_DataChangedEvent::createOptionalHeader() const { return kel_Event::createOptionalHeader(); }
