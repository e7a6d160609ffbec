// Wells over the wire: attributes, validation, storeless wells, locations.
#include <cmath>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

class WellTest : public ::testing::Test {
protected:
  Client client{sharedService()};
  EpSession::Project_var project = client.newProject("wells");
  EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
  EpCoordinateService::CoordinateService_var systems = client.manager->getCoordinateService();

  EpiTypes::DataQuantity quantity(double value, const char* unit) {
    EpiTypes::DataQuantity q;
    q.value.doubleValue(value);
    q.unit = unit ? units->getUnit(unit) : EpUnitOfMeasureService::Unit::_nil();
    return q;
  }
  std::string acronymOf(EpUnitOfMeasureService::Unit_ptr unit) {
    return CORBA::is_nil(unit) ? std::string() : std::string(CORBA::String_var(unit->acronym()).in());
  }
};

} // namespace

TEST_F(WellTest, EveryAttributeRoundTripsAsWritten) {
  EpiWell::Well_var well = client.newWell(project.in(), "Troll A-1", "NO 31/2-A-1");
  CORBA::String_var id = well->getId();
  EXPECT_EQ(std::string(id.in()).rfind("well:", 0), 0u);
  EXPECT_STREQ(CORBA::String_var(well->getEntityType()).in(), "EpiWell_Well");
  EXPECT_STREQ(CORBA::String_var(well->getStoreName()).in(), client.storeName.c_str());
  EpSession::Project_var owner = well->getProject();
  EXPECT_STREQ(CORBA::String_var(owner->getId()).in(), CORBA::String_var(project->getId()).in());

  // Texts are stored as given: blanks, quotes and non-ASCII bytes included.
  well->setCountry(" Norway ");
  well->setCounty("Øygarden");
  well->setCurrentOperator("O'Brien & Sons");
  well->setField("TROLL");
  well->setPlatformIdentifier("TROLL A");
  well->setStateOrProvince("");
  well->setWellStatus("producing");
  well->setSpudDate("1995-02-28T12:30:00Z");
  well->setWaterDepth(quantity(303.0, "m"));
  EpCoordinateService::Coordinate location;
  location.system = systems->getSystem("EPSG:4326");
  location.x = 3.72;
  location.y = 60.64;
  location.z = -24.5;
  well->setLocation(location);

  EXPECT_STREQ(CORBA::String_var(well->getCountry()).in(), " Norway ");
  EXPECT_STREQ(CORBA::String_var(well->getCounty()).in(), "Øygarden");
  EXPECT_STREQ(CORBA::String_var(well->getCurrentOperator()).in(), "O'Brien & Sons");
  EXPECT_STREQ(CORBA::String_var(well->getField()).in(), "TROLL");
  EXPECT_STREQ(CORBA::String_var(well->getPlatformIdentifier()).in(), "TROLL A");
  EXPECT_STREQ(CORBA::String_var(well->getStateOrProvince()).in(), "");
  EXPECT_STREQ(CORBA::String_var(well->getWellStatus()).in(), "producing");
  EXPECT_STREQ(CORBA::String_var(well->getSpudDate()).in(), "1995-02-28T12:30:00Z");

  EpiTypes::DataQuantity_var depth = well->getWaterDepth();
  ASSERT_EQ(depth->value._d(), EpTypes::FLOAT_DATA);
  EXPECT_FLOAT_EQ(depth->value.floatValue(), 303.0f);
  EXPECT_EQ(acronymOf(depth->unit.in()), "m");

  EpCoordinateService::Coordinate_var read = well->getLocation(EpCoordinateService::System::_nil());
  EXPECT_STREQ(CORBA::String_var(read->system->name()).in(), "EPSG:4326");
  EXPECT_DOUBLE_EQ(read->x, 3.72);
  EXPECT_DOUBLE_EQ(read->y, 60.64);
  EXPECT_DOUBLE_EQ(read->z, -24.5);

  CosPropertyService::Property_var identifier = well->getIdentifier();
  EXPECT_STREQ(identifier->property_name.in(), "UWI");
  EXPECT_EQ(text(identifier->property_value), "NO 31/2-A-1");

  CosPropertyService::Properties aliases;
  aliases.length(3);
  aliases[0] = property("NPD", "31/2-A-1");
  aliases[1] = property("short", "A-1");
  aliases[2] = property("NPD", "second value, same name");
  well->setAliases(aliases);
  CosPropertyService::Properties_var back = well->getAliases();
  ASSERT_EQ(back->length(), 3u);
  for (CORBA::ULong i = 0; i < 3; ++i) {
    EXPECT_STREQ(back[i].property_name.in(), aliases[i].property_name.in());
    EXPECT_EQ(text(back[i].property_value), text(aliases[i].property_value));
  }
  well->setAliases(CosPropertyService::Properties());
  EXPECT_EQ(CosPropertyService::Properties_var(well->getAliases())->length(), 0u);
  EXPECT_EQ(EpEntity::EntitySeq_var(well->getWellBores())->length(), 0u);
}

TEST_F(WellTest, WaterDepthTakesAnyNumericTypeAndMayHaveNoUnit) {
  EpiWell::Well_var well = client.newWell(project.in(), "depths");
  EpiTypes::DataQuantity_var unset = well->getWaterDepth();
  EXPECT_TRUE(std::isnan(unset->value.floatValue()));
  EXPECT_TRUE(CORBA::is_nil(unset->unit.in()));

  EpiTypes::DataQuantity q;
  q.unit = units->getUnit("ft");
  q.value.shortValue(-12);
  well->setWaterDepth(q);
  EpiTypes::DataQuantity_var back = well->getWaterDepth();
  EXPECT_FLOAT_EQ(back->value.floatValue(), -12.0f);
  EXPECT_EQ(acronymOf(back->unit.in()), "ft");   // kept in the unit it was written in

  q.value.longValue(1000000);
  q.unit = EpUnitOfMeasureService::Unit::_nil();
  well->setWaterDepth(q);
  back = well->getWaterDepth();
  EXPECT_FLOAT_EQ(back->value.floatValue(), 1.0e6f);
  EXPECT_TRUE(CORBA::is_nil(back->unit.in()));

  q.value.doubleValue(std::nan(""));   // NaN clears it again
  well->setWaterDepth(q);
  EXPECT_TRUE(std::isnan(EpiTypes::DataQuantity_var(well->getWaterDepth())->value.floatValue()));
}

TEST_F(WellTest, RefusedValuesSayWhyAndChangeNothing) {
  EpiWell::Well_var well = client.newWell(project.in(), "refusals");
  well->setSpudDate("2020-01-31");
  well->setWaterDepth(quantity(80.0, "m"));
  CORBA::String_var before = well->getLastModified("attributes");

  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setSpudDate("2021-02-29"); }),
            "The spud date \"2021-02-29\" is not an ISO 8601 date or date-time (for example 2024-05-17 "
            "or 2024-05-17T08:30:00Z); \"\" clears it. ");
  for (const char* bad : {"yesterday", "2020-13-01", "2020-01-01T25:00", "2020-01-01 10:00", "20200101"})
    EXPECT_THROW(well->setSpudDate(bad), EpEntity::ValidationException) << bad;
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setWaterDepth(quantity(3.0, "s")); }),
            "The unit \"s\" of the water depth measures time, not length. ");
  EpiTypes::DataQuantity unknownType = quantity(1.0, "m");
  unknownType.value._default();
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setWaterDepth(unknownType); })
                .rfind("The water depth has a value of unknown data type", 0),
            0u);
  CosPropertyService::Properties aliases;
  aliases.length(1);
  aliases[0].property_name = "number";
  aliases[0].property_value <<= CORBA::Long(5);
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setAliases(aliases); }),
            "The alias 0 (\"number\") does not hold a text. ");
  EpCoordinateService::Coordinate nowhere;
  nowhere.system = EpCoordinateService::System::_nil();
  nowhere.x = nowhere.y = nowhere.z = 0.0;
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setLocation(nowhere); }),
            "The location has no coordinate system (nil). ");

  EXPECT_STREQ(CORBA::String_var(well->getSpudDate()).in(), "2020-01-31");
  EpiTypes::DataQuantity_var depth = well->getWaterDepth();
  EXPECT_FLOAT_EQ(depth->value.floatValue(), 80.0f);
  EXPECT_EQ(acronymOf(depth->unit.in()), "m");
  EXPECT_STREQ(CORBA::String_var(well->getLastModified("attributes")).in(), before.in());
}

TEST_F(WellTest, LocationIsTransformedOnlyWhereATransformExists) {
  EpiWell::Well_var well = client.newWell(project.in(), "located");
  EpCoordinateService::Coordinate_var unset = well->getLocation(EpCoordinateService::System::_nil());
  EXPECT_TRUE(std::isnan(unset->x));
  EXPECT_STREQ(CORBA::String_var(unset->system->name()).in(), "EPSG:4326");

  EpCoordinateService::Coordinate location;
  location.system = systems->getSystem("EPSG:4326");
  location.x = 3.0;     // longitude on the central meridian of UTM zone 31
  location.y = 52.0;
  location.z = 12.5;
  well->setLocation(location);
  EpCoordinateService::System_var utm = systems->getSystem("EPSG:32631");
  EpCoordinateService::Coordinate_var projected = well->getLocation(utm.in());
  EXPECT_STREQ(CORBA::String_var(projected->system->name()).in(), "EPSG:32631");
  EXPECT_NEAR(projected->x, 500000.0, 0.01);
  EXPECT_NEAR(projected->y, 5761038.0, 50.0);
  EXPECT_DOUBLE_EQ(projected->z, 12.5);

  EpCoordinateService::System_var time = systems->getSystem("EPSG:4326+TWT");
  EXPECT_THROW(well->getLocation(time.in()), EpCoordinateService::NoKnownTransformException);
}

TEST_F(WellTest, LastModifiedNamesEachPartBySelector) {
  EpiWell::Well_var well = client.newWell(project.in(), "stamps");
  for (const char* selector : {"", "all", "attributes", "aliases", "wellbores"}) {
    CORBA::String_var stamp = well->getLastModified(selector);
    EXPECT_EQ(std::string(stamp.in()).size(), 20u) << selector;   // YYYY-MM-DDThh:mm:ssZ
  }
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->getLastModified("path"); }),
            "The selector \"path\" is not known; valid selectors: \"\" or \"all\", \"attributes\", "
            "\"aliases\", \"wellbores\". ");
}

TEST_F(WellTest, StorelessWellsLiveInMemoryWithOrWithoutAProject) {
  EpiWell::StorelessWellFactory_var factory = client.storelessWellFactory();
  EpiWell::Well_var well = factory->createWell(project.in(), property("UWI", "temp-1"), client.session.in());
  EXPECT_EQ(std::string(CORBA::String_var(well->getId()).in()).rfind("storeless-well:", 0), 0u);
  EXPECT_STREQ(CORBA::String_var(well->getStoreName()).in(), "");
  EpSession::Project_var owner = well->getProject();
  EXPECT_STREQ(CORBA::String_var(owner->getId()).in(), CORBA::String_var(project->getId()).in());
  well->setField("scratch");
  EXPECT_STREQ(CORBA::String_var(well->getField()).in(), "scratch");

  EpiWell::Well_var loose =
      factory->createWell(EpSession::Project::_nil(), property("UWI", "temp-2"), client.session.in());
  EXPECT_TRUE(CORBA::is_nil(EpSession::Project_var(loose->getProject()).in()));
}

TEST_F(WellTest, FactoriesRefuseWhatCannotMakeAWell) {
  EpiWell::NewWellFactory_var factory = client.newWellFactory();
  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>([&] {
              factory->createWell(EpSession::Project::_nil(), "x", property("UWI", "1"), client.session.in());
            }),
            "A stored well needs a project; the project is nil. ");
  CosPropertyService::Property numeric;
  numeric.property_name = "UWI";
  numeric.property_value <<= CORBA::Double(42.0);
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>(
                [&] { factory->createWell(project.in(), "x", numeric, client.session.in()); }),
            "The identifier's value does not hold a text. ");
  // A reference of some other interface of the service is no project.
  EpiWell::Well_var well = client.newWell(project.in(), "not a project");
  EpSession::Project_var disguised = EpSession::Project::_unchecked_narrow(well.in());
  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>(
                [&] { factory->createWell(disguised.in(), "x", property("UWI", "1"), client.session.in()); }),
            "The project is not a project of this service. ");
}
