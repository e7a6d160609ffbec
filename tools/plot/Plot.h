// The log plot of a wellbore held by the well data service, as the `kelwell plot` command
// draws it: its log traces in tracks along a depth or time axis, and its picks.
#pragma once

#include <string>
#include <vector>

class kel_WellBore;

namespace kelwell::plot {

struct PlotRequest {
  std::string out;                    // FILE.svg or FILE.png (by extension; anything else refused)
  std::vector<std::string> curves;    // trace names to draw; empty = all traces of the wellbore
  std::string index = "md";           // md | tvd | twt
};

// Draws the wellbore's log plot; throws std::runtime_error with a message for a person
// (unknown curve, no velocity function for twt, unwritable file, ...).
void plotWellBore(const kel_WellBore& bore, const PlotRequest& request);

}  // namespace kelwell::plot
