// The log trace engine on small traces checked by hand.
#include "PathGeometry.h"
#include "TraceSamples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace kelwelld::engine;

constexpr float kNull = -999.25f;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// `gr`: one value per index value, a null at 1000.5 and the maximum twice.
//   index  1000  1000.5  1001  1001.5  1002  1002.5
//   value    10    null    30       5    30      20
// `array`: three values per index value, null -1.
//   10: 1 -1  3   20: -1 -1 -1   30: 7 2 9   40: 3 9 1
class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gr.replace({1000.0, 1000.5, 1001.0, 1001.5, 1002.0, 1002.5}, {10, kNull, 30, 5, 30, 20});
    array.replace({10, 20, 30, 40}, {1, -1, 3, -1, -1, -1, 7, 2, 9, 3, 9, 1});
  }

  static void expectRefused(const std::function<void()>& call, ErrorKind kind, const std::string& piece) {
    try {
      call();
      ADD_FAILURE() << "accepted";
    } catch (const EngineError& e) {
      EXPECT_EQ(e.kind(), kind) << e.what();
      EXPECT_NE(std::string(e.what()).find(piece), std::string::npos) << e.what();
    }
  }

  static void expectSelection(const TraceSelection& got, const std::vector<double>& index,
                              const std::vector<float>& values) {
    EXPECT_EQ(got.index, index);
    EXPECT_EQ(got.values, values);
  }

  TraceSamples gr{1, kNull};
  TraceSamples array{3, -1.0f};
};

TEST_F(TraceTest, DecimationKeepsEveryStepthIndexValueFromTheFirst) {
  struct Case {
    unsigned long step;
    std::vector<double> index;
    std::vector<float> values;
  };
  const std::vector<Case> cases = {
      {0, gr.index(), gr.values()},
      {1, gr.index(), gr.values()},
      {2, {1000.0, 1001.0, 1002.0}, {10, 30, 30}},
      {4, {1000.0, 1002.0}, {10, 30}},
      {5, {1000.0, 1002.5}, {10, 20}},
      {6, {1000.0}, {10}},
      {1000000, {1000.0}, {10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    expectSelection(gr.decimated(gr.index(), c.step), c.index, c.values);
  }
  expectSelection(array.decimated(array.index(), 2), {10, 30}, {1, -1, 3, 7, 2, 9});
  expectSelection(gr.whole(gr.index()), gr.index(), gr.values());
}

// Index ranges select by index, value ranges by any non-null element; both
// inclusive, both whole index values.
TEST_F(TraceTest, RangesAreInclusiveSkipNullsAndAreEmptyOutsideTheTrace) {
  const auto byIndex = &TraceSamples::byIndexRange;
  const auto byValue = &TraceSamples::byValueRange;
  struct Case {
    decltype(byIndex) read;
    double from, to;
    std::vector<double> index;
    std::vector<float> values;
  };
  const std::vector<Case> cases = {
      {byIndex, 1000.5, 1001.5, {1000.5, 1001.0, 1001.5}, {kNull, 30, 5}},
      {byIndex, 999.0, 1000.0, {1000.0}, {10}},
      {byIndex, 1002.5, 1003.0, {1002.5}, {20}},
      {byIndex, 1001.0, 1001.0, {1001.0}, {30}},
      {byIndex, 1000.6, 1000.9, {}, {}},  // between two index values
      {byIndex, 900.0, 950.0, {}, {}},
      {byIndex, -kInf, kInf, gr.index(), gr.values()},
      {byValue, 20, 30, {1001.0, 1002.0, 1002.5}, {30, 30, 20}},
      {byValue, 5, 5, {1001.5}, {5}},
      {byValue, 0, 100, {1000.0, 1001.0, 1001.5, 1002.0, 1002.5}, {10, 30, 5, 30, 20}},
      {byValue, -1000, -999, {}, {}},  // only the null value lies there
      {byValue, 31, 40, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " " + std::to_string(c.to));
    expectSelection((gr.*c.read)(gr.index(), c.from, c.to), c.index, c.values);
    // A copy of the index is read as a converted one, which need not increase.
    const std::vector<double> copy = gr.index();
    expectSelection((gr.*c.read)(copy, c.from, c.to), c.index, c.values);
  }
  expectSelection(array.byIndexRange(array.index(), 15, 30), {20, 30}, {-1, -1, -1, 7, 2, 9});
  expectSelection(array.byValueRange(array.index(), 8, 9), {30, 40}, {7, 2, 9, 3, 9, 1});
  expectSelection(array.byValueRange(array.index(), 2, 2), {30}, {7, 2, 9});
  expectSelection(array.byValueRange(array.index(), -1, -1), {}, {});
  for (const auto read : {byIndex, byValue}) {
    expectRefused([&] { (gr.*read)(gr.index(), 1002.0, 1001.0); }, ErrorKind::InvalidIndex, "reversed");
    expectRefused([&] { (gr.*read)(gr.index(), kNaN, 1001.0); }, ErrorKind::InvalidIndex, "not a number");
    expectRefused([&] { (gr.*read)(gr.index(), 1000.0, kNaN); }, ErrorKind::InvalidIndex, "not a number");
  }
}

TEST_F(TraceTest, ExtremesSkipNullsAndListEveryIndexValueWhereTheyOccur) {
  const TraceExtremes one = gr.extremes(gr.index());
  EXPECT_TRUE(one.found);
  EXPECT_EQ(one.minimum, 5.0f);
  EXPECT_EQ(one.maximum, 30.0f);
  EXPECT_EQ(one.minimumAt, std::vector<double>({1001.5}));
  EXPECT_EQ(one.maximumAt, std::vector<double>({1001.0, 1002.0}));

  const TraceExtremes three = array.extremes(array.index());
  EXPECT_EQ(three.minimum, 1.0f);
  EXPECT_EQ(three.maximum, 9.0f);
  EXPECT_EQ(three.minimumAt, std::vector<double>({10, 40}));
  EXPECT_EQ(three.maximumAt, std::vector<double>({30, 40}));

  // Nothing but nulls, or no samples at all: the null value and nowhere.
  TraceSamples nulls(2, kNull);
  nulls.replace({1, 2}, {kNull, kNull, kNull, kNull});
  for (const TraceSamples& t : {nulls, TraceSamples(1, kNull)}) {
    const TraceExtremes none = t.extremes(t.index());
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.minimum, kNull);
    EXPECT_EQ(none.maximum, kNull);
    EXPECT_TRUE(none.minimumAt.empty());
    EXPECT_TRUE(none.maximumAt.empty());
  }
}

TEST_F(TraceTest, ChangingTheNullValueReinterpretsButKeepsTheSamples) {
  const std::vector<float> before = gr.values();
  gr.setNullValue(30);
  EXPECT_EQ(gr.values(), before);
  const TraceExtremes e = gr.extremes(gr.index());
  EXPECT_EQ(e.minimum, kNull);  // an ordinary value now
  EXPECT_EQ(e.maximum, 20.0f);
  expectRefused([&] { gr.setNullValue(std::nanf("")); }, ErrorKind::InvalidValue, "null value");
  EXPECT_EQ(gr.nullValue(), 30.0f);
}

TEST_F(TraceTest, IndexInformationTellsRegularFromIrregularAtFloatPrecision) {
  // A 0.1524 m step at 3000 m read back through floats: rounding, yet regular.
  std::vector<double> rounded;
  for (int i = 0; i < 2000; ++i) rounded.push_back(static_cast<float>(3000.0 + 0.1524 * i));
  std::vector<double> nudged = rounded;
  nudged[1000] += 2e-3;  // two millimetres off: irregular

  struct Case {
    const char* name;
    std::vector<double> index;
    double increment, minimum, maximum;
    bool regular;
  };
  const std::vector<Case> cases = {
      {"half metre", {1000.0, 1000.5, 1001.0, 1001.5}, 0.5, 1000.0, 1001.5, true},
      {"float rounded", rounded, (rounded.back() - rounded.front()) / 1999, rounded.front(), rounded.back(), true},
      {"one step off", nudged, (rounded.back() - rounded.front()) / 1999, rounded.front(), rounded.back(), false},
      {"gap", {0.0, 1.0, 2.0, 4.0}, 4.0 / 3.0, 0.0, 4.0, false},
      {"one value", {5.0}, 0.0, 5.0, 5.0, true},
      {"turns back (converted)", {0.0, 1.0, 0.5}, 0.25, 0.0, 1.0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TraceSamples trace(1, kNull);
    std::vector<double> stored(c.index.size());
    for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<double>(i);
    trace.replace(stored, std::vector<float>(stored.size(), 1.0f));
    const IndexInfo info = trace.indexInfo(c.index);
    EXPECT_NEAR(info.increment, c.increment, 1e-12);
    EXPECT_EQ(info.minimum, c.minimum);
    EXPECT_EQ(info.maximum, c.maximum);
    EXPECT_EQ(info.first, c.index.front());
    EXPECT_EQ(info.last, c.index.back());
    EXPECT_EQ(info.regular, c.regular);
  }
  const TraceSamples empty(1, kNull);
  expectRefused([&] { empty.indexInfo(empty.index()); }, ErrorKind::InvalidIndex, "no samples");
}

TEST_F(TraceTest, RefusedWritesLeaveTheSamplesAsTheyWereAndAppendsExtendThem) {
  struct Case {
    const char* name;
    bool append;
    std::vector<double> index;
    std::vector<float> values;
    ErrorKind kind;
    const char* piece;
  };
  const std::vector<Case> cases = {
      {"append at the last index value", true, {1002.5}, {1}, ErrorKind::NonMonotonic, "beyond"},
      {"append before the last", true, {1002.0, 1003.0}, {1, 2}, ErrorKind::NonMonotonic, "beyond"},
      {"append repeating itself", true, {1003.0, 1003.0}, {1, 2}, ErrorKind::NonMonotonic, "increase strictly"},
      {"append too many values", true, {1003.0}, {1, 2}, ErrorKind::InvalidNumSamples, "not 2"},
      {"append a NaN value", true, {1003.0}, {std::nanf("")}, ErrorKind::InvalidValue, "trace value"},
      {"append an infinite value", true, {1003.0}, {HUGE_VALF}, ErrorKind::InvalidValue, "trace value"},
      {"append an infinite index", true, {kInf}, {1}, ErrorKind::InvalidValue, "index value"},
      {"append a NaN index", true, {1003.0, kNaN}, {1, 2}, ErrorKind::InvalidValue, "index value"},
      {"replace decreasing", false, {2.0, 1.0}, {1, 2}, ErrorKind::NonMonotonic, "increase strictly"},
      {"replace with a count mismatch", false, {1.0, 2.0}, {1}, ErrorKind::InvalidNumSamples, "take 2"},
      {"replace with a NaN", false, {1.0}, {std::nanf("")}, ErrorKind::InvalidValue, "null value"},
  };
  const std::vector<double> index = gr.index();
  const std::vector<float> values = gr.values();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRefused([&] { c.append ? gr.append(c.index, c.values) : gr.replace(c.index, c.values); }, c.kind,
                  c.piece);
    EXPECT_EQ(gr.index(), index);
    EXPECT_EQ(gr.values(), values);
  }
  // Sample counts follow the number of elements.
  expectRefused([&] { array.append({50}, {1, 2}); }, ErrorKind::InvalidNumSamples, "3 value(s) per index value");
  EXPECT_EQ(array.size(), 4u);

  gr.append({}, {});
  gr.append({1003.0, 1003.5}, {40, kNull});
  EXPECT_EQ(gr.index().back(), 1003.5);
  EXPECT_EQ(gr.extremes(gr.index()).maximumAt, std::vector<double>({1003.0}));
  gr.clear();
  gr.append({1.0}, {2});  // an empty trace takes any first index value
  EXPECT_EQ(gr.values(), std::vector<float>({2}));
}

TEST_F(TraceTest, ShapesThatMakeNoTraceAreRefused) {
  expectRefused([] { TraceSamples(0, kNull); }, ErrorKind::InvalidValue, "at least one");
  expectRefused([] { TraceSamples(1, std::nanf("")); }, ErrorKind::InvalidValue, "null value");
  const std::vector<double> shorter = {1000.0};
  expectRefused([&] { gr.whole(shorter); }, ErrorKind::InvalidNumSamples, "the trace has 6");
}

TEST_F(TraceTest, InnerArraysHoldOneElementEachParallelToTheIndex) {
  struct Case {
    std::size_t indexCount;
    std::vector<std::size_t> lengths;
    std::size_t elements;  // the trace's; 0 when creating
    std::size_t expected;  // 0: refused
  };
  const std::vector<Case> cases = {
      {4, {4}, 0, 1},       {4, {4, 4, 4}, 0, 3}, {4, {4, 4, 4}, 3, 3}, {0, {}, 0, 1},
      {0, {}, 3, 3},        {0, {0, 0}, 0, 2},    {4, {4, 4}, 3, 0},    {4, {4, 3, 4}, 0, 0},
      {4, {}, 0, 0},        {4, {1, 1, 1, 1}, 1, 0},  // one array per index value is not the grouping
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.indexCount) + " index values, " + std::to_string(c.lengths.size()) + " arrays");
    if (c.expected != 0)
      EXPECT_EQ(elementsOfWrite(c.indexCount, c.lengths, c.elements), c.expected);
    else
      expectRefused([&] { elementsOfWrite(c.indexCount, c.lengths, c.elements); }, ErrorKind::InvalidNumSamples,
                    "");
  }
  // Index-major values to inner arrays and back.
  std::vector<float> column(4), rebuilt(12);
  const std::vector<std::vector<float>> expected = {{1, -1, 7, 3}, {-1, -1, 2, 9}, {3, -1, 9, 1}};
  for (std::size_t e = 0; e < 3; ++e) {
    gatherElement(array.values().data(), 4, 3, e, column.data());
    EXPECT_EQ(column, expected[e]);
    interleaveElement(column.data(), 4, 3, e, rebuilt.data());
  }
  EXPECT_EQ(rebuilt, array.values());
}

// A deviated wellbore: vertical to MD 1000, then 800 m deeper over the next
// 1000 m of hole (raw positions, linear between them); depth datum 25 m above
// MSL; a velocity function of 2000 m/s from MSL, so TWT = TVDSS / 1000 s/m.
class TraceIndexKindTest : public TraceTest {
 protected:
  TraceIndexKindTest()
      : path(WellPath::fromPositions({{0, 1000, 2000}, {0, 1000, 1800}, {0, 0, 600}, {0, 0, 0}})),
        depths({DepthDatum::KellyBushing, 25.0, kUnset}, path) {
    velocity.setTimeDepths({0.0, 4.0}, {0.0, 4000.0});
    velocity.setDatum(0.0);
  }

  WellPath path;
  DepthKinds depths;
  VelocityFunction velocity;
};

TEST_F(TraceIndexKindTest, EveryKindConvertsToEveryOtherOnADeviatedPath) {
  const std::vector<IndexKind> kinds = {IndexKind::MD, IndexKind::TVD, IndexKind::TVDSS, IndexKind::TWT,
                                        IndexKind::OWT};
  // The same four samples in each kind, by hand.
  const std::vector<std::vector<double>> in = {
      {500, 1000, 1500, 2000},
      {500, 1000, 1400, 1800},
      {475, 975, 1375, 1775},
      {0.475, 0.975, 1.375, 1.775},
      {0.2375, 0.4875, 0.6875, 0.8875},
  };
  for (std::size_t a = 0; a < kinds.size(); ++a)
    for (std::size_t b = 0; b < kinds.size(); ++b) {
      SCOPED_TRACE(std::string(kindName(kinds[a])) + " to " + kindName(kinds[b]));
      const std::vector<double> out = convertIndex(in[a], kinds[a], kinds[b], depths, &velocity);
      ASSERT_EQ(out.size(), in[b].size());
      for (std::size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], in[b][i], 1e-9) << i;
    }
}

TEST_F(TraceIndexKindTest, AReadInTimeSelectsByTheConvertedIndex) {
  TraceSamples trace(1, kNull);
  trace.replace({500, 1000, 1500, 2000}, {1, 2, 3, 4});
  const std::vector<double> twt = convertIndex(trace.index(), IndexKind::MD, IndexKind::TWT, depths, &velocity);
  const TraceSelection got = trace.byIndexRange(twt, 0.9, 1.4);
  ASSERT_EQ(got.index.size(), 2u);
  EXPECT_NEAR(got.index[0], 0.975, 1e-9);
  EXPECT_NEAR(got.index[1], 1.375, 1e-9);
  EXPECT_EQ(got.values, std::vector<float>({2, 3}));
}

TEST_F(TraceIndexKindTest, ConversionsNameWhatIsMissing) {
  const std::vector<double> md = {500, 1000};
  expectRefused([&] { convertIndex(md, IndexKind::MD, IndexKind::TWT, depths, nullptr); },
                ErrorKind::ConversionNotSupported, "a velocity function");
  expectRefused([&] { convertIndex({0.5}, IndexKind::OWT, IndexKind::TVD, depths, nullptr); },
                ErrorKind::ConversionNotSupported, "a velocity function");
  // TWT and OWT relate without one.
  EXPECT_EQ(convertIndex({0.5, 1.0}, IndexKind::TWT, IndexKind::OWT, depths, nullptr),
            std::vector<double>({0.25, 0.5}));
  const DepthKinds noElevation({DepthDatum::KellyBushing, kUnset, kUnset}, path);
  expectRefused([&] { convertIndex(md, IndexKind::MD, IndexKind::TVDSS, noElevation, &velocity); },
                ErrorKind::ConversionNotSupported, "elevation");
  const VelocityFunction noDatum;
  expectRefused([&] { convertIndex(md, IndexKind::TVD, IndexKind::TWT, depths, &noDatum); },
                ErrorKind::ConversionNotSupported, "datum");
  expectRefused([&] { convertIndex({2500}, IndexKind::MD, IndexKind::TVD, depths, &velocity); },
                ErrorKind::InsufficientData, "");
}

} // namespace
