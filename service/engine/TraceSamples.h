// The log trace engine: a trace's samples and every read the remote trace
// offers over them (whole, decimated, by index range, by trace-value range,
// extremes, index information), the validation of writes, and the conversion
// of an index between index kinds. docs/service.md ("Log trace samples") is
// the contract these implement.
//
// A trace holds index values (doubles, strictly increasing, in the trace's
// native index kind, SI: metres or seconds) and, for each index value,
// `elements` trace values (floats, index-major: the values of index value i
// are values[i * elements] .. values[i * elements + elements - 1]). A value
// equal to the trace's null value is missing. No value is non-finite, and
// neither is the null value.
//
// How the servant uses it:
//   - writes: build the index (in the native kind, see convertIndex) and the
//     index-major values (interleaveElement from the remote inner arrays,
//     after elementsOfWrite has checked their shape), then replace() or
//     append(). Both validate everything before changing anything. When the
//     store keeps the samples in chunks, validateSamples() and
//     validateAppend() check a write against the stored last index value alone.
//   - reads: load the samples (or the stored range), convert the index into
//     the kind asked for with convertIndex() when it is not the native one,
//     and pass that index to the read; deliver the result's values grouped by
//     gatherElement() into one inner array per element.
//   - ErrorKind to remote exception: NonMonotonic -> NonMonotonicIndexException;
//     InvalidNumSamples and InvalidValue -> InvalidNumSamplesException;
//     InvalidIndex -> InvalidIndexException; ConversionNotSupported and
//     InsufficientData (an MD outside the path) -> ImpossibleConversionException.
#ifndef KELWELLD_ENGINE_TRACESAMPLES_H
#define KELWELLD_ENGINE_TRACESAMPLES_H
#include "EngineError.h"
#include "Kinds.h"
#include "TimeDepth.h"

#include <cstddef>
#include <vector>

namespace kelwelld::engine {

// What a trace's index measures; numbered as the remote IndexKind.
enum class IndexKind { MD = 0, TVD = 1, TVDSS = 2, TWT = 3, OWT = 4 };

const char* kindName(IndexKind kind);
inline bool isTimeKind(IndexKind kind) { return kind == IndexKind::TWT || kind == IndexKind::OWT; }

// What a read delivers: index values in the kind of the read and, for each,
// the trace's `elements` values, index-major.
struct TraceSelection {
  std::vector<double> index;
  std::vector<float> values;
};

// The smallest and largest non-null trace value, and the index values at
// which they occur (each index value once, in trace order, even when several
// of its elements hold the extreme). `found` is false when the trace holds no
// non-null value: then both extremes are the null value and both lists empty.
struct TraceExtremes {
  bool found = false;
  float minimum = 0.0f, maximum = 0.0f;
  std::vector<double> minimumAt, maximumAt;
};

// The index as the remote getIndexInfo (increment, minimum, maximum, regular),
// getTopIndex (first) and getBottomIndex (last) give it.
struct IndexInfo {
  double first = 0.0, last = 0.0;        // the top and bottom index values (trace order)
  double minimum = 0.0, maximum = 0.0;   // equal to first and last for an increasing index
  double increment = 0.0;                // (last - first) / (count - 1); 0 for one value
  bool regular = true;                   // every step equals the increment, within kRegularTolerance
};

// Index steps count as equal when they differ by at most this share of the
// largest index magnitude (float rounding of the index values: a float holds
// about 2^-24 of a value, a step of two rounded values twice that; 2^-22
// leaves a factor 2) plus 1e-6 of the step itself.
constexpr double kRegularTolerance = 1.0 / (1 << 22);
constexpr double kRegularStepShare = 1e-6;

class TraceSamples {
 public:
  // No samples. InvalidValue unless elements >= 1 and the null value is finite.
  TraceSamples(long elements, float nullValue);

  std::size_t elements() const { return elements_; }
  float nullValue() const { return nullValue_; }
  // Only the attribute changes: stored values equal to the old null value
  // become ordinary values again (and the change is undone by setting it back).
  // InvalidValue for a non-finite value.
  void setNullValue(float nullValue);

  std::size_t size() const { return index_.size(); }  // index values
  bool empty() const { return index_.empty(); }
  const std::vector<double>& index() const { return index_; }
  const std::vector<float>& values() const { return values_; }
  bool isNull(float value) const { return value == nullValue_; }

  // --- writes: validated whole first, so a refused write changes nothing.

  // Replaces every sample (an empty write leaves the trace without samples).
  void replace(std::vector<double> index, std::vector<float> values);
  // Adds samples after the last one: the first new index value must lie
  // beyond the stored last one.
  void append(const std::vector<double>& index, const std::vector<float>& values);
  void clear();

  // --- reads. `index` is index() itself or its conversion into the kind of
  // the read (convertIndex), one value per index value (InvalidNumSamples
  // otherwise). A converted index need not increase (TVD along a hole that
  // turns upwards), so the reads never assume it does; on index() itself the
  // index range costs in proportion to the range.

  // A copy of every sample; a read of the whole trace in the native kind can
  // deliver index() and values() directly and spare it.
  TraceSelection whole(const std::vector<double>& index) const;
  // Every step-th index value starting with the first; 0 and 1 give every one.
  TraceSelection decimated(const std::vector<double>& index, unsigned long step) const;
  // Index values v with from <= v <= to, in trace order. A range beyond the
  // trace gives no samples; InvalidIndex for from > to or a bound that is not a number.
  TraceSelection byIndexRange(const std::vector<double>& index, double from, double to) const;
  // Index values at which any non-null element lies within [from, to], with
  // all their elements (nulls included); bounds as byIndexRange.
  TraceSelection byValueRange(const std::vector<double>& index, double from, double to) const;
  TraceExtremes extremes(const std::vector<double>& index) const;
  // InvalidIndex for a trace without samples (it has no index to describe).
  IndexInfo indexInfo(const std::vector<double>& index) const;

 private:
  void requireIndexOfTrace(const std::vector<double>& index) const;
  // The selection of the index values i with keep(i) true.
  template <typename Keep>
  TraceSelection select(const std::vector<double>& index, Keep keep) const;

  std::size_t elements_;
  float nullValue_;
  std::vector<double> index_;
  std::vector<float> values_;
};

// Validation of a write of `index` with `values` for a trace of `elements`
// values per index value: InvalidNumSamples unless values.size() = index.size()
// x elements; InvalidValue for a non-finite index or trace value; NonMonotonic
// for an index value not beyond the one before it, or (validateAppend) not
// beyond the stored last one (storedLast kUnset: the trace has no samples).
// Texts name the first offending position and value.
void validateSamples(const std::vector<double>& index, const std::vector<float>& values,
                     std::size_t elements);
void validateAppend(double storedLast, const std::vector<double>& index, const std::vector<float>& values,
                    std::size_t elements);
// The same checks over the buffers a write arrives in (index values as
// floats, values index-major), without copying them; storedLast kUnset for
// a write that does not append.
void validateWrite(double storedLast, const float* index, std::size_t count, const float* values,
                   std::size_t valueCount, std::size_t elements);

// The bounds of a range selection: InvalidIndex for from > to or a bound
// that is not a number (what: "index" or "trace value", for the text).
void validateRange(double from, double to, const char* what);

// The grouping of trace values in the remote TraceData: one inner array per
// element, each with one value per index value (a single-element trace sends
// one inner array parallel to the index). elementsOfWrite checks the shape of
// a write's inner arrays (their lengths) and returns the number of elements;
// `elements` is the trace's (0 when creating: taken from the number of arrays;
// no arrays and no index values make a single-element trace). InvalidNumSamples
// for another number of arrays or an array whose length is not the index count.
std::size_t elementsOfWrite(std::size_t indexCount, const std::vector<std::size_t>& innerLengths,
                            std::size_t elements);
// Between index-major values (elements per index value, `count` index values)
// and one element's inner array.
void gatherElement(const float* values, std::size_t count, std::size_t elements, std::size_t element,
                   float* column);
void interleaveElement(const float* column, std::size_t count, std::size_t elements, std::size_t element,
                       float* values);

// Converts index values between index kinds of one wellbore. Depths relate
// through `depths` (its path and vertical references); times need the
// wellbore's velocity function, passed as `velocity` (nullptr: the wellbore
// has none), except between TWT and OWT. ConversionNotSupported names what is
// missing; InsufficientData for a measured depth outside the path. The same
// kind gives a copy: reads in the native kind pass index() itself instead.
std::vector<double> convertIndex(const std::vector<double>& index, IndexKind from, IndexKind to,
                                 const DepthKinds& depths, const VelocityFunction* velocity);

} // namespace kelwelld::engine

#endif
