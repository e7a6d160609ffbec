#include "kel_CoordinateConverter.h"

#include "kel_Exception.h"
#include "kel_FailureTranslation.h"
#include "kel_NumericRule.h"
#include "kel_RemoteStub.h"

using namespace kel_translation;

namespace {

kel_CoordSystem systemFrom(EpCoordinateService::System_ptr system) {
  if (CORBA::is_nil(system)) return kel_CoordSystem();
  return kel_CoordSystem(kel_RemoteStub(system), true);
}

} // namespace

kel_Coordinate kel_CoordinateConverter::makeKelCoordinate(const EpCoordinateService::Coordinate& coordinate) {
  return translate(Msg{"Couldn't convert the EpCoordinateService::Coordinate to kel_Coordinate. "},
                   Where{"kel_CoordinateConverter", "makeKelCoordinate"}, Standard(), [&] {
                     return kel_Coordinate(systemFrom(coordinate.system.in()), coordinate.x, coordinate.y,
                                           coordinate.z);
                   });
}

kel_CoordinateArray kel_CoordinateConverter::makeKelCoordinateArray(
    const EpCoordinateService::Coordinates& coordinates) {
  return translate(Msg{"Couldn't convert the EpCoordinateService::Coordinates to kel_CoordinateArray. "},
                   Where{"kel_CoordinateConverter", "makeKelCoordinateArray"}, Standard(), [&] {
                     const unsigned n = coordinates.points.length();
                     kel_Array<kel_CoordPoint> points(n);
                     for (unsigned i = 0; i < n; ++i) {
                       const EpCoordinateService::Point& p = coordinates.points[i];
                       points.set(i, kel_CoordPoint(p.x, p.y, p.z));
                     }
                     return kel_CoordinateArray(systemFrom(coordinates.system.in()), points);
                   });
}

kel_Array<float> kel_CoordinateConverter::makeKelFloatArray(const EpTypes::DataSequence& sequence) {
  return translate(Msg{"Couldn't convert the EpTypes::DataSequence to kel_FloatArray. "},
                   Where{"kel_CoordinateConverter", "makeKelFloatArray"}, Standard(), [&] {
                     kel_Array<float> values;
                     if (!kel_numeric::toFloats(sequence, values))
                       throw kel_SystemException("Unsupported data type");
                     return values;
                   });
}

std::unique_ptr<EpTypes::DataSequence> kel_CoordinateConverter::makeDataSequence(
    const kel_Array<float>& values) {
  return translate(Msg{"Couldn't convert the kel_FloatArray to EpTypes::DataSequence. "},
                   Where{"kel_CoordinateConverter", "makeDataSequence"}, Standard(),
                   [&] {
                     auto sequence = std::make_unique<EpTypes::DataSequence>();
                     kel_numeric::putFloats(values, *sequence);
                     return sequence;
                   });
}
