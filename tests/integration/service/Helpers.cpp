#include "Helpers.h"

#include <atomic>
#include <cstdio>

#include <omniORB4/IIOP.h>   // after CORBA.h, which they rely on
#include <omniORB4/omniIOR.h>
#include <omniORB4/omniObjRef.h>

namespace kelwell_test {

Client::Client(const ServiceProcess& service, const char* user) {
  manager = connectRaw(clientOrb(), service.corbaloc());
  session = manager->openSession(user);
}

EpSession::Project_var Client::newProject(const std::string& stem) {
  static std::atomic<int> counter{0};
  const std::string name = stem + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  EpSession::Project_var project = session->createProject(name.c_str());
  CORBA::String_var store = project->getStoreName();
  storeName = store.in();
  return project;
}

CORBA::Object_var Client::factory(const char* repositoryId, bool stored) {
  if (stored && storeName.empty()) {
    EpSession::ProjectSeq_var projects = session->listProjects();
    if (projects->length() == 0) newProject();
    else storeName = CORBA::String_var(projects[0]->getStoreName()).in();
  }
  CosLifeCycle::FactoryFinder_var finder = session->getFactoryFinder();
  CosLifeCycle::Key key;
  key.length(1);
  key[0].id = repositoryId;
  key[0].kind = stored ? storeName.c_str() : "";
  CosLifeCycle::Factories_var found = finder->find_factories(key);
  return CORBA::Object::_duplicate(found[0]);
}

EpiWell::NewWellFactory_var Client::newWellFactory() {
  CORBA::Object_var object = factory(EpiWell::_tc_NewWellFactory->id(), true);
  return EpiWell::NewWellFactory::_narrow(object.in());
}

EpiWell::StorelessWellFactory_var Client::storelessWellFactory() {
  CORBA::Object_var object = factory(EpiWell::_tc_StorelessWellFactory->id(), false);
  return EpiWell::StorelessWellFactory::_narrow(object.in());
}

EpiWell::NewWellBoreFactory_var Client::newWellBoreFactory() {
  CORBA::Object_var object = factory(EpiWell::_tc_NewWellBoreFactory->id(), true);
  return EpiWell::NewWellBoreFactory::_narrow(object.in());
}

EpiWell::StorelessWellBoreFactory_var Client::storelessWellBoreFactory() {
  CORBA::Object_var object = factory(EpiWell::_tc_StorelessWellBoreFactory->id(), false);
  return EpiWell::StorelessWellBoreFactory::_narrow(object.in());
}

EpiWell::Well_var Client::newWell(EpSession::Project_ptr project, const std::string& name,
                                  const std::string& uwi) {
  return newWellFactory()->createWell(project, name.c_str(), property("UWI", uwi), session.in());
}

EpiWell::WellBore_var Client::newWellBore(EpiWell::Well_ptr well, const std::string& identifier) {
  return newWellBoreFactory()->createWellBore(well, property("UBHI", identifier), session.in());
}

EpSession::FaultInjector_var Client::faults() {
  return manager->getFaultInjector();
}

std::string corbalocWithId(CORBA::Object_ptr model, const std::string& oldId, const std::string& newId) {
  omniIOR* ior = model->_PR_getobj()->_getIOR();
  IIOP::ProfileBody body;
  IIOP::unmarshalProfile(ior->iopProfiles()[0], body);
  ior->release();
  std::string key(reinterpret_cast<const char*>(body.object_key.get_buffer()), body.object_key.length());
  key.replace(key.rfind(oldId), oldId.size(), newId);
  std::string escaped;
  for (unsigned char c : key) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02x", c);
    escaped += hex;
  }
  return "corbaloc:iiop:" + std::string(body.address.host.in()) + ":" + std::to_string(body.address.port) + "/" +
         escaped;
}

CosPropertyService::Property property(const std::string& name, const std::string& value) {
  CosPropertyService::Property p;
  p.property_name = name.c_str();
  p.property_value <<= value.c_str();
  return p;
}

std::string text(const CORBA::Any& value) {
  const char* t = nullptr;
  return (value >>= t) ? std::string(t) : std::string("<not a text>");
}

} // namespace kelwell_test
