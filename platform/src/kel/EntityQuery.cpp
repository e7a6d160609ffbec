#include "kel_EntityQuery.h"

#include "kel_PlatformInternal.h"

kel_EntityQuery::kel_EntityQuery(const kel_Project& project, const char* entityType)
    : m_project(project), m_entityType(entityType), m_result(0) {}

kel_EntityQuery::~kel_EntityQuery() = default;

void kel_EntityQuery::setWhereClause(const char* whereClause) { m_whereClause = whereClause; }

void kel_EntityQuery::addParameter(const char* name, const char* value) {
  m_parameters.emplace_back(kel_cppUtil::String(name), kel_cppUtil::String(value));
}

void kel_EntityQuery::execute() {
  kel_cppUtil::String message("Could not query the entities of type \"");
  message += m_entityType;
  message += "\". ";
  EpSession::Project_ptr project =
      static_cast<EpSession::Project_ptr>(m_project.getRemoteObject(kel_Internal()));
  if (project == nullptr) throw kel_UserException(message, "The project is nil. ");

  EpSession::QueryParameterSeq parameters;
  parameters.length(static_cast<CORBA::ULong>(m_parameters.size()));
  for (CORBA::ULong i = 0; i < parameters.length(); ++i) {
    parameters[i].name = CORBA::string_dup(m_parameters[i].first);
    parameters[i].value = CORBA::string_dup(m_parameters[i].second);
  }
  EpEntity::EntitySeq_var entities;
  try {
    entities = project->executeQuery(m_entityType, m_whereClause, parameters);
  } catch (const EpTypes::BadArgumentsException& error) {
    throw kel_UserException(message, error.reason.in());
  } catch (const EpDataStore::StoreException& error) {
    kel_cppUtil::String context("The data store failed: ");
    context += error.message.in();
    context += error.detail.in();
    throw kel_SystemException(message, context);
  } catch (const CORBA::Exception& error) {
    throw kel_SystemException(message, kel_platform::describe(error));
  }
  kel_Array<kel_Entity> result(entities->length());
  for (CORBA::ULong i = 0; i < entities->length(); ++i)
    result.set(i, kel_Entity(kel_RemoteStub(entities[i].in()), true));
  m_result = result;
}

kel_Array<kel_Entity> kel_EntityQuery::getEntityResult() const { return m_result; }
