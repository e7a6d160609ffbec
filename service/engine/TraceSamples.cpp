#include "TraceSamples.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kelwelld::engine {

const char* kindName(IndexKind kind) {
  switch (kind) {
    case IndexKind::MD: return "MD";
    case IndexKind::TVD: return "TVD";
    case IndexKind::TVDSS: return "TVDSS";
    case IndexKind::TWT: return "TWT";
    case IndexKind::OWT: return "OWT";
  }
  return "?";
}

namespace {

std::string count(std::size_t n) { return std::to_string(n); }

void requireFiniteNull(float nullValue) {
  if (!std::isfinite(nullValue))
    throw EngineError(ErrorKind::InvalidValue,
                      "The null value must be a finite number; missing samples are marked by it. ");
}

void requireRange(double from, double to, const char* what) {
  if (std::isnan(from) || std::isnan(to))
    throw EngineError(ErrorKind::InvalidIndex, std::string("The ") + what + " range is not a number. ");
  if (from > to)
    throw EngineError(ErrorKind::InvalidIndex, std::string("The ") + what + " range is reversed: from " +
                                                   formatNumber(from) + " is greater than to " +
                                                   formatNumber(to) + ". ");
}

DepthKind depthKindOf(IndexKind kind) {
  switch (kind) {
    case IndexKind::TVD: return DepthKind::TVD;
    case IndexKind::TVDSS: return DepthKind::TVDSS;
    default: return DepthKind::MD;
  }
}

TimeKind timeKindOf(IndexKind kind) { return kind == IndexKind::OWT ? TimeKind::OWT : TimeKind::TWT; }

} // namespace

// ------------------------------------------------------------------ validation

namespace {

// One check for every form a write arrives in: index values as doubles (the
// engine's own) or as floats (the remote trace data, checked where it lies).
template <typename Index>
void validateBuffers(double storedLast, const Index* index, std::size_t count, const float* values,
                     std::size_t valueCount, std::size_t elements) {
  if (valueCount != count * elements)
    throw EngineError(ErrorKind::InvalidNumSamples,
                      "The trace has " + std::to_string(elements) + " value(s) per index value, so " +
                          std::to_string(count) + " index values take " + std::to_string(count * elements) +
                          " trace values, not " + std::to_string(valueCount) + ". ");
  for (std::size_t i = 0; i < count; ++i)
    if (!std::isfinite(index[i]))
      throw EngineError(ErrorKind::InvalidValue, "The index value at position " + std::to_string(i) +
                                                     " (counting from 0) is not a finite number. ");
  for (std::size_t i = 0; i < valueCount; ++i)
    if (!std::isfinite(values[i]))
      throw EngineError(ErrorKind::InvalidValue,
                        "The trace value at position " + std::to_string(i) + " (index value " +
                            std::to_string(i / elements) + ", element " + std::to_string(i % elements) +
                            ", counting from 0) is not a finite number; missing values take the null value. ");
  for (std::size_t i = 1; i < count; ++i)
    if (!(index[i] > index[i - 1]))
      throw EngineError(ErrorKind::NonMonotonic,
                        "The index values must increase strictly: " + formatNumber(index[i]) + " at position " +
                            std::to_string(i) + " follows " + formatNumber(index[i - 1]) + ". ");
  if (count > 0 && isSet(storedLast) && !(index[0] > storedLast))
    throw EngineError(ErrorKind::NonMonotonic,
                      "Appended index values must lie beyond the trace's last index value, " +
                          formatNumber(storedLast) + "; the first is " + formatNumber(index[0]) + ". ");
}

} // namespace

void validateSamples(const std::vector<double>& index, const std::vector<float>& values,
                     std::size_t elements) {
  validateBuffers(kUnset, index.data(), index.size(), values.data(), values.size(), elements);
}

void validateAppend(double storedLast, const std::vector<double>& index, const std::vector<float>& values,
                    std::size_t elements) {
  validateBuffers(storedLast, index.data(), index.size(), values.data(), values.size(), elements);
}

void validateWrite(double storedLast, const float* index, std::size_t count, const float* values,
                   std::size_t valueCount, std::size_t elements) {
  validateBuffers(storedLast, index, count, values, valueCount, elements);
}

void validateRange(double from, double to, const char* what) { requireRange(from, to, what); }

std::size_t elementsOfWrite(std::size_t indexCount, const std::vector<std::size_t>& innerLengths,
                            std::size_t elements) {
  // A write without samples may come without inner arrays whatever the trace's shape.
  if (indexCount == 0 && innerLengths.empty()) return elements == 0 ? 1 : elements;
  const std::size_t arrays = innerLengths.size();
  if (arrays == 0)
    throw EngineError(ErrorKind::InvalidNumSamples,
                      count(indexCount) + " index values came without trace values. ");
  if (elements != 0 && arrays != elements)
    throw EngineError(ErrorKind::InvalidNumSamples,
                      "The trace has " + count(elements) + " value(s) per index value, sent as " +
                          count(elements) + " inner array(s), one per element; the write has " + count(arrays) +
                          ". ");
  for (std::size_t e = 0; e < arrays; ++e)
    if (innerLengths[e] != indexCount)
      throw EngineError(ErrorKind::InvalidNumSamples,
                        "Inner array " + count(e) + " holds " + count(innerLengths[e]) +
                            " trace values; each inner array holds one per index value, " + count(indexCount) +
                            ". ");
  return arrays;
}

void gatherElement(const float* values, std::size_t count, std::size_t elements, std::size_t element,
                   float* column) {
  for (std::size_t i = 0; i < count; ++i) column[i] = values[i * elements + element];
}

void interleaveElement(const float* column, std::size_t count, std::size_t elements, std::size_t element,
                       float* values) {
  for (std::size_t i = 0; i < count; ++i) values[i * elements + element] = column[i];
}

// ------------------------------------------------------------------ the samples

TraceSamples::TraceSamples(long elements, float nullValue)
    : elements_(elements > 0 ? static_cast<std::size_t>(elements) : 0), nullValue_(nullValue) {
  if (elements < 1)
    throw EngineError(ErrorKind::InvalidValue, "A trace holds at least one value per index value, not " +
                                                   std::to_string(elements) + ". ");
  requireFiniteNull(nullValue);
}

void TraceSamples::setNullValue(float nullValue) {
  requireFiniteNull(nullValue);
  nullValue_ = nullValue;
}

void TraceSamples::replace(std::vector<double> index, std::vector<float> values) {
  validateSamples(index, values, elements_);
  index_ = std::move(index);
  values_ = std::move(values);
}

void TraceSamples::append(const std::vector<double>& index, const std::vector<float>& values) {
  validateAppend(empty() ? kUnset : index_.back(), index, values, elements_);
  // Reserve both first: a failed allocation then leaves the samples as they were.
  index_.reserve(index_.size() + index.size());
  values_.reserve(values_.size() + values.size());
  index_.insert(index_.end(), index.begin(), index.end());
  values_.insert(values_.end(), values.begin(), values.end());
}

void TraceSamples::clear() {
  index_.clear();
  values_.clear();
}

void TraceSamples::requireIndexOfTrace(const std::vector<double>& index) const {
  if (index.size() != index_.size())
    throw EngineError(ErrorKind::InvalidNumSamples,
                      "The index of a read holds " + count(index.size()) + " values; the trace has " +
                          count(index_.size()) + " index values. ");
}

template <typename Keep>
TraceSelection TraceSamples::select(const std::vector<double>& index, Keep keep) const {
  // Counting first sizes the result exactly: no regrowth, no slack kept.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < index.size(); ++i) kept += keep(i) ? 1 : 0;
  TraceSelection out;
  out.index.resize(kept);
  out.values.resize(kept * elements_);
  double* toIndex = out.index.data();
  float* toValues = out.values.data();
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (!keep(i)) continue;
    *toIndex++ = index[i];
    toValues = std::copy_n(values_.data() + i * elements_, elements_, toValues);
  }
  return out;
}

TraceSelection TraceSamples::whole(const std::vector<double>& index) const {
  requireIndexOfTrace(index);
  return {index, values_};
}

TraceSelection TraceSamples::decimated(const std::vector<double>& index, unsigned long step) const {
  requireIndexOfTrace(index);
  if (step <= 1) return whole(index);
  TraceSelection out;
  const std::size_t kept = (index.size() + step - 1) / step;
  out.index.reserve(kept);
  out.values.reserve(kept * elements_);
  for (std::size_t i = 0; i < index.size(); i += step) {
    out.index.push_back(index[i]);
    const float* first = values_.data() + i * elements_;
    out.values.insert(out.values.end(), first, first + elements_);
  }
  return out;
}

TraceSelection TraceSamples::byIndexRange(const std::vector<double>& index, double from, double to) const {
  requireIndexOfTrace(index);
  requireRange(from, to, "index");
  if (&index == &index_) {
    // The stored index increases strictly: the range is one run found by bisection.
    const auto lo = std::lower_bound(index_.begin(), index_.end(), from);
    const auto hi = std::upper_bound(lo, index_.end(), to);
    const auto e = static_cast<std::ptrdiff_t>(elements_);
    return {std::vector<double>(lo, hi),
            std::vector<float>(values_.begin() + (lo - index_.begin()) * e,
                               values_.begin() + (hi - index_.begin()) * e)};
  }
  return select(index, [&](std::size_t i) { return index[i] >= from && index[i] <= to; });
}

TraceSelection TraceSamples::byValueRange(const std::vector<double>& index, double from, double to) const {
  requireIndexOfTrace(index);
  requireRange(from, to, "trace value");
  return select(index, [&](std::size_t i) {
    const float* v = values_.data() + i * elements_;
    for (std::size_t e = 0; e < elements_; ++e)
      if (!isNull(v[e]) && v[e] >= from && v[e] <= to) return true;
    return false;
  });
}

TraceExtremes TraceSamples::extremes(const std::vector<double>& index) const {
  requireIndexOfTrace(index);
  TraceExtremes out;
  out.minimum = out.maximum = nullValue_;
  // First pass: the extremes; second: where they occur.
  for (float v : values_) {
    if (isNull(v)) continue;
    if (!out.found) {
      out.minimum = out.maximum = v;
      out.found = true;
    } else {
      out.minimum = std::min(out.minimum, v);
      out.maximum = std::max(out.maximum, v);
    }
  }
  if (!out.found) return out;
  for (std::size_t i = 0; i < index.size(); ++i) {
    const float* v = values_.data() + i * elements_;
    bool atMinimum = false, atMaximum = false;
    for (std::size_t e = 0; e < elements_; ++e) {
      atMinimum = atMinimum || v[e] == out.minimum;
      atMaximum = atMaximum || v[e] == out.maximum;
    }
    if (atMinimum) out.minimumAt.push_back(index[i]);
    if (atMaximum) out.maximumAt.push_back(index[i]);
  }
  return out;
}

IndexInfo TraceSamples::indexInfo(const std::vector<double>& index) const {
  requireIndexOfTrace(index);
  if (index.empty())
    throw EngineError(ErrorKind::InvalidIndex, "The trace has no samples, so it has no index to describe. ");
  IndexInfo info;
  info.first = index.front();
  info.last = index.back();
  const auto [lo, hi] = std::minmax_element(index.begin(), index.end());
  info.minimum = *lo;
  info.maximum = *hi;
  if (index.size() < 2) return info;
  info.increment = (info.last - info.first) / static_cast<double>(index.size() - 1);
  const double tolerance = kRegularTolerance * std::max(std::fabs(info.minimum), std::fabs(info.maximum)) +
                           kRegularStepShare * std::fabs(info.increment);
  for (std::size_t i = 1; i < index.size() && info.regular; ++i)
    info.regular = std::fabs(index[i] - index[i - 1] - info.increment) <= tolerance;
  return info;
}

// ------------------------------------------------------------------ index kinds

std::vector<double> convertIndex(const std::vector<double>& index, IndexKind from, IndexKind to,
                                 const DepthKinds& depths, const VelocityFunction* velocity) {
  if (from == to) return index;
  if (!isTimeKind(from) && !isTimeKind(to)) {
    std::vector<double> out(index.size());
    depths.convert(index.data(), out.data(), index.size(), depthKindOf(from), depthKindOf(to));
    return out;
  }
  if (isTimeKind(from) && isTimeKind(to)) {
    // TWT and OWT both count from the function's datum: no function needed.
    const TimeKinds times(kUnset);
    std::vector<double> out(index.size());
    times.toTwt(index.data(), out.data(), index.size(), timeKindOf(from));
    for (double& value : out) value = times.fromTwt(value, timeKindOf(to));
    return out;
  }
  if (velocity == nullptr)
    throw EngineError(ErrorKind::ConversionNotSupported,
                      std::string("The wellbore has no velocity function; a velocity function is needed to "
                                  "relate the trace's index in ") +
                          kindName(from) + " to " + kindName(to) + ". ");
  if (isTimeKind(to)) return depthsToTimes(*velocity, depths, index, depthKindOf(from), timeKindOf(to));
  return timesToDepths(*velocity, depths, index, timeKindOf(from), depthKindOf(to));
}

} // namespace kelwelld::engine
