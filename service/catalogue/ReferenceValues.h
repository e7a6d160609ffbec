// Reference value sets: lists of valid codes, looked up by authority and set
// name. The table (data/reference_values.tsv) is compiled into the binary.
#ifndef KELWELLD_CATALOGUE_REFERENCEVALUES_H
#define KELWELLD_CATALOGUE_REFERENCEVALUES_H

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <omniORB4/CORBA.h>

#include <EpReferenceValueService.hh>

#include "UnitCatalogue.h"   // CatalogueError

namespace kelwelld {

// The authority of every set the service ships.
inline constexpr const char* referenceAuthority = "Kelvast";

struct ReferenceValueEntry {
  std::string code;
  std::string description;
};

struct ReferenceSetId {
  std::string authority;
  std::string setName;
  bool operator<(const ReferenceSetId& other) const {
    return std::tie(authority, setName) < std::tie(other.authority, other.setName);
  }
};

class ReferenceValueCatalogue {
public:
  // The sets compiled into the binary; CatalogueError if the table is malformed.
  static const ReferenceValueCatalogue& builtIn();

  // Sets from table text: tab-separated columns authority, set name, code,
  // description; '#' starts a comment line. A line with an empty code declares
  // a set (which may stay empty). CatalogueError for a malformed line or a
  // code listed twice in one set.
  static ReferenceValueCatalogue fromTable(std::string_view table);

  // The values of a set, in table order; nullptr when there is no such set.
  const std::vector<ReferenceValueEntry>* find(const std::string& authority,
                                               const std::string& setName) const;
  bool contains(const std::string& authority, const std::string& setName,
                const std::string& code) const;
  // All sets, in table order.
  const std::vector<ReferenceSetId>& sets() const;

private:
  std::vector<ReferenceSetId> m_order;
  std::map<ReferenceSetId, std::vector<ReferenceValueEntry>> m_sets;
};

// Owns the remote reference value objects: ReferenceValueSet objects in a
// PERSISTENT/USER_ID POA ("ReferenceValueSets", object id
// "<authority>/<set name>") with one default servant, the
// ReferenceValueService in its own persistent POA ("ReferenceValueService"),
// and the iterators over values beyond a first batch in a TRANSIENT POA
// ("ReferenceValueIterators"), all under the parent POA passed in. An
// iterator goes away when destroyed or exhausted; the oldest are dropped when
// too many are left open.
class ReferenceValueRegistry {
public:
  ReferenceValueRegistry(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                         const ReferenceValueCatalogue& catalogue = ReferenceValueCatalogue::builtIn());
  ~ReferenceValueRegistry();
  ReferenceValueRegistry(const ReferenceValueRegistry&) = delete;
  ReferenceValueRegistry& operator=(const ReferenceValueRegistry&) = delete;

  // A new reference, owned by the caller.
  EpReferenceValueService::ReferenceValueService_ptr service();

  // Whether code is a value of the set setName of the authority "Kelvast"
  // (the service validates wellbore codes with it).
  bool contains(const std::string& setName, const std::string& code) const;

  const ReferenceValueCatalogue& catalogue() const;

  struct Impl;

private:
  std::unique_ptr<Impl> m_impl;
};

} // namespace kelwelld

#endif
