// `kelwell import survey`: directional survey stations from a CSV or whitespace-separated
// table, sent to a wellbore as its path.
#pragma once

#include <string>
#include <vector>

#include "kel_WellBore.h"

namespace kelwell::cmd {

struct SurveyTable {
  std::vector<double> md, inclination, azimuth;
  std::string mdUnit;  // from the MD column's heading ("Measured Depth ( ft )"), else ""
};

// Reads the stations. `columns` names the MD, inclination and azimuth columns ("MD,INC,AZI":
// headings, case-insensitive, or 1-based numbers); empty finds them by their headings, or takes
// the first three columns of a table without headings. Lines may end in \n, \r\n or \r; '#'
// starts a comment. CommandError(kRefused) naming the file, line and problem.
SurveyTable readSurvey(const std::string& path, const std::string& columns);

// The calculation method a --method name stands for; CommandError(kUsage) for another name.
kel_WellBore::CalculationMethod calculationMethod(const std::string& name);
const std::vector<std::string>& calculationMethodNames();

// Sends the stations (MD in mdUnit, angles in degrees) and then, when given, the method.
void importSurvey(kel_WellBore& bore, const SurveyTable& table, const std::string& mdUnit, const std::string& method);

}  // namespace kelwell::cmd
