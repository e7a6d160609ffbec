#include "kel_Entity.h"
#include "kel_RemoteObject.h"
#include "kel_RemoteStub.h"

#include "kel_PlatformInternal.h"

bool kel_RemoteStub::isNull() const { return m_object == nullptr || CORBA::is_nil(m_object); }

// ---------------------------------------------------------------- kel_RemoteObject

kel_RemoteObject::kel_RemoteObject() : m_remote(nullptr), m_object(nullptr) {}

kel_RemoteObject::kel_RemoteObject(const kel_RemoteStub& stub)
    : m_remote(nullptr), m_object(stub.isNull() ? nullptr : stub.getObject()) {}

namespace {

// The other's counted view, also while a derived class has only installed
// its own view (m_object cleared).
CORBA::Object* counted(CORBA::Object* object, void* base) {
  return object != nullptr ? object : static_cast<CORBA::Object*>(base);
}

} // namespace

kel_RemoteObject::kel_RemoteObject(const kel_RemoteObject& other, bool duplicate)
    : m_remote(other.m_remote), m_object(counted(other.m_object, other.getBaseObject())) {
  if (duplicate) this->duplicate();
}

kel_RemoteObject::~kel_RemoteObject() {
  // No virtual call here: the derived parts are gone already.
  if (m_object) CORBA::release(m_object);
}

void kel_RemoteObject::assignment(const kel_RemoteObject& other, bool duplicate) {
  if (this == &other) return;
  release();
  m_remote = other.m_remote;
  m_object = counted(other.m_object, other.getBaseObject());
  if (duplicate) this->duplicate();
}

void* kel_RemoteObject::getRemoteObject(const kel_Internal&) const { return m_remote; }

bool kel_RemoteObject::isNil() const { return m_remote == nullptr && m_object == nullptr; }

kel_cppUtil::String kel_RemoteObject::getStringifiedReference() const {
  CORBA::Object* object = static_cast<CORBA::Object*>(getBaseObject());
  if (object == nullptr) return kel_cppUtil::String();
  try {
    CORBA::String_var text = kel_platform::orb()->object_to_string(object);
    return kel_cppUtil::String(text.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not turn the object reference into text. ",
                              kel_platform::describe(error));
  }
}

void* kel_RemoteObject::duplicate() const {
  if (m_object == nullptr && m_remote != nullptr)
    m_object = static_cast<CORBA::Object*>(getBaseObject());
  if (m_object) CORBA::Object::_duplicate(m_object);
  return m_remote;
}

void kel_RemoteObject::release() {
  CORBA::Object* object = m_object;
  m_object = nullptr;
  m_remote = nullptr;
  if (object) CORBA::release(object);
}

void* kel_RemoteObject::getBaseObject() const { return m_object; }

kel_RemoteStub kel_RemoteObject::getRemoteStub() const {
  return kel_RemoteStub(static_cast<CORBA::Object*>(getBaseObject()));
}

kel_cppUtil::String kel_RemoteObject::getClassName() const { return "kel_RemoteObject"; }

void kel_RemoteObject::makeNil() {
  m_remote = nullptr;
  m_object = nullptr;
}

// ---------------------------------------------------------------- kel_Entity

namespace {

// The entity behind any object derived from kel_Entity, whatever view its
// class installed, with a count for the caller.
EpEntity::Entity_ptr entityOf(const void* base) {
  return kel_platform::viewAs<EpEntity::Entity>(static_cast<CORBA::Object*>(const_cast<void*>(base)));
}

template <class Call>
kel_cppUtil::String askEntity(void* base, const char* what, Call call) {
  EpEntity::Entity_var remote;
  try {
    remote = entityOf(base);
    if (CORBA::is_nil(remote.in()))
      throw kel_SystemException(what, "The entity is nil. ");
    CORBA::String_var text = call(remote.in());
    return kel_cppUtil::String(text.in());
  } catch (const EpDataStore::StoreException& error) {
    kel_cppUtil::String context("The data store failed: ");
    context += error.message.in();
    context += error.detail.in();
    throw kel_SystemException(what, context);
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(what, kel_platform::describe(error));
  }
}

} // namespace

kel_Entity::kel_Entity() = default;

kel_Entity::kel_Entity(const kel_RemoteStub& stub, bool duplicate) {
  kel_platform::install<EpEntity::Entity>(m_remote, m_object, stub.getObject(), duplicate);
}

kel_Entity::kel_Entity(const kel_RemoteStub& stub) : kel_Entity(stub, true) {}

// The derived classes' protocol: the other's state is taken as it is (its view
// included), since the derived class installs its own view afterwards.
kel_Entity::kel_Entity(const kel_Entity& other, bool duplicate) : kel_RemoteObject(other, duplicate) {}

// A plain copy may slice a derived object; it holds the entity view of the
// same reference.
kel_Entity::kel_Entity(const kel_Entity& other) : kel_RemoteObject() {
  kel_platform::install<EpEntity::Entity>(m_remote, m_object,
                                          static_cast<CORBA::Object*>(other.getBaseObject()), true);
}

kel_Entity& kel_Entity::operator=(const kel_Entity& other) {
  if (this == &other) return *this;
  CORBA::Object_var keep = CORBA::Object::_duplicate(static_cast<CORBA::Object*>(other.getBaseObject()));
  release();
  kel_platform::install<EpEntity::Entity>(m_remote, m_object, keep.in(), true);
  return *this;
}

kel_Entity::~kel_Entity() = default;

kel_cppUtil::String kel_Entity::getId() const {
  return askEntity(getBaseObject(), "Could not read the identifier of the entity. ",
                   [](EpEntity::Entity_ptr e) { return e->getId(); });
}

kel_cppUtil::String kel_Entity::getStoreName() const {
  return askEntity(getBaseObject(), "Could not read the store name of the entity. ",
                   [](EpEntity::Entity_ptr e) { return e->getStoreName(); });
}

kel_cppUtil::String kel_Entity::getEntityTypeName() const {
  return askEntity(getBaseObject(), "Could not read the entity type of the entity. ",
                   [](EpEntity::Entity_ptr e) { return e->getEntityType(); });
}

bool kel_Entity::operator==(const kel_Entity& other) const {
  if (this == &other) return true;
  const bool nil = getBaseObject() == nullptr, otherNil = other.getBaseObject() == nullptr;
  if (nil || otherNil) return nil == otherNil;
  return getId() == other.getId();
}

void kel_Entity::assignment(const kel_Entity& other, bool duplicate) {
  if (this == &other) return;
  m_remote = other.m_remote;
  m_object = counted(other.m_object, other.getBaseObject());
  if (duplicate) this->duplicate();
}

void* kel_Entity::getBaseObject() const {
  if (m_object) return m_object;
  return kel_platform::baseOf<EpEntity::Entity>(m_remote);
}
