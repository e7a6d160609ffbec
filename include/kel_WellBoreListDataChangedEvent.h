// kel_WellBoreListDataChangedEvent: the service's report that a wellbore
// list changed, with the kind of change and the wellbore it concerns.
//
// Events reach applications through kel_WellBoreListDataChangedEventListener,
// which builds one per delivery and hands it to the application's callback
// and handler for the length of that call only.
#ifndef KEL_WELLBORELISTDATACHANGEDEVENT_H
#define KEL_WELLBORELISTDATACHANGEDEVENT_H

#include "kel_DataChangedEvent.h"
#include "kel_WellBore.h"
#include "kel_WellBoreList.h"
#include "kel_WellExport.h"

class KELWELL_EXPORT kel_WellBoreListDataChangedEvent : public kel_DataChangedEvent {
public:
  // An event without change content: kind 0, no wellbore.
  kel_WellBoreListDataChangedEvent();
  // The copy refers to the same remote wellbore, with counts of its own.
  kel_WellBoreListDataChangedEvent(const kel_WellBoreListDataChangedEvent& other);
  ~kel_WellBoreListDataChangedEvent() override;

  kel_WellBoreListDataChangedEvent& operator=(const kel_WellBoreListDataChangedEvent& other);
  // Equal when the change kinds, the wellbores (by identifier; two missing
  // wellbores are equal) and the platform's parts of both are equal.
  bool operator==(const kel_WellBoreListDataChangedEvent& other) const;
  // True only when every part of this event is less than the other's: the
  // change kind, the wellbore (a missing one before any other), the
  // change's kind and wellbore, and the platform's part.
  bool operator<(const kel_WellBoreListDataChangedEvent& other) const;

  // Whether the event carried a change ("ChangedData" holding a wellbore
  // list change). Without one, the kind is 0 and the wellbore is nil.
  bool hasChange() const;
  // The change kind as the service sent it: 0 a wellbore was added, 1 one
  // was removed; other values are passed on unchanged.
  int getChangeType() const;
  // The wellbore the change concerns; nil when the change names none.
  kel_WellBore getBore() const;
  // The change as a structure; its kind is set only for the kinds 0 and 1.
  kel_WellBoreList::WellBoreListChange getWellBoreListChange() const;

protected:
  friend class kel_WellBoreListDataChangedEventListener;
  // Builds the event from a CosNotification::StructuredEvent* and writes the
  // line "kel_WellBoreListDataChangedEvent" to the standard output stream.
  explicit kel_WellBoreListDataChangedEvent(void* raw);

private:
  void readChange(const void* raw);

  int m_changeType;
  kel_WellBore m_bore;
  kel_WellBoreList::WellBoreListChange m_change;
  bool m_hasChange;
};

#endif
