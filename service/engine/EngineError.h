// The one failure type of the service's numeric engines (kinds, time-depth,
// path geometry, log trace samples). Engines are pure numerics: they never
// throw anything else on purpose, and a failure leaves every value they were
// asked to change as it was.
#ifndef KELWELLD_ENGINE_ENGINEERROR_H
#define KELWELLD_ENGINE_ENGINEERROR_H
#include <stdexcept>
#include <string>

namespace kelwelld::engine {

// What went wrong. The servant layer maps each kind to the remote exception
// the operation at hand declares; the usual one is noted.
enum class ErrorKind {
  // A measured or vertical depth outside the path (EpTypes::InsufficientDataException).
  InsufficientData,
  // A step needs a value that is not set, or a function has no samples
  // (WellVelocity::ConversionNotSupportedException).
  ConversionNotSupported,
  // Velocity samples that make no time-depth relation (WellVelocity::InvalidDataPairException).
  InvalidDataPair,
  // A list of the wrong length or a position outside the samples (the
  // operation's InvalidNumSamplesException).
  InvalidNumSamples,
  // A time to delete is not a sample time (WellVelocity::TimeNotFoundException).
  TimeNotFound,
  // Path measured depths not strictly increasing (WellBore::InvalidNumSamplesException).
  NonMonotonic,
  // A non-finite or out-of-range number: path data (WellBore::InvalidNumSamplesException),
  // trace samples (WellLogTrace::InvalidNumSamplesException), attributes
  // (EpEntity::ValidationException).
  InvalidValue,
  // A trace read that names no index: a reversed or non-numeric range, or
  // index information of a trace without samples (WellLogTrace::InvalidIndexException).
  InvalidIndex,
};

class EngineError : public std::runtime_error {
 public:
  EngineError(ErrorKind kind, const std::string& text) : std::runtime_error(text), kind_(kind) {}
  ErrorKind kind() const noexcept { return kind_; }

 private:
  ErrorKind kind_;
};

// Numbers in failure texts: shortest form that reads back the same double.
std::string formatNumber(double value);

} // namespace kelwelld::engine

#endif
