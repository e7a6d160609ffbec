// Depth and time kinds: each step asks only for the values it needs.
#include "Kinds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace kelwelld::engine;

struct KindCase {
  const char* name;
  VerticalReference reference;
  DepthKind from, to;
  double value;
  double expected;           // when `refusal` is empty
  const char* refusal = "";  // a piece of the ConversionNotSupported text
};

// Offshore: kelly bushing 25 m above MSL, 100 m of water.
const VerticalReference kOffshore{DepthDatum::KellyBushing, 25.0, 100.0};
// Onshore, depths from ground level 300 m above MSL.
const VerticalReference kOnshoreGround{DepthDatum::GroundLevel, 300.0, kUnset};

TEST(DepthKindsTest, EachStepUsesTheDatumsItNeedsAndRefusesWithoutThem) {
  const KindCase cases[] = {
      {"tvd to subsea", kOffshore, DepthKind::TVD, DepthKind::TVDSS, 1000.0, 975.0},
      {"subsea to tvd", kOffshore, DepthKind::TVDSS, DepthKind::TVD, 975.0, 1000.0},
      {"tvd to below sea floor", kOffshore, DepthKind::TVD, DepthKind::TVDGL, 1000.0, 875.0},
      {"below sea floor to md", kOffshore, DepthKind::TVDGL, DepthKind::MD, 875.0, 1000.0},
      {"above msl is negative subsea", kOffshore, DepthKind::TVD, DepthKind::TVDSS, 10.0, -15.0},
      {"ground datum is its own surface", kOnshoreGround, DepthKind::TVD, DepthKind::TVDGL, 1000.0, 1000.0},
      {"ground datum to subsea", kOnshoreGround, DepthKind::TVDGL, DepthKind::TVDSS, 1000.0, 700.0},
      {"msl datum needs no elevation", {DepthDatum::MeanSeaLevel, kUnset, kUnset}, DepthKind::TVD,
       DepthKind::TVDSS, 500.0, 500.0},
      {"sea floor datum lies at the water depth", {DepthDatum::SeaFloor, kUnset, 80.0}, DepthKind::TVD,
       DepthKind::TVDSS, 100.0, 180.0},
      {"subsea to sea floor needs only the water depth", {DepthDatum::KellyBushing, kUnset, 100.0},
       DepthKind::TVDSS, DepthKind::TVDGL, 975.0, 875.0},
      {"md to tvd needs no elevation", {DepthDatum::RotaryTable, kUnset, kUnset}, DepthKind::MD,
       DepthKind::TVD, 1234.5, 1234.5},
      {"same kind is the value", {DepthDatum::RotaryTable, kUnset, kUnset}, DepthKind::TVDGL,
       DepthKind::TVDGL, 42.0, 42.0},
      {"no elevation", {DepthDatum::KellyBushing, kUnset, kUnset}, DepthKind::TVD, DepthKind::TVDSS, 1.0, 0.0,
       "elevation of the wellbore's depth datum is not set"},
      {"no ground onshore", {DepthDatum::KellyBushing, 310.0, kUnset}, DepthKind::TVD, DepthKind::TVDGL, 1.0,
       0.0, "ground level elevation is not known"},
      {"zero water depth is onshore", {DepthDatum::DerrickFloor, 310.0, 0.0}, DepthKind::TVDGL, DepthKind::TVD,
       1.0, 0.0, "ground level elevation is not known"},
  };
  const VerticalPath vertical;
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DepthKinds kinds(c.reference, vertical);
    if (std::string(c.refusal).empty()) {
      EXPECT_DOUBLE_EQ(kinds.convert(c.value, c.from, c.to), c.expected);
      continue;
    }
    try {
      kinds.convert(c.value, c.from, c.to);
      ADD_FAILURE() << "converted without the value it needs";
    } catch (const EngineError& e) {
      EXPECT_EQ(e.kind(), ErrorKind::ConversionNotSupported);
      EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << e.what();
    }
  }
}

// A path that is not vertical: TVD is 80 % of MD, as along a straight slant.
class SlantPath final : public DepthPath {
 public:
  double tvdAtMd(double md) const override { return 0.8 * md; }
  double mdAtTvd(double tvd) const override { return tvd / 0.8; }
};

TEST(DepthKindsTest, MeasuredDepthGoesThroughThePathBothWays) {
  const SlantPath slant;
  const DepthKinds kinds(kOffshore, slant);
  EXPECT_DOUBLE_EQ(kinds.convert(1000.0, DepthKind::MD, DepthKind::TVDSS), 775.0);
  EXPECT_DOUBLE_EQ(kinds.convert(775.0, DepthKind::TVDSS, DepthKind::MD), 1000.0);
  double values[] = {100.0, 200.0};
  kinds.convert(values, values, 2, DepthKind::MD, DepthKind::TVDGL);  // in place
  EXPECT_DOUBLE_EQ(values[0], 80.0 - 125.0);
  EXPECT_DOUBLE_EQ(values[1], 160.0 - 125.0);
}

TEST(TimeKindsTest, OneWayHalvesAndMeanSeaLevelShiftsOnlyWhenKnown) {
  const TimeKinds known(0.02);
  EXPECT_DOUBLE_EQ(known.fromTwt(1.0, TimeKind::OWT), 0.5);
  EXPECT_DOUBLE_EQ(known.fromTwt(1.0, TimeKind::TWT_MSL), 0.98);
  EXPECT_DOUBLE_EQ(known.toTwt(0.98, TimeKind::TWT_MSL), 1.0);
  EXPECT_DOUBLE_EQ(known.toTwt(0.5, TimeKind::OWT), 1.0);

  const TimeKinds unknown(kUnset);
  EXPECT_DOUBLE_EQ(unknown.fromTwt(1.0, TimeKind::OWT), 0.5);
  try {
    unknown.toTwt(1.0, TimeKind::TWT_MSL);
    ADD_FAILURE() << "shifted without the datum";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::ConversionNotSupported);
    EXPECT_NE(std::string(e.what()).find("datum is not set"), std::string::npos) << e.what();
  }
}

} // namespace
