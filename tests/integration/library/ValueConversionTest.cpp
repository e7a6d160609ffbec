// The converters that reach the unit catalogue, and the well value types,
// against a real kelwelld.
#include <gtest/gtest.h>

#include <cstdlib>

#include "kel_Connection.h"
#include "kel_DataQuantityConverter.h"
#include "kel_Exception.h"
#include "kel_WellTypesConverter.h"
#include "kel_util.h"

namespace {

kel_Array<float> floats(std::initializer_list<float> values) {
  kel_Array<float> result;
  for (float v : values) result.addElement(v);
  return result;
}

} // namespace

TEST(QuantityConversion, UnitsTravelAsReferencesOrByAcronym) {
  const kel_Unit feet = kel_Unit::getUnit("ft");
  const std::unique_ptr<EpiTypes::DataQuantity> one =
      kel_DataQuantityConverter::makeDataQuantity(kel_FloatQuantity(feet, 3.0f));
  const kel_FloatQuantity back = kel_DataQuantityConverter::makeKelFloatQuantity(*one);
  EXPECT_EQ("ft", back.getUnit().getAcronym().str());
  EXPECT_FLOAT_EQ(3.0f, back.getValue());

  const std::unique_ptr<EpiTypes::DataQuantities> many =
      kel_DataQuantityConverter::makeDataQuantities(kel_FloatQuantities(feet, floats({1.0f, 2.0f})));
  const kel_FloatQuantities manyBack = kel_DataQuantityConverter::makeKelFloatQuantities(*many);
  EXPECT_EQ("ft", manyBack.getUnit().getAcronym().str());
  ASSERT_EQ(2u, manyBack.getValues().size());
  EXPECT_FLOAT_EQ(2.0f, manyBack.getValues()[1]);

  // Quantities arrays without a unit come back unitless.
  EpiTypes::DataQuantities bare;
  bare.values.floatValues(EpTypes::FloatSeq());
  EXPECT_EQ(kel_Unit::unitless,
            kel_DataQuantityConverter::makeKelFloatQuantities(bare).getUnit().getAcronym().str());

  kel_Array<kel_Array<float> > rows(2);
  rows.set(0, floats({1.0f}));
  rows.set(1, floats({2.0f, 3.0f}));
  const std::unique_ptr<EpiTypes::DataQuantitiesSeq> table =
      kel_DataQuantityConverter::makeDataQuantitiesSeq(kel_FloatQuantitiesSeq(kel_Unit::getUnit("ms"), rows));
  const kel_FloatQuantitiesSeq tableBack = kel_DataQuantityConverter::makeKelFloatQuantitiesSeq(*table);
  EXPECT_EQ("ms", tableBack.getUnit().getAcronym().str());
  ASSERT_EQ(2u, tableBack.getValues().size());
  EXPECT_FLOAT_EQ(3.0f, tableBack.getValues()[1][1]);
}

TEST(QuantityConversion, AnUnknownUnitIsRefusedByTheLookup) {
  try {
    kel_DataQuantityConverter::makeDataQuantities(kel_FloatQuantities(kel_Unit(), floats({1.0f})));
    FAIL();
  } catch (const kel_SystemException& e) {
    EXPECT_STREQ("Could not convert an kel_FloatQuantities object to an EpiTypes::DataQuantities object. ",
                 e.getMessage());
    EXPECT_EQ(0u, e.getContext().str().find("Caught a EpTypes::BadArgumentsException exception in the "
                                            "kel_DataQuantityConverter::makeDataQuantities method. "));
    EXPECT_FALSE(e.hasCause());
  }
}

TEST(QuantityConversion, RequestedUnitTransformsOnlyWhenItMust) {
  const kel_FloatQuantity feet(kel_Unit::getUnit("ft"), 10.0f);
  EXPECT_NEAR(3.048, kel_inRequestedUnit(feet, kel_Unit::getUnit("m")).getValue(), 1e-5);
  EXPECT_FLOAT_EQ(10.0f, kel_inRequestedUnit(feet, kel_Unit::getUnit("FEET")).getValue());
  EXPECT_FLOAT_EQ(10.0f, kel_inRequestedUnit(feet, kel_Unit()).getValue());
}

TEST(WellValueTypes, DepthsAndTimesRoundTripWithTheirKinds) {
  kel_WellTypes::Depths depths;
  depths.values = kel_FloatQuantities(kel_Unit::getUnit("m"), floats({100.0f, 250.5f}));
  depths.type = kel_WellTypes::DEPTH_TYPE_2;
  const kel_WellTypes::Depths depthsBack =
      kel_WellTypesConverter::makeKelDepths(*kel_WellTypesConverter::makeEpiDepths(depths));
  EXPECT_EQ(kel_WellTypes::DEPTH_TYPE_2, depthsBack.type);
  EXPECT_EQ("m", depthsBack.values.getUnit().getAcronym().str());
  EXPECT_FLOAT_EQ(250.5f, depthsBack.values.getValues()[1]);

  kel_WellTypes::Times times;
  times.values = kel_FloatQuantities(kel_Unit::getUnit("ms"), floats({12.0f}));
  times.type = kel_WellTypes::TIME_TYPE_1;
  const kel_WellTypes::Times timesBack =
      kel_WellTypesConverter::makeKelTimes(*kel_WellTypesConverter::makeEpiTimes(times));
  EXPECT_EQ(kel_WellTypes::TIME_TYPE_1, timesBack.type);
  EXPECT_FLOAT_EQ(12.0f, timesBack.values.getValues()[0]);

  // The kind is converted first: an unknown kind fails before any unit is looked up.
  times.type = static_cast<kel_WellTypes::TimeType>(5);
  times.values = kel_FloatQuantities(kel_Unit(), floats({1.0f}));
  try {
    kel_WellTypesConverter::makeEpiTimes(times);
    FAIL();
  } catch (const kel_SystemException& e) {
    EXPECT_STREQ("Couldn't convert the kel_WellTypes::TimeType to EpiWell::TimeType. ", e.getMessage());
    EXPECT_STREQ("The timeType couldn't be mapped. 5", e.getRootCause().getMessage());
  }

  EpiWell::Times remote;
  remote.values.values.floatValues(EpTypes::FloatSeq());
  remote.type = 3;
  try {
    kel_WellTypesConverter::makeKelTimes(remote);
    FAIL();
  } catch (const kel_SystemException& e) {
    EXPECT_STREQ("Couldn't convert the EpiWell::TimeType to kel_WellTypes::TimeType. ", e.getMessage());
    EXPECT_STREQ("The timeType couldn't be mapped. 3", e.getRootCause().getMessage());
  }
}
