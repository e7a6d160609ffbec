// `kelwell plot`: a log plot of a wellbore's traces.
#pragma once

#include <string>
#include <vector>

#include "kel_WellBore.h"

namespace kelwell::cmd {

// Writes the plot to `out` (.svg or .png); returns the command's exit code.
int runPlot(const kel_WellBore& bore, const std::string& out, const std::vector<std::string>& curves,
            const std::string& index);

}  // namespace kelwell::cmd
