// Helpers shared by the platform's sources; not installed.
#ifndef KEL_PLATFORMINTERNAL_H
#define KEL_PLATFORMINTERNAL_H

#include <type_traits>

#include <EpSession.hh>
#include <EpUnitOfMeasureService.hh>
#include <EpCoordinateService.hh>

#include "kel_Exception.h"
#include "kel_cppUtil.h"

namespace kel_platform {

// Installs object as the reference a platform object holds, with Iface's view
// in remote and the counted CORBA::Object view in held. With addCount the
// object receives a count of its own; otherwise the caller's count is
// adopted. A reference whose proxy is not of Iface's type (a corbaloc
// reference, say) is narrowed when a count is to be added, and the narrowed
// reference held instead; one that is not an Iface at all leaves the object
// nil. An adopted reference is never replaced, since its owner's count
// travels with it: it is held as it is, and remote stays null.
template <class Iface>
void install(void*& remote, CORBA::Object*& held, CORBA::Object* object, bool addCount) {
  using Objref = typename std::remove_pointer<typename Iface::_ptr_type>::type;
  remote = nullptr;
  held = nullptr;
  if (object == nullptr || CORBA::is_nil(object)) return;
  if (Objref* typed = dynamic_cast<Objref*>(object)) {
    held = addCount ? CORBA::Object::_duplicate(object) : object;
    remote = static_cast<void*>(typed);
    return;
  }
  if (!addCount) {
    held = object;
    return;
  }
  typename Iface::_var_type narrowed = Iface::_narrow(object);
  if (CORBA::is_nil(narrowed.in())) return;
  Objref* typed = narrowed._retn();
  held = typed;
  remote = static_cast<void*>(typed);
}

// The reference as Iface, with a count for the caller; nil when object is
// null, nil or not an Iface.
template <class Iface>
typename Iface::_ptr_type viewAs(CORBA::Object* object) {
  using Objref = typename std::remove_pointer<typename Iface::_ptr_type>::type;
  if (object == nullptr || CORBA::is_nil(object)) return Iface::_nil();
  if (Objref* typed = dynamic_cast<Objref*>(object)) return Iface::_duplicate(typed);
  return Iface::_narrow(object);
}

// The CORBA::Object view of a pointer stored as Iface's view.
template <class Iface>
CORBA::Object* baseOf(void* remote) {
  if (remote == nullptr) return nullptr;
  return static_cast<typename Iface::_ptr_type>(remote);
}

// "CORBA::TRANSIENT (TRANSIENT_ConnectFailed)" and the like, for contexts.
kel_cppUtil::String describe(const CORBA::Exception& error);

// The service's entry point and its services, each with a count for the
// caller; kel_SystemException naming the location when nobody answers.
EpSession::SessionManager_ptr sessionManager();
EpUnitOfMeasureService::UnitService_ptr unitService();
EpCoordinateService::CoordinateService_ptr coordinateService();

// The ORB, initialised on first use.
CORBA::ORB_ptr orb();

// Forgets what was cached from a service (units) when the process turns to
// another one.
void forgetServiceCaches();

} // namespace kel_platform

#endif
