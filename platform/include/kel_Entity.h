#ifndef KEL_ENTITY_H
#define KEL_ENTITY_H

#include "kel_RemoteObject.h"
#include "kel_cppUtil.h"

// A remote entity (EpEntity::Entity): anything the service stores or holds
// with an identifier. The wrapper classes of the well library derive from it.
class kel_Entity : public kel_RemoteObject {
public:
  kel_Entity();                                             // nil
  // Adopts the stub's reference (no count added) when duplicate is false.
  kel_Entity(const kel_RemoteStub& stub, bool duplicate);
  explicit kel_Entity(const kel_RemoteStub& stub);          // adds a count
  kel_Entity(const kel_Entity& other, bool duplicate);
  kel_Entity(const kel_Entity& other);                      // adds a count
  kel_Entity& operator=(const kel_Entity& other);
  ~kel_Entity() override;

  // Identifier text; equal texts mean the same entity. kel_SystemException on failure.
  kel_cppUtil::String getId() const;
  // Name of the data store holding the entity ("" for storeless ones).
  kel_cppUtil::String getStoreName() const;
  // Entity type text as the service names it, for example "EpiWell_Well".
  kel_cppUtil::String getEntityTypeName() const;

  // Same identifier; two nil entities are equal, a nil and a bound one are not.
  bool operator==(const kel_Entity& other) const;

protected:
  // Copies the other's state, adding a count when duplicate is true (the own
  // reference is not given up first: callers release it when they need to).
  void assignment(const kel_Entity& other, bool duplicate);
  // The held reference as CORBA::Object*, from the entity view when only
  // that was installed.
  void* getBaseObject() const override;
};

#endif
