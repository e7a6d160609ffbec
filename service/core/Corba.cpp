#include "Corba.h"

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

std::string idText(const PortableServer::ObjectId& oid) {
  std::string text;
  text.reserve(oid.length());
  for (CORBA::ULong i = 0; i < oid.length(); ++i) text.push_back(static_cast<char>(oid[i]));
  return text;
}

PortableServer::ObjectId* toOid(const std::string& id) {
  return PortableServer::string_to_ObjectId(id.c_str());
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

} // namespace kelwelld
