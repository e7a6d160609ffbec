// Wellbores over the wire, and persistence across restarts of the service.
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

EpiTypes::DataQuantity length(EpUnitOfMeasureService::UnitService_ptr units, double value, const char* unit) {
  EpiTypes::DataQuantity q;
  q.value.floatValue(static_cast<float>(value));
  q.unit = units->getUnit(unit);
  return q;
}

// What another process sees of a well's wellbores.
std::string listedByAnotherProcess(const std::string& ior) {
  const std::string command = std::string(WELLBORE_LISTER) + " '" + ior + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

} // namespace

TEST(WellBores, AttributesRoundTripAndBadValuesAreRefusedWithReasons) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("bores");
  EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
  EpiWell::Well_var well = client.newWell(project.in(), "bore owner");
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "B-1");

  EXPECT_EQ(std::string(CORBA::String_var(bore->getId()).in()).rfind("wellbore:", 0), 0u);
  EXPECT_STREQ(CORBA::String_var(bore->getEntityType()).in(), "EpiWell_WellBore");
  EpiWell::Well_var owner = bore->getWell();
  EXPECT_STREQ(CORBA::String_var(owner->getId()).in(), CORBA::String_var(well->getId()).in());
  EpSession::Project_var boreProject = bore->getProject();
  EXPECT_STREQ(CORBA::String_var(boreProject->getId()).in(), CORBA::String_var(project->getId()).in());
  EXPECT_EQ(bore->getCalcMethod(), EpiWell::WellBore::MINIMUM_CURVATURE);

  bore->setBoreStatus("plugged and abandoned");
  bore->setFlowDirection("injection");
  bore->setFluidType("CO2");
  bore->setShowType("gas");
  bore->setTotalDepthType(EpiWell::WellBore::PLANNED);
  bore->setCalcMethod(EpiWell::WellBore::MERCURY);
  bore->setElevationDatum(EpiWell::WellBore::CASING_FLANGE);
  bore->setTotalDepth(length(units.in(), 3500.5, "m"));
  bore->setPlugBackTotalDepth(length(units.in(), 11000.0, "ft"));
  bore->setElevation(length(units.in(), 25.0, "m"));
  bore->setCompletionDate("2001-07-04");
  EXPECT_STREQ(CORBA::String_var(bore->getBoreStatus()).in(), "plugged and abandoned");
  EXPECT_STREQ(CORBA::String_var(bore->getFlowDirection()).in(), "injection");
  EXPECT_STREQ(CORBA::String_var(bore->getFluidType()).in(), "CO2");
  EXPECT_STREQ(CORBA::String_var(bore->getShowType()).in(), "gas");
  EXPECT_EQ(bore->getTotalDepthType(), EpiWell::WellBore::PLANNED);
  EXPECT_EQ(bore->getCalcMethod(), EpiWell::WellBore::MERCURY);
  EXPECT_EQ(bore->getElevationDatum(), EpiWell::WellBore::CASING_FLANGE);
  EpiTypes::DataQuantity_var plugBack = bore->getPlugBackTotalDepth();
  EXPECT_FLOAT_EQ(plugBack->value.floatValue(), 11000.0f);
  EXPECT_STREQ(CORBA::String_var(plugBack->unit->acronym()).in(), "ft");
  EXPECT_STREQ(CORBA::String_var(bore->getCompletionDate()).in(), "2001-07-04");

  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { bore->setElevationDatum(7); }),
            "The elevation datum 7 is out of range: the allowed values are 0 to 6. ");
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { bore->setCalcMethod(-1); }),
            "The calculation method -1 is out of range: the allowed values are 0 to 5. ");
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { bore->setTotalDepthType(4); }),
            "The total depth type 4 is out of range: the allowed values are 0 to 3. ");
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { bore->setBoreStatus("Producing"); }),
            "The bore status \"Producing\" is not a code of the reference value set \"WellboreStatus\" "
            "(authority \"Kelvast\"); the reference value service lists the valid codes, and \"\" clears it. ");
  EXPECT_THROW(bore->setFlowDirection("sideways"), EpEntity::ValidationException);
  EXPECT_THROW(bore->setShowType("production"), EpEntity::ValidationException);   // another set's code
  EXPECT_THROW(bore->setTotalDepth(length(units.in(), 1.0, "dega")), EpEntity::ValidationException);
  EXPECT_THROW(bore->setCompletionDate("04/07/2001"), EpEntity::ValidationException);
  EXPECT_EQ(bore->getElevationDatum(), EpiWell::WellBore::CASING_FLANGE);
  EXPECT_STREQ(CORBA::String_var(bore->getBoreStatus()).in(), "plugged and abandoned");
  bore->setBoreStatus("");
  EXPECT_STREQ(CORBA::String_var(bore->getBoreStatus()).in(), "");

  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { bore->getLastModified("wellbores"); }),
            "The selector \"wellbores\" is not known; valid selectors: \"\" or \"all\", \"attributes\", "
            "\"aliases\", \"path\". ");
  CORBA::String_var path = bore->getLastModified("path");
  EXPECT_EQ(std::string(path.in()).size(), 20u);

  // What the service does not keep yet: no traces, picks or velocity functions;
  // a wellbore without path data has a path of its wellhead alone.
  EXPECT_EQ(EpEntity::EntitySeq_var(bore->getLogTraces())->length(), 0u);
  EXPECT_EQ(EpEntity::EntitySeq_var(bore->getPicks())->length(), 0u);
  EXPECT_EQ(EpEntity::EntitySeq_var(bore->getWellVelocities())->length(), 0u);
  EXPECT_TRUE(CORBA::is_nil(EpiWell::WellVelocity_var(bore->getDefaultWellVelocity()).in()));
  EXPECT_EQ(EpGeometry::Polyline_var(bore->getDepthPath(EpCoordinateService::System::_nil()))->numPoints(), 1u);
}

TEST(WellBores, StoredAndStorelessWellsTakeTheWellboresTheirKindAllows) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("bore kinds");
  EpiWell::Well_var stored = client.newWell(project.in(), "stored");
  EpiWell::Well_var storeless = client.storelessWellFactory()->createWell(
      project.in(), property("UWI", "mem"), client.session.in());

  EpiWell::WellBore_var first = client.newWellBore(stored.in(), "S-1");
  EpiWell::WellBore_var scratch = client.storelessWellBoreFactory()->createWellBore(
      stored.in(), property("UBHI", "scratch"), client.session.in());
  EXPECT_STREQ(CORBA::String_var(scratch->getStoreName()).in(), "");
  EpEntity::EntitySeq_var bores = stored->getWellBores();
  ASSERT_EQ(bores->length(), 2u);
  EXPECT_STREQ(CORBA::String_var(bores[0]->getId()).in(), CORBA::String_var(first->getId()).in());
  EXPECT_STREQ(CORBA::String_var(bores[1]->getId()).in(), CORBA::String_var(scratch->getId()).in());

  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>(
                [&] { client.newWellBore(storeless.in(), "refused"); }),
            "A stored wellbore needs a stored well; the well is storeless. ");
  EpiWell::WellBore_var inMemory = client.storelessWellBoreFactory()->createWellBore(
      storeless.in(), property("UBHI", "mem-1"), client.session.in());
  EpiWell::Well_var itsWell = inMemory->getWell();
  EXPECT_STREQ(CORBA::String_var(itsWell->getId()).in(), CORBA::String_var(storeless->getId()).in());
  EXPECT_EQ(EpEntity::EntitySeq_var(storeless->getWellBores())->length(), 1u);
  EXPECT_THROW(client.newWellBore(EpiWell::Well::_nil(), "none"), EpTypes::FailedOperationException);
}

TEST(WellBores, SurviveARestartInOrderAndAreListedTheSameByAnotherProcess) {
  ServiceProcess service;
  service.start();
  std::string wellIor;
  std::string before;
  {
    Client client(service);
    EpSession::Project_var project = client.newProject("restart");
    EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
    EpiWell::Well_var well = client.newWell(project.in(), "three bores");
    const char* statuses[] = {"drilling", "producing", "suspended"};
    for (int i = 0; i < 3; ++i) {
      EpiWell::WellBore_var bore = client.newWellBore(well.in(), "B-" + std::to_string(i + 1));
      bore->setBoreStatus(statuses[i]);
      bore->setFlowDirection("production");
      bore->setFluidType("oil");
      bore->setTotalDepthType(static_cast<short>(i));
      bore->setCalcMethod(static_cast<short>(i + 1));
      bore->setElevationDatum(static_cast<short>(i + 2));
      bore->setTotalDepth(length(units.in(), 1000.0 * (i + 1), i == 1 ? "ft" : "m"));
      bore->setElevation(length(units.in(), 30.0 + i, "m"));
      bore->setCompletionDate(("2010-01-0" + std::to_string(i + 1)).c_str());
      CosPropertyService::Properties aliases;
      aliases.length(static_cast<CORBA::ULong>(i));
      for (int a = 0; a < i; ++a) aliases[static_cast<CORBA::ULong>(a)] = property("alias", std::to_string(a));
      bore->setAliases(aliases);
    }
    wellIor = CORBA::String_var(clientOrb()->object_to_string(well.in())).in();
    before = listedByAnotherProcess(wellIor);
  }
  ASSERT_EQ(std::count(before.begin(), before.end(), '\n'), 3) << before;
  EXPECT_NE(before.find("B-1|drilling|production|oil||0|1|2|1000 m|30 m|2010-01-01|0"), std::string::npos)
      << before;

  service.stop();
  service.start();
  EXPECT_EQ(listedByAnotherProcess(wellIor), before);
}

TEST(WellBores, AWellChangedThroughTheStubsSurvivesSigkill) {
  ServiceProcess service;
  service.start();
  std::string wellIor, boreIor;
  {
    Client client(service);
    EpSession::Project_var project = client.newProject("sigkill");
    EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
    EpCoordinateService::CoordinateService_var systems = client.manager->getCoordinateService();
    EpiWell::Well_var well = client.newWell(project.in(), "durable", "UWI-K");
    well->setCountry("Canada");
    well->setCounty("Kings");
    well->setCurrentOperator("Operator");
    well->setField("Penobsquis");
    well->setPlatformIdentifier("onshore");
    well->setStateOrProvince("New Brunswick");
    well->setWellStatus("suspended");
    well->setSpudDate("2007-11-30");
    well->setWaterDepth(length(units.in(), 0.0, "m"));
    EpCoordinateService::Coordinate location;
    location.system = systems->getSystem("EPSG:32620");
    location.x = 330000.25;
    location.y = 5080000.5;
    location.z = 101.0;
    well->setLocation(location);
    CosPropertyService::Properties aliases;
    aliases.length(2);
    aliases[0] = property("licence", "K-123");
    aliases[1] = property("old name", "P-135");
    well->setAliases(aliases);
    EpiWell::WellBore_var bore = client.newWellBore(well.in(), "P-135");
    wellIor = CORBA::String_var(clientOrb()->object_to_string(well.in())).in();
    boreIor = CORBA::String_var(clientOrb()->object_to_string(bore.in())).in();
  }
  service.kill();
  service.start();

  CORBA::Object_var object = clientOrb()->string_to_object(wellIor.c_str());
  // This process's ORB still holds the connection the killed service left
  // open; its first call finds it dead (a new client process would not).
  try {
    object->_non_existent();
  } catch (const CORBA::COMM_FAILURE&) {
  } catch (const CORBA::TRANSIENT&) {
  }
  EpiWell::Well_var well = EpiWell::Well::_narrow(object.in());
  ASSERT_FALSE(CORBA::is_nil(well.in()));
  EXPECT_STREQ(CORBA::String_var(well->getCountry()).in(), "Canada");
  EXPECT_STREQ(CORBA::String_var(well->getCounty()).in(), "Kings");
  EXPECT_STREQ(CORBA::String_var(well->getCurrentOperator()).in(), "Operator");
  EXPECT_STREQ(CORBA::String_var(well->getField()).in(), "Penobsquis");
  EXPECT_STREQ(CORBA::String_var(well->getPlatformIdentifier()).in(), "onshore");
  EXPECT_STREQ(CORBA::String_var(well->getStateOrProvince()).in(), "New Brunswick");
  EXPECT_STREQ(CORBA::String_var(well->getWellStatus()).in(), "suspended");
  EXPECT_STREQ(CORBA::String_var(well->getSpudDate()).in(), "2007-11-30");
  EpiTypes::DataQuantity_var depth = well->getWaterDepth();
  EXPECT_FLOAT_EQ(depth->value.floatValue(), 0.0f);
  EXPECT_STREQ(CORBA::String_var(depth->unit->acronym()).in(), "m");
  EpCoordinateService::Coordinate_var location = well->getLocation(EpCoordinateService::System::_nil());
  EXPECT_STREQ(CORBA::String_var(location->system->name()).in(), "EPSG:32620");
  EXPECT_DOUBLE_EQ(location->x, 330000.25);
  EXPECT_DOUBLE_EQ(location->y, 5080000.5);
  EXPECT_DOUBLE_EQ(location->z, 101.0);
  CosPropertyService::Property_var identifier = well->getIdentifier();
  EXPECT_EQ(text(identifier->property_value), "UWI-K");
  CosPropertyService::Properties_var aliases = well->getAliases();
  ASSERT_EQ(aliases->length(), 2u);
  EXPECT_STREQ(aliases[1].property_name.in(), "old name");
  EXPECT_EQ(text(aliases[1].property_value), "P-135");

  object = clientOrb()->string_to_object(boreIor.c_str());
  EpiWell::WellBore_var bore = EpiWell::WellBore::_narrow(object.in());
  ASSERT_FALSE(CORBA::is_nil(bore.in()));
  EpiWell::Well_var boreWell = bore->getWell();
  EXPECT_STREQ(CORBA::String_var(boreWell->getId()).in(), CORBA::String_var(well->getId()).in());
}
