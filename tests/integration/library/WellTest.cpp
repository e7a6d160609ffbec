// kel_Well against a real kelwelld.
#include <cmath>

#include "LibraryService.h"
#include "kel_Connection.h"

using namespace library_test;

namespace {

using Getter = kel_WellString (kel_Well::*)() const;
using Setter = void (kel_Well::*)(const kel_WellString&);

struct TextAttribute {
  const char* name;
  Getter get;
  Setter set;
};

const TextAttribute textAttributes[] = {
    {"country", &kel_Well::getCountry, &kel_Well::setCountry},
    {"county", &kel_Well::getCounty, &kel_Well::setCounty},
    {"current operator", &kel_Well::getCurrentOperator, &kel_Well::setCurrentOperator},
    {"field", &kel_Well::getField, &kel_Well::setField},
    {"platform identifier", &kel_Well::getPlatformIdentifier, &kel_Well::setPlatformIdentifier},
    {"state or province", &kel_Well::getStateOrProvince, &kel_Well::setStateOrProvince},
    {"well status", &kel_Well::getWellStatus, &kel_Well::setWellStatus},
};

std::string idOf(const kel_Entity& entity) { return text(entity.getId()); }

} // namespace

using WellTest = Fixture;

TEST_F(WellTest, TextAttributesRoundTripUnchanged) {
  for (kel_Well well :
       {newWell("Stored"), kel_Well::createStorelessWell(project, kel_StringPair("UWI", "S"), session)}) {
    for (const TextAttribute& a : textAttributes) {
      SCOPED_TRACE(a.name);
      EXPECT_EQ("", text((well.*a.get)()));
      // Blanks and characters beyond ASCII are kept as they are: no trimming here.
      const std::string value = std::string("  Åsgard ") + a.name + " ";
      (well.*a.set)(value.c_str());
      EXPECT_EQ(value, text((well.*a.get)()));
    }
  }
}

TEST_F(WellTest, SpudDateNullAndReal) {
  kel_Well well = newWell();
  EXPECT_TRUE(well.getSpudDate().isNullDate());
  well.setSpudDate(kel_Date(1997, 6, 14));
  EXPECT_TRUE(kel_Date(1997, 6, 14) == well.getSpudDate());
  well.setSpudDate(kel_Date(2004, 2, 29, 13, 5, 9));
  EXPECT_EQ("2004-02-29T13:05:09Z", text(well.getSpudDate().toString()));
  // The null date is written as the empty text, which clears the date.
  well.setSpudDate(kel_Date());
  EXPECT_TRUE(well.getSpudDate().isNullDate());
}

TEST_F(WellTest, WaterDepthInAnyUnit) {
  kel_Well well = newWell();
  const kel_Unit feet = kel_Unit::getUnit("ft");
  const kel_Unit metres = kel_Unit::getUnit("m");
  well.setWaterDepth(kel_FloatQuantity(feet, 1000.0f));

  const kel_FloatQuantity inMetres = well.getWaterDepth(metres);
  EXPECT_EQ("m", text(inMetres.getUnit().getAcronym()));
  EXPECT_NEAR(304.8, inMetres.getValue(), 1e-3);

  // The stored unit, and a nil unit, give the stored quantity back.
  for (const kel_Unit& unit : {feet, kel_Unit()}) {
    const kel_FloatQuantity stored = well.getWaterDepth(unit);
    EXPECT_EQ("ft", text(stored.getUnit().getAcronym()));
    EXPECT_FLOAT_EQ(1000.0f, stored.getValue());
  }
  // The default depth unit of the service's (metric) unit system.
  const kel_FloatQuantity byDefault = well.getWaterDepth();
  EXPECT_EQ("m", text(byDefault.getUnit().getAcronym()));
  EXPECT_NEAR(304.8, byDefault.getValue(), 1e-3);

  // A quantity that comes back without a unit is returned as it is, whatever is asked.
  returnNil("getWaterDepth", idOf(well));
  const kel_FloatQuantity bare = well.getWaterDepth(metres);
  EXPECT_TRUE(bare.getUnit().isNil());
  EXPECT_FLOAT_EQ(1000.0f, bare.getValue());

  // Another quantity's unit cannot be asked for.
  const Failure wrongUnit = failureOf([&] { well.getWaterDepth(kel_Unit::getUnit("ms")); });
  EXPECT_EQ("Could not return the depth of the water. ", text(wrongUnit->getMessage()));
  EXPECT_TRUE(wrongUnit->isUserException());
}

TEST_F(WellTest, LocationInTheStoredAndInOtherSystems) {
  kel_Well well = newWell();
  const kel_CoordSystem utm31 = kel_CoordSystem::getSystem("EPSG:32631");
  well.setLocation(kel_Coordinate(utm31, 500000.0, 6600000.0, -25.0));

  // A nil system asks for the system it was written in; the result carries it.
  const kel_Coordinate stored = well.getLocation(kel_CoordSystem());
  EXPECT_EQ("EPSG:32631", text(stored.getSystem().getName()));
  EXPECT_DOUBLE_EQ(500000.0, stored.getX());
  EXPECT_DOUBLE_EQ(6600000.0, stored.getY());
  EXPECT_DOUBLE_EQ(-25.0, stored.getZ());

  // The default system is geographic (longitude, latitude); z is carried unchanged.
  const kel_Coordinate geographic = well.getLocation();
  EXPECT_EQ("EPSG:4326", text(geographic.getSystem().getName()));
  EXPECT_NEAR(3.0, geographic.getX(), 1e-6);
  EXPECT_NEAR(59.53, geographic.getY(), 0.01);
  EXPECT_DOUBLE_EQ(-25.0, geographic.getZ());

  // Depth and time systems have no transform between them.
  const Failure timeDomain = failureOf([&] { well.getLocation(kel_CoordSystem::getSystem("EPSG:32631+TWT")); });
  EXPECT_TRUE(timeDomain->isSystemException());
  EXPECT_EQ("Could not return this well's surface coordinate location. ", text(timeDomain->getMessage()));
  EXPECT_EQ(0u, text(timeDomain->getContext())
                    .find("Caught an EpCoordinateService::NoKnownTransformException exception in the "
                          "kel_Well::getLocation method. "));
  EXPECT_FALSE(timeDomain->hasCause());

  // A coordinate that comes back without a system is refused.
  returnNil("getLocation", idOf(well));
  expectChain(failureOf([&] { well.getLocation(utm31); }),
              {{false, "Could not return this well's surface coordinate location. ",
                "Caught an kel_SystemException exception in the kel_Well::getLocation method. "},
               {false, "The EpCoordinateService::System came back nil. ", ""}});
}

TEST_F(WellTest, IdentifierAndAliasesKeepTheirOrder) {
  kel_Well well = newWell("Troll A-12", "NO 31/2-A-12");
  EXPECT_EQ("UWI", text(well.getIdentifier().getKey()));
  EXPECT_EQ("NO 31/2-A-12", text(well.getIdentifier().getValue()));

  EXPECT_EQ(0u, well.getWellAliases().size());
  kel_Array<kel_StringPair> aliases(3);
  aliases.set(0, kel_StringPair("NPD", "1234"));
  aliases.set(1, kel_StringPair("Common", "A-12"));
  aliases.set(2, kel_StringPair("API", "42-501-20130"));
  well.setWellAliases(aliases);
  const kel_Array<kel_StringPair> back = well.getWellAliases();
  ASSERT_EQ(3u, back.size());
  for (unsigned i = 0; i < 3; ++i) EXPECT_TRUE(aliases[i] == back[i]) << i;

  well.setWellAliases(kel_Array<kel_StringPair>());
  EXPECT_EQ(0u, well.getWellAliases().size());
}

TEST_F(WellTest, ProjectAndIdentity) {
  kel_Well well = newWell();
  EXPECT_TRUE(well.getProject() == project);

  // Two wrappers of the same well obtained separately are the same well.
  const kel_Well again = kel_Well::getFromString(well.getStringifiedReference());
  EXPECT_TRUE(again == well);
  EXPECT_FALSE(again < well);
  EXPECT_FALSE(well < again);

  const kel_Well other = newWell("Other", "UWI-2");
  EXPECT_FALSE(other == well);
  EXPECT_NE(other < well, well < other);

  // A well without a project has a nil one.
  returnNil("getProject", idOf(well));
  EXPECT_TRUE(well.getProject().isNil());

  // Copies hold the same reference with counts of their own.
  kel_Well copy(well);
  kel_Well assigned;
  assigned = copy;
  copy = kel_Well();
  EXPECT_TRUE(copy.isNil());
  EXPECT_EQ("", text(assigned.getCountry()));
  EXPECT_TRUE(assigned == well);
}

TEST_F(WellTest, NarrowingEntitiesAndArrays) {
  const kel_Well first = newWell("First", "UWI-1");
  const kel_WellBore bore = newBore(first);
  const kel_Well second = newWell("Second", "UWI-2");

  EXPECT_TRUE(kel_Well::narrow(kel_Entity(first), true) == first);
  EXPECT_TRUE(kel_Well::narrow(kel_Entity(bore), false).isNil());
  expectChain(failureOf([&] { kel_Well::narrow(kel_Entity(bore), true); }),
              {{false, "Could not narrow the given entity object to a well object. ",
                "Caught an kel_SystemException exception in the kel_Well::narrow method. "},
               {false, "The EpiWell::Well came back NULL. ", ""}});

  kel_Array<kel_Entity> mixed(3);
  mixed.set(0, first);
  mixed.set(1, bore);
  mixed.set(2, second);
  const kel_Array<kel_Well> wells = kel_Well::narrow(mixed, false);
  ASSERT_EQ(2u, wells.size());
  EXPECT_TRUE(wells[0] == first);
  EXPECT_TRUE(wells[1] == second);
  expectChain(failureOf([&] { kel_Well::narrow(mixed, true); }),
              {{false, "Could not narrow the given list of entity objects to a list of well objects. ",
                "Caught an kel_SystemException exception in the kel_Well::narrow method. "},
               {false, "The given entity array contains other types of entities than wells. ", ""}});

  const kel_Array<kel_Well> inProject = kel_Well::getWellsInProject(project);
  ASSERT_EQ(2u, inProject.size());
  EXPECT_TRUE(inProject[0] == first);
  EXPECT_TRUE(inProject[1] == second);
  EXPECT_EQ(0u, kel_Well::getWellsInProject(newProject()).size());
}

TEST_F(WellTest, StringifiedReferences) {
  const kel_Well well = newWell();
  const Failure garbage = failureOf([] { kel_Well::getFromString("not a reference"); });
  EXPECT_TRUE(garbage->isSystemException());
  EXPECT_EQ("Couldn't create a well object from given stringified well. ", text(garbage->getMessage()));
  EXPECT_EQ("Caught a CORBA::Exception exception in the kel_Well::getFromString method. ",
            text(garbage->getContext()));

  const kel_WellBore bore = newBore(well);
  expectChain(failureOf([&] { kel_Well::getFromString(bore.getStringifiedReference()); }),
              {{true, "Couldn't create a well object from given stringified well. ",
                "Caught an kel_UserException exception in the kel_Well::getFromString method. "},
               {true, "The EpiWell::Well came back nil. ", ""}});
}

TEST_F(WellTest, CreatorsCheckTheirInputsAndAnswers) {
  const kel_StringPair id("UWI", "X");
  // Storeless: the project is checked once the factory has been found.
  expectChain(failureOf([&] { kel_Well::createStorelessWell(kel_Project(), id, session); }),
              {{false, "Could not create a storeless well from given inputs. ",
                "Caught an kel_SystemException exception in the kel_Well::createStorelessWell method. "},
               {false, "The supplied project is nil. ", ""}});

  returnNil("createWell");
  expectChain(failureOf([&] { kel_Well::createStorelessWell(project, id, session); }),
              {{false, "Could not create a storeless well from given inputs. ",
                "Caught an kel_SystemException exception in the kel_Well::createStorelessWell method. "},
               {false, "The EpiWell::Well came back NULL. ", ""}});
  returnNil("createWell");
  expectChain(failureOf([&] { kel_Well::createNewWell(project, "W", id, session); }),
              {{false, "Could not create a new well from given inputs. ",
                "Caught an kel_SystemException exception in the kel_Well::createNewWell method. "},
               {false, "The EpiWell::Well came back nil. ", ""}});

  raise("createWell", "EpTypes::FailedOperationException", "the store is read-only. ");
  expectChain(failureOf([&] { kel_Well::createNewWell(project, "W", id, session); }),
              {{false, "Could not create a new well from given inputs. ",
                "Caught an EpTypes::FailedOperationException exception in the kel_Well::createNewWell method. "
                "the store is read-only. "}});
  raise("createWell", "CosLifeCycle::NoFactory", "IDL:x:1.0", "");
  expectChain(failureOf([&] { kel_Well::createStorelessWell(project, id, session); }),
              {{false, "Could not create a storeless well from given inputs. ",
                "Caught a CosLifeCycle::NoFactory exception in the kel_Well::createStorelessWell method. "}});
  // A refusal the creator names no clause for: createNewWell has a CORBA::UserException clause.
  raise("createWell", "EpEntity::ValidationException", "the identifier is empty. ");
  expectChain(failureOf([&] { kel_Well::createNewWell(project, "W", id, session); }),
              {{false, "Could not create a new well from given inputs. ",
                "Caught a CORBA::UserException exception in the kel_Well::createNewWell method. "}});
  raise("createWell", "EpEntity::ValidationException", "the identifier is empty. ");
  expectChain(failureOf([&] { kel_Well::createStorelessWell(project, id, session); }),
              {{false, "Could not create a storeless well from given inputs. ",
                "Caught a CORBA::Exception exception in the kel_Well::createStorelessWell method. "}});

  // With a nil project, createNewWell fails where the store name is read.
  const Failure nilProject = failureOf([&] { kel_Well::createNewWell(kel_Project(), "W", id, session); });
  EXPECT_EQ("Could not create a new well from given inputs. ", text(nilProject->getMessage()));
  EXPECT_EQ(0u, armedFaults());
}
