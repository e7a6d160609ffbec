#ifndef KEL_REMOTEOBJECT_H
#define KEL_REMOTEOBJECT_H

#include "kel_Internal.h"
#include "kel_cppUtil.h"
#include "kel_RemoteStub.h"

// The base of every platform object that stands for one remote object.
//
// It holds one reference in two views: m_remote, the pointer to the remote
// interface of the most derived class (what getRemoteObject hands out, cast by
// the caller to that interface's _ptr type), and m_object, the same reference
// as CORBA::Object, through which counts are added and given up. A derived
// class that installs a new reference writes m_remote and clears m_object;
// duplicate() then fills m_object again through getBaseObject().
class kel_RemoteObject {
public:
  virtual ~kel_RemoteObject();   // gives up the held reference

  // The held reference as a pointer to the most derived class's remote
  // interface, or null when nil. No count is added.
  virtual void* getRemoteObject(const kel_Internal&) const;

  bool isNil() const;
  // The held reference in the ORB's stringified form ("" when nil); what
  // the wrappers' getFromString accepts.
  kel_cppUtil::String getStringifiedReference() const;

protected:
  kel_RemoteObject();
  // Adopts the stub's reference without adding a count; m_remote is left for
  // the most derived class to set (platform classes set it to their own view).
  explicit kel_RemoteObject(const kel_RemoteStub& stub);
  // Copies the other's state, adding a count when duplicate is true.
  kel_RemoteObject(const kel_RemoteObject& other, bool duplicate);
  // Gives up the own reference, then copies the other's state, adding a count
  // when duplicate is true.
  void assignment(const kel_RemoteObject& other, bool duplicate);

  virtual void* duplicate() const;          // adds one count; returns m_remote
  virtual void release();                    // gives up the reference; leaves this nil
  virtual void* getBaseObject() const;       // the reference as CORBA::Object*, or null
  virtual kel_RemoteStub getRemoteStub() const;
  // The name of the most derived class ("kel_Well", ...). Declared here, ahead
  // of makeNil, because derived classes rely on its place among the virtual
  // operations: each wrapper class overrides it.
  virtual kel_cppUtil::String getClassName() const;
  virtual void makeNil();                    // forgets the reference without giving it up

  void* m_remote;
  mutable CORBA::Object* m_object;

private:
  kel_RemoteObject& operator=(const kel_RemoteObject&) = delete;
};

#endif
