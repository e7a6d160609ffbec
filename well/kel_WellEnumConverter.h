// kel_WellEnumConverter: the enumerations of wells, wellbores, picks, velocity
// functions and the well value types, to and from the service, each by
// kel_EnumRule. The pick and velocity ones live with their classes, in pick/
// and velocity/.
#ifndef KEL_WELLENUMCONVERTER_H
#define KEL_WELLENUMCONVERTER_H

#include <EpiWell.hh>

#include "kel_EnumRule.h"
#include "kel_WellBore.h"
#include "kel_WellPick.h"

#include "kel_WellLogTrace.h"
#include "kel_WellTypes.h"
#include "kel_WellVelocity.h"

class kel_WellEnumConverter {
public:
  static kel_WellBore::WellDepthDatum makeKelWellDepthDatum(EpiWell::WellBore::WellDepthDatum value);
  static EpiWell::WellBore::WellDepthDatum makeEpiWellDepthDatum(kel_WellBore::WellDepthDatum value);
  static kel_WellBore::CalculationMethod makeKelCalculationMethod(EpiWell::WellBore::CalculationMethod value);
  static EpiWell::WellBore::CalculationMethod makeEpiCalculationMethod(kel_WellBore::CalculationMethod value);
  static kel_WellBore::TotalDepthReference makeKelTotalDepthReference(
      EpiWell::WellBore::TotalDepthReference value);
  static EpiWell::WellBore::TotalDepthReference makeEpiTotalDepthReference(
      kel_WellBore::TotalDepthReference value);

  static kel_WellTypes::DepthType makeKelDepthType(EpiWell::DepthType value);
  static EpiWell::DepthType makeEpiWellDepthType(kel_WellTypes::DepthType value);
  static kel_WellTypes::TimeType makeKelTimeType(EpiWell::TimeType value);
  static EpiWell::TimeType makeEpiWellTimeType(kel_WellTypes::TimeType value);

  static kel_WellPick::PickReference makeKelPickReference(EpiWell::WellPick::PickReference value);
  static EpiWell::WellPick::PickReference makeEpiPickReference(kel_WellPick::PickReference value);

  static kel_WellVelocity::VelocityType makeKelVelocityType(EpiWell::WellVelocity::VelocityType value);
  static EpiWell::WellVelocity::VelocityType makeEpiVelocityType(kel_WellVelocity::VelocityType value);
  // No operation receives a VelocityOtherType from the service: one way only.
  static EpiWell::WellVelocity::VelocityOtherType makeEpiVelocityOtherType(
      kel_WellVelocity::VelocityOtherType value);

  // Log traces (logtrace/kel_WellLogTraceConverters.cpp).
  static kel_WellLogTrace::IndexKind makeKelIndexKind(EpiWell::WellLogTrace::IndexKind value);
  static EpiWell::WellLogTrace::IndexKind makeEpiIndexKind(kel_WellLogTrace::IndexKind value);
  static kel_WellLogTrace::TraceProcessState makeKelTraceProcessState(EpiWell::WellLogTrace::TraceProcessState value);
  static EpiWell::WellLogTrace::TraceProcessState makeEpiTraceProcessState(kel_WellLogTrace::TraceProcessState value);
};

#endif
