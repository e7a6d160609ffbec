#include <cmath>
#include <map>
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "UnitCatalogue.h"

using kelwelld::CatalogueError;
using kelwelld::ConversionError;
using kelwelld::UnitCatalogue;
using kelwelld::UnitDefinition;
using testing::HasSubstr;

namespace {

const UnitCatalogue& units() {
  return UnitCatalogue::builtIn();
}

const UnitDefinition& unit(const char* acronym) {
  const UnitDefinition* found = units().find(acronym);
  if (found == nullptr) {
    throw std::runtime_error(std::string("no unit ") + acronym);
  }
  return *found;
}

double convert(double value, const char* from, const char* to) {
  return units().convert(value, unit(from), unit(to));
}

} // namespace

TEST(UnitCatalogue, ConvertsWithTheExactPublishedFactors) {
  EXPECT_EQ(convert(1.0, "ft", "m"), 0.3048);
  EXPECT_EQ(convert(1.0, "ft/s", "m/s"), 0.3048);
  EXPECT_EQ(convert(1000.0, "ms", "s"), 1.0);
  EXPECT_EQ(convert(1.0, "s", "ms"), 1000.0);
  EXPECT_EQ(convert(1.0, "in", "m"), 0.0254);
  EXPECT_EQ(convert(1.0, "lbm", "kg"), 0.45359237);
  EXPECT_EQ(convert(1.0, "bbl", "m3"), 0.158987294928);
  EXPECT_DOUBLE_EQ(convert(1.0, "m", "ft"), 1.0 / 0.3048);   // not 3.28084
  EXPECT_DOUBLE_EQ(convert(3937.0, "ftUS", "m"), 1200.0);
  EXPECT_DOUBLE_EQ(convert(180.0, "dega", "rad"), M_PI);
  EXPECT_DOUBLE_EQ(convert(200.0, "gon", "dega"), 180.0);
  EXPECT_DOUBLE_EQ(convert(1.0, "psi", "kPa"), 6.894757293168361);
  EXPECT_DOUBLE_EQ(convert(1.0, "g/cm3", "kg/m3"), 1000.0);
  EXPECT_DOUBLE_EQ(convert(1.0, "lbm/galUS", "kg/m3"), 0.45359237 / 0.003785411784);
  EXPECT_DOUBLE_EQ(convert(1.0, "bbl/d", "m3/d"), 0.158987294928);
  EXPECT_DOUBLE_EQ(convert(100.0, "us/ft", "us/m"), 100.0 / 0.3048);
  EXPECT_DOUBLE_EQ(convert(1.0, "ft", "in"), 12.0);
  EXPECT_DOUBLE_EQ(convert(1.0, "mi", "ft"), 5280.0);
  EXPECT_DOUBLE_EQ(convert(50.0, "%", "v/v"), 0.5);
  EXPECT_DOUBLE_EQ(convert(1.0, "ft/ms", "m/s"), 304.8);
}

TEST(UnitCatalogue, ConvertsTemperaturesWithTheirOffsets) {
  EXPECT_NEAR(convert(32.0, "degF", "degC"), 0.0, 1e-12);
  EXPECT_NEAR(convert(212.0, "degF", "degC"), 100.0, 1e-12);
  EXPECT_NEAR(convert(-40.0, "degC", "degF"), -40.0, 1e-12);
  EXPECT_DOUBLE_EQ(convert(0.0, "degC", "K"), 273.15);
  EXPECT_NEAR(convert(0.0, "degF", "degR"), 459.67, 1e-12);
  EXPECT_NEAR(convert(491.67, "degR", "degC"), 0.0, 1e-12);
}

TEST(UnitCatalogue, ConvertingToTheSameUnitKeepsTheValue) {
  const double value = 0.1 + 0.2;
  EXPECT_EQ(units().convert(value, unit("degF"), unit("degF")), value);
  EXPECT_EQ(units().convert(value, unit("ft"), unit("FEET")), value);
}

TEST(UnitCatalogue, UsualSpellingsResolveToOneCanonicalUnit) {
  const std::map<std::string, std::string> spellings{
      {"ft", "ft"},     {"FT", "ft"},       {"F", "ft"},         {"FEET", "ft"},     {"feet", "ft"},
      {"foot", "ft"},   {"m", "m"},         {"M", "m"},          {"METERS", "m"},    {"METRES", "m"},
      {"meter", "m"},   {"metre", "m"},     {"s", "s"},          {"S", "s"},         {"SEC", "s"},
      {"ms", "ms"},     {"MS", "ms"},       {"MSEC", "ms"},      {"deg", "dega"},    {"DEG", "dega"},
      {"dega", "dega"}, {"OHMM", "ohm.m"},  {"GAPI", "gAPI"},    {"US/F", "us/ft"},  {"US/M", "us/m"},
      {"G/C3", "g/cm3"}, {"g/cc", "g/cm3"}, {"V/V", "v/v"},      {"m3/m3", "v/v"},   {"MV", "mV"},
      {"K/M3", "kg/m3"}, {"IN", "in"},      {"usft", "ftUS"},    {"ppg", "lbm/galUS"}};
  for (const auto& [spelling, canonical] : spellings) {
    const UnitDefinition* found = units().find(spelling);
    ASSERT_NE(found, nullptr) << spelling;
    EXPECT_EQ(found->acronym, canonical) << spelling;
  }
  const UnitDefinition* unitless = units().find("unitless");
  ASSERT_NE(unitless, nullptr);
  EXPECT_EQ(unitless->acronym, "unitless");
}

TEST(UnitCatalogue, UnknownSpellingsAreNotFound) {
  for (const char* spelling : {"xyz", "", "Ft", "metres per fortnight", " ft", "ft "}) {
    EXPECT_EQ(units().find(spelling), nullptr) << "'" << spelling << "'";
  }
}

TEST(UnitCatalogue, RefusesToConvertBetweenQuantities) {
  try {
    convert(1.0, "ft", "s");
    FAIL() << "converted length to time";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(),
                 "Cannot convert from 'ft' (length) to 's' (time): the units measure different quantities. ");
  }
  EXPECT_THROW(convert(1.0, "m/s", "us/m"), ConversionError);   // velocity is not slowness
  EXPECT_THROW(convert(1.0, "degC", "dega"), ConversionError);
}

TEST(UnitCatalogue, DefaultSetsHoldTheirMembersInTheFixedOrder) {
  const std::vector<std::string> measures{"angle",       "distance", "area",  "volume",  "mass",
                                          "time",        "temperature", "pressure", "depth", "density",
                                          "flow rate",   "slowness", "velocity"};
  const std::map<std::string, std::vector<std::string>> expected{
      {"metric", {"dega", "m", "m2", "m3", "kg", "ms", "degC", "kPa", "m", "g/cm3", "m3/d", "us/m", "m/s"}},
      {"field", {"dega", "ft", "ft2", "ft3", "lbm", "ms", "degF", "psi", "ft", "g/cm3", "bbl/d", "us/ft", "ft/s"}}};
  // The quantity class each measure must have, whatever the system.
  const std::vector<std::string> quantities{"angle", "length", "area",  "volume",    "mass",     "time",   "temperature",
                                            "pressure", "length", "density", "flow rate", "slowness", "velocity"};
  ASSERT_EQ(UnitCatalogue::unitSystems(), (std::vector<std::string>{"metric", "field"}));
  for (const auto& [system, acronyms] : expected) {
    const auto set = units().defaultSet(system);
    ASSERT_EQ(set.size(), UnitCatalogue::defaultSetSize);
    for (std::size_t i = 0; i < set.size(); ++i) {
      EXPECT_EQ(set[i].measure, measures[i]) << system << " " << i;
      EXPECT_EQ(set[i].unit->acronym, acronyms[i]) << system << " " << i;
      EXPECT_EQ(set[i].unit->quantity, quantities[i]) << system << " " << i;
    }
  }
  try {
    units().defaultSet("imperial");
    FAIL() << "accepted an unknown unit system";
  } catch (const std::invalid_argument& error) {
    EXPECT_THAT(error.what(), HasSubstr("'imperial'"));
  }
}

TEST(UnitCatalogue, EveryQuantityClassHasItsBaseUnit) {
  std::set<std::string> quantities;
  std::set<std::string> withBase;
  for (const auto& definition : units().units()) {
    quantities.insert(definition.quantity);
    if (definition.factor == 1.0 && definition.offset == 0.0) {
      withBase.insert(definition.quantity);
    }
  }
  EXPECT_EQ(quantities, withBase);
}

TEST(UnitCatalogue, TableAcceptsExpressionsAndAliasLists) {
  const auto catalogue = UnitCatalogue::fromTable(
      "# comment\n"
      "m\tmetre\tlength\t1\t0\tM, metre\r\n"
      "\n"
      "ftUS\tUS survey foot\tlength\t1200/3937\t0\n"
      "dega\tdegree\tangle\tpi/180\t0\tdeg\n"
      "degF\tdegree Fahrenheit\ttemperature\t5/9\t459.67*5/9\t\n");
  ASSERT_EQ(catalogue.units().size(), 4u);
  EXPECT_EQ(catalogue.find("metre")->acronym, "m");
  EXPECT_EQ(catalogue.find("ftUS")->factor, 1200.0 / 3937.0);
  EXPECT_EQ(catalogue.find("deg")->factor, M_PI / 180.0);
  EXPECT_EQ(catalogue.find("degF")->offset, 459.67 * 5 / 9);
  EXPECT_TRUE(catalogue.find("degF")->aliases.empty());
}

TEST(UnitCatalogue, TableRefusesDuplicateSpellingsAndBadLines) {
  const auto refusal = [](const char* table) -> std::string {
    try {
      UnitCatalogue::fromTable(table);
    } catch (const CatalogueError& error) {
      return error.what();
    }
    return "accepted";
  };
  EXPECT_EQ(refusal("m\tmetre\tlength\t1\t0\tM\n"
                    "mi\tmile\tlength\t1609.344\t0\tM\n"),
            "Unit table, line 2: the spelling 'M' is used twice; line 1 gives it to 'm'. ");
  EXPECT_EQ(refusal("m\tmetre\tlength\t1\t0\tM\nm\tmetre again\tlength\t1\t0\n"),
            "Unit table, line 2: the spelling 'm' is used twice; line 1 gives it to 'm'. ");
  EXPECT_EQ(refusal("m\tmetre\tlength\t1\t0\tM,M\n"), "Unit table, line 1: the spelling 'M' is used twice on this line. ");
  EXPECT_THAT(refusal("m\tmetre\tlength\t1\n"), HasSubstr("line 1: expected 5 or 6"));
  EXPECT_THAT(refusal("m\tmetre\tlength\tone\t0\n"), HasSubstr("the factor 'one' of 'm' is not a positive number"));
  EXPECT_THAT(refusal("m\tmetre\tlength\t0\t0\n"), HasSubstr("is not a positive number"));
  EXPECT_THAT(refusal("m\tmetre\tlength\t1/0\t0\n"), HasSubstr("is not a positive number"));
  EXPECT_THAT(refusal("m\tmetre\tlength\t1\t2*\n"), HasSubstr("the offset '2*' of 'm' is not a number"));
  EXPECT_THAT(refusal("\tmetre\tlength\t1\t0\n"), HasSubstr("the acronym is empty"));
}
