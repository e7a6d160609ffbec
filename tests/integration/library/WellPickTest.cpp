// Picks and the wellbore's relations through the library against kelwelld:
// pick values in every kind, dips in the unit asked, confidence factors from
// the reference set, the location, and the wellbore's picks and velocity
// functions in creation order, built completely or not at all.
#include <cmath>
#include <functional>

#include "LibraryService.h"
#include "kel_Coordinate.h"
#include "kel_WellPick.h"
#include "kel_WellVelocity.h"

using namespace library_test;
using kelwell_test::expectTop;
using kelwell_test::startsWith;
using kelwell_test::sys;
using kelwell_test::user;

namespace {

kel_Array<float> floats(std::initializer_list<float> values) {
  kel_Array<float> result;
  for (float v : values) result.addElement(v);
  return result;
}

// An offshore wellbore (kelly bushing 25 m above MSL, 100 m of water) below
// a wellhead in UTM 31N, and a velocity function of 2000, 3000 and 4000 m/s
// layers whose datum lies 10 m above MSL.
class WellPickTest : public Fixture {
protected:
  WellPickTest() : well(newWell("Picked")), metres(kel_Unit::getUnit("m")), seconds(kel_Unit::getUnit("s")) {
    well.setWaterDepth(kel_FloatQuantity(metres, 100.0f));
    well.setLocation(kel_Coordinate(kel_CoordSystem::getSystem("EPSG:32631"), 500000.0, 6000000.0, 0.0));
    bore = newBore(well, "P");
    bore.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_0);
    bore.setElevation(kel_FloatQuantity(metres, 25.0f));
  }

  kel_WellVelocity newVelocity(const kel_WellBore& on) const {
    kel_WellVelocity::WellVelocityData data;
    data.times = kel_FloatQuantities(seconds, floats({0.0f, 0.4f, 1.0f, 1.6f}));
    data.depths = kel_FloatQuantities(metres, floats({0.0f, 400.0f, 1300.0f, 2500.0f}));
    // No velocities: the service derives them from the time-depth pairs.
    const kel_Unit velocity = kel_Unit::getUnit("m/s");
    data.firstVelocities = data.secondVelocities = data.thirdVelocities = kel_FloatQuantities(velocity, floats({}));
    return kel_WellVelocity::createNewWellVelocity(on, "layers", "checkshots", kel_FloatQuantity(metres, 10.0f),
                                                   data, session);
  }

  kel_WellPick newPick(const char* name, float value, const kel_Unit& unit,
                       kel_WellPick::PickReference reference = kel_WellPick::PICK_REFERENCE_0,
                       bool stored = true) const {
    kel_WellPick::PickValue v{kel_FloatQuantity(unit, value), reference};
    return stored ? kel_WellPick::createNewWellPick(bore, name, "formation top", "ann", v, session)
                  : kel_WellPick::createStorelessWellPick(bore, name, "formation top", "ann", v, session);
  }

  kel_Well well;
  kel_WellBore bore;
  kel_Unit metres, seconds;
};

} // namespace

TEST_F(WellPickTest, APickInMdReadsInEveryKindThroughTheDefaultVelocityFunction) {
  bore.setDefaultWellVelocity(newVelocity(bore));
  const kel_WellPick pick = newPick("Top A", 1000.0f, metres);
  // Worked by hand: TVD = MD (vertical); TVDSS = TVD - 25; TVDGL = TVDSS -
  // 100; 985 m below the function's datum: TWT 0.4 + 2 * 585 / 3000; MSL at 0.01 s.
  const struct {
    kel_WellPick::PickReference reference;
    float value;
    const char* unit;
  } kinds[] = {{kel_WellPick::PICK_REFERENCE_0, 1000.0f, "m"}, {kel_WellPick::PICK_REFERENCE_1, 1000.0f, "m"},
               {kel_WellPick::PICK_REFERENCE_2, 975.0f, "m"},  {kel_WellPick::PICK_REFERENCE_3, 875.0f, "m"},
               {kel_WellPick::PICK_REFERENCE_4, 0.79f, "s"},   {kel_WellPick::PICK_REFERENCE_5, 0.395f, "s"},
               {kel_WellPick::PICK_REFERENCE_6, 0.78f, "s"}};
  for (const auto& k : kinds) {
    const kel_WellPick::PickValue read = pick.getPickValue(k.reference);
    EXPECT_EQ(read.reference, k.reference);
    EXPECT_FLOAT_EQ(read.value.getValue(), k.value) << k.reference;
    EXPECT_EQ(text(read.value.getUnit().getAcronym()), k.unit) << k.reference;
  }
  // Set in TWT, read in MD.
  const kel_WellPick timed = newPick("Top T", 0.79f, seconds, kel_WellPick::PICK_REFERENCE_4);
  EXPECT_NEAR(timed.getPickValue(kel_WellPick::PICK_REFERENCE_0).value.getValue(), 1000.0f, 1e-3f);
  EXPECT_EQ(kel_WellPick::PICK_REFERENCE_4, timed.getOriginalPickValue().reference);

  const kel_Coordinate below = pick.getLocation(kel_CoordSystem::getSystem("EPSG:32631"), kel_WellVelocity());
  EXPECT_DOUBLE_EQ(below.getX(), 500000.0);
  EXPECT_DOUBLE_EQ(below.getY(), 6000000.0);
  EXPECT_NEAR(below.getZ(), 1000.0, 1e-9);
}

TEST_F(WellPickTest, ATimeKindWithoutVelocityFunctionIsRefused) {
  const kel_WellPick pick = newPick("Top A", 1000.0f, metres);
  const Failure missing = failureOf([&] { pick.getPickValue(kel_WellPick::PICK_REFERENCE_4); });
  EXPECT_EQ("Could not return the pick value in the specified PickReference. ", text(missing->getMessage()));
  EXPECT_FLOAT_EQ(pick.getPickValue(kel_WellPick::PICK_REFERENCE_3).value.getValue(), 875.0f);
}

TEST_F(WellPickTest, DipsComeBackInTheUnitAsked) {
  kel_WellPick pick = newPick("Top A", 1000.0f, metres);
  pick.setDipAngle(kel_FloatQuantity(kel_Unit::getUnit("dega"), 30.0f));
  pick.setDipAzimuth(kel_FloatQuantity(kel_Unit::getUnit("gon"), 100.0f));
  EXPECT_FLOAT_EQ(pick.getDipAngle(kel_Unit::getUnit("rad")).getValue(), static_cast<float>(M_PI / 6.0));
  EXPECT_FLOAT_EQ(pick.getDipAngle(kel_Unit()).getValue(), 30.0f);   // nil: as the service gave it
  EXPECT_FLOAT_EQ(pick.getDipAzimuth(kel_Unit::getUnit("dega")).getValue(), 90.0f);
  const Failure steep = failureOf([&] { pick.setDipAngle(kel_FloatQuantity(kel_Unit::getUnit("dega"), 95.0f)); });
  EXPECT_TRUE(steep.isUserException());
  EXPECT_EQ("Could not update the angle of dip from horizontal for this pick. ", text(steep->getMessage()));
  EXPECT_FLOAT_EQ(pick.getDipAngle(kel_Unit::getUnit("dega")).getValue(), 30.0f);
}

TEST_F(WellPickTest, TheValidConfidenceFactorsAreTheOnesTheServiceTakes) {
  kel_WellPick pick = newPick("Top A", 1000.0f, metres);
  const kel_Array<kel_WellString> factors = kel_WellPick::getValidConfidenceFactors();
  ASSERT_EQ(5u, factors.size());
  for (unsigned i = 0; i < factors.size(); ++i) {
    pick.setConfidenceFactor(factors[i]);
    EXPECT_EQ(text(factors[i]), text(pick.getConfidenceFactor()));
  }
  const Failure refused = failureOf([&] { pick.setConfidenceFactor("certain-ish"); });
  EXPECT_TRUE(refused.isUserException());
  EXPECT_EQ(text(factors[factors.size() - 1]), text(pick.getConfidenceFactor()));
  pick.setPickColor(kel_Color::getColor("darkgreen"));
  EXPECT_TRUE(pick.getPickColor() == kel_Color::getColor("darkgreen"));
}

TEST_F(WellPickTest, TheWellboreListsItsPicksAndVelocityFunctionsInCreationOrder) {
  EXPECT_EQ(0u, bore.getPicks().size());
  EXPECT_TRUE(bore.getDefaultWellVelocity().isNil());
  const kel_WellPick c = newPick("C", 900.0f, metres), a = newPick("A", 800.0f, metres),
                     s = newPick("S", 700.0f, metres, kel_WellPick::PICK_REFERENCE_0, false);
  const kel_Array<kel_WellPick> picks = bore.getPicks();
  ASSERT_EQ(3u, picks.size());
  EXPECT_TRUE(picks[0] == c);
  EXPECT_TRUE(picks[1] == a);
  EXPECT_TRUE(picks[2] == s);

  const kel_WellVelocity first = newVelocity(bore), second = newVelocity(bore);
  const kel_Array<kel_WellVelocity> velocities = bore.getWellVelocities();
  ASSERT_EQ(2u, velocities.size());
  EXPECT_TRUE(velocities[0] == first);
  EXPECT_TRUE(velocities[1] == second);
  bore.setDefaultWellVelocity(second);
  EXPECT_TRUE(bore.getDefaultWellVelocity() == second);

  // Another wellbore's function is refused and the default stays.
  const kel_WellVelocity foreign = newVelocity(newBore(well, "Q"));
  expectTop(failureOf([&] { bore.setDefaultWellVelocity(foreign); }),
            {startsWith(user("Could not update this wellbore's default velocity object. ",
                             std::string(kelwell_test::kValidation) + "kel_WellBore::setDefaultWellVelocity method. "))});
  EXPECT_TRUE(bore.getDefaultWellVelocity() == second);
  bore.setDefaultWellVelocity(kel_WellVelocity());
  EXPECT_TRUE(bore.getDefaultWellVelocity().isNil());
}

TEST_F(WellPickTest, ARelationFailsWholeWithItsOwnTexts) {
  newPick("A", 800.0f, metres);
  newVelocity(bore);
  const struct {
    const char* operation;
    std::function<void()> call;
    const char* message;
    const char* inner;
  } relations[] = {
      {"getPicks", [&] { bore.getPicks(); }, "Could not return the well pick objects for this wellbore. ",
       "Trying to instantiate an kel_WellPick using a NULL pointer."},
      {"getWellVelocities", [&] { bore.getWellVelocities(); },
       "Could not return he well velocity objects for this wellbore. ",
       "Trying to instantiate an kel_WellVelocity using a NULL pointer."},
  };
  for (const auto& r : relations) {
    returnNil(r.operation);   // the service answers nil elements
    expectChain(failureOf(r.call),
                {sys(r.message, std::string(kelwell_test::kSystem) + "kel_WellBore::" + r.operation + " method. "),
                 sys(r.inner)});
    raise(r.operation, "EpDataStore::StoreException", "x", "y");
    expectChain(failureOf(r.call),
                {sys(r.message, std::string(kelwell_test::kStore) + "kel_WellBore::" + r.operation + " method. xy")});
  }
  raise("getDefaultWellVelocity", "EpDataStore::StoreException", "x", "y");
  expectChain(failureOf([&] { bore.getDefaultWellVelocity(); }),
              {sys("Could not return this wellbore's default velocity object. ",
                   std::string(kelwell_test::kStore) + "kel_WellBore::getDefaultWellVelocity method. xy")});
}
