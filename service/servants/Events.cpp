#include "servants/Events.h"

#include <iostream>
#include <vector>

#include <EpEntity.hh>

#include "core/Time.h"

namespace kelwelld {

namespace {

void addProperty(CosNotification::PropertySeq& properties, const char* name, const std::string& value) {
  const CORBA::ULong at = properties.length();
  properties.length(at + 1);
  properties[at].name = name;
  properties[at].value <<= value.c_str();
}

} // namespace

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

EventDispatcher::EventDispatcher(unsigned long pushTimeoutMs, std::size_t maxQueued)
    : m_pushTimeoutMs(pushTimeoutMs), m_maxQueued(maxQueued) {}

EventDispatcher::~EventDispatcher() { stop(); }

void EventDispatcher::start() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_thread.joinable()) return;
  m_stopping = false;
  m_thread = std::thread([this] { run(); });
}

void EventDispatcher::stop() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
    m_queue.clear();
  }
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void EventDispatcher::publish(ChangeEvent change) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_subscriptions.empty() || m_stopping) return;
    if (m_queue.size() >= m_maxQueued) {
      // A consumer that keeps every push waiting must not make the service
      // run out of memory: the oldest undelivered event goes.
      m_queue.pop_front();
      std::cerr << "kelwelld: event queue full, oldest event dropped\n";
    }
    m_queue.push_back({std::move(change), nowUtc()});
  }
  m_wake.notify_one();
}

CORBA::ULong EventDispatcher::subscribe(CosNotifyComm::StructuredPushConsumer_ptr consumer,
                                        const EpTypes::StringSeq& entityTypes) {
  if (CORBA::is_nil(consumer)) throw CORBA::BAD_PARAM(0, CORBA::COMPLETED_NO);
  Subscription subscription;
  subscription.consumer = CosNotifyComm::StructuredPushConsumer::_duplicate(consumer);
  for (CORBA::ULong i = 0; i < entityTypes.length(); ++i)
    subscription.entityTypes.insert(entityTypes[i].in());
  std::lock_guard<std::mutex> lock(m_mutex);
  const CORBA::ULong number = m_nextSubscription++;
  m_subscriptions.emplace(number, std::move(subscription));
  return number;
}

void EventDispatcher::unsubscribe(CORBA::ULong subscription) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_subscriptions.erase(subscription);
}

void EventDispatcher::run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
    if (m_stopping) return;
    Queued item = std::move(m_queue.front());
    m_queue.pop_front();
    lock.unlock();
    deliver(item);
    lock.lock();
  }
}

void EventDispatcher::deliver(const Queued& item) {
  std::vector<std::pair<CORBA::ULong, CosNotifyComm::StructuredPushConsumer_var>> targets;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& entry : m_subscriptions) {
      const auto& types = entry.second.entityTypes;
      if (types.empty() || types.count(item.change.entityType))
        targets.emplace_back(entry.first, CosNotifyComm::StructuredPushConsumer::_duplicate(
                                              entry.second.consumer.in()));
    }
  }
  if (targets.empty()) return;
  CosNotification::StructuredEvent_var event = makeStructuredEvent(item.change, item.time);
  for (auto& target : targets) {
    bool gone = false;
    try {
      omniORB::setClientCallTimeout(target.second.in(), m_pushTimeoutMs);
      target.second->push_structured_event(event.in());
    } catch (const CosEventComm::Disconnected&) {
      gone = true;
    } catch (const CORBA::TRANSIENT&) {
      gone = true;
    } catch (const CORBA::COMM_FAILURE&) {
      gone = true;
    } catch (const CORBA::OBJECT_NOT_EXIST&) {
      gone = true;
    } catch (const CORBA::Exception&) {
      // The consumer refused this one event; it stays subscribed.
    }
    if (gone) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_subscriptions.erase(target.first);
    }
  }
}

} // namespace kelwelld
