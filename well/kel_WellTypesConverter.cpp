#include "kel_WellTypesConverter.h"

#include "kel_DataQuantityConverter.h"
#include "kel_WellEnumConverter.h"

std::unique_ptr<EpiWell::Depths> kel_WellTypesConverter::makeEpiDepths(const kel_WellTypes::Depths& depths) {
  const EpiWell::DepthType type = kel_WellEnumConverter::makeEpiWellDepthType(depths.type);
  auto result = std::make_unique<EpiWell::Depths>();
  result->values = *kel_DataQuantityConverter::makeDataQuantities(depths.values);
  result->type = type;
  return result;
}

kel_WellTypes::Depths kel_WellTypesConverter::makeKelDepths(const EpiWell::Depths& depths) {
  kel_WellTypes::Depths result;
  result.values = kel_DataQuantityConverter::makeKelFloatQuantities(depths.values);
  result.type = kel_WellEnumConverter::makeKelDepthType(depths.type);
  return result;
}

std::unique_ptr<EpiWell::Times> kel_WellTypesConverter::makeEpiTimes(const kel_WellTypes::Times& times) {
  const EpiWell::TimeType type = kel_WellEnumConverter::makeEpiWellTimeType(times.type);
  auto result = std::make_unique<EpiWell::Times>();
  result->values = *kel_DataQuantityConverter::makeDataQuantities(times.values);
  result->type = type;
  return result;
}

kel_WellTypes::Times kel_WellTypesConverter::makeKelTimes(const EpiWell::Times& times) {
  kel_WellTypes::Times result;
  result.values = kel_DataQuantityConverter::makeKelFloatQuantities(times.values);
  result.type = kel_WellEnumConverter::makeKelTimeType(times.type);
  return result;
}
