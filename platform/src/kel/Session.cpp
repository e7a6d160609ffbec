#include "kel_Project.h"
#include "kel_Session.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "kel_PlatformInternal.h"

namespace {

// The account running the process: $USER, else the password database's name.
std::string currentUser() {
  const char* user = std::getenv("USER");
  if (user != nullptr && *user != '\0') return user;
  if (const passwd* entry = getpwuid(getuid())) {
    if (entry->pw_name != nullptr && *entry->pw_name != '\0') return entry->pw_name;
  }
  return "uid" + std::to_string(static_cast<unsigned long>(getuid()));
}

kel_cppUtil::String storeContext(const EpDataStore::StoreException& error) {
  kel_cppUtil::String context("The data store failed: ");
  context += error.message.in();
  context += error.detail.in();
  return context;
}

EpSession::Session_ptr sessionOf(const kel_Session& session, const char* message) {
  EpSession::Session_ptr remote =
      static_cast<EpSession::Session_ptr>(session.getRemoteObject(kel_Internal()));
  if (remote == nullptr) throw kel_UserException(message, "The session is nil. ");
  return remote;
}

// A project from a reference the service handed over (its count is adopted).
kel_Project adoptProject(EpSession::Project_ptr project) {
  EpSession::Project_var owned = project;
  if (CORBA::is_nil(owned.in())) return kel_Project();
  return kel_Project(kel_RemoteStub(owned.in()), true);
}

} // namespace

// ---------------------------------------------------------------- kel_Session

kel_Session::kel_Session() = default;

kel_Session::kel_Session(const kel_RemoteStub& stub, bool duplicate) {
  kel_platform::install<EpSession::Session>(m_remote, m_object, stub.getObject(), duplicate);
}

kel_Session::kel_Session(const kel_Session& other, bool duplicate) : kel_RemoteObject() {
  kel_platform::install<EpSession::Session>(m_remote, m_object,
                                            static_cast<CORBA::Object*>(other.getBaseObject()),
                                            duplicate);
}

kel_Session& kel_Session::operator=(const kel_Session& other) {
  if (this == &other) return *this;
  CORBA::Object_var keep = CORBA::Object::_duplicate(static_cast<CORBA::Object*>(other.getBaseObject()));
  release();
  kel_platform::install<EpSession::Session>(m_remote, m_object, keep.in(), true);
  return *this;
}

kel_Session::~kel_Session() = default;

kel_Session kel_Session::open() { return open(currentUser().c_str()); }

kel_Session kel_Session::open(const char* user) {
  const char* const message = "Could not open a session with the well data service. ";
  if (user == nullptr || *user == '\0') throw kel_UserException(message, "The user name is empty. ");
  EpSession::SessionManager_var manager = kel_platform::sessionManager();
  EpSession::Session_var session;
  try {
    session = manager->openSession(user);
  } catch (const EpTypes::FailedOperationException& error) {
    throw kel_UserException(message, error.reason.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  if (CORBA::is_nil(session.in())) throw kel_SystemException(message, "The service returned no session. ");
  return kel_Session(kel_RemoteStub(session.in()), true);
}

kel_cppUtil::String kel_Session::getUser() const {
  const char* const message = "Could not read the user of the session. ";
  EpSession::Session_ptr remote = sessionOf(*this, message);
  try {
    CORBA::String_var user = remote->getUser();
    return kel_cppUtil::String(user.in());
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
}

// ---------------------------------------------------------------- kel_Project

kel_Project::kel_Project() = default;

kel_Project::kel_Project(const kel_RemoteStub& stub, bool duplicate) : kel_Entity() {
  kel_platform::install<EpSession::Project>(m_remote, m_object, stub.getObject(), duplicate);
}

kel_Project::kel_Project(const kel_Project& other, bool duplicate) : kel_Entity() {
  kel_platform::install<EpSession::Project>(m_remote, m_object,
                                            static_cast<CORBA::Object*>(other.getBaseObject()),
                                            duplicate);
}

kel_Project& kel_Project::operator=(const kel_Project& other) {
  if (this == &other) return *this;
  CORBA::Object_var keep = CORBA::Object::_duplicate(static_cast<CORBA::Object*>(other.getBaseObject()));
  release();
  kel_platform::install<EpSession::Project>(m_remote, m_object, keep.in(), true);
  return *this;
}

kel_Project::~kel_Project() = default;

void* kel_Project::getBaseObject() const {
  if (m_object) return m_object;
  return kel_platform::baseOf<EpSession::Project>(m_remote);
}

kel_Project kel_Project::create(const kel_Session& session, const char* name) {
  kel_cppUtil::String message("Could not create the project \"");
  message += name;
  message += "\". ";
  EpSession::Session_ptr remote = sessionOf(session, message);
  if (name == nullptr || *name == '\0') throw kel_UserException(message, "The project name is empty. ");
  try {
    return adoptProject(remote->createProject(name));
  } catch (const EpTypes::FailedOperationException& error) {
    throw kel_UserException(message, error.reason.in());
  } catch (const EpDataStore::StoreException& error) {
    throw kel_SystemException(message, storeContext(error));
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
}

kel_Project kel_Project::open(const kel_Session& session, const char* name) {
  kel_cppUtil::String message("Could not open the project \"");
  message += name;
  message += "\". ";
  EpSession::Session_ptr remote = sessionOf(session, message);
  if (name == nullptr || *name == '\0') throw kel_UserException(message, "The project name is empty. ");
  kel_Project project;
  try {
    project = adoptProject(remote->openProject(name));
  } catch (const EpTypes::FailedOperationException& error) {
    throw kel_UserException(message, error.reason.in());
  } catch (const EpDataStore::StoreException& error) {
    throw kel_SystemException(message, storeContext(error));
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  if (project.isNil()) throw kel_UserException(message, "The service knows no such project. ");
  return project;
}

kel_Array<kel_Project> kel_Project::list(const kel_Session& session) {
  const char* const message = "Could not list the projects of the well data service. ";
  EpSession::Session_ptr remote = sessionOf(session, message);
  try {
    EpSession::ProjectSeq_var projects = remote->listProjects();
    kel_Array<kel_Project> result(projects->length());
    for (CORBA::ULong i = 0; i < projects->length(); ++i)
      result.set(i, kel_Project(kel_RemoteStub(projects[i].in()), true));
    return result;
  } catch (const EpDataStore::StoreException& error) {
    throw kel_SystemException(message, storeContext(error));
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
}

kel_cppUtil::String kel_Project::getName() const {
  const char* const message = "Could not read the name of the project. ";
  EpSession::Project_ptr remote = static_cast<EpSession::Project_ptr>(getRemoteObject(kel_Internal()));
  if (remote == nullptr) throw kel_SystemException(message, "The project is nil. ");
  try {
    CORBA::String_var name = remote->getName();
    return kel_cppUtil::String(name.in());
  } catch (const EpDataStore::StoreException& error) {
    throw kel_SystemException(message, storeContext(error));
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
}

bool kel_Project::operator==(const kel_Project& other) const {
  return kel_Entity::operator==(other);
}
