#include "core/PoaSupport.h"

namespace kelwelld::poa {

PortableServer::POA_ptr createDefaultServantPoa(PortableServer::POA_ptr parent, const char* name,
                                                Lifespan lifespan) {
  CORBA::PolicyList policies;
  policies.length(5);
  policies[0] = parent->create_lifespan_policy(lifespan == Lifespan::Persistent ? PortableServer::PERSISTENT
                                                                                : PortableServer::TRANSIENT);
  policies[1] = parent->create_id_assignment_policy(PortableServer::USER_ID);
  policies[2] = parent->create_request_processing_policy(PortableServer::USE_DEFAULT_SERVANT);
  policies[3] = parent->create_id_uniqueness_policy(PortableServer::MULTIPLE_ID);
  policies[4] = parent->create_servant_retention_policy(PortableServer::NON_RETAIN);
  PortableServer::POAManager_var manager = parent->the_POAManager();
  PortableServer::POA_var poa = parent->create_POA(name, manager.in(), policies);
  for (CORBA::ULong i = 0; i < policies.length(); ++i) {
    policies[i]->destroy();
  }
  return poa._retn();
}

PortableServer::POA_ptr createPersistentPoa(PortableServer::POA_ptr parent, const char* name) {
  CORBA::PolicyList policies;
  policies.length(2);
  policies[0] = parent->create_lifespan_policy(PortableServer::PERSISTENT);
  policies[1] = parent->create_id_assignment_policy(PortableServer::USER_ID);
  PortableServer::POAManager_var manager = parent->the_POAManager();
  PortableServer::POA_var poa = parent->create_POA(name, manager.in(), policies);
  for (CORBA::ULong i = 0; i < policies.length(); ++i) {
    policies[i]->destroy();
  }
  return poa._retn();
}

PortableServer::Current_ptr current(CORBA::ORB_ptr orb) {
  CORBA::Object_var object = orb->resolve_initial_references("POACurrent");
  PortableServer::Current_var result = PortableServer::Current::_narrow(object.in());
  if (CORBA::is_nil(result.in())) {
    throw CORBA::INTERNAL();
  }
  return result._retn();
}

std::string currentObjectId(PortableServer::Current_ptr current) {
  PortableServer::ObjectId_var id = current->get_object_id();
  return std::string(reinterpret_cast<const char*>(id->get_buffer()), id->length());
}

std::optional<std::string> idIn(PortableServer::POA_ptr poa, CORBA::Object_ptr reference) {
  if (CORBA::is_nil(reference)) {
    return std::nullopt;
  }
  try {
    PortableServer::ObjectId_var id = poa->reference_to_id(reference);
    return std::string(reinterpret_cast<const char*>(id->get_buffer()), id->length());
  } catch (const PortableServer::POA::WrongAdapter&) {
    return std::nullopt;
  } catch (const PortableServer::POA::WrongPolicy&) {
    return std::nullopt;
  }
}

CORBA::Object_ptr makeReference(PortableServer::POA_ptr poa, const std::string& id, const char* repositoryId) {
  PortableServer::ObjectId oid(static_cast<CORBA::ULong>(id.size()));
  oid.length(static_cast<CORBA::ULong>(id.size()));
  for (std::size_t i = 0; i < id.size(); ++i) {
    oid[static_cast<CORBA::ULong>(i)] = static_cast<CORBA::Octet>(id[i]);
  }
  return poa->create_reference_with_id(oid, repositoryId);
}

void destroy(PortableServer::POA_var& poa) noexcept {
  if (CORBA::is_nil(poa.in())) {
    return;
  }
  try {
    poa->destroy(false, true);
  } catch (...) {
    // The ORB or the parent POA went first; nothing is left to release.
  }
  poa = PortableServer::POA::_nil();
}

} // namespace kelwelld::poa
