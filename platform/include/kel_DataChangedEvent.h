#ifndef KEL_DATACHANGEDEVENT_H
#define KEL_DATACHANGEDEVENT_H

#include "kel_Entity.h"
#include "kel_Event.h"

// The service's report that an entity was created, changed or deleted.
class kel_DataChangedEvent : public kel_Event {
public:
  kel_DataChangedEvent();
  kel_DataChangedEvent(const kel_DataChangedEvent& other);
  kel_DataChangedEvent& operator=(const kel_DataChangedEvent& other);
  ~kel_DataChangedEvent() override;

  kel_cppUtil::String getEntityType() const;   // "EpiWell::Well", "EpiWell::WellBoreList", ...
  kel_cppUtil::String getEntityId() const;
  kel_cppUtil::String getChangeKind() const;   // "created", "modified", "deleted"
  kel_Entity getEntity() const;                // nil for a deleted entity

  bool operator==(const kel_DataChangedEvent& other) const;
  bool operator<(const kel_DataChangedEvent& other) const;

protected:
  friend class kel_DataChangedEventListener;
  // Reads the header fields of a CosNotification::StructuredEvent*.
  explicit kel_DataChangedEvent(void* raw);
  void* createEventStruct() const override;
  void* createFilterableData() const override;
  void* createOptionalHeader() const override;

private:
  kel_cppUtil::String m_entityType;
  kel_cppUtil::String m_entityId;
  kel_cppUtil::String m_changeKind;
  kel_Entity m_entity;
};

#endif
