// kel_WellEnumConverter: enumerations cross to and from the service by
// number. Each converter accepts a fixed set of values and passes them
// unchanged; any other value fails with the converter's mapping text
// followed by the value, wrapped by the converter's own ladder.
#ifndef KEL_WELLENUMCONVERTER_H
#define KEL_WELLENUMCONVERTER_H

#include <initializer_list>

#include <EpiWell.hh>

#include "kel_Exception.h"
#include "kel_FailureTranslation.h"
#include "kel_WellBore.h"
#include "kel_WellTypes.h"
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

class kel_WellEnumConverter {
public:
  static kel_WellBore::WellDepthDatum makeKelWellDepthDatum(EpiWell::WellBore::WellDepthDatum value);
  static EpiWell::WellBore::WellDepthDatum makeEpiWellDepthDatum(kel_WellBore::WellDepthDatum value);
  static kel_WellBore::CalculationMethod makeKelCalculationMethod(EpiWell::WellBore::CalculationMethod value);
  static kel_WellBore::TotalDepthReference makeKelTotalDepthReference(
      EpiWell::WellBore::TotalDepthReference value);
  static EpiWell::WellBore::TotalDepthReference makeEpiTotalDepthReference(
      kel_WellBore::TotalDepthReference value);

  static kel_WellTypes::DepthType makeKelDepthType(EpiWell::DepthType value);
  static EpiWell::DepthType makeEpiWellDepthType(kel_WellTypes::DepthType value);
  static kel_WellTypes::TimeType makeKelTimeType(EpiWell::TimeType value);
  static EpiWell::TimeType makeEpiWellTimeType(kel_WellTypes::TimeType value);
};

#endif
