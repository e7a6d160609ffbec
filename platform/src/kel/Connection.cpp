#include "kel_Connection.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>

#include "kel_Exception.h"
#include "kel_PlatformInternal.h"

namespace {

const char* const kDefaultLocation = "corbaloc:iiop:127.0.0.1:18110/kelwell";
const char* const kInitRefName = "KelWell";

// Process-wide: built on first use and never destroyed by static
// destruction, which would run after the ORB's own teardown.
struct ConnectionState {
  std::recursive_mutex mutex;
  CORBA::ORB_var orb;
  PortableServer::POA_var poa;
  EpSession::SessionManager_var manager;
  bool haveInitRef = false;
  std::string location;   // where the manager was looked for
};

ConnectionState& state() {
  static ConnectionState* instance = new ConnectionState;
  return *instance;
}

std::string trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const std::string::size_type first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A whole number from the environment within [low, high], else fallback.
unsigned long numberFromEnvironment(const char* name, unsigned long fallback, unsigned long low,
                                    unsigned long high) {
  const char* text = std::getenv(name);
  if (text == nullptr || trim(text).empty()) return fallback;
  const std::string value = trim(text);
  char* end = nullptr;
  errno = 0;
  const unsigned long number = std::strtoul(value.c_str(), &end, 10);
  if (errno != 0 || end == value.c_str() || *end != '\0' || value[0] == '-' || number < low ||
      number > high) {
    kel_cppUtil::String context(name);
    context += " must be a whole number from ";
    context << low;
    context += " to ";
    context << high;
    context += ", not \"";
    context += value.c_str();
    context += "\". ";
    throw kel_SystemException("Could not configure the connection to the well data service. ", context);
  }
  return number;
}

// A call on a connection that the service closed when it stopped (killed, or
// restarted on the same endpoint) fails with COMM_FAILURE while waiting for
// its reply, although no service ever received it. Such a call is retried once
// on a fresh connection; a second failure reaches the caller. The price: a
// request whose reply was lost after the service had acted on it runs twice,
// which for this service means a setter writing the same value again, or at
// worst a duplicate created object, never lost data.
CORBA::Boolean retryOnceAfterLostConnection(void*, CORBA::ULong retries,
                                            const CORBA::COMM_FAILURE& failure) {
  return retries == 0 && failure.minor() == omni::COMM_FAILURE_WaitingForReply;
}

void startOrb(int& argc, char** argv) {
  ConnectionState& s = state();
  // Traces of ten million samples and more must fit in one message.
  const unsigned long megabytes = numberFromEnvironment("KELWELL_MAX_MESSAGE_MB", 512, 1, 4095);
  const unsigned long timeout = numberFromEnvironment("KELWELL_CALL_TIMEOUT_MS", 120000, 0, 86400000);
  const std::string maxMessage = std::to_string(megabytes * 1024UL * 1024UL);
  const std::string callTimeout = std::to_string(timeout);
  // Callbacks (event consumers) listen on loopback only, on a port the system picks.
  const char* options[][2] = {{"giopMaxMsgSize", maxMessage.c_str()},
                              {"clientCallTimeOutPeriod", callTimeout.c_str()},
                              {"endPoint", "giop:tcp:127.0.0.1:"},
                              {nullptr, nullptr}};
  try {
    s.orb = CORBA::ORB_init(argc, argv, "omniORB4", options);
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not start the ORB. ", kel_platform::describe(error));
  }
  omniORB::installCommFailureExceptionHandler(nullptr, retryOnceAfterLostConnection);
  s.haveInitRef = false;
  try {
    CORBA::Object_var initial = s.orb->resolve_initial_references(kInitRefName);
    s.haveInitRef = !CORBA::is_nil(initial.in());
  } catch (const CORBA::Exception&) {
    // No -ORBInitRef KelWell=...: the environment or the default applies.
  }
}

void ensureOrb() {
  ConnectionState& s = state();
  if (!CORBA::is_nil(s.orb.in())) return;
  int argc = 0;
  char* argv[] = {nullptr};
  startOrb(argc, argv);
}

// The location as a person wrote it: an init reference, the environment, or the default.
std::string configuredLocation() {
  if (state().haveInitRef) return std::string("-ORBInitRef ") + kInitRefName;
  const char* text = std::getenv("KELWELL_SERVICE");
  if (text != nullptr && !trim(text).empty()) return trim(text);
  return kDefaultLocation;
}

CORBA::Object_ptr resolveLocation(const std::string& location) {
  ConnectionState& s = state();
  if (s.haveInitRef) return s.orb->resolve_initial_references(kInitRefName);
  std::string reference = location;
  if (location.compare(0, 5, "file:") == 0) {
    const std::string path = location.substr(5);
    std::ifstream in(path);
    std::stringstream content;
    if (in) content << in.rdbuf();
    reference = trim(content.str());
    if (!in || reference.empty()) {
      kel_cppUtil::String context("The file ");
      context += path.c_str();
      context += " cannot be read or holds no reference. ";
      throw kel_SystemException("Could not locate the well data service. ", context);
    }
  }
  try {
    return s.orb->string_to_object(reference.c_str());
  } catch (const CORBA::Exception& error) {
    kel_cppUtil::String context("The reference at ");
    context += location.c_str();
    context += " is malformed: ";
    context += kel_platform::describe(error);
    throw kel_SystemException("Could not locate the well data service. ", context);
  }
}

kel_cppUtil::String unreachable(const std::string& location, const CORBA::Exception& error) {
  kel_cppUtil::String context("No well data service answers at ");
  context += location.c_str();
  context += ": ";
  context += kel_platform::describe(error);
  return context;
}

// The entry point, found again when the configured location changed; called
// with the state's mutex held.
EpSession::SessionManager_ptr managerLocked() {
  ConnectionState& s = state();
  ensureOrb();
  const std::string location = configuredLocation();
  // Tests and tools may point the process at another service between calls.
  if (!CORBA::is_nil(s.manager.in()) && location == s.location) return s.manager.in();
  if (!CORBA::is_nil(s.manager.in())) kel_platform::forgetServiceCaches();
  s.manager = EpSession::SessionManager::_nil();
  s.location = location;
  CORBA::Object_var object = resolveLocation(location);
  if (CORBA::is_nil(object.in())) {
    kel_cppUtil::String context("The reference at ");
    context += location.c_str();
    context += " is nil. ";
    throw kel_SystemException("Could not locate the well data service. ", context);
  }
  EpSession::SessionManager_var manager;
  try {
    manager = EpSession::SessionManager::_narrow(object.in());
    if (!CORBA::is_nil(manager.in()) && manager->_non_existent()) {
      kel_cppUtil::String context("The object at ");
      context += location.c_str();
      context += " no longer exists. ";
      throw kel_SystemException("Could not reach the well data service. ", context);
    }
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not reach the well data service. ", unreachable(location, error));
  }
  if (CORBA::is_nil(manager.in())) {
    kel_cppUtil::String context("The object at ");
    context += location.c_str();
    context += " is not a well data service. ";
    throw kel_SystemException("Could not reach the well data service. ", context);
  }
  s.manager = manager._retn();
  return s.manager.in();
}

} // namespace

namespace kel_platform {

kel_cppUtil::String describe(const CORBA::Exception& error) {
  kel_cppUtil::String text;
  if (const CORBA::SystemException* system = CORBA::SystemException::_downcast(&error)) {
    text += "CORBA::";
    text += system->_name();
    const char* minor = system->NP_minorString();
    if (minor != nullptr) {
      text += " (";
      text += minor;
      text += ")";
    }
  } else {
    text += error._rep_id();
  }
  return text;
}

CORBA::ORB_ptr orb() { return static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb()); }

EpSession::SessionManager_ptr sessionManager() {
  std::lock_guard<std::recursive_mutex> lock(state().mutex);
  return EpSession::SessionManager::_duplicate(managerLocked());
}

EpUnitOfMeasureService::UnitService_ptr unitService() {
  EpSession::SessionManager_var manager = sessionManager();
  EpUnitOfMeasureService::UnitService_var service;
  try {
    service = manager->getUnitService();
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not reach the unit service. ", describe(error));
  }
  if (CORBA::is_nil(service.in()))
    throw kel_SystemException("Could not reach the unit service. ", "The service has none. ");
  return service._retn();
}

EpCoordinateService::CoordinateService_ptr coordinateService() {
  EpSession::SessionManager_var manager = sessionManager();
  EpCoordinateService::CoordinateService_var service;
  try {
    service = manager->getCoordinateService();
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException("Could not reach the coordinate service. ", describe(error));
  }
  if (CORBA::is_nil(service.in()))
    throw kel_SystemException("Could not reach the coordinate service. ", "The service has none. ");
  return service._retn();
}

} // namespace kel_platform

void kel_Connection::initialize(int& argc, char** argv) {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  if (!CORBA::is_nil(s.orb.in())) return;
  startOrb(argc, argv);
  // A malformed reference is reported now rather than at the first call.
  const std::string location = configuredLocation();
  CORBA::Object_var object = resolveLocation(location);
  (void)object;
}

void kel_Connection::initialize() {
  int argc = 0;
  char* argv[] = {nullptr};
  initialize(argc, argv);
}

void kel_Connection::shutdown() {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  if (CORBA::is_nil(s.orb.in())) return;
  kel_platform::forgetServiceCaches();
  s.manager = EpSession::SessionManager::_nil();
  s.poa = PortableServer::POA::_nil();
  s.location.clear();
  s.haveInitRef = false;
  try {
    s.orb->destroy();
  } catch (const CORBA::Exception&) {
    // Already going down: nothing is left to release.
  }
  s.orb = CORBA::ORB::_nil();
}

bool kel_Connection::isInitialized() {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  return !CORBA::is_nil(s.orb.in());
}

void* kel_Connection::getOrb() {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  ensureOrb();
  return s.orb.in();
}

void* kel_Connection::getPoa() {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  ensureOrb();
  if (CORBA::is_nil(s.poa.in())) {
    try {
      CORBA::Object_var object = s.orb->resolve_initial_references("RootPOA");
      PortableServer::POA_var poa = PortableServer::POA::_narrow(object.in());
      if (CORBA::is_nil(poa.in()))
        throw kel_SystemException("Could not start serving callbacks. ", "The ORB has no root POA. ");
      PortableServer::POAManager_var manager = poa->the_POAManager();
      manager->activate();
      s.poa = poa._retn();
    } catch (const CORBA::Exception& error) {
      throw kel_SystemException("Could not start serving callbacks. ", kel_platform::describe(error));
    }
  }
  return s.poa.in();
}

void* kel_Connection::getServiceManager() {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  return managerLocked();
}

kel_cppUtil::String kel_Connection::getServiceLocation() {
  ConnectionState& s = state();
  std::lock_guard<std::recursive_mutex> lock(s.mutex);
  if (!s.location.empty()) return kel_cppUtil::String(s.location);
  return kel_cppUtil::String(configuredLocation());
}
