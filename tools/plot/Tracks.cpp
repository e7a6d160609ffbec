// Which kind of log a curve is, the scale it is read on, and which track it goes in.
#include "Canvas.h"
#include "LogPlot.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <initializer_list>

namespace kelwell::plot {
namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

// The mnemonic without what tells repeated or array curves apart: "GR:2" and "NMR[3]" read
// as "GR" and "NMR".
std::string mnemonicOf(std::string_view name) {
  std::string result = upper(name);
  const std::size_t cut = result.find_first_of(":[");
  if (cut != std::string::npos && cut > 0) result.resize(cut);
  return result;
}

bool startsWithAny(const std::string& text, std::initializer_list<std::string_view> prefixes) {
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](std::string_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; });
}

bool isAny(const std::string& text, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(), [&](std::string_view word) { return text == word; });
}

// Unit spellings as the catalogue and LAS files write them, compared in upper case.
bool isResistivityUnit(const std::string& u) { return isAny(u, {"OHM.M", "OHMM", "OHM-M", "OHM M", "OHM"}); }
bool isGammaUnit(const std::string& u) { return isAny(u, {"GAPI", "API"}); }
bool isFractionUnit(const std::string& u) {
  return isAny(u, {"", "V/V", "M3/M3", "FRAC", "FRACTION", "DEC", "VOL/VOL", "CFCF", "UNITLESS"});
}
bool isPercentUnit(const std::string& u) { return isAny(u, {"PU", "P.U.", "%", "LPU", "SPU", "DPU", "PERCENT"}); }
bool isDensityUnit(const std::string& u) { return isAny(u, {"G/CM3", "G/C3", "G/CC", "GM/CC", "KG/M3"}); }
bool isSlownessUnit(const std::string& u) { return isAny(u, {"US/FT", "US/F", "USEC/FT", "US/M"}); }

// The values that can be placed, sorted; what falls beyond the 1st and 99th percentiles is
// treated as spikes when choosing a scale from the data.
std::vector<double> placeable(const Curve& curve, bool logarithmic) {
  std::vector<double> values;
  values.reserve(curve.values.size());
  for (std::size_t i = 0; i < curve.values.size(); ++i) {
    const double v = curve.values[i];
    if (curve.missing(i) || !std::isfinite(v) || (logarithmic && v <= 0.0)) continue;
    values.push_back(v);
  }
  std::sort(values.begin(), values.end());
  return values;
}

double percentile(const std::vector<double>& sorted, double fraction) {
  const auto at = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(at, sorted.size() - 1)];
}

// A linear scale over [low, high] at round numbers, in the direction of `reversed`.
Scale linearOver(double low, double high, bool reversed) {
  if (!(high > low)) {
    const double pad = std::max(1.0, std::fabs(low) * 0.1);
    low -= pad;
    high += pad;
  }
  const double step = niceStep((high - low) / 10.0);
  low = std::floor(low / step + 1e-9) * step;
  high = std::ceil(high / step - 1e-9) * step;
  return reversed ? Scale{high, low, false} : Scale{low, high, false};
}

// The customary logarithmic scale, extended by whole decades on the side the data need.
Scale decadesBeyond(Scale scale, double low, double high) {
  while (scale.left > low * (1 + 1e-9)) scale.left /= 10.0;
  while (scale.right < high * (1 - 1e-9)) scale.right *= 10.0;
  return scale;
}

// The customary scale, or none (left == right) when the curve has no customary scale.
Scale customaryScale(Family family, const std::string& mnemonic, const std::string& unit) {
  switch (family) {
    case Family::gamma:
      if (isGammaUnit(unit) || unit.empty()) return {0.0, 150.0, false};
      break;
    case Family::caliper:
      if (isAny(unit, {"IN", "INCH", "INCHES"})) return {6.0, 16.0, false};
      if (unit == "MM") return {150.0, 400.0, false};
      if (unit == "CM") return {15.0, 40.0, false};
      break;
    case Family::resistivity:
      return {0.2, 2000.0, true};
    case Family::porosity:
      if (isPercentUnit(unit)) return {45.0, -15.0, false};
      if (isFractionUnit(unit)) return {0.45, -0.15, false};
      break;
    case Family::density:
      if (startsWithAny(mnemonic, {"DRHO", "DRH", "ZCOR", "HDRA"})) {
        return unit == "KG/M3" ? Scale{-250.0, 250.0, false} : Scale{-0.25, 0.25, false};
      }
      if (startsWithAny(mnemonic, {"PE"})) return {0.0, 10.0, false};
      if (unit == "KG/M3") return {1950.0, 2950.0, false};
      if (isDensityUnit(unit) || unit.empty()) return {1.95, 2.95, false};
      break;
    case Family::sonic: {
      const bool shear = startsWithAny(mnemonic, {"DTS", "DTSM", "DT4S", "DTSH"});
      if (unit == "US/M") return shear ? Scale{800.0, 130.0, false} : Scale{460.0, 130.0, false};
      if (isSlownessUnit(unit) || unit.empty()) return shear ? Scale{240.0, 40.0, false} : Scale{140.0, 40.0, false};
      break;
    }
    case Family::spontaneous:
    case Family::other:
      break;
  }
  return {0.0, 0.0, false};
}

// The share of placeable values beyond the scale's ends.
double offScale(const Scale& scale, const std::vector<double>& values) {
  if (values.empty()) return 0.0;
  std::size_t off = 0;
  for (double v : values) {
    const double p = scale.position(v);
    if (p < -1e-9 || p > 1.0 + 1e-9) ++off;
  }
  return static_cast<double>(off) / static_cast<double>(values.size());
}

// A customary scale stays unless more than this share of the curve would be off it.
constexpr double kTolerableOffScale = 0.05;

}  // namespace

double niceStep(double x) {
  if (!(x > 0.0) || !std::isfinite(x)) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  for (double mantissa : {1.0, 2.0, 5.0}) {
    if (mantissa * power >= x * (1.0 - 1e-9)) return mantissa * power;
  }
  return 10.0 * power;
}

double Scale::position(double value) const {
  if (!std::isfinite(value)) return std::nan("");
  if (logarithmic) {
    if (value <= 0.0 || left <= 0.0 || right <= 0.0) return std::nan("");
    return (std::log(value) - std::log(left)) / (std::log(right) - std::log(left));
  }
  return (value - left) / (right - left);
}

Family familyOf(std::string_view name, std::string_view unitText) {
  const std::string unit = upper(unitText);
  const std::string mnemonic = mnemonicOf(name);
  // The unit says most; the mnemonic decides where the unit is shared or missing.
  if (isResistivityUnit(unit)) return Family::resistivity;
  if (isGammaUnit(unit)) return Family::gamma;
  if (isSlownessUnit(unit)) return Family::sonic;
  if (isDensityUnit(unit)) return Family::density;
  if (startsWithAny(mnemonic, {"GR", "SGR", "CGR", "HSGR", "HCGR", "ECGR", "EHGR"})) return Family::gamma;
  if (mnemonic == "SP" || startsWithAny(mnemonic, {"SPBL", "SPC"})) return Family::spontaneous;
  if (startsWithAny(mnemonic, {"CAL", "HCAL", "DCAL", "BS", "BIT"})) return Family::caliper;
  if (startsWithAny(mnemonic, {"RES", "ILD", "ILM", "IDPH", "IMPH", "LLD", "LLS", "RT", "RXO", "SFL", "MSFL", "MLL",
                               "HDRS", "HMRS", "AHT", "M2R", "AT", "AF"}) ||
      isAny(mnemonic, {"RD", "RS", "RM", "SN", "LN"})) {
    return Family::resistivity;
  }
  if (mnemonic.find("PHI") != std::string::npos ||
      startsWithAny(mnemonic, {"TNPH", "NPOR", "NPSS", "NPLS", "CNL", "CNC", "NEU", "POR"})) {
    return Family::porosity;
  }
  if (startsWithAny(mnemonic, {"RHO", "DEN", "ZDEN", "DRHO", "PEF", "PE"})) return Family::density;
  if (startsWithAny(mnemonic, {"DT", "AC", "SONIC"})) return Family::sonic;
  if (isPercentUnit(unit) && !unit.empty()) return Family::porosity;
  return Family::other;
}

Scale scaleFor(const Curve& curve) {
  const Family family = familyOf(curve.name, curve.unit);
  const Scale customary = customaryScale(family, mnemonicOf(curve.name), upper(curve.unit));
  const bool logarithmic = customary.logarithmic;
  const std::vector<double> values = placeable(curve, logarithmic);
  const bool hasCustomary = customary.left != customary.right;
  if (hasCustomary && offScale(customary, values) <= kTolerableOffScale) return customary;
  if (values.empty()) return hasCustomary ? customary : Scale{0.0, 1.0, false};

  double low = percentile(values, 0.01);
  double high = percentile(values, 0.99);
  if (logarithmic) return decadesBeyond(customary, low, high);
  if (hasCustomary) {  // widen, never narrow: the customary ends stay on the scale
    low = std::min({low, customary.left, customary.right});
    high = std::max({high, customary.left, customary.right});
  }
  return linearOver(low, high, hasCustomary && customary.left > customary.right);
}

std::vector<Track> arrange(std::vector<Curve> curves) {
  // Colours by place in the track, so that curves sharing a track are told apart at a glance.
  static constexpr std::array<const char*, 3> kColours{"#13803a", "#c0282d", "#1f4fb4"};
  constexpr std::size_t kCurvesPerTrack = kColours.size();
  // The tracks of a log print from left to right: correlation logs, resistivities, porosity
  // logs (density and neutron read together), sonic, the rest.
  auto trackOf = [](Family family) {
    switch (family) {
      case Family::gamma:
      case Family::spontaneous:
      case Family::caliper: return 0;
      case Family::resistivity: return 1;
      case Family::porosity:
      case Family::density: return 2;
      case Family::sonic: return 3;
      case Family::other: break;
    }
    return 4;
  };

  std::vector<int> kinds;  // before any curve moves into its track
  for (const Curve& curve : curves) kinds.push_back(trackOf(familyOf(curve.name, curve.unit)));
  std::vector<Track> tracks;
  for (int kind = 0; kind <= 4; ++kind) {
    Track* track = nullptr;
    for (std::size_t i = 0; i < curves.size(); ++i) {
      if (kinds[i] != kind) continue;
      if (track == nullptr || track->curves.size() == kCurvesPerTrack) track = &tracks.emplace_back();
      Curve& curve = curves[i];
      curve.scale = scaleFor(curve);
      curve.colour = kColours[track->curves.size()];
      track->curves.push_back(std::move(curve));
    }
  }
  return tracks;
}

}  // namespace kelwell::plot
