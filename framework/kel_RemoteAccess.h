// Small helpers for reaching the remote side from platform objects and for
// the property records that carry identifiers and aliases.
#ifndef KEL_REMOTEACCESS_H
#define KEL_REMOTEACCESS_H

#include <omniORB4/CORBA.h>

#include <CosPropertyService.hh>

#include "kel_Array.h"
#include "kel_Entity.h"
#include "kel_Internal.h"
#include "kel_RemoteObject.h"
#include "kel_StringPair.h"
#include "kel_cppUtil.h"

namespace kel_remote {

// The reference a platform object holds, viewed as Iface (the interface that
// the object's class installs: EpSession::Session for kel_Session,
// EpSession::Project for kel_Project, ...). A nil reference, never a null
// pointer, when the object holds none, so that it can be handed to a stub as
// it is. No count is added.
template <class Iface>
typename Iface::_ptr_type rawOrNil(const kel_RemoteObject& object) {
  void* remote = object.getRemoteObject(kel_Internal());
  return remote != nullptr ? static_cast<typename Iface::_ptr_type>(remote) : Iface::_nil();
}

// The same, with a count for the caller.
template <class Iface>
typename Iface::_ptr_type duplicateOrNil(const kel_RemoteObject& object) {
  return Iface::_duplicate(rawOrNil<Iface>(object));
}

// The reference any entity holds as CORBA::Object, whatever view its class
// installed; null when nil. No count is added.
CORBA::Object* baseObjectOf(const kel_Entity& entity);

// Whether the ORB knows nothing yet of the interface behind object: a
// reference without a type id, as string_to_object makes from a corbaloc
// address. Only such a reference needs asking the remote object what it is;
// a typed proxy of another interface is known not to be one of ours.
bool isUntyped(CORBA::Object_ptr object);

// An identifier or alias as the service takes it: name = key, value = an
// Any holding the value text.
CosPropertyService::Property makeProperty(const kel_StringPair& pair);
// A property record as a pair: name, and the value through
// kel_Converter::convertAnyToString.
kel_StringPair makeStringPair(const CosPropertyService::Property& property);

// Alias lists, in order both ways.
CosPropertyService::Properties makeProperties(const kel_Array<kel_StringPair>& pairs);
kel_Array<kel_StringPair> makeStringPairs(const CosPropertyService::Properties& properties);

} // namespace kel_remote

#endif
