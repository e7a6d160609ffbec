#include "kel_DataQuantityConverter.h"

#include <EpUnitOfMeasureService.hh>

#include "kel_Exception.h"
#include "kel_FailureTranslation.h"
#include "kel_NumericRule.h"
#include "kel_RemoteAccess.h"
#include "kel_util.h"

using namespace kel_translation;

namespace {

constexpr const char* unsupported = "Unsupported data type";
constexpr const char* quantityMessage =
    "Could not convert an EpiTypes::DataQuantity object to an kel_FloatQuantity object. ";

// The unit the service named, or start when it named none.
kel_Unit unitFrom(EpUnitOfMeasureService::Unit_ptr unit, const kel_Unit& start) {
  if (CORBA::is_nil(unit)) return start;
  CORBA::String_var acronym = unit->acronym();
  return kel_Unit::getUnit(acronym.in());
}

// The unit a list of quantities travels with: looked up by its acronym, through the
// connection's unit cache (forgotten when the connection changes), so that a unit held from an
// earlier connection still names the current service's unit and a bulk write costs no round
// trip for its units. A nil unit is asked of the service, which says what is wrong with it.
EpUnitOfMeasureService::Unit_ptr unitByAcronym(const kel_Unit& unit) {
  const kel_cppUtil::String acronym = unit.getAcronym();
  if (acronym.empty()) return kel_util::UnitOfMeasure::getUnit(acronym);
  return kel_remote::duplicateOrNil<EpUnitOfMeasureService::Unit>(kel_Unit::getUnit(acronym.c_str()));
}

} // namespace

kel_FloatQuantity kel_DataQuantityConverter::makeKelFloatQuantity(const EpiTypes::DataQuantity& quantity) {
  return translate(Msg{quantityMessage}, Where{"kel_DataQuantityConverter", "makeKelFloatQuantity"},
                   Standard(), [&] {
                     const kel_Unit unit = unitFrom(quantity.unit.in(), kel_Unit());
                     float value = 0.0f;
                     if (!kel_numeric::toFloat(quantity.value, value))
                       throw kel_SystemException(quantityMessage, unsupported);
                     return kel_FloatQuantity(unit, value);
                   });
}

std::unique_ptr<EpiTypes::DataQuantity> kel_DataQuantityConverter::makeDataQuantity(
    const kel_FloatQuantity& quantity) {
  return translate(Msg{"Could not convert an kel_FloatQuantity object to an EpiTypes::DataQuantity object. "},
                   Where{"kel_DataQuantityConverter", "makeDataQuantity"}, Standard(), [&] {
                     auto result = std::make_unique<EpiTypes::DataQuantity>();
                     result->unit =
                         kel_remote::duplicateOrNil<EpUnitOfMeasureService::Unit>(quantity.getUnit());
                     result->value.floatValue(quantity.getValue());
                     return result;
                   });
}

namespace {

// Quantities and tables of them converted with floats (toFloats or takeFloats).
template <class Quantities, class Floats>
kel_FloatQuantities floatQuantities(Quantities& quantities, Floats floats) {
  return translate(
      Msg{"Could not convert an EpiTypes::DataQuantities object to an kel_FloatQuantities object. "},
      Where{"kel_DataQuantityConverter", "makeDataQuantity"}, Standard(), [&] {
        const kel_Unit unit = unitFrom(quantities.unit.in(), kel_Unit::getUnit(kel_Unit::unitless));
        kel_Array<float> values;
        if (!floats(quantities.values, values)) throw kel_SystemException(unsupported);
        return kel_FloatQuantities(unit, values);
      });
}

template <class QuantitiesSeq, class Floats>
kel_FloatQuantitiesSeq floatQuantitiesSeq(QuantitiesSeq& quantities, Floats floats) {
  return translate(
      Msg{"Could not convert an EpiTypes::DataQuantitiesSeq object to an kel_FloatQuantitiesSeq object. "},
      Where{"kel_DataQuantityConverter", "makeKelFloatQuantitiesSeq"}, Standard(), [&] {
        const kel_Unit unit = unitFrom(quantities.unit.in(), kel_Unit());
        const unsigned n = quantities.values.length();
        kel_Array<kel_Array<float> > outer(n);
        for (unsigned i = 0; i < n; ++i) {
          kel_Array<float> inner;
          if (!floats(quantities.values[i], inner)) throw kel_SystemException(quantityMessage, unsupported);
          outer.set(i, inner);
        }
        return kel_FloatQuantitiesSeq(unit, outer);
      });
}

} // namespace

kel_FloatQuantities kel_DataQuantityConverter::makeKelFloatQuantities(const EpiTypes::DataQuantities& quantities) {
  return floatQuantities(quantities, kel_numeric::toFloats);
}

kel_FloatQuantities kel_DataQuantityConverter::takeKelFloatQuantities(EpiTypes::DataQuantities& quantities) {
  return floatQuantities(quantities, kel_numeric::takeFloats);
}

std::unique_ptr<EpiTypes::DataQuantities> kel_DataQuantityConverter::makeDataQuantities(
    const kel_FloatQuantities& quantities) {
  return translate(
      Msg{"Could not convert an kel_FloatQuantities object to an EpiTypes::DataQuantities object. "},
      Where{"kel_DataQuantityConverter", "makeDataQuantities"},
      Ladder(User, System, BadArguments, Corba, Unknown), [&] {
        auto result = std::make_unique<EpiTypes::DataQuantities>();
        result->unit = unitByAcronym(quantities.getUnit());
        kel_numeric::putFloats(quantities.getValues(), result->values);
        return result;
      });
}

kel_FloatQuantitiesSeq kel_DataQuantityConverter::makeKelFloatQuantitiesSeq(
    const EpiTypes::DataQuantitiesSeq& quantities) {
  return floatQuantitiesSeq(quantities, kel_numeric::toFloats);
}

kel_FloatQuantitiesSeq kel_DataQuantityConverter::takeKelFloatQuantitiesSeq(EpiTypes::DataQuantitiesSeq& quantities) {
  return floatQuantitiesSeq(quantities, kel_numeric::takeFloats);
}

std::unique_ptr<EpiTypes::DataQuantitiesSeq> kel_DataQuantityConverter::makeDataQuantitiesSeq(
    const kel_FloatQuantitiesSeq& quantities) {
  return translate(
      Msg{"Could not convert an kel_FloatQuantitiesSeq object to an EpiTypes::DataQuantitiesSeq object. "},
      Where{"kel_DataQuantityConverter", "makeDataQuantitiesSeq"},
      Ladder(User, System, BadArguments, Corba, Unknown), [&] {
        auto result = std::make_unique<EpiTypes::DataQuantitiesSeq>();
        result->unit = unitByAcronym(quantities.getUnit());
        const kel_Array<kel_Array<float> >& outer = quantities.getValues();
        result->values.length(outer.size());
        for (unsigned i = 0; i < outer.size(); ++i) kel_numeric::putFloats(outer[i], result->values[i]);
        return result;
      });
}

float kel_DataQuantityConverter::makeKelFloat(const EpTypes::DataValue& value) {
  return translate(Msg{"Could not convert an EpTypes::DataValue object to a float. "},
                   Where{"kel_DataQuantityConverter", "makeKelFloat"}, Standard(), [&] {
                     float result = 0.0f;
                     if (!kel_numeric::toFloat(value, result)) throw kel_SystemException(unsupported);
                     return result;
                   });
}

EpTypes::DataValue kel_DataQuantityConverter::makeDataValue(float value) {
  return translate(Msg{"Couldn't convert a float to a DataValue"},
                   Where{"kel_DataQuantityConverter", "makeDataValue"}, Standard(), [&] {
                     EpTypes::DataValue result;
                     result.floatValue(value);
                     return result;
                   });
}

kel_FloatQuantity kel_inRequestedUnit(const kel_FloatQuantity& quantity, const kel_Unit& unit) {
  const kel_Unit& stored = quantity.getUnit();
  if (stored.isNil()) return quantity;
  if (unit.getAcronym() == static_cast<const char*>(stored.getAcronym())) return quantity;
  if (unit.isNil()) return quantity;
  return unit.transform(quantity);
}
