// kel_CoordinateConverter: coordinates and plain float arrays between the
// platform and the service.
#ifndef KEL_COORDINATECONVERTER_H
#define KEL_COORDINATECONVERTER_H

#include <memory>

#include <EpCoordinateService.hh>
#include <EpTypes.hh>

#include "kel_Array.h"
#include "kel_Coordinate.h"

class kel_CoordinateConverter {
public:
  // The system is nil when the service sent none.
  static kel_Coordinate makeKelCoordinate(const EpCoordinateService::Coordinate& coordinate);
  static kel_CoordinateArray makeKelCoordinateArray(const EpCoordinateService::Coordinates& coordinates);
  // The numbers as floats (the numeric rule of kel_NumericRule.h), no unit.
  static kel_Array<float> makeKelFloatArray(const EpTypes::DataSequence& sequence);
  // The values as a float sequence, in order; the caller's.
  static std::unique_ptr<EpTypes::DataSequence> makeDataSequence(const kel_Array<float>& values);
};

#endif
