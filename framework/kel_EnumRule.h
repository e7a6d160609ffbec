// kel_EnumRule: enumerations cross to and from the service by number. Each
// converter accepts a fixed set of values and passes them unchanged; any
// other value fails with the converter's mapping text followed by the value,
// wrapped by the converter's own ladder. Every class keeps its converters
// beside it (well/kel_WellEnumConverter.h, ...), each one a rule.
#ifndef KEL_ENUMRULE_H
#define KEL_ENUMRULE_H

#include <initializer_list>

#include "kel_Exception.h"
#include "kel_FailureTranslation.h"
#include "kel_cppUtil.h"

// The rule every enumeration converter follows.
struct kel_EnumRule {
  std::initializer_list<int> accepted;
  const char* mappingText; // followed by the refused value in decimal
  kel_translation::Msg message;
  kel_translation::Where where;

  template <class To>
  To map(int value) const {
    using namespace kel_translation;
    return translate(message, where, Standard(), [&] {
      for (int candidate : accepted)
        if (candidate == value) return static_cast<To>(value);
      kel_cppUtil::String text(mappingText);
      text << value;
      throw kel_SystemException(text);
    });
  }
};

#endif
