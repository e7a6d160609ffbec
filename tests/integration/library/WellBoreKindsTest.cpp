// One relation between a wellbore's kinds, through the library against
// kelwelld: on a deviated wellbore with a default velocity function, a trace
// indexed in MD, a pick set in MD, a velocity conversion from MD and the path
// in time all take the wellbore's real path; the wellbore lists its traces.
#include <cmath>
#include <vector>

#include <EpiWell.hh>

#include "LibraryService.h"
#include "kel_Coordinate.h"
#include "kel_Internal.h"
#include "kel_WellLogTrace.h"
#include "kel_WellPick.h"
#include "kel_WellVelocity.h"

using namespace library_test;
using Trace = kel_WellLogTrace;

namespace {

kel_Array<float> floats(const std::vector<float>& values) {
  kel_Array<float> array;
  array.assign(values.data(), static_cast<unsigned>(values.size()));
  return array;
}

std::vector<float> valuesOf(const kel_Array<float>& array) {
  std::vector<float> values;
  array.read([&](const float* in, unsigned n) { values.assign(in, in + n); });
  return values;
}

EpiTypes::DataQuantities remoteQuantities(const std::vector<double>& list, const char* unit) {
  EpiTypes::DataQuantities q;
  EpTypes::DoubleSeq sequence;
  sequence.length(static_cast<CORBA::ULong>(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i) sequence[static_cast<CORBA::ULong>(i)] = list[i];
  q.values.doubleValues(sequence);
  const kel_Unit kelUnit = kel_Unit::getUnit(unit);
  q.unit = EpUnitOfMeasureService::Unit::_duplicate(
      static_cast<EpUnitOfMeasureService::Unit_ptr>(kelUnit.getRemoteObject(kel_Internal())));
  return q;
}

// Minimum curvature from vertical at 0 m to 60 degrees east at 1000 m, then
// straight at 60 degrees: the arc's radius is 1000 / (pi / 3) m.
constexpr double kRadius = 3000.0 / M_PI;
const double kTvdAt1000 = kRadius * std::sin(M_PI / 3.0);   // 826.99 m
const double kEastAt1000 = kRadius * (1.0 - std::cos(M_PI / 3.0));
double tvdAt(double md) { return md <= 0.0 ? 0.0 : kTvdAt1000 + (md - 1000.0) * 0.5; }   // below 1000 m

// An offshore wellbore (kelly bushing 25 m above MSL, 100 m of water) below a
// wellhead in UTM 31N, deviated by its survey stations, whose default
// velocity function has 2000, 3000 and 4000 m/s layers (datum 10 m above MSL).
class WellBoreKindsTest : public Fixture {
protected:
  WellBoreKindsTest() : well(newWell("Deviated")), metres(kel_Unit::getUnit("m")), seconds(kel_Unit::getUnit("s")) {
    well.setWaterDepth(kel_FloatQuantity(metres, 100.0f));
    well.setLocation(kel_Coordinate(utm, 500000.0, 6000000.0, 0.0));
    bore = newBore(well, "D");
    velocity = deviate(bore, true);
  }

  // Gives on its references, survey stations and default velocity function
  // (stored or storeless, as the wellbore); returns the function.
  kel_WellVelocity deviate(kel_WellBore& on, bool stored) const {
    on.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_0);
    on.setElevation(kel_FloatQuantity(metres, 25.0f));
    static_cast<EpiWell::WellBore_ptr>(on.getRemoteObject(kel_Internal()))
        ->setSurveyStations(remoteQuantities({0.0, 1000.0, 2000.0}, "m"), remoteQuantities({0.0, 60.0, 60.0}, "dega"),
                            remoteQuantities({90.0, 90.0, 90.0}, "dega"));
    kel_WellVelocity::WellVelocityData data;
    data.times = kel_FloatQuantities(seconds, floats({0.0f, 0.4f, 1.0f, 1.6f}));
    data.depths = kel_FloatQuantities(metres, floats({0.0f, 400.0f, 1300.0f, 2500.0f}));
    const kel_Unit velocityUnit = kel_Unit::getUnit("m/s");
    data.firstVelocities = data.secondVelocities = data.thirdVelocities = kel_FloatQuantities(velocityUnit, floats({}));
    const kel_FloatQuantity datum(metres, 10.0f);
    const kel_WellVelocity function =
        stored ? kel_WellVelocity::createNewWellVelocity(on, "layers", "checkshots", datum, data, session)
               : kel_WellVelocity::createStorelessWellVelocity(on, "layers", "checkshots", datum, data, session);
    on.setDefaultWellVelocity(function);
    return function;
  }

  // Two-way times (s) the velocity function gives for depths of kind type.
  std::vector<float> twtOf(const std::vector<float>& depths, kel_WellTypes::DepthType type) const {
    kel_WellTypes::Depths given{kel_FloatQuantities(metres, floats(depths)), type};
    return valuesOf(velocity.convertDepthsToTimes(given, seconds, kel_WellTypes::TIME_TYPE_0).values.getValues());
  }

  Trace newTrace(const char* name, const std::vector<float>& md) const { return newTrace(bore, name, md, true); }
  Trace newTrace(const kel_WellBore& on, const char* name, const std::vector<float>& md, bool stored) const {
    Trace::TraceData data;
    data.index = kel_FloatQuantities(metres, floats(md));
    kel_Array<kel_Array<float>> inner(1);
    inner.set(0, floats(std::vector<float>(md.size(), 1.0f)));
    data.trace = kel_FloatQuantitiesSeq(metres, inner);
    data.indexKind = Trace::INDEX_KIND_0;
    return stored ? Trace::createNewWellLogTrace(on, name, name, "LAS", data, -999.0f, session)
                  : Trace::createStorelessWellLogTrace(on, name, name, "LAS", data, -999.0f, session);
  }

  const kel_CoordSystem utm = kel_CoordSystem::getSystem("EPSG:32631");
  kel_Well well;
  kel_WellBore bore;
  kel_Unit metres, seconds;
  kel_WellVelocity velocity;
};

const std::vector<float> kMd{500.0f, 1000.0f, 1500.0f, 2000.0f};

std::vector<float> tvdsOf(const std::vector<float>& md) {
  std::vector<float> tvd;
  for (float value : md)
    tvd.push_back(static_cast<float>(value < 1000.0f ? kRadius * std::sin(value / kRadius) : tvdAt(value)));
  return tvd;
}

void expectNear(const std::vector<float>& expected, const std::vector<float>& actual, float tolerance,
                const char* what) {
  ASSERT_EQ(expected.size(), actual.size()) << what;
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(expected[i], actual[i], tolerance) << what << " " << i;
}

} // namespace

TEST_F(WellBoreKindsTest, ATraceInMdReadsInTvdAndTwtAlongThePathStoredAndStoreless) {
  // A storeless wellbore keeps its path in memory; its kinds relate the same way.
  kel_WellBore storeless = kel_WellBore::createStorelessWellBore(well, kel_StringPair("Bore", "S"), session);
  deviate(storeless, false);
  const std::vector<float> tvd = tvdsOf(kMd);
  // TVD is well short of MD once the hole turns: the path, not a vertical hole.
  EXPECT_LT(tvd.back(), kMd.back() - 600.0f);
  for (const bool stored : {true, false}) {
    Trace trace = newTrace(stored ? bore : storeless, "GR", kMd, stored);
    expectNear(tvd, valuesOf(trace.getTraceData(metres, Trace::INDEX_KIND_1).index.getValues()), 0.01f,
               stored ? "TVD stored" : "TVD storeless");
    expectNear(twtOf(tvd, kel_WellTypes::DEPTH_TYPE_1),
               valuesOf(trace.getTraceData(seconds, Trace::INDEX_KIND_3).index.getValues()), 1e-5f,
               stored ? "TWT stored" : "TWT storeless");
  }
}

TEST_F(WellBoreKindsTest, AVelocityConversionFromMdTakesThePath) {
  expectNear(twtOf(tvdsOf(kMd), kel_WellTypes::DEPTH_TYPE_1), twtOf(kMd, kel_WellTypes::DEPTH_TYPE_0), 1e-5f,
             "TWT from MD and from TVD");
}

TEST_F(WellBoreKindsTest, APickInMdReadsInTvdAndTwtAndLiesOnThePath) {
  const kel_WellPick::PickValue value{kel_FloatQuantity(metres, 1500.0f), kel_WellPick::PICK_REFERENCE_0};
  const kel_WellPick pick = kel_WellPick::createNewWellPick(bore, "Top", "formation top", "ann", value, session);
  const float tvd = static_cast<float>(tvdAt(1500.0));
  EXPECT_NEAR(pick.getPickValue(kel_WellPick::PICK_REFERENCE_1).value.getValue(), tvd, 0.01f);
  EXPECT_NEAR(pick.getPickValue(kel_WellPick::PICK_REFERENCE_4).value.getValue(),
              twtOf({tvd}, kel_WellTypes::DEPTH_TYPE_1).front(), 1e-5f);
  // Where the wellbore itself places that depth, 910 m east of the wellhead.
  const kel_Coordinate at = pick.getLocation(utm, kel_WellVelocity());
  const kel_CoordinateArray onPath = bore.getLocation(kel_FloatQuantities(metres, floats({1500.0f})), utm);
  EXPECT_NEAR(at.getX(), onPath.getPoints()[0].getX(), 1e-3);
  EXPECT_NEAR(at.getY(), onPath.getPoints()[0].getY(), 1e-3);
  EXPECT_NEAR(at.getX() - 500000.0, 0.9996 * (kEastAt1000 + 500.0 * std::sin(M_PI / 3.0)), 0.5);
  EXPECT_NEAR(at.getZ(), tvd, 0.01);
}

TEST_F(WellBoreKindsTest, ThePathInTimeTakesTheDefaultOrTheGivenVelocityFunction) {
  // The wellhead lies above the function's datum: times there take the shallow extend velocity.
  velocity.setExtendViShallow(kel_FloatQuantity(kel_Unit::getUnit("m/s"), 1500.0f));
  const std::vector<float> twt = twtOf({0.0f, static_cast<float>(kTvdAt1000), static_cast<float>(tvdAt(2000.0))},
                                       kel_WellTypes::DEPTH_TYPE_1);
  const kel_CoordSystem inTime = kel_CoordSystem::getSystem("EPSG:32631+TWT");
  for (const kel_WellVelocity& through : {kel_WellVelocity(), velocity}) {
    const kel_CoordinateArray path = bore.getPath(through, inTime);
    ASSERT_EQ(3u, path.getPoints().size());
    for (unsigned i = 0; i < 3; ++i) EXPECT_NEAR(path.getPoints()[i].getZ(), 1000.0 * twt[i], 0.01) << i;   // ms
  }
  // Another wellbore's function relates another hole's depths: refused.
  const kel_WellBore other = newBore(well, "E");
  const kel_WellVelocity foreign = kel_WellVelocity::createNewWellVelocity(
      other, "other", "checkshots", kel_FloatQuantity(metres, 10.0f), velocity.getVelocityData(), session);
  const Failure refused = failureOf([&] { bore.getPath(foreign, inTime); });
  EXPECT_NE(text(refused.toString()).find("NoKnownTransformException"), std::string::npos) << text(refused.toString());
}

TEST_F(WellBoreKindsTest, TheWellboreListsItsTracesInCreationOrder) {
  EXPECT_EQ(0u, bore.getLogTraces().size());
  const char* const names[] = {"GR", "RHOB", "DT"};
  for (const char* name : names) newTrace(name, kMd);
  const kel_Array<Trace> traces = bore.getLogTraces();
  ASSERT_EQ(3u, traces.size());
  for (unsigned i = 0; i < 3; ++i) {
    Trace trace = traces[i];
    EXPECT_EQ(text(trace.getTraceName()), names[i]) << i;
  }
}
