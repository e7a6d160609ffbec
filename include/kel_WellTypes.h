// kel_WellTypes: values shared by several well classes: depths and times,
// each with the kind of depth or time they measure.
#ifndef KEL_WELLTYPES_H
#define KEL_WELLTYPES_H

#include "kel_FloatQuantity.h"

namespace kel_WellTypes {

// Kinds of depth; the service says what each value means.
enum DepthType : int { DEPTH_TYPE_0 = 0, DEPTH_TYPE_1 = 1, DEPTH_TYPE_2 = 2, DEPTH_TYPE_3 = 3 };

// Kinds of time; the service says what each value means.
enum TimeType : int { TIME_TYPE_0 = 0, TIME_TYPE_1 = 1, TIME_TYPE_2 = 2 };

// Depth values sharing one unit, and the kind of depth they are.
struct Depths {
  kel_FloatQuantities values;
  DepthType type = DEPTH_TYPE_0;
};

// Time values sharing one unit, and the kind of time they are.
struct Times {
  kel_FloatQuantities values;
  TimeType type = TIME_TYPE_0;
};

} // namespace kel_WellTypes

#endif
