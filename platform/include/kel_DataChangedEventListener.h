#ifndef KEL_DATACHANGEDEVENTLISTENER_H
#define KEL_DATACHANGEDEVENTLISTENER_H

#include <vector>

#include "kel_DataChangedEvent.h"
#include "kel_EventListener.h"

// Receives data-changed events for the entity types added to its filter.
class kel_DataChangedEventListener : public kel_EventListener {
public:
  kel_DataChangedEventListener();
  explicit kel_DataChangedEventListener(const kel_Session& session);
  kel_DataChangedEventListener(const kel_DataChangedEventListener& other);
  kel_DataChangedEventListener& operator=(const kel_DataChangedEventListener& other);
  ~kel_DataChangedEventListener() override;

  // Only events for the added types reach the listener ("EpiWell::WellBoreList", ...).
  void addEntityType(const kel_cppUtil::String& entityType);

  void registerListener() override;
  virtual kel_cppUtil::String getEventType() const;     // "DataChanged"
  // True when entityType is one of the added types (or none was added).
  virtual bool matches(const char* entityType) const;
  // Called for each matching event by the default handleEvent; does nothing.
  virtual void handleDataChangedEvent(const kel_DataChangedEvent& event);

protected:
  // Builds a kel_DataChangedEvent from raw and calls handleDataChangedEvent.
  void handleEvent(void* raw) override;
  std::vector<kel_cppUtil::String> subscriptionTypes() const override;

private:
  std::vector<kel_cppUtil::String> m_entityTypes;
};

#endif
