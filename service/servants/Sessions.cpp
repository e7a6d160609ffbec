#include "servants/Sessions.h"

#include "catalogue/Catalogues.h"
#include "core/FaultInjection.h"
#include "core/Query.h"
#include "core/RemoteErrors.h"
#include "core/Time.h"
#include "entity/Wells.h"
#include "servants/Events.h"
#include "servants/Limits.h"
#include "store/Store.h"

namespace kelwelld {

// ------------------------------------------------------------ SessionManager

SessionManagerServant::SessionManagerServant(Context& context, EpSession::FaultInjector_ptr faultInjector)
    : m_context(context), m_faultInjector(EpSession::FaultInjector::_duplicate(faultInjector)) {}

EpSession::Session_ptr SessionManagerServant::openSession(const char* user) {
  const auto fault = enterFault("openSession");
  if (wantsNil(fault)) return EpSession::Session::_nil();
  // The contract gives openSession no exception with a text.
  if (nameTooLong(user, "user name")) throw CORBA::BAD_PARAM(0, CORBA::COMPLETED_NO);
  std::string id;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Clock::time_point now = Clock::now();
    expireIdle(now);
    if (m_sessions.size() >= m_maxSessions) throw CORBA::NO_RESOURCES(0, CORBA::COMPLETED_NO);
    id = formatId(Kind::Session, ++m_lastSession);
    m_sessions.emplace(id, OpenSession{user, now});
  }
  return m_context.referenceAs<EpSession::Session>(id);
}

EpUnitOfMeasureService::UnitService_ptr SessionManagerServant::getUnitService() {
  const auto fault = enterFault("getUnitService");
  if (wantsNil(fault)) return EpUnitOfMeasureService::UnitService::_nil();
  return m_context.catalogues->unitService();
}

EpCoordinateService::CoordinateService_ptr SessionManagerServant::getCoordinateService() {
  const auto fault = enterFault("getCoordinateService");
  if (wantsNil(fault))
    return EpCoordinateService::CoordinateService::_nil();
  return m_context.catalogues->coordinateService();
}

EpReferenceValueService::ReferenceValueService_ptr SessionManagerServant::getReferenceValueService() {
  const auto fault = enterFault("getReferenceValueService");
  if (wantsNil(fault))
    return EpReferenceValueService::ReferenceValueService::_nil();
  return m_context.catalogues->referenceValueService();
}

EpSession::EventService_ptr SessionManagerServant::getEventService() {
  const auto fault = enterFault("getEventService");
  if (wantsNil(fault)) return EpSession::EventService::_nil();
  return EpSession::EventService::_duplicate(m_context.eventService.in());
}

EpSession::FaultInjector_ptr SessionManagerServant::getFaultInjector() {
  return EpSession::FaultInjector::_duplicate(m_faultInjector.in());
}

char* SessionManagerServant::getVersion() {
  enterFault("getVersion");
  return dup(m_context.version);
}

std::string SessionManagerServant::userOf(const std::string& sessionId) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_sessions.find(sessionId);
  if (found == m_sessions.end()) throwNotExist();
  const Clock::time_point now = Clock::now();
  if (now - found->second.lastUsed > m_sessionIdle) {
    m_sessions.erase(found);
    throwNotExist();
  }
  found->second.lastUsed = now;
  return found->second.user;
}

void SessionManagerServant::limitSessions(std::size_t most, std::chrono::seconds idle) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_maxSessions = most;
  m_sessionIdle = idle;
}

void SessionManagerServant::expireIdle(Clock::time_point now) {
  for (auto session = m_sessions.begin(); session != m_sessions.end();) {
    if (now - session->second.lastUsed > m_sessionIdle) session = m_sessions.erase(session);
    else ++session;
  }
}

// ------------------------------------------------------------------- Session

SessionServant::SessionServant(Context& context, SessionManagerServant& manager,
                               CosLifeCycle::FactoryFinder_ptr finder)
    : m_context(context), m_manager(manager), m_finder(CosLifeCycle::FactoryFinder::_duplicate(finder)) {}

std::string SessionServant::session(const char* operation) {
  const std::string id = m_context.currentId();
  enterFault(operation, id);
  return m_manager.userOf(id);
}

char* SessionServant::getUser() {
  return dup(session("getUser"));
}

char* SessionServant::getUnitSystem() {
  session("getUnitSystem");
  return dup(m_context.unitSystem);
}

EpSession::Project_ptr SessionServant::openProject(const char* name) {
  const std::string id = m_context.currentId();
  const auto fault = enterFault("openProject", id);
  m_manager.userOf(id);
  if (wantsNil(fault)) return EpSession::Project::_nil();
  const auto project = m_context.wells->projectNamed(name);
  if (!project) throwFailed("There is no project named " + quoted(name) + ". ");
  return m_context.referenceAs<EpSession::Project>(*project);
}

EpSession::Project_ptr SessionServant::createProject(const char* name) {
  const std::string id = m_context.currentId();
  const auto fault = enterFault("createProject", id);
  m_manager.userOf(id);
  if (wantsNil(fault)) return EpSession::Project::_nil();
  if (const auto reason = textTooLong(name, "project name")) throwFailed(*reason);
  const std::string projectId = m_context.wells->createProject(name).id;
  m_context.changed(projectId, "created", "createProject");
  return m_context.referenceAs<EpSession::Project>(projectId);
}

EpSession::ProjectSeq* SessionServant::listProjects() {
  const std::string id = m_context.currentId();
  const auto fault = enterFault("listProjects", id);
  m_manager.userOf(id);
  const bool nilReferences = wantsNil(fault);
  const std::vector<std::string> ids = m_context.wells->projectIds();
  EpSession::ProjectSeq_var projects = new EpSession::ProjectSeq;
  projects->length(static_cast<CORBA::ULong>(ids.size()));
  for (CORBA::ULong i = 0; i < ids.size(); ++i)
    projects[i] = nilReferences ? EpSession::Project::_nil() : m_context.referenceAs<EpSession::Project>(ids[i]);
  return projects._retn();
}

CosLifeCycle::FactoryFinder_ptr SessionServant::getFactoryFinder() {
  const std::string id = m_context.currentId();
  const auto fault = enterFault("getFactoryFinder", id);
  m_manager.userOf(id);
  if (wantsNil(fault)) return CosLifeCycle::FactoryFinder::_nil();
  return CosLifeCycle::FactoryFinder::_duplicate(m_finder.in());
}

// ------------------------------------------------------------------- Project

ProjectServant::ProjectServant(Context& context) : m_context(context) {}

std::pair<long long, std::string> ProjectServant::project(const char* operation) {
  const std::string id = m_context.currentId();
  if (operation) enterFault(operation, id);
  const auto number = numberOf(id, Kind::Project);
  if (!number) throwNotExist();
  auto name = m_context.records->of<ProjectRecord>().field(id, &ProjectRecord::name);
  if (!name) throwNotExist();
  return {*number, std::move(*name)};
}

char* ProjectServant::getId() {
  const auto p = project("getId");
  return dup(formatId(Kind::Project, p.first));
}

char* ProjectServant::getStoreName() {
  project("getStoreName");
  return dup(m_context.store->name());
}

char* ProjectServant::getEntityType() {
  project("getEntityType");
  return dup(describe(Kind::Project).entityType);
}

char* ProjectServant::getName() {
  return dup(project("getName").second);
}

EpEntity::EntitySeq* ProjectServant::executeQuery(const char* entityType, const char* whereClause,
                                                  const EpSession::QueryParameterSeq& parameters) {
  const std::string id = m_context.currentId();
  const auto fault = enterFault("executeQuery", id);
  const auto p = project(nullptr);
  const std::string type(entityType);
  const QueryTable* table = nullptr;
  std::string known;
  for (const EntityKind& kind : entityKinds()) {
    if (!kind.query) continue;
    if (kind.query->schema.entityType == type) table = kind.query;
    known += (known.empty() ? "" : ", ") + kind.query->schema.entityType;
  }
  if (!table) throwBadArguments("The entity type " + quoted(type) + " cannot be queried; known: " + known + ". ");
  QueryParameters values;
  for (CORBA::ULong i = 0; i < parameters.length(); ++i)
    values.emplace_back(parameters[i].name.in(), parameters[i].value.in());
  CompiledQuery query;
  try {
    query = compileWhere(table->schema, whereClause, values);
  } catch (const QueryError& e) {
    throwBadArguments(e.what());
  }
  return m_context.entities(runQuery(*m_context.store, *table, p.first, query), wantsNil(fault));
}

// ------------------------------------------------------------- FactoryFinder

FactoryFinderServant::FactoryFinderServant(Context& context) : m_context(context) {}

void FactoryFinderServant::add(const char* repositoryId, bool stored, CORBA::Object_ptr factory) {
  m_factories[{repositoryId, stored}] = CORBA::Object::_duplicate(factory);
}

CosLifeCycle::Factories* FactoryFinderServant::find_factories(const CosLifeCycle::Key& key) {
  const auto fault = enterFault("find_factories");
  if (key.length() != 1) throw CosLifeCycle::NoFactory(key);
  const std::string id(key[0].id.in());
  const std::string kind(key[0].kind.in());
  const bool stored = !kind.empty();
  if (stored && kind != m_context.store->name()) throw CosLifeCycle::NoFactory(key);
  const auto found = m_factories.find({id, stored});
  if (found == m_factories.end()) throw CosLifeCycle::NoFactory(key);
  CosLifeCycle::Factories_var factories = new CosLifeCycle::Factories;
  factories->length(1);
  factories[0] = wantsNil(fault)
                     ? CORBA::Object::_nil()
                     : CORBA::Object::_duplicate(found->second.in());
  return factories._retn();
}

} // namespace kelwelld
