// kel_WellVelocity against a real kelwelld: creation, attributes, closed-form
// models converted both ways in every kind and unit, writes and refusals, the
// project's functions across a SIGKILL of the service.
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "LibraryService.h"
#include "ServiceProcess.h"
#include "kel_WellVelocity.h"

using namespace library_test;
using kelwell_test::startsWith;
using kelwell_test::sys;

namespace {

using V = kel_WellVelocity;
using Values = std::vector<double>;
namespace wt = kel_WellTypes;

constexpr wt::TimeType TWT = wt::TIME_TYPE_0, OWT = wt::TIME_TYPE_1, TWT_MSL = wt::TIME_TYPE_2;
constexpr wt::DepthType MD = wt::DEPTH_TYPE_0, TVD = wt::DEPTH_TYPE_1, TVDSS = wt::DEPTH_TYPE_2,
                        TVDGL = wt::DEPTH_TYPE_3;
constexpr V::VelocityType INTERVAL = V::VELOCITY_TYPE_0, AVERAGE = V::VELOCITY_TYPE_1, RMS = V::VELOCITY_TYPE_2;
constexpr V::VelocityOtherType DEPTH_VALUES = V::VELOCITY_OTHER_TYPE_3;

kel_FloatQuantities list(const char* unit, const Values& values) {
  kel_Array<float> floats;
  for (double v : values) floats.addElement(static_cast<float>(v));
  return kel_FloatQuantities(*unit ? kel_Unit::getUnit(unit) : kel_Unit(), floats);
}
Values valuesOf(const kel_FloatQuantities& q) {
  Values out;
  for (unsigned i = 0; i < q.getValues().size(); ++i) out.push_back(q.getValues()[i]);
  return out;
}
std::string unitOf(const kel_FloatQuantities& q) { return text(q.getUnit().getAcronym()); }
kel_FloatQuantity quantity(const char* unit, float value) { return kel_FloatQuantity(kel_Unit::getUnit(unit), value); }

void expectNear(const Values& actual, const Values& expected, double relative, const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], relative * std::max(1.0, std::fabs(expected[i]))) << what << " [" << i << "]";
}

// Two-way times (s) and depths below the function's datum (m).
struct Model {
  Values twt, depth;
};
Model constant(double v, int samples, double step) {
  Model m;
  for (int i = 0; i < samples; ++i) {
    m.twt.push_back(i * step);
    m.depth.push_back(v * i * step / 2.0);
  }
  return m;
}
// Layers of 2000, 3000 and 4000 m/s below the datum.
const Model layered{{0.0, 0.4, 1.0, 1.6}, {0.0, 400.0, 1300.0, 2500.0}};

V::WellVelocityData dataOf(const Model& m) {
  return {list("s", m.twt), list("m", m.depth), list("m/s", {}), list("m/s", {}), list("m/s", {})};
}

// A wellbore at mean sea level (TVD = TVDSS) in the test's project.
struct VelocityTest : Fixture {
  VelocityTest() : well(newWell()), bore(newBore(well)) { bore.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_4); }

  V create(const Model& m, float datum = 0.0f, bool stored = true) const {
    return stored ? V::createNewWellVelocity(bore, "checkshots", "survey", quantity("m", datum), dataOf(m), session)
                  : V::createStorelessWellVelocity(bore, "checkshots", "survey", quantity("m", datum), dataOf(m),
                                                   session);
  }
  static Values toTimes(const V& f, const Values& depths, wt::DepthType from, const char* depthUnit,
                        const char* timeUnit, wt::TimeType to) {
    const wt::Times out = f.convertDepthsToTimes(wt::Depths{list(depthUnit, depths), from}, kel_Unit::getUnit(timeUnit),
                                                 to);
    EXPECT_EQ(to, out.type);
    EXPECT_EQ(timeUnit, unitOf(out.values));
    return valuesOf(out.values);
  }
  static Values toDepths(const V& f, const Values& times, wt::TimeType from, const char* timeUnit,
                         const char* depthUnit, wt::DepthType to) {
    const wt::Depths out = f.convertTimesToDepths(wt::Times{list(timeUnit, times), from}, kel_Unit::getUnit(depthUnit),
                                                  to);
    EXPECT_EQ(to, out.type);
    EXPECT_EQ(depthUnit, unitOf(out.values));
    return valuesOf(out.values);
  }
  static Values toVelocities(const V& f, const Values& twt, V::VelocityType kind, const char* unit = "m/s") {
    const V::Velocities out = f.convertTimesToVelocities(wt::Times{list("s", twt), TWT}, kel_Unit::getUnit(unit), kind);
    EXPECT_EQ(kind, out.type);
    EXPECT_EQ(unit, unitOf(out.values));
    return valuesOf(out.values);
  }
  // Times, depths and anisotropy factors as kept.
  static std::vector<Values> samplesOf(const V& f) {
    const V::WellVelocityData d = f.getVelocityData(kel_Unit::getUnit("s"), kel_Unit::getUnit("m"),
                                                    kel_Unit::getUnit("m/s"));
    Values factors;
    const kel_Array<float> a = f.getAnisotropy();
    for (unsigned i = 0; i < a.size(); ++i) factors.push_back(a[i]);
    return {valuesOf(d.times), valuesOf(d.depths), factors};
  }

  kel_Well well;
  kel_WellBore bore;
};

} // namespace

// A checkshot table in ms and ft for the stored function; sonic-like interval
// velocities without depths for the storeless one.
TEST_F(VelocityTest, BothCreatorsWithAttributesInOtherUnitsAndTheProjectFinder) {
  const V::WellVelocityData checkshots{list("ms", {0, 400, 1000}), list("ft", {0, 400 / 0.3048, 1300 / 0.3048}),
                                       list("m/s", {}), list("m/s", {}), list("m/s", {})};
  const V::WellVelocityData sonic{list("s", {0, 0.4, 1.0}), list("m", {}), list("ft/s", {2000 / 0.3048, 2000 / 0.3048, 3000 / 0.3048}),
                                  list("m/s", {}), list("m/s", {})};
  V stored = V::createNewWellVelocity(bore, "VSP", "contractor", quantity("ft", 50), checkshots, session);
  V storeless = V::createStorelessWellVelocity(bore, "sonic", "logs", quantity("m", 0), sonic, session);
  for (V* f : {&stored, &storeless}) {
    EXPECT_EQ(3, f->getNumSamples());
    EXPECT_TRUE(f->getBore() == bore);
    EXPECT_TRUE(f->getProject() == project);
    expectNear(toDepths(*f, {0.7}, TWT, "s", "m", TVD), {f == &stored ? 850.0 - 15.24 : 850.0}, 1e-5, "depth");
  }
  EXPECT_EQ("VSP", text(stored.getWellVelocityName()));
  EXPECT_EQ("logs", text(storeless.getDataSource()));
  EXPECT_NEAR(15.24, stored.getDatum(kel_Unit::getUnit("m")).getValue(), 1e-4);
  EXPECT_EQ("ft", text(stored.getDatum(kel_Unit::getUnit("ft")).getUnit().getAcronym()));

  EXPECT_FALSE(stored.getCheckshot());
  stored.setCheckshot(true);
  stored.setComment("from the VSP");
  stored.setWellVelocityName("VSP 2004");
  stored.setDataSource("acquired");
  stored.setExtendViDeep(quantity("ft/s", 15000));
  stored.setDatum(quantity("m", 10));
  EXPECT_TRUE(stored.getCheckshot());
  EXPECT_EQ("from the VSP", text(stored.getComment()));
  EXPECT_EQ("VSP 2004", text(stored.getWellVelocityName()));
  EXPECT_EQ("acquired", text(stored.getDataSource()));
  EXPECT_FLOAT_EQ(4572.0f, stored.getExtendViDeep(kel_Unit::getUnit("m/s")).getValue());
  EXPECT_FLOAT_EQ(15000.0f, stored.getExtendViDeep(kel_Unit()).getValue());  // as written
  EXPECT_FLOAT_EQ(10.0f, stored.getDatum().getValue());
  EXPECT_TRUE(std::isnan(stored.getExtendViShallow(kel_Unit::getUnit("m/s")).getValue()));
  EXPECT_FALSE(stored.getLastModified("samples").isNullDate());

  const kel_Array<V> inProject = V::getWellVelocitiesInProject(project);
  ASSERT_EQ(1u, inProject.size());
  EXPECT_TRUE(inProject[0] == stored);
  EXPECT_TRUE(V::getFromString(storeless.getStringifiedReference()) == storeless);
  EXPECT_TRUE(V::narrow(kel_Entity(bore), false).isNil());

  // A table the service refuses creates nothing.
  // The creators' ladders have no validation clause: the refusal arrives as
  // an ORB failure without the service's reason.
  expectChain(failureOf([&] { create(Model{{0.0, 0.5, 0.4}, {0.0, 500.0, 600.0}}); }),
              {sys("Could not create a new well velocity from given inputs. ",
                   "Caught a CORBA::Exception exception in the kel_WellVelocity::createNewWellVelocity method. ")});
  EXPECT_EQ(1u, V::getWellVelocitiesInProject(project).size());
}

// Constant velocity and a linear gradient: every conversion in closed form.
TEST_F(VelocityTest, ClosedFormModelsConvertBothWaysThroughTheWrapper) {
  const double v = 2500.0;
  V f = create(constant(v, 11, 0.2));
  f.setExtendViShallow(quantity("m/s", v));
  f.setExtendViDeep(quantity("m/s", v));
  const Values depths{0.0, 125.0, 250.0, 1234.5, 2500.0, 2600.0};
  Values twt, owtMs, feet;
  for (double d : depths) {
    twt.push_back(2.0 * d / v);
    owtMs.push_back(1000.0 * d / v);
    feet.push_back(d / 0.3048);
  }
  expectNear(toTimes(f, depths, TVD, "m", "s", TWT), twt, 1e-6, "TWT s");
  expectNear(toTimes(f, feet, TVDSS, "ft", "ms", OWT), owtMs, 1e-6, "OWT ms from ft");
  expectNear(toDepths(f, twt, TWT, "s", "m", TVD), depths, 1e-6, "depths m");
  expectNear(toDepths(f, owtMs, OWT, "ms", "ft", MD), feet, 1e-6, "MD ft");
  for (const V::VelocityType kind : {INTERVAL, AVERAGE, RMS})
    expectNear(toVelocities(f, {0.0, 0.1, 0.4, 1.7, 2.0, 2.5}, kind), Values(6, v), 1e-6, "velocity");
  expectNear(toVelocities(f, {0.3}, AVERAGE, "ft/s"), {v / 0.3048}, 1e-6, "ft/s");
  // The default time unit is the millisecond.
  const wt::Times inDefaultUnit = f.convertDepthsToTimes(wt::Depths{list("m", {500}), TVD}, TWT);
  EXPECT_EQ("ms", unitOf(inDefaultUnit.values));
  expectNear(valuesOf(inDefaultUnit.values), {400.0}, 1e-6, "default unit");

  // v(z) = v0 + k z: TWT(z) = (2 / k) ln(1 + k z / v0), sampled every 2 ms.
  const double v0 = 1800.0, k = 0.6;
  const auto depthAt = [&](double t) { return v0 / k * (std::exp(k * t / 2.0) - 1.0); };
  Model m;
  for (int i = 0; i <= 1500; ++i) {
    m.twt.push_back(i * 0.002);
    m.depth.push_back(depthAt(i * 0.002));
  }
  const V gradient = create(m);
  const Values between{0.0011, 0.5, 1.2345, 2.9999};
  const Values gotDepths = toDepths(gradient, between, TWT, "s", "m", TVD);
  for (std::size_t i = 0; i < between.size(); ++i) EXPECT_NEAR(depthAt(between[i]), gotDepths[i], 0.01) << i;
  expectNear(toTimes(gradient, gotDepths, TVD, "m", "s", TWT), between, 1e-6, "between samples, back");
  const Values atSamples{m.twt[10], m.twt[700], m.twt[1500]};
  const Values sampleDepths = toDepths(gradient, atSamples, TWT, "s", "m", TVD);
  expectNear(sampleDepths, {m.depth[10], m.depth[700], m.depth[1500]}, 2e-7, "at samples");
  expectNear(toTimes(gradient, sampleDepths, TVD, "m", "s", TWT), atSamples, 2e-7, "at samples, back");
  // Interval velocity in a 2 ms layer: depth step over one-way time step.
  const double layer = (m.depth[501] - m.depth[500]) / 0.001;
  expectNear(toVelocities(gradient, {1.001}, INTERVAL), {layer}, 1e-4, "gradient interval");
  expectNear(toVelocities(gradient, {1.0}, AVERAGE), {m.depth[500] / 0.5}, 1e-6, "gradient average");

  // Instantaneous velocities integrated over one-way time: constant again.
  f.setWellVelocityPairs(V::VelocityDataPairs{list("s", {0.0, 0.4, 0.8}), list("m/s", {v, v, v}), TWT,
                                              V::VELOCITY_OTHER_TYPE_5});
  expectNear(toDepths(f, {0.6}, TWT, "s", "m", TVD), {0.3 * v}, 1e-6, "from instantaneous velocities");
}

// Kinds meet through TVDSS: the wellbore's datum 25 m above MSL, the sea floor
// 100 m below MSL, the function's datum 10 m above MSL; 2000 m/s throughout.
TEST_F(VelocityTest, EveryDepthAndTimeKindOnAWellboreWithElevationAndDatum) {
  bore.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_0);
  bore.setElevation(quantity("m", 25));
  well.setWaterDepth(quantity("m", 100));
  const V f = create(constant(2000.0, 21, 0.2), 10.0f);
  const std::pair<wt::DepthType, double> depths[] = {{MD, 1025.0}, {TVD, 1025.0}, {TVDSS, 1000.0}, {TVDGL, 900.0}};
  const std::pair<wt::TimeType, double> times[] = {{TWT, 1.01}, {OWT, 0.505}, {TWT_MSL, 1.0}};
  for (const auto& [depthKind, depth] : depths)
    for (const auto& [timeKind, time] : times) {
      const std::string what = "depth kind " + std::to_string(depthKind) + ", time kind " + std::to_string(timeKind);
      expectNear(toTimes(f, {depth}, depthKind, "m", "s", timeKind), {time}, 1e-6, what);
      expectNear(toDepths(f, {time}, timeKind, "s", "m", depthKind), {depth}, 1e-6, what);
    }
  const V::TimeDepthPairs pairs = f.getTimeDepths(kel_Unit::getUnit("ms"), kel_Unit::getUnit("m"), OWT, TVDSS);
  EXPECT_EQ(OWT, pairs.times.type);
  EXPECT_EQ(TVDSS, pairs.depths.type);
  EXPECT_NEAR(100.0, valuesOf(pairs.times.values).at(1), 1e-4);
  EXPECT_NEAR(190.0, valuesOf(pairs.depths.values).at(1), 1e-3);
  const V::TimeVelocityPairs velocities = f.getTimeVelocities(TWT, RMS);
  EXPECT_EQ(RMS, velocities.velocities.type);
  EXPECT_NEAR(2000.0, valuesOf(velocities.velocities.values).at(5), 1e-2);

  // Without the wellbore's elevation TVD is refused (the clause appends no
  // reason); TVDSS needs no elevation.
  bore.setElevation(kel_FloatQuantity(kel_Unit::getUnit("m"), std::nanf("")));
  const Failure refused = failureOf([&] { toTimes(f, {1025.0}, TVD, "m", "s", TWT); });
  expectChain(refused, {sys("Could not return the well velocities' time values and corresponding array of depth "
                            "values. ",
                            "Caught an EpiWell::WellVelocity::ConversionNotSupportedException exception in the "
                            "kel_WellVelocity::convertDepthsToTimes method. ")});
  expectNear(toTimes(f, {1000.0}, TVDSS, "m", "s", TWT), {1.01}, 1e-6, "TVDSS");
}

// Inserts, updates, deletes and factors change the samples; every refusal
// leaves samples and factors as they were.
TEST_F(VelocityTest, WritesAndRefusalsThatChangeNothing) {
  V f = create(layered);
  f.insertWellVelocityPairs(V::VelocityDataPairs{list("s", {0.7}), list("m", {850}), TWT, DEPTH_VALUES},
                            kel_Array<float>());
  EXPECT_EQ(5, f.getNumSamples());
  f.deleteTimes(wt::Times{list("ms", {700}), TWT});
  EXPECT_EQ(4, f.getNumSamples());
  kel_Array<float> factors;
  factors.addElement(1.1f);
  factors.addElement(1.2f);
  f.setAnisotropy(2, factors);
  f.updateWellVelocityPairs(V::VelocityDataPairs{list("s", {0, 0.4, 1.0, 1.6}), list("ft", {0, 1000, 3000, 6000}),
                                                 TWT, DEPTH_VALUES});
  const std::vector<Values> before = samplesOf(f);
  expectNear(before[1], {0, 304.8, 914.4, 1828.8}, 1e-6, "updated depths");
  expectNear(before[2], {1, 1, 1.1, 1.2}, 1e-6, "factors kept by the update");

  const auto pairs = [](const Values& t, const Values& d, const char* unit = "m") {
    return V::VelocityDataPairs{list("s", t), list(unit, d), TWT, DEPTH_VALUES};
  };
  const std::string dataPair = "Caught an EpiWell::WellVelocity::InvalidDataPairException  exception in the ";
  const std::string numSamples = "Caught an EpiWell::WellVelocity::InvalidNumSamplesException exception in the ";
  struct Case {
    const char* what;
    std::function<void()> write;
    std::string message, context;
    kelwell_test::Kind kind = kelwell_test::Kind::System;
  };
  const Case cases[] = {
      {"times not increasing", [&] { f.setVelocityData(dataOf(Model{{0.0, 0.5, 0.5}, {0.0, 1.0, 2.0}})); },
       "Could not set the well velocities' time, depth and velocity values. ",
       dataPair + "kel_WellVelocity::setVelocityData method. "},
      {"depths not increasing", [&] { f.setWellVelocityPairs(pairs({0.1, 0.5}, {2.0, 1.0})); },
       "Could not update/replace the entire well velocity data samples with the supplied ones. ",
       dataPair + "kel_WellVelocity::setWellVelocityPairs method. "},
      {"a depth in a time unit", [&] { f.setWellVelocityPairs(pairs({0.1, 0.5}, {1.0, 2.0}, "s")); },
       "Could not update/replace the entire well velocity data samples with the supplied ones. ",
       dataPair + "kel_WellVelocity::setWellVelocityPairs method. "},
      {"an update of another length", [&] { f.updateWellVelocityPairs(pairs({0.1}, {1.0})); },
       "Could not replace the current well velocity data samples. ",
       numSamples + "kel_WellVelocity::updateWellVelocityPairs method. "},
      {"a negative update", [&] { f.updateWellVelocityPairs(pairs({0, 0.4, 1.0, 1.6}, {0, 400, -1, 2500})); },
       "Could not replace the current well velocity data samples. ",
       dataPair + "kel_WellVelocity::updateWellVelocityPairs method. "},
      {"an insert at a sampled time", [&] { f.insertWellVelocityPairs(pairs({0.4}, {400.0}), kel_Array<float>()); },
       "Could not insert data into the current list of well velocity data samples. ",
       dataPair + "kel_WellVelocity::insertWellVelocityPairs method. "},
      {"factors of another count", [&] { f.insertWellVelocityPairs(pairs({0.7}, {850.0}), factors); },
       "Could not insert data into the current list of well velocity data samples. ",
       numSamples + "kel_WellVelocity::insertWellVelocityPairs method. "},
      {"a time that is no sample", [&] { f.deleteTimes(wt::Times{list("s", {0.4, 0.5}), TWT}); },
       "Could not remove well velocity data samples based upon the supplied times. ",
       "Caught an EpiWell::WellVelocity::TimeNotFoundException exception in the kel_WellVelocity::deleteTimes "
       "method. "},
      {"a negative extend velocity", [&] { f.setExtendViShallow(quantity("m/s", -1500)); },
       "Could not update the extend interval velocity on the shallow end. ",
       "Caught an EpEntity::ValidationException exception in the kel_WellVelocity::setExtendViShallow method. ",
       kelwell_test::Kind::User},
      {"an infinite datum", [&] { f.setDatum(quantity("m", INFINITY)); },
       "Could not update the reference elevation for depth values. ",
       "Caught an EpEntity::ValidationException exception in the kel_WellVelocity::setDatum method. ",
       kelwell_test::Kind::User},
      {"factors beyond the last sample", [&] { f.setAnisotropy(3, factors); },
       "Could not update the the p-wave anisotropy factors at given position. ",
       "Caught an EpTypes::InvalidDataTypeException exception in the kel_WellVelocity::setAnisotropy method. "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectChain(failureOf(c.write), {startsWith(Level(c.kind, c.message, c.context))});
    EXPECT_EQ(before, samplesOf(f));
  }
  EXPECT_FLOAT_EQ(0.0f, f.getDatum(kel_Unit::getUnit("m")).getValue());
  EXPECT_TRUE(std::isnan(f.getExtendViShallow(kel_Unit::getUnit("m/s")).getValue()));
}

// The stored function, its samples and attributes survive a SIGKILL of the
// service; the storeless one is gone with it.
TEST_F(VelocityTest, SurvivesASigkillAndRestartOfTheService) {
  V stored = create(layered, 5.0f);
  const V storeless = create(layered, 0.0f, false);
  stored.setExtendViDeep(quantity("m/s", 5000));
  kel_Array<float> factors;
  factors.addElement(1.05f);
  stored.setAnisotropy(1, factors);
  // A subsea depth places the sample by itself: 845 m below MSL lies 850 m below the datum.
  stored.insertWellVelocityPairs(V::VelocityDataPairs{list("s", {0.7}), list("m", {845}), TWT,
                                                      V::VELOCITY_OTHER_TYPE_4},
                                 kel_Array<float>());
  const std::vector<Values> before = samplesOf(stored);
  expectNear(before[1], {0, 400, 850, 1300, 2500}, 1e-6, "with the subsea sample");
  const std::string id = text(stored.getId());

  kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
  service.kill();
  service.start();

  EXPECT_EQ(id, text(stored.getId()));
  EXPECT_EQ(before, samplesOf(stored));
  EXPECT_FLOAT_EQ(5.0f, stored.getDatum(kel_Unit::getUnit("m")).getValue());
  EXPECT_FLOAT_EQ(5000.0f, stored.getExtendViDeep(kel_Unit::getUnit("m/s")).getValue());
  expectNear(toDepths(stored, {0.7, 2.0}, TWT, "s", "m", TVDSS), {850.0 - 5.0, 3500.0 - 5.0}, 1e-6, "after restart");
  ASSERT_EQ(1u, V::getWellVelocitiesInProject(project).size());
  EXPECT_TRUE(V::getWellVelocitiesInProject(project)[0] == stored);
  EXPECT_TRUE(failureOf([&] { storeless.getNumSamples(); }).isSystemException());
}
