// The path engine on geometry known in closed form and on published surveys.
#include "PathGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace kelwelld::engine;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
const CalculationMethod kAllMethods[] = {
    CalculationMethod::MinimumCurvature, CalculationMethod::RadiusOfCurvature,
    CalculationMethod::BalancedTangential, CalculationMethod::AverageAngle,
    CalculationMethod::Tangential, CalculationMethod::Mercury};

class PathTest : public ::testing::Test {
 protected:
  // Stations every `step` metres from MD 0 with angles given as functions of MD.
  template <class Inclination, class Azimuth>
  static SurveyStations survey(double length, double step, Inclination inclination, Azimuth azimuth) {
    SurveyStations s;
    for (double md = 0.0; md <= length + 1e-9; md += step) {
      s.md.push_back(md);
      s.inclination.push_back(inclination(md));
      s.azimuth.push_back(azimuth(md));
    }
    return s;
  }

  static double distance(const Position& a, const Position& b) {
    return std::hypot(a.tvd - b.tvd, a.east - b.east, a.north - b.north);
  }

  static void expectRefused(ErrorKind kind, const std::string& piece, const std::function<void()>& call) {
    try {
      call();
      ADD_FAILURE() << "accepted";
    } catch (const EngineError& e) {
      EXPECT_EQ(e.kind(), kind) << e.what();
      EXPECT_NE(std::string(e.what()).find(piece), std::string::npos) << e.what();
    }
  }

  // Columns of a CSV file, whatever its line ends (CR, LF or CRLF).
  static std::vector<std::vector<double>> readCsv(const std::string& name) {
    std::ifstream in(std::string(KELWELL_TEST_DATA_DIR) + "/surveys/" + name, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    std::string text = whole.str();
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::stringstream lines(text);
    std::vector<std::vector<double>> rows;
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
      if (line.empty()) continue;
      std::stringstream fields(line);
      std::vector<double> row;
      for (std::string field; std::getline(fields, field, ',');) row.push_back(std::stod(field));
      rows.push_back(row);
    }
    return rows;
  }
};

TEST_F(PathTest, VerticalHoleHasTvdEqualToMdAndNoOffset) {
  for (CalculationMethod method : kAllMethods) {
    const WellPath path = WellPath::fromSurvey(survey(1000.0, 100.0, [](double) { return 0.0; },
                                                      [](double) { return 1.0; }),
                                               {method, 5.0});
    for (double md : {0.0, 123.4, 1000.0}) {
      const Position p = path.at(md);
      EXPECT_NEAR(p.tvd, md, 1e-9);
      EXPECT_NEAR(std::hypot(p.east, p.north), 0.0, 1e-9);
    }
  }
}

TEST_F(PathTest, ConstantBuildRateArcIsExactAtAndBetweenStations) {
  // Building from vertical at 1 rad per 500 m towards azimuth 30 degrees up to
  // horizontal: TVD = R sin(s / R), horizontal = R (1 - cos(s / R)).
  const double radius = 500.0, azimuth = 30.0 * kDeg, length = radius * kPi / 2.0;
  const auto exact = [&](double s) {
    const double h = radius * (1.0 - std::cos(s / radius));
    return Position{s, radius * std::sin(s / radius), h * std::sin(azimuth), h * std::cos(azimuth)};
  };
  const SurveyStations stations = survey(length, length / 26.0, [&](double md) { return md / radius; },
                                         [&](double) { return azimuth; });
  // Radius of curvature is exact too for an arc in one vertical plane.
  for (CalculationMethod method : {CalculationMethod::MinimumCurvature, CalculationMethod::RadiusOfCurvature}) {
    const WellPath path = WellPath::fromSurvey(stations, {method});
    for (double md : {0.0, 1.0, 30.2, 100.0, 377.77, 500.0, 700.5, length}) {
      SCOPED_TRACE(md);
      EXPECT_LE(distance(path.at(md), exact(md)), 1e-6 * md);
      EXPECT_NEAR(path.mdAtTvd(exact(md).tvd), md, 1e-6 * (1.0 + md));
    }
  }
}

TEST_F(PathTest, BetweenStationsTheMinimumCurvatureArcIsFollowedNotTheChord) {
  // One 90 degree interval: the chord's midpoint lies 0.29 R off the arc.
  const double radius = 200.0, length = radius * kPi / 2.0;
  const WellPath path = WellPath::fromSurvey({{0.0, length}, {0.0, kPi / 2.0}, {0.0, 0.0}});
  const Position middle = path.at(length / 2.0);
  EXPECT_NEAR(middle.tvd, radius * std::sin(kPi / 4.0), 1e-9);
  EXPECT_NEAR(middle.north, radius * (1.0 - std::cos(kPi / 4.0)), 1e-9);
  EXPECT_NEAR(path.last().north, radius, 1e-9);
}

TEST_F(PathTest, StraightSlantAndHorizontalSectionAreExactForEveryMethod) {
  struct Case {
    const char* name;
    double inclination, azimuth;
  };
  const Case cases[] = {{"slant", 30.0 * kDeg, 120.0 * kDeg}, {"horizontal east", 90.0 * kDeg, 90.0 * kDeg}};
  for (const Case& c : cases) {
    for (CalculationMethod method : kAllMethods) {
      SCOPED_TRACE(std::string(c.name) + " method " + std::to_string(static_cast<int>(method)));
      const WellPath path = WellPath::fromSurvey(
          survey(900.0, 90.0, [&](double) { return c.inclination; }, [&](double) { return c.azimuth; }),
          {method, 10.0, 0.0});  // tie-in at the wellhead
      for (double md : {90.0, 455.5, 900.0}) {
        const Position p = path.at(md);
        EXPECT_NEAR(p.tvd, md * std::cos(c.inclination), 1e-9);
        EXPECT_NEAR(p.north, md * std::sin(c.inclination) * std::cos(c.azimuth), 1e-9);
        EXPECT_NEAR(p.east, md * std::sin(c.inclination) * std::sin(c.azimuth), 1e-9);
      }
    }
  }
}

TEST_F(PathTest, EachMethodGivesItsTextbookStepForABuildFromVertical) {
  // 100 m from vertical to 60 degrees towards north; a 20 m survey tool for MERCURY.
  const double third = kPi / 3.0;
  struct Case {
    CalculationMethod method;
    double tvd, north;
  };
  const Case cases[] = {
      {CalculationMethod::MinimumCurvature, 100.0 * std::sin(third) / third, 100.0 * 0.5 / third},
      {CalculationMethod::RadiusOfCurvature, 100.0 * std::sin(third) / third, 100.0 * 0.5 / third},
      {CalculationMethod::BalancedTangential, 75.0, 50.0 * std::sin(third)},
      {CalculationMethod::AverageAngle, 100.0 * std::cos(third / 2.0), 50.0},
      {CalculationMethod::Tangential, 50.0, 100.0 * std::sin(third)},
      {CalculationMethod::Mercury, 80.0 * 0.5 + 10.0 * 1.5, 80.0 * std::sin(third) + 10.0 * std::sin(third)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.method));
    const WellPath path = WellPath::fromSurvey({{0.0, 100.0}, {0.0, third}, {0.0, 0.0}}, {c.method, 20.0, 0.0});
    EXPECT_NEAR(path.last().tvd, c.tvd, 1e-9);
    EXPECT_NEAR(path.last().north, c.north, 1e-9);
    EXPECT_NEAR(path.last().east, 0.0, 1e-9);
    // Positions between the stations still meet both ends and stay continuous.
    EXPECT_LT(distance(path.at(99.999999), path.last()), 1e-5);
  }
}

TEST_F(PathTest, AzimuthsAcrossNorthAverageTheShortWayRound) {
  for (CalculationMethod method : {CalculationMethod::AverageAngle, CalculationMethod::RadiusOfCurvature,
                                   CalculationMethod::MinimumCurvature}) {
    const WellPath path =
        WellPath::fromSurvey({{0.0, 100.0}, {kPi / 2.0, kPi / 2.0}, {359.0 * kDeg, 1.0 * kDeg}}, {method, 0, 0});
    EXPECT_NEAR(path.last().north, 100.0, 0.01) << static_cast<int>(method);
    EXPECT_NEAR(path.last().east, 0.0, 1e-9) << static_cast<int>(method);
  }
}

TEST_F(PathTest, RawPositionsAreLinearBetweenSamples) {
  const WellPath path = WellPath::fromPositions({{100.0, 200.0}, {100.0, 180.0}, {0.0, 30.0}, {0.0, -40.0}});
  const Position p = path.at(125.0);
  EXPECT_DOUBLE_EQ(p.tvd, 120.0);
  EXPECT_DOUBLE_EQ(p.east, 7.5);
  EXPECT_DOUBLE_EQ(p.north, -10.0);
  EXPECT_DOUBLE_EQ(path.mdAtTvd(150.0), 162.5);
}

TEST_F(PathTest, RefusesBadDataAndDepthsOutsideThePath) {
  const WellPath path = WellPath::fromSurvey(survey(900.0, 90.0, [](double) { return 0.5; },
                                                    [](double) { return 0.0; }),
                                             {CalculationMethod::MinimumCurvature, 0.0, 0.0});
  expectRefused(ErrorKind::InsufficientData, "runs from measured depth 0 to 900", [&] { path.at(900.5); });
  expectRefused(ErrorKind::InsufficientData, "outside the path", [&] { path.at(-1.0); });
  expectRefused(ErrorKind::InsufficientData, "measured depth nan", [&] { path.at(NAN); });
  std::vector<Position> out(2);
  const double mds[] = {10.0, 1000.0};
  expectRefused(ErrorKind::InsufficientData, "1000", [&] { path.at(mds, out.data(), 2); });
  expectRefused(ErrorKind::InsufficientData, "never reaches the true vertical depth 1000",
                [&] { path.mdAtTvd(1000.0); });

  expectRefused(ErrorKind::InvalidNumSamples, "differ in length: 2, 2, 1",
                [] { WellPath::fromSurvey({{0, 1}, {0, 0}, {0}}); });
  expectRefused(ErrorKind::InvalidNumSamples, "hold no station", [] { WellPath::fromSurvey({}); });
  expectRefused(ErrorKind::NonMonotonic, "5 at row 2 follows 5",
                [] { WellPath::fromSurvey({{0, 5, 5}, {0, 0, 0}, {0, 0, 0}}); });
  expectRefused(ErrorKind::InvalidValue, "inclination at row 1",
                [] { WellPath::fromSurvey({{0, 5}, {0, 4}, {0, 0}}); });
  expectRefused(ErrorKind::InvalidValue, "azimuth at row 0",
                [] { WellPath::fromSurvey({{0, 5}, {0, 0}, {INFINITY, 0}}); });
  expectRefused(ErrorKind::InvalidValue, "turns back on itself",
                [] { WellPath::fromSurvey({{0, 5}, {0, kPi}, {0, 0}}); });
  expectRefused(ErrorKind::InvalidNumSamples, "differ in length: 2, 2, 2, 1",
                [] { WellPath::fromPositions({{0, 1}, {0, 1}, {0, 0}, {0}}); });
  expectRefused(ErrorKind::InvalidValue, "east offset at row 1",
                [] { WellPath::fromPositions({{0, 1}, {0, 1}, {0, NAN}, {0, 0}}); });
  expectRefused(ErrorKind::NonMonotonic, "increase strictly",
                [] { WellPath::fromPositions({{1, 0}, {0, 1}, {0, 0}, {0, 0}}); });
}

TEST_F(PathTest, Well10SurveyMatchesItsReferenceColumns) {
  // Feet for MD and TVD, metres for northing and easting (grid coordinates).
  const auto rows = readCsv("well10.csv");
  ASSERT_GT(rows.size(), 100u);
  const double foot = 0.3048;
  SurveyStations stations;
  for (const auto& row : rows) {
    stations.md.push_back(row[0] * foot);
    stations.inclination.push_back(row[1] * kDeg);
    stations.azimuth.push_back(row[2] * kDeg);
  }
  const WellPath path = WellPath::fromSurvey(stations);
  const PathColumns& at = path.stations();

  // The reference's offsets are grid distances: ours times one scale factor,
  // fitted here by least squares (no rotation: its azimuths are grid azimuths).
  double along = 0.0, squared = 0.0, across = 0.0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double north = rows[i][5] - rows[0][5], east = rows[i][6] - rows[0][6];
    along += at.north[i] * north + at.east[i] * east;
    across += at.north[i] * east - at.east[i] * north;
    squared += at.north[i] * at.north[i] + at.east[i] * at.east[i];
  }
  const double scale = along / squared;
  EXPECT_NEAR(across / squared, 0.0, 1e-9);
  EXPECT_NEAR(scale, 0.99975273, 1e-8);

  std::vector<double> ground, grid;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double tvd = rows[i][3] * foot, north = rows[i][5] - rows[0][5], east = rows[i][6] - rows[0][6];
    EXPECT_NEAR(at.tvd[i], tvd, 1e-6) << "row " << i;
    ground.push_back(std::hypot(at.tvd[i] - tvd, at.north[i] - north, at.east[i] - east));
    grid.push_back(std::hypot(at.tvd[i] - tvd, scale * at.north[i] - north, scale * at.east[i] - east));
  }
  const auto median = [](std::vector<double> e) { std::sort(e.begin(), e.end()); return e[e.size() / 2]; };
  const auto p95 = [](std::vector<double> e) {
    std::sort(e.begin(), e.end());
    return e[static_cast<std::size_t>(std::ceil(0.95 * e.size())) - 1];
  };
  std::cout << "well10 3D error, grid offsets: median " << median(grid) << " m, p95 " << p95(grid)
            << " m; ground offsets unscaled: median " << median(ground) << " m, p95 " << p95(ground) << " m\n";
  EXPECT_LE(median(grid), 0.005);
  EXPECT_LE(p95(grid), 0.007);
}

TEST_F(PathTest, P130SurveyAgreesWithTheOperatorsRoughTvd) {
  // Metres, CR-only line ends. The operator's TVD is coarse: whole metres equal
  // to MD down to 247 m despite 3 degrees of inclination, then 59 m of TVD over
  // 58 m of MD at 334 m. Compared as it is, and from the 334 m station down.
  const auto rows = readCsv("P-130_deviation_survey.csv");
  ASSERT_EQ(rows.size(), 163u);
  SurveyStations stations;
  for (const auto& row : rows) {
    stations.md.push_back(row[0]);
    stations.inclination.push_back(row[1] * kDeg);
    stations.azimuth.push_back(row[2] * kDeg);
  }
  const WellPath path = WellPath::fromSurvey(stations);
  const std::vector<double>& tvd = path.stations().tvd;
  const std::size_t from = 11;
  ASSERT_EQ(rows[from][0], 334.0);
  double worst = 0.0, worstBelow = 0.0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    worst = std::max(worst, std::fabs(tvd[i] - rows[i][3]));
    if (i >= from) worstBelow = std::max(worstBelow, std::fabs((tvd[i] - tvd[from]) - (rows[i][3] - rows[from][3])));
  }
  EXPECT_LE(worst, 0.82);
  EXPECT_LE(worstBelow, 0.24);
}

} // namespace
