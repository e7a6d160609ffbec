#include "TimeDepth.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kelwelld::engine {

const char* kindName(VelocityKind kind) {
  switch (kind) {
    case VelocityKind::Interval: return "interval";
    case VelocityKind::Average: return "average";
    case VelocityKind::Rms: return "RMS";
  }
  return "?";
}

namespace {

[[noreturn]] void refusePair(const std::string& text) { throw EngineError(ErrorKind::InvalidDataPair, text); }

void requireSameLength(const std::vector<double>& times, const std::vector<double>& values) {
  if (times.size() != values.size())
    refusePair("The lists differ in length: " + std::to_string(times.size()) + " times but " +
               std::to_string(values.size()) + " values. ");
}

// A velocity kind's values turn into depths only with increasing times and positive velocities.
void requireVelocityPairs(const std::vector<double>& twt, const std::vector<double>& velocity) {
  for (std::size_t i = 0; i < twt.size(); ++i) {
    if (!std::isfinite(twt[i]) || twt[i] < 0.0 || (i > 0 && !(twt[i] > twt[i - 1])))
      refusePair("The times must be finite, not negative and strictly increasing; time " +
                 formatNumber(twt[i]) + " at position " + std::to_string(i) + " is not. ");
    if (!std::isfinite(velocity[i]) || !(velocity[i] > 0.0))
      refusePair("The velocities must be finite and positive; velocity " + formatNumber(velocity[i]) +
                 " at time " + formatNumber(twt[i]) + " is not. ");
  }
}

bool isVelocityKind(PairValueKind kind) {
  return kind == PairValueKind::Interval || kind == PairValueKind::Average || kind == PairValueKind::Rms ||
         kind == PairValueKind::Instantaneous;
}

// Two times are the same sample time when they agree to float precision (times
// travel as 32-bit floats).
bool sameTime(double a, double b) { return std::fabs(a - b) <= 1e-6 * std::max({std::fabs(a), std::fabs(b), 1e-3}); }

} // namespace

void VelocityFunction::setDatum(double elevation) {
  if (isSet(elevation) && !std::isfinite(elevation))
    throw EngineError(ErrorKind::InvalidValue, "The datum must be a finite elevation. ");
  datum_ = elevation;
}

void VelocityFunction::setExtendShallow(double velocity) {
  if (isSet(velocity) && !(std::isfinite(velocity) && velocity > 0.0))
    throw EngineError(ErrorKind::InvalidValue, "The shallow extend velocity must be finite and positive. ");
  extendShallow_ = velocity;
}

void VelocityFunction::setExtendDeep(double velocity) {
  if (isSet(velocity) && !(std::isfinite(velocity) && velocity > 0.0))
    throw EngineError(ErrorKind::InvalidValue, "The deep extend velocity must be finite and positive. ");
  extendDeep_ = velocity;
}

// ---------------------------------------------------------------- writes

void VelocityFunction::validate(const Table& table) {
  requireSameLength(table.twt, table.depth);
  for (std::size_t i = 0; i < table.twt.size(); ++i) {
    const double t = table.twt[i], d = table.depth[i];
    if (!std::isfinite(t) || t < 0.0)
      refusePair("The times must be finite and not negative; time " + formatNumber(t) + " at position " +
                 std::to_string(i) + " is not. ");
    if (!std::isfinite(d) || d < 0.0)
      refusePair("The depths must be finite and not negative; depth " + formatNumber(d) + " at time " +
                 formatNumber(t) + " is not. ");
    if (i > 0 && !(t > table.twt[i - 1]))
      refusePair("The times must increase strictly; time " + formatNumber(t) + " follows " +
                 formatNumber(table.twt[i - 1]) + ". ");
    if (i > 0 && !(d > table.depth[i - 1]))
      refusePair("The depths must increase with time; depth " + formatNumber(d) + " at time " +
                 formatNumber(t) + " follows depth " + formatNumber(table.depth[i - 1]) + ". ");
    if (t == 0.0 && d != 0.0)
      refusePair("A sample at time 0 is at the datum and must have depth 0, not " + formatNumber(d) + ". ");
    if (!(std::isfinite(table.anisotropy[i]) && table.anisotropy[i] > 0.0))
      refusePair("The anisotropy factors must be finite and positive. ");
  }
}

void VelocityFunction::adopt(Table table) {
  twt_ = std::move(table.twt);
  depth_ = std::move(table.depth);
  anisotropy_ = std::move(table.anisotropy);
  squaredSum_.assign(twt_.size(), 0.0);
  for (std::size_t i = 1; i < twt_.size(); ++i) {
    const double dt = twt_[i] - twt_[i - 1];
    const double v = 2.0 * (depth_[i] - depth_[i - 1]) / dt;
    squaredSum_[i] = squaredSum_[i - 1] + v * v * dt;
  }
}

std::vector<double> VelocityFunction::toTwt(const std::vector<double>& times, TimeKind timeKind) const {
  std::vector<double> twt(times.size());
  timeKinds(timeKind).toTwt(times.data(), twt.data(), times.size(), timeKind);
  return twt;
}

VelocityFunction::Table VelocityFunction::tableFromPairs(const std::vector<double>& twt,
                                                         const std::vector<double>& values,
                                                         PairValueKind valueKind) const {
  requireSameLength(twt, values);
  const std::size_t n = twt.size();
  Table table{twt, std::vector<double>(n), std::vector<double>(n, 1.0)};
  if (isVelocityKind(valueKind)) requireVelocityPairs(twt, values);
  // Velocity kinds start from the datum: the layer above the first sample
  // reaches up to time 0, depth 0.
  double previousT = 0.0, previousD = 0.0, previousV = n ? values[0] : 0.0, previousRms2T = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = twt[i], v = values[i], dt = t - previousT;
    double& d = table.depth[i];
    switch (valueKind) {
      case PairValueKind::Depth: d = v; break;
      case PairValueKind::SubseaDepth:
        if (!isSet(datum_))
          throw EngineError(ErrorKind::ConversionNotSupported,
                            "The velocity function's datum is not set; it is needed for depths below mean "
                            "sea level. ");
        d = v + datum_;
        break;
      case PairValueKind::Average: d = 0.5 * v * t; break;
      case PairValueKind::Interval: d = previousD + 0.5 * v * dt; break;
      case PairValueKind::Instantaneous: d = previousD + 0.25 * (previousV + v) * dt; break;
      case PairValueKind::Rms: {
        // Dix: the interval velocity between two RMS samples.
        const double interval2 = dt > 0.0 ? (v * v * t - previousRms2T) / dt : v * v;
        if (!(interval2 > 0.0))
          refusePair("The RMS velocities imply no real interval velocity between times " +
                     formatNumber(previousT) + " and " + formatNumber(t) + ". ");
        d = previousD + 0.5 * std::sqrt(interval2) * dt;
        previousRms2T = v * v * t;
        break;
      }
    }
    previousT = t;
    previousD = d;
    previousV = v;
  }
  return table;
}

namespace {

void refuseMslReplacement(double datum) {
  if (!(isSet(datum) && datum == 0.0))
    throw EngineError(ErrorKind::ConversionNotSupported,
                      "Samples in two-way time below mean sea level can replace the samples only when the "
                      "function's datum is at mean sea level; give them in TWT or OWT. ");
}

} // namespace

void VelocityFunction::setTimeDepths(const std::vector<double>& twt, const std::vector<double>& depths) {
  Table table = tableFromPairs(twt, depths, PairValueKind::Depth);
  validate(table);
  adopt(std::move(table));
}

void VelocityFunction::setVelocityData(const std::vector<double>& times, const std::vector<double>& depths,
                                       const std::vector<double>& interval,
                                       const std::vector<double>& average, const std::vector<double>& rms) {
  const std::pair<const std::vector<double>*, PairValueKind> velocities[] = {
      {&interval, PairValueKind::Interval}, {&average, PairValueKind::Average}, {&rms, PairValueKind::Rms}};
  if (!depths.empty() || times.empty()) {
    for (const auto& [list, kind] : velocities)
      if (!list->empty() && list->size() != times.size())
        refusePair("The " + std::string(kindName(static_cast<VelocityKind>(kind))) + " velocities number " +
                   std::to_string(list->size()) + " for " + std::to_string(times.size()) + " times. ");
    setTimeDepths(times, depths);
    return;
  }
  for (const auto& [list, kind] : velocities) {
    if (list->empty()) continue;
    Table table = tableFromPairs(times, *list, kind);
    validate(table);
    adopt(std::move(table));
    return;
  }
  refusePair("There are " + std::to_string(times.size()) + " times but neither depths nor velocities. ");
}

void VelocityFunction::setPairs(const std::vector<double>& times, const std::vector<double>& values,
                                TimeKind timeKind, PairValueKind valueKind) {
  if (timeKind == TimeKind::TWT_MSL) refuseMslReplacement(datum_);
  Table table = tableFromPairs(toTwt(times, timeKind == TimeKind::TWT_MSL ? TimeKind::TWT : timeKind), values,
                               valueKind);
  validate(table);
  adopt(std::move(table));
}

void VelocityFunction::updatePairs(const std::vector<double>& times, const std::vector<double>& values,
                                   TimeKind timeKind, PairValueKind valueKind) {
  if (times.size() != size())
    throw EngineError(ErrorKind::InvalidNumSamples,
                      "An update gives every sample anew: " + std::to_string(times.size()) +
                          " pairs were given for " + std::to_string(size()) + " samples. ");
  if (timeKind == TimeKind::TWT_MSL) refuseMslReplacement(datum_);
  Table table = tableFromPairs(toTwt(times, timeKind == TimeKind::TWT_MSL ? TimeKind::TWT : timeKind), values,
                               valueKind);
  table.anisotropy = anisotropy_;
  validate(table);
  adopt(std::move(table));
}

void VelocityFunction::insertPairs(const std::vector<double>& times, const std::vector<double>& values,
                                   TimeKind timeKind, PairValueKind valueKind,
                                   const std::vector<double>& factors) {
  if (valueKind != PairValueKind::Depth && valueKind != PairValueKind::SubseaDepth &&
      valueKind != PairValueKind::Average)
    refusePair("Inserted samples need depths, subsea depths or average velocities: other velocity kinds "
               "depend on the neighbouring samples. ");
  if (!factors.empty() && factors.size() != times.size())
    throw EngineError(ErrorKind::InvalidNumSamples,
                      std::to_string(factors.size()) + " anisotropy factors were given for " +
                          std::to_string(times.size()) + " inserted samples. ");
  Table added = tableFromPairs(toTwt(times, timeKind), values, valueKind);
  if (!factors.empty()) added.anisotropy = factors;

  std::vector<std::size_t> order(size() + added.twt.size());
  Table merged;
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  const auto timeOf = [&](std::size_t i) { return i < size() ? twt_[i] : added.twt[i - size()]; };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return timeOf(a) < timeOf(b); });
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::size_t k = order[i];
    if (i > 0 && sameTime(timeOf(order[i - 1]), timeOf(k)))
      refusePair("There is a sample at time " + formatNumber(timeOf(k)) + " already. ");
    merged.twt.push_back(timeOf(k));
    merged.depth.push_back(k < size() ? depth_[k] : added.depth[k - size()]);
    merged.anisotropy.push_back(k < size() ? anisotropy_[k] : added.anisotropy[k - size()]);
  }
  validate(merged);
  adopt(std::move(merged));
}

void VelocityFunction::deleteTimes(const std::vector<double>& times, TimeKind timeKind) {
  const std::vector<double> twt = toTwt(times, timeKind);
  std::vector<bool> remove(size(), false);
  for (std::size_t i = 0; i < twt.size(); ++i) {
    const auto it = std::lower_bound(twt_.begin(), twt_.end(), twt[i]);
    std::size_t k = static_cast<std::size_t>(it - twt_.begin());
    if (k > 0 && (k == size() || !sameTime(twt_[k], twt[i]))) --k;
    if (k >= size() || !sameTime(twt_[k], twt[i]))
      throw EngineError(ErrorKind::TimeNotFound,
                        "The time " + formatNumber(times[i]) + " is not a time of the function's samples. ");
    remove[k] = true;
  }
  Table kept;
  for (std::size_t k = 0; k < size(); ++k) {
    if (remove[k]) continue;
    kept.twt.push_back(twt_[k]);
    kept.depth.push_back(depth_[k]);
    kept.anisotropy.push_back(anisotropy_[k]);
  }
  adopt(std::move(kept));
}

void VelocityFunction::setAnisotropy(long position, const std::vector<double>& factors) {
  if (position < 0 || static_cast<std::size_t>(position) + factors.size() > size())
    throw EngineError(ErrorKind::InvalidNumSamples,
                      std::to_string(factors.size()) + " factors from position " + std::to_string(position) +
                          " do not fit the " + std::to_string(size()) + " samples. ");
  for (double factor : factors)
    if (!(std::isfinite(factor) && factor > 0.0))
      throw EngineError(ErrorKind::InvalidValue,
                        "The anisotropy factors must be finite and positive, not " + formatNumber(factor) + ". ");
  std::copy(factors.begin(), factors.end(), anisotropy_.begin() + position);
}

// ---------------------------------------------------------------- reads

void VelocityFunction::requireSamples() const {
  if (twt_.empty()) throw EngineError(ErrorKind::ConversionNotSupported, "The velocity function has no samples. ");
}

double VelocityFunction::requireShallow(const char* why) const {
  if (!isSet(extendShallow_))
    throw EngineError(ErrorKind::ConversionNotSupported,
                      std::string("The shallow extend velocity is not set; it is needed ") + why + ". ");
  return extendShallow_;
}

double VelocityFunction::requireDeep(const char* why) const {
  if (!isSet(extendDeep_))
    throw EngineError(ErrorKind::ConversionNotSupported,
                      std::string("The deep extend velocity is not set; it is needed ") + why + ". ");
  return extendDeep_;
}

double VelocityFunction::depthAtTwt(double twt) const {
  requireSamples();
  const std::size_t last = size() - 1;
  if (twt < twt_[0]) return depth_[0] + 0.5 * requireShallow("above the first sample") * (twt - twt_[0]);
  if (twt > twt_[last]) return depth_[last] + 0.5 * requireDeep("below the last sample") * (twt - twt_[last]);
  const std::size_t k = static_cast<std::size_t>(std::lower_bound(twt_.begin(), twt_.end(), twt) - twt_.begin());
  if (twt_[k] == twt) return depth_[k];
  const double f = (twt - twt_[k - 1]) / (twt_[k] - twt_[k - 1]);
  return depth_[k - 1] + f * (depth_[k] - depth_[k - 1]);
}

double VelocityFunction::twtAtDepth(double depth) const {
  requireSamples();
  const std::size_t last = size() - 1;
  if (depth < depth_[0]) return twt_[0] + 2.0 * (depth - depth_[0]) / requireShallow("above the first sample");
  if (depth > depth_[last])
    return twt_[last] + 2.0 * (depth - depth_[last]) / requireDeep("below the last sample");
  const std::size_t k =
      static_cast<std::size_t>(std::lower_bound(depth_.begin(), depth_.end(), depth) - depth_.begin());
  if (depth_[k] == depth) return twt_[k];
  const double f = (depth - depth_[k - 1]) / (depth_[k] - depth_[k - 1]);
  return twt_[k - 1] + f * (twt_[k] - twt_[k - 1]);
}

double VelocityFunction::intervalAt(double twt) const {
  const std::size_t last = size() - 1;
  if (twt <= twt_[0]) return requireShallow("for the layer above the first sample");
  if (twt > twt_[last]) return requireDeep("for the layer below the last sample");
  const std::size_t k = static_cast<std::size_t>(std::lower_bound(twt_.begin(), twt_.end(), twt) - twt_.begin());
  return 2.0 * (depth_[k] - depth_[k - 1]) / (twt_[k] - twt_[k - 1]);
}

double VelocityFunction::squaredIntegral(double twt) const {
  const std::size_t last = size() - 1;
  if (twt < twt_[0]) {
    const double v = requireShallow("above the first sample");
    return (twt - twt_[0]) * v * v;
  }
  if (twt > twt_[last]) {
    const double v = requireDeep("below the last sample");
    return squaredSum_[last] + (twt - twt_[last]) * v * v;
  }
  const std::size_t k = static_cast<std::size_t>(std::lower_bound(twt_.begin(), twt_.end(), twt) - twt_.begin());
  if (k == 0) return 0.0;
  const double v = intervalAt(twt);
  return squaredSum_[k - 1] + (twt - twt_[k - 1]) * v * v;
}

double VelocityFunction::velocityAtTwt(double twt, VelocityKind kind) const {
  requireSamples();
  if (kind == VelocityKind::Interval) return intervalAt(twt);
  if (twt == 0.0) {
    // Average and RMS velocity at the datum: their limit, the velocity just below it.
    const double depthAtDatum = depthAtTwt(0.0);
    if (std::fabs(depthAtDatum) > 1e-9 * (1.0 + std::fabs(depth_[0])))
      throw EngineError(ErrorKind::ConversionNotSupported,
                        "The " + std::string(kindName(kind)) + " velocity at time 0 is not defined: the function "
                        "puts the datum at depth " + formatNumber(depthAtDatum) + ". ");
    const double inLayerBelowDatum = twt_[0] > 0.0 ? twt_[0] : (size() > 1 ? twt_[1] : 1.0);
    return intervalAt(inLayerBelowDatum);
  }
  if (kind == VelocityKind::Average) return 2.0 * depthAtTwt(twt) / twt;
  return std::sqrt((squaredIntegral(twt) - squaredIntegral(0.0)) / twt);
}

TimeKinds VelocityFunction::timeKinds(TimeKind kind) const {
  // Mean sea level lies `datum` metres below the function's datum.
  return TimeKinds(kind == TimeKind::TWT_MSL && isSet(datum_) ? twtAtDepth(datum_) : kUnset);
}

// ---------------------------------------------------------------- lists

namespace {

double requireDatum(const VelocityFunction& function) {
  if (!isSet(function.datum()))
    throw EngineError(ErrorKind::ConversionNotSupported,
                      "The velocity function's datum is not set; it is needed to relate its depths to the "
                      "wellbore's. ");
  return function.datum();
}

} // namespace

std::vector<double> depthsToTimes(const VelocityFunction& function, const DepthKinds& kinds,
                                  const std::vector<double>& depths, DepthKind depthKind, TimeKind timeKind) {
  const double datum = requireDatum(function);
  const TimeKinds times = function.timeKinds(timeKind);
  std::vector<double> out(depths.size());
  kinds.convert(depths.data(), out.data(), depths.size(), depthKind, DepthKind::TVDSS);
  for (double& value : out) value = times.fromTwt(function.twtAtDepth(value + datum), timeKind);
  return out;
}

std::vector<double> timesToDepths(const VelocityFunction& function, const DepthKinds& kinds,
                                  const std::vector<double>& times, TimeKind timeKind, DepthKind depthKind) {
  const double datum = requireDatum(function);
  std::vector<double> out(times.size());
  function.timeKinds(timeKind).toTwt(times.data(), out.data(), times.size(), timeKind);
  for (double& value : out) value = function.depthAtTwt(value) - datum;
  kinds.convert(out.data(), out.data(), out.size(), DepthKind::TVDSS, depthKind);
  return out;
}

std::vector<double> timesToVelocities(const VelocityFunction& function, const std::vector<double>& times,
                                      TimeKind timeKind, VelocityKind velocityKind) {
  std::vector<double> out(times.size());
  function.timeKinds(timeKind).toTwt(times.data(), out.data(), times.size(), timeKind);
  for (double& value : out) value = function.velocityAtTwt(value, velocityKind);
  return out;
}

std::vector<double> sampleDepths(const VelocityFunction& function, const DepthKinds& kinds,
                                 DepthKind depthKind) {
  const double datum = requireDatum(function);
  std::vector<double> out(function.depths());
  for (double& value : out) value -= datum;
  kinds.convert(out.data(), out.data(), out.size(), DepthKind::TVDSS, depthKind);
  return out;
}

} // namespace kelwelld::engine
