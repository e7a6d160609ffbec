// What every servant of a well entity shares: the record behind the object id
// of the call, one write per change (time stamp and data-changed event
// included), and the operations common to all entities. A servant class
// derives from EntityServant<its skeleton, its record> and adds its own
// attributes; a new entity kind adds its RecordAccess.
#ifndef KELWELLD_ENTITYSERVANT_H
#define KELWELLD_ENTITYSERVANT_H

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CosPropertyService.hh>
#include <EpSession.hh>

#include "../core/Context.h"
#include "../core/Corba.h"
#include "../core/FaultInjection.h"
#include "../core/Ids.h"
#include "../core/Store.h"
#include "../core/Time.h"
#include "Records.h"
#include "Values.h"
#include "WellData.h"

namespace kelwelld {

// How the records of one entity kind are found and changed.
template <class Record>
struct RecordAccess;

template <>
struct RecordAccess<WellRecord> {
  static constexpr Kind kind = Kind::Well;
  static std::optional<WellRecord> find(WellData& data, const std::string& id) { return data.well(id); }
  static std::optional<WellRecord> modify(WellData& data, const std::string& id,
                                          const std::function<void(WellRecord&)>& change) {
    return data.modifyWell(id, change);
  }
};

template <>
struct RecordAccess<WellBoreRecord> {
  static constexpr Kind kind = Kind::WellBore;
  static std::optional<WellBoreRecord> find(WellData& data, const std::string& id) {
    return data.wellBore(id);
  }
  static std::optional<WellBoreRecord> modify(WellData& data, const std::string& id,
                                              const std::function<void(WellBoreRecord&)>& change) {
    return data.modifyWellBore(id, change);
  }
};

template <class Skeleton, class Record>
class EntityServant : public Skeleton {
public:
  char* getId() override { return dup(read("getId").id); }

  char* getStoreName() override {
    const auto key = parseId(read("getStoreName").id);
    return dup(key && isStored(key->kind) ? m_context.store->name() : std::string());
  }

  char* getEntityType() override {
    read("getEntityType");
    return dup(entityTypeOf(RecordAccess<Record>::kind));
  }

  EpSession::Project_ptr getProject() override {
    const Call call = read("getProject");
    if (wantsNil(call.fault) || call.record.projectId.empty()) return EpSession::Project::_nil();
    return m_context.referenceAs<EpSession::Project>(call.record.projectId);
  }

protected:
  explicit EntityServant(Context& context) : m_context(context) {}

  struct Call {
    std::string id;
    Record record;
    std::optional<ValueFault> fault;
  };

  // Enters the operation: fault check, then the record (OBJECT_NOT_EXIST when gone).
  Call read(const char* operation) {
    Call call;
    call.id = m_context.currentId();
    call.fault = enterFault(operation, call.id);
    auto record = RecordAccess<Record>::find(*m_context.wells, call.id);
    if (!record) throwNotExist();
    call.record = std::move(*record);
    return call;
  }

  // Applies change in one write (the operation has entered its fault check
  // and validated its input); stamps the part changed and reports the change.
  void write(const char* operation, std::string Record::*stamp, const std::function<void(Record&)>& change) {
    const std::string id = m_context.currentId();
    const std::string now = nowUtc();
    const auto saved = RecordAccess<Record>::modify(*m_context.wells, id, [&](Record& r) {
      change(r);
      r.*stamp = now;
    });
    if (!saved) throwNotExist();
    m_context.changed(id, "modified", operation);
  }

  char* text(const char* operation, std::string Record::*member) {
    return dup(read(operation).record.*member);
  }

  // The time of the last change of the part the selector names, from a table
  // of selectors and stamps; "" and "all" name the newest of them all.
  char* lastModified(const char* selector,
                     const std::vector<std::pair<const char*, std::string Record::*>>& parts) {
    const Call call = read("getLastModified");
    const std::string which(selector);
    if (which.empty() || which == "all") {
      // ISO 8601 stamps of one format sort by time.
      std::string newest = call.record.created;
      for (const auto& part : parts) newest = std::max(newest, call.record.*part.second);
      return dup(newest);
    }
    std::string valid = "\"\" or \"all\"";
    for (const auto& part : parts) {
      if (which == part.first) return dup(call.record.*part.second);
      valid += std::string(", \"") + part.first + "\"";
    }
    throwValidation("The selector " + quoted(which) + " is not known; valid selectors: " + valid + ". ");
  }

  CosPropertyService::Property* identifier() {
    const Call call = read("getIdentifier");
    return propertyToRemote(call.record.identifierName, call.record.identifierValue);
  }

  CosPropertyService::Properties* aliases() { return aliasesToRemote(read("getAliases").record.aliases); }

  void setAliasesFrom(const CosPropertyService::Properties& aliases) {
    enterFault("setAliases", m_context.currentId());
    const std::vector<Alias> list = aliasesFromRemote(aliases);
    write("setAliases", &Record::modifiedAliases, [&](Record& r) { r.aliases = list; });
  }

  Context& m_context;
};

} // namespace kelwelld

#endif
