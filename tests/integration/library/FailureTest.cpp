// Failure translation over the wire: faults injected into kelwelld arrive as
// the exact exceptions, contexts and cause chains of the library.
#include "LibraryService.h"

using namespace library_test;

using FailureTest = Fixture;

TEST_F(FailureTest, StoreExceptionInAGetterAppendsBothTextsWithoutCause) {
  const kel_Well well = newWell();
  raise("getCountry", "EpDataStore::StoreException", "Could not read the well. ", "database is locked",
        text(well.getId()));
  expectChain(failureOf([&] { well.getCountry(); }),
              {{false, "Could not return the name of the country in which this well was drilled. ",
                "Caught an EpDataStore::StoreException exception in the kel_Well::getCountry method. "
                "Could not read the well. database is locked"}});
}

TEST_F(FailureTest, ValidationInASetterIsTheCallersFault) {
  kel_Well well = newWell();
  raise("setCounty", "EpEntity::ValidationException", "The county is too long. ");
  expectChain(failureOf([&] { well.setCounty("Rogaland"); }),
              {{true, "Could not update the name of the county in which the well was drilled. ",
                "Caught an EpEntity::ValidationException exception in the kel_Well::setCounty method. "
                "The county is too long. "}});
  // A refused write changes nothing.
  EXPECT_EQ("", text(well.getCounty()));
}

TEST_F(FailureTest, TransformAndSystemExceptions) {
  const kel_Well well = newWell();
  raise("getLocation", "EpCoordinateService::NoKnownTransformException", "No transform from A to B. ");
  expectChain(failureOf([&] { well.getLocation(kel_CoordSystem()); }),
              {{false, "Could not return this well's surface coordinate location. ",
                "Caught an EpCoordinateService::NoKnownTransformException exception in the "
                "kel_Well::getLocation method. No transform from A to B. "}});

  // The default-system overload wraps the inner failure once more.
  raise("getLocation", "EpDataStore::StoreException", "a", "b");
  expectChain(failureOf([&] { well.getLocation(); }),
              {{false, "Could not return this well's surface coordinate location. ",
                "Caught an kel_SystemException exception in the kel_Well::getLocation method. "},
               {false, "Could not return this well's surface coordinate location. ",
                "Caught an EpDataStore::StoreException exception in the kel_Well::getLocation method. ab"}});

  raise("getField", "CORBA::UNKNOWN");
  expectChain(failureOf([&] { well.getField(); }),
              {{false, "Could not return the name of the field in which the well was drilled. ",
                "Caught a CORBA::Exception exception in the kel_Well::getField method. "}});

  // A remote exception the operation has no clause for is only a CORBA::Exception.
  raise("getWellStatus", "EpEntity::ValidationException", "unexpected");
  expectChain(failureOf([&] { well.getWellStatus(); }),
              {{false, "Could not return the code representing the operational state of the well. ",
                "Caught a CORBA::Exception exception in the kel_Well::getWellStatus method. "}});
}

TEST_F(FailureTest, AnOperatorMayAskWhichCorbaExceptionATranslationReplaced) {
  const kel_Well well = newWell();
  const struct {
    const char* setting;   // KELWELL_DIAGNOSTICS; nullptr: unset
    std::string line;      // what the failed call writes to standard error
  } cases[] = {
      {"1", "kelwell: CORBA::UNKNOWN minor 0x00000000, completed NO; reported as \"Caught a CORBA::Exception "
            "exception in the kel_Well::getField method. \"\n"},
      {nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting ? c.setting : "unset");
    if (c.setting) setenv("KELWELL_DIAGNOSTICS", c.setting, 1);
    else unsetenv("KELWELL_DIAGNOSTICS");
    raise("getField", "CORBA::UNKNOWN");
    testing::internal::CaptureStderr();
    const auto failure = failureOf([&] { well.getField(); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
    // The caller's texts are the same either way.
    expectChain(failure, {{false, "Could not return the name of the field in which the well was drilled. ",
                           "Caught a CORBA::Exception exception in the kel_Well::getField method. "}});
  }
}

TEST_F(FailureTest, NestedConverterFailureChainsDownToTheFirstFailure) {
  kel_Well well = newWell();
  well.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("m"), 80.0f));
  returnOutOfRange("getWaterDepth", -1, text(well.getId()));
  const char* converter = "Could not convert an EpiTypes::DataQuantity object to an kel_FloatQuantity object. ";
  const Failure failure = failureOf([&] { well.getWaterDepth(); });
  expectChain(
      failure,
      {{false, "Could not return the depth of the water using default units. ",
        "Caught an kel_SystemException exception in the kel_Well::getWaterDepth method. "},
       {false, "Could not return the depth of the water. ",
        "Caught an kel_SystemException exception in the kel_Well::getWaterDepth method. "},
       {false, converter,
        "Caught an kel_SystemException exception in the kel_DataQuantityConverter::makeKelFloatQuantity "
        "method. "},
       {false, converter, "Unsupported data type"}});
  // The chain reads as a person reads a log: one line per level, outermost first.
  const std::string printed = text(failure->toString());
  EXPECT_LT(printed.find("using default units"), printed.find("Unsupported data type"));
}

TEST_F(FailureTest, UserFailuresStayUserFailuresAllTheWayUp) {
  kel_Well well = newWell();
  well.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 80.0f));
  // Converting feet into seconds is the caller's mistake, at every level.
  const Failure failure = failureOf([&] { well.getWaterDepth(kel_Unit::getUnit("s")); });
  EXPECT_TRUE(failure->isUserException());
  EXPECT_EQ("Could not return the depth of the water. ", text(failure->getMessage()));
  EXPECT_EQ("Caught an kel_UserException exception in the kel_Well::getWaterDepth method. ",
            text(failure->getContext()));
  ASSERT_TRUE(failure->hasCause());
  EXPECT_TRUE(failure->getCause().isUserException());
}

TEST_F(FailureTest, FailuresLeaveTheWellAsItWas) {
  kel_Well well = newWell();
  well.setField("Troll");
  raise("setField", "EpDataStore::StoreException", "write failed. ", "disk full");
  EXPECT_TRUE(failureOf([&] { well.setField("Oseberg"); })->isSystemException());
  EXPECT_EQ("Troll", text(well.getField()));
  EXPECT_FALSE(well.isNil());
}
