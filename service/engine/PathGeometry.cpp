#include "PathGeometry.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

namespace kelwelld::engine {

namespace {

constexpr double kPi = 3.14159265358979323846;

using Vec = Vector3;

Vec operator+(Vec a, Vec b) { return {a.north + b.north, a.east + b.east, a.down + b.down}; }
Vec operator-(Vec a, Vec b) { return {a.north - b.north, a.east - b.east, a.down - b.down}; }
Vec operator*(double k, Vec a) { return {k * a.north, k * a.east, k * a.down}; }
double norm(Vec a) { return std::sqrt(a.north * a.north + a.east * a.east + a.down * a.down); }

Vec direction(double inclination, double azimuth) {
  return {std::sin(inclination) * std::cos(azimuth), std::sin(inclination) * std::sin(azimuth),
          std::cos(inclination)};
}

// An azimuth change taken the short way round, in (-pi, pi].
double azimuthChange(double from, double to) {
  double change = std::remainder(to - from, 2.0 * kPi);
  return change == -kPi ? kPi : change;
}

double sinc(double x) { return std::fabs(x) < 1e-8 ? 1.0 - x * x / 6.0 : std::sin(x) / x; }

// The angle between two unit vectors, accurate for small and large angles.
double angleBetween(Vec a, Vec b) { return 2.0 * std::atan2(norm(a - b), norm(a + b)); }

// Displacement after `s` metres along the circular arc of length `length` that
// turns from t1 to t2 through `dogleg`: the minimum-curvature geometry.
Vec arc(Vec t1, Vec t2, double dogleg, double length, double s) {
  const double f = s / length;
  if (dogleg < 1e-6) {
    // The limit of the expressions below; their error is of order dogleg^2.
    return s * ((1.0 - 0.5 * f) * t1 + (0.5 * f) * t2);
  }
  const double phi = dogleg * f;
  const double scale = length / (dogleg * std::sin(dogleg));
  const double half = std::sin(0.5 * phi);
  return scale * ((2.0 * std::sin(dogleg - 0.5 * phi) * half) * t1 + (2.0 * half * half) * t2);
}

// Station-to-station displacement by a calculation method.
Vec methodStep(CalculationMethod method, double i1, double a1, double i2, double a2, double length,
               double toolLength, Vec t1, Vec t2, double dogleg) {
  switch (method) {
    case CalculationMethod::MinimumCurvature: return arc(t1, t2, dogleg, length, length);
    case CalculationMethod::RadiusOfCurvature: {
      // Constant build and turn rates; (sin b - sin a) / (b - a) = cos((a+b)/2) sinc((b-a)/2), etc.
      const double di = i2 - i1, da = azimuthChange(a1, a2);
      const double vertical = length * std::cos(i1 + 0.5 * di) * sinc(0.5 * di);
      const double horizontal = length * std::sin(i1 + 0.5 * di) * sinc(0.5 * di);
      return {horizontal * std::cos(a1 + 0.5 * da) * sinc(0.5 * da),
              horizontal * std::sin(a1 + 0.5 * da) * sinc(0.5 * da), vertical};
    }
    case CalculationMethod::BalancedTangential: return (0.5 * length) * (t1 + t2);
    case CalculationMethod::AverageAngle:
      return length * direction(0.5 * (i1 + i2), a1 + 0.5 * azimuthChange(a1, a2));
    case CalculationMethod::Tangential: return length * t2;
    case CalculationMethod::Mercury: {
      const double tool = std::min(toolLength, length);
      return (length - tool) * t2 + (0.5 * tool) * (t1 + t2);
    }
  }
  return {0.0, 0.0, 0.0};
}

std::string outside(double md, const PathColumns& columns) {
  return "The measured depth " + formatNumber(md) + " is outside the path, which runs from measured depth " +
         formatNumber(columns.md.front()) + " to " + formatNumber(columns.md.back()) + ". ";
}

void requireColumns(std::initializer_list<std::size_t> lengths, const char* what) {
  const std::size_t first = *lengths.begin();
  if (first == 0) throw EngineError(ErrorKind::InvalidNumSamples, std::string("The ") + what + " hold no station. ");
  if (std::all_of(lengths.begin(), lengths.end(), [&](std::size_t n) { return n == first; })) return;
  std::string listed;
  for (std::size_t n : lengths) listed += (listed.empty() ? "" : ", ") + std::to_string(n);
  throw EngineError(ErrorKind::InvalidNumSamples,
                    std::string("The columns of the ") + what + " differ in length: " + listed + ". ");
}

void requireIncreasingMd(const std::vector<double>& md) {
  for (std::size_t i = 0; i < md.size(); ++i) {
    if (!std::isfinite(md[i]))
      throw EngineError(ErrorKind::InvalidValue,
                        "The measured depth at row " + std::to_string(i) + " is not a finite number. ");
    if (i > 0 && !(md[i] > md[i - 1]))
      throw EngineError(ErrorKind::NonMonotonic, "The measured depths must increase strictly; " +
                                                     formatNumber(md[i]) + " at row " + std::to_string(i) +
                                                     " follows " + formatNumber(md[i - 1]) + ". ");
  }
}

void requireFinite(const std::vector<double>& column, const char* name) {
  for (std::size_t i = 0; i < column.size(); ++i)
    if (!std::isfinite(column[i]))
      throw EngineError(ErrorKind::InvalidValue,
                        std::string("The ") + name + " at row " + std::to_string(i) + " is not a finite number. ");
}

} // namespace

WellPath WellPath::fromSurvey(const SurveyStations& stations, const SurveyOptions& options) {
  const std::size_t n = stations.md.size();
  requireColumns({n, stations.inclination.size(), stations.azimuth.size()}, "survey stations");
  requireIncreasingMd(stations.md);
  requireFinite(stations.azimuth, "azimuth");
  for (std::size_t i = 0; i < n; ++i)
    if (!(stations.inclination[i] >= 0.0 && stations.inclination[i] <= kPi))
      throw EngineError(ErrorKind::InvalidValue, "The inclination at row " + std::to_string(i) + " (" +
                                                     formatNumber(stations.inclination[i]) +
                                                     " rad) is not between 0 and pi. ");
  if (!(options.toolLength >= 0.0 && std::isfinite(options.toolLength)))
    throw EngineError(ErrorKind::InvalidValue, "The survey tool length must be finite and not negative. ");
  const bool tieInSet = isSet(options.tieInTvd);
  if ((tieInSet && !std::isfinite(options.tieInTvd)) || !std::isfinite(options.tieInEast) ||
      !std::isfinite(options.tieInNorth))
    throw EngineError(ErrorKind::InvalidValue, "The tie-in position must be finite. ");

  WellPath path;
  path.survey_ = true;
  PathColumns& c = path.columns_;
  c.md = stations.md;
  Vec at{options.tieInNorth, options.tieInEast, tieInSet ? options.tieInTvd : stations.md[0]};
  for (std::size_t i = 0;; ++i) {
    c.tvd.push_back(at.down);
    c.east.push_back(at.east);
    c.north.push_back(at.north);
    if (i + 1 == n) break;
    const double i1 = stations.inclination[i], a1 = stations.azimuth[i];
    const double i2 = stations.inclination[i + 1], a2 = stations.azimuth[i + 1];
    const Vec t1 = direction(i1, a1), t2 = direction(i2, a2);
    const double length = c.md[i + 1] - c.md[i];
    const double dogleg = angleBetween(t1, t2);
    if (dogleg > kPi - 1e-9)
      throw EngineError(ErrorKind::InvalidValue, "The hole turns back on itself between measured depths " +
                                                     formatNumber(c.md[i]) + " and " + formatNumber(c.md[i + 1]) +
                                                     ". ");
    const Vec step = methodStep(options.method, i1, a1, i2, a2, length, options.toolLength, t1, t2, dogleg);
    const Vec fix = (1.0 / length) * (step - arc(t1, t2, dogleg, length, length));
    path.legs_.push_back({t1, t2, dogleg, fix});
    at = at + step;
  }
  return path;
}

WellPath WellPath::fromPositions(const PathColumns& columns) {
  requireColumns({columns.md.size(), columns.tvd.size(), columns.east.size(), columns.north.size()}, "path data");
  requireIncreasingMd(columns.md);
  requireFinite(columns.tvd, "true vertical depth");
  requireFinite(columns.east, "east offset");
  requireFinite(columns.north, "north offset");
  WellPath path;
  path.columns_ = columns;
  return path;
}

Position WellPath::last() const {
  const std::size_t k = columns_.md.size() - 1;
  return {columns_.md[k], columns_.tvd[k], columns_.east[k], columns_.north[k]};
}

void WellPath::requireInside(double md) const {
  if (!(md >= columns_.md.front() && md <= columns_.md.back()))
    throw EngineError(ErrorKind::InsufficientData, outside(md, columns_));
}

Position WellPath::onLeg(std::size_t k, double md) const {
  const PathColumns& c = columns_;
  const double s = md - c.md[k];
  if (!survey_) {
    const double f = s / (c.md[k + 1] - c.md[k]);
    return {md, c.tvd[k] + f * (c.tvd[k + 1] - c.tvd[k]), c.east[k] + f * (c.east[k + 1] - c.east[k]),
            c.north[k] + f * (c.north[k + 1] - c.north[k])};
  }
  const Leg& leg = legs_[k];
  const Vec d = arc(leg.t1, leg.t2, leg.dogleg, c.md[k + 1] - c.md[k], s) + s * leg.fix;
  return {md, c.tvd[k] + d.down, c.east[k] + d.east, c.north[k] + d.north};
}

Position WellPath::at(double md) const {
  requireInside(md);
  const std::vector<double>& mds = columns_.md;
  const std::size_t k = static_cast<std::size_t>(std::upper_bound(mds.begin(), mds.end(), md) - mds.begin()) - 1;
  if (mds[k] == md) return {md, columns_.tvd[k], columns_.east[k], columns_.north[k]};
  return onLeg(k, md);
}

void WellPath::at(const double* md, Position* out, std::size_t count) const {
  for (std::size_t i = 0; i < count; ++i) requireInside(md[i]);  // all or nothing
  for (std::size_t i = 0; i < count; ++i) out[i] = at(md[i]);
}

double WellPath::mdAtTvd(double tvd) const {
  const PathColumns& c = columns_;
  if (c.tvd[0] == tvd) return c.md[0];
  // Within a leg TVD may turn once (an arc through horizontal): look in short
  // pieces and bisect the first piece that brackets the TVD.
  const int pieces = survey_ ? 16 : 1;
  for (std::size_t k = 0; k + 1 < c.md.size(); ++k) {
    double lowMd = c.md[k], lowTvd = c.tvd[k];
    for (int p = 1; p <= pieces; ++p) {
      const double highMd = p == pieces ? c.md[k + 1] : c.md[k] + (c.md[k + 1] - c.md[k]) * p / pieces;
      const double highTvd = p == pieces ? c.tvd[k + 1] : onLeg(k, highMd).tvd;
      if ((lowTvd - tvd) * (highTvd - tvd) <= 0.0) {
        if (!survey_) return lowMd + (tvd - lowTvd) / (highTvd - lowTvd) * (highMd - lowMd);
        double a = lowMd, b = highMd;
        const bool rising = highTvd > lowTvd;
        for (int i = 0; i < 200 && b - a > 1e-12 * std::max(1.0, std::fabs(b)); ++i) {
          const double mid = 0.5 * (a + b);
          ((onLeg(k, mid).tvd < tvd) == rising ? a : b) = mid;
        }
        return 0.5 * (a + b);
      }
      lowMd = highMd;
      lowTvd = highTvd;
    }
  }
  const auto [lowest, highest] = std::minmax_element(c.tvd.begin(), c.tvd.end());
  throw EngineError(ErrorKind::InsufficientData, "The path never reaches the true vertical depth " +
                                                     formatNumber(tvd) + "; its stations lie between TVD " +
                                                     formatNumber(*lowest) + " and " + formatNumber(*highest) + ". ");
}

} // namespace kelwelld::engine
