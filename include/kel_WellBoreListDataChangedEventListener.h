// kel_WellBoreListDataChangedEventListener: tells an application of every
// change of a wellbore list, as it happens.
//
//   kel_WellBoreListDataChangedEventListener listener(session);
//   listener.setCallBack(onChange, &myState);   // and/or subclass and override the handler
//   listener.registerListener();
//
// For each event the listener builds a kel_WellBoreListDataChangedEvent,
// calls the callback with it and then handleWellBoreListDataChangedEvent,
// on the platform's delivery thread, one event at a time. The event lives
// for that call only: copy what you keep. A callback that throws stops the
// dispatch of that event (the handler is not called); the failure is
// reported by the platform and delivery goes on.
#ifndef KEL_WELLBORELISTDATACHANGEDEVENTLISTENER_H
#define KEL_WELLBORELISTDATACHANGEDEVENTLISTENER_H

#include "kel_DataChangedEventListener.h"
#include "kel_Session.h"
#include "kel_WellBoreListDataChangedEvent.h"
#include "kel_WellExport.h"

class KELWELL_EXPORT kel_WellBoreListDataChangedEventListener : public kel_DataChangedEventListener {
public:
  // The application's function; userData is handed back to it unchanged.
  using CallBack = void (*)(const kel_WellBoreListDataChangedEvent* event, void* userData);

  // Both listen to "EpiWell::WellBoreList" events only; no callback yet.
  kel_WellBoreListDataChangedEventListener();
  explicit kel_WellBoreListDataChangedEventListener(const kel_Session& session);
  // Takes the other's settings and callback, not its registration.
  kel_WellBoreListDataChangedEventListener(const kel_WellBoreListDataChangedEventListener& other);
  // Stops delivery before the listener goes; the callback is not called.
  ~kel_WellBoreListDataChangedEventListener() override;

  // Takes the other's callback and user data when it has a callback (a
  // listener without one leaves this one's as they were), then its settings.
  kel_WellBoreListDataChangedEventListener& operator=(const kel_WellBoreListDataChangedEventListener& other);

  // Replaces the callback and its user data; a null callback switches it
  // off. Not synchronised with delivery: set it before registering.
  void setCallBack(CallBack callback, void* userData);

  // Called for each event after the callback; does nothing unless overridden.
  virtual void handleWellBoreListDataChangedEvent(const kel_WellBoreListDataChangedEvent& event);

protected:
  // The platform's delivery of one event (a CosNotification::StructuredEvent*).
  void handleEvent(void* raw) override;

private:
  CallBack m_callback;
  void* m_userData;
};

#endif
