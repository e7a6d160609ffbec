// What every servant of the service reaches: the ORB, the POAs by entity
// kind, the store and the entities' records, the catalogues and the events.
#ifndef KELWELLD_CONTEXT_H
#define KELWELLD_CONTEXT_H

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <omniORB4/CORBA.h>

#include <CosNotification.hh>
#include <EpSession.hh>

#include "servants/EntityKinds.h"

namespace kelwelld {

class Catalogues;
class Entities;
class EventDispatcher;
class LogTraces;
class Store;
class StoreChannel;
class Wells;

class Context {
public:
  CORBA::ORB_var orb;
  PortableServer::Current_var current;
  Store* store = nullptr;
  Entities* records = nullptr;   // every kind's, Entities::of<Record>()
  Wells* wells = nullptr;
  LogTraces* logTraces = nullptr;
  Catalogues* catalogues = nullptr;
  EventDispatcher* events = nullptr;
  StoreChannel* channel = nullptr;   // the other processes on the store; nullptr: none
  std::string unitSystem;   // "metric" or "field"
  std::string version;
  std::map<Kind, PortableServer::POA_var> poas;
  EpSession::EventService_var eventService;

  // The object id of the call in progress (default servants).
  std::string currentId() const;

  // A new reference to the entity with that id (its kind picks POA and
  // interface); nil for a text that is no id.
  CORBA::Object_ptr reference(const std::string& id) const;
  template <class T>
  typename T::_ptr_type referenceAs(const std::string& id) const {
    CORBA::Object_var object = reference(id);
    return CORBA::is_nil(object.in()) ? T::_nil() : T::_unchecked_narrow(object.in());
  }

  // References to the entities with these ids, in order; nil references
  // throughout when a RETURN_NIL fault asks for them.
  EpEntity::EntitySeq* entities(const std::vector<std::string>& ids, bool nilReferences = false) const;

  // The id of an object of this service, when it is one of the given kinds;
  // nullopt for nil, for foreign objects and for other kinds.
  std::optional<std::string> idOf(CORBA::Object_ptr object, std::initializer_list<Kind> kinds) const;

  // Queues a data-changed event for the entity (after its write committed).
  void changed(const std::string& id, const char* changeKind, const char* operation) const;
  // A change another process on the store made: to this process's subscribers.
  void changedElsewhere(const std::string& message) const;
  // The same, with filterable data of the entity's type (a wellbore list's change).
  void changed(const std::string& id, const char* changeKind, const char* operation,
               CosNotification::PropertySeq filterable) const;
};

} // namespace kelwelld

#endif
