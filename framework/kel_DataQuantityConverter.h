// kel_DataQuantityConverter: numbers with units between the platform's
// quantities and the service's data quantities.
//
// From the service, every number becomes a float by the type its
// discriminator names: 0 unsigned 8-bit, 1 and 2 signed integers, 3 as it is,
// 4 rounded from double, 5 signed 8-bit; any other discriminator is an
// unsupported data type. A remote unit becomes kel_Unit::getUnit of its
// acronym; a nil one leaves the unit nil (unitless for makeKelFloatQuantities).
//
// Toward the service, numbers are sent as floats. What makeData... returns is
// the caller's; it is released with the holder whatever happens.
#ifndef KEL_DATAQUANTITYCONVERTER_H
#define KEL_DATAQUANTITYCONVERTER_H

#include <memory>

#include <EpTypes.hh>
#include <EpiTypes.hh>

#include "kel_FloatQuantity.h"

class kel_DataQuantityConverter {
public:
  static kel_FloatQuantity makeKelFloatQuantity(const EpiTypes::DataQuantity& quantity);
  // The unit travels as the reference the quantity's unit holds (nil when none).
  static std::unique_ptr<EpiTypes::DataQuantity> makeDataQuantity(const kel_FloatQuantity& quantity);

  static kel_FloatQuantities makeKelFloatQuantities(const EpiTypes::DataQuantities& quantities);
  // The unit is looked up by its acronym.
  static std::unique_ptr<EpiTypes::DataQuantities> makeDataQuantities(const kel_FloatQuantities& quantities);

  static kel_FloatQuantitiesSeq makeKelFloatQuantitiesSeq(const EpiTypes::DataQuantitiesSeq& quantities);
  // The same conversions taking over the float buffers of quantities instead
  // of copying them (kel_numeric::takeFloats): for replies read once.
  static kel_FloatQuantities takeKelFloatQuantities(EpiTypes::DataQuantities& quantities);
  static kel_FloatQuantitiesSeq takeKelFloatQuantitiesSeq(EpiTypes::DataQuantitiesSeq& quantities);
  static std::unique_ptr<EpiTypes::DataQuantitiesSeq> makeDataQuantitiesSeq(
      const kel_FloatQuantitiesSeq& quantities);

  static float makeKelFloat(const EpTypes::DataValue& value);
  static EpTypes::DataValue makeDataValue(float value);
};

// Reading a quantity in the unit a caller asked for: the quantity as it is
// when it has no unit, when unit is its own or when unit is nil; otherwise
// unit.transform(quantity). No ladder of its own: the getter's.
kel_FloatQuantity kel_inRequestedUnit(const kel_FloatQuantity& quantity, const kel_Unit& unit);

#endif
