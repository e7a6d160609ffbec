// kel_WellPick against a pick served by this test process: it answers what a
// test scripts, records what the wrapper sends (as text), and raises the
// failure a test arms for the next call of an operation. The creators meet a
// scripted session whose factory finder hands out scripted factories. Units,
// coordinate systems, reference values, wells and wellbores come from the
// fixture's kelwelld.
#include <string>
#include <vector>

#include "ScriptedServants.h"
#include "kel_WellPick.h"
#include "kel_WellVelocity.h"

using namespace contract;

namespace {

using Remote = EpiWell::WellPick;
using Kel = kel_WellPick;
using contract::describe;

std::string describe(const Remote::PickValue& v) { return describe(v.value) + " in " + std::to_string(v.reference); }
std::string describe(const kel_FloatQuantity& q) {
  std::ostringstream out;
  out << q.getUnit().getAcronym().str() << ":" << q.getValue();
  return out.str();
}
std::string describe(const Kel::PickValue& v) { return describe(v.value) + " in " + std::to_string(v.reference); }

Kel::PickValue pickValue(const char* unit, float value, int reference) {
  return Kel::PickValue{kel_FloatQuantity(kel_Unit::getUnit(unit), value), static_cast<Kel::PickReference>(reference)};
}

// ---------------------------------------------------------------- the scripted objects

// Answers fixed values; the reference kinds it reports are never those asked for.
class ScriptedPick : public POA_EpiWell::WellPick, public Script {
public:
  std::string color = "";
  EpiWell::WellBore_var bore;
  Remote::PickReference reportedReference = Remote::PICK_TWT;
  Remote::PickReference originalReference = Remote::PICK_TVDSS;
  EpCoordinateService::System_var locationSystem;

  char* getId() override { return text("getId", "scripted:pick"); }
  char* getStoreName() override { return text("getStoreName", ""); }
  char* getEntityType() override { return text("getEntityType", "EpiWell_WellPick"); }
  EpSession::Project_ptr getProject() override { return enter("getProject"), EpSession::Project::_nil(); }
  char* getLastModified(const char* selector) override {
    enter("getLastModified", selector);
    return CORBA::string_dup("2024-03-01T12:00:00Z");
  }

  char* getComment() override { return text("getComment", "sharp top"); }
  void setComment(const char* value) override { enter("setComment", value); }
  char* getConfidenceFactor() override { return text("getConfidenceFactor", "high"); }
  void setConfidenceFactor(const char* value) override { enter("setConfidenceFactor", value); }
  char* getInterpreter() override { return text("getInterpreter", "ajm"); }
  void setInterpreter(const char* value) override { enter("setInterpreter", value); }
  char* getPickDate() override { return text("getPickDate", "2023-11-02T08:30:00Z"); }
  void setPickDate(const char* value) override { enter("setPickDate", value); }
  char* getPickName() override { return text("getPickName", "Top Brent"); }
  void setPickName(const char* value) override { enter("setPickName", value); }
  char* getPickSource() override { return text("getPickSource", "log correlation"); }
  void setPickSource(const char* value) override { enter("setPickSource", value); }
  char* getPickType() override { return text("getPickType", "formation top"); }
  char* getPickColor() override { return text("getPickColor", color.c_str()); }
  void setPickColor(const char* value) override { enter("setPickColor", value); }
  EpiTypes::DataQuantity* getDipAngle() override {
    return enter("getDipAngle"), new EpiTypes::DataQuantity(remoteQuantity("dega", 90.0f));
  }
  void setDipAngle(const EpiTypes::DataQuantity& value) override { enter("setDipAngle", describe(value)); }
  EpiTypes::DataQuantity* getDipAzimuth() override {
    return enter("getDipAzimuth"), new EpiTypes::DataQuantity(remoteQuantity("dega", 180.0f));
  }
  void setDipAzimuth(const EpiTypes::DataQuantity& value) override { enter("setDipAzimuth", describe(value)); }
  EpiWell::WellBore_ptr getBore() override { return enter("getBore"), EpiWell::WellBore::_duplicate(bore.in()); }

  Remote::PickValue* getPickValue(Remote::PickReference reference) override {
    enter("getPickValue", std::to_string(reference));
    return new Remote::PickValue{remoteQuantity("ms", 1234.5f), reportedReference};
  }
  Remote::PickValue* getOriginalPickValue() override {
    enter("getOriginalPickValue");
    return new Remote::PickValue{remoteQuantity("ft", 5000.0f), originalReference};
  }
  void setPickValue(const Remote::PickValue& value) override { enter("setPickValue", describe(value)); }
  EpCoordinateService::Coordinate* getLocation(EpCoordinateService::System_ptr system,
                                               EpiWell::WellVelocity_ptr velocity) override {
    const std::string systemName = CORBA::is_nil(system) ? "nil" : CORBA::String_var(system->name()).in();
    const std::string velocityId = CORBA::is_nil(velocity) ? "nil" : CORBA::String_var(velocity->getId()).in();
    enter("getLocation", systemName + " " + velocityId);
    auto* result = new EpCoordinateService::Coordinate;
    result->system = EpCoordinateService::System::_duplicate(locationSystem.in());
    result->x = 431000.5;
    result->y = 6521000.25;
    result->z = -2450.0;
    return result;
  }

private:
  char* text(const char* operation, const char* value) { return enter(operation), CORBA::string_dup(value); }
};

// Both factories, recording what they are handed; they answer created.
template <class Skeleton>
class ScriptedFactory : public Skeleton, public Script {
public:
  EpiWell::WellPick_var created;

  EpiWell::WellPick_ptr createWellPick(EpiWell::WellBore_ptr bore, const char* pickName, const char* pickType,
                                       const char* interpreter, const Remote::PickValue& value,
                                       EpSession::Session_ptr session) override {
    enter("createWellPick", std::string(CORBA::is_nil(bore) ? "nil" : "bore") + " " + pickName + " " + pickType +
                                " " + interpreter + " " + describe(value) + " " +
                                (CORBA::is_nil(session) ? "nil" : "session"));
    return Remote::_duplicate(created.in());
  }
};

// ---------------------------------------------------------------- the fixture

struct Pick : ServedWrapper<kel_WellPick, ScriptedPick> {};

std::string fragment(const char* operation) { return std::string("kel_WellPick::") + operation + " method. "; }

} // namespace

// ---------------------------------------------------------------- attributes

TEST_F(Pick, AttributesForwardAndCarryWhatCameBack) {
  EXPECT_EQ("sharp top", str(scripted.getComment()));
  EXPECT_EQ("high", str(scripted.getConfidenceFactor()));
  EXPECT_EQ("ajm", str(scripted.getInterpreter()));
  EXPECT_EQ("Top Brent", str(scripted.getPickName()));
  EXPECT_EQ("log correlation", str(scripted.getPickSource()));
  EXPECT_EQ("formation top", str(scripted.getPickType()));
  EXPECT_EQ(kel_Date::fromString("2023-11-02T08:30:00Z"), scripted.getPickDate());
  EXPECT_EQ(kel_Date::fromString("2024-03-01T12:00:00Z"), scripted.getLastModified("pickValue"));
  EXPECT_EQ("pickValue", servant->sent("getLastModified"));
  EXPECT_EQ("EpiWell_WellPick", str(kel_WellPick::getEntityType()));
  EXPECT_EQ("IDL:EpiWell/WellPick:1.0", str(kel_WellPick::getRepositoryId()));

  // No colour: a default one; a name is looked up.
  EXPECT_TRUE(kel_Color() == scripted.getPickColor());
  servant->color = "#102030";
  EXPECT_TRUE(kel_Color(0x10, 0x20, 0x30) == scripted.getPickColor());

  const Sent writes[] = {
      {[&] { scripted.setComment(" as picked "); }, "setComment", " as picked "},
      {[&] { scripted.setConfidenceFactor("low"); }, "setConfidenceFactor", "low"},
      {[&] { scripted.setInterpreter("jd"); }, "setInterpreter", "jd"},
      {[&] { scripted.setPickDate(kel_Date::fromString("2024-01-15T10:00:00Z")); }, "setPickDate",
       str(kel_Date::fromString("2024-01-15T10:00:00Z").toString())},
      {[&] { scripted.setPickName("Top Ness"); }, "setPickName", "Top Ness"},
      {[&] { scripted.setPickSource(""); }, "setPickSource", ""},
      {[&] { scripted.setPickColor(kel_Color(0x10, 0x20, 0x30)); }, "setPickColor",
       str(kel_Color(0x10, 0x20, 0x30).getColorName())},
      {[&] { scripted.setDipAngle(kel_FloatQuantity(kel_Unit::getUnit("dega"), 12.5f)); }, "setDipAngle",
       "dega:12.5"},
      {[&] { scripted.setDipAzimuth(kel_FloatQuantity(kel_Unit(), 1.5f)); }, "setDipAzimuth", "nil:1.5"},
      {[&] { scripted.setPickValue(pickValue("ft", 1500.0f, 1)); }, "setPickValue", "ft:1500 in 1"},
  };
  for (const Sent& w : writes) {
    w.call();
    EXPECT_EQ(w.sent, servant->sent(w.operation)) << w.operation;
  }

  EXPECT_TRUE(scripted.getBore().getRemoteObject(kel_Internal()) == nullptr);  // none: a nil wellbore
  const kel_WellBore bore = this->bore(well());
  servant->bore =
      EpiWell::WellBore::_duplicate(static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal())));
  EXPECT_TRUE(scripted.getBore() == bore);
}

TEST_F(Pick, DipGettersConvertOnlyIntoADifferentNamedUnit) {
  // The service answers 90 dega.
  struct Case {
    kel_Unit unit;
    const char* acronym;
    float value;
  };
  const Case cases[] = {
      {kel_Unit::getUnit("rad"), "rad", 1.5707964f},  // another unit: transformed here
      {kel_Unit::getUnit("dega"), "dega", 90.0f},     // the service's own: unchanged
      {kel_Unit(), "dega", 90.0f},                    // none asked: the service's unit
  };
  for (const Case& c : cases) {
    const kel_FloatQuantity angle = scripted.getDipAngle(c.unit);
    EXPECT_EQ(c.acronym, str(angle.getUnit().getAcronym())) << str(c.unit.getAcronym());
    EXPECT_NEAR(c.value, angle.getValue(), 1e-5f) << str(c.unit.getAcronym());
  }
  EXPECT_NEAR(3.14159f, scripted.getDipAzimuth(kel_Unit::getUnit("rad")).getValue(), 1e-5f);

  // The overloads without a unit take the default angle unit.
  const std::string angle = str(kel_UnitMeasureSet::getDefaultUnits().angleUnit.getAcronym());
  EXPECT_EQ(angle, str(scripted.getDipAngle().getUnit().getAcronym()));
  EXPECT_EQ(angle, str(scripted.getDipAzimuth().getUnit().getAcronym()));
}

TEST_F(Pick, OccurrenceIsNotSupportedAndAsksNothing) {
  const Caught failures[] = {caught([&] { scripted.getOccurrence(); }), caught([&] { scripted.setOccurrence(3); })};
  for (const Caught& failure : failures) expectChain(failure, {user("Not implemented yet.")});
  EXPECT_FALSE(servant->called());
}

// ---------------------------------------------------------------- pick values and location

TEST_F(Pick, PickValuesCarryTheKindTheServiceReportsAndItsUnit) {
  for (int asked = 0; asked <= 6; ++asked) {
    const Kel::PickValue value = scripted.getPickValue(static_cast<Kel::PickReference>(asked));
    EXPECT_EQ(std::to_string(asked), servant->sent("getPickValue"));
    EXPECT_EQ("ms:1234.5 in 4", describe(value));  // the service's kind, not a copy of the one asked for
  }
  EXPECT_EQ("ft:5000 in 2", describe(scripted.getOriginalPickValue()));

  // An unknown kind is refused before anything is asked.
  servant->forget();
  expectChain(caught([&] { scripted.getPickValue(static_cast<Kel::PickReference>(7)); }),
              {sys("Could not return the pick value in the specified PickReference. ",
                   kSystem + fragment("getPickValue")),
               sys("Couldn't convert the kel_WellPick::PickReference to EpiWell::WellPick::PickReference. ",
                   std::string(kSystem) + "kel_WellEnumConverter::makeEpiPickReference method. "),
               sys("The pickReference couldn't be mapped. 7")});
  expectChain(caught([&] { scripted.setPickValue(pickValue("m", 1.0f, -1)); }),
              {sys("Could not update the pick value. ", kSystem + fragment("setPickValue")),
               sys("Couldn't convert the kel_WellPick::PickReference to EpiWell::WellPick::PickReference. ",
                   std::string(kSystem) + "kel_WellEnumConverter::makeEpiPickReference method. "),
               sys("The pickReference couldn't be mapped. -1")});
  EXPECT_FALSE(servant->called());

  // Kinds the service reports that have no counterpart here.
  servant->reportedReference = 8;
  expectChain(caught([&] { scripted.getPickValue(Kel::PICK_REFERENCE_0); }),
              {sys("Could not return the pick value in the specified PickReference. ",
                   kSystem + fragment("getPickValue")),
               sys("Couldn't convert the EpiWell::WellPick::PickReference to kel_WellPick::PickReference. ",
                   std::string(kSystem) + "kel_WellEnumConverter::makeKelPickReference method. "),
               sys("The pickReference couldn't be mapped. 8")});
  servant->originalReference = 9;
  expectChain(caught([&] { scripted.getOriginalPickValue(); }),
              {sys("Could not return the original pick value. ", kSystem + fragment("getOriginalPickValue")),
               sys("The given pickValue.reference couldn't be mapped: 9")});
}

TEST_F(Pick, LocationSendsTheSystemAndVelocityAndKeepsTheSystemItGetsBack) {
  const kel_CoordSystem defaultSystem = kel_CoordSystem::getDefaultSystem();
  ASSERT_FALSE(str(defaultSystem.getName()).empty());
  const kel_CoordSystem utm = kel_CoordSystem::getSystem("EPSG:32631");
  servant->locationSystem = EpCoordinateService::System::_duplicate(
      static_cast<EpCoordinateService::System_ptr>(utm.getRemoteObject(kel_Internal())));

  const kel_Coordinate at = scripted.getLocation(utm, kel_WellVelocity());
  EXPECT_EQ("EPSG:32631 nil", servant->sent("getLocation"));
  EXPECT_EQ("EPSG:32631", str(at.getSystem().getName()));
  EXPECT_EQ(431000.5, at.getX());
  EXPECT_EQ(6521000.25, at.getY());
  EXPECT_EQ(-2450.0, at.getZ());

  scripted.getLocation(kel_WellVelocity());
  EXPECT_EQ(str(defaultSystem.getName()) + " nil", servant->sent("getLocation"));
  scripted.getLocation(kel_CoordSystem(), kel_WellVelocity());
  EXPECT_EQ("nil nil", servant->sent("getLocation"));

  servant->locationSystem = EpCoordinateService::System::_nil();
  expectChain(caught([&] { scripted.getLocation(kel_WellVelocity()); }),
              {sys("Could not return this pick's location using default coordinate system. ",
                   kSystem + fragment("getLocation")),
               sys("Could not return this pick's location. ", kSystem + fragment("getLocation")),
               sys("The EpCoordinateService::Coordinate came bcak nil. ")});
}

// ---------------------------------------------------------------- failure chains

// A row for each ladder kind and for each clause whose context has texts of its own.
TEST_F(Pick, RemoteFailuresLeaveWithTheOperationsMessageAndContext) {
  auto store = [] { throw EpDataStore::StoreException("The store is read-only. ", "wells.db"); };
  auto validation = [] { throw EpEntity::ValidationException("No such colour: mauvish"); };
  auto insufficient = [] { throw EpTypes::InsufficientDataException("The wellbore has no velocity function. "); };
  const std::string storeTexts = "The store is read-only. wells.db";
  const std::string insufficientOpening = "Caught an EpTypes::InsufficientDataException exception in the ";

  struct Case {
    const char* ladder;
    const char* armed;
    std::function<void()> fault;
    std::function<void()> call;
    std::vector<Level> chain;
  };
  const std::vector<Case> cases{
      {"R", "getComment", store, [&] { scripted.getComment(); },
       {sys("Could not return the interpreter comment on this well pick. ",
            kStore + fragment("getComment") + storeTexts)}},
      {"R", "getPickName", [] { throw CORBA::NO_PERMISSION(0, CORBA::COMPLETED_NO); },
       [&] { scripted.getPickName(); },
       {sys("Could not return the name of this pick. ", kCorba + fragment("getPickName"))}},
      {"W", "setPickColor", validation, [&] { scripted.setPickColor(kel_Color()); },
       {user("Could not update the color of this pick. ",
             kValidation + fragment("setPickColor") + "No such colour: mauvish")}},
      {"W", "setDipAngle", store, [&] { scripted.setDipAngle(kel_FloatQuantity(kel_Unit(), 1.0f)); },
       {sys("Could not update the angle of dip from horizontal for this pick. ",
            kStore + fragment("setDipAngle") + storeTexts)}},
      {"R and validation", "getLastModified", validation, [&] { scripted.getLastModified("x"); },
       {user("Could not return the last modified date of this well pick. ",
             kValidation + fragment("getLastModified") + "No such colour: mauvish")}},
      {"C", "getDipAzimuth", store, [&] { scripted.getDipAzimuth(); },
       {sys("Could not return the direction of dip of this pick using default unit. ",
            kSystem + fragment("getDipAzimuth")),
        sys("Could not return the direction of dip of this pick. ", kStore + fragment("getDipAzimuth") + storeTexts)}},
      {"project", "getProject", store, [&] { scripted.getProject(); },
       {sys("Could not return the project which this well pick belongs to. ",
            kStore + fragment("getProject") + storeTexts)}},
      {"pick value", "getPickValue", insufficient, [&] { scripted.getPickValue(Kel::PICK_REFERENCE_4); },
       {sys("Could not return the pick value in the specified PickReference. ", kCorba + fragment("getPickValue"))}},
      {"location", "getLocation", insufficient, [&] { scripted.getLocation(kel_CoordSystem(), kel_WellVelocity()); },
       {sys("Could not return this pick's location. ",
            insufficientOpening + fragment("getLocation") + "The wellbore has no velocity function. ")}},
      {"location", "getLocation",
       [] { throw EpCoordinateService::NoKnownTransformException("EPSG:4326 to LOCAL:XY_TVD:b1"); },
       [&] { scripted.getLocation(kel_CoordSystem(), kel_WellVelocity()); },
       {sys("Could not return this pick's location. ",
            "Caught an EpCoordinateService::NoKnownTransformException exception in the "
            "kel_WellPick::getLocation method. EPSG:4326 to LOCAL:XY_TVD:b1")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ladder) + " " + c.armed);
    servant->faults[c.armed] = c.fault;
    expectChain(caught(c.call), c.chain);
    EXPECT_EQ(0u, servant->faults.count(c.armed)) << "the armed failure was not reached";
  }

  // A nil pick stands for no remote object.
  expectChain(caught([] { kel_WellPick().getPickType(); }),
              {user("Could not return the type of this pick. ", kUser + fragment("getPickType")),
               user("This kel_WellPick is nil: it stands for no remote object. ")});
}

TEST_F(Pick, ValidConfidenceFactorsComeFromTheReferenceValueService) {
  std::vector<std::string> codes;
  const kel_Array<kel_cppUtil::String> factors = kel_WellPick::getValidConfidenceFactors();
  for (unsigned i = 0; i < factors.size(); ++i) codes.push_back(str(factors[i]));
  EXPECT_EQ((std::vector<std::string>{"high", "medium", "low", "uncertain", "unknown"}), codes);

  const Level top = sys("Could not return a list of valid confidence factors. ",
                        kSystem + fragment("getValidConfidenceFactors"));
  const char* const lookup = "Could not create a list of reference values from the Reference Value Service. ";
  returnNil("getSet");
  expectChain(caught([] { kel_WellPick::getValidConfidenceFactors(); }),
              {top, sys(lookup, kSystem + fragment("getFromRVS")),
               sys("EpReferenceValueService::ReferenceValueSet came back NULL")});
  raise("getSet", "EpReferenceValueService::NotFoundException", "No reference value set 'ConfidenceFactor'. ");
  expectChain(caught([] { kel_WellPick::getValidConfidenceFactors(); }),
              {top, sys(lookup, "Caught an EpReferenceValueService::NotFoundException exception in the " +
                                    fragment("getFromRVS") + "No reference value set 'ConfidenceFactor'. ")});
}

// ---------------------------------------------------------------- creation

TEST_F(Pick, CreatorsCheckTheSessionConvertTheValueThenLookTheFactoryUp) {
  auto* finder = new ScriptedFinder;
  const kel_Session scriptedSession = sessionFinding(finder);
  auto* stored = new ScriptedFactory<POA_EpiWell::NewWellPickFactory>;
  CORBA::Object_var storedReference = serve(stored);
  auto* storeless = new ScriptedFactory<POA_EpiWell::StorelessWellPickFactory>;
  CORBA::Object_var storelessReference = serve(storeless);
  CORBA::Object_var pickReference = poa->servant_to_reference(servant);
  stored->created = storeless->created = Remote::_narrow(pickReference.in());

  const kel_WellBore bore = this->bore(well());
  const Kel::PickValue value = pickValue("m", 2450.0f, 0);
  const Kel::PickValue unconvertible = pickValue("m", 2450.0f, 9);

  using Creator = kel_WellPick (*)(const kel_WellBore&, const kel_cppUtil::String&, const kel_cppUtil::String&,
                                   const kel_cppUtil::String&, const Kel::PickValue&, const kel_Session&);
  struct Way {
    const char* name;
    Creator create;
    const char* message;
    const char* factoryNil;
    std::string key;
    Script* factory;
    CORBA::Object_ptr reference;
    Level nilBore;  // the stored factory's lookup asks the wellbore for its store first
  };
  const Way ways[] = {
      {"createNewWellPick", &kel_WellPick::createNewWellPick, "Could not create a new well pick from given inputs. ",
       "The EpiWell::NewWellPickFactory came back nil. ",
       "IDL:EpiWell/NewWellPickFactory:1.0 in '" + str(bore.getStoreName()) + "'", stored, storedReference.in(),
       sys("Could not read the store name of the entity. ", "The entity is nil. ")},
      {"createStorelessWellPick", &kel_WellPick::createStorelessWellPick,
       "Could not create a storeless well pick from given inputs. ",
       "The EpiWell::StorelessWellPickFactory came back nil. ", "IDL:EpiWell/StorelessWellPickFactory:1.0 in ''",
       storeless, storelessReference.in(), sys("The supplied bore is nil. ")},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    const Level top = sys(way.message, kSystem + fragment(way.name));
    auto create = [&](const kel_WellBore& b, const Kel::PickValue& v, const kel_Session& on) {
      return way.create(b, "Top Brent", "formation top", "ajm", v, on);
    };
    finder->forget();
    finder->factory = CORBA::Object::_nil();

    // The session first: not even the value is looked at.
    expectChain(caught([&] { create(kel_WellBore(), unconvertible, kel_Session()); }),
                {top, sys("The supplied session is nil. ")});
    // Then the value: a kind that does not convert fails before any lookup.
    expectChain(caught([&] { create(bore, unconvertible, scriptedSession); }),
                {top,
                 sys("Couldn't convert the kel_WellPick::PickReference to EpiWell::WellPick::PickReference. ",
                     std::string(kSystem) + "kel_WellEnumConverter::makeEpiPickReference method. "),
                 sys("The pickReference couldn't be mapped. 9")});
    EXPECT_FALSE(finder->called());
    // Then the factory, looked up by its interface (and the wellbore's store).
    expectChain(caught([&] { create(bore, value, scriptedSession); }), {top, sys(way.factoryNil)});
    EXPECT_EQ(way.key, finder->sent("find_factories"));

    finder->factory = CORBA::Object::_duplicate(way.reference);
    expectChain(caught([&] { create(kel_WellBore(), value, scriptedSession); }), {top, way.nilBore});
    EXPECT_TRUE(create(bore, value, scriptedSession) == scripted);
    EXPECT_EQ("bore Top Brent formation top ajm m:2450 in 0 session", way.factory->sent("createWellPick"));

    // The factory's refusals, with their reasons.
    struct Refusal {
      std::function<void()> fault;
      Level chain;
    };
    const Refusal refusals[] = {
        {[] { throw CosLifeCycle::NoFactory(); },
         sys(way.message, "Caught a CosLifeCycle::NoFactory exception in the " + fragment(way.name))},
        {[] { throw EpDataStore::StoreException("Full. ", "disk"); },
         sys(way.message, kStore + fragment(way.name) + "Full. disk")},
        {[] { throw EpTypes::FailedOperationException("The wellbore was deleted. "); },
         sys(way.message, "Caught an EpTypes::FailedOperationException exception in the " + fragment(way.name) +
                              "The wellbore was deleted. ")},
        {[] { throw EpEntity::ValidationException("ms is no depth unit for kind 0"); },
         sys(way.message, kCorba + fragment(way.name))},
    };
    for (const Refusal& r : refusals) {
      way.factory->faults["createWellPick"] = r.fault;
      expectChain(caught([&] { create(bore, value, scriptedSession); }), {r.chain});
    }
  }
  stored->created = Remote::_nil();
  finder->factory = CORBA::Object::_duplicate(storedReference.in());
  expectChain(caught([&] {
                kel_WellPick::createNewWellPick(bore, "P", "T", "I", value, scriptedSession);
              }),
              {sys("Could not create a new well pick from given inputs. ", kSystem + fragment("createNewWellPick")),
               sys("The EpiWell::WellPick came back nil. ")});
}

// ---------------------------------------------------------------- identity

TEST_F(Pick, NarrowingKeepsPicksAndTellsOthersApart) {
  const kel_WellBore bore = this->bore(well());
  const kel_Entity asEntity = scripted;
  EXPECT_TRUE(kel_WellPick::narrow(asEntity, true) == scripted);
  EXPECT_TRUE(kel_WellPick::narrow(bore, false).getRemoteObject(kel_Internal()) == nullptr);
  expectChain(caught([&] { kel_WellPick::narrow(bore, true); }),
              {sys("Could not narrow the given entity object to a wellbore object. ", kSystem + fragment("narrow")),
               sys("The EpiWell::WellPick came back nil. ")});

  kel_Array<kel_Entity> entities;
  entities.addElement(asEntity);
  entities.addElement(bore);
  entities.addElement(asEntity);
  EXPECT_EQ(2u, kel_WellPick::narrow(entities, false).size());
  expectChain(caught([&] { kel_WellPick::narrow(entities, true); }),
              {sys("Could not narrow the given list of entity objects to a list of well pick objects. ",
                   kSystem + fragment("narrow")),
               sys("The given entity array contains other types of entities than well picks. ")});

  const CORBA::String_var text =
      static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb())
          ->object_to_string(static_cast<EpiWell::WellPick_ptr>(scripted.getRemoteObject(kel_Internal())));
  EXPECT_TRUE(kel_WellPick::getFromString(text.in()) == scripted);
}
