#include "Context.h"

#include <EpiWell.hh>

#include "Corba.h"
#include "Events.h"
#include "FaultInjection.h"

namespace kelwelld {

const char* scopedTypeOf(Kind kind) {
  switch (kind) {
    case Kind::Project: return "EpSession::Project";
    case Kind::Well:
    case Kind::StorelessWell: return "EpiWell::Well";
    case Kind::WellBore:
    case Kind::StorelessWellBore: return "EpiWell::WellBore";
    case Kind::Session: return "EpSession::Session";
  }
  return "";
}

const char* entityTypeOf(Kind kind) {
  switch (kind) {
    case Kind::Project: return "EpSession_Project";
    case Kind::Well:
    case Kind::StorelessWell: return "EpiWell_Well";
    case Kind::WellBore:
    case Kind::StorelessWellBore: return "EpiWell_WellBore";
    case Kind::Session: return "EpSession_Session";
  }
  return "";
}

const char* repositoryIdOf(Kind kind) {
  switch (kind) {
    case Kind::Project: return EpSession::_tc_Project->id();
    case Kind::Well:
    case Kind::StorelessWell: return EpiWell::_tc_Well->id();
    case Kind::WellBore:
    case Kind::StorelessWellBore: return EpiWell::_tc_WellBore->id();
    case Kind::Session: return EpSession::_tc_Session->id();
  }
  return "";
}

std::string Context::currentId() const {
  PortableServer::ObjectId_var oid = current->get_object_id();
  return idText(oid.in());
}

CORBA::Object_ptr Context::reference(const std::string& id) const {
  const auto key = parseId(id);
  if (!key) return CORBA::Object::_nil();
  const auto poa = poas.find(key->kind);
  if (poa == poas.end()) return CORBA::Object::_nil();
  PortableServer::ObjectId_var oid = toOid(id);
  return poa->second->create_reference_with_id(oid.in(), repositoryIdOf(key->kind));
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
    const auto poa = poas.find(kind);
    if (poa == poas.end()) continue;
    try {
      PortableServer::ObjectId_var oid = poa->second->reference_to_id(object);
      const std::string id = idText(oid.in());
      const auto key = parseId(id);
      if (key && key->kind == kind) return id;
    } catch (const PortableServer::POA::WrongAdapter&) {
    } catch (const PortableServer::POA::WrongPolicy&) {
    }
  }
  return std::nullopt;
}

void Context::changed(const std::string& id, const char* changeKind, const char* operation) const {
  if (!events) return;
  const auto key = parseId(id);
  if (!key) return;
  ChangeEvent change;
  change.entityType = scopedTypeOf(key->kind);
  change.entityId = id;
  change.changeKind = changeKind;
  change.operation = operation;
  change.entity = reference(id);
  events->publish(std::move(change));
}

} // namespace kelwelld
