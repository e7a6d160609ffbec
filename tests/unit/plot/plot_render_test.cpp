// The log plot without a service: kinds of log and their scales, tracks, and the SVG and PNG
// renderings of hand-made plots read back for their tracks, curves, labels, grids and picks;
// a real LAS file rendered to PNG.
#include "Canvas.h"
#include "Las.h"
#include "LogPlot.h"
#include "SvgDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace kelwell::plot;
using plot_test::pointsOf;
using plot_test::SvgDocument;
using plot_test::SvgElement;

constexpr double kNull = -999.25;

// A curve sampled every metre from `top`, one value per entry.
Curve curve(const std::string& name, const std::string& unit, std::vector<double> values, double top = 1000.0) {
  Curve c;
  c.name = name;
  c.unit = unit;
  c.values = std::move(values);
  for (std::size_t i = 0; i < c.values.size(); ++i) c.index.push_back(top + static_cast<double>(i));
  c.nullValue = kNull;
  return c;
}

// n values running evenly from first to last.
std::vector<double> ramp(double first, double last, std::size_t n = 201) {
  std::vector<double> values(n);
  for (std::size_t i = 0; i < n; ++i) values[i] = first + (last - first) * static_cast<double>(i) / (n - 1.0);
  return values;
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

class PlotTest : public ::testing::Test {
 protected:
  // Three tracks over 1000-1200 m: GR; ILD and LLS; RHOB and NPHI. A pick inside, one below.
  static LogPlot wellPlot() {
    LogPlot plot;
    plot.title = "F/3-2 / 00";
    plot.axisName = "MD";
    plot.axisUnit = "m";
    plot.tracks = arrange({curve("GR", "gAPI", ramp(20, 130)), curve("ILD", "ohm.m", ramp(1, 100)),
                           curve("RHOB", "g/cm3", ramp(2.1, 2.6)), curve("LLS", "ohm.m", ramp(2, 50)),
                           curve("NPHI", "v/v", ramp(0.4, 0.05))});
    plot.picks = {{"Top Chalk", 1100.0, "#1f4fb4"}, {"Base Deep", 5000.0, "#1f4fb4"}};
    return plot;
  }

  static const Curve& only(const LogPlot& plot) { return plot.tracks.at(0).curves.at(0); }

  // The curve's path in the SVG.
  static SvgElement pathOf(const SvgDocument& svg, const std::string& name) {
    for (const SvgElement& e : svg.all("path", "curve")) {
      if (e.attr("data-curve") == name) return e;
    }
    ADD_FAILURE() << "no path for curve " << name;
    return {};
  }

  // The left edge and width of the track holding curve `name`.
  static std::pair<double, double> trackSpan(const SvgDocument& svg, const std::string& name) {
    for (const SvgElement& e : svg.all("rect", "frame")) {
      const std::string names = e.groupName("track");
      if (("," + names + ",").find("," + name + ",") != std::string::npos) return {e.number("x"), e.number("width")};
    }
    ADD_FAILURE() << "no track holds " << name;
    return {0.0, 1.0};
  }
};

// ---------------------------------------------------------------------------------------------
// Kinds of log, scales and tracks.

TEST_F(PlotTest, CurvesAreToldApartByUnitFirstAndMnemonicElse) {
  const struct {
    const char* name;
    const char* unit;
    Family family;
  } cases[] = {
      {"GR", "gAPI", Family::gamma},           {"CGR", "", Family::gamma},
      {"POTA", "GAPI", Family::gamma},         {"ILD", "OHMM", Family::resistivity},
      {"AF90", "ohm.m", Family::resistivity},  {"RT", "", Family::resistivity},
      {"Deep", "ohm-m", Family::resistivity},  {"NPHI", "LPU", Family::porosity},
      {"DPHI_SAN", "m3/m3", Family::porosity}, {"RHOB", "G/C3", Family::density},
      {"PEF", "b/e", Family::density},         {"DT", "US/F", Family::sonic},
      {"DTS", "us/ft", Family::sonic},         {"SP", "mV", Family::spontaneous},
      {"CALI", "in", Family::caliper},         {"BS", "in", Family::caliper},
      {"GR:2", "", Family::gamma},             {"TEMP", "degC", Family::other},
  };
  for (const auto& c : cases) EXPECT_EQ(c.family, familyOf(c.name, c.unit)) << c.name << " " << c.unit;
}

TEST_F(PlotTest, ScalesAreTheCustomaryOnesWidenedOnlyWhenTheDataLeaveThem) {
  const struct {
    Curve curve;
    Scale expected;
  } cases[] = {
      {curve("GR", "gAPI", ramp(20, 130)), {0, 150, false}},
      {curve("GR", "gAPI", ramp(20, 290)), {0, 300, false}},  // a hot shale: widened to round numbers
      {curve("ILD", "ohm.m", ramp(1, 100)), {0.2, 2000, true}},
      {curve("ILD", "ohm.m", ramp(0.03, 2)), {0.02, 2000, true}},  // a whole decade more where needed
      {curve("ILD", "ohm.m", ramp(0.3, 9000)), {0.2, 20000, true}},
      {curve("NPHI", "v/v", ramp(0.4, 0.05)), {0.45, -0.15, false}},
      {curve("NPHI", "pu", ramp(40, 5)), {45, -15, false}},
      {curve("RHOB", "g/cm3", ramp(2.0, 2.7)), {1.95, 2.95, false}},
      {curve("DT", "us/ft", ramp(60, 120)), {140, 40, false}},
      {curve("DT", "us/ft", ramp(60, 180)), {180, 40, false}},  // widened, still read right to left
      {curve("CALI", "in", ramp(8, 12)), {6, 16, false}},
      {curve("SP", "mV", ramp(-73, -12)), {-80, -10, false}},    // no customary scale: the data's
      {curve("TEMP", "degC", ramp(41, 44)), {41, 44, false}},
      {curve("TEMP", "degC", {kNull, kNull}), {0, 1, false}},  // nothing to go by
  };
  for (const auto& c : cases) {
    const Scale scale = scaleFor(c.curve);
    EXPECT_NEAR(c.expected.left, scale.left, 1e-9) << c.curve.name << " " << c.curve.values.back();
    EXPECT_NEAR(c.expected.right, scale.right, 1e-9) << c.curve.name << " " << c.curve.values.back();
    EXPECT_EQ(c.expected.logarithmic, scale.logarithmic) << c.curve.name;
  }
}

TEST_F(PlotTest, DataScalesLookPastSpikesAndNulls) {
  std::vector<double> values = ramp(41, 44, 1000);
  values[500] = 9999.0;  // one spike in a thousand
  values[501] = kNull;
  const Scale scale = scaleFor(curve("TEMP", "degC", values));
  EXPECT_NEAR(41.0, scale.left, 1e-9);
  EXPECT_NEAR(44.0, scale.right, 1e-9);
}

TEST_F(PlotTest, PositionsAcrossATrackFollowTheScale) {
  const struct {
    Scale scale;
    double value;
    double position;  // NaN: cannot be placed
  } cases[] = {
      {{0, 150, false}, 75, 0.5},         {{0, 150, false}, 300, 2.0},
      {{0.45, -0.15, false}, 0.15, 0.5},  {{0.2, 2000, true}, 20, 0.5},
      {{0.2, 2000, true}, 2, 0.25},       {{0.2, 2000, true}, 0, NAN},
      {{0.2, 2000, true}, -5, NAN},       {{0, 150, false}, NAN, NAN},
  };
  for (const auto& c : cases) {
    const double position = c.scale.position(c.value);
    if (std::isnan(c.position)) {
      EXPECT_TRUE(std::isnan(position)) << c.value;
    } else {
      EXPECT_NEAR(c.position, position, 1e-12) << c.value;
    }
  }
}

TEST_F(PlotTest, TracksFollowALogPrintWithAtMostThreeCurvesInTheOrderGiven) {
  const std::vector<Track> tracks =
      arrange({curve("DT", "us/ft", {90}), curve("AF10", "ohm.m", {5}), curve("RHOB", "g/cm3", {2.3}),
               curve("GR", "gAPI", {50}), curve("TEMP", "degC", {40}),
               curve("AF20", "ohm.m", {5}), curve("AF30", "ohm.m", {5}), curve("AF60", "ohm.m", {5}),
               curve("SP", "mV", {-20}), curve("CALI", "in", {8.5}), curve("NPHI", "v/v", {0.2})});
  std::vector<std::vector<std::string>> names;
  for (const Track& track : tracks) {
    names.emplace_back();
    for (const Curve& c : track.curves) names.back().push_back(c.name);
  }
  const std::vector<std::vector<std::string>> expected{
      {"GR", "SP", "CALI"}, {"AF10", "AF20", "AF30"}, {"AF60"}, {"RHOB", "NPHI"}, {"DT"}, {"TEMP"}};
  EXPECT_EQ(expected, names);
  EXPECT_TRUE(tracks[1].curves[0].scale.logarithmic);
  EXPECT_NE(tracks[1].curves[0].colour, tracks[1].curves[1].colour);
  EXPECT_NE(tracks[1].curves[1].colour, tracks[1].curves[2].colour);
}

// ---------------------------------------------------------------------------------------------
// The SVG rendering.

TEST_F(PlotTest, SvgHasAnAxisTrackAndOneTrackPerGroupWithCurveHeaders) {
  const SvgDocument svg(renderSvg(wellPlot()));
  std::vector<std::string> tracks;
  for (const SvgElement& g : svg.all("g", "track")) tracks.push_back(g.attr("data-name"));
  EXPECT_EQ((std::vector<std::string>{"GR", "ILD,LLS", "RHOB,NPHI"}), tracks);
  EXPECT_EQ((std::vector<std::string>{"MD", "m"}), svg.texts("axis-label"));
  EXPECT_EQ((std::vector<std::string>{"F/3-2 / 00"}), svg.texts("title"));
  EXPECT_EQ((std::vector<std::string>{"GR (gAPI)", "ILD (ohm.m)", "LLS (ohm.m)", "RHOB (g/cm3)", "NPHI (v/v)"}),
            svg.texts("curve-name"));
  EXPECT_EQ((std::vector<std::string>{"0", "150", "0.2", "2000", "0.2", "2000", "1.95", "2.95", "0.45", "-0.15"}),
            svg.texts("scale-end"));
  for (const std::string name : {"GR", "ILD", "LLS", "RHOB", "NPHI"}) {
    const SvgElement path = pathOf(svg, name);
    EXPECT_TRUE(path.inGroup("curves")) << name << " is drawn within its track's clip";
    EXPECT_FALSE(path.attr("d").empty()) << name;
  }
}

TEST_F(PlotTest, TheAxisIncreasesDownwardsWithRoundLabels) {
  const SvgDocument svg(renderSvg(wellPlot()));
  std::vector<std::pair<double, double>> ticks;  // (y, value)
  for (const SvgElement& e : svg.all("text", "axis-tick")) ticks.emplace_back(e.number("y"), std::stod(e.text));
  ASSERT_GE(ticks.size(), 5u);
  EXPECT_EQ(1000.0, ticks.front().second);
  EXPECT_EQ(1200.0, ticks.back().second);
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    EXPECT_GT(ticks[i].first, ticks[i - 1].first);
    EXPECT_GT(ticks[i].second, ticks[i - 1].second);
    EXPECT_NEAR(ticks[1].second - ticks[0].second, ticks[i].second - ticks[i - 1].second, 1e-9);
  }
  // Every track draws the same major lines across at the labels' depths.
  const auto majors = svg.all("line", "major");
  EXPECT_EQ(ticks.size() * 3, majors.size());
}

TEST_F(PlotTest, CurvesArePlacedByTheirScaleAndDepth) {
  LogPlot plot = wellPlot();
  const SvgDocument svg(renderSvg(plot));
  const auto [left, width] = trackSpan(svg, "GR");
  const auto gr = pointsOf(pathOf(svg, "GR").attr("d")).points;
  ASSERT_FALSE(gr.empty());
  // GR starts at 20 gAPI at 1000 m, the top of the axis, and ends at 130 gAPI at 1200 m.
  EXPECT_NEAR(left + width * 20.0 / 150.0, gr.front().first, 0.01);
  EXPECT_NEAR(left + width * 130.0 / 150.0, gr.back().first, 0.01);
  const SvgElement top = svg.all("text", "axis-tick").front();
  EXPECT_NEAR(top.number("y") - 4.0, gr.front().second, 0.01);
  // NPHI reads right to left: 0.4 lies near the left edge.
  const auto [nLeft, nWidth] = trackSpan(svg, "NPHI");
  EXPECT_NEAR(nLeft + nWidth * (0.45 - 0.4) / 0.6, pointsOf(pathOf(svg, "NPHI").attr("d")).points.front().first, 0.01);
  // ILD on 0.2-2000: 1 ohm.m lies 0.7 / 4 decades across.
  const auto [rLeft, rWidth] = trackSpan(svg, "ILD");
  EXPECT_NEAR(rLeft + rWidth * std::log10(5.0) / 4.0, pointsOf(pathOf(svg, "ILD").attr("d")).points.front().first,
              0.01);
}

TEST_F(PlotTest, LogarithmicTracksDrawTheirDecadesAndLinearTracksTenths) {
  const SvgDocument svg(renderSvg(wellPlot()));
  std::map<std::string, int> decades;
  std::map<std::string, int> verticals;
  for (const SvgElement& e : svg.all("line", "grid")) {
    if (e.number("x1") != e.number("x2")) continue;  // horizontal depth lines
    ++verticals[e.groupName("track")];
    if (e.hasClass("decade")) ++decades[e.groupName("track")];
  }
  EXPECT_EQ(4, decades["ILD,LLS"]);  // 1, 10, 100 and 1000 on 0.2-2000
  EXPECT_EQ(4 + 4 * 8 - 1, verticals["ILD,LLS"]);  // 0.3 ... 0.9, then 1 ... 9 of three decades, then 1000
  EXPECT_EQ(9, verticals["GR"]);
  EXPECT_EQ(0, decades["GR"]);
}

TEST_F(PlotTest, MissingValuesLeaveGaps) {
  const struct {
    std::vector<double> values;
    const char* unit;
    int runs;
  } cases[] = {
      {{50, 60, 70, 80}, "gAPI", 1},
      {{50, kNull, 70, 80}, "gAPI", 2},
      {{50, NAN, 70, 80, kNull, kNull, 60, 65}, "gAPI", 3},
      {{kNull, 60, 70, kNull}, "gAPI", 1},
      {{10, 0, 20, -3, 30}, "ohm.m", 3},  // not above 0: nowhere on a logarithmic scale
      {{kNull, kNull}, "gAPI", 0},
  };
  for (const auto& c : cases) {
    LogPlot plot;
    plot.tracks = arrange({curve("C", c.unit, c.values)});
    const SvgDocument svg(renderSvg(plot));
    EXPECT_EQ(c.runs, pointsOf(pathOf(svg, "C").attr("d")).runs) << c.values.size() << " values in " << c.unit;
  }
}

TEST_F(PlotTest, AbsentValueMarkersAreGapsAndNamedInTheNotes) {
  // A header declaring -999.25 over data holding -9999, as real files do.
  LogPlot plot;
  plot.tracks = arrange({curve("GR", "gAPI", {-9999, 50, 60, -9999, 70, 80, -999.25}),
                         curve("SP", "mV", {-20, -30, -9999, -40, -99999, -50, -60})});
  const SvgDocument svg(renderSvg(plot));
  EXPECT_EQ(2, pointsOf(pathOf(svg, "GR").attr("d")).runs);
  EXPECT_EQ(3, pointsOf(pathOf(svg, "SP").attr("d")).runs);
  EXPECT_NEAR(-20.0, plot.tracks[0].curves[1].scale.right, 1e-9);  // the markers do not stretch the scale
  EXPECT_EQ((std::vector<std::string>{"values of -9999 shown as missing: GR 2, SP 1",
                                      "values of -99999 shown as missing: SP 1"}),
            svg.texts("note"));
}

TEST_F(PlotTest, LongCurvesAreThinnedToThePixelRowsAndKeepTheirSpikes) {
  std::vector<double> values(200000, 60.0);
  values[123457] = 145.0;
  LogPlot plot;
  plot.tracks = arrange({curve("GR", "gAPI", values, 0.0)});
  const SvgDocument svg(renderSvg(plot));
  const auto points = pointsOf(pathOf(svg, "GR").attr("d")).points;
  EXPECT_LT(points.size(), 4u * 1401u);
  const auto [left, width] = trackSpan(svg, "GR");
  const double rightmost =
      std::max_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.first < b.first; })->first;
  EXPECT_NEAR(left + width * 145.0 / 150.0, rightmost, 0.01);
}

TEST_F(PlotTest, PicksAreLabelledLinesAcrossEveryTrackAtTheirDepth) {
  const SvgDocument svg(renderSvg(wellPlot()));
  const auto lines = svg.all("line", "pick");
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ("Top Chalk", lines[0].groupName("pick-group"));
  EXPECT_EQ((std::vector<std::string>{"Top Chalk"}), svg.texts("pick-label"));
  // From the axis track's left edge to the last track's right edge, level with the 1100 label.
  double leftmost = 1e9;
  double rightmost = 0.0;
  for (const SvgElement& frame : svg.all("rect", "frame")) {
    leftmost = std::min(leftmost, frame.number("x"));
    rightmost = std::max(rightmost, frame.number("x") + frame.number("width"));
  }
  EXPECT_NEAR(leftmost, lines[0].number("x1"), 0.01);
  EXPECT_NEAR(rightmost, lines[0].number("x2"), 0.01);
  for (const SvgElement& tick : svg.all("text", "axis-tick")) {
    if (tick.text == "1100") {
      EXPECT_NEAR(tick.number("y") - 4.0, lines[0].number("y1"), 0.01);
    }
  }
  // The pick below the logged interval is named, not drawn.
  EXPECT_EQ((std::vector<std::string>{"pick Base Deep at 5000 m lies outside the plotted interval"}),
            svg.texts("note"));
}

TEST_F(PlotTest, NamesAreEscapedAndReadBackAsWritten) {
  LogPlot plot;
  plot.title = "A&B <well> \"1\"";
  plot.tracks = arrange({curve("R<&>\"'", "ohm.m", {5, 6})});
  plot.picks = {{"Top <&>", 1000.5}};
  const SvgDocument svg(renderSvg(plot));
  EXPECT_EQ((std::vector<std::string>{"A&B <well> \"1\""}), svg.texts("title"));
  EXPECT_EQ((std::vector<std::string>{"R<&>\"' (ohm.m)"}), svg.texts("curve-name"));
  EXPECT_EQ((std::vector<std::string>{"Top <&>"}), svg.texts("pick-label"));
  EXPECT_EQ("R<&>\"'", svg.all("path", "curve").at(0).attr("data-curve"));
}

TEST_F(PlotTest, HeadersLongerThanTheirTrackAreCutAndPickLabelsStandOut) {
  // The cut falls inside the two bytes of the A with a ring, and moves before it.
  const std::string name = "AIT_90_INCH_INVESTIGATION_\u00c5_RESISTIVITY";
  LogPlot plot;
  plot.tracks = arrange({curve(name, "ohm.m", {5, 6})});
  plot.picks = {{"Top", 1000.5}};
  const SvgDocument svg(renderSvg(plot));
  const SvgElement header = svg.all("text", "curve-name").at(0);
  EXPECT_EQ(name, header.attr("data-name"));
  EXPECT_EQ(name.substr(0, 26) + "\u2026", header.text);
  EXPECT_EQ("stroke", svg.all("text", "pick-label").at(0).attr("paint-order"));  // the white halo under the name
}

TEST_F(PlotTest, APlotWithoutSamplesStillRenders) {
  LogPlot plot;
  plot.axisName = "TWT";
  plot.axisUnit = "ms";
  plot.tracks = arrange({curve("GR", "gAPI", {})});
  plot.picks = {{"Horizon", 1500.0}};
  const SvgDocument svg(renderSvg(plot));
  EXPECT_EQ(1u, svg.all("g", "track").size());
  EXPECT_EQ(1u, svg.all("line", "pick").size());  // the axis falls back to the picks
}

// ---------------------------------------------------------------------------------------------
// PNG and files.

TEST_F(PlotTest, PngIsAnImageOfThePlotsSize) {
  const LogPlot plot = wellPlot();
  const std::string png = renderPng(plot);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
  EXPECT_EQ("IHDR", png.substr(12, 4));
  const Size size = sizeOf(plot, Layout{});
  EXPECT_EQ(static_cast<std::uint32_t>(std::ceil(size.width)), bigEndian(png, 16));
  EXPECT_EQ(static_cast<std::uint32_t>(std::ceil(size.height)), bigEndian(png, 20));
  const SvgDocument svg(renderSvg(plot));
  EXPECT_NEAR(size.width, svg.all("svg").at(0).number("width"), 0.01);
}

TEST_F(PlotTest, FilesGetTheFormatTheirNameAsksFor) {
  const struct {
    const char* path;
    bool accepted;
    Format format;
  } cases[] = {
      {"a.svg", true, Format::svg}, {"dir/b.PNG", true, Format::png}, {"c.Svg", true, Format::svg},
      {"d.pdf", false, {}},         {"png", false, {}},               {"", false, {}},
  };
  for (const auto& c : cases) {
    if (c.accepted) {
      EXPECT_EQ(c.format, formatOf(c.path)) << c.path;
    } else {
      try {
        formatOf(c.path);
        ADD_FAILURE() << c.path << " accepted";
      } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("must end in .svg or .png")) << e.what();
      }
    }
  }
}

TEST_F(PlotTest, WrittenFilesAreWholeAndAFailedWriteSaysWhy) {
  const LogPlot plot = wellPlot();
  const std::string svgPath = ::testing::TempDir() + "plot_render_test.svg";
  writePlot(plot, svgPath);
  EXPECT_EQ(renderSvg(plot), readBytes(svgPath));
  EXPECT_FALSE(std::ifstream(svgPath + ".part").good());
  const std::string pngPath = ::testing::TempDir() + "plot_render_test.png";
  writePlot(plot, pngPath);
  EXPECT_EQ(renderPng(plot), readBytes(pngPath));

  try {
    writePlot(plot, "/nonexistent-folder/plot.svg");
    ADD_FAILURE() << "written";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string("cannot write /nonexistent-folder/plot.svg: No such file or directory"), e.what());
  }
  std::remove(svgPath.c_str());
  std::remove(pngPath.c_str());
}

// ---------------------------------------------------------------------------------------------
// A real log: every curve of a LAS file, arranged and drawn.

LogPlot plotOfLas(const std::string& file) {
  const kelwell::las::LasFile las = kelwell::las::readFile(std::string(KELWELL_LAS_DATA_DIR) + "/" + file);
  const kelwell::las::CurveSet& logs = las.logs();
  LogPlot plot;
  plot.title = file;
  plot.axisName = "MD";
  plot.axisUnit = las.index().unit;
  std::vector<Curve> curves;
  for (std::size_t c = 1; c < logs.curves.size(); ++c) {
    Curve curve;
    curve.name = logs.curves[c].mnemonic;
    curve.unit = logs.curves[c].unit;
    curve.index = las.index().doubles;
    curve.values = logs.curves[c].doubles;
    curve.nullValue = las.nullValue.value_or(NAN);
    curves.push_back(std::move(curve));
  }
  plot.tracks = arrange(std::move(curves));
  plot.picks = {{"Marker", 500.0}};
  return plot;
}

TEST_F(PlotTest, ARealLogRendersEveryCurveInTracksByKind) {
  const LogPlot plot = plotOfLas("P-135_out.LAS");
  writePlot(plot, std::string(KELWELL_PLOT_PICTURE_DIR) + "/P-135_out.png");
  const SvgDocument svg(renderSvg(plot));
  EXPECT_EQ(22u, svg.all("path", "curve").size());
  std::vector<std::string> tracks;
  for (const SvgElement& g : svg.all("g", "track")) tracks.push_back(g.attr("data-name"));
  EXPECT_EQ((std::vector<std::string>{"CALI,GR,POTA", "THOR,URAN,SP", "AMF,AF90,AF10", "AF20,AF60,AF30", "RXOZ",
                                      "DPHI_SAN,DPHI_LIM,DPHI_DOL", "NPHI_SAN,NPHI_LIM,NPHI_DOL", "RHOB", "DT,DTS"}),
            tracks);
}

}  // namespace
