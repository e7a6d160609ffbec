// Where clauses of Project::executeQuery.
//
//   clause    := condition { "and" condition }        (empty: every entity)
//   condition := <EntityType> "." path op operand
//   op        := "=" | "!=" | "<>" | "<" | "<=" | ">" | ">=" | "like"
//   operand   := ":" name                              (a parameter)
//              | 'text' | "text"                       (a literal; a doubled
//                                                        quote stands for one)
//
// "and" and "like" are case-insensitive. Paths come from a fixed list per
// entity type; each maps to one SQL expression of the service's own. The
// clause compiles into SQL text with "?" placeholders and the values to bind
// to them, in order: nothing a caller sends ever becomes SQL text.
#ifndef KELWELLD_QUERY_H
#define KELWELLD_QUERY_H

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kelwelld {

struct QueryField {
  std::string path;   // as written after "<EntityType>.", for example "project.name"
  std::string sql;    // the expression it stands for
};

struct QuerySchema {
  std::string entityType;          // "EpiWell_Well"
  std::vector<QueryField> fields;
};

struct CompiledQuery {
  std::string where;                 // "" when the clause is empty
  std::vector<std::string> values;   // one per "?" in where, in order
};

// The clause was refused; what() says what was wrong and where.
class QueryError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A parameter name may be given with or without its leading ':'.
using QueryParameters = std::vector<std::pair<std::string, std::string>>;

// The most conditions a clause may join.
constexpr std::size_t maxQueryConditions = 64;

CompiledQuery compileWhere(const QuerySchema& schema, const std::string& clause,
                           const QueryParameters& parameters);

} // namespace kelwelld

#endif
