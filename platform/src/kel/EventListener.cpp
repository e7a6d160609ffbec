#include "kel_DataChangedEventListener.h"
#include "kel_EventListener.h"

#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include <CosNotifyComm.hh>

#include "kel_Connection.h"
#include "kel_PlatformInternal.h"

// The link between one registered listener and the ORB: delivers events to
// the listener one at a time and lets unregistration wait for a delivery
// under way.
class kel_EventConsumer {
public:
  explicit kel_EventConsumer(kel_EventListener* listener) : m_listener(listener) {}

  void deliver(const CosNotification::StructuredEvent& event) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_delivering; });
    if (!m_active) return;
    m_delivering = true;
    m_deliverer = std::this_thread::get_id();
    lock.unlock();
    // An exception must not reach the ORB thread: it would tell the
    // service that this consumer failed. The handler's failure is logged.
    try {
      m_listener->handleEvent(const_cast<CosNotification::StructuredEvent*>(&event));
    } catch (const kel_Exception& error) {
      report(error.toString());
    } catch (const CORBA::Exception& error) {
      report(kel_platform::describe(error));
    } catch (const std::exception& error) {
      report(error.what());
    } catch (...) {
      report("an exception of unknown type");
    }
    lock.lock();
    m_delivering = false;
    m_deliverer = std::thread::id();
    m_idle.notify_all();
  }

  // No delivery starts after this returns, and none is under way unless it
  // is the caller's own (a handler that unregisters its listener).
  void stop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_active = false;
    if (m_deliverer == std::this_thread::get_id()) return;
    m_idle.wait(lock, [this] { return !m_delivering; });
  }

  PortableServer::ObjectId_var m_id;
  bool m_activated = false;
  CORBA::ULong m_subscription = 0;
  bool m_subscribed = false;

private:
  static void report(const kel_cppUtil::String& what) {
    std::cerr << "kel_EventListener: an event handler failed: " << what << std::endl;
  }

  kel_EventListener* m_listener;
  std::mutex m_mutex;
  std::condition_variable m_idle;
  bool m_active = true;
  bool m_delivering = false;
  std::thread::id m_deliverer;
};

namespace {

// The servant the service pushes to; the POA owns it (reference counted).
class ConsumerServant : public virtual POA_CosNotifyComm::StructuredPushConsumer {
public:
  explicit ConsumerServant(std::shared_ptr<kel_EventConsumer> consumer) : m_consumer(std::move(consumer)) {}

  void push_structured_event(const CosNotification::StructuredEvent& event) override {
    m_consumer->deliver(event);
  }
  void offer_change(const CosNotification::EventTypeSeq&, const CosNotification::EventTypeSeq&) override {}
  void disconnect_structured_push_consumer() override {}

private:
  std::shared_ptr<kel_EventConsumer> m_consumer;
};

EpSession::EventService_ptr eventService(const char* message) {
  EpSession::SessionManager_var manager = kel_platform::sessionManager();
  EpSession::EventService_var service;
  try {
    service = manager->getEventService();
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  if (CORBA::is_nil(service.in())) throw kel_SystemException(message, "The service offers no event service. ");
  return service._retn();
}

} // namespace

// ---------------------------------------------------------------- kel_EventListener

kel_EventListener::kel_EventListener() = default;

kel_EventListener::kel_EventListener(const kel_Session& session) : m_session(session) {}

kel_EventListener::kel_EventListener(const kel_EventListener& other) : m_session(other.m_session) {}

kel_EventListener& kel_EventListener::operator=(const kel_EventListener& other) {
  if (this != &other) m_session = other.m_session;
  return *this;
}

kel_EventListener::~kel_EventListener() {
  try {
    kel_EventListener::unregisterListener();
  } catch (...) {
    // Nothing can be reported from a destructor; the service drops
    // consumers that no longer answer.
  }
}

void kel_EventListener::registerListener() {
  if (m_consumer) return;
  const char* const message = "Could not register the event listener with the well data service. ";
  EpSession::EventService_var service = eventService(message);
  PortableServer::POA_ptr poa = static_cast<PortableServer::POA_ptr>(kel_Connection::getPoa());

  auto consumer = std::make_shared<kel_EventConsumer>(this);
  PortableServer::Servant_var<ConsumerServant> servant = new ConsumerServant(consumer);
  try {
    consumer->m_id = poa->activate_object(servant.in());
    consumer->m_activated = true;
    CORBA::Object_var object = poa->id_to_reference(consumer->m_id.in());
    CosNotifyComm::StructuredPushConsumer_var reference =
        CosNotifyComm::StructuredPushConsumer::_narrow(object.in());

    const std::vector<kel_cppUtil::String> types = subscriptionTypes();
    EpTypes::StringSeq entityTypes;
    entityTypes.length(static_cast<CORBA::ULong>(types.size()));
    for (CORBA::ULong i = 0; i < entityTypes.length(); ++i) entityTypes[i] = CORBA::string_dup(types[i]);
    consumer->m_subscription = service->subscribe(reference.in(), entityTypes);
    consumer->m_subscribed = true;
  } catch (const CORBA::Exception& error) {
    consumer->stop();
    if (consumer->m_activated) {
      try {
        poa->deactivate_object(consumer->m_id.in());
      } catch (const CORBA::Exception&) {
      }
    }
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  m_consumer = consumer;
}

void kel_EventListener::unregisterListener() {
  if (!m_consumer) return;
  std::shared_ptr<kel_EventConsumer> consumer = std::move(m_consumer);
  m_consumer.reset();
  consumer->stop();
  // The service or the ORB may be gone already; delivery has stopped either
  // way. After kel_Connection::shutdown nothing is asked, so that destroying
  // a listener late does not start a new ORB.
  if (!kel_Connection::isInitialized()) return;
  if (consumer->m_subscribed) {
    try {
      EpSession::EventService_var service = eventService("Could not unregister the event listener. ");
      service->unsubscribe(consumer->m_subscription);
    } catch (const kel_Exception&) {
    } catch (const CORBA::Exception&) {
    }
  }
  if (consumer->m_activated) {
    try {
      PortableServer::POA_ptr poa = static_cast<PortableServer::POA_ptr>(kel_Connection::getPoa());
      poa->deactivate_object(consumer->m_id.in());
    } catch (const kel_Exception&) {
    } catch (const CORBA::Exception&) {
    }
  }
}

bool kel_EventListener::isRegistered() const { return m_consumer != nullptr; }

std::vector<kel_cppUtil::String> kel_EventListener::subscriptionTypes() const {
  return std::vector<kel_cppUtil::String>();
}

// ---------------------------------------------------------------- kel_DataChangedEventListener

kel_DataChangedEventListener::kel_DataChangedEventListener() = default;

kel_DataChangedEventListener::kel_DataChangedEventListener(const kel_Session& session)
    : kel_EventListener(session) {}

kel_DataChangedEventListener::kel_DataChangedEventListener(const kel_DataChangedEventListener& other)
    : kel_EventListener(other), m_entityTypes(other.m_entityTypes) {}

kel_DataChangedEventListener& kel_DataChangedEventListener::operator=(const kel_DataChangedEventListener& other) {
  if (this != &other) {
    kel_EventListener::operator=(other);
    m_entityTypes = other.m_entityTypes;
  }
  return *this;
}

// Unregistering here, before the base destructor, means no event reaches a
// listener whose derived parts are being destroyed.
kel_DataChangedEventListener::~kel_DataChangedEventListener() {
  try {
    unregisterListener();
  } catch (...) {
  }
}

void kel_DataChangedEventListener::addEntityType(const kel_cppUtil::String& entityType) {
  for (const kel_cppUtil::String& known : m_entityTypes)
    if (known == entityType) return;
  m_entityTypes.push_back(entityType);
}

void kel_DataChangedEventListener::registerListener() { kel_EventListener::registerListener(); }

kel_cppUtil::String kel_DataChangedEventListener::getEventType() const { return "DataChanged"; }

bool kel_DataChangedEventListener::matches(const char* entityType) const {
  if (m_entityTypes.empty()) return true;
  for (const kel_cppUtil::String& known : m_entityTypes)
    if (known == entityType) return true;
  return false;
}

void kel_DataChangedEventListener::handleDataChangedEvent(const kel_DataChangedEvent&) {}

void kel_DataChangedEventListener::handleEvent(void* raw) {
  kel_DataChangedEvent event(raw);
  if (event.getTypeName() != getEventType()) return;
  if (matches(event.getEntityType())) handleDataChangedEvent(event);
}

std::vector<kel_cppUtil::String> kel_DataChangedEventListener::subscriptionTypes() const {
  return m_entityTypes;
}
