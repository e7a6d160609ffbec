// Fault injection, and bad input that must never bring the service down.
#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

EpSession::Fault fault(const char* operation, EpSession::FaultAction action, const char* exception = "",
                       const char* text1 = "", const char* text2 = "", CORBA::Long value = 0,
                       const std::string& objectId = "") {
  EpSession::Fault f;
  f.operation = operation;
  f.objectId = objectId.c_str();
  f.action = action;
  f.exceptionName = exception;
  f.text1 = text1;
  f.text2 = text2;
  f.value = value;
  return f;
}

class FaultTest : public ::testing::Test {
protected:
  void TearDown() override { injector->clear(); }

  Client client{sharedService()};
  EpSession::FaultInjector_var injector = client.faults();
  EpSession::Project_var project = client.newProject("faults");
  EpiWell::Well_var well = client.newWell(project.in(), "fragile");
};

} // namespace

TEST_F(FaultTest, RaisesTheArmedExceptionOnceWithItsTexts) {
  injector->arm(fault("getCountry", EpSession::RAISE_EXCEPTION, "EpDataStore::StoreException",
                      "Could not read", "disk on fire"));
  EXPECT_EQ(injector->armedCount(), 1u);
  try {
    CORBA::String_var ignored = well->getCountry();
    FAIL() << "no exception";
  } catch (const EpDataStore::StoreException& e) {
    EXPECT_STREQ(e.message.in(), "Could not read");
    EXPECT_STREQ(e.detail.in(), "disk on fire");
  }
  EXPECT_EQ(injector->armedCount(), 0u);
  EXPECT_NO_THROW(CORBA::String_var(well->getCountry()));

  injector->arm(fault("setCountry", EpSession::RAISE_EXCEPTION, "EpEntity::ValidationException", "no"));
  EXPECT_EQ(reasonOf<EpEntity::ValidationException>([&] { well->setCountry("X"); }), "no");
  EXPECT_STREQ(CORBA::String_var(well->getCountry()).in(), "");   // the refused write changed nothing

  injector->arm(fault("createWell", EpSession::RAISE_EXCEPTION, "CosLifeCycle::NoFactory", "some id", "some kind"));
  try {
    client.newWell(project.in(), "never");
    FAIL() << "no exception";
  } catch (const CosLifeCycle::NoFactory& e) {
    ASSERT_EQ(e.search_key.length(), 1u);
    EXPECT_STREQ(e.search_key[0].id.in(), "some id");
    EXPECT_STREQ(e.search_key[0].kind.in(), "some kind");
  }

  injector->arm(fault("getWellBores", EpSession::RAISE_EXCEPTION, "CORBA::TRANSIENT"));
  EXPECT_THROW(EpEntity::EntitySeq_var(well->getWellBores()), CORBA::TRANSIENT);
  injector->arm(fault("openProject", EpSession::RAISE_EXCEPTION, "CORBA::NO_PERMISSION"));
  EXPECT_THROW(EpSession::Project_var(client.session->openProject("x")), CORBA::NO_PERMISSION);
  // An exception the operation does not declare arrives as UNKNOWN.
  injector->arm(fault("getField", EpSession::RAISE_EXCEPTION, "EpTypes::InsufficientDataException", "x"));
  EXPECT_THROW(CORBA::String_var(well->getField()), CORBA::UNKNOWN);
}

TEST_F(FaultTest, AFaultForOneObjectLeavesTheOthersAlone) {
  EpiWell::Well_var other = client.newWell(project.in(), "sturdy");
  injector->arm(fault("getField", EpSession::RAISE_EXCEPTION, "EpDataStore::StoreException", "a", "b", 0,
                      CORBA::String_var(well->getId()).in()));
  EXPECT_NO_THROW(CORBA::String_var(other->getField()));
  EXPECT_THROW(CORBA::String_var(well->getField()), EpDataStore::StoreException);
}

TEST_F(FaultTest, ReturnsNilReferencesWhenAsked) {
  EpUnitOfMeasureService::UnitService_var units = client.manager->getUnitService();
  EpiTypes::DataQuantity depth;
  depth.value.floatValue(10.0f);
  depth.unit = units->getUnit("m");
  well->setWaterDepth(depth);

  injector->arm(fault("getProject", EpSession::RETURN_NIL));
  EXPECT_TRUE(CORBA::is_nil(EpSession::Project_var(well->getProject()).in()));
  injector->arm(fault("getWaterDepth", EpSession::RETURN_NIL));
  EpiTypes::DataQuantity_var noUnit = well->getWaterDepth();
  EXPECT_TRUE(CORBA::is_nil(noUnit->unit.in()));
  EXPECT_FLOAT_EQ(noUnit->value.floatValue(), 10.0f);
  injector->arm(fault("getLocation", EpSession::RETURN_NIL));
  EpCoordinateService::Coordinate_var noSystem = well->getLocation(EpCoordinateService::System::_nil());
  EXPECT_TRUE(CORBA::is_nil(noSystem->system.in()));
  injector->arm(fault("createWell", EpSession::RETURN_NIL));
  EXPECT_TRUE(CORBA::is_nil(client.newWell(project.in(), "nil").in()));
  injector->arm(fault("find_factories", EpSession::RETURN_NIL));
  EXPECT_TRUE(CORBA::is_nil(client.factory(EpiWell::_tc_StorelessWellFactory->id(), false).in()));
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "listed");
  injector->arm(fault("getWellBores", EpSession::RETURN_NIL));
  EpEntity::EntitySeq_var bores = well->getWellBores();
  ASSERT_EQ(bores->length(), 1u);
  EXPECT_TRUE(CORBA::is_nil(bores[0].in()));
  injector->arm(fault("openSession", EpSession::RETURN_NIL));
  EXPECT_TRUE(CORBA::is_nil(EpSession::Session_var(client.manager->openSession("x")).in()));
}

TEST_F(FaultTest, ReturnsOutOfRangeValuesWhenAsked) {
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "odd");
  injector->arm(fault("getCalcMethod", EpSession::RETURN_OUT_OF_RANGE, "", "", "", 2));
  EXPECT_EQ(bore->getCalcMethod(), 2);
  injector->arm(fault("getElevationDatum", EpSession::RETURN_OUT_OF_RANGE, "", "", "", 9));
  EXPECT_EQ(bore->getElevationDatum(), 9);
  injector->arm(fault("getTotalDepth", EpSession::RETURN_OUT_OF_RANGE, "", "", "", -1));
  EpiTypes::DataQuantity_var depth = bore->getTotalDepth();
  EXPECT_TRUE(depth->value._d() < EpTypes::BYTE_DATA || depth->value._d() > EpTypes::UBYTE_DATA);
  EXPECT_EQ(bore->getCalcMethod(), EpiWell::WellBore::MINIMUM_CURVATURE);   // once only
}

TEST_F(FaultTest, ArmingRefusesWhatItCannotDo) {
  EXPECT_EQ(reasonOf<EpTypes::BadArgumentsException>(
                [&] { injector->arm(fault("", EpSession::RAISE_EXCEPTION, "CORBA::UNKNOWN")); }),
            "The fault names no operation. ");
  EXPECT_EQ(reasonOf<EpTypes::BadArgumentsException>([&] {
              injector->arm(fault("getCountry", EpSession::RAISE_EXCEPTION, "Nobody::Exception"));
            }).rfind("The fault's exception \"Nobody::Exception\" is not one the service can raise; known: ", 0),
            0u);
  injector->arm(fault("getCountry", EpSession::RAISE_EXCEPTION, "CORBA::UNKNOWN"));
  injector->arm(fault("getCounty", EpSession::RETURN_NIL));
  EXPECT_EQ(injector->armedCount(), 2u);
  injector->clear();
  EXPECT_EQ(injector->armedCount(), 0u);
  EXPECT_NO_THROW(CORBA::String_var(well->getCountry()));
}

TEST_F(FaultTest, ReferencesToEntitiesThatDoNotExistRaiseObjectNotExist) {
  const std::string id = CORBA::String_var(well->getId()).in();
  for (const char* missing : {"well:999999999", "well:abc", "project:1", "", "well:0"}) {
    CORBA::Object_var object = clientOrb()->string_to_object(corbalocWithId(well.in(), id, missing).c_str());
    EpiWell::Well_var ghost = EpiWell::Well::_unchecked_narrow(object.in());
    EXPECT_THROW(CORBA::String_var(ghost->getCountry()), CORBA::OBJECT_NOT_EXIST) << missing;
  }
  EXPECT_THROW(clientOrb()->string_to_object("IOR:nonsense"), CORBA::SystemException);
  // The service is still there.
  EXPECT_STREQ(CORBA::String_var(well->getId()).in(), id.c_str());
}
