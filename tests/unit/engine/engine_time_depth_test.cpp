// The time-depth engine against velocity models known in closed form.
#include "TimeDepth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace kelwelld::engine;

// Three layers by hand: 2000 m/s to 0.4 s, 3000 m/s to 0.8 s, 4000 m/s to
// 1.2 s; 1500 m/s above the first sample and 5000 m/s below the last.
class TimeDepthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layered.setTimeDepths({0.0, 0.4, 0.8, 1.2}, {0.0, 400.0, 1000.0, 1800.0});
    layered.setExtendShallow(1500.0);
    layered.setExtendDeep(5000.0);
    layered.setDatum(0.0);
  }

  static void expectRefused(const std::function<void()>& write, ErrorKind kind, const std::string& piece) {
    try {
      write();
      ADD_FAILURE() << "accepted";
    } catch (const EngineError& e) {
      EXPECT_EQ(e.kind(), kind) << e.what();
      EXPECT_NE(std::string(e.what()).find(piece), std::string::npos) << e.what();
    }
  }

  VelocityFunction layered;
};

TEST_F(TimeDepthTest, ConstantVelocityConvertsBothWaysAtAndBetweenSamples) {
  VelocityFunction constant;
  std::vector<double> twt, depth;
  for (int i = 0; i <= 20; ++i) {
    twt.push_back(0.1 * i);
    depth.push_back(2500.0 * 0.1 * i / 2.0);
  }
  constant.setTimeDepths(twt, depth);
  for (double d : {0.0, 125.0, 1234.5, 2499.9}) {
    EXPECT_NEAR(constant.twtAtDepth(d), 2.0 * d / 2500.0, 1e-12) << d;
    EXPECT_NEAR(constant.depthAtTwt(2.0 * d / 2500.0), d, 1e-9) << d;
  }
}

TEST_F(TimeDepthTest, LinearGradientSampledFinelyFollowsItsClosedForm) {
  // v(z) = v0 + k z gives a two-way time t(z) = (2 / k) ln(1 + k z / v0).
  const double v0 = 1800.0, k = 0.6;
  const auto exactTwt = [&](double z) { return 2.0 / k * std::log1p(k * z / v0); };
  const auto exactDepth = [&](double t) { return v0 / k * std::expm1(k * t / 2.0); };
  std::vector<double> twt, depth;
  for (int z = 0; z <= 3000; ++z) {
    depth.push_back(z);
    twt.push_back(exactTwt(z));
  }
  VelocityFunction gradient;
  gradient.setTimeDepths(twt, depth);
  for (double z : {0.5, 17.25, 999.5, 2500.0, 2999.75}) EXPECT_NEAR(gradient.twtAtDepth(z), exactTwt(z), 1e-7) << z;
  for (double t : {0.01, 0.5, 1.0, 1.7}) EXPECT_NEAR(gradient.depthAtTwt(t), exactDepth(t), 2e-4) << t;
  // Interval velocity of the layer holding z = 1500.5 m: v at its middle.
  EXPECT_NEAR(gradient.velocityAtTwt(exactTwt(1500.5), VelocityKind::Interval), v0 + k * 1500.5, 1e-3);
}

TEST_F(TimeDepthTest, DepthToTimeToDepthRoundTripsAtAndBetweenSamplesAndBeyond) {
  for (double d : {0.0, 1.0, 400.0, 555.5, 1000.0, 1799.999, 1800.0, 2600.0}) {
    const double back = layered.depthAtTwt(layered.twtAtDepth(d));
    EXPECT_NEAR(back, d, 1e-7 * (1.0 + d)) << d;
  }
}

TEST_F(TimeDepthTest, IntervalAverageAndRmsOfTheLayeredModel) {
  struct Case {
    double twt;
    VelocityKind kind;
    double expected;
  };
  const Case cases[] = {
      {0.6, VelocityKind::Interval, 3000.0},
      {0.8, VelocityKind::Interval, 3000.0},  // a sample time belongs to the layer above it
      {1.0, VelocityKind::Interval, 4000.0},
      {1.3, VelocityKind::Interval, 5000.0},  // below the last sample
      {0.0, VelocityKind::Interval, 1500.0},  // above and at the first sample
      {0.8, VelocityKind::Average, 1000.0 / 0.4},
      {0.6, VelocityKind::Average, 700.0 / 0.3},
      {0.0, VelocityKind::Average, 2000.0},  // the limit at the datum
      {1.4, VelocityKind::Average, 2300.0 / 0.7},
      {0.8, VelocityKind::Rms, std::sqrt((2000.0 * 2000.0 + 3000.0 * 3000.0) / 2.0)},
      {0.6, VelocityKind::Rms, std::sqrt((2000.0 * 2000.0 * 0.4 + 3000.0 * 3000.0 * 0.2) / 0.6)},
      {1.2, VelocityKind::Rms, std::sqrt((2000.0 * 2000.0 + 3000.0 * 3000.0 + 4000.0 * 4000.0) / 3.0)},
      {1.4, VelocityKind::Rms,
       std::sqrt((0.4 * (2000.0 * 2000.0 + 3000.0 * 3000.0 + 4000.0 * 4000.0) + 0.2 * 5000.0 * 5000.0) / 1.4)},
      {0.0, VelocityKind::Rms, 2000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kindName(c.kind)) + " at " + std::to_string(c.twt));
    EXPECT_NEAR(layered.velocityAtTwt(c.twt, c.kind), c.expected, 1e-9 * c.expected);
  }
  const std::vector<double> rms = timesToVelocities(layered, {0.8, 1.2}, TimeKind::TWT, VelocityKind::Rms);
  EXPECT_NEAR(rms[1], std::sqrt(29e6 / 3.0), 1e-6);
}

TEST_F(TimeDepthTest, ExtendVelocitiesCarryTheRelationBeyondBothEnds) {
  VelocityFunction deepStart;
  deepStart.setTimeDepths({0.2, 0.6}, {200.0, 700.0});
  deepStart.setExtendShallow(1500.0);
  deepStart.setExtendDeep(5000.0);
  EXPECT_DOUBLE_EQ(deepStart.depthAtTwt(0.1), 200.0 - 1500.0 * 0.05);
  EXPECT_DOUBLE_EQ(deepStart.twtAtDepth(125.0), 0.1);
  EXPECT_DOUBLE_EQ(deepStart.depthAtTwt(1.0), 700.0 + 5000.0 * 0.2);
  EXPECT_DOUBLE_EQ(deepStart.twtAtDepth(1700.0), 1.0);
  // RMS from the datum counts the shallow layer between time 0 and 0.2 s.
  EXPECT_NEAR(deepStart.velocityAtTwt(0.6, VelocityKind::Rms),
              std::sqrt((1500.0 * 1500.0 * 0.2 + 2500.0 * 2500.0 * 0.4) / 0.6), 1e-9);

  deepStart.setExtendDeep(kUnset);
  expectRefused([&] { deepStart.depthAtTwt(0.7); }, ErrorKind::ConversionNotSupported,
                "deep extend velocity is not set");
  deepStart.setExtendShallow(kUnset);
  expectRefused([&] { deepStart.twtAtDepth(100.0); }, ErrorKind::ConversionNotSupported,
                "shallow extend velocity is not set");
  expectRefused([&] { VelocityFunction().depthAtTwt(0.1); }, ErrorKind::ConversionNotSupported, "no samples");
}

TEST_F(TimeDepthTest, EveryValueKindBuildsTheSameLayeredModel) {
  struct Case {
    PairValueKind kind;
    std::vector<double> values;
  };
  const Case cases[] = {
      {PairValueKind::Depth, {400.0, 1000.0, 1800.0}},
      {PairValueKind::SubseaDepth, {390.0, 990.0, 1790.0}},  // datum 10 m above MSL
      {PairValueKind::Interval, {2000.0, 3000.0, 4000.0}},
      {PairValueKind::Average, {2000.0, 2500.0, 3000.0}},
      {PairValueKind::Rms, {2000.0, std::sqrt(6.5e6), std::sqrt(29e6 / 3.0)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    VelocityFunction built;
    built.setDatum(10.0);
    built.setPairs({0.2, 0.4, 0.6}, c.values, TimeKind::OWT, c.kind);
    ASSERT_EQ(built.size(), 3u);
    EXPECT_DOUBLE_EQ(built.times()[2], 1.2);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(built.depths()[i], layered.depths()[i + 1], 1e-9);
  }
  VelocityFunction instantaneous;
  instantaneous.setPairs({0.5, 1.0, 1.5}, {2000.0, 2000.0, 3000.0}, TimeKind::TWT, PairValueKind::Instantaneous);
  EXPECT_EQ(instantaneous.depths(), (std::vector<double>{500.0, 1000.0, 1000.0 + 0.25 * 5000.0 * 0.5}));
}

TEST_F(TimeDepthTest, KindsRelateThroughTheFunctionDatumAndTheWellboreElevation) {
  // Constant 2000 m/s from a datum 10 m above MSL; kelly bushing 30 m above MSL.
  VelocityFunction constant;
  constant.setTimeDepths({0.0, 2.0}, {0.0, 2000.0});
  constant.setDatum(10.0);
  const VerticalPath vertical;
  const DepthKinds kinds({DepthDatum::KellyBushing, 30.0, kUnset}, vertical);
  // TVD 1020 is 990 below MSL and 1000 below the function's datum: 1 s.
  EXPECT_NEAR(depthsToTimes(constant, kinds, {1020.0}, DepthKind::TVD, TimeKind::TWT)[0], 1.0, 1e-12);
  EXPECT_NEAR(depthsToTimes(constant, kinds, {1020.0}, DepthKind::MD, TimeKind::OWT)[0], 0.5, 1e-12);
  // Below MSL, time and subsea depth meet at zero: TVDSS = v / 2 * TWT below MSL.
  EXPECT_NEAR(timesToDepths(constant, kinds, {0.5}, TimeKind::TWT_MSL, DepthKind::TVDSS)[0], 500.0, 1e-9);
  EXPECT_NEAR(sampleDepths(constant, kinds, DepthKind::TVD)[1], 2020.0, 1e-9);

  // MSL above the first sample: only TWT below MSL needs the shallow extend velocity.
  VelocityFunction deepStart;
  deepStart.setTimeDepths({0.2, 2.0}, {200.0, 2000.0});
  deepStart.setDatum(10.0);
  EXPECT_NEAR(depthsToTimes(deepStart, kinds, {1020.0}, DepthKind::TVD, TimeKind::TWT)[0], 1.0, 1e-12);
  expectRefused([&] { depthsToTimes(deepStart, kinds, {1020.0}, DepthKind::TVD, TimeKind::TWT_MSL); },
                ErrorKind::ConversionNotSupported, "shallow extend velocity");

  constant.setDatum(kUnset);
  expectRefused([&] { depthsToTimes(constant, kinds, {1.0}, DepthKind::TVD, TimeKind::TWT); },
                ErrorKind::ConversionNotSupported, "velocity function's datum is not set");
  const DepthKinds noElevation({DepthDatum::KellyBushing, kUnset, kUnset}, vertical);
  constant.setDatum(10.0);
  expectRefused([&] { timesToDepths(constant, noElevation, {0.5}, TimeKind::TWT, DepthKind::TVD); },
                ErrorKind::ConversionNotSupported, "elevation of the wellbore's depth datum");
}

TEST_F(TimeDepthTest, InsertUpdateDeleteAndAnisotropyKeepSamplesAndFactorsTogether) {
  layered.insertPairs({0.3}, {700.0}, TimeKind::OWT, PairValueKind::Depth, {1.2});
  EXPECT_EQ(layered.times(), (std::vector<double>{0.0, 0.4, 0.6, 0.8, 1.2}));
  EXPECT_EQ(layered.anisotropy(), (std::vector<double>{1.0, 1.0, 1.2, 1.0, 1.0}));
  layered.setAnisotropy(3, {1.1, 1.05});
  layered.deleteTimes({0.4, 0.6}, TimeKind::TWT);
  EXPECT_EQ(layered.depths(), (std::vector<double>{0.0, 1000.0, 1800.0}));
  EXPECT_EQ(layered.anisotropy(), (std::vector<double>{1.0, 1.1, 1.05}));
  layered.updatePairs({0.0, 0.8, 1.2}, {0.0, 1100.0, 1900.0}, TimeKind::TWT, PairValueKind::Depth);
  EXPECT_EQ(layered.depths(), (std::vector<double>{0.0, 1100.0, 1900.0}));
  EXPECT_EQ(layered.anisotropy(), (std::vector<double>{1.0, 1.1, 1.05}));
  // Times written as float survive the trip: 0.8 as a float still finds 0.8.
  layered.deleteTimes({static_cast<double>(0.8f)}, TimeKind::TWT);
  EXPECT_EQ(layered.size(), 2u);
}

TEST_F(TimeDepthTest, EveryRefusedWriteLeavesTheFunctionAsItWas) {
  struct Case {
    const char* name;
    std::function<void(VelocityFunction&)> write;
    ErrorKind kind;
    const char* piece;
  };
  const Case cases[] = {
      {"times not increasing", [](VelocityFunction& f) { f.setTimeDepths({0.0, 0.5, 0.5}, {0, 1, 2}); },
       ErrorKind::InvalidDataPair, "times must increase strictly"},
      {"depths decreasing", [](VelocityFunction& f) { f.setTimeDepths({0.0, 0.5, 0.6}, {0, 10, 9}); },
       ErrorKind::InvalidDataPair, "depths must increase"},
      {"depths equal", [](VelocityFunction& f) { f.setTimeDepths({0.0, 0.5, 0.6}, {0, 10, 10}); },
       ErrorKind::InvalidDataPair, "depths must increase"},
      {"negative depth", [](VelocityFunction& f) { f.setTimeDepths({0.1, 0.5}, {-1, 10}); },
       ErrorKind::InvalidDataPair, "not negative"},
      {"non-finite time", [](VelocityFunction& f) { f.setTimeDepths({0.1, NAN}, {1, 10}); },
       ErrorKind::InvalidDataPair, "finite"},
      {"depth at time zero", [](VelocityFunction& f) { f.setTimeDepths({0.0, 0.5}, {5, 10}); },
       ErrorKind::InvalidDataPair, "must have depth 0"},
      {"lengths differ", [](VelocityFunction& f) { f.setTimeDepths({0.1, 0.5}, {1}); },
       ErrorKind::InvalidDataPair, "2 times but 1 values"},
      {"velocity list of another length",
       [](VelocityFunction& f) { f.setVelocityData({0.1, 0.2}, {100, 200}, {2000}, {}, {}); },
       ErrorKind::InvalidDataPair, "interval velocities number 1 for 2 times"},
      {"zero velocity",
       [](VelocityFunction& f) { f.setPairs({0.1, 0.2}, {2000, 0}, TimeKind::TWT, PairValueKind::Interval); },
       ErrorKind::InvalidDataPair, "finite and positive"},
      {"rms without a real interval velocity",
       [](VelocityFunction& f) { f.setPairs({0.1, 0.2}, {3000, 2000}, TimeKind::TWT, PairValueKind::Rms); },
       ErrorKind::InvalidDataPair, "no real interval velocity"},
      {"subsea depths without datum",
       [](VelocityFunction& f) {
         f.setDatum(kUnset);
         f.setPairs({0.1}, {100}, TimeKind::TWT, PairValueKind::SubseaDepth);
       },
       ErrorKind::ConversionNotSupported, "datum is not set"},
      {"update of another count",
       [](VelocityFunction& f) { f.updatePairs({0.1}, {100}, TimeKind::TWT, PairValueKind::Depth); },
       ErrorKind::InvalidNumSamples, "1 pairs were given for 4 samples"},
      {"insert at a sample time",
       [](VelocityFunction& f) { f.insertPairs({0.8}, {900}, TimeKind::TWT, PairValueKind::Depth, {}); },
       ErrorKind::InvalidDataPair, "sample at time 0.8 already"},
      {"insert breaking the order",
       [](VelocityFunction& f) { f.insertPairs({0.6}, {1100}, TimeKind::TWT, PairValueKind::Depth, {}); },
       ErrorKind::InvalidDataPair, "depths must increase"},
      {"insert of interval velocities",
       [](VelocityFunction& f) { f.insertPairs({0.6}, {3000}, TimeKind::TWT, PairValueKind::Interval, {}); },
       ErrorKind::InvalidDataPair, "depend on the neighbouring samples"},
      {"insert with factors of another count",
       [](VelocityFunction& f) { f.insertPairs({0.6}, {700}, TimeKind::TWT, PairValueKind::Depth, {1, 1}); },
       ErrorKind::InvalidNumSamples, "2 anisotropy factors"},
      {"delete of a time that is none", [](VelocityFunction& f) { f.deleteTimes({0.8, 0.5}, TimeKind::TWT); },
       ErrorKind::TimeNotFound, "time 0.5 is not"},
      {"anisotropy beyond the samples", [](VelocityFunction& f) { f.setAnisotropy(3, {1.0, 1.0}); },
       ErrorKind::InvalidNumSamples, "from position 3"},
      {"anisotropy not positive", [](VelocityFunction& f) { f.setAnisotropy(0, {1.0, -1.0}); },
       ErrorKind::InvalidValue, "finite and positive"},
      {"replacing in time below MSL off MSL",
       [](VelocityFunction& f) {
         f.setDatum(5.0);
         f.setPairs({0.1}, {100}, TimeKind::TWT_MSL, PairValueKind::Depth);
       },
       ErrorKind::ConversionNotSupported, "datum is at mean sea level"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VelocityFunction f = layered;
    f.setAnisotropy(0, {1.5});
    const VelocityFunction before = f;
    expectRefused([&] { c.write(f); }, c.kind, c.piece);
    EXPECT_EQ(f.times(), before.times());
    EXPECT_EQ(f.depths(), before.depths());
    EXPECT_EQ(f.anisotropy(), before.anisotropy());
    EXPECT_DOUBLE_EQ(f.depthAtTwt(1.0), before.depthAtTwt(1.0));
  }
}

} // namespace
