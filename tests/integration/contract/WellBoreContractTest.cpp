// kel_WellBore as an application sees it: its attributes, enumerations,
// depths, dates, well, the wellbores of a well, the creators, the lists of
// valid codes and the aliases, with the exact failure each reports.
#include <cmath>
#include <string>

#include <EpiWell.hh>

#include "ContractService.h"
#include "kel_Date.h"
#include "kel_FloatQuantity.h"
#include "kel_Internal.h"
#include "kel_Unit.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellTypes.h"

using namespace contract;

namespace {

std::string in(const char* operation) { return std::string("kel_WellBore::") + operation + " method. "; }
std::string id(const kel_Entity& entity) { return str(entity.getId()); }

EpiWell::WellBore_ptr rawBore(const kel_WellBore& bore) {
  return static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal()));
}

std::vector<std::string> texts(const kel_Array<kel_cppUtil::String>& list) {
  std::vector<std::string> result;
  for (unsigned i = 0; i < list.size(); ++i) result.push_back(str(list[i]));
  return result;
}

// ---------------------------------------------------------------- codes

struct CodeAttribute {
  const char* name;
  kel_cppUtil::String (kel_WellBore::*get)() const;
  void (kel_WellBore::*set)(const kel_cppUtil::String&);
  const char* validCode;
  const char* getMessage;
  const char* setMessage;
};

const CodeAttribute kCodes[] = {
    {"BoreStatus", &kel_WellBore::getBoreStatus, &kel_WellBore::setBoreStatus, "plugged and abandoned",
     "Could not return the code representing the operational state of this wellbore. ",
     "Could not update the code representing the operational state of this wellbore. "},
    {"FlowDirection", &kel_WellBore::getFlowDirection, &kel_WellBore::setFlowDirection, "injection",
     "Could not return the flow direction of the wellbore. ", "Could not update the flow direction of the wellbore. "},
    {"FluidType", &kel_WellBore::getFluidType, &kel_WellBore::setFluidType, "oil and gas",
     "Could not return the fluid type of the wellbore. ", "Could not update the fluid type of the wellbore. "},
    {"ShowType", &kel_WellBore::getShowType, &kel_WellBore::setShowType, "CO2",
     "Could not return the show type of the wellbore. ", "Could not update the show type of the wellbore. "},
};

TEST_F(Contract, CodeAttributesAndTheirFailures) {
  kel_WellBore b = bore(well());
  for (const CodeAttribute& a : kCodes) {
    SCOPED_TRACE(a.name);
    const std::string getter = std::string("get") + a.name;
    const std::string setter = std::string("set") + a.name;
    (b.*a.set)(a.validCode);
    EXPECT_EQ(a.validCode, str((b.*a.get)()));

    expectChain(caught([&] { (b.*a.set)("no such code"); }),
                {startsWith(user(a.setMessage, kValidation + in(setter.c_str())))});
    raise(getter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(b));
    expectChain(caught([&] { (b.*a.get)(); }), {sys(a.getMessage, kStore + in(getter.c_str()) + "m. d")});
    raise(setter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(b));
    expectChain(caught([&] { (b.*a.set)(a.validCode); }), {sys(a.setMessage, kStore + in(setter.c_str()) + "m. d")});
    EXPECT_EQ(a.validCode, str((b.*a.get)()));
  }
}

TEST(WellBoreCodes, TheListsOfValidCodes) {
  EXPECT_EQ((std::vector<std::string>{"production", "injection", "observation", "disposal", "cyclic", "none",
                                      "unknown"}),
            texts(kel_WellBore::getValidFlowDirections()));
  const std::vector<std::string> statuses = texts(kel_WellBore::getValidBoreStatuses());
  ASSERT_EQ(11u, statuses.size());
  EXPECT_EQ("planned", statuses.front());
  EXPECT_EQ("plugged and abandoned", statuses[8]);
  const std::vector<std::string> fluids = texts(kel_WellBore::getValidFluidTypes());
  ASSERT_EQ(14u, fluids.size());
  EXPECT_EQ("oil", fluids.front());
  EXPECT_EQ("unknown", fluids.back());
  EXPECT_EQ(fluids, texts(kel_WellBore::getValidShowTypes()));
}

TEST_F(Contract, ASetWithNoValuesIsAnEmptyList) {
  returnOutOfRange("count", 0, "Kelvast/FlowDirection");
  EXPECT_EQ(0u, kel_WellBore::getValidFlowDirections().size());
  // A count larger than the set still gives the values that are there.
  returnOutOfRange("count", 100, "Kelvast/FlowDirection");
  EXPECT_EQ(7u, kel_WellBore::getValidFlowDirections().size());
}

TEST_F(Contract, FailuresOfTheReferenceValueLookup) {
  const std::string lookup = "Could not create a list of reference values from the Reference Value Service. ";

  returnNil("getSet");
  expectChain(caught([] { kel_WellBore::getValidFlowDirections(); }),
              {sys("Could not return a list of valid flow directions. ", kSystem + in("getValidFlowDirections")),
               sys(lookup, kSystem + in("getFromRVS")),
               sys("EpReferenceValueService::ReferenceValueSet came back nil")});

  raise("getSet", "EpReferenceValueService::NotFoundException", "No such set. ");
  expectChain(caught([] { kel_WellBore::getValidBoreStatuses(); }),
              {sys("Could not return a list of valid bore statuses. ", kSystem + in("getValidBoreStatuses")),
               sys(lookup, "Caught an EpReferenceValueService::NotFoundException exception in the " +
                               in("getFromRVS") + "No such set. ")});

  raise("getSet", "EpTypes::FailedOperationException", "Catalogue unavailable. ");
  expectChain(caught([] { kel_WellBore::getValidFluidTypes(); }),
              {sys("Could not return a list of valid fluid types. ", kSystem + in("getValidFluidTypes")),
               sys(lookup, "Caught an EpTypes::FailedOperationException exception in the " + in("getFromRVS") +
                               "Catalogue unavailable. ")});

  raise("getValues", "CORBA::COMM_FAILURE");
  expectChain(caught([] { kel_WellBore::getValidShowTypes(); }),
              {sys("Could not return a list of valid show types. ", kSystem + in("getValidShowTypes")),
               sys(lookup, kCorba + in("getFromRVS"))});
}

// ---------------------------------------------------------------- enumerations

TEST_F(Contract, CalculationMethodsComeBackByNumberAndTwoHasNoCounterpart) {
  const kel_WellBore b = bore(well());
  EXPECT_EQ(kel_WellBore::CALCULATION_METHOD_0, b.getCalcMethod());
  for (int value : {0, 1, 3, 4, 5}) {
    returnOutOfRange("getCalcMethod", value, id(b));
    EXPECT_EQ(value, static_cast<int>(b.getCalcMethod()));
  }
  for (int value : {2, 6, -1}) {
    SCOPED_TRACE(value);
    returnOutOfRange("getCalcMethod", value, id(b));
    expectChain(
        caught([&] { b.getCalcMethod(); }),
        {sys("Could not return the method used to compute the geometry of the well path. ", kSystem + in("getCalcMethod")),
         sys("Couldn't convert the EpiWell::WellBore::CalculationMethod to kel_WellBore::CalculationMethod. ",
             std::string(kSystem) + "kel_WellEnumConverter::makeKelCalculationMethod method. "),
         sys("The calculationMethod couldn't be mapped. " + std::to_string(value))});
  }
  raise("getCalcMethod", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getCalcMethod(); }),
              {sys("Could not return the method used to compute the geometry of the well path. ",
                   kStore + in("getCalcMethod") + "m. d")});
}

TEST_F(Contract, ElevationDatum) {
  kel_WellBore b = bore(well());
  for (int value = 0; value <= 6; ++value) {
    b.setElevationDatum(static_cast<kel_WellBore::WellDepthDatum>(value));
    EXPECT_EQ(value, static_cast<int>(b.getElevationDatum()));
  }
  returnOutOfRange("getElevationDatum", 7, id(b));
  expectChain(caught([&] { b.getElevationDatum(); }),
              {sys("Could not return this wellbore's depth datum. ", kSystem + in("getElevationDatum")),
               sys("Couldn't convert the EpiWell::WellBore::WellDepthDatum to kel_WellBore::WellDepthDatum. ",
                   std::string(kSystem) + "kel_WellEnumConverter::makeKelWellDepthDatum method. "),
               sys("The wellDepthDatum couldn't be mapped. 7")});

  // Refused before anything is sent: the armed fault is still waiting.
  raise("setElevationDatum", "EpDataStore::StoreException", "m. ", "d", id(b));
  for (int value : {7, -1}) {
    SCOPED_TRACE(value);
    expectChain(caught([&] { b.setElevationDatum(static_cast<kel_WellBore::WellDepthDatum>(value)); }),
                {sys("Could not update this wellbore's depth datum. ", kSystem + in("setElevationDatum")),
                 sys("Couldn't convert the kel_WellBore::WellDepthDatum to EpiWell::WellBore::WellDepthDatum. ",
                     std::string(kSystem) + "kel_WellEnumConverter::makeEpiWellDepthDatum method. "),
                 sys("The wellDepthDatum couldn't be mapped. " + std::to_string(value))});
  }
  EXPECT_EQ(1u, armed());
  expectChain(caught([&] { b.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_2); }),
              {sys("Could not update this wellbore's depth datum. ", kStore + in("setElevationDatum") + "m. d")});
  EXPECT_EQ(kel_WellBore::WELL_DEPTH_DATUM_6, b.getElevationDatum());
  raise("setElevationDatum", "EpEntity::ValidationException", "no. ", "", id(b));
  expectChain(caught([&] { b.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_2); }),
              {user("Could not update this wellbore's depth datum. ", kValidation + in("setElevationDatum") + "no. ")});
}

TEST_F(Contract, TotalDepthType) {
  kel_WellBore b = bore(well());
  for (int value = 0; value <= 3; ++value) {
    b.setTotalDepthType(static_cast<kel_WellBore::TotalDepthReference>(value));
    EXPECT_EQ(value, static_cast<int>(b.getTotalDepthType()));
  }
  returnOutOfRange("getTotalDepthType", 4, id(b));
  expectChain(caught([&] { b.getTotalDepthType(); }),
              {sys("Could not return the type of bottom hole referenced by totalDepth. ", kSystem + in("getTotalDepthType")),
               sys("Couldn't convert the EpiWell::WellBore::TotalDepthReference to kel_WellBore::TotalDepthReference. ",
                   std::string(kSystem) + "kel_WellEnumConverter::makeKelTotalDepthReference method. "),
               sys("The totalDepthReference couldn't be mapped. 4")});
  expectChain(caught([&] { b.setTotalDepthType(static_cast<kel_WellBore::TotalDepthReference>(4)); }),
              {sys("Could not update the type of bottom hole referenced by totalDepth. ", kSystem + in("setTotalDepthType")),
               sys("Couldn't convert the kel_WellBore::TotalDepthReference to EpiWell::WellBore::TotalDepthReference. ",
                   std::string(kSystem) + "kel_WellEnumConverter::makeEpiTotalDepthReference method. "),
               sys("The totalDepthReference couldn't be mapped. 4")});
  EXPECT_EQ(kel_WellBore::TOTAL_DEPTH_REFERENCE_3, b.getTotalDepthType());
  raise("getTotalDepthType", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getTotalDepthType(); }),
              {sys("Could not return the type of bottom hole referenced by totalDepth. ",
                   kStore + in("getTotalDepthType") + "m. d")});
  raise("setTotalDepthType", "EpEntity::ValidationException", "no. ", "", id(b));
  expectChain(caught([&] { b.setTotalDepthType(kel_WellBore::TOTAL_DEPTH_REFERENCE_0); }),
              {user("Could not update the type of bottom hole referenced by totalDepth. ",
                    kValidation + in("setTotalDepthType") + "no. ")});
}

TEST(WellTypes, DepthAndTimeKindsCarryTheServiceNumbers) {
  EXPECT_EQ(EpiWell::DEPTH_MD, kel_WellTypes::DEPTH_TYPE_0);
  EXPECT_EQ(EpiWell::DEPTH_TVDGL, kel_WellTypes::DEPTH_TYPE_3);
  EXPECT_EQ(EpiWell::TIME_TWT_MSL, kel_WellTypes::TIME_TYPE_2);
  kel_WellTypes::Depths depths;
  depths.values = kel_FloatQuantities(kel_Unit(), kel_Array<float>(2));
  depths.type = kel_WellTypes::DEPTH_TYPE_2;
  kel_WellTypes::Times times;
  times.type = kel_WellTypes::TIME_TYPE_1;
  EXPECT_EQ(2u, depths.values.getValues().size());
  EXPECT_EQ(kel_WellTypes::TIME_TYPE_1, times.type);
}

// ---------------------------------------------------------------- depths

struct DepthAttribute {
  const char* name;
  kel_FloatQuantity (kel_WellBore::*getIn)(const kel_Unit&) const;
  kel_FloatQuantity (kel_WellBore::*getDefault)() const;
  void (kel_WellBore::*set)(const kel_FloatQuantity&);
  const char* getMessage;
  const char* defaultMessage;
  const char* setMessage;
};

const DepthAttribute kDepths[] = {
    {"TotalDepth", &kel_WellBore::getTotalDepth, &kel_WellBore::getTotalDepth, &kel_WellBore::setTotalDepth,
     "Could not return the measured depth from well datum to bottom hole. ",
     "Could not return the measured depth from well datum to bottom hole using default unit. ",
     "Could not update the measured depth from well datum to bottom hole. "},
    {"PlugBackTotalDepth", &kel_WellBore::getPlugBackTotalDepth, &kel_WellBore::getPlugBackTotalDepth,
     &kel_WellBore::setPlugBackTotalDepth,
     "Could not return the depth represents the measured depth of this wellbore after drilling has been completed. ",
     "Could not return the depth represents the measured depth of this wellbore after drilling has been completed "
     "using a default unit. ",
     "Could not update the depth represents the measured depth of this wellbore after drilling has been completed. "},
    {"Elevation", &kel_WellBore::getElevation, &kel_WellBore::getElevation, &kel_WellBore::setElevation,
     "Could not return the distance from the regional vertical datum. ",
     "Could not return the distance from the regional vertical datum using default unit. ",
     "Could not update the distance from the regional vertical datum. "},
};

TEST_F(Contract, DepthsInTheRequestedAndTheDefaultUnit) {
  kel_WellBore b = bore(well());
  for (const DepthAttribute& a : kDepths) {
    SCOPED_TRACE(a.name);
    EXPECT_TRUE(std::isnan((b.*a.getIn)(kel_Unit::getUnit("m")).getValue()));
    (b.*a.set)(kel_FloatQuantity(kel_Unit::getUnit("ft"), 1000.0f));
    const kel_FloatQuantity same = (b.*a.getIn)(kel_Unit::getUnit("F"));
    EXPECT_EQ(1000.0f, same.getValue());
    EXPECT_EQ("ft", str(same.getUnit().getAcronym()));
    EXPECT_EQ(1000.0f, (b.*a.getIn)(kel_Unit()).getValue());
    const kel_FloatQuantity metres = (b.*a.getDefault)();
    EXPECT_NEAR(304.8f, metres.getValue(), 1e-3);
    EXPECT_EQ("m", str(metres.getUnit().getAcronym()));
    EXPECT_NEAR(0.3048f, (b.*a.getIn)(kel_Unit::getUnit("km")).getValue(), 1e-6);
  }
}

TEST_F(Contract, DepthFailures) {
  kel_WellBore b = bore(well());
  const std::string converter = "Could not convert an EpiTypes::DataQuantity object to an kel_FloatQuantity object. ";
  for (const DepthAttribute& a : kDepths) {
    SCOPED_TRACE(a.name);
    const std::string getter = std::string("get") + a.name;
    const std::string setter = std::string("set") + a.name;
    (b.*a.set)(kel_FloatQuantity(kel_Unit::getUnit("m"), 12.0f));

    raise(getter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(b));
    expectChain(caught([&] { (b.*a.getIn)(kel_Unit::getUnit("ft")); }),
                {sys(a.getMessage, kStore + in(getter.c_str()) + "m. d")});
    raise(getter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(b));
    expectChain(caught([&] { (b.*a.getDefault)(); }),
                {sys(a.defaultMessage, kSystem + in(getter.c_str())),
                 sys(a.getMessage, kStore + in(getter.c_str()) + "m. d")});
    returnOutOfRange(getter.c_str(), -1, id(b));
    expectChain(caught([&] { (b.*a.getDefault)(); }),
                {sys(a.defaultMessage, kSystem + in(getter.c_str())), sys(a.getMessage, kSystem + in(getter.c_str())),
                 sys(converter, std::string(kSystem) + "kel_DataQuantityConverter::makeKelFloatQuantity method. "),
                 sys(converter, "Unsupported data type")});
    expectTop(caught([&] { (b.*a.getIn)(kel_Unit::getUnit("s")); }), {user(a.getMessage, kUser + in(getter.c_str()))});

    expectChain(caught([&] { (b.*a.set)(kel_FloatQuantity(kel_Unit::getUnit("degC"), 1.0f)); }),
                {startsWith(user(a.setMessage, kValidation + in(setter.c_str())))});
    raise(setter.c_str(), "EpDataStore::StoreException", "m. ", "d", id(b));
    expectChain(caught([&] { (b.*a.set)(kel_FloatQuantity(kel_Unit::getUnit("m"), 1.0f)); }),
                {sys(a.setMessage, kStore + in(setter.c_str()) + "m. d")});
    EXPECT_EQ(12.0f, (b.*a.getIn)(kel_Unit::getUnit("m")).getValue());
  }
}

// ---------------------------------------------------------------- dates

TEST_F(Contract, CompletionDateAndLastModified) {
  kel_WellBore b = bore(well());
  EXPECT_TRUE(b.getCompletionDate().isNullDate());
  b.setCompletionDate(kel_Date(2011, 11, 30));
  EXPECT_EQ(kel_Date(2011, 11, 30), b.getCompletionDate());
  EXPECT_EQ("2011-11-30", std::string(CORBA::String_var(rawBore(b)->getCompletionDate()).in()));
  b.setCompletionDate(kel_Date());
  EXPECT_EQ("", std::string(CORBA::String_var(rawBore(b)->getCompletionDate()).in()));
  EXPECT_TRUE(b.getCompletionDate().isNullDate());

  for (const char* selector : {"", "all", "attributes", "aliases", "path"}) {
    SCOPED_TRACE(selector);
    EXPECT_FALSE(b.getLastModified(selector).isNullDate());
  }
  expectChain(caught([&] { b.getLastModified("wellbores"); }),
              {startsWith(user("Could not return the last modified date of the wellbore. ",
                               kValidation + in("getLastModified")))});

  raise("getCompletionDate", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getCompletionDate(); }),
              {sys("Could not return the wellbore's completion date. ", kStore + in("getCompletionDate") + "m. d")});
  raise("setCompletionDate", "EpEntity::ValidationException", "no. ", "", id(b));
  expectChain(caught([&] { b.setCompletionDate(kel_Date(2000, 1, 1)); }),
              {user("Could not update the wellbore's completion date. ", kValidation + in("setCompletionDate") + "no. ")});
  raise("getLastModified", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getLastModified("all"); }),
              {sys("Could not return the last modified date of the wellbore. ", kStore + in("getLastModified") + "m. d")});
}

// ---------------------------------------------------------------- identity, well, wellbores of a well

TEST_F(Contract, IdentifierWellAndProjectOfAWellbore) {
  const kel_Well w = well();
  const kel_WellBore b = bore(w, "01");
  EXPECT_EQ("Bore", str(b.getIdentifier().getKey()));
  EXPECT_EQ("01", str(b.getIdentifier().getValue()));
  EXPECT_TRUE(b.getWell() == w);
  EXPECT_TRUE(b.getProject() == project);

  raise("getIdentifier", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getIdentifier(); }),
              {sys("Could not return this well bore's identifier. ", kStore + in("getIdentifier") + "m. d")});
  returnNil("getWell", id(b));
  expectChain(caught([&] { b.getWell(); }),
              {sys("Could not return the well which this wellbore belongs to. ", kSystem + in("getWell")),
               sys("The EpiWell::Well came back nil. ")});
  raise("getWell", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getWell(); }),
              {sys("Could not return the well which this wellbore belongs to. ", kStore + in("getWell") + "m. d")});
  raise("getProject", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getProject(); }),
              {sys("Could not return the project which this wellbore belongs to. ", kStore + in("getProject") + "m. d")});
  returnNil("getProject", id(b));
  EXPECT_TRUE(b.getProject().isNil());

  const kel_WellBore other = bore(w, "02");
  raise("getId", "EpDataStore::StoreException", "m. ", "d", id(other));
  expectTop(caught([&] { (void)(b == other); }),
            {sys("Could not compare this wellbore with given wellbore. ", kSystem + in("operator=="))});
  raise("getId", "EpDataStore::StoreException", "m. ", "d", id(other));
  expectTop(caught([&] { (void)(b < other); }),
            {sys("Could not compare this wellbore with given wellbore. ", kSystem + in("operator<"))});
}

TEST_F(Contract, WellboresOfAWellInOrder) {
  const kel_Well w = well();
  EXPECT_EQ(0u, kel_WellBore::getWellBoresOfWell(w).size());

  const kel_WellBore first = bore(w, "01");
  const kel_WellBore second = bore(w, "02");
  const kel_WellBore storeless =
      kel_WellBore::createStorelessWellBore(w, kel_StringPair("Bore", "S1"), session);
  const kel_WellBore third = bore(w, "03");
  const kel_Array<kel_WellBore> bores = kel_WellBore::getWellBoresOfWell(w);
  ASSERT_EQ(4u, bores.size());
  EXPECT_TRUE(bores[0] == first);
  EXPECT_TRUE(bores[1] == second);
  EXPECT_TRUE(bores[2] == third);
  EXPECT_TRUE(bores[3] == storeless);

  const std::string message = "Couldn't return any WellBore objects for the given well. ";
  returnNil("getWellBores", id(w));
  expectChain(caught([&] { kel_WellBore::getWellBoresOfWell(w); }),
              {sys(message, kSystem + in("getWellBoresOfWell")),
               sys("Trying to instantiate an kel_WellBore using a NULL pointer.")});
  // No clause of its own for the store: the remote exception is a CORBA one here.
  raise("getWellBores", "EpDataStore::StoreException", "m. ", "d", id(w));
  expectChain(caught([&] { kel_WellBore::getWellBoresOfWell(w); }), {sys(message, kCorba + in("getWellBoresOfWell"))});
}

// ---------------------------------------------------------------- creators

TEST_F(Contract, WellboreCreators) {
  const kel_Well stored = well();
  const kel_Well storelessWell = kel_Well::createStorelessWell(project, kel_StringPair("UWI", "S"), session);
  const kel_StringPair id00("Bore", "00");
  const std::string created = "Could not create a new wellbore from given inputs. ";
  const std::string storeless = "Could not create a storeless wellbore from given inputs. ";

  const kel_WellBore a = kel_WellBore::createNewWellBore(stored, id00, session);
  EXPECT_TRUE(a.getWell() == stored);
  EXPECT_FALSE(str(a.getStoreName()).empty());
  const kel_WellBore b = kel_WellBore::createStorelessWellBore(storelessWell, id00, session);
  EXPECT_TRUE(b.getWell() == storelessWell);
  EXPECT_EQ("", str(b.getStoreName()));

  // A nil session is a system failure for both wellbore creators.
  expectChain(caught([&] { kel_WellBore::createNewWellBore(stored, id00, kel_Session()); }),
              {sys(created, kSystem + in("createNewWellBore")), sys("The supplied session is nil. ")});
  expectChain(caught([&] { kel_WellBore::createStorelessWellBore(stored, id00, kel_Session()); }),
              {sys(storeless, kSystem + in("createStorelessWellBore")), sys("The supplied session is nil. ")});

  returnNil("find_factories");
  expectChain(caught([&] { kel_WellBore::createNewWellBore(stored, id00, session); }),
              {sys(created, kSystem + in("createNewWellBore")), sys("The EpiWell::NewWellBoreFactory came back nil. ")});
  returnNil("find_factories");
  expectChain(caught([&] { kel_WellBore::createStorelessWellBore(stored, id00, session); }),
              {sys(storeless, kSystem + in("createStorelessWellBore")),
               sys("The EpiWell::StorelessWellBoreFactory came back nil. ")});

  returnNil("createWellBore");
  expectChain(caught([&] { kel_WellBore::createNewWellBore(stored, id00, session); }),
              {sys(created, kSystem + in("createNewWellBore")), sys("The EpiWell::WellBore came back nil. ")});
  returnNil("createWellBore");
  expectChain(caught([&] { kel_WellBore::createStorelessWellBore(stored, id00, session); }),
              {sys(storeless, kSystem + in("createStorelessWellBore")), sys("The EpiWell::WellBore came back nil. ")});

  raise("createWellBore", "EpDataStore::StoreException", "m. ", "d");
  expectChain(caught([&] { kel_WellBore::createNewWellBore(stored, id00, session); }),
              {sys(created, kStore + in("createNewWellBore") + "m. d")});
  raise("createWellBore", "EpTypes::FailedOperationException", "why. ");
  expectChain(caught([&] { kel_WellBore::createStorelessWellBore(stored, id00, session); }),
              {sys(storeless, "Caught an EpTypes::FailedOperationException exception in the " +
                                  in("createStorelessWellBore") + "why. ")});
  raise("createWellBore", "CosLifeCycle::NoFactory", "a", "b");
  expectChain(caught([&] { kel_WellBore::createNewWellBore(stored, id00, session); }),
              {sys(created, "Caught a CosLifeCycle::NoFactory exception in the " + in("createNewWellBore"))});
  raise("createWellBore", "EpEntity::ValidationException", "no. ");
  expectChain(caught([&] { kel_WellBore::createNewWellBore(stored, id00, session); }),
              {sys(created, kCorba + in("createNewWellBore"))});

  // The well is not checked on this side: the factory refuses a nil one.
  expectChain(caught([&] { kel_WellBore::createStorelessWellBore(kel_Well(), id00, session); }),
              {startsWith(sys(storeless, "Caught an EpTypes::FailedOperationException exception in the " +
                                             in("createStorelessWellBore")))});

  // The service keeps no stored wellbore under a storeless well.
  Caught underStoreless = caught([&] { kel_WellBore::createNewWellBore(storelessWell, id00, session); });
  ASSERT_TRUE(underStoreless.chain);
  EXPECT_EQ(Kind::System, underStoreless.thrown);
  EXPECT_EQ(created, str(underStoreless.chain->getMessage()));
}

// ---------------------------------------------------------------- aliases

TEST_F(Contract, BoreAliases) {
  kel_WellBore b = bore(well());
  EXPECT_EQ(0u, b.getBoreAliases().size());
  kel_Array<kel_StringPair> aliases;
  aliases.addElement(kel_StringPair("Z", "last first"));
  aliases.addElement(kel_StringPair("A", ""));
  aliases.addElement(kel_StringPair("Z", "again"));
  b.setBoreAliases(aliases);
  const kel_Array<kel_StringPair> back = b.getBoreAliases();
  ASSERT_EQ(3u, back.size());
  for (unsigned i = 0; i < back.size(); ++i) EXPECT_TRUE(back[i] == aliases[i]) << i;

  raise("getAliases", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.getBoreAliases(); }),
              {sys("Could not return a list of this wellbore's aliases. ", kStore + in("getBoreAliases") + "m. d")});
  raise("setAliases", "EpEntity::ValidationException", "no. ", "", id(b));
  expectChain(caught([&] { b.setBoreAliases(aliases); }),
              {user("Could not update this wellbore's list of aliases. ", kValidation + in("setBoreAliases") + "no. ")});
  raise("setAliases", "EpDataStore::StoreException", "m. ", "d", id(b));
  expectChain(caught([&] { b.setBoreAliases(kel_Array<kel_StringPair>()); }),
              {sys("Could not update this wellbore's list of aliases. ", kStore + in("setBoreAliases") + "m. d")});
  EXPECT_EQ(3u, b.getBoreAliases().size());
  b.setBoreAliases(kel_Array<kel_StringPair>());
  EXPECT_EQ(0u, b.getBoreAliases().size());
}

} // namespace
