#include "kel_Converter.h"

#include "kel_Exception.h"
#include "kel_FailureTranslation.h"

using namespace kel_translation;

kel_cppUtil::String kel_Converter::convertAnyToString(const CORBA::Any& any) {
  return translate(Msg{"Could not convert given any to a kel_String. "},
                   Where{"kel_Converter", "convertAnyToString"}, Standard(), [&] {
                     const char* text = nullptr;
                     if (!(any >>= text) || text == nullptr)
                       throw kel_SystemException("The any does not hold a string. ");
                     return kel_cppUtil::String(text);
                   });
}
