#include "kel_RemoteAccess.h"

#include <cstring>

#include "kel_Converter.h"

namespace kel_remote {

namespace {

// getBaseObject is protected in the platform's classes; the library reaches
// it for entities of any class through a pointer to the member, formed from
// a class derived from kel_Entity as the access rules require.
struct BaseObjectAccess : kel_Entity {
  static CORBA::Object* of(const kel_Entity& entity) {
    void* (kel_Entity::*get)() const = &BaseObjectAccess::getBaseObject;
    return static_cast<CORBA::Object*>((entity.*get)());
  }
};

} // namespace

CORBA::Object* baseObjectOf(const kel_Entity& entity) { return BaseObjectAccess::of(entity); }

bool isUntyped(CORBA::Object_ptr object) {
  if (CORBA::is_nil(object) || object->_NP_is_pseudo()) return false;
  // The C++ mapping has no call for the interface a proxy stands for; in
  // omniORB it is the proxy's local servant target, which for a reference
  // the ORB has not typed is CORBA::Object itself.
  return std::strcmp(object->_PR_getobj()->_localServantTarget(), CORBA::Object::_PD_repoId) == 0;
}

CosPropertyService::Property makeProperty(const kel_StringPair& pair) {
  CosPropertyService::Property property;
  property.property_name = CORBA::string_dup(pair.getKey());
  property.property_value <<= static_cast<const char*>(pair.getValue());
  return property;
}

kel_StringPair makeStringPair(const CosPropertyService::Property& property) {
  const kel_cppUtil::String value = kel_Converter::convertAnyToString(property.property_value);
  return kel_StringPair(property.property_name.in(), value);
}

CosPropertyService::Properties makeProperties(const kel_Array<kel_StringPair>& pairs) {
  CosPropertyService::Properties properties;
  properties.length(pairs.size());
  for (unsigned i = 0; i < pairs.size(); ++i) properties[i] = makeProperty(pairs[i]);
  return properties;
}

kel_Array<kel_StringPair> makeStringPairs(const CosPropertyService::Properties& properties) {
  const unsigned n = properties.length();
  kel_Array<kel_StringPair> pairs(n);
  for (unsigned i = 0; i < n; ++i) pairs.set(i, makeStringPair(properties[i]));
  return pairs;
}

} // namespace kel_remote
