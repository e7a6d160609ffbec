// The catch ladder, exercised without a service: the body throws what the
// wire or the platform would, and the translation must match the texts
// character for character.
#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

#include "kel_FailureTranslation.h"

using namespace kel_translation;

namespace {

const Msg message{"Could not return the name of the country in which this well was drilled. "};
const Where where{"kel_Well", "getCountry"};

// Runs a body that throws failure through ladder and hands back what left it.
template <class LadderT, class Failure>
std::unique_ptr<kel_Exception> translated(const LadderT& ladder, const Failure& failure) {
  try {
    translate(message, where, ladder, [&] { throw failure; });
  } catch (const kel_Exception& e) {
    return std::unique_ptr<kel_Exception>(e.clone());
  } catch (...) {
    ADD_FAILURE() << "something other than a kel_Exception left the ladder";
  }
  ADD_FAILURE() << "nothing left the ladder";
  return std::make_unique<kel_Exception>("none");
}

template <class LadderT, class Failure>
bool leavesAsUser(const LadderT& ladder, const Failure& failure) {
  try {
    translate(message, where, ladder, [&] { throw failure; });
  } catch (const kel_UserException&) {
    return true;
  } catch (...) {
  }
  return false;
}

} // namespace

TEST(FailureTranslation, BodyResultPassesThroughUntouched) {
  EXPECT_EQ(42, translate(message, where, Standard(Store), [] { return 42; }));
}

TEST(FailureTranslation, StoreExceptionAppendsBothTextsAndHasNoCause) {
  const auto e = translated(Standard(Store), EpDataStore::StoreException("read failed. ", "disk I/O"));
  EXPECT_TRUE(e->isSystemException());
  EXPECT_STREQ(message.text, e->getMessage());
  EXPECT_STREQ(
      "Caught an EpDataStore::StoreException exception in the kel_Well::getCountry method. "
      "read failed. disk I/O",
      e->getContext());
  EXPECT_FALSE(e->hasCause());
}

TEST(FailureTranslation, RemoteClausesThrowTheirKindWithTheirTexts) {
  const auto validation =
      translated(Standard(Validation, Store), EpEntity::ValidationException("country too long"));
  EXPECT_TRUE(validation->isUserException());
  EXPECT_STREQ(
      "Caught an EpEntity::ValidationException exception in the kel_Well::getCountry method. "
      "country too long",
      validation->getContext());
  EXPECT_FALSE(validation->hasCause());

  const auto badArguments = translated(Standard(BadArguments), EpTypes::BadArgumentsException("no unit"));
  EXPECT_TRUE(badArguments->isSystemException());
  EXPECT_STREQ("Caught a EpTypes::BadArgumentsException exception in the kel_Well::getCountry method. no unit",
               badArguments->getContext());

  // InvalidDataTypeException contributes its second member, a text.
  const auto invalidType =
      translated(Standard(InvalidDataType), EpTypes::InvalidDataTypeException(7, "no such type"));
  EXPECT_STREQ(
      "Caught an EpTypes::InvalidDataTypeException exception in the kel_Well::getCountry method. "
      "no such type",
      invalidType->getContext());

  const auto noFactory = translated(Standard(NoFactory), CosLifeCycle::NoFactory());
  EXPECT_STREQ("Caught a CosLifeCycle::NoFactory exception in the kel_Well::getCountry method. ",
               noFactory->getContext());
}

TEST(FailureTranslation, PlatformExceptionsKeepTheirKindAndBecomeTheCause) {
  const auto user = translated(Standard(Store), kel_UserException("The supplied session is nil. "));
  EXPECT_TRUE(user->isUserException());
  EXPECT_STREQ(message.text, user->getMessage());
  EXPECT_STREQ("Caught an kel_UserException exception in the kel_Well::getCountry method. ",
               user->getContext());
  ASSERT_TRUE(user->hasCause());
  EXPECT_STREQ("The supplied session is nil. ", user->getCause().getMessage());
  EXPECT_TRUE(user->getCause().isUserException());

  const auto system = translated(Standard(), kel_SystemException("inner", "where it was"));
  EXPECT_TRUE(system->isSystemException());
  EXPECT_STREQ("Caught an kel_SystemException exception in the kel_Well::getCountry method. ",
               system->getContext());
  ASSERT_TRUE(system->hasCause());
  EXPECT_STREQ("where it was", system->getCause().getContext());
}

TEST(FailureTranslation, OrbAndUnknownFailuresBecomeSystemExceptionsWithoutCause) {
  const auto corba = translated(Standard(Store), CORBA::TRANSIENT());
  EXPECT_TRUE(corba->isSystemException());
  EXPECT_STREQ("Caught a CORBA::Exception exception in the kel_Well::getCountry method. ", corba->getContext());
  EXPECT_FALSE(corba->hasCause());

  // A remote exception the operation does not expect is only a CORBA::Exception.
  const auto unexpected = translated(Standard(Store), EpEntity::ValidationException("x"));
  EXPECT_STREQ("Caught a CORBA::Exception exception in the kel_Well::getCountry method. ",
               unexpected->getContext());

  const auto unknown = translated(Standard(Store), std::runtime_error("boom"));
  EXPECT_TRUE(unknown->isSystemException());
  EXPECT_STREQ(message.text, unknown->getMessage());
  EXPECT_STREQ("Caught an Unknown Exception in the kel_Well::getCountry method. ", unknown->getContext());
  EXPECT_FALSE(unknown->hasCause());

  // A plain kel_Exception is of neither kind: nothing but the catch-all names it.
  EXPECT_STREQ("Caught an Unknown Exception in the kel_Well::getCountry method. ",
               translated(Standard(), kel_Exception("plain"))->getContext());
}

TEST(FailureTranslation, CorbaUserClauseSitsBetweenSystemAndCorba) {
  const auto e = translated(StandardWithCorbaUser(Store), EpEntity::ValidationException("refused"));
  EXPECT_TRUE(e->isSystemException());
  EXPECT_STREQ("Caught a CORBA::UserException exception in the kel_Well::getCountry method. ", e->getContext());
  // Named remote clauses still come first.
  EXPECT_STREQ("Caught an EpDataStore::StoreException exception in the kel_Well::getCountry method. ab",
               translated(StandardWithCorbaUser(Store), EpDataStore::StoreException("a", "b"))->getContext());
  // System exceptions of the ORB are not user exceptions.
  EXPECT_STREQ("Caught a CORBA::Exception exception in the kel_Well::getCountry method. ",
               translated(StandardWithCorbaUser(), CORBA::COMM_FAILURE())->getContext());
}

TEST(FailureTranslation, ShortenedLadders) {
  // Without a kel_UserException clause, a user failure passes through as it was thrown.
  try {
    translate(message, where, WithoutUserClause(), [] { throw kel_UserException("as thrown"); });
    FAIL();
  } catch (const kel_UserException& e) {
    EXPECT_STREQ("as thrown", e.getMessage());
    EXPECT_FALSE(e.hasCause());
  }
  EXPECT_STREQ("Caught an kel_SystemException exception in the kel_Well::getCountry method. ",
               translated(WithoutUserClause(), kel_SystemException("s"))->getContext());

  // Without a CORBA::Exception clause, the ORB's failures reach the catch-all.
  EXPECT_STREQ("Caught an Unknown Exception in the kel_Well::getCountry method. ",
               translated(WithoutCorbaClause(), CORBA::TRANSIENT())->getContext());
  EXPECT_TRUE(leavesAsUser(WithoutCorbaClause(), kel_UserException("u")));
}

TEST(FailureTranslation, ClausesAreTriedInTheOrderGiven) {
  // Both clauses catch the same exception; the first listed wins.
  const auto first = Ladder(Corba, CorbaUser, Unknown);
  EXPECT_STREQ("Caught a CORBA::Exception exception in the kel_Well::getCountry method. ",
               translated(first, EpEntity::ValidationException("x"))->getContext());
  // The converters' BadArguments clause comes after kel_SystemException.
  const auto converter = Ladder(User, System, BadArguments, Corba, Unknown);
  EXPECT_STREQ("Caught a EpTypes::BadArgumentsException exception in the kel_Well::getCountry method. unit",
               translated(converter, EpTypes::BadArgumentsException("unit"))->getContext());
}

TEST(FailureTranslation, SplitOpeningsAndOtherKinds) {
  const auto split = Standard(ImpossibleConversion.split(
      ImpossibleConversionOpening, " exception in the kel_WellLogTrace::getIndexInfo method. "));
  const auto e = translated(split, EpiWell::WellLogTrace::ImpossibleConversionException("no TWT"));
  EXPECT_TRUE(e->isSystemException());
  EXPECT_STREQ(
      "Caught an EpiWell::WellLogTrace::ImpossibleConversionException "
      " exception in the kel_WellLogTrace::getIndexInfo method. no TWT",
      e->getContext());

  const auto user = Standard(InvalidIndex.throwingUser());
  EXPECT_TRUE(leavesAsUser(user, EpiWell::WellLogTrace::InvalidIndexException("index 3")));

  const auto opened = Standard(NonMonotonicIndex.openedBy("Caught a non-monotonic index in the "));
  EXPECT_STREQ(
      "Caught a non-monotonic index in the kel_Well::getCountry method. 2 after 3",
      translated(opened, EpiWell::WellLogTrace::NonMonotonicIndexException("2 after 3"))->getContext());

  // NoDefaultWellVelocity appends nothing and throws kel_UserException.
  const auto noVelocity = Standard(
      NoDefaultWellVelocity.split("Caught an EpiWell::WellBore::NoDefaultWellVelocityException exception",
                                  "in the kel_WellBore::x method. "));
  const auto v = translated(noVelocity, EpiWell::WellBore::NoDefaultWellVelocityException("ignored"));
  EXPECT_TRUE(v->isUserException());
  EXPECT_STREQ(
      "Caught an EpiWell::WellBore::NoDefaultWellVelocityException exceptionin the kel_WellBore::x method. ",
      v->getContext());
}

TEST(FailureTranslation, FragmentsComposedFromClassAndOperation) {
  try {
    translate(Msg{"Could not copy the provided well object. "}, Where{"kel_Well", "operator="}, Standard(),
              [] { throw CORBA::TRANSIENT(); });
    FAIL();
  } catch (const kel_SystemException& e) {
    EXPECT_STREQ("Caught a CORBA::Exception exception in the kel_Well::operator= method. ", e.getContext());
  }
}

TEST(FailureTranslation, NestedOperationsChainTheirCausesAndKeepTheUserKind) {
  try {
    translate(Msg{"outer. "}, Where{"kel_Well", "getWaterDepth"}, Standard(Store), [] {
      translate(Msg{"inner. "}, Where{"kel_Well", "getWaterDepth"}, Standard(Store),
                [] { throw kel_UserException("first failure. "); });
    });
    FAIL();
  } catch (const kel_UserException& e) {
    EXPECT_STREQ("outer. ", e.getMessage());
    ASSERT_TRUE(e.hasCause());
    const kel_Exception& inner = e.getCause();
    EXPECT_TRUE(inner.isUserException());
    EXPECT_STREQ("inner. ", inner.getMessage());
    EXPECT_STREQ("Caught an kel_UserException exception in the kel_Well::getWaterDepth method. ",
                 inner.getContext());
    ASSERT_TRUE(inner.hasCause());
    EXPECT_STREQ("first failure. ", inner.getCause().getMessage());
    EXPECT_FALSE(inner.getCause().hasCause());
    EXPECT_STREQ("first failure. ", e.getRootCause().getMessage());
  }
}
