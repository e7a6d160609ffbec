// kel_Well as an application sees it: construction, narrowing, stringified
// references, identity, its project, the creators, every attribute, and the
// exact failure each of them reports.
#include <cmath>
#include <functional>
#include <string>

#include <EpiWell.hh>

#include "ContractService.h"
#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_EntityQuery.h"
#include "kel_FloatQuantity.h"
#include "kel_Internal.h"
#include "kel_RemoteStub.h"
#include "kel_Unit.h"
#include "kel_Well.h"
#include "kel_WellBore.h"

using namespace contract;

namespace {

std::string in(const char* operation) { return std::string("kel_Well::") + operation + " method. "; }
std::string id(const kel_Entity& entity) { return str(entity.getId()); }

EpiWell::Well_ptr rawWell(const kel_Well& well) {
  return static_cast<EpiWell::Well_ptr>(well.getRemoteObject(kel_Internal()));
}

struct WellProbe : kel_Well {
  using kel_Well::getClassName;
};

// ---------------------------------------------------------------- construction

TEST(WellConstruction, ANullStubFailsWithTheBareConstructorText) {
  expectChain(caught([] { kel_Well w(kel_RemoteStub(nullptr), true); }),
              {sys("Trying to instantiate an kel_Well using a NULL pointer.")});
  expectChain(caught([] { kel_Well w(kel_RemoteStub(nullptr), false); }),
              {sys("Trying to instantiate an kel_Well using a NULL pointer.")});
  expectChain(caught([] { kel_WellBore b(kel_RemoteStub(nullptr), true); }),
              {sys("Trying to instantiate an kel_WellBore using a NULL pointer.")});
}

TEST(WellConstruction, ANilReferenceIsRefusedLikeANullOne) {
  expectChain(caught([] { kel_Well w(kel_RemoteStub(CORBA::Object::_nil()), true); }),
              {sys("Trying to instantiate an kel_Well using a NULL pointer.")});
}

TEST(WellIdentity, EntityTypeRepositoryIdAndClassName) {
  EXPECT_EQ("EpiWell_Well", str(kel_Well::getEntityType()));
  EXPECT_EQ(std::string(EpiWell::_tc_Well->id()), str(kel_Well::getRepositoryId()));
  EXPECT_EQ("EpiWell_WellBore", str(kel_WellBore::getEntityType()));
  EXPECT_EQ(std::string(EpiWell::_tc_WellBore->id()), str(kel_WellBore::getRepositoryId()));
  EXPECT_EQ("kel_Well", str(WellProbe().getClassName()));
}

TEST_F(Contract, AWrapperBuiltFromTheRemoteReferenceIsTheSameWell) {
  const kel_Well original = well();
  EpiWell::Well_ptr raw = rawWell(original);
  ASSERT_FALSE(CORBA::is_nil(raw));

  kel_Well counted(kel_RemoteStub(raw), true);
  kel_Well adopted(kel_RemoteStub(EpiWell::Well::_duplicate(raw)), false);
  counted.setCountry("Norway");
  EXPECT_EQ("Norway", str(adopted.getCountry()));
  EXPECT_TRUE(counted == original);
  EXPECT_TRUE(adopted == original);
}

TEST_F(Contract, AWellboreReferenceDoesNotMakeAWell) {
  const kel_WellBore b = bore(well());
  auto* raw = static_cast<EpiWell::WellBore_ptr>(b.getRemoteObject(kel_Internal()));
  EXPECT_EQ(Kind::System, caught([&] { kel_Well w(kel_RemoteStub(raw), true); }).thrown);
}

TEST_F(Contract, CopiesAndAssignmentsEachHoldTheirOwnCount) {
  kel_Well a = well();
  {
    kel_Well copy(a);
    copy.setField("Troll");
  }
  EXPECT_EQ("Troll", str(a.getField()));

  kel_Well b;
  EXPECT_TRUE(b.isNil());
  b = a;
  kel_Well& same = b;
  b = same;
  EXPECT_EQ("Troll", str(b.getField()));
  EXPECT_TRUE(b == a);

  b = kel_Well();
  EXPECT_TRUE(b.isNil());
  EXPECT_EQ("Troll", str(a.getField()));
}

// ---------------------------------------------------------------- narrow

TEST_F(Contract, NarrowingAnotherKindOfEntity) {
  const kel_Well w = well();
  const kel_WellBore b = bore(w);
  const kel_Entity boreEntity(b);
  const kel_Entity wellEntity(w);

  EXPECT_TRUE(kel_Well::narrow(wellEntity, true) == w);
  EXPECT_TRUE(kel_WellBore::narrow(boreEntity, true) == b);

  EXPECT_TRUE(kel_Well::narrow(boreEntity, false).isNil());
  expectChain(caught([&] { kel_Well::narrow(boreEntity, true); }),
              {sys("Could not narrow the given entity object to a well object. ", kSystem + in("narrow")),
               sys("The EpiWell::Well came back NULL. ")});

  EXPECT_TRUE(kel_WellBore::narrow(wellEntity, false).isNil());
  expectChain(caught([&] { kel_WellBore::narrow(wellEntity, true); }),
              {sys("Could not narrow the given entity object to a wellbore object. ",
                   std::string(kSystem) + "kel_WellBore::narrow method. "),
               sys("The EpiWell::WellBore came back nil. ")});
}

TEST(WellNarrow, ANilEntityFailsWhateverMustMatchSays) {
  for (bool mustMatch : {false, true}) {
    SCOPED_TRACE(mustMatch ? "mustMatch" : "no mustMatch");
    expectChain(caught([&] { kel_Well::narrow(kel_Entity(), mustMatch); }),
                {sys("Could not narrow the given entity object to a well object. ", kSystem + in("narrow")),
                 sys("The EpEntity::Entity came back NULL. ")});
    expectChain(caught([&] { kel_WellBore::narrow(kel_Entity(), mustMatch); }),
                {sys("Could not narrow the given entity object to a wellbore object. ",
                     std::string(kSystem) + "kel_WellBore::narrow method. "),
                 sys("The EpEntity::Entity came back nil. ")});
  }
}

// ---------------------------------------------------------------- stringified references

TEST_F(Contract, GetFromStringFindsTheSameWell) {
  const kel_Well w = well();
  const kel_Well back = kel_Well::getFromString(w.getStringifiedReference());
  EXPECT_TRUE(back == w);
  EXPECT_FALSE(back < w);
  EXPECT_FALSE(w < back);
  EXPECT_EQ("UWI-1", str(back.getIdentifier().getValue()));
}

// A corbaloc address of a stored well: its object key is the persistent POA
// "Wells" and the well's id, as the ORB writes persistent keys.
std::string corbalocOf(const kel_Well& well) {
  return "corbaloc:iiop:127.0.0.1:" + std::to_string(kelwell_test::sharedService().port()) + "/%ffWells%00" +
         id(well);
}

TEST_F(Contract, GetFromStringTakesEveryFormOfTheOrb) {
  const kel_Well w = well();
  EXPECT_TRUE(kel_Well::getFromString(corbalocOf(w).c_str()) == w);
}

// A stub holding a well reference that the ORB has not typed yet (a corbaloc
// reference) is narrowed and wrapped, counted or adopted; one of another
// interface is still refused.
TEST_F(Contract, AStubOfAnUntypedWellReferenceIsWrapped) {
  const kel_Well w = well();
  auto orb = static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb());
  CORBA::Object_var untyped = orb->string_to_object(corbalocOf(w).c_str());
  ASSERT_TRUE(untyped->_is_a(EpiWell::_tc_Well->id()));
  const kel_Well wrapped(kel_RemoteStub(untyped.in()), true);
  EXPECT_TRUE(wrapped == w);

  // Adopted: the wrapper now owns the caller's count and gives it up itself.
  CORBA::Object_ptr handedOver = orb->string_to_object(corbalocOf(w).c_str());
  {
    const kel_Well adopted(kel_RemoteStub(handedOver), false);
    EXPECT_TRUE(adopted == w);
  }
  EXPECT_TRUE(wrapped == w);

  const kel_WellBore b = bore(w);
  CORBA::Object_var untypedBore = orb->string_to_object(b.getStringifiedReference());
  expectChain(caught([&] { kel_Well fromBore(kel_RemoteStub(untypedBore.in()), true); }),
              {sys("Trying to instantiate an kel_Well using a NULL pointer.")});
}

TEST(WellFromString, TextTheOrbCannotParse) {
  for (const char* text : {"not a reference", "", "IOR:zz"}) {
    SCOPED_TRACE(text);
    expectChain(caught([&] { kel_Well::getFromString(text); }),
                {sys("Couldn't create a well object from given stringified well. ", kCorba + in("getFromString"))});
    expectChain(caught([&] { kel_WellBore::getFromString(text); }),
                {sys("Couldn't create a wellbore object from given stringified wellbore. ",
                     std::string(kCorba) + "kel_WellBore::getFromString method. ")});
  }
}

TEST_F(Contract, GetFromStringOfAnotherKindOfObject) {
  const kel_Well w = well();
  const kel_WellBore b = bore(w);
  expectChain(caught([&] { kel_Well::getFromString(b.getStringifiedReference()); }),
              {user("Couldn't create a well object from given stringified well. ", kUser + in("getFromString")),
               user("The EpiWell::Well came back nil. ")});
  expectChain(caught([&] { kel_WellBore::getFromString(w.getStringifiedReference()); }),
              {user("Couldn't create a wellbore object from given stringified wellbore. ",
                    std::string(kUser) + "kel_WellBore::getFromString method. "),
               user("The EpiWell::WellBore came back nil. ")});
}

// ---------------------------------------------------------------- identity and project

TEST_F(Contract, WrappersObtainedSeparatelyCompareByIdentifier) {
  const kel_Well a = well("A", "UWI-A");
  const kel_Well b = well("B", "UWI-B");
  const kel_Well aAgain = kel_Well::getFromString(a.getStringifiedReference());
  EXPECT_TRUE(a == aAgain);
  EXPECT_FALSE(a < aAgain);
  EXPECT_FALSE(aAgain < a);
  EXPECT_FALSE(a == b);
  EXPECT_NE(a < b, b < a);
  EXPECT_EQ(id(a) < id(b), a < b);
}

TEST_F(Contract, AFailingComparisonNamesTheOperator) {
  const kel_Well a = well("A", "UWI-A");
  const kel_Well b = well("B", "UWI-B");
  raise("getId", "EpDataStore::StoreException", "m", "d", id(a));
  Caught equal = caught([&] { (void)(a == b); });
  expectTop(equal, {sys("Could not compare this well with given well. ", kSystem + in("operator=="))});
  EXPECT_TRUE(equal.chain && equal.chain->hasCause());

  raise("getId", "EpDataStore::StoreException", "m", "d", id(a));
  expectTop(caught([&] { (void)(a < b); }),
            {sys("Could not compare this well with given well. ", kSystem + in("operator<"))});
}

TEST_F(Contract, GetProject) {
  const kel_Well w = well();
  EXPECT_TRUE(w.getProject() == project);

  returnNil("getProject", id(w));
  const kel_Project none = w.getProject();
  EXPECT_TRUE(none.isNil());

  raise("getProject", "EpDataStore::StoreException", "read failed. ", "disk I/O error", id(w));
  expectChain(caught([&] { w.getProject(); }),
              {sys("Could not return the project which this well belongs to. ",
                   kStore + in("getProject") + "read failed. disk I/O error")});

  raise("getProject", "CORBA::NO_PERMISSION", "", "", id(w));
  expectChain(caught([&] { w.getProject(); }),
              {sys("Could not return the project which this well belongs to. ", kCorba + in("getProject"))});
}

// ---------------------------------------------------------------- creators

TEST_F(Contract, CreatedWellsStoredAndStoreless) {
  const kel_Well stored = kel_Well::createNewWell(project, "F/3-2", kel_StringPair("UWI", "F/3-2"), session);
  EXPECT_FALSE(str(stored.getStoreName()).empty());
  EXPECT_EQ("F/3-2", str(stored.getIdentifier().getValue()));

  kel_EntityQuery byName(project, "EpiWell_Well");
  byName.setWhereClause("EpiWell_Well.name = :name");
  byName.addParameter(":name", "F/3-2");
  byName.execute();
  ASSERT_EQ(1u, byName.getEntityResult().size());
  EXPECT_TRUE(kel_Well::narrow(byName.getEntityResult()[0], true) == stored);

  const kel_Well storeless = kel_Well::createStorelessWell(project, kel_StringPair("UWI", "S-1"), session);
  EXPECT_EQ("", str(storeless.getStoreName()));
  EXPECT_EQ("UWI", str(storeless.getIdentifier().getKey()));
  EXPECT_EQ("S-1", str(storeless.getIdentifier().getValue()));
  EXPECT_TRUE(storeless.getProject() == project);
}

TEST_F(Contract, ANilSessionFailsBeforeAnyFactoryIsSought) {
  raise("find_factories", "CORBA::INTERNAL");
  const unsigned long before = armed();
  expectChain(caught([&] { kel_Well::createStorelessWell(project, kel_StringPair("UWI", "x"), kel_Session()); }),
              {user("Could not create a storeless well from given inputs. ", kUser + in("createStorelessWell")),
               user("The supplied session is nil. ")});
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", kel_StringPair("UWI", "x"), kel_Session()); }),
              {sys("Could not create a new well from given inputs. ", kSystem + in("createNewWell")),
               sys("The supplied session is nil. ")});
  EXPECT_EQ(before, armed());
}

TEST_F(Contract, CreateStorelessWellChecksTheProjectAfterFindingTheFactory) {
  const kel_StringPair uwi("UWI", "x");
  expectChain(caught([&] { kel_Well::createStorelessWell(kel_Project(), uwi, session); }),
              {sys("Could not create a storeless well from given inputs. ", kSystem + in("createStorelessWell")),
               sys("The supplied project is nil. ")});
  returnNil("find_factories");
  expectChain(caught([&] { kel_Well::createStorelessWell(kel_Project(), uwi, session); }),
              {sys("Could not create a storeless well from given inputs. ", kSystem + in("createStorelessWell")),
               sys("The EpiWell::StorelessWellFactory came back NULL. ")});
}

TEST_F(Contract, CreateNewWellWithANilProjectFailsWhereTheProjectIsUsed) {
  Caught failure = caught([&] { kel_Well::createNewWell(kel_Project(), "x", kel_StringPair("UWI", "x"), session); });
  ASSERT_TRUE(failure.chain);
  EXPECT_EQ(Kind::System, failure.thrown);
  EXPECT_EQ("Could not create a new well from given inputs. ", str(failure.chain->getMessage()));
  EXPECT_NE("The supplied project is nil. ", str(failure.chain->getRootCause().getMessage()));
}

TEST_F(Contract, CreatorsReportANilFactoryAndANilWell) {
  const kel_StringPair uwi("UWI", "x");
  returnNil("find_factories");
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", uwi, session); }),
              {sys("Could not create a new well from given inputs. ", kSystem + in("createNewWell")),
               sys("The EpiWell::NewWellFactory came back nil. ")});

  returnNil("createWell");
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", uwi, session); }),
              {sys("Could not create a new well from given inputs. ", kSystem + in("createNewWell")),
               sys("The EpiWell::Well came back nil. ")});
  returnNil("createWell");
  expectChain(caught([&] { kel_Well::createStorelessWell(project, uwi, session); }),
              {sys("Could not create a storeless well from given inputs. ", kSystem + in("createStorelessWell")),
               sys("The EpiWell::Well came back NULL. ")});
}

TEST_F(Contract, CreatorsTranslateTheFactoriesExceptions) {
  const kel_StringPair uwi("UWI", "x");
  const std::string stored = "Could not create a new well from given inputs. ";
  const std::string storeless = "Could not create a storeless well from given inputs. ";

  raise("createWell", "EpDataStore::StoreException", "insert failed. ", "disk full");
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", uwi, session); }),
              {sys(stored, kStore + in("createNewWell") + "insert failed. disk full")});

  raise("createWell", "EpTypes::FailedOperationException", "no such project. ");
  expectChain(caught([&] { kel_Well::createStorelessWell(project, uwi, session); }),
              {sys(storeless, "Caught an EpTypes::FailedOperationException exception in the " + in("createStorelessWell") +
                                  "no such project. ")});

  raise("createWell", "CosLifeCycle::NoFactory", "IDL:EpiWell/NewWellFactory:1.0", "kelwell");
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", uwi, session); }),
              {sys(stored, "Caught a CosLifeCycle::NoFactory exception in the " + in("createNewWell"))});

  // A remote exception without a clause of its own: createNewWell has a
  // CORBA::UserException clause, createStorelessWell has not.
  raise("createWell", "EpEntity::ValidationException", "identifier refused. ");
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", uwi, session); }),
              {sys(stored, kCorbaUser + in("createNewWell"))});
  raise("createWell", "EpEntity::ValidationException", "identifier refused. ");
  expectChain(caught([&] { kel_Well::createStorelessWell(project, uwi, session); }),
              {sys(storeless, kCorba + in("createStorelessWell"))});

  raise("createWell", "CORBA::TIMEOUT");
  expectChain(caught([&] { kel_Well::createNewWell(project, "x", uwi, session); }),
              {sys(stored, kCorba + in("createNewWell"))});
}

// ---------------------------------------------------------------- failure translation

TEST_F(Contract, AStoreExceptionAppendsBothTextsAndHasNoCause) {
  const kel_Well w = well();
  raise("getCountry", "EpDataStore::StoreException", "Could not read well 1. ", "database is locked", id(w));
  expectChain(caught([&] { w.getCountry(); }),
              {sys("Could not return the name of the country in which this well was drilled. ",
                   kStore + in("getCountry") + "Could not read well 1. database is locked")});
}

TEST_F(Contract, OrbExceptionsAndUndeclaredRemoteExceptions) {
  const kel_Well w = well();
  for (const char* name : {"CORBA::NO_PERMISSION", "CORBA::INTERNAL", "CORBA::BAD_PARAM", "EpTypes::BadArgumentsException"}) {
    SCOPED_TRACE(name);
    raise("getCountry", name, "t", "", id(w));
    expectChain(caught([&] { w.getCountry(); }),
                {sys("Could not return the name of the country in which this well was drilled. ",
                     kCorba + in("getCountry"))});
  }
}

// Which kind a nil wrapper fails with is the library's choice; it fails
// through the operation's translation, and the kind of the first failure is
// kept at every level above it.
TEST(WellFailure, ANilWellFailsThroughItsOperation) {
  const kel_Well nil;
  Caught direct = caught([&] { nil.getCountry(); });
  ASSERT_TRUE(direct.chain);
  const Kind kind = direct.thrown;
  const std::string opening = kind == Kind::User ? kUser : kSystem;
  expectTop(direct, {{kind, "Could not return the name of the country in which this well was drilled. ",
                      opening + in("getCountry")}});

  expectTop(caught([&] { nil.getWaterDepth(); }),
            {{kind, "Could not return the depth of the water using default units. ", opening + in("getWaterDepth")},
             {kind, "Could not return the depth of the water. ", opening + in("getWaterDepth")}});
}

struct TextAttribute {
  const char* name;   // as the remote operations are named, without get/set
  kel_cppUtil::String (kel_Well::*get)() const;
  void (kel_Well::*set)(const kel_cppUtil::String&);
  const char* getMessage;
  const char* setMessage;
};

const TextAttribute kTextAttributes[] = {
    {"Country", &kel_Well::getCountry, &kel_Well::setCountry,
     "Could not return the name of the country in which this well was drilled. ",
     "Could not update the name of the country in which the well was drilled. "},
    {"County", &kel_Well::getCounty, &kel_Well::setCounty,
     "Could not return the name of the county in which the well was drilled. ",
     "Could not update the name of the county in which the well was drilled. "},
    {"CurrentOperator", &kel_Well::getCurrentOperator, &kel_Well::setCurrentOperator,
     "Could not return the name of the company that currently operates the well. ",
     "Could not update the name of the company that currently operates the well. "},
    {"Field", &kel_Well::getField, &kel_Well::setField,
     "Could not return the name of the field in which the well was drilled. ",
     "Could not update the name of the field in which the well was drilled. "},
    {"PlatformIdentifier", &kel_Well::getPlatformIdentifier, &kel_Well::setPlatformIdentifier,
     "Could not return the identifier of the platform from which the well was drilled. ",
     "Could not update the identifier of the platform from which the well was drilled. "},
    {"StateOrProvince", &kel_Well::getStateOrProvince, &kel_Well::setStateOrProvince,
     "Could not return the name of the state or province in which this well is located. ",
     "Could not update the name of the state or province in which this well is located. "},
    {"WellStatus", &kel_Well::getWellStatus, &kel_Well::setWellStatus,
     "Could not return the code representing the operational state of the well. ",
     "Could not update the code representing the operational state of the well. "},
};

TEST_F(Contract, TextAttributesRoundTripUntrimmedAndFailWithTheirOwnTexts) {
  kel_Well w = well();
  for (const TextAttribute& a : kTextAttributes) {
    SCOPED_TRACE(a.name);
    const std::string getter = std::string("get") + a.name;
    const std::string setter = std::string("set") + a.name;
    EXPECT_EQ("", str((w.*a.get)()));
    const std::string value = std::string("  ") + a.name + " value, ünïcode ";
    (w.*a.set)(value.c_str());
    EXPECT_EQ(value, str((w.*a.get)()));

    raise(getter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(w));
    expectChain(caught([&] { (w.*a.get)(); }), {sys(a.getMessage, kStore + in(getter.c_str()) + "m. d")});
    raise(setter.c_str(), "EpEntity::ValidationException", "refused. ", "", id(w));
    expectChain(caught([&] { (w.*a.set)("x"); }), {user(a.setMessage, kValidation + in(setter.c_str()) + "refused. ")});
    raise(setter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(w));
    expectChain(caught([&] { (w.*a.set)("x"); }), {sys(a.setMessage, kStore + in(setter.c_str()) + "m. d")});
    EXPECT_EQ(value, str((w.*a.get)()));
  }
}

// ---------------------------------------------------------------- spud date

TEST_F(Contract, SpudDateNullIsTheEmptyText) {
  kel_Well w = well();
  EXPECT_TRUE(w.getSpudDate().isNullDate());
  w.setSpudDate(kel_Date(1998, 7, 14));
  EXPECT_EQ(kel_Date(1998, 7, 14), w.getSpudDate());
  EXPECT_EQ(str(kel_Date(1998, 7, 14).toString()), std::string(CORBA::String_var(rawWell(w)->getSpudDate()).in()));
  w.setSpudDate(kel_Date(2001, 2, 3, 4, 5, 6));
  EXPECT_EQ(kel_Date(2001, 2, 3, 4, 5, 6), w.getSpudDate());
  w.setSpudDate(kel_Date());
  EXPECT_EQ("", std::string(CORBA::String_var(rawWell(w)->getSpudDate()).in()));
  EXPECT_TRUE(w.getSpudDate().isNullDate());

  raise("getSpudDate", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.getSpudDate(); }),
              {sys("Could not return this well's spud date. ", kStore + in("getSpudDate") + "m. d")});
  raise("setSpudDate", "EpEntity::ValidationException", "bad date. ", "", id(w));
  expectChain(caught([&] { w.setSpudDate(kel_Date(2000, 1, 1)); }),
              {user("Could not update this well's spud date. ", kValidation + in("setSpudDate") + "bad date. ")});
}

// ---------------------------------------------------------------- water depth

TEST_F(Contract, WaterDepthInTheRequestedUnit) {
  kel_Well w = well();
  w.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 100.0f));

  const kel_FloatQuantity same = w.getWaterDepth(kel_Unit::getUnit("ft"));
  EXPECT_EQ(100.0f, same.getValue());
  EXPECT_EQ("ft", str(same.getUnit().getAcronym()));

  const kel_FloatQuantity alias = w.getWaterDepth(kel_Unit::getUnit("FEET"));
  EXPECT_EQ(100.0f, alias.getValue());
  EXPECT_EQ("ft", str(alias.getUnit().getAcronym()));

  const kel_FloatQuantity nilUnit = w.getWaterDepth(kel_Unit());
  EXPECT_EQ(100.0f, nilUnit.getValue());
  EXPECT_EQ("ft", str(nilUnit.getUnit().getAcronym()));

  const kel_FloatQuantity metres = w.getWaterDepth(kel_Unit::getUnit("m"));
  EXPECT_NEAR(30.48f, metres.getValue(), 1e-4);
  EXPECT_EQ("m", str(metres.getUnit().getAcronym()));

  const kel_FloatQuantity byDefault = w.getWaterDepth();
  EXPECT_NEAR(30.48f, byDefault.getValue(), 1e-4);
  EXPECT_EQ("m", str(byDefault.getUnit().getAcronym()));
}

TEST_F(Contract, WaterDepthWithoutAUnitIsReturnedAsStored) {
  kel_Well w = well();
  const kel_FloatQuantity never = w.getWaterDepth(kel_Unit::getUnit("m"));
  EXPECT_TRUE(std::isnan(never.getValue()));
  EXPECT_TRUE(never.getUnit().isNil());

  w.setWaterDepth(kel_FloatQuantity(kel_Unit(), 42.0f));
  for (const char* unit : {"ft", "ms", "degC"}) {
    SCOPED_TRACE(unit);
    const kel_FloatQuantity unitless = w.getWaterDepth(kel_Unit::getUnit(unit));
    EXPECT_EQ(42.0f, unitless.getValue());
    EXPECT_TRUE(unitless.getUnit().isNil());
  }

  // A quantity that comes back with a nil unit is not converted either.
  w.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 100.0f));
  returnNil("getWaterDepth", id(w));
  const kel_FloatQuantity noUnit = w.getWaterDepth(kel_Unit::getUnit("m"));
  EXPECT_EQ(100.0f, noUnit.getValue());
  EXPECT_TRUE(noUnit.getUnit().isNil());
}

TEST_F(Contract, WaterDepthFailures) {
  kel_Well w = well();
  w.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 100.0f));

  // A unit of another kind: the platform refuses the conversion, a user failure.
  Caught wrongKind = caught([&] { w.getWaterDepth(kel_Unit::getUnit("ms")); });
  expectTop(wrongKind, {user("Could not return the depth of the water. ", kUser + in("getWaterDepth"))});
  ASSERT_TRUE(wrongKind.chain);
  ASSERT_TRUE(wrongKind.chain->hasCause());
  EXPECT_TRUE(wrongKind.chain->getCause().isUserException());

  const std::string converter = "Could not convert an EpiTypes::DataQuantity object to an kel_FloatQuantity object. ";
  returnOutOfRange("getWaterDepth", -1, id(w));
  expectChain(caught([&] { w.getWaterDepth(kel_Unit::getUnit("m")); }),
              {sys("Could not return the depth of the water. ", kSystem + in("getWaterDepth")),
               sys(converter, std::string(kSystem) + "kel_DataQuantityConverter::makeKelFloatQuantity method. "),
               sys(converter, "Unsupported data type")});
  returnOutOfRange("getWaterDepth", -1, id(w));
  expectChain(caught([&] { w.getWaterDepth(); }),
              {sys("Could not return the depth of the water using default units. ", kSystem + in("getWaterDepth")),
               sys("Could not return the depth of the water. ", kSystem + in("getWaterDepth")),
               sys(converter, std::string(kSystem) + "kel_DataQuantityConverter::makeKelFloatQuantity method. "),
               sys(converter, "Unsupported data type")});

  raise("getWaterDepth", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.getWaterDepth(); }),
              {sys("Could not return the depth of the water using default units. ", kSystem + in("getWaterDepth")),
               sys("Could not return the depth of the water. ", kStore + in("getWaterDepth") + "m. d")});

  // The service accepts lengths only.
  expectChain(caught([&] { w.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ms"), 5.0f)); }),
              {startsWith(user("Could not update the water depth. ", kValidation + in("setWaterDepth")))});
  raise("setWaterDepth", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("m"), 5.0f)); }),
              {sys("Could not update the water depth. ", kStore + in("setWaterDepth") + "m. d")});
  EXPECT_EQ(100.0f, w.getWaterDepth(kel_Unit::getUnit("ft")).getValue());
}

TEST_F(Contract, TheDefaultUnitsAreAskedForOnEveryCall) {
  kel_Well w = well();
  w.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("m"), 7.0f));
  EXPECT_EQ(7.0f, w.getWaterDepth().getValue());
  raise("defaultUnits", "CORBA::INTERNAL");
  expectTop(caught([&] { w.getWaterDepth(); }),
            {sys("Could not return the depth of the water using default units. ", kSystem + in("getWaterDepth"))});
  EXPECT_EQ(7.0f, w.getWaterDepth().getValue());
}

// ---------------------------------------------------------------- location

TEST_F(Contract, LocationInTheStoredTheDefaultAndAnotherSystem) {
  kel_Well w = well();
  const kel_CoordSystem wgs84 = kel_CoordSystem::getSystem("EPSG:4326");
  w.setLocation(kel_Coordinate(wgs84, 3.0, 56.0, -12.5));

  const kel_Coordinate stored = w.getLocation(kel_CoordSystem());
  EXPECT_EQ("EPSG:4326", str(stored.getSystem().getName()));
  EXPECT_EQ(3.0, stored.getX());
  EXPECT_EQ(56.0, stored.getY());
  EXPECT_EQ(-12.5, stored.getZ());

  const kel_Coordinate utm = w.getLocation(kel_CoordSystem::getSystem("EPSG:32631"));
  EXPECT_EQ("EPSG:32631", str(utm.getSystem().getName()));
  EXPECT_NEAR(500000.0, utm.getX(), 0.01);
  EXPECT_EQ(-12.5, utm.getZ());

  const kel_Coordinate byDefault = w.getLocation();
  EXPECT_EQ("EPSG:4326", str(byDefault.getSystem().getName()));
  EXPECT_EQ(56.0, byDefault.getY());
}

TEST_F(Contract, LocationFailures) {
  kel_Well w = well();
  w.setLocation(kel_Coordinate(kel_CoordSystem::getSystem("EPSG:4326"), 3.0, 56.0, 0.0));
  const std::string message = "Could not return this well's surface coordinate location. ";

  returnNil("getLocation", id(w));
  expectChain(caught([&] { w.getLocation(kel_CoordSystem::getSystem("EPSG:4326")); }),
              {sys(message, kSystem + in("getLocation")), sys("The EpCoordinateService::System came back nil. ")});
  returnNil("getLocation", id(w));
  expectChain(caught([&] { w.getLocation(); }),
              {sys(message, kSystem + in("getLocation")), sys(message, kSystem + in("getLocation")),
               sys("The EpCoordinateService::System came back nil. ")});

  expectChain(caught([&] { w.getLocation(kel_CoordSystem::getSystem("EPSG:4326+TWT")); }),
              {startsWith(sys(message, "Caught an EpCoordinateService::NoKnownTransformException exception in the " +
                                           in("getLocation")))});
  raise("getLocation", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.getLocation(kel_CoordSystem()); }), {sys(message, kStore + in("getLocation") + "m. d")});

  // No CORBA::Exception clause in the default-system overload.
  raise("getLocation", "CORBA::INTERNAL", "", "", id(w));
  Caught viaDefault = caught([&] { w.getLocation(); });
  expectTop(viaDefault, {sys(message, kSystem + in("getLocation")), sys(message, kCorba + in("getLocation"))});

  expectChain(caught([&] { w.setLocation(kel_Coordinate(kel_CoordSystem(), 1.0, 2.0, 3.0)); }),
              {startsWith(user("Could not update the well's surface coordinate location. ",
                               kValidation + in("setLocation")))});
  raise("setLocation", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.setLocation(kel_Coordinate(kel_CoordSystem::getSystem("EPSG:4326"), 1.0, 2.0, 3.0)); }),
              {sys("Could not update the well's surface coordinate location. ", kStore + in("setLocation") + "m. d")});
  EXPECT_EQ(56.0, w.getLocation(kel_CoordSystem()).getY());
}

TEST_F(Contract, ADefaultSystemThatCannotBeHadFailsTheDefaultLocationOnly) {
  kel_Well w = well();
  w.setLocation(kel_Coordinate(kel_CoordSystem::getSystem("EPSG:4326"), 3.0, 56.0, 0.0));
  raise("defaultSystem", "CORBA::INTERNAL");
  Caught failure = caught([&] { w.getLocation(); });
  ASSERT_TRUE(failure.chain);
  EXPECT_EQ(Kind::System, failure.thrown);
  EXPECT_EQ("Could not return this well's surface coordinate location. ", str(failure.chain->getMessage()));
  const std::string context = str(failure.chain->getContext());
  EXPECT_TRUE(context == kUnknown + in("getLocation") || context == kSystem + in("getLocation")) << context;
  EXPECT_EQ(56.0, w.getLocation().getY());
}

// ---------------------------------------------------------------- identifier and aliases

TEST_F(Contract, IdentifierAndAliases) {
  kel_Well w = well("W", "UWI-7");
  const kel_StringPair identifier = w.getIdentifier();
  EXPECT_EQ("UWI", str(identifier.getKey()));
  EXPECT_EQ("UWI-7", str(identifier.getValue()));

  EXPECT_EQ(0u, w.getWellAliases().size());
  kel_Array<kel_StringPair> aliases(3);
  aliases.set(0, kel_StringPair("API", "42-501-20130"));
  aliases.set(1, kel_StringPair("Name", "Gullfaks A-12 "));
  aliases.set(2, kel_StringPair("API", "42-501-20131"));
  w.setWellAliases(aliases);
  const kel_Array<kel_StringPair> back = w.getWellAliases();
  ASSERT_EQ(3u, back.size());
  for (unsigned i = 0; i < 3; ++i) {
    EXPECT_EQ(str(aliases[i].getKey()), str(back[i].getKey()));
    EXPECT_EQ(str(aliases[i].getValue()), str(back[i].getValue()));
  }
  w.setWellAliases(kel_Array<kel_StringPair>());
  EXPECT_EQ(0u, w.getWellAliases().size());

  raise("getIdentifier", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.getIdentifier(); }),
              {sys("Could not return this well's primary identifier. ", kStore + in("getIdentifier") + "m. d")});
  raise("getAliases", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.getWellAliases(); }),
              {sys("Could not return a list of this well's aliases. ", kStore + in("getWellAliases") + "m. d")});
  raise("setAliases", "EpEntity::ValidationException", "no. ", "", id(w));
  expectChain(caught([&] { w.setWellAliases(aliases); }),
              {user("Could not update this well's list of aliases. ", kValidation + in("setWellAliases") + "no. ")});
  raise("setAliases", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { w.setWellAliases(aliases); }),
              {sys("Could not update this well's list of aliases. ", kStore + in("setWellAliases") + "m. d")});
  EXPECT_EQ(0u, w.getWellAliases().size());
}

} // namespace
