// Velocity functions over the wire: creation, attributes, closed-form and
// layered models converted both ways in every kind and unit, writes and their
// refusals, the wellbore's functions and its default one across a restart.
#include <cmath>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

using Velocity = EpiWell::WellVelocity;
using Values = std::vector<double>;

// Two-way times (s) and depths below the function's datum (m).
struct Model {
  Values twt, depth;
};

// Constant velocity v: depth = v * twt / 2.
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

Values valuesOf(const EpTypes::DataSequence& sequence) {
  Values out;
  if (sequence._d() == EpTypes::FLOAT_DATA)
    for (CORBA::ULong i = 0; i < sequence.floatValues().length(); ++i) out.push_back(sequence.floatValues()[i]);
  if (sequence._d() == EpTypes::DOUBLE_DATA)
    for (CORBA::ULong i = 0; i < sequence.doubleValues().length(); ++i) out.push_back(sequence.doubleValues()[i]);
  return out;
}

std::string acronymOf(EpUnitOfMeasureService::Unit_ptr unit) {
  return CORBA::is_nil(unit) ? "" : CORBA::String_var(unit->acronym()).in();
}

void expectNear(const Values& actual, const Values& expected, double relative, const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], relative * std::max(1.0, std::fabs(expected[i]))) << what << " [" << i << "]";
}

std::string idOf(CORBA::Object_ptr object) {
  return CORBA::String_var(EpEntity::Entity::_narrow(object)->getId()).in();
}

// A wellbore at mean sea level in a project of its own, and the steps of
// these tests; public so that a test with its own service can use them too.
class VelocityFunctions : public ::testing::Test {
public:
  explicit VelocityFunctions(ServiceProcess& service = sharedService()) : client(service) {
    units = client.manager->getUnitService();
    project = client.newProject("velocities");
    well = client.newWell(project.in(), "velocity owner");
    bore = client.newWellBore(well.in(), "V-1");
    bore->setElevationDatum(EpiWell::WellBore::MEAN_SEA_LEVEL);   // TVD = TVDSS
  }

  EpUnitOfMeasureService::Unit_ptr unit(const char* acronym) {
    if (!*acronym) return EpUnitOfMeasureService::Unit::_nil();
    auto& slot = m_units[acronym];
    if (CORBA::is_nil(slot.in())) slot = units->getUnit(acronym);
    return slot.in();
  }

  EpiTypes::DataQuantities list(const Values& values, const char* unitAcronym) {
    EpiTypes::DataQuantities q;
    EpTypes::DoubleSeq doubles;
    doubles.length(static_cast<CORBA::ULong>(values.size()));
    for (CORBA::ULong i = 0; i < doubles.length(); ++i) doubles[i] = values[i];
    q.values.doubleValues(doubles);
    q.unit = EpUnitOfMeasureService::Unit::_duplicate(unit(unitAcronym));
    return q;
  }

  EpiTypes::DataQuantity quantity(double value, const char* unitAcronym) {
    EpiTypes::DataQuantity q;
    q.value.doubleValue(value);
    q.unit = EpUnitOfMeasureService::Unit::_duplicate(unit(unitAcronym));
    return q;
  }

  Velocity::WellVelocityData data(const Model& model) {
    Velocity::WellVelocityData d;
    d.times = list(model.twt, "s");
    d.depths = list(model.depth, "m");
    d.firstVelocities = d.secondVelocities = d.thirdVelocities = list({}, "m/s");
    return d;
  }

  EpiWell::WellVelocity_var create(const Model& model, bool stored = true, double datum = 0.0,
                                   EpiWell::WellBore_ptr on = EpiWell::WellBore::_nil()) {
    EpiWell::WellBore_ptr owner = CORBA::is_nil(on) ? bore.in() : on;
    const auto d = data(model);
    if (stored) {
      CORBA::Object_var f = client.factory(EpiWell::_tc_NewWellVelocityFactory->id(), true);
      return EpiWell::NewWellVelocityFactory::_narrow(f.in())
          ->createWellVelocity(owner, "checkshots", "survey", quantity(datum, "m"), d, client.session.in());
    }
    CORBA::Object_var f = client.factory(EpiWell::_tc_StorelessWellVelocityFactory->id(), false);
    return EpiWell::StorelessWellVelocityFactory::_narrow(f.in())
        ->createWellVelocity(owner, "checkshots", "survey", quantity(datum, "m"), d, client.session.in());
  }

  Values toTimes(EpiWell::WellVelocity_ptr v, const Values& depths, EpiWell::DepthType from, const char* depthUnit,
                 const char* timeUnit, EpiWell::TimeType to) {
    EpiWell::Depths in{list(depths, depthUnit), from};
    EpiWell::Times_var out = v->convertDepthsToTimes(in, EpTypes::FLOAT_DATA, unit(timeUnit), to);
    EXPECT_EQ(out->type, to);
    EXPECT_EQ(acronymOf(out->values.unit.in()), *timeUnit ? timeUnit : "s");
    return valuesOf(out->values.values);
  }

  Values toDepths(EpiWell::WellVelocity_ptr v, const Values& times, EpiWell::TimeType from, const char* timeUnit,
                  const char* depthUnit, EpiWell::DepthType to) {
    EpiWell::Times in{list(times, timeUnit), from};
    EpiWell::Depths_var out = v->convertTimesToDepths(in, EpTypes::FLOAT_DATA, unit(depthUnit), to);
    EXPECT_EQ(out->type, to);
    return valuesOf(out->values.values);
  }

  Values toVelocities(EpiWell::WellVelocity_ptr v, const Values& times, Velocity::VelocityType kind,
                      const char* velocityUnit = "m/s") {
    EpiWell::Times in{list(times, "s"), EpiWell::TIME_TWT};
    Velocity::Velocities_var out = v->convertTimesToVelocities(in, EpTypes::FLOAT_DATA, unit(velocityUnit), kind);
    EXPECT_EQ(out->type, kind);
    return valuesOf(out->values.values);
  }

  // Times and depths as kept, with the anisotropy factors.
  std::vector<Values> samplesOf(EpiWell::WellVelocity_ptr v) {
    Velocity::WellVelocityData_var d = v->getVelocityData(EpTypes::DOUBLE_DATA, unit(""), unit(""), unit(""));
    EpTypes::DataSequence_var factors = v->getAnisotropy(EpTypes::DOUBLE_DATA);
    return {valuesOf(d->times.values), valuesOf(d->depths.values), valuesOf(factors.in())};
  }

  Client client;
  EpUnitOfMeasureService::UnitService_var units;
  EpSession::Project_var project;
  EpiWell::Well_var well;
  EpiWell::WellBore_var bore;

private:
  std::map<std::string, EpUnitOfMeasureService::Unit_var> m_units;
};

} // namespace

TEST_F(VelocityFunctions, AreCreatedStoredAndStorelessWithTheirAttributes) {
  for (const bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "stored" : "storeless");
    EpiWell::WellVelocity_var v = create(layered, stored, 12.5);
    EXPECT_EQ(idOf(v.in()).rfind(stored ? "velocity:" : "storeless-velocity:", 0), 0u);
    EXPECT_STREQ(CORBA::String_var(v->getEntityType()).in(), "EpiWell_WellVelocity");
    EXPECT_EQ(idOf(EpiWell::WellBore_var(v->getBore()).in()), idOf(bore.in()));
    EXPECT_EQ(idOf(EpSession::Project_var(v->getProject()).in()), idOf(project.in()));
    EXPECT_EQ(v->getNumSamples(), 4);
    EXPECT_STREQ(CORBA::String_var(v->getWellVelocityName()).in(), "checkshots");
    EXPECT_STREQ(CORBA::String_var(v->getDataSource()).in(), "survey");
    EpiTypes::DataQuantity_var datum = v->getDatum();
    EXPECT_FLOAT_EQ(datum->value.floatValue(), 12.5f);
    EXPECT_EQ(acronymOf(datum->unit.in()), "m");

    EXPECT_FALSE(v->getCheckshot());
    v->setCheckshot(true);
    v->setComment("from the VSP");
    v->setWellVelocityName("VSP 2004");
    v->setDataSource("contractor");
    v->setExtendViDeep(quantity(15000.0, "ft/s"));
    EXPECT_TRUE(v->getCheckshot());
    EXPECT_STREQ(CORBA::String_var(v->getComment()).in(), "from the VSP");
    EXPECT_STREQ(CORBA::String_var(v->getWellVelocityName()).in(), "VSP 2004");
    EXPECT_STREQ(CORBA::String_var(v->getDataSource()).in(), "contractor");
    EpiTypes::DataQuantity_var deep = v->getExtendViDeep(EpTypes::FLOAT_DATA, unit("m/s"));
    EXPECT_FLOAT_EQ(deep->value.floatValue(), 4572.0f);
    EpiTypes::DataQuantity_var asWritten = v->getExtendViDeep(EpTypes::FLOAT_DATA, unit(""));
    EXPECT_FLOAT_EQ(asWritten->value.floatValue(), 15000.0f);
    EXPECT_EQ(acronymOf(asWritten->unit.in()), "ft/s");
    EpiTypes::DataQuantity_var shallow = v->getExtendViShallow(EpTypes::DOUBLE_DATA, unit("km/s"));
    EXPECT_TRUE(std::isnan(shallow->value.doubleValue()));   // never written

    EXPECT_THROW(v->setExtendViShallow(quantity(-1.0, "m/s")), EpEntity::ValidationException);
    EXPECT_THROW(v->setExtendViShallow(quantity(1500.0, "m")), EpEntity::ValidationException);
    EXPECT_THROW(v->getExtendViDeep(EpTypes::LONG_DATA, unit("m/s")), EpTypes::InvalidDataTypeException);
    EXPECT_THROW(v->getExtendViDeep(EpTypes::FLOAT_DATA, unit("s")), EpUnitOfMeasureService::ConversionException);
    EXPECT_THROW(v->getLastModified("path"), EpEntity::ValidationException);
    EXPECT_GE(std::string(CORBA::String_var(v->getLastModified("samples")).in()),
              std::string(CORBA::String_var(v->getLastModified("")).in()).substr(0, 4));
  }
}

TEST_F(VelocityFunctions, CreationRefusesWhatMakesNoFunctionAndCreatesNothing) {
  EpiWell::Well_var storelessWell = client.storelessWellFactory()->createWell(project.in(), property("UWI", "S"),
                                                                                client.session.in());
  EpiWell::WellBore_var storelessBore =
      client.storelessWellBoreFactory()->createWellBore(storelessWell.in(), property("UBHI", "S-1"),
                                                        client.session.in());
  EXPECT_THROW(create(layered, true, 0.0, storelessBore.in()), EpTypes::FailedOperationException);
  EXPECT_THROW(create(Model{{0.0, 0.5, 0.4}, {0.0, 500.0, 600.0}}), EpEntity::ValidationException);
  EXPECT_THROW(create(Model{{0.0, 0.5}, {0.0}}), EpEntity::ValidationException);
  EXPECT_THROW(create(Model{{0.0, 0.5}, {0.0, -1.0}}, false), EpEntity::ValidationException);
  EXPECT_EQ(EpEntity::EntitySeq_var(bore->getWellVelocities())->length(), 0u);
  EpiWell::WellVelocity_var v = create(layered, false, 0.0, storelessBore.in());
  EXPECT_EQ(EpEntity::EntitySeq_var(storelessBore->getWellVelocities())->length(), 1u);
}

// Constant velocity: every conversion is known in closed form, at samples,
// between them and beyond both ends (extend velocities equal to it).
TEST_F(VelocityFunctions, ConstantVelocityConvertsBothWaysInEveryUnit) {
  const double v = 2500.0;
  EpiWell::WellVelocity_var f = create(constant(v, 11, 0.2));
  f->setExtendViShallow(quantity(v, "m/s"));
  f->setExtendViDeep(quantity(v, "m/s"));
  const Values depths{0.0, 125.0, 250.0, 1234.5, 2500.0, 2600.0};
  Values twt, owtMs, feet;
  for (double d : depths) {
    twt.push_back(2.0 * d / v);
    owtMs.push_back(1000.0 * d / v);
    feet.push_back(d / 0.3048);
  }
  expectNear(toTimes(f.in(), depths, EpiWell::DEPTH_TVD, "m", "s", EpiWell::TIME_TWT), twt, 1e-6, "TWT s");
  expectNear(toTimes(f.in(), depths, EpiWell::DEPTH_TVD, "m", "ms", EpiWell::TIME_OWT), owtMs, 1e-6, "OWT ms");
  expectNear(toTimes(f.in(), feet, EpiWell::DEPTH_TVDSS, "ft", "", EpiWell::TIME_TWT), twt, 1e-6, "from ft, nil unit");
  expectNear(toDepths(f.in(), twt, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD), depths, 1e-6, "depths m");
  expectNear(toDepths(f.in(), owtMs, EpiWell::TIME_OWT, "ms", "ft", EpiWell::DEPTH_MD), feet, 1e-6, "MD ft");
  for (const auto kind : {Velocity::INTERVAL_VELOCITY, Velocity::AVERAGE_VELOCITY, Velocity::RMS_VELOCITY})
    expectNear(toVelocities(f.in(), {0.0, 0.1, 0.4, 1.7, 2.0, 2.5}, kind), Values(6, v), 1e-6, "velocity");
  expectNear(toVelocities(f.in(), {0.3}, Velocity::AVERAGE_VELOCITY, "ft/s"), {v / 0.3048}, 1e-6, "ft/s");
}

// v(z) = v0 + k z: TWT(z) = (2 / k) ln(1 + k z / v0). Sampled every 2 ms, the
// linear relation between samples stays within 0.01 m of the curve.
TEST_F(VelocityFunctions, LinearGradientSampledFinelyRoundTripsToFloatPrecision) {
  const double v0 = 1800.0, k = 0.6;
  const auto depthAt = [&](double t) { return v0 / k * (std::exp(k * t / 2.0) - 1.0); };
  Model m;
  for (int i = 0; i <= 1500; ++i) {
    m.twt.push_back(i * 0.002);
    m.depth.push_back(depthAt(i * 0.002));
  }
  EpiWell::WellVelocity_var f = create(m);
  const Values times{0.0011, 0.5, 1.2345, 2.9999};
  Values expected;
  for (double t : times) expected.push_back(depthAt(t));
  const Values depths = toDepths(f.in(), times, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD);
  ASSERT_EQ(depths.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(depths[i], expected[i], 0.01) << times[i];
  expectNear(toTimes(f.in(), depths, EpiWell::DEPTH_TVD, "m", "s", EpiWell::TIME_TWT), times, 1e-6, "back to times");
  // At the samples themselves, exact to float precision.
  const Values atSamples{m.twt[10], m.twt[700], m.twt[1500]};
  const Values sampleDepths = toDepths(f.in(), atSamples, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD);
  expectNear(sampleDepths, {m.depth[10], m.depth[700], m.depth[1500]}, 2e-7, "sample depths");
  expectNear(toTimes(f.in(), sampleDepths, EpiWell::DEPTH_TVD, "m", "s", EpiWell::TIME_TWT), atSamples, 2e-7,
             "sample times");
}

// Layers of 2000, 3000 and 4000 m/s (layered), extended by 1500 m/s above and
// 5000 m/s below; the expected values are worked by hand.
TEST_F(VelocityFunctions, LayeredModelGivesHandComputedVelocitiesAndExtends) {
  EpiWell::WellVelocity_var f = create(layered);
  f->setExtendViShallow(quantity(1500.0, "m/s"));
  f->setExtendViDeep(quantity(5000.0, "m/s"));
  struct Case {
    Velocity::VelocityType kind;
    double twt, expected;
  } cases[] = {
      {Velocity::INTERVAL_VELOCITY, 0.0, 1500.0},    // the first sample belongs to the layer above
      {Velocity::INTERVAL_VELOCITY, 0.2, 2000.0},
      {Velocity::INTERVAL_VELOCITY, 0.4, 2000.0},
      {Velocity::INTERVAL_VELOCITY, 0.7, 3000.0},
      {Velocity::INTERVAL_VELOCITY, 1.6, 4000.0},
      {Velocity::INTERVAL_VELOCITY, 2.0, 5000.0},
      {Velocity::AVERAGE_VELOCITY, 0.0, 2000.0},     // the limit: the layer just below the datum
      {Velocity::AVERAGE_VELOCITY, 0.7, 850.0 / 0.35},
      {Velocity::AVERAGE_VELOCITY, 1.0, 2600.0},
      {Velocity::AVERAGE_VELOCITY, 2.0, 3500.0},     // 2500 m + 5000 m/s * 0.2 s over 1 s
      {Velocity::RMS_VELOCITY, 0.2, 2000.0},
      {Velocity::RMS_VELOCITY, 1.0, std::sqrt((4e6 * 0.4 + 9e6 * 0.6) / 1.0)},
      {Velocity::RMS_VELOCITY, 1.6, std::sqrt((4e6 * 0.4 + 9e6 * 0.6 + 16e6 * 0.6) / 1.6)},
      {Velocity::RMS_VELOCITY, 2.0, std::sqrt((4e6 * 0.4 + 9e6 * 0.6 + 16e6 * 0.6 + 25e6 * 0.4) / 2.0)},
  };
  for (const Case& c : cases)
    expectNear(toVelocities(f.in(), {c.twt}, c.kind), {c.expected}, 1e-6,
               "kind " + std::to_string(c.kind) + " at " + std::to_string(c.twt));

  expectNear(toDepths(f.in(), {0.7, 2.0}, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD), {850.0, 3500.0}, 1e-6,
             "depths");
  expectNear(toTimes(f.in(), {3000.0}, EpiWell::DEPTH_TVD, "m", "s", EpiWell::TIME_TWT), {1.8}, 1e-6, "deep extend");

  // The sample table with its three velocity lists at the sample times.
  Velocity::WellVelocityData_var d = f->getVelocityData(EpTypes::FLOAT_DATA, unit("ms"), unit("ft"), unit("km/s"));
  expectNear(valuesOf(d->times.values), {0.0, 400.0, 1000.0, 1600.0}, 1e-6, "times ms");
  expectNear(valuesOf(d->depths.values), {0.0, 400.0 / 0.3048, 1300.0 / 0.3048, 2500.0 / 0.3048}, 1e-6, "depths ft");
  expectNear(valuesOf(d->firstVelocities.values), {1.5, 2.0, 3.0, 4.0}, 1e-6, "interval");
  expectNear(valuesOf(d->secondVelocities.values), {2.0, 2.0, 2.6, 2500.0 / 0.8 / 1000.0}, 1e-6, "average");
  EXPECT_EQ(acronymOf(d->thirdVelocities.unit.in()), "km/s");
  EXPECT_THROW(f->getVelocityData(EpTypes::SHORT_DATA, unit("s"), unit("m"), unit("m/s")),
               EpTypes::InvalidDataTypeException);
  EXPECT_THROW(f->getVelocityData(EpTypes::FLOAT_DATA, unit("m"), unit("m"), unit("m/s")),
               EpUnitOfMeasureService::ConversionException);
}

TEST_F(VelocityFunctions, BeyondTheSamplesWithoutExtendVelocitiesIsNotSupportedAndNamesIt) {
  EpiWell::WellVelocity_var f = create(Model{{0.4, 1.0}, {400.0, 1300.0}});
  const std::string deep = reasonOf<Velocity::ConversionNotSupportedException>(
      [&] { toDepths(f.in(), {1.2}, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD); });
  EXPECT_NE(deep.find("deep"), std::string::npos) << deep;
  const std::string shallow = reasonOf<Velocity::ConversionNotSupportedException>(
      [&] { toTimes(f.in(), {250.0}, EpiWell::DEPTH_TVD, "m", "s", EpiWell::TIME_TWT); });
  EXPECT_NE(shallow.find("shallow"), std::string::npos) << shallow;
  f->setExtendViShallow(quantity(1500.0, "m/s"));
  f->setExtendViDeep(quantity(5000.0, "m/s"));
  expectNear(toDepths(f.in(), {0.2, 1.2}, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD), {250.0, 1800.0}, 1e-6,
             "both extends");
}

// Kinds meet through TVDSS: the wellbore's datum 25 m above MSL, the sea floor
// 100 m below it, the function's datum 10 m above MSL; 2000 m/s throughout.
TEST_F(VelocityFunctions, EveryDepthAndTimeKindRelatesThroughTheReferences) {
  bore->setElevationDatum(EpiWell::WellBore::KELLY_BUSHING);
  bore->setElevation(quantity(25.0, "m"));
  well->setWaterDepth(quantity(100.0, "m"));
  EpiWell::WellVelocity_var f = create(constant(2000.0, 21, 0.2), true, 10.0);
  // TVDSS 1000 m lies 1010 m below the function's datum: TWT 1.01 s.
  struct Case {
    EpiWell::DepthType kind;
    double depth;
  } depths[] = {{EpiWell::DEPTH_MD, 1025.0}, {EpiWell::DEPTH_TVD, 1025.0}, {EpiWell::DEPTH_TVDSS, 1000.0},
                {EpiWell::DEPTH_TVDGL, 900.0}};
  struct TimeCase {
    EpiWell::TimeType kind;
    double time;
  } times[] = {{EpiWell::TIME_TWT, 1.01}, {EpiWell::TIME_OWT, 0.505}, {EpiWell::TIME_TWT_MSL, 1.0}};
  for (const Case& d : depths)
    for (const TimeCase& t : times) {
      const std::string what = "depth kind " + std::to_string(d.kind) + ", time kind " + std::to_string(t.kind);
      expectNear(toTimes(f.in(), {d.depth}, d.kind, "m", "s", t.kind), {t.time}, 1e-6, what);
      expectNear(toDepths(f.in(), {t.time}, t.kind, "s", "m", d.kind), {d.depth}, 1e-6, what);
    }
  Velocity::TimeDepthPairs_var pairs =
      f->getTimeDepths(EpTypes::FLOAT_DATA, unit("s"), unit("m"), EpiWell::TIME_OWT, EpiWell::DEPTH_TVDSS);
  EXPECT_EQ(pairs->times.type, EpiWell::TIME_OWT);
  EXPECT_EQ(pairs->depths.type, EpiWell::DEPTH_TVDSS);
  EXPECT_NEAR(valuesOf(pairs->times.values.values).at(1), 0.1, 1e-7);
  EXPECT_NEAR(valuesOf(pairs->depths.values.values).at(1), 200.0 - 10.0, 1e-4);

  // Without the wellbore's elevation only TVD needs it: refused, naming it.
  bore->setElevation(quantity(std::nan(""), "m"));
  const std::string reason = reasonOf<Velocity::ConversionNotSupportedException>(
      [&] { toTimes(f.in(), {1025.0}, EpiWell::DEPTH_TVD, "m", "s", EpiWell::TIME_TWT); });
  EXPECT_NE(reason.find("elevation"), std::string::npos) << reason;
  expectNear(toTimes(f.in(), {1000.0}, EpiWell::DEPTH_TVDSS, "m", "s", EpiWell::TIME_TWT), {1.01}, 1e-6, "TVDSS");
  EXPECT_THROW(toTimes(f.in(), {1.0}, 7, "m", "s", EpiWell::TIME_TWT), Velocity::ConversionNotSupportedException);
  EXPECT_THROW(toTimes(f.in(), {1.0}, EpiWell::DEPTH_TVDSS, "s", "s", EpiWell::TIME_TWT),
               EpUnitOfMeasureService::ConversionException);
  EXPECT_THROW(f->convertDepthsToTimes(EpiWell::Depths{list({1.0}, "m"), EpiWell::DEPTH_TVDSS}, EpTypes::LONG_DATA,
                                       unit("s"), EpiWell::TIME_TWT),
               EpTypes::InvalidDataTypeException);
}

// Each refused write leaves samples and factors exactly as they were.
TEST_F(VelocityFunctions, EveryRefusedWriteLeavesTheSamplesAsTheyWere) {
  EpiWell::WellVelocity_var f = create(layered);
  const auto pairs = [&](const Values& t, const Values& v, Velocity::VelocityOtherType kind, const char* valueUnit) {
    return Velocity::VelocityDataPairs{list(t, "s"), list(v, valueUnit), EpiWell::TIME_TWT, kind};
  };
  const auto before = samplesOf(f.in());
  const std::vector<std::pair<const char*, std::function<void()>>> dataPairRefusals{
      {"times not increasing", [&] { f->setVelocityData(data(Model{{0.0, 0.5, 0.5}, {0.0, 1.0, 2.0}})); }},
      {"depths not increasing", [&] { f->setVelocityData(data(Model{{0.0, 0.5, 0.6}, {0.0, 2.0, 1.0}})); }},
      {"lists of different lengths", [&] { f->setVelocityData(data(Model{{0.0, 0.5}, {0.0}})); }},
      {"a negative time",
       [&] { f->setWellVelocityPairs(pairs({-0.1, 0.5}, {1.0, 2.0}, Velocity::DEPTH_VALUES, "m")); }},
      {"a non-finite value",
       [&] { f->setWellVelocityPairs(pairs({0.1, 0.5}, {1.0, std::nan("")}, Velocity::DEPTH_VALUES, "m")); }},
      {"a depth in a time unit",
       [&] { f->setWellVelocityPairs(pairs({0.1, 0.5}, {1.0, 2.0}, Velocity::DEPTH_VALUES, "s")); }},
      {"an unknown kind of values", [&] { f->setWellVelocityPairs(pairs({0.1}, {1.0}, 6, "m")); }},
      {"an insert at a sampled time",
       [&] { f->insertWellVelocityPairs(pairs({0.4}, {400.0}, Velocity::DEPTH_VALUES, "m"), EpTypes::FloatSeq()); }},
  };
  for (const auto& [what, write] : dataPairRefusals) {
    SCOPED_TRACE(what);
    EXPECT_THROW(write(), Velocity::InvalidDataPairException);
    EXPECT_EQ(samplesOf(f.in()), before);
  }
  EpTypes::FloatSeq oneFactor;
  oneFactor.length(1);
  oneFactor[0] = 1.1f;
  const std::vector<std::pair<const char*, std::function<void()>>> countRefusals{
      {"an update with fewer pairs",
       [&] { f->updateWellVelocityPairs(pairs({0.4, 1.0}, {400.0, 1300.0}, Velocity::DEPTH_VALUES, "m")); }},
      {"factors for fewer pairs",
       [&] {
         f->insertWellVelocityPairs(pairs({0.2, 0.3}, {200.0, 300.0}, Velocity::DEPTH_VALUES, "m"), oneFactor);
       }},
  };
  for (const auto& [what, write] : countRefusals) {
    SCOPED_TRACE(what);
    EXPECT_THROW(write(), Velocity::InvalidNumSamplesException);
    EXPECT_EQ(samplesOf(f.in()), before);
  }
  const std::string notFound = reasonOf<Velocity::TimeNotFoundException>(
      [&] { f->deleteTimes(EpiWell::Times{list({0.4, 0.5, 0.6}, "s"), EpiWell::TIME_TWT}); });
  EXPECT_NE(notFound.find("0.5"), std::string::npos) << notFound;
  EXPECT_EQ(notFound.find("0.6"), std::string::npos) << notFound;
  EXPECT_EQ(samplesOf(f.in()), before);
  EpTypes::DataSequence factors;
  factors.floatValues(oneFactor);
  EXPECT_THROW(f->setAnisotropy(4, factors), EpTypes::InvalidDataTypeException);
  oneFactor[0] = -1.0f;
  factors.floatValues(oneFactor);
  EXPECT_THROW(f->setAnisotropy(0, factors), EpTypes::InvalidDataTypeException);
  EXPECT_EQ(samplesOf(f.in()), before);
}

TEST_F(VelocityFunctions, InsertsDeletesUpdatesAndFactorsChangeTheSamples) {
  EpiWell::WellVelocity_var f = create(layered, false);
  const auto pairs = [&](const Values& t, const Values& v, Velocity::VelocityOtherType kind, const char* valueUnit) {
    return Velocity::VelocityDataPairs{list(t, "ms"), list(v, valueUnit), EpiWell::TIME_TWT, kind};
  };
  EpTypes::FloatSeq factor;
  factor.length(1);
  factor[0] = 1.25f;
  // An average velocity places its sample by itself: 0.7 s at 2000 m/s is 700 m.
  f->insertWellVelocityPairs(pairs({700.0}, {2000.0}, Velocity::AVERAGE_VELOCITY, "m/s"), factor);
  auto s = samplesOf(f.in());
  expectNear(s[0], {0.0, 0.4, 0.7, 1.0, 1.6}, 1e-7, "times");
  expectNear(s[1], {0.0, 400.0, 700.0, 1300.0, 2500.0}, 1e-6, "depths");
  expectNear(s[2], {1.0, 1.0, 1.25, 1.0, 1.0}, 1e-7, "factors");

  // An update keeps the factors; a replacement resets them.
  f->updateWellVelocityPairs(pairs({0.0, 400.0, 700.0, 1000.0, 1600.0}, {0.0, 410.0, 710.0, 1310.0, 2510.0},
                                   Velocity::DEPTH_VALUES, "m"));
  s = samplesOf(f.in());
  expectNear(s[1], {0.0, 410.0, 710.0, 1310.0, 2510.0}, 1e-6, "updated depths");
  expectNear(s[2], {1.0, 1.0, 1.25, 1.0, 1.0}, 1e-7, "kept factors");
  f->deleteTimes(EpiWell::Times{list({700.0, 1600.0}, "ms"), EpiWell::TIME_TWT});
  EXPECT_EQ(f->getNumSamples(), 3);
  EpTypes::DataSequence factors;
  EpTypes::DoubleSeq two;
  two.length(2);
  two[0] = 1.1;
  two[1] = 1.2;
  factors.doubleValues(two);
  f->setAnisotropy(1, factors);
  expectNear(samplesOf(f.in())[2], {1.0, 1.1, 1.2}, 1e-6, "set factors");
  // Interval velocities, each for the layer ending at its time.
  f->setWellVelocityPairs(pairs({200.0, 600.0}, {2000.0, 3000.0}, Velocity::INTERVAL_VELOCITY, "m/s"));
  s = samplesOf(f.in());
  expectNear(s[1], {200.0, 800.0}, 1e-6, "depths from interval velocities");
  expectNear(s[2], {1.0, 1.0}, 0.0, "factors reset");
}

// Every operation enters the fault hook; a raised fault changes nothing.
TEST_F(VelocityFunctions, InjectedFaultsReachTheOperationsAndChangeNothing) {
  EpiWell::WellVelocity_var f = create(layered);
  EpSession::FaultInjector_var injector = client.faults();
  const auto arm = [&](const char* operation, EpSession::FaultAction action, const char* exception = "") {
    EpSession::Fault fault;
    fault.operation = operation;
    fault.objectId = idOf(f.in()).c_str();
    fault.action = action;
    fault.exceptionName = exception;
    fault.text1 = "injected";
    fault.value = 0;
    injector->arm(fault);
  };
  const auto before = samplesOf(f.in());
  arm("setVelocityData", EpSession::RAISE_EXCEPTION, "EpiWell::WellVelocity::InvalidDataPairException");
  EXPECT_EQ(reasonOf<Velocity::InvalidDataPairException>([&] { f->setVelocityData(data(constant(900.0, 3, 0.1))); }),
            "injected");
  EXPECT_EQ(samplesOf(f.in()), before);
  arm("convertTimesToDepths", EpSession::RAISE_EXCEPTION, "EpDataStore::StoreException");
  EXPECT_THROW(toDepths(f.in(), {0.1}, EpiWell::TIME_TWT, "s", "m", EpiWell::DEPTH_TVD), EpDataStore::StoreException);
  arm("getBore", EpSession::RETURN_NIL);
  EXPECT_TRUE(CORBA::is_nil(EpiWell::WellBore_var(f->getBore()).in()));
  arm("getDatum", EpSession::RETURN_OUT_OF_RANGE);
  EXPECT_NE(EpiTypes::DataQuantity_var(f->getDatum())->value._d(), EpTypes::FLOAT_DATA);
  EXPECT_EQ(injector->armedCount(), 0u);
}

namespace {

// A service of its own, to be killed and started again.
class RestartedService : public ::testing::Test {
protected:
  RestartedService() { service.start(); }
  ServiceProcess service;
};

std::vector<std::string> idsOf(const EpEntity::EntitySeq& entities) {
  std::vector<std::string> ids;
  for (CORBA::ULong i = 0; i < entities.length(); ++i) ids.push_back(CORBA::String_var(entities[i]->getId()).in());
  return ids;
}

// A reference held across a SIGKILL: the first call finds the old connection dead.
template <class T>
typename T::_var_type revived(const std::string& ior) {
  CORBA::Object_var object = clientOrb()->string_to_object(ior.c_str());
  try {
    object->_non_existent();
  } catch (const CORBA::COMM_FAILURE&) {
  } catch (const CORBA::TRANSIENT&) {
  }
  return T::_narrow(object.in());
}

} // namespace

TEST_F(RestartedService, AWellboreListsItsFunctionsInOrderAndKeepsItsDefaultAcrossSigkill) {
  std::string boreIor;
  std::vector<std::string> stored;
  {
    struct Scope : VelocityFunctions {
      explicit Scope(ServiceProcess& s) : VelocityFunctions(s) {}
      void TestBody() override {}
    } scope(service);
    EpiWell::WellBore_var other = scope.client.newWellBore(scope.well.in(), "V-2");
    EXPECT_TRUE(CORBA::is_nil(EpiWell::WellVelocity_var(scope.bore->getDefaultWellVelocity()).in()));
    std::vector<EpiWell::WellVelocity_var> functions;
    for (int i = 0; i < 3; ++i) {
      functions.push_back(scope.create(constant(2000.0 + 500.0 * i, 5, 0.5)));
      stored.push_back(idOf(functions.back().in()));
    }
    EpiWell::WellVelocity_var storeless = scope.create(layered, false);
    EpiWell::WellVelocity_var foreign = scope.create(layered, true, 0.0, other.in());
    std::vector<std::string> listed = stored;
    listed.push_back(idOf(storeless.in()));
    EXPECT_EQ(idsOf(EpEntity::EntitySeq_var(scope.bore->getWellVelocities()).in()), listed);
    EXPECT_EQ(idsOf(EpEntity::EntitySeq_var(other->getWellVelocities()).in()),
              std::vector<std::string>{idOf(foreign.in())});

    const std::string refused =
        reasonOf<EpEntity::ValidationException>([&] { scope.bore->setDefaultWellVelocity(foreign.in()); });
    EXPECT_NE(refused.find(idOf(foreign.in())), std::string::npos) << refused;
    scope.bore->setDefaultWellVelocity(storeless.in());
    scope.bore->setDefaultWellVelocity(functions[1].in());
    EXPECT_EQ(idOf(EpiWell::WellVelocity_var(scope.bore->getDefaultWellVelocity()).in()), stored[1]);
    EXPECT_TRUE(CORBA::is_nil(EpiWell::WellVelocity_var(other->getDefaultWellVelocity()).in()));
    functions[2]->setComment("kept");
    boreIor = CORBA::String_var(clientOrb()->object_to_string(scope.bore.in())).in();
  }
  service.kill();
  service.start();

  EpiWell::WellBore_var bore = revived<EpiWell::WellBore>(boreIor);
  ASSERT_FALSE(CORBA::is_nil(bore.in()));
  EXPECT_EQ(idsOf(EpEntity::EntitySeq_var(bore->getWellVelocities()).in()), stored);   // storeless ones are gone
  EpiWell::WellVelocity_var chosen = bore->getDefaultWellVelocity();
  ASSERT_FALSE(CORBA::is_nil(chosen.in()));
  EXPECT_EQ(idOf(chosen.in()), stored[1]);
  EXPECT_EQ(chosen->getNumSamples(), 5);
  EpiWell::Times in{EpiTypes::DataQuantities{}, EpiWell::TIME_TWT};
  EpTypes::DoubleSeq times;
  times.length(1);
  times[0] = 1.2;
  in.values.values.doubleValues(times);
  EpiWell::Depths_var depths =
      chosen->convertTimesToDepths(in, EpTypes::FLOAT_DATA, EpUnitOfMeasureService::Unit::_nil(), EpiWell::DEPTH_TVD);
  EXPECT_FLOAT_EQ(depths->values.values.floatValues()[0], 1500.0f);   // 2500 m/s
  bore->setDefaultWellVelocity(EpiWell::WellVelocity::_nil());
  EXPECT_TRUE(CORBA::is_nil(EpiWell::WellVelocity_var(bore->getDefaultWellVelocity()).in()));
}
