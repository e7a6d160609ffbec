#include "core/RemoteErrors.h"

#include <EpDataStore.hh>
#include <EpEntity.hh>
#include <EpTypes.hh>

namespace kelwelld {

void throwStore(const std::string& message, const std::string& detail) {
  throw EpDataStore::StoreException(message.c_str(), detail.c_str());
}

void throwValidation(const std::string& reason) {
  throw EpEntity::ValidationException(reason.c_str());
}

void throwBadArguments(const std::string& reason) {
  throw EpTypes::BadArgumentsException(reason.c_str());
}

void throwFailed(const std::string& reason) {
  throw EpTypes::FailedOperationException(reason.c_str());
}

void throwNotExist() {
  throw CORBA::OBJECT_NOT_EXIST(0, CORBA::COMPLETED_NO);
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

} // namespace kelwelld
