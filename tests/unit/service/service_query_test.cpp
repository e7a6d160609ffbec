// The where-clause compiler of Project::executeQuery.
#include <gtest/gtest.h>

#include "core/Query.h"

using kelwelld::compileWhere;
using kelwelld::QueryError;
using kelwelld::QuerySchema;

namespace {

const QuerySchema schema{"EpiWell_Well",
                         {{"name", "w.name"}, {"project.name", "p.name"}, {"country", "w.country"}}};

std::string refusal(const std::string& clause, const kelwelld::QueryParameters& parameters = {}) {
  try {
    compileWhere(schema, clause, parameters);
  } catch (const QueryError& e) {
    return e.what();
  }
  return "accepted";
}

} // namespace

TEST(QueryCompiler, BindsParametersAndLiteralsInsteadOfPastingThem) {
  const auto query = compileWhere(schema, "EpiWell_Well.project.name = :prjname",
                                  {{":prjname", "North Sea"}});
  EXPECT_EQ(query.where, "(p.name = ?)");
  EXPECT_EQ(query.values, std::vector<std::string>{"North Sea"});

  const auto joined = compileWhere(
      schema, "EpiWell_Well.country <> 'O''Neil' AND EpiWell_Well.name like \"A%\" and EpiWell_Well.name>=:n",
      {{"n", "x'); DROP TABLE wells; --"}});
  EXPECT_EQ(joined.where, "(w.country != ?) AND (w.name LIKE ? ESCAPE '\\') AND (w.name >= ?)");
  EXPECT_EQ(joined.values, (std::vector<std::string>{"O'Neil", "A%", "x'); DROP TABLE wells; --"}));

  EXPECT_EQ(compileWhere(schema, "   ", {}).where, "");
}

TEST(QueryCompiler, RefusesAnythingOutsideTheGrammarAndSaysWhere) {
  EXPECT_EQ(refusal("EpiWell_Well.secret = 'x'"),
            "The where clause \"EpiWell_Well.secret = 'x'\" was refused: unknown path "
            "\"EpiWell_Well.secret\" (known: EpiWell_Well.name, EpiWell_Well.project.name, "
            "EpiWell_Well.country) at position 1. ");
  EXPECT_EQ(refusal("EpiWell_Well.name = :missing"),
            "The where clause \"EpiWell_Well.name = :missing\" was refused: the parameter :missing has no "
            "value at position 21. ");
  EXPECT_NE(refusal("EpiWell_WellBore.name = 'x'").find("does not start with EpiWell_Well."), std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name = 'x'; DROP TABLE wells").find("unexpected character ';' at position 24"),
            std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name = 'open").find("not closed"), std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name = 42").find("expected a :parameter or a quoted text"), std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name 'x'").find("expected an operator"), std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name = 'x' or EpiWell_Well.name = 'y'").find("expected \"and\""),
            std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name = 'x' and").find("expected EpiWell_Well.<path>"), std::string::npos);
  EXPECT_NE(refusal("(EpiWell_Well.name = 'x')").find("unexpected character '('"), std::string::npos);
  EXPECT_NE(refusal("EpiWell_Well.name = :").find("a parameter name must follow ':'"), std::string::npos);

  std::string tooMany = "EpiWell_Well.name = 'a'";
  for (std::size_t i = 0; i < kelwelld::maxQueryConditions; ++i) tooMany += " and EpiWell_Well.name = 'a'";
  EXPECT_NE(refusal(tooMany).find("more than"), std::string::npos);
}
