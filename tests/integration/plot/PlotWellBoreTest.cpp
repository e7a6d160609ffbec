// kelwell plot's drawing of a wellbore against a real kelwelld: two traces and a pick, in MD
// and TVD, as SVG read back and as PNG; the refusals a person gets.
#include "LibraryFixture.h"
#include "Plot.h"
#include "SvgDocument.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kel_WellLogTrace.h"
#include "kel_WellPick.h"
#include "kel_WellVelocity.h"

namespace {

using kelwell::plot::plotWellBore;
using kelwell::plot::PlotRequest;
using plot_test::pointsOf;
using plot_test::SvgDocument;
using plot_test::SvgElement;
using Trace = kel_WellLogTrace;

constexpr float kNull = -999.25f;

kel_Array<float> floats(const std::vector<float>& values) {
  kel_Array<float> array;
  array.assign(values.data(), static_cast<unsigned>(values.size()));
  return array;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct PlotWellBoreTest : kelwell_test::LibraryFixture {
  PlotWellBoreTest() : LibraryFixture("tester", "Plots") {}

  kel_Well well = newWell("F/3-2", "UWI-PLOT");
  kel_WellBore bore = newBore(well, "00");

  // A trace every metre from 1000 m to 1100 m.
  Trace newTrace(const char* name, const char* unit, float first, float step) {
    std::vector<float> index;
    std::vector<float> values;
    for (int i = 0; i <= 100; ++i) {
      index.push_back(1000.0f + static_cast<float>(i));
      values.push_back(i == 50 ? kNull : first + step * static_cast<float>(i));
    }
    Trace::TraceData data;
    data.index = kel_FloatQuantities(kel_Unit::getUnit("m"), floats(index));
    kel_Array<kel_Array<float>> inner(1);
    inner.set(0, floats(values));
    data.trace = kel_FloatQuantitiesSeq(kel_Unit::getUnit(unit), inner);
    data.indexKind = Trace::INDEX_KIND_0;
    return Trace::createNewWellLogTrace(bore, name, name, "test", data, kNull, session);
  }

  void logged() {
    newTrace("GR", "gAPI", 30.0f, 1.0f);
    newTrace("ILD", "ohm.m", 1.0f, 0.5f);
    const kel_WellPick::PickValue top{kel_FloatQuantity(kel_Unit::getUnit("m"), 1042.0f),
                                      kel_WellPick::PICK_REFERENCE_0};
    kel_WellPick::createNewWellPick(bore, "Top Chalk", "formation top", "tester", top, session);
  }

  static std::string out(const char* name) { return ::testing::TempDir() + name; }

  // The plot's SVG, drawn through plotWellBore.
  SvgDocument plotted(const std::string& index, const std::vector<std::string>& curves = {}) {
    const std::string path = out("plot_wellbore_test.svg");
    plotWellBore(bore, {path, curves, index});
    const std::string svg = readFile(path);
    std::remove(path.c_str());
    return SvgDocument(svg);
  }

  // The message plotWellBore refuses with.
  std::string refusal(const PlotRequest& request) {
    try {
      plotWellBore(bore, request);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "(drawn)";
  }
};

std::vector<std::string> trackNames(const SvgDocument& svg) {
  std::vector<std::string> names;
  for (const SvgElement& g : svg.all("g", "track")) names.push_back(g.attr("data-name"));
  return names;
}

TEST_F(PlotWellBoreTest, TracesAndPicksAreDrawnAlongMeasuredAndVerticalDepth) {
  logged();
  for (const char* index : {"md", "tvd", "MD"}) {
    const SvgDocument svg = plotted(index);
    EXPECT_EQ((std::vector<std::string>{"GR", "ILD"}), trackNames(svg)) << index;
    EXPECT_EQ((std::vector<std::string>{"UWI-PLOT / 00"}), svg.texts("title"));  // well and wellbore
    EXPECT_EQ(std::string(index) == "tvd" ? "TVD" : "MD", svg.texts("axis-label").at(0));
    EXPECT_EQ("m", svg.texts("axis-label").at(1));
    EXPECT_EQ((std::vector<std::string>{"GR (gAPI)", "ILD (ohm.m)"}), svg.texts("curve-name"));
    EXPECT_EQ((std::vector<std::string>{"0", "150", "0.2", "2000"}), svg.texts("scale-end"));
    EXPECT_EQ((std::vector<std::string>{"Top Chalk"}), svg.texts("pick-label"));
    // The null value at 1050 m splits each curve in two.
    for (const SvgElement& path : svg.all("path", "curve")) {
      EXPECT_EQ(2, pointsOf(path.attr("d")).runs) << path.attr("data-curve");
    }
    // A vertical hole: the pick at 1042 m lies 42 % of the way down 1000-1100 m.
    const SvgElement track = svg.all("rect", "frame").at(1);
    const double y = svg.all("line", "pick").at(0).number("y1");
    EXPECT_NEAR(track.number("y") + 0.42 * track.number("height"), y, 0.01) << index;
  }
}

TEST_F(PlotWellBoreTest, TwoWayTimeTakesTheWellboresVelocityFunction) {
  logged();
  bore.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_4);  // at sea level: TVD is TVDSS
  auto list = [](const char* unit, const std::vector<float>& values) {
    return kel_FloatQuantities(kel_Unit::getUnit(unit), floats(values));
  };
  // 2000 m/s: a depth in metres is its two-way time in milliseconds.
  const kel_WellVelocity::WellVelocityData data{list("s", {0.0f, 2.0f}), list("m", {0.0f, 2000.0f}),
                                                list("m/s", {}), list("m/s", {}), list("m/s", {})};
  bore.setDefaultWellVelocity(kel_WellVelocity::createNewWellVelocity(
      bore, "checkshots", "survey", kel_FloatQuantity(kel_Unit::getUnit("m"), 0.0f), data, session));

  const SvgDocument svg = plotted("twt");
  EXPECT_EQ((std::vector<std::string>{"TWT", "ms"}), svg.texts("axis-label"));
  EXPECT_EQ((std::vector<std::string>{"GR", "ILD"}), trackNames(svg));
  EXPECT_EQ("1000", svg.texts("axis-tick").front());
  EXPECT_EQ("1100", svg.texts("axis-tick").back());
  const SvgElement track = svg.all("rect", "frame").at(1);
  EXPECT_NEAR(track.number("y") + 0.42 * track.number("height"), svg.all("line", "pick").at(0).number("y1"), 0.05);
}

TEST_F(PlotWellBoreTest, OnlyTheCurvesAskedForAreDrawnWhateverTheirCase) {
  logged();
  EXPECT_EQ((std::vector<std::string>{"ILD"}), trackNames(plotted("md", {"ild"})));
  EXPECT_EQ((std::vector<std::string>{"GR", "ILD"}), trackNames(plotted("md", {"ILD", "GR", "ILD"})));
}

TEST_F(PlotWellBoreTest, APngIsWritten) {
  logged();
  const std::string path = out("plot_wellbore_test.png");
  plotWellBore(bore, {path, {}, "md"});
  const std::string png = readFile(path);
  EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
  std::remove(path.c_str());
}

TEST_F(PlotWellBoreTest, WhatCannotBePlottedIsRefusedWithTheReason) {
  logged();
  const std::string svg = out("plot_wellbore_refused.svg");
  const struct {
    PlotRequest request;
    std::string message;
  } cases[] = {
      {{svg, {"GR", "NPHI"}, "md"},
       "cannot plot: wellbore 00 has no log trace named \"NPHI\"; its traces are GR, ILD"},
      {{svg, {}, "twt"},
       "cannot plot in two-way time: wellbore 00 has no velocity function to relate depths and times"},
      {{svg, {}, "depth"}, "cannot plot along \"depth\": the index is md, tvd or twt"},
      {{out("plot.pdf"), {}, "md"}, "cannot plot into " + out("plot.pdf") + ": the file name must end in .svg or .png"},
      {{"/nonexistent-folder/plot.svg", {}, "md"},
       "cannot write /nonexistent-folder/plot.svg: No such file or directory"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.message, refusal(c.request));
    EXPECT_FALSE(std::ifstream(c.request.out).good()) << c.request.out;
  }
}

TEST_F(PlotWellBoreTest, AWellboreWithoutTracesIsRefused) {
  EXPECT_EQ(std::string("cannot plot: wellbore 00 has no log traces"),
            refusal({out("plot_wellbore_empty.svg"), {}, "md"}));
}

}  // namespace
