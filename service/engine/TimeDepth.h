// The time-depth engine: a velocity function's samples and what is computed
// from them. Times are two-way times (s) from the function's datum, depths
// vertical depths (m) below it; velocities are m/s. docs/service.md ("Velocity
// functions") says what the samples and the velocity kinds mean.
//
// The relation: linear between samples; above the first sample it continues
// with the shallow extend (interval) velocity, below the last with the deep
// one. A step that needs an extend velocity or the datum that is not set fails
// with ConversionNotSupported naming it.
//
// Every write validates the whole new table before it changes anything, so a
// refused write leaves the function exactly as it was.
#ifndef KELWELLD_ENGINE_TIMEDEPTH_H
#define KELWELLD_ENGINE_TIMEDEPTH_H
#include "EngineError.h"
#include "Kinds.h"

#include <cstddef>
#include <vector>

namespace kelwelld::engine {

enum class VelocityKind { Interval = 0, Average = 1, Rms = 2 };

// What the values of a list of (time, value) pairs are: the velocity kinds,
// then depths below the function's datum, depths below MSL, instantaneous velocities.
enum class PairValueKind {
  Interval = 0, Average = 1, Rms = 2, Depth = 3, SubseaDepth = 4, Instantaneous = 5,
};

const char* kindName(VelocityKind kind);

class VelocityFunction {
 public:
  // No samples; datum and extend velocities not set.
  VelocityFunction() = default;

  std::size_t size() const { return twt_.size(); }
  const std::vector<double>& times() const { return twt_; }        // TWT from the datum (s)
  const std::vector<double>& depths() const { return depth_; }     // below the datum (m)
  // One p-wave anisotropy factor per sample: horizontal over vertical P-wave
  // velocity, 1 (isotropic) unless set.
  const std::vector<double>& anisotropy() const { return anisotropy_; }

  // Elevation of the function's datum (its seismic reference datum) above MSL (m).
  double datum() const { return datum_; }
  double extendShallow() const { return extendShallow_; }
  double extendDeep() const { return extendDeep_; }
  // kUnset clears; otherwise the value must be finite (velocities: > 0). InvalidValue.
  void setDatum(double elevation);
  void setExtendShallow(double velocity);
  void setExtendDeep(double velocity);

  // --- writes (InvalidDataPair / InvalidNumSamples / TimeNotFound / ConversionNotSupported)

  // Replaces the samples with (TWT, depth) pairs; factors reset to 1.
  void setTimeDepths(const std::vector<double>& twt, const std::vector<double>& depths);
  // Replaces the samples from the contract's five lists: times with depths, or,
  // when no depths are given, with the first non-empty list of interval,
  // average and RMS velocities. A velocity list given beside depths must have
  // their length; it is derived data and is not used.
  void setVelocityData(const std::vector<double>& times, const std::vector<double>& depths,
                       const std::vector<double>& interval, const std::vector<double>& average,
                       const std::vector<double>& rms);
  // Replaces every sample with pairs of any value kind; factors reset to 1.
  void setPairs(const std::vector<double>& times, const std::vector<double>& values, TimeKind timeKind,
                PairValueKind valueKind);
  // Like setPairs, but the number of pairs must equal the number of samples;
  // the factors are kept.
  void updatePairs(const std::vector<double>& times, const std::vector<double>& values,
                   TimeKind timeKind, PairValueKind valueKind);
  // Adds samples at new times. Values must place each sample on its own
  // (depths, subsea depths, average velocities). `factors` is empty (factors
  // of 1) or one anisotropy factor per pair.
  void insertPairs(const std::vector<double>& times, const std::vector<double>& values, TimeKind timeKind,
                   PairValueKind valueKind, const std::vector<double>& factors);
  // Removes the samples at these times (matched to float precision);
  // TimeNotFound names the first time that is no sample time.
  void deleteTimes(const std::vector<double>& times, TimeKind timeKind);
  // Sets the factors of the samples position, position + 1, ...
  void setAnisotropy(long position, const std::vector<double>& factors);

  // --- reads (ConversionNotSupported, also without samples)

  double depthAtTwt(double twt) const;
  double twtAtDepth(double depth) const;
  // Interval: of the layer holding the time (a sample time belongs to the layer
  // above it). Average: depth over one-way time from the datum. RMS: root mean
  // square of the interval velocities over the two-way time from the datum.
  double velocityAtTwt(double twt, VelocityKind kind) const;
  // The time kinds for values of `kind`. Only TWT below MSL needs the
  // function's time at MSL (its datum, and the shallow extend velocity when
  // MSL lies above the first sample).
  TimeKinds timeKinds(TimeKind kind) const;

 private:
  struct Table {
    std::vector<double> twt, depth, anisotropy;
  };
  // Builds a table from pairs of one value kind, in TWT (no validation).
  Table tableFromPairs(const std::vector<double>& twt, const std::vector<double>& values,
                       PairValueKind valueKind) const;
  std::vector<double> toTwt(const std::vector<double>& times, TimeKind timeKind) const;
  // Throws InvalidDataPair unless the table is a valid time-depth relation.
  static void validate(const Table& table);
  void adopt(Table table);  // takes a validated table, recomputes the integrals

  double requireShallow(const char* why) const;
  double requireDeep(const char* why) const;
  void requireSamples() const;
  double intervalAt(double twt) const;
  // Integral of the squared interval velocity from the first sample time to twt (signed).
  double squaredIntegral(double twt) const;

  std::vector<double> twt_, depth_, anisotropy_;
  std::vector<double> squaredSum_;  // squaredIntegral at each sample time
  double datum_ = kUnset;
  double extendShallow_ = kUnset;
  double extendDeep_ = kUnset;
};

// Lists through a function. Depths of any kind relate to the function's
// depths through TVDSS (the function's datum lies `datum()` above MSL).
std::vector<double> depthsToTimes(const VelocityFunction& function, const DepthKinds& kinds,
                                  const std::vector<double>& depths, DepthKind depthKind,
                                  TimeKind timeKind);
std::vector<double> timesToDepths(const VelocityFunction& function, const DepthKinds& kinds,
                                  const std::vector<double>& times, TimeKind timeKind,
                                  DepthKind depthKind);
std::vector<double> timesToVelocities(const VelocityFunction& function, const std::vector<double>& times,
                                      TimeKind timeKind, VelocityKind velocityKind);
// The samples' depths in a depth kind (for time-depth pairs).
std::vector<double> sampleDepths(const VelocityFunction& function, const DepthKinds& kinds,
                                 DepthKind depthKind);

} // namespace kelwelld::engine

#endif
