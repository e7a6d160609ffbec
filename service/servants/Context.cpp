#include "servants/Context.h"

#include "core/PoaSupport.h"
#include "servants/Events.h"
#include "core/FaultInjection.h"
#include "store/Store.h"

namespace kelwelld {

std::string Context::currentId() const {
  return poa::currentObjectId(current.in());
}

CORBA::Object_ptr Context::reference(const std::string& id) const {
  const auto key = parseId(id);
  if (!key) return CORBA::Object::_nil();
  const auto found = poas.find(key->kind);
  if (found == poas.end()) return CORBA::Object::_nil();
  return poa::makeReference(found->second.in(), id, describe(key->kind).repositoryId);
}

EpEntity::EntitySeq* Context::entities(const std::vector<std::string>& ids, bool nilReferences) const {
  EpEntity::EntitySeq_var result = new EpEntity::EntitySeq;
  result->length(static_cast<CORBA::ULong>(ids.size()));
  for (CORBA::ULong i = 0; i < ids.size(); ++i)
    result[i] = nilReferences ? EpEntity::Entity::_nil() : referenceAs<EpEntity::Entity>(ids[i]);
  return result._retn();
}

std::optional<std::string> Context::idOf(CORBA::Object_ptr object,
                                          std::initializer_list<Kind> kinds) const {
  if (CORBA::is_nil(object)) return std::nullopt;
  for (Kind kind : kinds) {
    const auto found = poas.find(kind);
    if (found == poas.end()) continue;
    const auto id = poa::idIn(found->second.in(), object);
    const auto key = id ? parseId(*id) : std::nullopt;
    if (key && key->kind == kind) return id;
  }
  return std::nullopt;
}

void Context::changed(const std::string& id, const char* changeKind, const char* operation) const {
  changed(id, changeKind, operation, CosNotification::PropertySeq());
}

void Context::changed(const std::string& id, const char* changeKind, const char* operation,
                      CosNotification::PropertySeq filterable) const {
  if (!events) return;
  const auto key = parseId(id);
  if (!key) return;
  ChangeEvent change;
  change.entityType = describe(key->kind).scopedType;
  change.entityId = id;
  change.changeKind = changeKind;
  change.operation = operation;
  change.entity = reference(id);
  change.filterable = std::move(filterable);
  // A storeless entity lives in this process only: so do its changes.
  if (channel && describe(key->kind).stored) channel->send(encodeChange(change));
  events->publish(std::move(change));
}

void Context::changedElsewhere(const std::string& message) const {
  auto change = decodeChange(message);
  if (!events || !change || !parseId(change->entityId)) return;
  change->entity = reference(change->entityId);
  events->publish(std::move(*change));
}

} // namespace kelwelld
