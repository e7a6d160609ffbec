// The log plot laid out on a canvas: title, axis track, curve tracks with their headers and
// grids, the curves, the picks and the notes. Both output formats draw through here.
#include "Canvas.h"
#include "LogPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kelwell::plot {
namespace {

constexpr std::string_view kGridColour = "#d4d4d4";
constexpr std::string_view kMajorGridColour = "#9a9a9a";
constexpr std::string_view kFrameColour = "#303030";
constexpr double kPixelsPerAxisLabel = 60.0;  // about one depth label per this many pixels
constexpr double kCharacterWidth = 6.6;       // of 11 px type, on average
constexpr double kBoldCharacterWidth = 7.4;

// Numbers as a person reads them on a scale or an axis: "0.2", "2000", "-0.15".
std::string label(double value) {
  if (std::fabs(value) < 1e-12) value = 0.0;  // no "-0"
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// The axis interval: where any curve has a value, else where any curve has samples, else the
// picks; rounded outwards to the minor tick.
struct Axis {
  double top = 0.0;
  double bottom = 1.0;
  double major = 1.0;
  double minor = 0.2;
};

Axis axisOf(const LogPlot& plot, double dataHeight) {
  double low = INFINITY;
  double high = -INFINITY;
  auto take = [&](double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  };
  for (bool valuesOnly : {true, false}) {
    for (const Track& track : plot.tracks) {
      for (const Curve& curve : track.curves) {
        const std::size_t n = std::min(curve.index.size(), curve.values.size());
        for (std::size_t i = 0; i < n; ++i) {
          if (!valuesOnly || !curve.missing(i)) take(curve.index[i]);
        }
      }
    }
    if (low <= high) break;
  }
  if (!(low <= high)) {
    for (const Pick& pick : plot.picks) take(pick.at);
  }
  if (!(low <= high)) {
    low = 0.0;
    high = 1.0;
  }
  if (high - low < 1e-9 * std::max(1.0, std::fabs(low))) {  // a single depth: a unit around it
    low -= 0.5;
    high += 0.5;
  }
  Axis axis;
  axis.major = niceStep((high - low) * kPixelsPerAxisLabel / dataHeight);
  const double mantissa = axis.major / std::pow(10.0, std::floor(std::log10(axis.major) + 1e-9));
  axis.minor = axis.major / (std::lround(mantissa) == 2 ? 4.0 : 5.0);
  axis.top = std::floor(low / axis.minor + 1e-9) * axis.minor;
  axis.bottom = std::ceil(high / axis.minor - 1e-9) * axis.minor;
  return axis;
}

std::size_t tallestHeader(const LogPlot& plot) {
  std::size_t most = 1;
  for (const Track& track : plot.tracks) most = std::max(most, track.curves.size());
  return most;
}

// Where everything goes, in pixels.
struct Frame {
  Frame(const LogPlot& plot, const Layout& sizes) : layout(sizes), axis(axisOf(plot, sizes.dataHeight)) {
    left = layout.margin;
    headerTop = layout.margin + layout.titleHeight;
    dataTop = headerTop + static_cast<double>(tallestHeader(plot)) * layout.curveHeaderHeight;
    dataBottom = dataTop + layout.dataHeight;
    right = left + layout.axisTrackWidth + static_cast<double>(plot.tracks.size()) * layout.trackWidth;
  }

  double y(double value) const {
    return dataTop + (value - axis.top) / (axis.bottom - axis.top) * (dataBottom - dataTop);
  }
  bool within(double value) const { return value >= axis.top && value <= axis.bottom; }
  Rect axisTrack() const { return {left, dataTop, layout.axisTrackWidth, dataBottom - dataTop}; }
  Rect track(std::size_t i) const {
    return {left + layout.axisTrackWidth + static_cast<double>(i) * layout.trackWidth, dataTop, layout.trackWidth,
            dataBottom - dataTop};
  }
  // Every tick value from the top, `step` apart, with its count of steps from zero.
  template <class Visit>
  void ticks(double step, Visit&& visit) const {
    for (long k = std::lround(std::ceil(axis.top / step - 1e-9)); k * step <= axis.bottom + step * 1e-9; ++k) {
      visit(static_cast<double>(k) * step, k);
    }
  }

  const Layout& layout;
  Axis axis;
  double left, right, headerTop, dataTop, dataBottom;
};

// What is drawn under the plot: the plot's own notes, absent-value markers other than a
// curve's null value (one note per marker value), and the picks that lie outside the plot.
std::vector<std::string> notesOf(const LogPlot& plot, const Frame& frame) {
  std::vector<std::string> notes = plot.notes;
  std::vector<std::pair<double, std::string>> markers;  // (marker value, "SP 5863, GR 130")
  for (const Track& track : plot.tracks) {
    for (const Curve& curve : track.curves) {
      std::vector<std::pair<double, std::size_t>> counts;
      for (double v : curve.values) {
        if (!isAbsentMarker(v) || v == curve.nullValue) continue;
        auto found = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == v; });
        if (found == counts.end()) {
          counts.emplace_back(v, 1);
        } else {
          ++found->second;
        }
      }
      for (const auto& [value, count] : counts) {
        auto found = std::find_if(markers.begin(), markers.end(), [&](const auto& m) { return m.first == value; });
        if (found == markers.end()) found = markers.insert(markers.end(), {value, ""});
        found->second += (found->second.empty() ? "" : ", ") + curve.name + " " + std::to_string(count);
      }
    }
  }
  for (const auto& [value, curves] : markers) {
    notes.push_back("values of " + label(value) + " shown as missing: " + curves);
  }
  for (const Pick& pick : plot.picks) {
    if (!frame.within(pick.at)) {
      notes.push_back("pick " + pick.name + " at " + label(pick.at) + " " + plot.axisUnit +
                      " lies outside the plotted interval");
    }
  }
  return notes;
}

// Notes broken into lines that fit the plot's width, at spaces.
std::vector<std::string> noteLines(const LogPlot& plot, const Frame& frame) {
  const auto fits = static_cast<std::size_t>(std::max(20.0, (frame.right - frame.left) / kCharacterWidth));
  std::vector<std::string> lines;
  for (std::string note : notesOf(plot, frame)) {
    while (note.size() > fits) {
      std::size_t cut = note.rfind(' ', fits);
      if (cut == std::string::npos || cut == 0) cut = fits;
      lines.push_back(note.substr(0, cut));
      note.erase(0, note[cut] == ' ' ? cut + 1 : cut);
      note.insert(0, "  ");  // continued lines stand in
    }
    lines.push_back(note);
  }
  return lines;
}

void drawAxisTrack(const LogPlot& plot, const Frame& frame, Canvas& canvas) {
  const Rect area = frame.axisTrack();
  canvas.beginGroup("axis-track", plot.axisName);
  const double middle = area.x + area.width / 2.0;
  const double headerBottom = frame.dataTop - 6.0;
  canvas.text({middle, headerBottom - 16.0}, plot.axisName, {12.0, Anchor::middle, "#000000", true}, "axis-label");
  canvas.text({middle, headerBottom - 2.0}, plot.axisUnit, {10.0, Anchor::middle}, "axis-label");
  const Stroke frameStroke{kFrameColour, 1.0};
  canvas.rect(area, &frameStroke, "", "frame");
  frame.ticks(frame.axis.minor, [&](double value, long) {
    const double y = frame.y(value);
    canvas.line({area.x + area.width - 5.0, y}, {area.x + area.width, y}, {kFrameColour, 0.8}, "tick");
  });
  frame.ticks(frame.axis.major, [&](double value, long) {
    const double y = frame.y(value);
    canvas.line({area.x + area.width - 10.0, y}, {area.x + area.width, y}, {kFrameColour, 1.0}, "tick");
    canvas.text({area.x + area.width - 13.0, y + 4.0}, label(value), {11.0, Anchor::end}, "axis-tick");
  });
  canvas.endGroup();
}

void drawCurveHeader(const Curve& curve, const Rect& band, Canvas& canvas) {
  canvas.beginGroup("curve-header", curve.name);
  std::string title = curve.unit.empty() ? curve.name : curve.name + " (" + curve.unit + ")";
  // A name longer than its track is cut rather than run into the next header.
  const auto fits = static_cast<std::size_t>(std::max(4.0, (band.width - 8.0) / kBoldCharacterWidth));
  if (title.size() > fits) {
    std::size_t cut = fits - 1;
    while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 letter
    title = title.substr(0, cut) + "\u2026";
  }
  canvas.text({band.x + band.width / 2.0, band.y + 13.0}, title, {11.0, Anchor::middle, curve.colour, true},
              "curve-name", curve.name);
  canvas.line({band.x + 4.0, band.y + 19.0}, {band.x + band.width - 4.0, band.y + 19.0}, {curve.colour, 1.6},
              "curve-key");
  const std::string_view role = curve.scale.logarithmic ? "scale-end log" : "scale-end";
  canvas.text({band.x + 4.0, band.y + 31.0}, label(curve.scale.left), {10.0, Anchor::start}, role);
  canvas.text({band.x + band.width - 4.0, band.y + 31.0}, label(curve.scale.right), {10.0, Anchor::end}, role);
  canvas.endGroup();
}

// Vertical grid lines of a track, read off its first curve's scale: tenths of a linear
// scale; 1 to 9 of each decade of a logarithmic one, the decades themselves darker.
void drawValueGrid(const Scale& scale, const Rect& area, Canvas& canvas) {
  auto vertical = [&](double position, std::string_view colour, std::string_view role) {
    if (position <= 1e-6 || position >= 1.0 - 1e-6) return;  // the frame draws the edges
    const double x = area.x + position * area.width;
    canvas.line({x, area.y}, {x, area.y + area.height}, {colour, 0.7}, role);
  };
  if (!scale.logarithmic) {
    for (int i = 1; i < 10; ++i) vertical(i / 10.0, kGridColour, "grid");
    return;
  }
  const double low = std::min(scale.left, scale.right);
  const double high = std::max(scale.left, scale.right);
  for (double decade = std::pow(10.0, std::floor(std::log10(low) + 1e-9)); decade <= high * (1 + 1e-9);
       decade *= 10.0) {
    for (int m = 1; m < 10; ++m) {
      const double value = decade * m;
      if (value < low * (1 - 1e-9) || value > high * (1 + 1e-9)) continue;
      vertical(scale.position(value), m == 1 ? kMajorGridColour : kGridColour, m == 1 ? "grid decade" : "grid");
    }
  }
}

void drawDepthGrid(const Frame& frame, const Rect& area, Canvas& canvas) {
  const long perMajor = std::lround(frame.axis.major / frame.axis.minor);
  frame.ticks(frame.axis.minor, [&](double value, long k) {
    const bool major = k % perMajor == 0;
    const double y = frame.y(value);
    canvas.line({area.x, y}, {area.x + area.width, y}, {major ? kMajorGridColour : kGridColour, 0.7},
                major ? "grid major" : "grid");
  });
}

// Keeps at most four points per pixel row of a run (the first, the leftmost, the rightmost
// and the last, in their order): a curve of a million samples draws as fast as one of a few
// thousand and keeps every spike.
std::vector<Point> thinned(std::vector<Point> run) {
  if (run.size() <= 4) return run;
  std::vector<Point> kept;
  std::size_t begin = 0;
  while (begin < run.size()) {
    const double row = std::floor(run[begin].y);
    std::size_t end = begin + 1;
    std::size_t leftmost = begin;
    std::size_t rightmost = begin;
    while (end < run.size() && std::floor(run[end].y) == row) {
      if (run[end].x < run[leftmost].x) leftmost = end;
      if (run[end].x > run[rightmost].x) rightmost = end;
      ++end;
    }
    std::size_t picks[4] = {begin, leftmost, rightmost, end - 1};
    std::sort(picks, picks + 4);
    for (std::size_t i = 0; i < 4; ++i) {
      if (i == 0 || picks[i] != picks[i - 1]) kept.push_back(run[picks[i]]);
    }
    begin = end;
  }
  return kept;
}

// The curve's runs of placeable samples; a missing or unplaceable value breaks the line.
std::vector<std::vector<Point>> runsOf(const Curve& curve, const Rect& area, const Frame& frame) {
  std::vector<std::vector<Point>> runs;
  std::vector<Point> run;
  auto close = [&]() {
    if (run.size() == 1) run.push_back({run.front().x, run.front().y + 0.5});  // a lone sample shows as a dot
    if (!run.empty()) runs.push_back(thinned(std::move(run)));
    run.clear();
  };
  const std::size_t n = std::min(curve.index.size(), curve.values.size());
  for (std::size_t i = 0; i < n; ++i) {
    const double position = curve.missing(i) ? NAN : curve.scale.position(curve.values[i]);
    if (std::isnan(position) || !std::isfinite(curve.index[i])) {
      close();
      continue;
    }
    // Far off-scale values are held just beyond the edge: the clip hides them, and the
    // numbers stay within what every renderer handles.
    const double x = area.x + std::clamp(position, -1.0, 2.0) * area.width;
    run.push_back({x, frame.y(curve.index[i])});
  }
  close();
  return runs;
}

void drawTrack(const Track& track, std::size_t i, const Frame& frame, Canvas& canvas) {
  const Rect area = frame.track(i);
  std::string names;
  for (const Curve& curve : track.curves) names += (names.empty() ? "" : ",") + curve.name;
  canvas.beginGroup("track", names);
  for (std::size_t c = 0; c < track.curves.size(); ++c) {
    const Rect band{area.x, frame.headerTop + static_cast<double>(c) * frame.layout.curveHeaderHeight, area.width,
                    frame.layout.curveHeaderHeight};
    drawCurveHeader(track.curves[c], band, canvas);
  }
  if (!track.curves.empty()) drawValueGrid(track.curves.front().scale, area, canvas);
  drawDepthGrid(frame, area, canvas);
  canvas.beginGroup("curves", names, &area);
  for (const Curve& curve : track.curves) {
    canvas.path(runsOf(curve, area, frame), {curve.colour, 1.2}, "curve", curve.name);
  }
  canvas.endGroup();
  const Stroke frameStroke{kFrameColour, 1.0};
  canvas.rect(area, &frameStroke, "", "frame");
  canvas.endGroup();
}

void drawPicks(const LogPlot& plot, const Frame& frame, Canvas& canvas) {
  for (const Pick& pick : plot.picks) {
    if (!frame.within(pick.at)) continue;
    const double y = frame.y(pick.at);
    canvas.beginGroup("pick-group", pick.name);
    canvas.line({frame.left, y}, {frame.right, y}, {pick.colour, 1.4, true}, "pick");
    canvas.text({frame.right - 4.0, y - 4.0}, pick.name, {11.0, Anchor::end, pick.colour, true, true}, "pick-label",
                pick.name);
    canvas.endGroup();
  }
}

}  // namespace

Size sizeOf(const LogPlot& plot, const Layout& layout) {
  const Frame frame(plot, layout);
  const double notes = static_cast<double>(noteLines(plot, frame).size()) * layout.noteHeight;
  return {frame.right + layout.margin, frame.dataBottom + (notes > 0 ? notes + 8.0 : 0.0) + layout.margin};
}

void draw(const LogPlot& plot, const Layout& layout, Canvas& canvas) {
  const Frame frame(plot, layout);
  const Size size = sizeOf(plot, layout);
  canvas.rect({0.0, 0.0, size.width, size.height}, nullptr, "#ffffff", "background");
  canvas.text({frame.left, layout.margin + 16.0}, plot.title, {15.0, Anchor::start, "#000000", true}, "title");
  drawAxisTrack(plot, frame, canvas);
  for (std::size_t i = 0; i < plot.tracks.size(); ++i) drawTrack(plot.tracks[i], i, frame, canvas);
  drawPicks(plot, frame, canvas);
  double y = frame.dataBottom + 8.0;
  for (const std::string& note : noteLines(plot, frame)) {
    y += layout.noteHeight;
    canvas.text({frame.left, y - 4.0}, note, {11.0, Anchor::start, "#5a5a5a"}, "note");
  }
}

}  // namespace kelwell::plot
