// Depth kinds and time kinds, and every step between them. This is the one
// place that knows how MD, TVD, TVDSS and TVDGL, and TWT, OWT and TWT below
// mean sea level relate; velocity functions, paths, picks and traces all
// convert through it. Values are SI: metres and seconds; depths are positive
// downwards, elevations positive upwards, both relative to mean sea level (MSL).
//
// The vertical references (docs/service.md, "Depth and time kinds"):
//   - the wellbore's depth datum lies `elevation` metres above MSL;
//   - TVD is vertical depth below that datum, TVDSS vertical depth below MSL,
//     TVDGL vertical depth below the ground (onshore) or the sea floor
//     (offshore, the well's water depth below MSL);
//   - MD is along the hole from the depth datum; MD <-> TVD needs the path.
#ifndef KELWELLD_ENGINE_KINDS_H
#define KELWELLD_ENGINE_KINDS_H
#include "EngineError.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace kelwelld::engine {

constexpr double kUnset = std::numeric_limits<double>::quiet_NaN();
inline bool isSet(double value) { return !std::isnan(value); }

enum class DepthKind { MD = 0, TVD = 1, TVDSS = 2, TVDGL = 3 };
enum class TimeKind { TWT = 0, OWT = 1, TWT_MSL = 2 };
enum class DepthDatum {
  KellyBushing = 0, DerrickFloor = 1, RotaryTable = 2, GroundLevel = 3,
  MeanSeaLevel = 4, SeaFloor = 5, CasingFlange = 6,
};

// The names used in failure texts ("TVDSS", "TWT below MSL").
const char* kindName(DepthKind kind);
const char* kindName(TimeKind kind);

// MD <-> TVD along a wellbore. The path engine supplies the real one; a
// wellbore without path data is vertical below its wellhead (VerticalPath).
class DepthPath {
 public:
  virtual ~DepthPath() = default;
  // TVD below the depth datum at a measured depth; InsufficientData outside the path.
  virtual double tvdAtMd(double md) const = 0;
  // The first (shallowest along hole) measured depth at which the path reaches
  // a TVD; InsufficientData when the path never does.
  virtual double mdAtTvd(double tvd) const = 0;
};

class VerticalPath final : public DepthPath {
 public:
  double tvdAtMd(double md) const override { return md; }
  double mdAtTvd(double tvd) const override { return tvd; }
};

// What a wellbore and its well say about vertical references. kUnset where
// the attribute was never written.
struct VerticalReference {
  DepthDatum datum = DepthDatum::KellyBushing;  // the wellbore's elevation datum
  double elevation = kUnset;                    // of the depth datum above MSL (m)
  double waterDepth = kUnset;                   // of the well (m); > 0 offshore
};

// Converts depths between the four kinds for one wellbore. Each step asks only
// for the values it needs: MD <-> TVD needs the path alone; TVD <-> TVDSS the
// datum's elevation; TVDGL the ground or sea floor. A missing value fails with
// ConversionNotSupported naming it.
class DepthKinds {
 public:
  // `path` must outlive this object.
  DepthKinds(const VerticalReference& reference, const DepthPath& path);

  double convert(double value, DepthKind from, DepthKind to) const;
  // In place of a loop over convert(): resolves the offsets once. `out` may be
  // `in`; after a failure its contents are unspecified.
  void convert(const double* in, double* out, std::size_t count, DepthKind from, DepthKind to) const;

  // Elevation of the depth datum above MSL: the wellbore's elevation; 0 for a
  // MEAN_SEA_LEVEL datum and minus the water depth for a SEA_FLOOR datum when
  // no elevation was written. ConversionNotSupported when none of these holds.
  double datumElevation() const;

 private:
  // What to add to a value of TVD-based kind `from` to get kind `to`.
  double shiftBetween(DepthKind from, DepthKind to) const;

  VerticalReference reference_;
  const DepthPath& path_;
};

// Time kinds of one velocity function: TWT and OWT count from the function's
// datum (the seismic reference datum); TWT below MSL counts from the two-way
// time at which the function reaches mean sea level.
class TimeKinds {
 public:
  // twtOfMeanSeaLevel: the function's two-way time at MSL (kUnset when the
  // function's datum is not set; only TWT below MSL needs it).
  explicit TimeKinds(double twtOfMeanSeaLevel) : twtOfMsl_(twtOfMeanSeaLevel) {}

  // Two-way time from the function's datum, and back.
  double toTwt(double value, TimeKind from) const;
  double fromTwt(double twt, TimeKind to) const;
  void toTwt(const double* in, double* out, std::size_t count, TimeKind from) const;

 private:
  double mslShift(TimeKind kind) const;
  double twtOfMsl_;
};

} // namespace kelwelld::engine

#endif
