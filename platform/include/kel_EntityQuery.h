#ifndef KEL_ENTITYQUERY_H
#define KEL_ENTITYQUERY_H

#include <vector>
#include <utility>

#include "kel_Array.h"
#include "kel_Entity.h"
#include "kel_Project.h"

// A query for the entities of one type in a project, executed by the service.
// The where clause compares "<EntityType>.<path>" with literals or ":name"
// parameters, for example "EpiWell_Well.project.name = :prjname"; parameter
// values are bound by the service, never pasted into its query text.
class kel_EntityQuery {
public:
  kel_EntityQuery(const kel_Project& project, const char* entityType);
  ~kel_EntityQuery();

  void setWhereClause(const char* whereClause);
  void addParameter(const char* name, const char* value);
  // kel_UserException for a clause or parameter the service refuses,
  // kel_SystemException for other failures.
  void execute();
  // The matching entities, in the service's order (creation order).
  kel_Array<kel_Entity> getEntityResult() const;

private:
  kel_Project m_project;
  kel_cppUtil::String m_entityType;
  kel_cppUtil::String m_whereClause;
  std::vector<std::pair<kel_cppUtil::String, kel_cppUtil::String> > m_parameters;
  kel_Array<kel_Entity> m_result;
};

#endif
