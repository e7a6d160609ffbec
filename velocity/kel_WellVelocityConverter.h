// The velocity function's value structures, to and from the service: lists
// by kel_DataQuantityConverter, kinds by kel_WellEnumConverter, each in the
// order the operations need (the first that fails is the one reported). No
// ladder here: the calling operation's wraps whatever fails.
#ifndef KEL_WELLVELOCITYCONVERTER_H
#define KEL_WELLVELOCITYCONVERTER_H

#include <memory>

#include <EpiWell.hh>

#include "kel_Array.h"
#include "kel_WellVelocity.h"

struct kel_WellVelocityConverter {
  // The five lists, in member order.
  static std::unique_ptr<EpiWell::WellVelocity::WellVelocityData> makeEpiWellVelocityData(
      const kel_WellVelocity::WellVelocityData& data);
  static kel_WellVelocity::WellVelocityData makeKelWellVelocityData(
      const EpiWell::WellVelocity::WellVelocityData& data);

  // Values, then kind.
  static kel_WellVelocity::Velocities makeKelVelocities(const EpiWell::WellVelocity::Velocities& velocities);
  // Both lists of values first, then both kinds.
  static kel_WellVelocity::TimeDepthPairs makeKelTimeDepthPairs(const EpiWell::WellVelocity::TimeDepthPairs& pairs);
  static kel_WellVelocity::TimeVelocityPairs makeKelTimeVelocityPairs(
      const EpiWell::WellVelocity::TimeVelocityPairs& pairs);

  // Replacing every sample converts the kinds first; updating and inserting
  // convert the lists first.
  enum class PairOrder { KindsFirst, ListsFirst };
  static std::unique_ptr<EpiWell::WellVelocity::VelocityDataPairs> makeEpiVelocityDataPairs(
      const kel_WellVelocity::VelocityDataPairs& pairs, PairOrder order);

  // A plain float sequence of the same length, in order.
  static EpTypes::FloatSeq makeFloatSeq(const kel_Array<float>& values);
};

#endif
