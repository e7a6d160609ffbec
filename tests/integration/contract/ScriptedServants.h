// What the checks against objects served by the test process share: a
// script that records what each operation was sent and raises what a test
// armed, a factory finder and a session that hand out scripted factories,
// the fixture that serves them, and the text forms of what crossed.
#ifndef CONTRACT_TEST_SCRIPTEDSERVANTS_H
#define CONTRACT_TEST_SCRIPTEDSERVANTS_H

#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include <EpiWell.hh>

#include "ContractService.h"
#include "kel_Connection.h"
#include "kel_Internal.h"
#include "kel_Unit.h"

namespace contract {

// ---------------------------------------------------------------- values and what crossed, as text

inline std::string describe(EpUnitOfMeasureService::Unit_ptr unit) {
  return CORBA::is_nil(unit) ? "nil" : std::string(CORBA::String_var(unit->acronym()).in());
}
inline std::string describe(const EpiTypes::DataQuantity& q) {
  std::ostringstream out;
  out << describe(q.unit.in()) << ":" << q.value.floatValue();
  return out.str();
}

// The parts, separated by blanks.
template <class... Parts>
std::string join(const Parts&... parts) {
  std::ostringstream out;
  ((out << parts << ' '), ...);
  std::string text = out.str();
  text.pop_back();
  return text;
}

// The service's unit of that acronym, with a count for the caller.
inline EpUnitOfMeasureService::Unit_ptr remoteUnit(const char* acronym) {
  return EpUnitOfMeasureService::Unit::_duplicate(
      static_cast<EpUnitOfMeasureService::Unit_ptr>(kel_Unit::getUnit(acronym).getRemoteObject(kel_Internal())));
}
inline EpiTypes::DataQuantity remoteQuantity(const char* unit, float value) {
  EpiTypes::DataQuantity result;
  result.unit = remoteUnit(unit);
  result.value.floatValue(value);
  return result;
}

// A call, the operation it reaches, and what that was sent.
struct Sent {
  std::function<void()> call;
  const char* operation;
  std::string sent;
};

// ---------------------------------------------------------------- the scripted objects

// Records what each operation was sent; raises what a test armed for the
// next call of an operation.
class Script {
public:
  std::map<std::string, std::function<void()>> faults;

  void enter(const char* operation, const std::string& sentText = "") {
    std::function<void()> fault;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_sent[operation] = sentText;
      auto armed = faults.find(operation);
      if (armed != faults.end()) {
        fault = armed->second;
        faults.erase(armed);
      }
    }
    if (fault) fault();
  }
  std::string sent(const std::string& operation) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sent.count(operation) ? m_sent[operation] : "<not called>";
  }
  bool called() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_sent.empty();
  }
  void forget() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sent.clear();
  }

private:
  std::mutex m_mutex;
  std::map<std::string, std::string> m_sent;
};

// Hands out the one factory it is given.
class ScriptedFinder : public POA_CosLifeCycle::FactoryFinder, public Script {
public:
  CORBA::Object_var factory;

  CosLifeCycle::Factories* find_factories(const CosLifeCycle::Key& key) override {
    enter("find_factories", std::string(key[0].id.in()) + " in '" + key[0].kind.in() + "'");
    auto* result = new CosLifeCycle::Factories;
    if (CORBA::is_nil(factory.in())) return result;
    result->length(1);
    (*result)[0] = CORBA::Object::_duplicate(factory.in());
    return result;
  }
};

class ScriptedSession : public POA_EpSession::Session {
public:
  CosLifeCycle::FactoryFinder_var finder;

  char* getUser() override { return CORBA::string_dup("scripted"); }
  char* getUnitSystem() override { return CORBA::string_dup("metric"); }
  EpSession::Project_ptr openProject(const char*) override { return EpSession::Project::_nil(); }
  EpSession::Project_ptr createProject(const char*) override { return EpSession::Project::_nil(); }
  EpSession::ProjectSeq* listProjects() override { return new EpSession::ProjectSeq; }
  CosLifeCycle::FactoryFinder_ptr getFactoryFinder() override {
    return CosLifeCycle::FactoryFinder::_duplicate(finder.in());
  }
};

// ---------------------------------------------------------------- the fixture

// Serves scripted objects in the process's POA until the test ends. A derived
// fixture drops its wrappers of them before calling TearDown.
struct Served : Contract {
  PortableServer::POA_var poa;
  std::vector<PortableServer::ObjectId_var> activated;
  std::vector<PortableServer::ServantBase*> servants;

  CORBA::Object_ptr serve(PortableServer::ServantBase* s) {
    servants.push_back(s);
    activated.emplace_back(poa->activate_object(s));
    return poa->id_to_reference(activated.back().in());
  }

  // A session whose factory finder is finder.
  kel_Session sessionFinding(ScriptedFinder* finder) {
    CORBA::Object_var finderReference = serve(finder);
    auto* scriptedSession = new ScriptedSession;
    scriptedSession->finder = CosLifeCycle::FactoryFinder::_narrow(finderReference.in());
    CORBA::Object_var sessionReference = serve(scriptedSession);
    return kel_Session(kel_RemoteStub(sessionReference.in()), true);
  }

  void SetUp() override {
    CORBA::Object_var root =
        static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb())->resolve_initial_references("RootPOA");
    poa = PortableServer::POA::_narrow(root.in());
    PortableServer::POAManager_var manager = poa->the_POAManager();
    manager->activate();
  }
  void TearDown() override {
    for (auto& oid : activated) poa->deactivate_object(oid.in());
    for (auto* s : servants) s->_remove_ref();
    Contract::TearDown();
  }
};

// One wrapper of class Wrapper around a Servant served in the test process,
// released before the servants go.
template <class Wrapper, class Servant>
struct ServedWrapper : Served {
  Servant* servant = new Servant;
  Wrapper scripted;

  void SetUp() override {
    Served::SetUp();
    CORBA::Object_var reference = serve(servant);
    scripted = Wrapper(kel_RemoteStub(reference.in()), true);
  }
  void TearDown() override {
    scripted = Wrapper();
    Served::TearDown();
  }
};

} // namespace contract

#endif
