// kel_WellBore against a real kelwelld.
#include <EpiWell.hh>

#include "LibraryService.h"

using namespace library_test;

namespace {

using Getter = kel_WellString (kel_WellBore::*)() const;
using Setter = void (kel_WellBore::*)(const kel_WellString&);
using QuantityGetter = kel_FloatQuantity (kel_WellBore::*)(const kel_Unit&) const;
using DefaultGetter = kel_FloatQuantity (kel_WellBore::*)() const;
using QuantitySetter = void (kel_WellBore::*)(const kel_FloatQuantity&);

std::string idOf(const kel_Entity& entity) { return text(entity.getId()); }

EpiWell::WellBore_ptr raw(const kel_WellBore& bore) {
  return static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal()));
}

std::vector<std::string> texts(const kel_Array<kel_WellString>& array) {
  std::vector<std::string> result;
  for (unsigned i = 0; i < array.size(); ++i) result.push_back(text(array[i]));
  return result;
}

} // namespace

using WellBoreTest = Fixture;

TEST_F(WellBoreTest, CreatedUnderTheirWellStoredOrNot) {
  const kel_Well well = newWell();
#if !KELWELL_EARLIER_INTERFACE
  EXPECT_EQ(0u, kel_WellBore::getWellBoresOfWell(well).size());
#endif

  const kel_WellBore stored = newBore(well, "ST1");
  const kel_WellBore storeless =
      kel_WellBore::createStorelessWellBore(well, kel_StringPair("Bore", "ST2"), session);
  EXPECT_EQ("Bore", text(stored.getIdentifier().getKey()));
  EXPECT_EQ("ST1", text(stored.getIdentifier().getValue()));
  EXPECT_EQ("ST2", text(storeless.getIdentifier().getValue()));
  EXPECT_TRUE(stored.getWell() == well);
  EXPECT_TRUE(storeless.getWell() == well);
  EXPECT_TRUE(stored.getProject() == project);

  const kel_WellBore second = newBore(well, "ST3");
#if !KELWELL_EARLIER_INTERFACE
  const kel_Array<kel_WellBore> ofWell = kel_WellBore::getWellBoresOfWell(well);
  ASSERT_EQ(3u, ofWell.size());
  EXPECT_TRUE(ofWell[0] == stored);
  EXPECT_TRUE(ofWell[1] == second);
  EXPECT_TRUE(ofWell[2] == storeless); // the service lists the stored ones first
#endif

  const kel_Array<kel_WellBore> inProject = kel_WellBore::getWellBoresInProject(project);
  ASSERT_EQ(2u, inProject.size());
  EXPECT_TRUE(inProject[0] == stored);
  EXPECT_TRUE(inProject[1] == second);

  returnNil("createWellBore");
  expectChain(failureOf([&] { newBore(well); }),
              {{false, "Could not create a new wellbore from given inputs. ",
                "Caught an kel_SystemException exception in the kel_WellBore::createNewWellBore method. "},
               {false, "The EpiWell::WellBore came back nil. ", ""}});
  raise("createWellBore", "EpDataStore::StoreException", "x", "y");
  expectChain(
      failureOf([&] { kel_WellBore::createStorelessWellBore(well, kel_StringPair("B", "1"), session); }),
      {{false, "Could not create a storeless wellbore from given inputs. ",
        "Caught an EpDataStore::StoreException exception in the kel_WellBore::createStorelessWellBore method. "
        "xy"}});
}

TEST_F(WellBoreTest, CodesRoundTripAndTheServiceChecksThem) {
  kel_WellBore bore = newBore(newWell());
  struct Code {
    Getter get;
    Setter set;
    const char* value;
  };
  const Code codes[] = {{&kel_WellBore::getBoreStatus, &kel_WellBore::setBoreStatus, "drilling"},
                        {&kel_WellBore::getFlowDirection, &kel_WellBore::setFlowDirection, "injection"},
                        {&kel_WellBore::getFluidType, &kel_WellBore::setFluidType, "oil"},
                        {&kel_WellBore::getShowType, &kel_WellBore::setShowType, "gas"}};
  for (const Code& code : codes) {
    SCOPED_TRACE(code.value);
    EXPECT_EQ("", text((bore.*code.get)()));
    (bore.*code.set)(code.value);
    EXPECT_EQ(code.value, text((bore.*code.get)()));
  }
  const Failure refused = failureOf([&] { bore.setFlowDirection("sideways"); });
  EXPECT_TRUE(refused->isUserException());
  EXPECT_EQ("Could not update the flow direction of the wellbore. ", text(refused->getMessage()));
  EXPECT_EQ(0u, text(refused->getContext())
                    .find("Caught an EpEntity::ValidationException exception in the "
                          "kel_WellBore::setFlowDirection method. The flow direction \"sideways\""));
  EXPECT_EQ("injection", text(bore.getFlowDirection()));
}

TEST_F(WellBoreTest, ListsOfValidCodes) {
  const std::vector<std::string> flow = texts(kel_WellBore::getValidFlowDirections());
  ASSERT_EQ(7u, flow.size());
  EXPECT_EQ("production", flow[0]);
  EXPECT_EQ(11u, kel_WellBore::getValidBoreStatuses().size());
  EXPECT_EQ(texts(kel_WellBore::getValidFluidTypes()), texts(kel_WellBore::getValidShowTypes()));
  EXPECT_EQ(14u, kel_WellBore::getValidShowTypes().size());

  raise("getSet", "EpReferenceValueService::NotFoundException", "No reference value set 'FlowDirection'. ");
  expectChain(failureOf([] { kel_WellBore::getValidFlowDirections(); }),
              {{false, "Could not return a list of valid flow directions. ",
                "Caught an kel_SystemException exception in the kel_WellBore::getValidFlowDirections method. "},
               {false, "Could not create a list of reference values from the Reference Value Service. ",
                "Caught an EpReferenceValueService::NotFoundException exception in the "
                "kel_WellBore::getFromRVS method. No reference value set 'FlowDirection'. "}});

  returnNil("getSet");
  expectChain(failureOf([] { kel_WellBore::getValidBoreStatuses(); }),
              {{false, "Could not return a list of valid bore statuses. ",
                "Caught an kel_SystemException exception in the kel_WellBore::getValidBoreStatuses method. "},
               {false, "Could not create a list of reference values from the Reference Value Service. ",
                "Caught an kel_SystemException exception in the kel_WellBore::getFromRVS method. "},
               {false, "EpReferenceValueService::ReferenceValueSet came back nil", ""}});

  // The forwarding operations have no CORBA::Exception clause; the lookup does.
  raise("getSet", "CORBA::TRANSIENT");
  expectChain(failureOf([] { kel_WellBore::getValidFluidTypes(); }),
              {{false, "Could not return a list of valid fluid types. ",
                "Caught an kel_SystemException exception in the kel_WellBore::getValidFluidTypes method. "},
               {false, "Could not create a list of reference values from the Reference Value Service. ",
                "Caught a CORBA::Exception exception in the kel_WellBore::getFromRVS method. "}});
}

TEST_F(WellBoreTest, EnumerationsAndTheirEdges) {
  kel_WellBore bore = newBore(newWell());
  for (int v = 0; v <= 3; ++v) {
    bore.setTotalDepthType(static_cast<kel_WellBore::TotalDepthReference>(v));
    EXPECT_EQ(v, bore.getTotalDepthType());
  }
  for (int v = 0; v <= 6; ++v) {
    bore.setElevationDatum(static_cast<kel_WellBore::WellDepthDatum>(v));
    EXPECT_EQ(v, bore.getElevationDatum());
  }
  for (int v : {0, 1, 3, 4, 5}) {
    raw(bore)->setCalcMethod(static_cast<CORBA::Short>(v));
    EXPECT_EQ(v, bore.getCalcMethod());
  }

  // The service's method 2 has no counterpart here.
  raw(bore)->setCalcMethod(EpiWell::WellBore::BALANCED_TANGENTIAL);
  expectChain(
      failureOf([&] { bore.getCalcMethod(); }),
      {{false, "Could not return the method used to compute the geometry of the well path. ",
        "Caught an kel_SystemException exception in the kel_WellBore::getCalcMethod method. "},
       {false, "Couldn't convert the EpiWell::WellBore::CalculationMethod to kel_WellBore::CalculationMethod. ",
        "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelCalculationMethod "
        "method. "},
       {false, "The calculationMethod couldn't be mapped. 2", ""}});

  // A datum of 7 is refused before anything is sent: the armed fault stays armed.
  raise("setElevationDatum", "EpDataStore::StoreException", "sent", "");
  expectChain(
      failureOf([&] { bore.setElevationDatum(static_cast<kel_WellBore::WellDepthDatum>(7)); }),
      {{false, "Could not update this wellbore's depth datum. ",
        "Caught an kel_SystemException exception in the kel_WellBore::setElevationDatum method. "},
       {false, "Couldn't convert the kel_WellBore::WellDepthDatum to EpiWell::WellBore::WellDepthDatum. ",
        "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiWellDepthDatum "
        "method. "},
       {false, "The wellDepthDatum couldn't be mapped. 7", ""}});
  EXPECT_EQ(1u, armedFaults());
  EXPECT_EQ(kel_WellBore::WELL_DEPTH_DATUM_6, bore.getElevationDatum());

  // A value out of range on the wire is caught by the reading converter.
  returnOutOfRange("getTotalDepthType", 9, idOf(bore));
  expectChain(
      failureOf([&] { bore.getTotalDepthType(); }),
      {{false, "Could not return the type of bottom hole referenced by totalDepth. ",
        "Caught an kel_SystemException exception in the kel_WellBore::getTotalDepthType method. "},
       {false,
        "Couldn't convert the EpiWell::WellBore::TotalDepthReference to kel_WellBore::TotalDepthReference. ",
        "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelTotalDepthReference "
        "method. "},
       {false, "The totalDepthReference couldn't be mapped. 9", ""}});
}

TEST_F(WellBoreTest, DepthsInAnyUnit) {
  kel_WellBore bore = newBore(newWell());
  const kel_Unit feet = kel_Unit::getUnit("ft");
  const kel_Unit metres = kel_Unit::getUnit("m");
  struct Depth {
    const char* name;
    QuantityGetter get;
    DefaultGetter byDefault;
    QuantitySetter set;
  };
  const Depth depths[] = {
      {"total depth", &kel_WellBore::getTotalDepth, &kel_WellBore::getTotalDepth, &kel_WellBore::setTotalDepth},
      {"plug-back total depth", &kel_WellBore::getPlugBackTotalDepth, &kel_WellBore::getPlugBackTotalDepth,
       &kel_WellBore::setPlugBackTotalDepth},
      {"elevation", &kel_WellBore::getElevation, &kel_WellBore::getElevation, &kel_WellBore::setElevation},
  };
  for (const Depth& d : depths) {
    SCOPED_TRACE(d.name);
    (bore.*d.set)(kel_FloatQuantity(feet, 10000.0f));
    const kel_FloatQuantity inMetres = (bore.*d.get)(metres);
    EXPECT_EQ("m", text(inMetres.getUnit().getAcronym()));
    EXPECT_NEAR(3048.0, inMetres.getValue(), 1e-2);
    const kel_FloatQuantity byDefault = (bore.*d.byDefault)();
    EXPECT_EQ("m", text(byDefault.getUnit().getAcronym()));
    EXPECT_NEAR(3048.0, byDefault.getValue(), 1e-2);
    const kel_FloatQuantity asStored = (bore.*d.get)(feet);
    EXPECT_EQ("ft", text(asStored.getUnit().getAcronym()));
    EXPECT_FLOAT_EQ(10000.0f, asStored.getValue());
  }

  // The service refuses a depth that is not a length.
  const Failure notALength =
      failureOf([&] { bore.setTotalDepth(kel_FloatQuantity(kel_Unit::getUnit("ms"), 1)); });
  EXPECT_TRUE(notALength->isUserException());
  EXPECT_EQ("Could not update the measured depth from well datum to bottom hole. ",
            text(notALength->getMessage()));

  // The default-unit overload of the plug-back depth has no remote clause of its own.
  raise("getPlugBackTotalDepth", "EpDataStore::StoreException", "m", "d");
  expectChain(failureOf([&] { bore.getPlugBackTotalDepth(); }),
              {{false,
                "Could not return the depth represents the measured depth of this wellbore after drilling has "
                "been completed using a default unit. ",
                "Caught an kel_SystemException exception in the kel_WellBore::getPlugBackTotalDepth method. "},
               {false,
                "Could not return the depth represents the measured depth of this wellbore after drilling has "
                "been completed. ",
                "Caught an EpDataStore::StoreException exception in the kel_WellBore::getPlugBackTotalDepth "
                "method. md"}});
}

TEST_F(WellBoreTest, DatesAndLastModification) {
  kel_WellBore bore = newBore(newWell());
  EXPECT_TRUE(bore.getCompletionDate().isNullDate());
  bore.setCompletionDate(kel_Date(2011, 11, 3));
  EXPECT_TRUE(kel_Date(2011, 11, 3) == bore.getCompletionDate());
  bore.setCompletionDate(kel_Date());
  EXPECT_TRUE(bore.getCompletionDate().isNullDate());

  const kel_Date modified = bore.getLastModified("attributes");
  EXPECT_FALSE(modified.isNullDate());
  EXPECT_FALSE(kel_Date::now() < modified);

  const Failure unknown = failureOf([&] { bore.getLastModified("colour"); });
  EXPECT_TRUE(unknown->isUserException());
  EXPECT_EQ("Could not return the last modified date of the wellbore. ", text(unknown->getMessage()));
  EXPECT_EQ(0u,
            text(unknown->getContext())
                .find("Caught an EpEntity::ValidationException exception in the kel_WellBore::getLastModified "
                      "method. The selector \"colour\""));
}

TEST_F(WellBoreTest, AliasesKeepTheirOrder) {
  kel_WellBore bore = newBore(newWell());
  EXPECT_EQ(0u, bore.getBoreAliases().size());
  kel_Array<kel_StringPair> aliases(3);
  aliases.set(0, kel_StringPair("z", "last first"));
  aliases.set(1, kel_StringPair("a", "1"));
  aliases.set(2, kel_StringPair("z", "again"));
  bore.setBoreAliases(aliases);
  const kel_Array<kel_StringPair> back = bore.getBoreAliases();
  ASSERT_EQ(3u, back.size());
  for (unsigned i = 0; i < 3; ++i) EXPECT_TRUE(aliases[i] == back[i]) << i;
}

TEST_F(WellBoreTest, WellNarrowingAndStringifiedReferences) {
  const kel_Well well = newWell();
  const kel_WellBore bore = newBore(well);

  returnNil("getWell", idOf(bore));
  expectChain(failureOf([&] { bore.getWell(); }),
              {{false, "Could not return the well which this wellbore belongs to. ",
                "Caught an kel_SystemException exception in the kel_WellBore::getWell method. "},
               {false, "The EpiWell::Well came back nil. ", ""}});

  EXPECT_TRUE(kel_WellBore::narrow(kel_Entity(bore), true) == bore);
  EXPECT_TRUE(kel_WellBore::narrow(kel_Entity(well), false).isNil());
  expectChain(failureOf([&] { kel_WellBore::narrow(kel_Entity(well), true); }),
              {{false, "Could not narrow the given entity object to a wellbore object. ",
                "Caught an kel_SystemException exception in the kel_WellBore::narrow method. "},
               {false, "The EpiWell::WellBore came back nil. ", ""}});

  EXPECT_TRUE(kel_WellBore::getFromString(bore.getStringifiedReference()) == bore);
  expectChain(failureOf([&] { kel_WellBore::getFromString(well.getStringifiedReference()); }),
              {{true, "Couldn't create a wellbore object from given stringified wellbore. ",
                "Caught an kel_UserException exception in the kel_WellBore::getFromString method. "},
               {true, "The EpiWell::WellBore came back nil. ", ""}});
}
