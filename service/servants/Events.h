// Data-changed events: after each committed write the service pushes a
// CosNotification::StructuredEvent to every subscriber whose entity types
// match (docs/service.md describes the format). Each subscriber has its own
// bounded queue, served by a few delivery threads, never the writing call's;
// every push has a time limit. A consumer that is gone (TRANSIENT,
// COMM_FAILURE, OBJECT_NOT_EXIST, Disconnected) is dropped; one that falls
// behind (a push times out, or its queue fills) is dropped and logged, and
// the others keep receiving meanwhile.
#ifndef KELWELLD_EVENTS_H
#define KELWELLD_EVENTS_H

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include <CosNotification.hh>
#include <CosNotifyComm.hh>
#include <EpSession.hh>

#include "core/DeliveryQueues.h"

namespace kelwelld {

struct ChangeEvent {
  std::string entityType;   // IDL scope form, "EpiWell::Well"
  std::string entityId;
  std::string changeKind;   // "created", "modified", "deleted"
  std::string operation;    // the IDL operation, "setCountry"
  CORBA::Object_var entity; // the entity's reference (nil for a deleted one)
  CosNotification::PropertySeq filterable;   // empty unless the entity type adds some
};

// A change as text for the other service processes on a shared store: its
// fields one a line, then the filterable data as the hex of their CDR
// encapsulation. The entity reference does not travel: the receiving
// process makes its own from the id.
std::string encodeChange(const ChangeEvent& change);
// nullopt for a text that encodeChange did not make.
std::optional<ChangeEvent> decodeChange(const std::string& text);

// The structured event for a change, stamped with time (ISO 8601 UTC).
CosNotification::StructuredEvent* makeStructuredEvent(const ChangeEvent& change, const std::string& time);

class EventDispatcher : public POA_EpSession::EventService {
public:
  // maxQueued: the events a subscriber may have waiting before it is dropped.
  explicit EventDispatcher(unsigned long pushTimeoutMs = 10000, std::size_t maxQueued = 10000);
  ~EventDispatcher() override;

  void start();
  // Stops the thread; events still queued are dropped.
  void stop();

  // Queues a change for delivery; nothing when no one subscribed.
  void publish(ChangeEvent change);

  CORBA::ULong subscribe(CosNotifyComm::StructuredPushConsumer_ptr consumer,
                         const EpTypes::StringSeq& entityTypes) override;
  void unsubscribe(CORBA::ULong subscription) override;

private:
  struct Subscription {
    CosNotifyComm::StructuredPushConsumer_var consumer;
    std::set<std::string> entityTypes;   // empty: every type
  };
  struct Queued {
    ChangeEvent change;
    std::string time;
  };

  // Pushes one event; false drops the subscription.
  bool deliver(CORBA::ULong subscription, const std::shared_ptr<const Queued>& item);
  void drop(CORBA::ULong subscription, const std::string& why);

  const unsigned long m_pushTimeoutMs;
  const std::size_t m_maxQueued;
  std::mutex m_mutex;
  std::map<CORBA::ULong, Subscription> m_subscriptions;
  CORBA::ULong m_nextSubscription = 1;
  bool m_stopping = true;
  DeliveryQueues<CORBA::ULong, std::shared_ptr<const Queued>> m_queues;
};

} // namespace kelwelld

#endif
