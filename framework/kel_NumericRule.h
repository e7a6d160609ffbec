// How the service's numbers become floats, and floats become the service's
// numbers.
//
// From the service, by the type the discriminator names: 0 unsigned 8-bit
// (0 to 255), 1 and 2 signed integers, 3 unchanged, 4 rounded from double,
// 5 signed 8-bit (-128 to 127). Anything else is an unsupported data type,
// answered false so that each converter throws its own failure. Toward the
// service, always the float branch.
//
// Sequences move in bulk: one pass over the values, straight between the
// sequence's buffer and the array's body (kel_Array::fill and read).
#ifndef KEL_NUMERICRULE_H
#define KEL_NUMERICRULE_H

#include <EpTypes.hh>

#include "kel_Array.h"

namespace kel_numeric {

bool toFloat(const EpTypes::DataValue& value, float& result);
// Replaces result with the sequence's values, in order.
bool toFloats(const EpTypes::DataSequence& sequence, kel_Array<float>& result);
// The same, except that a float sequence owning its buffer hands the buffer
// over to result (the sequence is left empty): no copy at all.
bool takeFloats(EpTypes::DataSequence& sequence, kel_Array<float>& result);

// Makes sequence the float branch holding the values, in order.
void putFloats(const kel_Array<float>& values, EpTypes::DataSequence& sequence);

} // namespace kel_numeric

#endif
