// A stand-in for the service's fault injection in the catalogue tests: it
// records each hook call and can be told to act on the next one.
#ifndef KELWELL_TESTS_CATALOGUE_FAULT_DOUBLE_H
#define KELWELL_TESTS_CATALOGUE_FAULT_DOUBLE_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/FaultInjection.h"

namespace catalogue_test {

// (operation, object id) of every enterFault call since the last reset.
std::vector<std::pair<std::string, std::string>>& faultCalls();
// The next enterFault of operation returns this value fault.
void armValueFault(const std::string& operation, kelwelld::ValueFault fault);
void resetFaults();

} // namespace catalogue_test

#endif
