#include "kel_WellVelocityConverter.h"

#include "kel_DataQuantityConverter.h"
#include "kel_WellEnumConverter.h"

namespace {

using Remote = EpiWell::WellVelocity;

EpiTypes::DataQuantities toRemote(const kel_FloatQuantities& quantities) {
  return *kel_DataQuantityConverter::makeDataQuantities(quantities);
}

kel_FloatQuantities toKel(const EpiTypes::DataQuantities& quantities) {
  return kel_DataQuantityConverter::makeKelFloatQuantities(quantities);
}

} // namespace

std::unique_ptr<Remote::WellVelocityData> kel_WellVelocityConverter::makeEpiWellVelocityData(
    const kel_WellVelocity::WellVelocityData& data) {
  auto result = std::make_unique<Remote::WellVelocityData>();
  result->times = toRemote(data.times);
  result->depths = toRemote(data.depths);
  result->firstVelocities = toRemote(data.firstVelocities);
  result->secondVelocities = toRemote(data.secondVelocities);
  result->thirdVelocities = toRemote(data.thirdVelocities);
  return result;
}

kel_WellVelocity::WellVelocityData kel_WellVelocityConverter::makeKelWellVelocityData(
    const Remote::WellVelocityData& data) {
  kel_WellVelocity::WellVelocityData result;
  result.times = toKel(data.times);
  result.depths = toKel(data.depths);
  result.firstVelocities = toKel(data.firstVelocities);
  result.secondVelocities = toKel(data.secondVelocities);
  result.thirdVelocities = toKel(data.thirdVelocities);
  return result;
}

kel_WellVelocity::Velocities kel_WellVelocityConverter::makeKelVelocities(const Remote::Velocities& velocities) {
  kel_WellVelocity::Velocities result;
  result.values = toKel(velocities.values);
  result.type = kel_WellEnumConverter::makeKelVelocityType(velocities.type);
  return result;
}

kel_WellVelocity::TimeDepthPairs kel_WellVelocityConverter::makeKelTimeDepthPairs(const Remote::TimeDepthPairs& pairs) {
  kel_WellVelocity::TimeDepthPairs result;
  result.times.values = toKel(pairs.times.values);
  result.depths.values = toKel(pairs.depths.values);
  result.times.type = kel_WellEnumConverter::makeKelTimeType(pairs.times.type);
  result.depths.type = kel_WellEnumConverter::makeKelDepthType(pairs.depths.type);
  return result;
}

kel_WellVelocity::TimeVelocityPairs kel_WellVelocityConverter::makeKelTimeVelocityPairs(
    const Remote::TimeVelocityPairs& pairs) {
  kel_WellVelocity::TimeVelocityPairs result;
  result.times.values = toKel(pairs.times.values);
  result.velocities.values = toKel(pairs.velocities.values);
  result.times.type = kel_WellEnumConverter::makeKelTimeType(pairs.times.type);
  result.velocities.type = kel_WellEnumConverter::makeKelVelocityType(pairs.velocities.type);
  return result;
}

std::unique_ptr<Remote::VelocityDataPairs> kel_WellVelocityConverter::makeEpiVelocityDataPairs(
    const kel_WellVelocity::VelocityDataPairs& pairs, PairOrder order) {
  auto result = std::make_unique<Remote::VelocityDataPairs>();
  auto kinds = [&] {
    result->timeType = kel_WellEnumConverter::makeEpiWellTimeType(pairs.timeType);
    result->valueKind = kel_WellEnumConverter::makeEpiVelocityOtherType(pairs.valueType);
  };
  auto lists = [&] {
    result->times = toRemote(pairs.times);
    result->values = toRemote(pairs.values);
  };
  if (order == PairOrder::KindsFirst) {
    kinds();
    lists();
  } else {
    lists();
    kinds();
  }
  return result;
}

EpTypes::FloatSeq kel_WellVelocityConverter::makeFloatSeq(const kel_Array<float>& values) {
  EpTypes::FloatSeq result;
  values.read([&](const float* elements, unsigned size) {
    result.length(size);
    for (unsigned i = 0; i < size; ++i) result[i] = elements[i];
  });
  return result;
}
