#include "EngineError.h"

#include <cstdio>
#include <cstdlib>

namespace kelwelld::engine {

std::string formatNumber(double value) {
  char text[32];
  for (int precision = 6; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

} // namespace kelwelld::engine
