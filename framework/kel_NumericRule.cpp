#include "kel_NumericRule.h"

#include <algorithm>
#include <type_traits>

namespace kel_numeric {

namespace {

float fromUbyte(CORBA::Char cell) { return static_cast<float>(static_cast<signed char>(cell)); }

template <class Sequence, class Convert>
void fill(const Sequence& sequence, kel_Array<float>& result, Convert convert) {
  const auto* values = sequence.get_buffer();
  result.fill(sequence.length(), [&](float* out, unsigned n) { std::transform(values, values + n, out, convert); });
}

} // namespace

bool toFloat(const EpTypes::DataValue& value, float& result) {
  switch (value._d()) {
    case EpTypes::BYTE_DATA:
      result = static_cast<float>(value.byteValue());
      return true;
    case EpTypes::SHORT_DATA:
      result = static_cast<float>(value.shortValue());
      return true;
    case EpTypes::LONG_DATA:
      result = static_cast<float>(value.longValue());
      return true;
    case EpTypes::FLOAT_DATA:
      result = value.floatValue();
      return true;
    case EpTypes::DOUBLE_DATA:
      result = static_cast<float>(value.doubleValue());
      return true;
    case EpTypes::UBYTE_DATA:
      result = fromUbyte(value.ubyteValue());
      return true;
    default:
      return false;
  }
}

bool toFloats(const EpTypes::DataSequence& sequence, kel_Array<float>& result) {
  auto cast = [](auto v) { return static_cast<float>(v); };
  switch (sequence._d()) {
    case EpTypes::BYTE_DATA:
      fill(sequence.byteValues(), result, cast);
      return true;
    case EpTypes::SHORT_DATA:
      fill(sequence.shortValues(), result, cast);
      return true;
    case EpTypes::LONG_DATA:
      fill(sequence.longValues(), result, cast);
      return true;
    case EpTypes::FLOAT_DATA:
      fill(sequence.floatValues(), result, cast);
      return true;
    case EpTypes::DOUBLE_DATA:
      fill(sequence.doubleValues(), result, cast);
      return true;
    case EpTypes::UBYTE_DATA:
      fill(sequence.ubyteValues(), result, fromUbyte);
      return true;
    default:
      return false;
  }
}

bool takeFloats(EpTypes::DataSequence& sequence, kel_Array<float>& result) {
  static_assert(std::is_same<CORBA::Float, float>::value, "a float sequence's buffer is a float array");
  if (sequence._d() != EpTypes::FLOAT_DATA) return toFloats(sequence, result);
  EpTypes::FloatSeq& floats = sequence.floatValues();
  const CORBA::ULong n = floats.length();
  if (n == 0 || !floats.release()) return toFloats(sequence, result);
  // The ORB allocated the buffer with new CORBA::Float[], as kel_Array frees it.
  float* buffer = floats.get_buffer(true);
  try {
    result.adopt(buffer, n);
  } catch (...) {
    EpTypes::FloatSeq::freebuf(buffer);
    throw;
  }
  return true;
}

void putFloats(const kel_Array<float>& values, EpTypes::DataSequence& sequence) {
  // Filled where it lies in the union: setting a filled sequence would copy it.
  sequence.floatValues(EpTypes::FloatSeq());
  EpTypes::FloatSeq& floats = sequence.floatValues();
  values.read([&floats](const float* in, unsigned n) {
    floats.length(n);
    std::copy(in, in + n, floats.get_buffer());
  });
}

} // namespace kel_numeric
