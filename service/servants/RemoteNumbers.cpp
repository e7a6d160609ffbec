#include "servants/RemoteNumbers.h"

#include "catalogue/Catalogues.h"
#include "catalogue/UnitCatalogue.h"
#include "core/RemoteErrors.h"

namespace kelwelld {

namespace {

template <class Sequence>
std::vector<double> widened(const Sequence& sequence) {
  std::vector<double> values(sequence.length());
  for (CORBA::ULong i = 0; i < sequence.length(); ++i) values[i] = static_cast<double>(sequence[i]);
  return values;
}

template <class Sequence>
void narrowed(Sequence& sequence, const std::vector<double>& values) {
  sequence.length(static_cast<CORBA::ULong>(values.size()));
  for (CORBA::ULong i = 0; i < sequence.length(); ++i)
    sequence[i] = static_cast<typename std::remove_reference<decltype(sequence[i])>::type>(values[i]);
}

} // namespace

std::vector<double> numbersOf(const EpTypes::DataSequence& sequence, const std::string& what) {
  switch (sequence._d()) {
    case EpTypes::BYTE_DATA: return widened(sequence.byteValues());
    case EpTypes::SHORT_DATA: return widened(sequence.shortValues());
    case EpTypes::LONG_DATA: return widened(sequence.longValues());
    case EpTypes::FLOAT_DATA: return widened(sequence.floatValues());
    case EpTypes::DOUBLE_DATA: return widened(sequence.doubleValues());
    case EpTypes::UBYTE_DATA: {
      // Character cells read as signed, as single values do.
      const EpTypes::CharSeq& cells = sequence.ubyteValues();
      std::vector<double> values(cells.length());
      for (CORBA::ULong i = 0; i < cells.length(); ++i) values[i] = static_cast<signed char>(cells[i]);
      return values;
    }
    default: break;
  }
  throw WireError(WireError::What::DataType,
                  "The " + what + " have values of unknown data type " + std::to_string(sequence._d()) +
                      " (known: 0 to 5). ",
                  sequence._d());
}

void requireDeliverable(EpTypes::DataType type) {
  if (type != EpTypes::FLOAT_DATA && type != EpTypes::DOUBLE_DATA)
    throw WireError(WireError::What::DataType,
                    "The service delivers these values as float (3) or double (4), not as data type " +
                        std::to_string(type) + ". ",
                    type);
}

void fillSequence(EpTypes::DataSequence& sequence, const std::vector<double>& values, EpTypes::DataType type) {
  requireDeliverable(type);
  if (type == EpTypes::FLOAT_DATA) {
    EpTypes::FloatSeq floats;
    narrowed(floats, values);
    sequence.floatValues(floats);
  } else {
    EpTypes::DoubleSeq doubles;
    narrowed(doubles, values);
    sequence.doubleValues(doubles);
  }
}

void fillValue(EpTypes::DataValue& value, double number, EpTypes::DataType type) {
  requireDeliverable(type);
  if (type == EpTypes::FLOAT_DATA)
    value.floatValue(static_cast<float>(number));
  else
    value.doubleValue(number);
}

UnitScale baseUnit(const std::string& quantityClass) {
  if (quantityClass == "length") return {"m"};
  if (quantityClass == "time") return {"s"};
  if (quantityClass == "velocity") return {"m/s"};
  if (quantityClass == "angle") return {"rad"};
  throw std::logic_error("no SI unit for the quantity class " + quantityClass);
}

UnitScale unitScaleOf(const std::string& acronym, const std::string& quantityClass) {
  if (acronym.empty()) return baseUnit(quantityClass);
  const UnitDefinition* unit = UnitCatalogue::builtIn().find(acronym);
  if (!unit || unit->quantity != quantityClass)
    throw WireError(WireError::What::Unit,
                    "The unit " + quoted(acronym) + " is not a " + quantityClass + " unit of the catalogue. ");
  return {unit->acronym, unit->factor, unit->offset};
}

UnitScale unitScaleOf(Catalogues& catalogues, EpUnitOfMeasureService::Unit_ptr unit,
                      const std::string& quantityClass, const std::string& what) {
  const auto info = catalogues.resolveUnit(unit);
  if (!info)
    throw WireError(WireError::What::Unit, "The unit of the " + what + " is not a unit of the service's catalogue. ");
  if (!info->acronym.empty() && info->quantity != quantityClass)
    throw WireError(WireError::What::Unit, "The unit " + quoted(info->acronym) + " of the " + what + " measures " +
                                               info->quantity + ", not " + quantityClass + ". ");
  return unitScaleOf(info->acronym, quantityClass);
}

std::vector<double> baseValuesOf(Catalogues& catalogues, const EpiTypes::DataQuantities& quantities,
                                 const std::string& quantityClass, const std::string& what) {
  const UnitScale unit = unitScaleOf(catalogues, quantities.unit.in(), quantityClass, what);
  std::vector<double> values = numbersOf(quantities.values, what);
  for (double& value : values) value = unit.toBase(value);
  return values;
}

void fillQuantities(EpiTypes::DataQuantities& quantities, Catalogues& catalogues, const std::vector<double>& base,
                    const UnitScale& unit, EpTypes::DataType type) {
  std::vector<double> values(base.size());
  for (std::size_t i = 0; i < base.size(); ++i) values[i] = unit.fromBase(base[i]);
  fillSequence(quantities.values, values, type);
  quantities.unit = catalogues.unitReference(unit.acronym);
}

} // namespace kelwelld
