// Conversions between the remote value types and the records, with the
// validation every writer of a well entity goes through.
#ifndef KELWELLD_VALUES_H
#define KELWELLD_VALUES_H

#include <optional>
#include <string>
#include <vector>

#include <CosPropertyService.hh>
#include <EpCoordinateService.hh>
#include <EpiTypes.hh>

#include "core/FaultInjection.h"
#include "entity/WellRecords.h"

namespace kelwelld {

class Catalogues;

// The number in any numeric branch of a DataValue; ValidationException
// naming attribute for an unknown discriminator.
double valueOf(const EpTypes::DataValue& value, const std::string& attribute);

// A quantity a client writes: its unit must be nil or a length of the
// catalogue; a NaN value clears the quantity, an infinite one, or one beyond the
// range of the float it is read back as, is refused.
Quantity lengthFromRemote(const EpiTypes::DataQuantity& quantity, const std::string& attribute,
                          Catalogues& catalogues);

// The quantity as the float branch with the unit it was written in; a
// quantity never written comes back as NaN without unit. fault (from
// enterFault) may ask for a nil unit or an unknown discriminator.
EpiTypes::DataQuantity* quantityToRemote(const Quantity& quantity, Catalogues& catalogues,
                                         const std::optional<ValueFault>& fault);

// "" or an ISO 8601 date / date-time; ValidationException naming attribute.
std::string checkedDate(const char* text, const std::string& attribute);

// The text an Any holds; ValidationException naming what when it holds none.
std::string textOf(const CORBA::Any& value, const std::string& what);

CosPropertyService::Property* propertyToRemote(const std::string& name, const std::string& value);
std::vector<Alias> aliasesFromRemote(const CosPropertyService::Properties& aliases);
CosPropertyService::Properties* aliasesToRemote(const std::vector<Alias>& aliases);

// An enumeration number in [0, last]; ValidationException naming the
// attribute, the value and the range otherwise.
short checkedEnum(short value, short last, const std::string& attribute);


} // namespace kelwelld

#endif
