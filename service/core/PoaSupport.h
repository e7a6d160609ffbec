// POA plumbing shared by the catalogue registries.
#ifndef KELWELLD_CATALOGUE_POASUPPORT_H
#define KELWELLD_CATALOGUE_POASUPPORT_H

#include <optional>
#include <string>

#include <omniORB4/CORBA.h>

namespace kelwelld::poa {

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
