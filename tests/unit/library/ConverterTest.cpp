// Converters that need no service: numbers, enumerations, Any texts, and the
// parts of the unit rules that do not reach the unit catalogue.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kel_Converter.h"
#include "kel_CoordinateConverter.h"
#include "kel_DataQuantityConverter.h"
#include "kel_NumericRule.h"
#include "kel_WellEnumConverter.h"

namespace {

// The failure a call leaves with, as a copy of its own kind.
template <class Call>
std::unique_ptr<kel_Exception> failureOf(Call call) {
  try {
    call();
  } catch (const kel_Exception& e) {
    return std::unique_ptr<kel_Exception>(e.clone());
  }
  ADD_FAILURE() << "the call did not fail";
  return std::make_unique<kel_Exception>("none");
}

EpTypes::DataValue unsupportedValue() {
  EpTypes::DataValue value;
  value._default(); // a discriminator no branch names
  return value;
}

} // namespace

TEST(NumericRule, EachBranchBecomesAFloat) {
  EpTypes::DataValue value;
  value.byteValue(200);
  EXPECT_FLOAT_EQ(200.0f, kel_DataQuantityConverter::makeKelFloat(value));
  value.ubyteValue(static_cast<CORBA::Char>(200));
  EXPECT_FLOAT_EQ(-56.0f, kel_DataQuantityConverter::makeKelFloat(value));
  value.shortValue(-1234);
  EXPECT_FLOAT_EQ(-1234.0f, kel_DataQuantityConverter::makeKelFloat(value));
  value.longValue(-7654321);
  EXPECT_FLOAT_EQ(-7654321.0f, kel_DataQuantityConverter::makeKelFloat(value));
  value.floatValue(2.5f);
  EXPECT_FLOAT_EQ(2.5f, kel_DataQuantityConverter::makeKelFloat(value));
  value.doubleValue(1.0 / 3.0);
  EXPECT_FLOAT_EQ(static_cast<float>(1.0 / 3.0), kel_DataQuantityConverter::makeKelFloat(value));

  EXPECT_FLOAT_EQ(3.25f, kel_DataQuantityConverter::makeDataValue(3.25f).floatValue());
  EXPECT_EQ(EpTypes::FLOAT_DATA, kel_DataQuantityConverter::makeDataValue(3.25f)._d());
}

TEST(NumericRule, SequencesKeepTheirOrderAndEmptyStaysEmpty) {
  EpTypes::DataSequence sequence;
  EpTypes::CharSeq cells;
  cells.length(3);
  cells[0] = static_cast<CORBA::Char>(200);
  cells[1] = 0;
  cells[2] = 127;
  sequence.ubyteValues(cells);
  const kel_Array<float> values = kel_CoordinateConverter::makeKelFloatArray(sequence);
  ASSERT_EQ(3u, values.size());
  EXPECT_FLOAT_EQ(-56.0f, values[0]);
  EXPECT_FLOAT_EQ(0.0f, values[1]);
  EXPECT_FLOAT_EQ(127.0f, values[2]);

  EpTypes::DoubleSeq none;
  sequence.doubleValues(none);
  EXPECT_EQ(0u, kel_CoordinateConverter::makeKelFloatArray(sequence).size());

  kel_Array<float> floats(2);
  floats.set(0, 1.5f);
  floats.set(1, -2.0f);
  const std::unique_ptr<EpTypes::DataSequence> sent = kel_CoordinateConverter::makeDataSequence(floats);
  ASSERT_EQ(EpTypes::FLOAT_DATA, sent->_d());
  ASSERT_EQ(2u, sent->floatValues().length());
  EXPECT_FLOAT_EQ(1.5f, sent->floatValues()[0]);
  EXPECT_FLOAT_EQ(-2.0f, sent->floatValues()[1]);
  EXPECT_EQ(0u, kel_CoordinateConverter::makeDataSequence(kel_Array<float>())->floatValues().length());
}

namespace {

// A two-element sequence of one branch, as the service would send it.
template <class Seq, class Element>
EpTypes::DataSequence sequenceOf(void (EpTypes::DataSequence::*branch)(const Seq&), Element first, Element second) {
  Seq values;
  values.length(2);
  values[0] = first;
  values[1] = second;
  EpTypes::DataSequence sequence;
  (sequence.*branch)(values);
  return sequence;
}

} // namespace

TEST(NumericRule, EverySequenceBranchConvertsInBulkElementByElement) {
  struct Case {
    const char* branch;
    EpTypes::DataSequence sequence;
    float first;
    float second;
  };
  const Case cases[] = {
      {"byte", sequenceOf(&EpTypes::DataSequence::byteValues, CORBA::Octet(200), CORBA::Octet(1)), 200.0f, 1.0f},
      {"short", sequenceOf(&EpTypes::DataSequence::shortValues, CORBA::Short(-1234), CORBA::Short(7)), -1234.0f,
       7.0f},
      {"long", sequenceOf(&EpTypes::DataSequence::longValues, CORBA::Long(-7654321), CORBA::Long(70000)),
       -7654321.0f, 70000.0f},
      {"float", sequenceOf(&EpTypes::DataSequence::floatValues, CORBA::Float(2.5f), CORBA::Float(-0.25f)), 2.5f,
       -0.25f},
      {"double", sequenceOf(&EpTypes::DataSequence::doubleValues, CORBA::Double(1.0 / 3.0), CORBA::Double(-2.0)),
       static_cast<float>(1.0 / 3.0), -2.0f},
      {"ubyte", sequenceOf(&EpTypes::DataSequence::ubyteValues, CORBA::Char(200), CORBA::Char(127)), -56.0f,
       127.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.branch);
    const kel_Array<float> values = kel_CoordinateConverter::makeKelFloatArray(c.sequence);
    ASSERT_EQ(2u, values.size());
    EXPECT_FLOAT_EQ(c.first, values[0]);
    EXPECT_FLOAT_EQ(c.second, values[1]);

    // And back, always as floats.
    const std::unique_ptr<EpTypes::DataSequence> sent = kel_CoordinateConverter::makeDataSequence(values);
    ASSERT_EQ(EpTypes::FLOAT_DATA, sent->_d());
    ASSERT_EQ(2u, sent->floatValues().length());
    EXPECT_FLOAT_EQ(c.first, sent->floatValues()[0]);
    EXPECT_FLOAT_EQ(c.second, sent->floatValues()[1]);
  }
}

TEST(NumericRule, TakingFloatsHandsTheBufferOverAndCopiesEverythingElse) {
  // A float sequence owning its buffer: the array takes the very buffer.
  EpTypes::DataSequence owning = sequenceOf(&EpTypes::DataSequence::floatValues, CORBA::Float(2.5f), CORBA::Float(-1.0f));
  const CORBA::Float* buffer = owning.floatValues().get_buffer();
  kel_Array<float> taken;
  ASSERT_TRUE(kel_numeric::takeFloats(owning, taken));
  ASSERT_EQ(2u, taken.size());
  EXPECT_EQ(buffer, &taken[0]);
  EXPECT_FLOAT_EQ(2.5f, taken[0]);
  EXPECT_FLOAT_EQ(-1.0f, taken[1]);
  EXPECT_EQ(0u, owning.floatValues().length());

  // Converted branches, buffers the sequence does not own and empty
  // sequences are copied; the source keeps its values.
  CORBA::Float borrowed[] = {4.0f, 5.0f};
  EpTypes::DataSequence lending;
  lending.floatValues(EpTypes::FloatSeq());
  lending.floatValues().replace(2, 2, borrowed, false);
  EpTypes::DataSequence doubles = sequenceOf(&EpTypes::DataSequence::doubleValues, CORBA::Double(0.5), CORBA::Double(3.0));
  struct Case {
    const char* what;
    EpTypes::DataSequence* sequence;
    std::vector<float> expected;
  } cases[] = {{"buffer not owned", &lending, {4.0f, 5.0f}}, {"doubles", &doubles, {0.5f, 3.0f}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    kel_Array<float> copied;
    ASSERT_TRUE(kel_numeric::takeFloats(*c.sequence, copied));
    ASSERT_EQ(c.expected.size(), copied.size());
    for (unsigned i = 0; i < copied.size(); ++i) EXPECT_FLOAT_EQ(c.expected[i], copied[i]);
    EXPECT_EQ(2u, c.sequence->_d() == EpTypes::FLOAT_DATA ? c.sequence->floatValues().length()
                                                          : c.sequence->doubleValues().length());
  }

  EpTypes::DataSequence unsupported;
  unsupported._default();
  kel_Array<float> none;
  EXPECT_FALSE(kel_numeric::takeFloats(unsupported, none));
}

TEST(NumericRule, UnsupportedDataTypesFailWrappedByTheConverter) {
  const auto single = failureOf([] { kel_DataQuantityConverter::makeKelFloat(unsupportedValue()); });
  EXPECT_TRUE(single->isSystemException());
  EXPECT_STREQ("Could not convert an EpTypes::DataValue object to a float. ", single->getMessage());
  EXPECT_STREQ(
      "Caught an kel_SystemException exception in the kel_DataQuantityConverter::makeKelFloat method. ",
      single->getContext());
  ASSERT_TRUE(single->hasCause());
  EXPECT_STREQ("Unsupported data type", single->getCause().getMessage());
  EXPECT_STREQ("", single->getCause().getContext());

  // The quantity converter's direct failure has a message and a context.
  EpiTypes::DataQuantity quantity;
  quantity.value = unsupportedValue();
  const auto wrapped = failureOf([&] { kel_DataQuantityConverter::makeKelFloatQuantity(quantity); });
  const char* quantityMessage =
      "Could not convert an EpiTypes::DataQuantity object to an kel_FloatQuantity object. ";
  EXPECT_STREQ(quantityMessage, wrapped->getMessage());
  EXPECT_STREQ(
      "Caught an kel_SystemException exception in the kel_DataQuantityConverter::makeKelFloatQuantity method. ",
      wrapped->getContext());
  ASSERT_TRUE(wrapped->hasCause());
  EXPECT_STREQ(quantityMessage, wrapped->getCause().getMessage());
  EXPECT_STREQ("Unsupported data type", wrapped->getCause().getContext());

  EpTypes::DataSequence sequence;
  sequence._default();
  const auto array = failureOf([&] { kel_CoordinateConverter::makeKelFloatArray(sequence); });
  EXPECT_STREQ("Couldn't convert the EpTypes::DataSequence to kel_FloatArray. ", array->getMessage());
  EXPECT_STREQ("Unsupported data type", array->getCause().getMessage());
}

TEST(QuantityConverter, NilUnitsStayNilBothWays) {
  EpiTypes::DataQuantity quantity;
  quantity.value.floatValue(12.5f);
  const kel_FloatQuantity converted = kel_DataQuantityConverter::makeKelFloatQuantity(quantity);
  EXPECT_FLOAT_EQ(12.5f, converted.getValue());
  EXPECT_TRUE(converted.getUnit().isNil());

  const std::unique_ptr<EpiTypes::DataQuantity> sent =
      kel_DataQuantityConverter::makeDataQuantity(kel_FloatQuantity(kel_Unit(), 7.0f));
  EXPECT_TRUE(CORBA::is_nil(sent->unit.in()));
  EXPECT_EQ(EpTypes::FLOAT_DATA, sent->value._d());
  EXPECT_FLOAT_EQ(7.0f, sent->value.floatValue());
}

TEST(QuantityConverter, RequestedUnitLeavesUnitlessQuantitiesAlone) {
  const kel_FloatQuantity bare(kel_Unit(), 4.0f);
  const kel_FloatQuantity result = kel_inRequestedUnit(bare, kel_Unit());
  EXPECT_FLOAT_EQ(4.0f, result.getValue());
  EXPECT_TRUE(result.getUnit().isNil());
}

TEST(CoordinateConverter, NilSystemsAndPointsInOrder) {
  EpCoordinateService::Coordinate coordinate;
  coordinate.x = 1.0;
  coordinate.y = 2.0;
  coordinate.z = -3.5;
  const kel_Coordinate converted = kel_CoordinateConverter::makeKelCoordinate(coordinate);
  EXPECT_TRUE(converted.getSystem().isNil());
  EXPECT_DOUBLE_EQ(1.0, converted.getX());
  EXPECT_DOUBLE_EQ(2.0, converted.getY());
  EXPECT_DOUBLE_EQ(-3.5, converted.getZ());

  EpCoordinateService::Coordinates coordinates;
  coordinates.points.length(2);
  coordinates.points[0].x = 10.0;
  coordinates.points[1].z = 20.0;
  const kel_CoordinateArray array = kel_CoordinateConverter::makeKelCoordinateArray(coordinates);
  EXPECT_TRUE(array.getSystem().isNil());
  ASSERT_EQ(2u, array.getPoints().size());
  EXPECT_DOUBLE_EQ(10.0, array.getPoints()[0].getX());
  EXPECT_DOUBLE_EQ(20.0, array.getPoints()[1].getZ());
}

TEST(AnyConverter, TextComesBackAndAnythingElseFails) {
  CORBA::Any any;
  any <<= "100/01-02-003-04W5/00";
  EXPECT_STREQ("100/01-02-003-04W5/00", kel_Converter::convertAnyToString(any));

  CORBA::Any number;
  number <<= static_cast<CORBA::Long>(5);
  const auto e = failureOf([&] { kel_Converter::convertAnyToString(number); });
  EXPECT_TRUE(e->isSystemException());
  EXPECT_STREQ("Could not convert given any to a kel_String. ", e->getMessage());
  EXPECT_STREQ("Caught an kel_SystemException exception in the kel_Converter::convertAnyToString method. ",
               e->getContext());
  EXPECT_FALSE(failureOf([] { kel_Converter::convertAnyToString(CORBA::Any()); })->getMessage().empty());
}

TEST(EnumConverter, RefusedValuesFailWithTheMappingTextAndTheValue) {
  struct Case {
    std::function<void()> call;
    const char* message;
    const char* context;
    const char* cause;
  };
  const Case cases[] = {
      {[] { kel_WellEnumConverter::makeKelCalculationMethod(2); },
       "Couldn't convert the EpiWell::WellBore::CalculationMethod to kel_WellBore::CalculationMethod. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelCalculationMethod "
       "method. ",
       "The calculationMethod couldn't be mapped. 2"},
      {[] { kel_WellEnumConverter::makeEpiWellDepthDatum(static_cast<kel_WellBore::WellDepthDatum>(7)); },
       "Couldn't convert the kel_WellBore::WellDepthDatum to EpiWell::WellBore::WellDepthDatum. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiWellDepthDatum method. ",
       "The wellDepthDatum couldn't be mapped. 7"},
      {[] { kel_WellEnumConverter::makeKelWellDepthDatum(-1); },
       "Couldn't convert the EpiWell::WellBore::WellDepthDatum to kel_WellBore::WellDepthDatum. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelWellDepthDatum method. ",
       "The wellDepthDatum couldn't be mapped. -1"},
      {[] { kel_WellEnumConverter::makeKelTotalDepthReference(4); },
       "Couldn't convert the EpiWell::WellBore::TotalDepthReference to kel_WellBore::TotalDepthReference. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelTotalDepthReference "
       "method. ",
       "The totalDepthReference couldn't be mapped. 4"},
      {[] { kel_WellEnumConverter::makeEpiWellDepthType(static_cast<kel_WellTypes::DepthType>(4)); },
       "Couldn't convert the kel_WellTypes::DepthType to EpiWell::DepthType. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiWellDepthType method. ",
       "The given DepthType couldn't be mapped. 4"},
      {[] { kel_WellEnumConverter::makeKelDepthType(9); },
       "Couldn't convert the EpiWell::DepthType to kel_WellTypes::DepthType. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelDepthType method. ",
       "The depthType couldn't be mapped. 9"},
      {[] { kel_WellEnumConverter::makeKelTimeType(3); },
       "Couldn't convert the EpiWell::TimeType to kel_WellTypes::TimeType. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelTimeType method. ",
       "The timeType couldn't be mapped. 3"},
      {[] { kel_WellEnumConverter::makeEpiWellTimeType(static_cast<kel_WellTypes::TimeType>(7)); },
       "Couldn't convert the kel_WellTypes::TimeType to EpiWell::TimeType. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiWellTimeType method. ",
       "The timeType couldn't be mapped. 7"},
      {[] { kel_WellEnumConverter::makeKelPickReference(7); },
       "Couldn't convert the EpiWell::WellPick::PickReference to kel_WellPick::PickReference. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelPickReference method. ",
       "The pickReference couldn't be mapped. 7"},
      {[] { kel_WellEnumConverter::makeEpiPickReference(static_cast<kel_WellPick::PickReference>(-1)); },
       "Couldn't convert the kel_WellPick::PickReference to EpiWell::WellPick::PickReference. ",
       "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiPickReference method. ",
       "The pickReference couldn't be mapped. -1"},
  };
  for (const Case& c : cases) {
    const auto e = failureOf(c.call);
    EXPECT_TRUE(e->isSystemException()) << c.message;
    EXPECT_STREQ(c.message, e->getMessage());
    EXPECT_STREQ(c.context, e->getContext());
    ASSERT_TRUE(e->hasCause()) << c.message;
    EXPECT_STREQ(c.cause, e->getCause().getMessage());
    EXPECT_STREQ("", e->getCause().getContext());
    EXPECT_FALSE(e->getCause().hasCause());
  }
}

TEST(EnumConverter, PickReferencesPassUnchangedFromZeroToSix) {
  for (int value = 0; value <= 6; ++value) {
    EXPECT_EQ(value, kel_WellEnumConverter::makeKelPickReference(static_cast<EpiWell::WellPick::PickReference>(value)));
    EXPECT_EQ(value, kel_WellEnumConverter::makeEpiPickReference(static_cast<kel_WellPick::PickReference>(value)));
  }
  // Just past either end, both ways.
  const std::function<void()> refused[] = {
      [] { kel_WellEnumConverter::makeKelPickReference(-1); },
      [] { kel_WellEnumConverter::makeEpiPickReference(static_cast<kel_WellPick::PickReference>(7)); }};
  for (const auto& call : refused) EXPECT_TRUE(failureOf(call)->isSystemException());
}

// Refusals inside the velocity operations are pinned with the operations.
TEST(EnumConverter, VelocityKindsPassUnchangedWithinTheirRanges) {
  using Kel = kel_WellVelocity;
  using Epi = EpiWell::WellVelocity;
  for (int value : {0, 1, 2}) {
    EXPECT_EQ(value, kel_WellEnumConverter::makeKelVelocityType(static_cast<Epi::VelocityType>(value)));
    EXPECT_EQ(value, kel_WellEnumConverter::makeEpiVelocityType(static_cast<Kel::VelocityType>(value)));
  }
  for (int value : {3, 4, 5})
    EXPECT_EQ(value, kel_WellEnumConverter::makeEpiVelocityOtherType(static_cast<Kel::VelocityOtherType>(value)));
  // The other kinds are numbered on from the velocity kinds: neither end of the other range is one.
  for (int refused : {2, 6}) {
    const auto e = failureOf(
        [&] { kel_WellEnumConverter::makeEpiVelocityOtherType(static_cast<Kel::VelocityOtherType>(refused)); });
    EXPECT_STREQ(
        "Couldn't convert the kel_WellVelocity::VelocityOtherType to EpiWell::WellVelocity::VelocityOtherType. ",
        e->getMessage());
    ASSERT_TRUE(e->hasCause());
    EXPECT_EQ("The velocityOtherType couldn't be mapped. " + std::to_string(refused), e->getCause().getMessage().str());
  }
  const auto e = failureOf([] { kel_WellEnumConverter::makeEpiVelocityType(static_cast<Kel::VelocityType>(-1)); });
  ASSERT_TRUE(e->hasCause());
  EXPECT_STREQ("The velocityType couldn't be mapped. -1", e->getCause().getMessage());
}
