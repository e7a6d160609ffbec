#ifndef KEL_REMOTESTUB_H
#define KEL_REMOTESTUB_H

namespace CORBA { class Object; }

// A one-word handle around a raw object reference. It owns nothing: whoever
// builds a platform object from it decides whether to add a count.
class kel_RemoteStub {
public:
  kel_RemoteStub() : m_object(nullptr) {}
  // Any interface pointer converts to its CORBA::Object base here.
  explicit kel_RemoteStub(CORBA::Object* object) : m_object(object) {}

  CORBA::Object* getObject() const { return m_object; }
  // True for a null pointer and for a nil reference.
  bool isNull() const;

private:
  CORBA::Object* m_object;
};

#endif
