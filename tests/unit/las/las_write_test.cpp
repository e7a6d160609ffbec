// The LAS 2.0 writer: every sample file written and read back to the same bits, floats and
// doubles in their shortest exact text, and the models it refuses.
#include "Las.h"
#include "LasText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace kelwell::las;

const char* const kSampleFiles[] = {
    "F03-02.las",
    "P-135_out.LAS",
    "lasio_1.2_sample.las",
    "lasio_1.2_sample_wrapped.las",
    "lasio_2.0_sample_2.0.las",
    "lasio_2.0_sample_2.0_minimal.las",
    "lasio_2.0_sample_2.0_wrapped.las",
    "lasio_3.0_sample_3.0.las",
};

std::string dataFile(const std::string& name) { return std::string(KELWELL_LAS_DATA_DIR) + "/" + name; }

// LAS 2.0 data carries numbers only: a model's text curves stay behind.
LasFile withoutTextCurves(LasFile file) {
  for (CurveSet& set : file.curveSets) {
    std::vector<Curve> numeric;
    for (Curve& curve : set.curves) {
      if (curve.type != SampleType::text) numeric.push_back(std::move(curve));
    }
    set.curves = std::move(numeric);
  }
  return file;
}

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

class LasWriteTest : public ::testing::TestWithParam<SampleType> {};

TEST_P(LasWriteTest, EverySampleFileReadsBackToTheSameSamplesBitForBit) {
  ReadOptions options;
  options.samples = GetParam();
  for (const char* name : kSampleFiles) {
    SCOPED_TRACE(name);
    const LasFile original = withoutTextCurves(readFile(dataFile(name), options));
    const LasFile back = parse(write(original), "written.las", options);
    EXPECT_TRUE(back.warnings.empty()) << back.warnings.front().text;
    EXPECT_EQ(back.version, "2.0");
    EXPECT_EQ(back.nullValue, original.nullValue);
    EXPECT_EQ(back.step, original.step);
    const std::vector<Curve>& before = original.logs().curves;
    const std::vector<Curve>& after = back.logs().curves;
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
      SCOPED_TRACE(before[i].mnemonic);
      EXPECT_EQ(after[i].mnemonic, before[i].mnemonic);
      EXPECT_EQ(after[i].unit, before[i].unit);
      EXPECT_EQ(after[i].description, before[i].description);
      EXPECT_EQ(after[i].elements, before[i].elements);
      EXPECT_TRUE(sameBits(after[i].doubles, before[i].doubles));
      EXPECT_TRUE(sameBits(after[i].floats, before[i].floats));
    }
    // The well section survives, LAS 1.2's swapped fields now the LAS 2.0 way round.
    for (const HeaderItem& item : original.well().items) {
      const HeaderItem* written = back.well().find(item.mnemonic);
      ASSERT_NE(written, nullptr) << item.mnemonic;
      if (item.mnemonic == "STRT" || item.mnemonic == "STOP" || item.mnemonic == "STEP" || item.mnemonic == "NULL") {
        continue;
      }
      EXPECT_EQ(written->value, item.value) << item.mnemonic;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, LasWriteTest, ::testing::Values(SampleType::float64, SampleType::float32),
                         [](const ::testing::TestParamInfo<SampleType>& sample) {
                           return sample.param == SampleType::float64 ? "Doubles" : "Floats";
                         });

TEST(LasNumberTextTest, RandomFloatsAndDoublesReadBackToTheirBits) {
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t bits = random();
    std::uint32_t floatBits = static_cast<std::uint32_t>(bits);
    float f;
    std::memcpy(&f, &floatBits, sizeof f);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (std::isnan(f) || std::isnan(d)) continue;
    double back = 0;
    ASSERT_TRUE(text::parseNumber(text::formatFloat(f), false, back));
    ASSERT_EQ(static_cast<float>(back), f) << text::formatFloat(f);
    ASSERT_TRUE(text::parseNumber(text::formatDouble(d), false, back));
    ASSERT_EQ(back, d) << text::formatDouble(d);
  }
}

TEST(LasNumberTextTest, TheFastPathAgreesWithTheFullParser) {
  const char* const fields[] = {"0", "-0", "1.", ".5", "-999.25", "2153.8647", "77.621963501", "0.1524",
                                "9007199254740993", "123456789.123456789", "1e5", "abc", "", "-", "1.2.3"};
  for (const char* field : fields) {
    SCOPED_TRACE(field);
    double fast = 0;
    double full = 0;
    const bool fastTook = text::parseSimpleNumber(field, fast);
    const bool fullTook = text::parseNumber(field, false, full);
    if (fastTook) {
      ASSERT_TRUE(fullTook);
      EXPECT_EQ(std::memcmp(&fast, &full, sizeof fast), 0);
    }
  }
}

TEST(LasWriterTest, ModelsLas20CannotCarryAreRefused) {
  LasFile file;
  EXPECT_THROW(write(file), std::invalid_argument);  // no curves

  CurveSet logs;
  logs.name = "Log";
  Curve depth;
  depth.mnemonic = depth.writtenMnemonic = "DEPT";
  depth.doubles = {1, 2, 3};
  Curve gamma;
  gamma.mnemonic = gamma.writtenMnemonic = "GR";
  gamma.doubles = {10, 20};
  logs.curves = {depth, gamma};
  file.curveSets = {logs};
  try {
    write(file);
    FAIL() << "wrote curves of unequal length";
  } catch (const std::invalid_argument& refusal) {
    EXPECT_STREQ(refusal.what(), "curve GR has 2 samples where 3 rows of 1 are expected");
  }

  file.curveSets[0].curves[1].type = SampleType::text;
  file.curveSets[0].curves[1].texts = {"a", "b", "c"};
  try {
    write(file);
    FAIL() << "wrote a text curve";
  } catch (const std::invalid_argument& refusal) {
    EXPECT_STREQ(refusal.what(), "curve GR holds text, which LAS 2.0 data cannot carry");
  }
}

TEST(LasWriterTest, ArrayCurvesAndRepeatedMnemonicsComeBackUnderTheirNames) {
  const std::string text =
      "~V\n VERS. 2.0 : x\n WRAP. NO : x\n~C\n DEPT.M : d\n GR.GAPI : a\n GR.GAPI : b\n"
      " T[1].ms : echo\n T[2].ms : echo\n~A\n1 2 3 4 5\n";
  const LasFile back = parse(write(parse(text, "in.las")), "out.las");
  const std::vector<Curve>& curves = back.logs().curves;
  ASSERT_EQ(curves.size(), 4u);
  EXPECT_EQ(curves[1].mnemonic, "GR:1");
  EXPECT_EQ(curves[2].mnemonic, "GR:2");
  EXPECT_EQ(curves[3].mnemonic, "T");
  EXPECT_EQ(curves[3].doubles, (std::vector<double>{4, 5}));
}

TEST(LasWriterTest, WriteFileSaysWhereItCannotWrite) {
  const LasFile file = readFile(dataFile("lasio_2.0_sample_2.0_minimal.las"));
  try {
    writeFile(file, "/nonexistent/folder/out.las");
    FAIL() << "wrote into a missing folder";
  } catch (const LasError& error) {
    EXPECT_STREQ(error.what(), "/nonexistent/folder/out.las: cannot be written");
  }
}

}  // namespace
