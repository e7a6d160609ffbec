#include "servants/RemoteValues.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "catalogue/Catalogues.h"
#include "core/RemoteErrors.h"
#include "core/Time.h"
#include "servants/Limits.h"

namespace kelwelld {

double valueOf(const EpTypes::DataValue& value, const std::string& attribute) {
  switch (value._d()) {
    case EpTypes::BYTE_DATA: return value.byteValue();
    case EpTypes::SHORT_DATA: return value.shortValue();
    case EpTypes::LONG_DATA: return value.longValue();
    case EpTypes::FLOAT_DATA: return value.floatValue();
    case EpTypes::DOUBLE_DATA: return value.doubleValue();
    case EpTypes::UBYTE_DATA: return static_cast<signed char>(value.ubyteValue());
    default: break;
  }
  throwValidation("The " + attribute + " has a value of unknown data type " +
                  std::to_string(value._d()) + " (known: 0 to 5). ");
}

Quantity lengthFromRemote(const EpiTypes::DataQuantity& quantity, const std::string& attribute,
                          Catalogues& catalogues) {
  const double value = valueOf(quantity.value, attribute);
  if (std::isinf(value)) throwValidation("The " + attribute + " is infinite. ");
  // Quantities are read back as floats: a larger magnitude would come back infinite.
  if (std::fabs(value) > std::numeric_limits<float>::max()) {
    std::ostringstream text;
    text << "The " << attribute << " " << value << " is beyond what a quantity can be read back as (at most "
         << std::numeric_limits<float>::max() << " in magnitude). ";
    throwValidation(text.str());
  }
  const auto unit = catalogues.resolveUnit(quantity.unit.in());
  if (!unit) throwValidation("The unit of the " + attribute + " is not a unit of the service's catalogue. ");
  if (!unit->acronym.empty() && unit->quantity != "length")
    throwValidation("The unit " + quoted(unit->acronym) + " of the " + attribute + " measures " +
                    unit->quantity + ", not length. ");
  if (std::isnan(value)) return Quantity{};
  return Quantity{value, unit->acronym};
}

EpiTypes::DataQuantity* quantityToRemote(const Quantity& quantity, Catalogues& catalogues,
                                         const std::optional<ValueFault>& fault) {
  EpiTypes::DataQuantity_var result = new EpiTypes::DataQuantity;
  if (wantsOutOfRange(fault)) {
    result->value._default();   // a discriminator that names no branch
    result->unit = EpUnitOfMeasureService::Unit::_nil();
    return result._retn();
  }
  result->value.floatValue(quantity.value ? static_cast<float>(*quantity.value)
                                          : std::numeric_limits<float>::quiet_NaN());
  if (quantity.value && !quantity.unit.empty() &&
      !wantsNil(fault))
    result->unit = catalogues.unitReference(quantity.unit);
  else
    result->unit = EpUnitOfMeasureService::Unit::_nil();
  return result._retn();
}

std::string checkedDate(const char* text, const std::string& attribute) {
  const std::string date(text);
  if (!date.empty() && !isIsoDate(date))
    throwValidation("The " + attribute + " " + quoted(date) +
                    " is not an ISO 8601 date or date-time (for example 2024-05-17 or "
                    "2024-05-17T08:30:00Z); \"\" clears it. ");
  return date;
}

std::string textOf(const CORBA::Any& value, const std::string& what) {
  const char* text = nullptr;
  if (!(value >>= text)) throwValidation("The " + what + " does not hold a text. ");
  checkTextSize(text, what);
  return text;
}

CosPropertyService::Property* propertyToRemote(const std::string& name, const std::string& value) {
  CosPropertyService::Property_var property = new CosPropertyService::Property;
  property->property_name = name.c_str();
  property->property_value <<= value.c_str();
  return property._retn();
}

std::vector<Alias> aliasesFromRemote(const CosPropertyService::Properties& aliases) {
  std::vector<Alias> result;
  result.reserve(aliases.length());
  for (CORBA::ULong i = 0; i < aliases.length(); ++i) {
    checkTextSize(aliases[i].property_name.in(), "name of alias " + std::to_string(i));
    const std::string name(aliases[i].property_name.in());
    result.push_back({name, textOf(aliases[i].property_value,
                                   "alias " + std::to_string(i) + " (" + quoted(name) + ")")});
  }
  return result;
}

CosPropertyService::Properties* aliasesToRemote(const std::vector<Alias>& aliases) {
  CosPropertyService::Properties_var result = new CosPropertyService::Properties;
  result->length(static_cast<CORBA::ULong>(aliases.size()));
  for (CORBA::ULong i = 0; i < aliases.size(); ++i) {
    result[i].property_name = aliases[i].name.c_str();
    result[i].property_value <<= aliases[i].value.c_str();
  }
  return result._retn();
}

short checkedEnum(short value, short last, const std::string& attribute) {
  if (value < 0 || value > last)
    throwValidation("The " + attribute + " " + std::to_string(value) +
                    " is out of range: the allowed values are 0 to " + std::to_string(last) + ". ");
  return value;
}

} // namespace kelwelld
