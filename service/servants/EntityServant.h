// What every servant of an entity shares: the record (or just the field)
// behind the object id of the call, one write per change (time stamp and
// data-changed event included), and the operations common to all entities.
// A servant class derives from EntityServant<its skeleton, its record> and
// adds its own attributes.
#ifndef KELWELLD_ENTITYSERVANT_H
#define KELWELLD_ENTITYSERVANT_H

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CosPropertyService.hh>
#include <EpSession.hh>

#include "core/FaultInjection.h"
#include "core/RemoteErrors.h"
#include "core/Time.h"
#include "entity/Entities.h"
#include "servants/Context.h"
#include "servants/EntityKinds.h"
#include "servants/RemoteValues.h"

namespace kelwelld {

template <class Skeleton, class Record>
class EntityServant : public Skeleton {
public:
  char* getId() override { return dup(readField("getId", &Record::id).value); }

  char* getStoreName() override {
    const auto key = parseId(readField("getStoreName", &Record::id).value);
    return dup(key && describe(key->kind).stored ? m_context.store->name() : std::string());
  }

  char* getEntityType() override {
    const auto key = parseId(readField("getEntityType", &Record::id).value);
    return dup(key ? describe(key->kind).entityType : "");
  }

  EpSession::Project_ptr getProject() override {
    const auto call = readField("getProject", &Record::projectId);
    if (wantsNil(call.fault) || call.value.empty()) return EpSession::Project::_nil();
    return m_context.referenceAs<EpSession::Project>(call.value);
  }

protected:
  explicit EntityServant(Context& context)
      : m_context(context), m_records(context.records->template of<Record>()) {}

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
    auto record = m_records.find(call.id);
    if (!record) throwNotExist();
    call.record = std::move(*record);
    return call;
  }

  template <class T>
  struct FieldCall {
    T value;
    std::optional<ValueFault> fault;
  };

  // Enters the operation as read() does, but loads only the field that
  // fills member.
  template <class T>
  FieldCall<T> readField(const char* operation, T Record::*member) {
    const std::string id = m_context.currentId();
    const auto fault = enterFault(operation, id);
    auto value = m_records.field(id, member);
    if (!value) throwNotExist();
    return {std::move(*value), fault};
  }

  // Applies change in one write (the operation has entered its fault check
  // and validated its input); stamps the part changed and reports the change.
  void write(const char* operation, std::string Record::*stamp, const std::function<void(Record&)>& change) {
    const std::string id = m_context.currentId();
    const std::string now = nowUtc();
    const auto saved = m_records.modify(id, [&](Record& r) {
      change(r);
      r.*stamp = now;
    });
    if (!saved) throwNotExist();
    m_context.changed(id, "modified", operation);
  }

  char* text(const char* operation, std::string Record::*member) {
    return dup(readField(operation, member).value);
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
  EntityRecords<Record>& m_records;
};

} // namespace kelwelld

#endif
