// Every entity kind of the service, one entry each: its id prefix, its type
// names, its POA, whether it is stored, what a where clause may ask of it,
// its default servant and its factories. Ids, references, the POAs and their
// servants (Service.cpp), query dispatch (Project::executeQuery) and the
// factory finder are all driven from this table; a new kind is a new entry
// here, its record description (entity/) and its servant file.
#ifndef KELWELLD_ENTITYKINDS_H
#define KELWELLD_ENTITYKINDS_H

#include <optional>
#include <string>
#include <vector>

#include <omniORB4/CORBA.h>

#include "core/Ids.h"
#include "core/PoaSupport.h"

namespace kelwelld {

class Context;
struct QueryTable;

enum class Kind {
  Project, Well, WellBore, StorelessWell, StorelessWellBore, Session, Velocity, StorelessVelocity, LogTrace,
  StorelessLogTrace, Pick, StorelessPick, WellBoreList, StorelessWellBoreList,
};

using ServantMaker = poa::Owned<PortableServer::ServantBase> (*)(Context&);

struct FactoryEntry {
  const char* objectId;       // "factory:NewWellFactory", in the Services POA
  const char* repositoryId;   // the key the finder matches
  bool stored;                // found under the store name, or under ""
  ServantMaker make;
};

struct EntityKind {
  Kind kind;
  const char* prefix;         // of its ids, "well"
  const char* entityType;     // "EpiWell_Well"
  const char* scopedType;     // "EpiWell::Well", in change events
  const char* repositoryId;
  const char* poaName;
  bool stored;                // persistent POA and a store name
  const QueryTable* query;    // nullptr: executeQuery does not serve it
  ServantMaker servant;       // its POA's default servant; nullptr: see servedBy
  std::optional<Kind> servedBy;   // shares the default servant of that kind
  std::vector<FactoryEntry> factories;
};

const std::vector<EntityKind>& entityKinds();
const EntityKind& describe(Kind kind);

struct EntityKey {
  Kind kind;
  long long number;
};

std::string formatId(Kind kind, long long number);
// nullopt for a text that is not an id of this service.
std::optional<EntityKey> parseId(const std::string& id);
// The number of an id of the given kind; nullopt for anything else.
std::optional<long long> numberOf(const std::string& id, Kind kind);

} // namespace kelwelld

#endif
