// The service's POA plumbing: POAs, object ids, references, and how servants
// are owned.
#ifndef KELWELLD_POASUPPORT_H
#define KELWELLD_POASUPPORT_H

#include <optional>
#include <string>
#include <utility>

#include <omniORB4/CORBA.h>

namespace kelwelld::poa {

// A servant is reference counted, as the standard mapping has it: its maker
// holds the first reference in an Owned, every POA it is given takes one of
// its own, and it goes with the last. Owned is the only way the service
// holds a servant.
template <class T>
class Owned {
public:
  Owned() = default;
  explicit Owned(T* servant) : m_servant(servant) {}   // takes the maker's reference
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : m_servant(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      reset();
      m_servant = other.release();
    }
    return *this;
  }
  template <class U>
  Owned(Owned<U>&& other) noexcept : m_servant(other.release()) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  T* get() const { return m_servant; }
  T* operator->() const { return m_servant; }
  T& operator*() const { return *m_servant; }
  explicit operator bool() const { return m_servant != nullptr; }

  T* release() {
    T* servant = m_servant;
    m_servant = nullptr;
    return servant;
  }
  void reset() {
    if (m_servant) m_servant->_remove_ref();
    m_servant = nullptr;
  }

private:
  T* m_servant = nullptr;
};

template <class T, class... Arguments>
Owned<T> makeOwned(Arguments&&... arguments) {
  return Owned<T>(new T(std::forward<Arguments>(arguments)...));
}

enum class Lifespan { Persistent, Transient };

// A USER_ID POA under parent, sharing its POA manager, whose objects are all
// served by one default servant (set by the caller).
PortableServer::POA_ptr createDefaultServantPoa(PortableServer::POA_ptr parent, const char* name,
                                                Lifespan lifespan);
// A PERSISTENT/USER_ID POA under parent for objects activated one by one.
PortableServer::POA_ptr createPersistentPoa(PortableServer::POA_ptr parent, const char* name);

PortableServer::Current_ptr current(CORBA::ORB_ptr orb);
// The object id of the request in progress, as text.
std::string currentObjectId(PortableServer::Current_ptr current);

// The object id of reference when poa made it; nothing for nil or for a
// reference of any other POA or process.
std::optional<std::string> idIn(PortableServer::POA_ptr poa, CORBA::Object_ptr reference);

// A new reference of poa with object id and interface repositoryId.
CORBA::Object_ptr makeReference(PortableServer::POA_ptr poa, const std::string& id, const char* repositoryId);

// Destroys poa, waiting for requests in progress; quiet when the ORB has gone.
void destroy(PortableServer::POA_var& poa) noexcept;

} // namespace kelwelld::poa

#endif
