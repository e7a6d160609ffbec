#include "kel_ReferenceValues.h"

#include <EpReferenceValueService.hh>

#include "kel_Exception.h"
#include "kel_util.h"

kel_Array<kel_WellString> kel_referenceValues(const kel_WellString& setName, const char* nilSetText) {
  EpReferenceValueService::ReferenceValueService_var service = kel_util::ReferenceValue::getService();
  if (CORBA::is_nil(service.in()))
    throw kel_SystemException("The EpReferenceValueService::ReferenceValueService came back nil. ");

  EpReferenceValueService::Identification identification;
  identification.authority = CORBA::string_dup("Kelvast");
  identification.setName = CORBA::string_dup(setName);

  EpReferenceValueService::ReferenceValueSet_var set = service->getSet(identification);
  if (CORBA::is_nil(set.in())) throw kel_SystemException(nilSetText);

  EpReferenceValueService::ReferenceValueList_var values;
  EpReferenceValueService::ReferenceValueIterator_var rest;
  set->getValues(set->count(), values.out(), rest.out());

  const unsigned n = values->length();
  kel_Array<kel_WellString> codes(n);
  for (unsigned i = 0; i < n; ++i) codes.set(i, kel_WellString(values[i].code.in()));
  return codes;
}
