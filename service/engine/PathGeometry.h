// The path engine: wellbore positions from directional survey stations or from
// raw positions. SI units: measured depth and TVD in metres below the depth
// datum, offsets east and north of the wellhead in metres, angles in radians
// (inclination from vertical, azimuth clockwise from north).
//
// From survey stations, positions at the stations follow the calculation
// method; between two stations they lie on the minimum-curvature arc of that
// interval (for the other methods the arc is bent by a linear term so that it
// still meets both station positions). From raw positions, positions between
// samples are linear in every column. Measured depths outside the first and
// last station fail with InsufficientData naming the range.
#ifndef KELWELLD_ENGINE_PATHGEOMETRY_H
#define KELWELLD_ENGINE_PATHGEOMETRY_H
#include "EngineError.h"
#include "Kinds.h"

#include <cstddef>
#include <vector>

namespace kelwelld::engine {

enum class CalculationMethod {
  MinimumCurvature = 0, RadiusOfCurvature = 1, BalancedTangential = 2,
  AverageAngle = 3, Tangential = 4, Mercury = 5,
};

struct SurveyStations {
  std::vector<double> md, inclination, azimuth;
};

struct Position {
  double md, tvd, east, north;
};

// A direction or a displacement: north, east and down components.
struct Vector3 {
  double north, east, down;
};

// The columns of path data (docs/service.md: MD, TVD, dx east, dy north; the
// two-way time column is the velocity function's business).
struct PathColumns {
  std::vector<double> md, tvd, east, north;
};

struct SurveyOptions {
  CalculationMethod method = CalculationMethod::MinimumCurvature;
  // MERCURY only: the length of the survey tool, treated as balanced
  // tangential; the rest of each interval is tangential. Must be >= 0.
  double toolLength = 0.0;
  // Where the first station is. Unset: directly below the wellhead with TVD
  // equal to its measured depth (the hole above it taken as vertical).
  double tieInTvd = kUnset, tieInEast = 0.0, tieInNorth = 0.0;
};

class WellPath final : public DepthPath {
 public:
  // Validates first (InvalidNumSamples: column lengths or no station;
  // NonMonotonic: MD not strictly increasing; InvalidValue: non-finite values,
  // inclination outside [0, pi], negative tool length).
  static WellPath fromSurvey(const SurveyStations& stations, const SurveyOptions& options = {});
  static WellPath fromPositions(const PathColumns& columns);

  // The positions at the stations (or the raw samples).
  const PathColumns& stations() const { return columns_; }
  Position last() const;

  Position at(double md) const;
  // `out` holds `count` positions. InsufficientData names the first MD outside.
  void at(const double* md, Position* out, std::size_t count) const;

  double tvdAtMd(double md) const override { return at(md).tvd; }
  double mdAtTvd(double tvd) const override;

 private:
  // One interval between two stations, ready for positions inside it.
  struct Leg {
    Vector3 t1, t2;  // unit directions at both ends
    double dogleg;   // the angle between them (rad)
    Vector3 fix;     // per metre: the method's station step minus the arc's
  };
  WellPath() = default;
  void requireInside(double md) const;
  Position onLeg(std::size_t leg, double md) const;

  PathColumns columns_;
  std::vector<Leg> legs_;  // empty for raw positions
  bool survey_ = false;
};

} // namespace kelwelld::engine

#endif
