// Picks over the wire: a pick read in every depth and time kind against
// values worked by hand, round trips, attributes and their refusals, the
// location below the wellhead, and the wellbore's picks across a SIGKILL.
#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

using Pick = EpiWell::WellPick;

std::string idOf(CORBA::Object_ptr object) {
  return CORBA::String_var(EpEntity::Entity::_narrow(object)->getId()).in();
}

std::vector<std::string> idsOf(const EpEntity::EntitySeq& entities) {
  std::vector<std::string> ids;
  for (CORBA::ULong i = 0; i < entities.length(); ++i) ids.push_back(CORBA::String_var(entities[i]->getId()).in());
  return ids;
}

double numberOf(const EpTypes::DataValue& value) {
  return value._d() == EpTypes::FLOAT_DATA ? value.floatValue() : value.doubleValue();
}

std::string acronymOf(EpUnitOfMeasureService::Unit_ptr unit) {
  return CORBA::is_nil(unit) ? "" : CORBA::String_var(unit->acronym()).in();
}

// An offshore wellbore: kelly bushing 25 m above MSL, 100 m of water,
// vertical below its wellhead at (500000, 6000000) in UTM 31N. Its default
// velocity function has its datum 10 m above MSL and layers of 2000, 3000
// and 4000 m/s. The service keeps one per test binary; a service of its own
// for the restart.
class Picks : public ::testing::Test {
public:
  explicit Picks(ServiceProcess& service = sharedService()) : client(service) {
    units = client.manager->getUnitService();
    systems = client.manager->getCoordinateService();
    project = client.newProject("picks");
    well = client.newWell(project.in(), "pick owner");
    well->setWaterDepth(quantity(100.0, "m"));
    EpCoordinateService::Coordinate head;
    head.system = systems->getSystem("EPSG:32631");
    head.x = 500000.0;
    head.y = 6000000.0;
    head.z = 0.0;
    well->setLocation(head);
    bore = client.newWellBore(well.in(), "P-1");
    bore->setElevationDatum(EpiWell::WellBore::KELLY_BUSHING);
    bore->setElevation(quantity(25.0, "m"));
  }

  EpUnitOfMeasureService::Unit_ptr unit(const char* acronym) {
    if (!*acronym) return EpUnitOfMeasureService::Unit::_nil();
    auto& slot = m_units[acronym];
    if (CORBA::is_nil(slot.in())) slot = units->getUnit(acronym);
    return slot.in();
  }

  EpiTypes::DataQuantity quantity(double value, const char* unitAcronym) {
    EpiTypes::DataQuantity q;
    q.value.doubleValue(value);
    q.unit = EpUnitOfMeasureService::Unit::_duplicate(unit(unitAcronym));
    return q;
  }

  Pick::PickValue pickValue(double value, const char* unitAcronym, Pick::PickReference reference,
                            bool asFloat = false) {
    Pick::PickValue v{quantity(value, unitAcronym), reference};
    if (asFloat) v.value.value.floatValue(static_cast<float>(value));
    return v;
  }

  void addVelocityFunction() {
    EpiWell::WellVelocity::WellVelocityData d;
    const auto list = [&](std::vector<double> values, const char* u) {
      EpiTypes::DataQuantities q;
      EpTypes::DoubleSeq doubles;
      doubles.length(static_cast<CORBA::ULong>(values.size()));
      for (CORBA::ULong i = 0; i < doubles.length(); ++i) doubles[i] = values[i];
      q.values.doubleValues(doubles);
      q.unit = EpUnitOfMeasureService::Unit::_duplicate(unit(u));
      return q;
    };
    d.times = list({0.0, 0.4, 1.0, 1.6}, "s");
    d.depths = list({0.0, 400.0, 1300.0, 2500.0}, "m");
    d.firstVelocities = d.secondVelocities = d.thirdVelocities = list({}, "m/s");
    CORBA::Object_var f = client.factory(EpiWell::_tc_NewWellVelocityFactory->id(), true);
    velocity = EpiWell::NewWellVelocityFactory::_narrow(f.in())
                   ->createWellVelocity(bore.in(), "layers", "checkshots", quantity(10.0, "m"), d,
                                        client.session.in());
    bore->setDefaultWellVelocity(velocity.in());
  }

  EpiWell::WellPick_var create(const Pick::PickValue& value, bool stored = true, const char* name = "Top A") {
    CORBA::Object_var f = client.factory(
        stored ? EpiWell::_tc_NewWellPickFactory->id() : EpiWell::_tc_StorelessWellPickFactory->id(), stored);
    if (stored)
      return EpiWell::NewWellPickFactory::_narrow(f.in())
          ->createWellPick(bore.in(), name, "formation top", "ann", value, client.session.in());
    return EpiWell::StorelessWellPickFactory::_narrow(f.in())
        ->createWellPick(bore.in(), name, "formation top", "ann", value, client.session.in());
  }

  Client client;
  EpUnitOfMeasureService::UnitService_var units;
  EpCoordinateService::CoordinateService_var systems;
  EpSession::Project_var project;
  EpiWell::Well_var well;
  EpiWell::WellBore_var bore;
  EpiWell::WellVelocity_var velocity;

private:
  std::map<std::string, EpUnitOfMeasureService::Unit_var> m_units;
};

// A pick at MD 1000 m, worked by hand: vertical, so TVD 1000; TVDSS = 1000 -
// 25; TVDGL = 975 - 100; 985 m below the function's datum lies in the 3000
// m/s layer: TWT = 0.4 + 2 * 585 / 3000 = 0.79 s; MSL lies 10 m below the
// datum, at 0.01 s: TWT below MSL = 0.78 s.
const struct {
  Pick::PickReference reference;
  double value;
  const char* unit;
} atMd1000[] = {{Pick::PICK_MD, 1000.0, "m"},    {Pick::PICK_TVD, 1000.0, "m"},  {Pick::PICK_TVDSS, 975.0, "m"},
                {Pick::PICK_TVDGL, 875.0, "m"},  {Pick::PICK_TWT, 0.79, "s"},    {Pick::PICK_OWT, 0.395, "s"},
                {Pick::PICK_TWT_MSL, 0.78, "s"}};

} // namespace

TEST_F(Picks, APickInMdReadsInEverySevenKindsAsWorkedByHand) {
  addVelocityFunction();
  EpiWell::WellPick_var pick = create(pickValue(1000.0, "m", Pick::PICK_MD));
  for (const auto& expected : atMd1000) {
    Pick::PickValue_var read = pick->getPickValue(expected.reference);
    EXPECT_EQ(read->reference, expected.reference);
    EXPECT_EQ(read->value.value._d(), EpTypes::DOUBLE_DATA);
    EXPECT_NEAR(numberOf(read->value.value), expected.value, 1e-7 * std::max(1.0, expected.value))
        << expected.reference;   // the function's samples are kept as floats
    EXPECT_EQ(acronymOf(read->value.unit.in()), expected.unit) << expected.reference;
  }
}

TEST_F(Picks, APickSetInAnyKindRoundTripsToMdAtFloatPrecision) {
  addVelocityFunction();
  for (const auto& given : atMd1000) {
    EpiWell::WellPick_var pick = create(pickValue(given.value, given.unit, given.reference, true));
    Pick::PickValue_var md = pick->getPickValue(Pick::PICK_MD);
    EXPECT_NEAR(numberOf(md->value.value), 1000.0, 1000.0 * 4e-7) << given.reference;
    // ... and back to the kind it was set in.
    Pick::PickValue_var back = pick->getPickValue(given.reference);
    EXPECT_FLOAT_EQ(static_cast<float>(numberOf(back->value.value)), static_cast<float>(given.value));
  }
}

TEST_F(Picks, APickInTwtReadsInMdInTheUnitsAsked) {
  addVelocityFunction();
  EpiWell::WellPick_var pick = create(pickValue(790.0, "ms", Pick::PICK_TWT));
  Pick::PickValue_var md = pick->getPickValue(Pick::PICK_MD);
  EXPECT_NEAR(numberOf(md->value.value), 1000.0, 1e-4);
  EXPECT_EQ(acronymOf(md->value.unit.in()), "m");
  Pick::PickValue_var owt = pick->getPickValue(Pick::PICK_OWT);   // a time kind: the original's unit
  EXPECT_NEAR(numberOf(owt->value.value), 395.0, 1e-4);
  EXPECT_EQ(acronymOf(owt->value.unit.in()), "ms");
  Pick::PickValue_var original = pick->getOriginalPickValue();
  EXPECT_EQ(original->reference, Pick::PICK_TWT);
  EXPECT_EQ(numberOf(original->value.value), 790.0);
  EXPECT_EQ(acronymOf(original->value.unit.in()), "ms");
}

TEST_F(Picks, ConvertedValuesFollowTheVelocityFunctionWhileTheOriginalStays) {
  EpiWell::WellPick_var pick = create(pickValue(1000.0, "m", Pick::PICK_MD));
  // Depth kinds need no velocity function; time kinds name the one missing.
  EXPECT_NEAR(numberOf(Pick::PickValue_var(pick->getPickValue(Pick::PICK_TVDGL))->value.value), 875.0, 1e-9);
  const std::string missing =
      reasonOf<EpTypes::InsufficientDataException>([&] { pick->getPickValue(Pick::PICK_TWT); });
  EXPECT_NE(missing.find("no default velocity function"), std::string::npos) << missing;
  addVelocityFunction();
  EXPECT_NEAR(numberOf(Pick::PickValue_var(pick->getPickValue(Pick::PICK_TWT))->value.value), 0.79, 1e-7);
  velocity->setDatum(quantity(0.0, "m"));   // 975 m below the datum: 0.4 + 2 * 575 / 3000
  EXPECT_NEAR(numberOf(Pick::PickValue_var(pick->getPickValue(Pick::PICK_TWT))->value.value), 0.4 + 1150.0 / 3000.0,
              1e-7);
  bore->setDefaultWellVelocity(EpiWell::WellVelocity::_nil());
  EXPECT_THROW(pick->getPickValue(Pick::PICK_OWT), EpTypes::InsufficientDataException);
  Pick::PickValue_var original = pick->getOriginalPickValue();
  EXPECT_EQ(numberOf(original->value.value), 1000.0);
  EXPECT_EQ(original->reference, Pick::PICK_MD);
}

TEST_F(Picks, AttributesAreKeptAsWrittenForStoredAndStorelessPicks) {
  for (bool stored : {true, false}) {
    EpiWell::WellPick_var pick = create(pickValue(1200.0, "m", Pick::PICK_MD), stored);
    EXPECT_EQ(idOf(EpiWell::WellBore_var(pick->getBore()).in()), idOf(bore.in()));
    EXPECT_STREQ(CORBA::String_var(pick->getPickType()).in(), "formation top");
    EXPECT_STREQ(CORBA::String_var(pick->getInterpreter()).in(), "ann");
    pick->setComment("  sharp  ");
    pick->setPickSource("mud log");
    pick->setPickName("Top B");
    pick->setPickDate("2024-02-29");
    pick->setPickColor("darkgreen");
    EXPECT_STREQ(CORBA::String_var(pick->getComment()).in(), "  sharp  ");
    EXPECT_STREQ(CORBA::String_var(pick->getPickSource()).in(), "mud log");
    EXPECT_STREQ(CORBA::String_var(pick->getPickName()).in(), "Top B");
    EXPECT_STREQ(CORBA::String_var(pick->getPickDate()).in(), "2024-02-29");
    EXPECT_STREQ(CORBA::String_var(pick->getPickColor()).in(), "darkgreen");
    pick->setPickColor("#1a2b3c");
    EXPECT_STREQ(CORBA::String_var(pick->getPickColor()).in(), "#1a2b3c");
    EXPECT_STREQ(CORBA::String_var(pick->getEntityType()).in(), "EpiWell_WellPick");
  }
}

TEST_F(Picks, EveryConfidenceFactorOfTheReferenceSetIsTaken) {
  EpiWell::WellPick_var pick = create(pickValue(1200.0, "m", Pick::PICK_MD));
  EpReferenceValueService::ReferenceValueService_var service = client.manager->getReferenceValueService();
  EpReferenceValueService::ReferenceValueSet_var set = service->getSet({"Kelvast", "ConfidenceFactor"});
  EpReferenceValueService::ReferenceValueList_var values;
  EpReferenceValueService::ReferenceValueIterator_var rest;
  set->getValues(set->count(), values.out(), rest.out());
  ASSERT_EQ(values->length(), 5u);
  for (CORBA::ULong i = 0; i < values->length(); ++i) {
    pick->setConfidenceFactor(values[i].code.in());
    EXPECT_STREQ(CORBA::String_var(pick->getConfidenceFactor()).in(), values[i].code.in());
  }
  pick->setConfidenceFactor("");
  EXPECT_STREQ(CORBA::String_var(pick->getConfidenceFactor()).in(), "");
}

TEST_F(Picks, DipsAreAnglesInTheUnitTheyWereWrittenIn) {
  EpiWell::WellPick_var pick = create(pickValue(1200.0, "m", Pick::PICK_MD));
  const struct {
    bool azimuth;
    double value;
    const char* unit;
  } taken[] = {{false, 30.0, "dega"}, {false, 0.5, ""},   {false, 90.0, "dega"}, {false, 100.0, "gon"},
               {true, 0.0, "dega"},   {true, 359.5, "dega"}, {true, 400.0, "gon"}, {true, 6.0, "rad"}};
  for (const auto& t : taken) {
    const auto q = quantity(t.value, t.unit);
    t.azimuth ? pick->setDipAzimuth(q) : pick->setDipAngle(q);
    EpiTypes::DataQuantity_var read = t.azimuth ? pick->getDipAzimuth() : pick->getDipAngle();
    EXPECT_FLOAT_EQ(read->value.floatValue(), static_cast<float>(t.value)) << t.value << t.unit;
    EXPECT_EQ(acronymOf(read->unit.in()), t.unit) << t.value << t.unit;
  }
  pick->setDipAngle(quantity(std::nan(""), "dega"));   // NaN clears
  EXPECT_TRUE(std::isnan(EpiTypes::DataQuantity_var(pick->getDipAngle())->value.floatValue()));
}

// Each refused write leaves the pick exactly as it was.
TEST_F(Picks, EveryRefusalChangesNothing) {
  addVelocityFunction();
  EpiWell::WellPick_var pick = create(pickValue(1000.0, "m", Pick::PICK_MD));
  pick->setDipAngle(quantity(10.0, "dega"));
  pick->setDipAzimuth(quantity(45.0, "dega"));
  pick->setConfidenceFactor("high");
  pick->setPickColor("red");
  pick->setPickDate("2020-01-01");
  const std::string stamp = CORBA::String_var(pick->getLastModified("")).in();
  const struct {
    const char* what;
    std::function<void()> write;
    const char* reasonHas;
  } refused[] = {
      {"dip above 90", [&] { pick->setDipAngle(quantity(91.0, "dega")); }, "between 0 and 90"},
      {"negative dip", [&] { pick->setDipAngle(quantity(-1.0, "dega")); }, "between 0 and 90"},
      {"infinite dip", [&] { pick->setDipAngle(quantity(INFINITY, "dega")); }, "between 0 and 90"},
      {"dip in metres", [&] { pick->setDipAngle(quantity(1.0, "m")); }, "not angle"},
      {"azimuth 370", [&] { pick->setDipAzimuth(quantity(370.0, "dega")); }, "between 0 and 360"},
      {"confidence", [&] { pick->setConfidenceFactor("sure"); }, "ConfidenceFactor"},
      {"colour", [&] { pick->setPickColor("reddish"); }, "colour"},
      {"date", [&] { pick->setPickDate("2021-02-30"); }, "pick date"},
      {"reference", [&] { pick->setPickValue(pickValue(1.0, "m", 7)); }, "reference 7"},
      {"time in metres", [&] { pick->setPickValue(pickValue(1.0, "m", Pick::PICK_TWT)); }, "measures length"},
      {"infinite value", [&] { pick->setPickValue(pickValue(INFINITY, "m", Pick::PICK_MD)); }, "finite"},
      {"NaN value", [&] { pick->setPickValue(pickValue(std::nan(""), "m", Pick::PICK_MD)); }, "finite"},
  };
  for (const auto& r : refused) {
    const std::string reason = reasonOf<EpEntity::ValidationException>(r.write);
    EXPECT_NE(reason.find(r.reasonHas), std::string::npos) << r.what << ": " << reason;
  }
  EXPECT_FLOAT_EQ(EpiTypes::DataQuantity_var(pick->getDipAngle())->value.floatValue(), 10.0f);
  EXPECT_FLOAT_EQ(EpiTypes::DataQuantity_var(pick->getDipAzimuth())->value.floatValue(), 45.0f);
  EXPECT_STREQ(CORBA::String_var(pick->getConfidenceFactor()).in(), "high");
  EXPECT_STREQ(CORBA::String_var(pick->getPickColor()).in(), "red");
  EXPECT_STREQ(CORBA::String_var(pick->getPickDate()).in(), "2020-01-01");
  Pick::PickValue_var original = pick->getOriginalPickValue();
  EXPECT_EQ(numberOf(original->value.value), 1000.0);
  EXPECT_EQ(original->reference, Pick::PICK_MD);
  EXPECT_EQ(CORBA::String_var(pick->getLastModified("")).in(), stamp);
  EXPECT_THROW(pick->getPickValue(7), EpEntity::ValidationException);
  EXPECT_THROW(pick->getLastModified("colour"), EpEntity::ValidationException);

  // Creation refusals create nothing.
  CORBA::Object_var f = client.factory(EpiWell::_tc_NewWellPickFactory->id(), true);
  auto factory = EpiWell::NewWellPickFactory::_narrow(f.in());
  EXPECT_THROW(factory->createWellPick(EpiWell::WellBore::_nil(), "x", "y", "z", pickValue(1.0, "m", 0),
                                       client.session.in()),
               EpTypes::FailedOperationException);
  EXPECT_THROW(factory->createWellPick(bore.in(), "x", "y", "z", pickValue(1.0, "s", 0), client.session.in()),
               EpEntity::ValidationException);
  EXPECT_EQ(idsOf(EpEntity::EntitySeq_var(bore->getPicks()).in()), std::vector<std::string>{idOf(pick.in())});
}

TEST_F(Picks, StoredPicksAreFoundByQueriesOfTheirProject) {
  EpiWell::WellPick_var a = create(pickValue(1000.0, "m", Pick::PICK_MD), true, "Top A");
  EpiWell::WellPick_var b = create(pickValue(1100.0, "m", Pick::PICK_MD), true, "Top B");
  create(pickValue(1200.0, "m", Pick::PICK_MD), false, "Top A");   // storeless: never found
  a->setConfidenceFactor("low");
  const struct {
    const char* clause;
    std::vector<std::string> ids;
  } queries[] = {{"", {idOf(a.in()), idOf(b.in())}},
                 {"EpiWell_WellPick.pickName = 'Top A'", {idOf(a.in())}},
                 {"EpiWell_WellPick.confidenceFactor = 'low'", {idOf(a.in())}},
                 {"EpiWell_WellPick.pickType like 'formation%' and EpiWell_WellPick.pickName > 'Top A'",
                  {idOf(b.in())}},
                 {"EpiWell_WellPick.wellBore.id = 'wellbore:0'", {}}};
  for (const auto& q : queries) {
    EpEntity::EntitySeq_var found = project->executeQuery("EpiWell_WellPick", q.clause, EpSession::QueryParameterSeq());
    EXPECT_EQ(idsOf(found.in()), q.ids) << q.clause;
  }
}

TEST_F(Picks, TheLocationLiesBelowTheWellheadInTheSystemAsked) {
  addVelocityFunction();
  EpiWell::WellPick_var pick = create(pickValue(1000.0, "m", Pick::PICK_MD));
  EpCoordinateService::Coordinate_var depth =
      pick->getLocation(EpCoordinateService::System::_nil(), EpiWell::WellVelocity::_nil());
  EXPECT_EQ(CORBA::String_var(depth->system->name()).in(), std::string("EPSG:32631"));
  EXPECT_DOUBLE_EQ(depth->x, 500000.0);
  EXPECT_DOUBLE_EQ(depth->y, 6000000.0);
  EXPECT_NEAR(depth->z, 1000.0, 1e-9);   // TVD
  EpCoordinateService::System_var twin = systems->getSystem("EPSG:32631+TWT");
  EpCoordinateService::Coordinate_var time = pick->getLocation(twin.in(), velocity.in());
  EXPECT_DOUBLE_EQ(time->x, 500000.0);
  EXPECT_NEAR(time->z, 790.0, 1e-4);   // ms
  EpCoordinateService::System_var geographic = systems->getSystem("EPSG:4326");
  EpCoordinateService::Coordinate_var lonLat = pick->getLocation(geographic.in(), velocity.in());
  EXPECT_NEAR(lonLat->x, 3.0, 1e-9);   // the central meridian of zone 31
  EXPECT_NEAR(lonLat->z, 1000.0, 1e-9);
  bore->setDefaultWellVelocity(EpiWell::WellVelocity::_nil());
  EXPECT_THROW(pick->getLocation(twin.in(), EpiWell::WellVelocity::_nil()), EpTypes::InsufficientDataException);
}

namespace {

class RestartedPicks : public ::testing::Test {
protected:
  RestartedPicks() { service.start(); }
  ServiceProcess service;
};

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

TEST_F(RestartedPicks, AWellboreListsItsPicksInCreationOrderAcrossSigkill) {
  std::string boreIor;
  std::vector<std::string> stored;
  {
    struct Scope : Picks {
      explicit Scope(ServiceProcess& s) : Picks(s) {}
      void TestBody() override {}
    } scope(service);
    std::vector<std::string> listed;
    for (const char* name : {"Top C", "Top A", "Top B"}) {
      EpiWell::WellPick_var pick = scope.create(scope.pickValue(1000.0, "m", Pick::PICK_MD), true, name);
      stored.push_back(idOf(pick.in()));
      EpiWell::WellPick_var storeless = scope.create(scope.pickValue(990.0, "ft", Pick::PICK_TVD), false, name);
      listed.push_back(idOf(storeless.in()));
    }
    listed.insert(listed.begin(), stored.begin(), stored.end());
    EXPECT_EQ(idsOf(EpEntity::EntitySeq_var(scope.bore->getPicks()).in()), listed);
    boreIor = CORBA::String_var(clientOrb()->object_to_string(scope.bore.in())).in();
  }
  service.kill();
  service.start();
  EpiWell::WellBore_var bore = revived<EpiWell::WellBore>(boreIor);
  ASSERT_FALSE(CORBA::is_nil(bore.in()));
  EpEntity::EntitySeq_var picks = bore->getPicks();
  EXPECT_EQ(idsOf(picks.in()), stored);   // storeless ones are gone
  Pick::PickValue_var tvdss = Pick::_narrow(picks[0])->getPickValue(Pick::PICK_TVDSS);
  EXPECT_NEAR(numberOf(tvdss->value.value), 975.0, 1e-9);
}
