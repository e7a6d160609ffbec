#include "catalogue_fault_double.h"

#include <map>
#include <mutex>

namespace catalogue_test {
namespace {
std::mutex mutex;
std::vector<std::pair<std::string, std::string>> calls;
std::map<std::string, kelwelld::ValueFault> armed;
} // namespace

std::vector<std::pair<std::string, std::string>>& faultCalls() {
  return calls;
}

void armValueFault(const std::string& operation, kelwelld::ValueFault fault) {
  std::lock_guard<std::mutex> lock(mutex);
  armed[operation] = fault;
}

void resetFaults() {
  std::lock_guard<std::mutex> lock(mutex);
  calls.clear();
  armed.clear();
}

} // namespace catalogue_test

namespace kelwelld {

std::optional<ValueFault> enterFault(const char* operation, const std::string& objectId) {
  std::lock_guard<std::mutex> lock(catalogue_test::mutex);
  catalogue_test::calls.emplace_back(operation, objectId);
  const auto found = catalogue_test::armed.find(operation);
  if (found == catalogue_test::armed.end()) {
    return std::nullopt;
  }
  const ValueFault fault = found->second;
  catalogue_test::armed.erase(found);
  return fault;
}

} // namespace kelwelld
