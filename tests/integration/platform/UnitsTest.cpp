#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "PlatformService.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Unit.h"
#include "kel_util.h"

using platform_test::failureOf;
using platform_test::text;

TEST(Units, AliasesResolveToTheCanonicalUnit) {
  for (const char* spelling : {"ft", "FT", "F", "FEET"}) {
    kel_Unit foot = kel_Unit::getUnit(spelling);
    EXPECT_EQ("ft", text(foot.getAcronym())) << spelling;
    EXPECT_EQ("foot", text(foot.getName()));
    EXPECT_EQ("length", text(foot.getQuantity()));
  }
  for (const char* spelling : {"m", "M", "METERS"}) EXPECT_EQ("m", text(kel_Unit::getUnit(spelling).getAcronym()));
  EXPECT_EQ(kel_Unit::getUnit("FEET"), kel_Unit::getUnit("F"));
  EXPECT_NE(kel_Unit::getUnit("ft"), kel_Unit::getUnit("m"));
  EXPECT_EQ("unitless", text(kel_Unit::getUnit(kel_Unit::unitless).getAcronym()));

  // The unit's remote object is the catalogue's unit.
  kel_Unit foot = kel_Unit::getUnit("FEET");
  auto remote = static_cast<EpUnitOfMeasureService::Unit_ptr>(foot.getRemoteObject(kel_Internal()));
  ASSERT_NE(nullptr, remote);
  CORBA::String_var acronym = remote->acronym();
  EXPECT_STREQ("ft", acronym.in());
}

TEST(Units, ConversionsUseTheExactPublishedFactors) {
  const kel_Unit ft = kel_Unit::getUnit("ft"), m = kel_Unit::getUnit("m");
  EXPECT_EQ(0.3048, ft.convert(1.0, m));
  EXPECT_EQ(3048.0, ft.convert(10000.0, m));
  EXPECT_EQ(1.0, m.convert(0.3048, ft));
  EXPECT_EQ(0.3048f, m.transform(kel_FloatQuantity(ft, 1.0f)).getValue());
  EXPECT_EQ("m", text(m.transform(kel_FloatQuantity(ft, 1.0f)).getUnit().getAcronym()));

  const kel_Unit s = kel_Unit::getUnit("s"), ms = kel_Unit::getUnit("ms");
  EXPECT_EQ(1500.0, s.convert(1.5, ms));
  EXPECT_EQ(2.0f, s.transform(kel_FloatQuantity(ms, 2000.0f)).getValue());

  const kel_Unit mps = kel_Unit::getUnit("m/s"), ftps = kel_Unit::getUnit("ft/s");
  EXPECT_EQ(1.0, mps.convert(0.3048, ftps));
  EXPECT_DOUBLE_EQ(3000.0 / 0.3048, mps.convert(3000.0, ftps));

  const kel_Unit deg = kel_Unit::getUnit("deg"), rad = kel_Unit::getUnit("rad");
  EXPECT_DOUBLE_EQ(M_PI, deg.convert(180.0, rad));
  EXPECT_DOUBLE_EQ(90.0, rad.convert(M_PI / 2, deg));

  // Offsets: 100 degC is 212 degF.
  EXPECT_DOUBLE_EQ(212.0, kel_Unit::getUnit("degC").convert(100.0, kel_Unit::getUnit("degF")));

  // The same unit gives the value back untouched; a nil unit changes nothing.
  EXPECT_EQ(0.1f, ft.transform(kel_FloatQuantity(kel_Unit::getUnit("FT"), 0.1f)).getValue());
  EXPECT_EQ(5.0f, kel_Unit().transform(kel_FloatQuantity(ft, 5.0f)).getValue());
  EXPECT_EQ(5.0f, ft.transform(kel_FloatQuantity(kel_Unit(), 5.0f)).getValue());
}

TEST(Units, UnknownAcronymsAndDifferentQuantitiesAreTheCallersFault) {
  const auto unknown = failureOf([] { kel_Unit::getUnit("furlongs"); });
  EXPECT_TRUE(unknown.isUserException());
  EXPECT_NE(std::string::npos, text(unknown.getMessage()).find("\"furlongs\"")) << text(unknown.toString());
  EXPECT_FALSE(text(unknown.getContext()).empty());

  const kel_Unit ft = kel_Unit::getUnit("ft"), s = kel_Unit::getUnit("s");
  const auto mixed = failureOf([&] { s.transform(kel_FloatQuantity(ft, 1.0f)); });
  EXPECT_TRUE(mixed.isUserException());
  const std::string message = text(mixed.getMessage());
  for (const char* part : {"\"ft\"", "(length)", "\"s\"", "(time)"})
    EXPECT_NE(std::string::npos, message.find(part)) << message;
  EXPECT_THROW(ft.convert(1.0, s), kel_UserException);
}

TEST(Units, UtilityLookupPassesRemoteFailuresThrough) {
  EpUnitOfMeasureService::Unit_var unit = kel_util::UnitOfMeasure::getUnit("METERS");
  ASSERT_FALSE(CORBA::is_nil(unit.in()));
  kel_Unit wrapped(kel_RemoteStub(unit.in()), true);
  EXPECT_EQ("m", text(wrapped.getAcronym()));
  EXPECT_EQ("length", text(wrapped.getQuantity()));
  kel_Unit copy(wrapped);
  EXPECT_EQ(wrapped, copy);
  EXPECT_THROW(kel_util::UnitOfMeasure::getUnit("furlongs"), EpTypes::BadArgumentsException);
}

TEST(Units, DefaultSetsAreMetricUnlessAskedOtherwise) {
  const kel_UnitMeasureSet metric = kel_UnitMeasureSet::getDefaultUnits();
  EXPECT_EQ("dega", text(metric.angleUnit.getAcronym()));
  EXPECT_EQ("m", text(metric.distanceUnit.getAcronym()));
  EXPECT_EQ("ms", text(metric.timeUnit.getAcronym()));
  EXPECT_EQ("m", text(metric.depthUnit.getAcronym()));
  EXPECT_EQ("m/s", text(metric.velocityUnit.getAcronym()));
  EXPECT_EQ("angle", text(metric[0].getQuantity()));
  EXPECT_EQ("length", text(metric[1].getQuantity()));
  EXPECT_EQ("time", text(metric[5].getQuantity()));
  EXPECT_EQ("length", text(metric[8].getQuantity()));
  EXPECT_EQ("velocity", text(metric[12].getQuantity()));
  for (unsigned i = 0; i < kel_UnitMeasureSet::size(); ++i) EXPECT_FALSE(metric[i].isNil()) << i;

  const kel_UnitMeasureSet field = kel_UnitMeasureSet::getUnits("field");
  EXPECT_EQ("ft", text(field.depthUnit.getAcronym()));
  EXPECT_EQ("ft/s", text(field.velocityUnit.getAcronym()));

  const auto unknown = failureOf([] { kel_UnitMeasureSet::getUnits("imperial"); });
  EXPECT_TRUE(unknown.isUserException());
  EXPECT_NE(std::string::npos, text(unknown.getContext()).find("imperial")) << text(unknown.toString());
}
