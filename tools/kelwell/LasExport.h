// `kelwell export las`: a wellbore's log traces as one LAS 2.0 file.
#pragma once

#include <string>
#include <vector>

#include "Las.h"
#include "kel_WellBore.h"

namespace kelwell::cmd {

// The traces named in `curves` (every trace when empty), on one index: the union of their
// index values, a trace's missing rows holding the null value. Samples stay single-precision
// floats, written so that they read back bit for bit. CommandError(kRefused) for a curve the
// wellbore does not have, or traces indexed in depth and in time together.
kelwell::las::LasFile exportWellBore(const kel_WellBore& bore, const std::vector<std::string>& curves);

}  // namespace kelwell::cmd
