// A second client process for the persistence tests: given a stringified
// well reference, prints the well's wellbores, one line each, in the order
// the service lists them, with every attribute.
#include <iostream>
#include <sstream>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

std::string quantity(const EpiTypes::DataQuantity& q) {
  std::ostringstream out;
  out << q.value.floatValue() << " "
      << (CORBA::is_nil(q.unit.in()) ? std::string("-") : std::string(CORBA::String_var(q.unit->acronym()).in()));
  return out.str();
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: wellbore_lister IOR\n";
    return 2;
  }
  try {
    CORBA::Object_var object = clientOrb()->string_to_object(argv[1]);
    EpiWell::Well_var well = EpiWell::Well::_narrow(object.in());
    if (CORBA::is_nil(well.in())) {
      std::cerr << "not a well\n";
      return 1;
    }
    EpEntity::EntitySeq_var bores = well->getWellBores();
    for (CORBA::ULong i = 0; i < bores->length(); ++i) {
      EpiWell::WellBore_var bore = EpiWell::WellBore::_narrow(bores[i]);
      CosPropertyService::Property_var id = bore->getIdentifier();
      EpiTypes::DataQuantity_var td = bore->getTotalDepth();
      EpiTypes::DataQuantity_var elevation = bore->getElevation();
      CosPropertyService::Properties_var aliases = bore->getAliases();
      std::cout << CORBA::String_var(bore->getId()).in() << "|" << id->property_name.in() << "="
                << text(id->property_value) << "|" << CORBA::String_var(bore->getBoreStatus()).in() << "|"
                << CORBA::String_var(bore->getFlowDirection()).in() << "|"
                << CORBA::String_var(bore->getFluidType()).in() << "|"
                << CORBA::String_var(bore->getShowType()).in() << "|" << bore->getTotalDepthType() << "|"
                << bore->getCalcMethod() << "|" << bore->getElevationDatum() << "|" << quantity(td.in())
                << "|" << quantity(elevation.in()) << "|" << CORBA::String_var(bore->getCompletionDate()).in()
                << "|" << aliases->length() << "\n";
    }
  } catch (const CORBA::Exception& e) {
    std::cerr << "failed: " << e._name() << "\n";
    return 1;
  }
  return 0;
}
