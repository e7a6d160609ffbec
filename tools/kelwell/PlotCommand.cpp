#include "PlotCommand.h"

#include <iostream>
#include <stdexcept>

#include "Plot.h"

namespace kelwell::cmd {

int runPlot(const kel_WellBore& bore, const std::string& out, const std::vector<std::string>& curves,
            const std::string& index) {
  try {
    kelwell::plot::plotWellBore(bore, kelwell::plot::PlotRequest{out, curves, index});
  } catch (const std::runtime_error& refused) {
    std::cerr << "kelwell plot: " << refused.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace kelwell::cmd
