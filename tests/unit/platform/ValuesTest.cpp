#include <string>

#include <gtest/gtest.h>

#include "kel_Color.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Project.h"
#include "kel_StringPair.h"
#include "kel_Unit.h"

namespace {

std::string text(const kel_cppUtil::String& s) { return s.str(); }

// The message of the kel_UserException that call throws.
template <class Call>
std::string userFailure(Call call) {
  try {
    call();
  } catch (const kel_Exception& error) {
    EXPECT_TRUE(error.isUserException()) << text(error.toString());
    return text(error.getMessage());
  }
  ADD_FAILURE() << "no exception";
  return std::string();
}

} // namespace

TEST(Date, ReadsIsoDatesAndDateTimes) {
  kel_Date date = kel_Date::fromString("2024-05-17");
  EXPECT_FALSE(date.isNullDate());
  EXPECT_EQ(2024, date.getYear());
  EXPECT_EQ(5, date.getMonth());
  EXPECT_EQ(17, date.getDay());
  EXPECT_EQ("2024-05-17", text(date.toString()));

  EXPECT_EQ("2024-05-17T08:30:00Z", text(kel_Date::fromString("2024-05-17T08:30:00Z").toString()));
  EXPECT_EQ("2024-05-17T08:30:00Z", text(kel_Date::fromString("2024-05-17T08:30").toString()));
  // Fractions are dropped; midnight prints as the date alone.
  EXPECT_EQ("2024-05-17T08:30:15Z", text(kel_Date::fromString("2024-05-17T08:30:15.987Z").toString()));
  EXPECT_EQ("2024-05-17", text(kel_Date::fromString("2024-05-17T00:00:00Z").toString()));
  EXPECT_EQ("2024-02-29", text(kel_Date::fromString("  2024-02-29 ").toString()));
}

TEST(Date, ConvertsOffsetsToUtcAcrossDayAndYearBoundaries) {
  EXPECT_EQ("2024-05-17T06:30:00Z", text(kel_Date::fromString("2024-05-17T08:30:00+02:00").toString()));
  EXPECT_EQ("2023-12-31T23:30:00Z", text(kel_Date::fromString("2024-01-01T01:00:00+0130").toString()));
  EXPECT_EQ("2024-03-01T03:00:00Z", text(kel_Date::fromString("2024-02-29T22:00:00-05").toString()));
  EXPECT_EQ(kel_Date(2024, 5, 17, 8, 30, 0), kel_Date::fromString("2024-05-17T08:30:00-00:00"));
}

TEST(Date, RefusesImpossibleAndMalformedTexts) {
  for (const char* bad : {"2023-02-30", "2023-02-29", "2023-13-01", "2023-04-31", "2023-00-10",
                          "2023-01-01T24:00:00Z", "2023-01-01T12:60", "2023-01-01T12:00:61Z",
                          "17/05/2024", "2024-5-17", "2024-05-17T08", "2024-05-17Z", "2024-05-17T08:30:00+25:00",
                          "2024-05-17T08:30:00 junk", "yesterday"}) {
    const std::string message = userFailure([&] { kel_Date::fromString(bad); });
    EXPECT_NE(std::string::npos, message.find(bad)) << message;
  }
  EXPECT_THROW(kel_Date(2023, 2, 29), kel_UserException);
}

TEST(Date, NullDateIsEmptyTextAndSortsFirst) {
  EXPECT_TRUE(kel_Date().isNullDate());
  EXPECT_TRUE(kel_Date::fromString("").isNullDate());
  EXPECT_TRUE(kel_Date::fromString(nullptr).isNullDate());
  EXPECT_EQ("", text(kel_Date().toString()));
  EXPECT_EQ(kel_Date(), kel_Date());
  EXPECT_NE(kel_Date(), kel_Date(2000, 1, 1));
  EXPECT_TRUE(kel_Date() < kel_Date(1, 1, 1));
  EXPECT_FALSE(kel_Date(1, 1, 1) < kel_Date());
  EXPECT_FALSE(kel_Date() < kel_Date());
  EXPECT_TRUE(kel_Date(2024, 1, 1) < kel_Date(2024, 1, 1, 0, 0, 1));
  EXPECT_FALSE(kel_Date::now().isNullDate());
}

TEST(Color, NamesAndHexTextsBothWays) {
  kel_Color red = kel_Color::getColor("red");
  EXPECT_EQ(255, red.getRed());
  EXPECT_EQ(0, red.getGreen());
  EXPECT_EQ(0, red.getBlue());
  EXPECT_EQ(red, kel_Color::getColor("RED"));
  EXPECT_EQ(red, kel_Color::getColor("#FF0000"));
  EXPECT_EQ("red", text(red.getColorName()));
  EXPECT_EQ("darkgreen", text(kel_Color::getColor("DarkGreen").getColorName()));
  EXPECT_EQ("#123abc", text(kel_Color::getColor("#123ABC").getColorName()));
  EXPECT_EQ("black", text(kel_Color().getColorName()));
  // A colour with two names is told by the first of them.
  EXPECT_EQ(kel_Color::getColor("grey"), kel_Color::getColor("gray"));
  EXPECT_EQ("aqua", text(kel_Color::getColor("cyan").getColorName()));

  kel_Color copy(red);
  kel_Color assigned;
  assigned = copy;
  EXPECT_EQ(red, assigned);
}

TEST(Color, UnknownNamesAndBadHexAreRefusedByName) {
  for (const char* bad : {"reddish", "", "#12345", "#1234567", "#12345g", "12ab34"}) {
    const std::string message = userFailure([&] { kel_Color::getColor(bad); });
    EXPECT_NE(std::string::npos, message.find(std::string("\"") + bad + "\"")) << message;
  }
  EXPECT_THROW(kel_Color::getColor(nullptr), kel_UserException);
}

TEST(StringPair, NullTextsReadAsEmptyAndBothPartsCount) {
  EXPECT_EQ(kel_StringPair(nullptr, nullptr), kel_StringPair("", ""));
  EXPECT_FALSE(kel_StringPair("UWI", "1") == kel_StringPair("UWI", "2"));
  EXPECT_FALSE(kel_StringPair("UWI", "1") == kel_StringPair("API", "1"));
}

TEST(Quantities, ShareValuesUntilOneSideWrites) {
  kel_Array<float> samples(2);
  samples.set(1, 4.0f);
  kel_FloatQuantities many(kel_Unit(), samples);
  samples.set(0, 1.0f);
  EXPECT_EQ(0.0f, many.getValues()[0]);
  EXPECT_EQ(4.0f, many.getValues()[1]);
  EXPECT_TRUE(kel_FloatQuantity().getUnit().isNil());
}

TEST(Units, NilUnitsLeaveQuantitiesAsTheyAre) {
  kel_Unit nil;
  EXPECT_TRUE(nil.isNil());
  EXPECT_EQ("", text(nil.getAcronym()));
  EXPECT_EQ("", text(nil.getQuantity()));
  kel_FloatQuantity quantity(kel_Unit(), 7.0f);
  EXPECT_EQ(7.0f, nil.transform(quantity).getValue());
  EXPECT_EQ(7.0, nil.convert(7.0, kel_Unit()));
  EXPECT_EQ(nil, kel_Unit());
  EXPECT_STREQ("unitless", kel_Unit::unitless);
  EXPECT_EQ(13u, kel_UnitMeasureSet::size());
  kel_UnitMeasureSet set;
  EXPECT_EQ(&set.angleUnit, &set[0]);
  EXPECT_EQ(&set.distanceUnit, &set[1]);
  EXPECT_EQ(&set.timeUnit, &set[5]);
  EXPECT_EQ(&set.depthUnit, &set[8]);
  EXPECT_EQ(&set.velocityUnit, &set[12]);
  EXPECT_THROW(set[13], kel_UserException);
}

TEST(Coordinates, NilSystemsAnswerWithoutTheService) {
  kel_CoordSystem nil;
  EXPECT_FALSE(nil.isTimeSystem());
  EXPECT_EQ("", text(nil.getName()));
  EXPECT_EQ(0, nil.getEpsgCode());
  EXPECT_TRUE(nil == kel_CoordSystem());
  EXPECT_FALSE(kel_CoordPoint(1.5, -2.0, 3.25) == kel_CoordPoint(1.5, -2.0, 3.0));
}

TEST(Entities, NilObjectsFailClearlyWithoutTheService) {
  kel_Entity entity;
  EXPECT_TRUE(entity.isNil());
  EXPECT_EQ("", text(entity.getStringifiedReference()));
  EXPECT_EQ(nullptr, entity.getRemoteObject(kel_Internal()));
  EXPECT_TRUE(entity == kel_Entity());
  try {
    entity.getId();
    FAIL() << "getId of a nil entity must throw";
  } catch (const kel_Exception& error) {
    EXPECT_TRUE(error.isSystemException());
  }
  kel_RemoteStub stub;
  EXPECT_TRUE(stub.isNull());
  kel_Entity fromNull(stub, false);
  EXPECT_TRUE(fromNull.isNil());
  kel_Project project(stub);
  EXPECT_TRUE(project.isNil());
  EXPECT_THROW(project.getName(), kel_SystemException);
}
