#ifndef KEL_EVENT_H
#define KEL_EVENT_H

#include "kel_cppUtil.h"
#include "kel_Date.h"

// An event delivered by the service's event service. Raw event data, where a
// constructor or handler takes void*, is a CosNotification::StructuredEvent*.
class kel_Event {
public:
  kel_Event();
  kel_Event(const kel_Event& other);
  kel_Event& operator=(const kel_Event& other);
  virtual ~kel_Event();

  kel_cppUtil::String getDomainName() const;   // "Kelvast"
  kel_cppUtil::String getTypeName() const;     // "DataChanged", ...
  kel_cppUtil::String getEventName() const;
  kel_Date getTime() const;

  bool operator==(const kel_Event& other) const;
  bool operator<(const kel_Event& other) const;

protected:
  explicit kel_Event(void* raw);
  // The event as a new CosNotification::StructuredEvent*, and its parts
  // (CosNotification::FilterableEventBody*, CosNotification::OptionalHeaderFields*);
  // the caller deletes them.
  virtual void* createEventStruct() const;
  virtual void* createFilterableData() const;
  virtual void* createOptionalHeader() const;

private:
  kel_cppUtil::String m_domainName;
  kel_cppUtil::String m_typeName;
  kel_cppUtil::String m_eventName;
  kel_Date m_time;
};

#endif
