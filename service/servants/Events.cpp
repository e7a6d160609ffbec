#include "servants/Events.h"

#include <iostream>
#include <sstream>

#include <omniORB4/cdrStream.h>

#include <EpEntity.hh>

#include "core/Time.h"
#include "servants/Limits.h"

namespace kelwelld {

namespace {

void addProperty(CosNotification::PropertySeq& properties, const char* name, const std::string& value) {
  const CORBA::ULong at = properties.length();
  properties.length(at + 1);
  properties[at].name = name;
  properties[at].value <<= value.c_str();
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

} // namespace

std::string encodeChange(const ChangeEvent& change) {
  std::string text = change.entityType + "\n" + change.entityId + "\n" + change.changeKind + "\n" +
                     change.operation + "\n";
  cdrEncapsulationStream stream;
  change.filterable >>= stream;
  static const char digits[] = "0123456789abcdef";
  const auto* bytes = static_cast<const unsigned char*>(stream.bufPtr());
  for (CORBA::ULong i = 0; i < stream.bufSize(); ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

std::optional<ChangeEvent> decodeChange(const std::string& text) {
  std::istringstream in(text);
  ChangeEvent change;
  std::string hex;
  if (!std::getline(in, change.entityType) || !std::getline(in, change.entityId) ||
      !std::getline(in, change.changeKind) || !std::getline(in, change.operation) || !std::getline(in, hex) ||
      hex.size() % 2)
    return std::nullopt;
  std::vector<CORBA::Octet> bytes(hex.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = hexValue(hex[2 * i]), low = hexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<CORBA::Octet>(high << 4 | low);
  }
  try {
    cdrEncapsulationStream stream(bytes.data(), static_cast<CORBA::ULong>(bytes.size()));
    change.filterable <<= stream;
  } catch (const CORBA::SystemException&) {
    return std::nullopt;
  }
  return change;
}

CosNotification::StructuredEvent* makeStructuredEvent(const ChangeEvent& change, const std::string& time) {
  CosNotification::StructuredEvent_var event = new CosNotification::StructuredEvent;
  event->header.fixed_header.event_type.domain_name = "Kelvast";
  event->header.fixed_header.event_type.type_name = "DataChanged";
  event->header.fixed_header.event_name = change.entityType.c_str();
  CosNotification::OptionalHeaderFields& header = event->header.variable_header;
  addProperty(header, "EntityType", change.entityType);
  addProperty(header, "EntityId", change.entityId);
  addProperty(header, "ChangeKind", change.changeKind);
  addProperty(header, "Time", time);
  addProperty(header, "Operation", change.operation);
  event->filterable_data = change.filterable;
  EpEntity::Entity_var entity = CORBA::is_nil(change.entity.in())
                                    ? EpEntity::Entity::_nil()
                                    : EpEntity::Entity::_unchecked_narrow(change.entity.in());
  event->remainder_of_body <<= entity.in();
  return event._retn();
}

namespace {

// Pushes in flight at once: one slow subscriber blocks one of them, for at
// most the push time limit.
constexpr std::size_t deliveryThreads = 4;

} // namespace

EventDispatcher::EventDispatcher(unsigned long pushTimeoutMs, std::size_t maxQueued)
    : m_pushTimeoutMs(pushTimeoutMs),
      m_maxQueued(maxQueued),
      m_queues(deliveryThreads, maxQueued,
               [this](const CORBA::ULong& subscription, const std::shared_ptr<const Queued>& item) {
                 return deliver(subscription, item);
               }) {}

EventDispatcher::~EventDispatcher() { stop(); }

void EventDispatcher::start() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = false;
  }
  m_queues.start();
}

void EventDispatcher::stop() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_queues.stop();
}

void EventDispatcher::publish(ChangeEvent change) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_subscriptions.empty() || m_stopping) return;
  // The change moves into the item shared by every subscriber: its type is
  // read from a copy, not from what the move left behind.
  const std::string entityType = change.entityType;
  std::shared_ptr<const Queued> item;
  for (auto entry = m_subscriptions.begin(); entry != m_subscriptions.end();) {
    const auto& types = entry->second.entityTypes;
    if (!types.empty() && !types.count(entityType)) {
      ++entry;
      continue;
    }
    if (!item) item = std::make_shared<const Queued>(Queued{std::move(change), nowUtc()});
    if (m_queues.post(entry->first, item)) {
      ++entry;
      continue;
    }
    // A consumer that takes events more slowly than they come must not make
    // the service run out of memory.
    std::cerr << "kelwelld: event subscription " << entry->first << " dropped: " << m_maxQueued
              << " events were waiting for its consumer\n";
    entry = m_subscriptions.erase(entry);
  }
}

CORBA::ULong EventDispatcher::subscribe(CosNotifyComm::StructuredPushConsumer_ptr consumer,
                                        const EpTypes::StringSeq& entityTypes) {
  if (CORBA::is_nil(consumer)) throw CORBA::BAD_PARAM(0, CORBA::COMPLETED_NO);
  Subscription subscription;
  subscription.consumer = CosNotifyComm::StructuredPushConsumer::_duplicate(consumer);
  for (CORBA::ULong i = 0; i < entityTypes.length(); ++i) {
    if (nameTooLong(entityTypes[i].in(), "entity type")) throw CORBA::BAD_PARAM(0, CORBA::COMPLETED_NO);
    subscription.entityTypes.insert(entityTypes[i].in());
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  const CORBA::ULong number = m_nextSubscription++;
  m_subscriptions.emplace(number, std::move(subscription));
  return number;
}

void EventDispatcher::unsubscribe(CORBA::ULong subscription) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_subscriptions.erase(subscription);
  m_queues.remove(subscription);
}

bool EventDispatcher::deliver(CORBA::ULong subscription, const std::shared_ptr<const Queued>& item) {
  CosNotifyComm::StructuredPushConsumer_var consumer;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_subscriptions.find(subscription);
    if (found == m_subscriptions.end()) return false;
    consumer = CosNotifyComm::StructuredPushConsumer::_duplicate(found->second.consumer.in());
  }
  // Built for each push: the ORB marshals each on its own thread.
  CosNotification::StructuredEvent_var event = makeStructuredEvent(item->change, item->time);
  try {
    omniORB::setClientCallTimeout(consumer.in(), m_pushTimeoutMs);
    consumer->push_structured_event(event.in());
  } catch (const CORBA::TIMEOUT&) {
    drop(subscription, "its consumer took no event within " + std::to_string(m_pushTimeoutMs) + " ms");
    return false;
  } catch (const CosEventComm::Disconnected&) {
    drop(subscription, "");
    return false;
  } catch (const CORBA::TRANSIENT&) {
    drop(subscription, "");
    return false;
  } catch (const CORBA::COMM_FAILURE&) {
    drop(subscription, "");
    return false;
  } catch (const CORBA::OBJECT_NOT_EXIST&) {
    drop(subscription, "");
    return false;
  } catch (const CORBA::Exception&) {
    // The consumer refused this one event; it stays subscribed.
  }
  return true;
}

// Forgets a subscription; why, when not "", is logged (a consumer that is
// gone is dropped quietly, as unsubscribing would).
void EventDispatcher::drop(CORBA::ULong subscription, const std::string& why) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_subscriptions.erase(subscription) && !why.empty())
    std::cerr << "kelwelld: event subscription " << subscription << " dropped: " << why << "\n";
}

} // namespace kelwelld
