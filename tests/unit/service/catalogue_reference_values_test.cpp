#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ReferenceValues.h"

using kelwelld::CatalogueError;
using kelwelld::ReferenceValueCatalogue;
using kelwelld::ReferenceValueEntry;
using testing::HasSubstr;

namespace {

std::vector<std::string> codes(const std::string& setName) {
  const auto* values = ReferenceValueCatalogue::builtIn().find("Kelvast", setName);
  if (values == nullptr) {
    throw std::runtime_error("no set " + setName);
  }
  std::vector<std::string> result;
  for (const auto& value : *values) {
    result.push_back(value.code);
  }
  return result;
}

} // namespace

TEST(ReferenceValues, BuiltInSetsHoldTheCodesWellboresAndPicksUse) {
  using testing::IsSupersetOf;
  EXPECT_THAT(codes("FlowDirection"), IsSupersetOf({"production", "injection", "observation"}));
  EXPECT_THAT(codes("WellboreStatus"),
              IsSupersetOf({"planned", "drilling", "completed", "producing", "injecting", "suspended", "shut-in",
                            "abandoned", "plugged and abandoned"}));
  EXPECT_THAT(codes("GenericFluidComponent"), IsSupersetOf({"oil", "gas", "water", "condensate", "CO2"}));
  EXPECT_THAT(codes("ConfidenceFactor"), IsSupersetOf({"high", "medium", "low", "uncertain"}));
  EXPECT_TRUE(codes("EmptySet").empty());
  // Order is the table's: clients list codes as the service gives them.
  EXPECT_EQ(codes("ConfidenceFactor").front(), "high");

  for (const auto& id : ReferenceValueCatalogue::builtIn().sets()) {
    EXPECT_EQ(id.authority, "Kelvast");
    for (const auto& value : *ReferenceValueCatalogue::builtIn().find(id.authority, id.setName)) {
      EXPECT_FALSE(value.description.empty()) << id.setName << " " << value.code;
    }
  }
}

TEST(ReferenceValues, ContainsMatchesWholeCodesOfOneSet) {
  const auto& values = ReferenceValueCatalogue::builtIn();
  EXPECT_TRUE(values.contains("Kelvast", "WellboreStatus", "shut-in"));
  EXPECT_TRUE(values.contains("Kelvast", "WellboreStatus", "plugged and abandoned"));
  EXPECT_FALSE(values.contains("Kelvast", "WellboreStatus", "Producing"));   // case matters
  EXPECT_FALSE(values.contains("Kelvast", "WellboreStatus", "produc"));
  EXPECT_FALSE(values.contains("Kelvast", "FlowDirection", "oil"));          // another set's code
  EXPECT_FALSE(values.contains("Kelvast", "NoSuchSet", "oil"));
  EXPECT_FALSE(values.contains("Other", "GenericFluidComponent", "oil"));
  EXPECT_FALSE(values.contains("Kelvast", "EmptySet", ""));
  EXPECT_EQ(values.find("Kelvast", "NoSuchSet"), nullptr);
}

TEST(ReferenceValues, TableDeclaresSetsAndRefusesDuplicateCodes) {
  const auto catalogue = ReferenceValueCatalogue::fromTable(
      "# comment\n"
      "A\tColours\tred\tthe colour red\n"
      "A\tEmpty\t\t\n"
      "B\tColours\tred\n"
      "A\tColours\tblue\tblue\r\n");
  ASSERT_EQ(catalogue.sets().size(), 3u);
  EXPECT_EQ(catalogue.sets()[1].setName, "Empty");
  ASSERT_EQ(catalogue.find("A", "Colours")->size(), 2u);
  EXPECT_EQ(catalogue.find("A", "Colours")->at(1).code, "blue");
  EXPECT_TRUE(catalogue.find("A", "Empty")->empty());
  EXPECT_EQ(catalogue.find("B", "Colours")->at(0).description, "");

  const auto refusal = [](const char* table) -> std::string {
    try {
      ReferenceValueCatalogue::fromTable(table);
    } catch (const CatalogueError& error) {
      return error.what();
    }
    return "accepted";
  };
  EXPECT_EQ(refusal("A\tColours\tred\tx\nA\tShapes\tred\ty\nA\tColours\tred\tz\n"),
            "Reference value table, line 3: the code 'red' is listed twice in set 'A/Colours' (first on line 1). ");
  EXPECT_THAT(refusal("A\tColours\n"), HasSubstr("line 1: expected 3 or 4"));
  EXPECT_THAT(refusal("\tColours\tred\n"), HasSubstr("must not be empty"));
}
