#include "PlotCommand.h"

#include <iostream>

namespace kelwell::cmd {

int runPlot(const kel_WellBore&, const std::string&, const std::vector<std::string>&, const std::string&) {
  std::cerr << "kelwell plot: not available in this build\n";
  return 1;
}

}  // namespace kelwell::cmd
