// kel_Converter: an Any holding text, as text.
#ifndef KEL_CONVERTER_H
#define KEL_CONVERTER_H

#include <omniORB4/CORBA.h>

#include "kel_cppUtil.h"

class kel_Converter {
public:
  // The text the Any holds. An Any holding anything else fails
  // (kel_SystemException) rather than yielding an arbitrary text.
  static kel_cppUtil::String convertAnyToString(const CORBA::Any& any);
};

#endif
