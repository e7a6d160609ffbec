#include "kel_util.h"

#include "kel_PlatformInternal.h"

namespace kel_util {

CORBA::Object_ptr FactoryFinder::findFactory(EpSession::Session_ptr session, const char* repositoryId) {
  return findFactory(session, repositoryId, nullptr, "");
}

// The service's finder is asked for a key of one name component: the
// factory interface's repository id and the store name ("" for storeless
// objects). No factory is no failure: the caller gets nil and says what it
// was looking for.
CORBA::Object_ptr FactoryFinder::findFactory(EpSession::Session_ptr session, const char* repositoryId,
                                             const char* /*unused*/, const char* storeName) {
  if (CORBA::is_nil(session)) throw CORBA::BAD_PARAM(0, CORBA::COMPLETED_NO);
  CosLifeCycle::FactoryFinder_var finder = session->getFactoryFinder();
  if (CORBA::is_nil(finder.in())) return CORBA::Object::_nil();
  CosLifeCycle::Key key;
  key.length(1);
  key[0].id = CORBA::string_dup(repositoryId ? repositoryId : "");
  key[0].kind = CORBA::string_dup(storeName ? storeName : "");
  CosLifeCycle::Factories_var factories;
  try {
    factories = finder->find_factories(key);
  } catch (const CosLifeCycle::NoFactory&) {
    return CORBA::Object::_nil();
  }
  for (CORBA::ULong i = 0; i < factories->length(); ++i)
    if (!CORBA::is_nil(factories[i].in())) return CORBA::Object::_duplicate(factories[i].in());
  return CORBA::Object::_nil();
}

EpReferenceValueService::ReferenceValueService_ptr ReferenceValue::getService() {
  EpSession::SessionManager_var manager = kel_platform::sessionManager();
  return manager->getReferenceValueService();
}

EpUnitOfMeasureService::Unit_ptr UnitOfMeasure::getUnit(const char* acronym) {
  EpUnitOfMeasureService::UnitService_var service = kel_platform::unitService();
  return service->getUnit(acronym ? acronym : "");
}

} // namespace kel_util
