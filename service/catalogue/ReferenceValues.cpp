#include "ReferenceValues.h"

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "core/PoaSupport.h"
#include "TableText.h"
#include "Tables.h"
#include "core/FaultInjection.h"

namespace kelwelld {

// ---------------------------------------------------------------------------
// The catalogue

ReferenceValueCatalogue ReferenceValueCatalogue::fromTable(std::string_view text) {
  ReferenceValueCatalogue catalogue;
  std::map<std::pair<ReferenceSetId, std::string>, unsigned> firstLine;   // (set, code) -> line
  for (const auto& line : table::lines(text)) {
    const auto& f = line.fields;
    const std::string where = "Reference value table, line " + std::to_string(line.number) + ": ";
    if (f.size() < 3 || f.size() > 4) {
      throw CatalogueError(where + "expected 3 or 4 tab-separated columns (authority, set name, code, "
                                   "description), found " + std::to_string(f.size()) + ". ");
    }
    if (f[0].empty() || f[1].empty()) {
      throw CatalogueError(where + "the authority and the set name must not be empty. ");
    }
    ReferenceSetId id{f[0], f[1]};
    auto set = catalogue.m_sets.find(id);
    if (set == catalogue.m_sets.end()) {
      set = catalogue.m_sets.emplace(id, std::vector<ReferenceValueEntry>{}).first;
      catalogue.m_order.push_back(id);
    }
    const std::string& code = f[2];
    if (code.empty()) {
      continue;   // declares the set only
    }
    const auto [at, inserted] = firstLine.emplace(std::make_pair(id, code), line.number);
    if (!inserted) {
      throw CatalogueError(where + "the code '" + code + "' is listed twice in set '" + id.authority + "/" +
                           id.setName + "' (first on line " + std::to_string(at->second) + "). ");
    }
    set->second.push_back({code, f.size() > 3 ? f[3] : std::string()});
  }
  return catalogue;
}

const ReferenceValueCatalogue& ReferenceValueCatalogue::builtIn() {
  static const ReferenceValueCatalogue catalogue = fromTable(tables::referenceValues);
  return catalogue;
}

const std::vector<ReferenceValueEntry>* ReferenceValueCatalogue::find(const std::string& authority,
                                                                      const std::string& setName) const {
  const auto found = m_sets.find(ReferenceSetId{authority, setName});
  return found == m_sets.end() ? nullptr : &found->second;
}

bool ReferenceValueCatalogue::contains(const std::string& authority, const std::string& setName,
                                       const std::string& code) const {
  const auto* values = find(authority, setName);
  return values != nullptr && std::any_of(values->begin(), values->end(),
                                          [&](const ReferenceValueEntry& value) { return value.code == code; });
}

const std::vector<ReferenceSetId>& ReferenceValueCatalogue::sets() const {
  return m_order;
}

// ---------------------------------------------------------------------------
// The remote objects

namespace {

const char* const setsPoaName = "ReferenceValueSets";
const char* const servicePoaName = "ReferenceValueService";
const char* const iteratorsPoaName = "ReferenceValueIterators";
const char* const serviceId = "ReferenceValueService";

// Open iterators beyond this many are dropped, oldest first, so that clients
// that never destroy theirs cannot grow the service without bound.
constexpr std::size_t maxOpenIterators = 1000;

std::string setObjectId(const ReferenceSetId& id) {
  return id.authority + "/" + id.setName;
}

void fill(EpReferenceValueService::ReferenceValueList& list, std::vector<ReferenceValueEntry>::const_iterator first,
          std::size_t count) {
  list.length(static_cast<CORBA::ULong>(count));
  for (CORBA::ULong i = 0; i < count; ++i, ++first) {
    list[i].code = first->code.c_str();
    list[i].description = first->description.c_str();
  }
}

} // namespace

struct ReferenceValueRegistry::Impl {
  explicit Impl(const ReferenceValueCatalogue& values) : catalogue(values) {}

  // The set behind the request in progress; OBJECT_NOT_EXIST when there is none.
  std::pair<ReferenceSetId, const std::vector<ReferenceValueEntry>*> currentSet() const {
    const std::string id = poa::currentObjectId(current.in());
    const auto slash = id.find('/');
    if (slash != std::string::npos) {
      ReferenceSetId setId{id.substr(0, slash), id.substr(slash + 1)};
      if (const auto* values = catalogue.find(setId.authority, setId.setName)) {
        return {std::move(setId), values};
      }
    }
    throw CORBA::OBJECT_NOT_EXIST();
  }

  EpReferenceValueService::ReferenceValueSet_ptr setReference(const ReferenceSetId& id) {
    CORBA::Object_var object = poa::makeReference(setPoa.in(), setObjectId(id),
                                                  EpReferenceValueService::_tc_ReferenceValueSet->id());
    return EpReferenceValueService::ReferenceValueSet::_narrow(object.in());
  }

  // A new iterator over values[next...]; nil when nothing is left.
  EpReferenceValueService::ReferenceValueIterator_ptr iterator(const std::vector<ReferenceValueEntry>* values,
                                                               std::size_t next) {
    if (next >= values->size()) {
      return EpReferenceValueService::ReferenceValueIterator::_nil();
    }
    std::string id;
    {
      std::lock_guard<std::mutex> lock(mutex);
      while (iterators.size() >= maxOpenIterators) {
        iterators.erase(iterators.begin());
      }
      const std::uint64_t number = ++lastIterator;
      iterators.emplace(number, Position{values, next});
      id = std::to_string(number);
    }
    CORBA::Object_var object = poa::makeReference(iteratorPoa.in(), id,
                                                  EpReferenceValueService::_tc_ReferenceValueIterator->id());
    return EpReferenceValueService::ReferenceValueIterator::_narrow(object.in());
  }

  struct Position {
    const std::vector<ReferenceValueEntry>* values;   // the catalogue's, never freed before us
    std::size_t next;
  };

  const ReferenceValueCatalogue& catalogue;
  PortableServer::Current_var current;
  PortableServer::POA_var setPoa;
  PortableServer::POA_var servicePoa;
  PortableServer::POA_var iteratorPoa;
  poa::Owned<PortableServer::ServantBase> setServant;
  poa::Owned<PortableServer::ServantBase> serviceServant;
  poa::Owned<PortableServer::ServantBase> iteratorServant;
  std::mutex mutex;   // guards the two members below
  std::map<std::uint64_t, Position> iterators;   // by number, oldest first
  std::uint64_t lastIterator = 0;
};

namespace {

class IteratorServant : public POA_EpReferenceValueService::ReferenceValueIterator {
public:
  explicit IteratorServant(ReferenceValueRegistry::Impl& impl) : m_impl(impl) {}

  // Delivers up to howMany of the values left; false when none were left.
  // The iterator goes away with its last value.
  CORBA::Boolean nextN(CORBA::ULong howMany, EpReferenceValueService::ReferenceValueList_out values) override {
    const std::string id = poa::currentObjectId(m_impl.current.in());
    enterFault("nextN", id);
    values = new EpReferenceValueService::ReferenceValueList;
    std::lock_guard<std::mutex> lock(m_impl.mutex);
    const auto found = m_impl.iterators.find(number(id));
    if (found == m_impl.iterators.end()) {
      return false;   // exhausted or destroyed
    }
    auto& position = found->second;
    const std::size_t count = std::min<std::size_t>(howMany, position.values->size() - position.next);
    fill(*values.ptr(), position.values->begin() + static_cast<std::ptrdiff_t>(position.next), count);
    position.next += count;
    if (position.next >= position.values->size()) {
      m_impl.iterators.erase(found);
    }
    return count > 0 || howMany == 0;
  }

  void destroy() override {
    const std::string id = poa::currentObjectId(m_impl.current.in());
    enterFault("destroy", id);
    std::lock_guard<std::mutex> lock(m_impl.mutex);
    m_impl.iterators.erase(number(id));
  }

private:
  static std::uint64_t number(const std::string& id) {
    try {
      return std::stoull(id);
    } catch (const std::exception&) {
      return 0;   // no iterator has number 0
    }
  }

  ReferenceValueRegistry::Impl& m_impl;
};

class SetServant : public POA_EpReferenceValueService::ReferenceValueSet {
public:
  explicit SetServant(ReferenceValueRegistry::Impl& impl) : m_impl(impl) {}

  EpReferenceValueService::Identification* identification() override {
    const auto [id, values] = m_impl.currentSet();
    enterFault("identification", setObjectId(id));
    EpReferenceValueService::Identification_var result = new EpReferenceValueService::Identification;
    result->authority = id.authority.c_str();
    result->setName = id.setName.c_str();
    return result._retn();
  }

  CORBA::ULong count() override {
    const auto [id, values] = m_impl.currentSet();
    const auto fault = enterFault("count", setObjectId(id));
    if (wantsOutOfRange(fault)) {
      return static_cast<CORBA::ULong>(fault->value);
    }
    return static_cast<CORBA::ULong>(values->size());
  }

  void getValues(CORBA::ULong howMany, EpReferenceValueService::ReferenceValueList_out values,
                 EpReferenceValueService::ReferenceValueIterator_out rest) override {
    const auto [id, set] = m_impl.currentSet();
    enterFault("getValues", setObjectId(id));
    EpReferenceValueService::ReferenceValueList_var first = new EpReferenceValueService::ReferenceValueList;
    const std::size_t count = std::min<std::size_t>(howMany, set->size());
    fill(first.inout(), set->begin(), count);
    rest = m_impl.iterator(set, count);
    values = first._retn();
  }

private:
  ReferenceValueRegistry::Impl& m_impl;
};

class ServiceServant : public POA_EpReferenceValueService::ReferenceValueService {
public:
  explicit ServiceServant(ReferenceValueRegistry::Impl& impl) : m_impl(impl) {}

  EpReferenceValueService::ReferenceValueSet_ptr getSet(const EpReferenceValueService::Identification& id) override {
    if (wantsNil(enterFault("getSet", serviceId))) {
      return EpReferenceValueService::ReferenceValueSet::_nil();
    }
    const ReferenceSetId setId{id.authority.in(), id.setName.in()};
    if (m_impl.catalogue.find(setId.authority, setId.setName) == nullptr) {
      throw EpReferenceValueService::NotFoundException(
          ("No reference value set '" + setId.setName + "' of authority '" + setId.authority +
           "'. ReferenceValueService::listSets lists the sets. ").c_str());
    }
    return m_impl.setReference(setId);
  }

  EpReferenceValueService::IdentificationSeq* listSets() override {
    enterFault("listSets", serviceId);
    const auto& sets = m_impl.catalogue.sets();
    EpReferenceValueService::IdentificationSeq_var result = new EpReferenceValueService::IdentificationSeq;
    result->length(static_cast<CORBA::ULong>(sets.size()));
    for (CORBA::ULong i = 0; i < sets.size(); ++i) {
      result[i].authority = sets[i].authority.c_str();
      result[i].setName = sets[i].setName.c_str();
    }
    return result._retn();
  }

private:
  ReferenceValueRegistry::Impl& m_impl;
};

} // namespace

ReferenceValueRegistry::ReferenceValueRegistry(CORBA::ORB_ptr orb, PortableServer::POA_ptr parent,
                                               const ReferenceValueCatalogue& catalogue)
    : m_impl(std::make_unique<Impl>(catalogue)) {
  Impl& impl = *m_impl;
  impl.current = poa::current(orb);
  try {
    impl.setPoa = poa::createDefaultServantPoa(parent, setsPoaName, poa::Lifespan::Persistent);
    impl.setServant = poa::makeOwned<SetServant>(impl);
    impl.setPoa->set_servant(impl.setServant.get());

    impl.iteratorPoa = poa::createDefaultServantPoa(parent, iteratorsPoaName, poa::Lifespan::Transient);
    impl.iteratorServant = poa::makeOwned<IteratorServant>(impl);
    impl.iteratorPoa->set_servant(impl.iteratorServant.get());

    impl.servicePoa = poa::createPersistentPoa(parent, servicePoaName);
    impl.serviceServant = poa::makeOwned<ServiceServant>(impl);
    PortableServer::ObjectId_var id = PortableServer::string_to_ObjectId(serviceId);
    impl.servicePoa->activate_object_with_id(id.in(), impl.serviceServant.get());
  } catch (...) {
    poa::destroy(impl.servicePoa);
    poa::destroy(impl.iteratorPoa);
    poa::destroy(impl.setPoa);
    throw;
  }
}

ReferenceValueRegistry::~ReferenceValueRegistry() {
  poa::destroy(m_impl->servicePoa);
  poa::destroy(m_impl->iteratorPoa);
  poa::destroy(m_impl->setPoa);
}

EpReferenceValueService::ReferenceValueService_ptr ReferenceValueRegistry::service() {
  CORBA::Object_var object = poa::makeReference(m_impl->servicePoa.in(), serviceId,
                                                EpReferenceValueService::_tc_ReferenceValueService->id());
  return EpReferenceValueService::ReferenceValueService::_narrow(object.in());
}

bool ReferenceValueRegistry::contains(const std::string& setName, const std::string& code) const {
  return m_impl->catalogue.contains(referenceAuthority, setName, code);
}

const ReferenceValueCatalogue& ReferenceValueRegistry::catalogue() const {
  return m_impl->catalogue;
}

} // namespace kelwelld
