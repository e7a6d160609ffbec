// A log plot as log analysts read it, and its rendering to SVG and PNG, with no remote calls:
// the `kelwell plot` command fills a LogPlot from the service, tests fill one by hand.
//
//   LogPlot plot;
//   plot.axisName = "MD"; plot.axisUnit = "m";
//   plot.tracks = arrange({gr, ild, rhob, nphi});   // tracks by kind, scales and colours chosen
//   plot.picks.push_back({"Top Chalk", 1234.5});
//   writePlot(plot, "well.png");                     // or renderSvg(plot)
//
// The index axis increases downwards. Each track holds one to three curves of compatible
// kinds with a header per curve (name, unit, the values at the track's left and right edges);
// resistivities are drawn on a logarithmic scale. A missing value (NaN, the curve's null
// value or an absent-value marker) leaves a gap. Picks are labelled lines across every track.
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kelwell::plot {

// Which values the left and right edges of a track stand for. left may exceed right (a
// neutron porosity or a sonic reads right to left); a logarithmic scale needs both above 0.
struct Scale {
  double left = 0.0;
  double right = 1.0;
  bool logarithmic = false;

  // Where value lies across the track: 0 at the left edge, 1 at the right, beyond them when
  // off scale; NaN when it cannot be placed (not a number, or not above 0 on a log scale).
  double position(double value) const;
};

// Values that logging programs write for "no value" whatever a file's null value says (a
// header declaring -999.25 over data holding -9999 is common). No log measures them, so a plot
// shows them as gaps too, and its notes say how many there were.
inline bool isAbsentMarker(double value) {
  return value == -999.25 || value == -999.0 || value == -9999.0 || value == -99999.0;
}

struct Curve {
  std::string name;
  std::string unit;             // as a person reads it; empty when the values have none
  std::vector<double> index;    // one axis value per sample, in the plot's axis unit
  std::vector<double> values;   // one value per index value
  double nullValue = std::numeric_limits<double>::quiet_NaN();  // a value equal to it is missing
  Scale scale;                  // set by arrange()
  std::string colour = "#000000";  // "#rrggbb"; set by arrange()

  bool missing(std::size_t i) const {
    return std::isnan(values[i]) || values[i] == nullValue || isAbsentMarker(values[i]);
  }
};

struct Track {
  std::vector<Curve> curves;
};

struct Pick {
  std::string name;
  double at = 0.0;                 // in the plot's axis unit
  std::string colour = "#1f4fb4";  // "#rrggbb"
};

struct LogPlot {
  std::string title;       // above the tracks, e.g. the well and wellbore
  std::string axisName;    // "MD", "TVD", "TWT"
  std::string axisUnit;    // "m", "ft", "ms"
  std::vector<Track> tracks;
  std::vector<Pick> picks;
  std::vector<std::string> notes;  // printed under the plot: what was left out, and why
};

// Kinds of log, told apart by unit and mnemonic; they decide scales and tracks.
enum class Family { gamma, spontaneous, caliper, resistivity, porosity, density, sonic, other };

Family familyOf(std::string_view name, std::string_view unit);

// The scale log analysts use for such a curve (GR 0-150 gAPI, resistivity 0.2-2000 ohm.m
// logarithmic, NPHI 0.45 to -0.15, RHOB 1.95-2.95 g/cm3, DT 140-40 us/ft, ...), widened to
// round numbers when much of the curve would be off it; the data's own range, rounded, for
// curves without a customary scale.
Scale scaleFor(const Curve& curve);

// Puts curves into tracks as on a log print, left to right: correlation logs (gamma ray, SP,
// caliper), resistivities, porosity logs (density and neutron), sonic, the rest; at most
// three curves in a track, in the order given. Sets each curve's scale and colour.
std::vector<Track> arrange(std::vector<Curve> curves);

// Sizes in pixels (SVG user units).
struct Layout {
  double trackWidth = 220.0;
  double axisTrackWidth = 84.0;
  double dataHeight = 1400.0;      // the tracks' height below the headers
  double curveHeaderHeight = 38.0;
  double titleHeight = 30.0;
  double noteHeight = 16.0;
  double margin = 16.0;
};

// The rendering as SVG text (UTF-8). Elements carry a class saying what they are: "track",
// "axis-track", "curve" (with data-curve), "curve-header", "grid", "grid major", "grid decade",
// "pick" (with data-pick), "pick-label", "axis-label", "note", "title".
std::string renderSvg(const LogPlot& plot, const Layout& layout = {});

// The rendering as a PNG image (the bytes of the file), drawn by cairo the same way.
// std::runtime_error when the image would be too large to draw.
std::string renderPng(const LogPlot& plot, const Layout& layout = {});

enum class Format { svg, png };

// The format a file name asks for by its extension (.svg, .png, in any case); throws
// std::runtime_error naming the file for anything else.
Format formatOf(const std::string& path);

// Renders into the file named by path in the format its extension asks for. The file appears
// whole or not at all; std::runtime_error when it cannot be written.
void writePlot(const LogPlot& plot, const std::string& path, const Layout& layout = {});

}  // namespace kelwell::plot
