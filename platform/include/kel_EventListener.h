#ifndef KEL_EVENTLISTENER_H
#define KEL_EVENTLISTENER_H

#include <memory>
#include <vector>

#include "kel_Session.h"

class kel_EventConsumer;

// Receives events from the service once registered. Events arrive on an ORB
// thread through handleEvent, one at a time per listener, in the order sent.
class kel_EventListener {
public:
  kel_EventListener();
  explicit kel_EventListener(const kel_Session& session);
  kel_EventListener(const kel_EventListener& other);        // copies settings, not registration
  kel_EventListener& operator=(const kel_EventListener& other);
  virtual ~kel_EventListener();                             // unregisters

  // Starts delivery (kel_SystemException when the service refuses it);
  // registering twice changes nothing.
  virtual void registerListener();
  // Stops delivery; waits until a handleEvent under way has returned.
  virtual void unregisterListener();
  bool isRegistered() const;

protected:
  // raw is a CosNotification::StructuredEvent*, valid for the call only.
  virtual void handleEvent(void* raw) = 0;
  // Entity types to subscribe to; empty means all.
  virtual std::vector<kel_cppUtil::String> subscriptionTypes() const;

  friend class kel_EventConsumer;
  kel_Session m_session;

private:
  std::shared_ptr<kel_EventConsumer> m_consumer;
};

#endif
