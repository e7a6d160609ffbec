// The wrapper core through the public API, without a service: construction,
// counting, nil wrappers and the failures raised before anything is sent.
// Bound wrappers here stand for proxies of objects nobody serves; only
// operations that stay in this process are called on them, except where a
// test wants the remote call to fail.
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <omniORB4/CORBA.h>

#include <EpiWell.hh>

#include "kel_Connection.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellBoreList.h"
#include "kel_WellVelocity.h"
#include "kel_WrapperCore.h"

namespace {

// A typed proxy for an object at an address where nothing listens.
template <class Iface>
typename Iface::_ptr_type unservedProxy(const char* key) {
  CORBA::ORB_ptr orb = static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb());
  std::string location = "corbaloc:iiop:127.0.0.1:1/";
  location += key;
  CORBA::Object_var object = orb->string_to_object(location.c_str());
  return Iface::_unchecked_narrow(object.in());
}

template <class Call>
std::unique_ptr<kel_Exception> failureOf(Call call) {
  try {
    call();
  } catch (const kel_Exception& e) {
    return std::unique_ptr<kel_Exception>(e.clone());
  }
  ADD_FAILURE() << "the call did not fail";
  return std::make_unique<kel_Exception>("none");
}

void expectChain(const kel_Exception& e, bool user, const char* message, const char* context,
                 const char* cause) {
  EXPECT_EQ(user, e.isUserException()) << message;
  EXPECT_STREQ(message, e.getMessage());
  EXPECT_STREQ(context, e.getContext());
  ASSERT_TRUE(e.hasCause()) << message;
  EXPECT_STREQ(cause, e.getCause().getMessage());
  EXPECT_STREQ("", e.getCause().getContext());
}

} // namespace

TEST(WrapperCore, NullAndForeignStubsFailWithTheNullPointerTextAlone) {
  const auto null = failureOf([] { kel_Well well(kel_RemoteStub(), true); });
  EXPECT_TRUE(null->isSystemException());
  EXPECT_STREQ("Trying to instantiate an kel_Well using a NULL pointer.", null->getMessage());
  EXPECT_STREQ("", null->getContext());
  EXPECT_FALSE(null->hasCause());

  const auto nil = failureOf([] { kel_WellBore bore(kel_RemoteStub(EpiWell::WellBore::_nil()), true); });
  EXPECT_STREQ("Trying to instantiate an kel_WellBore using a NULL pointer.", nil->getMessage());

  // A wellbore's reference is not a well's; the caller's count is left alone.
  EpiWell::WellBore_var bore = unservedProxy<EpiWell::WellBore>("bore");
  for (bool duplicate : {true, false}) {
    const auto foreign = failureOf([&] { kel_Well well(kel_RemoteStub(bore.in()), duplicate); });
    EXPECT_STREQ("Trying to instantiate an kel_Well using a NULL pointer.", foreign->getMessage());
  }
  EXPECT_FALSE(CORBA::is_nil(bore.in()));
}

TEST(WrapperCore, CopiesAndAssignmentsCountTheirReference) {
  EpiWell::Well_var proxy = unservedProxy<EpiWell::Well>("well");
  {
    kel_Well first(kel_RemoteStub(proxy.in()), true);
    kel_Well copy(first);
    kel_Well assigned;
    assigned = copy;
    assigned = assigned;
    kel_Well reassigned(first);
    reassigned = kel_Well();
    EXPECT_TRUE(reassigned.isNil());
    EXPECT_EQ(proxy.in(), static_cast<EpiWell::Well_ptr>(assigned.getRemoteObject(kel_Internal())));
    EXPECT_EQ(proxy.in(), static_cast<EpiWell::Well_ptr>(copy.getRemoteObject(kel_Internal())));

    kel_Array<kel_Well> wells(3);
    wells.set(1, first);
    kel_Array<kel_Well> shared(wells);
    shared.set(0, copy);
    wells.resize(5);
    EXPECT_TRUE(wells[0].isNil());
    EXPECT_FALSE(wells[1].isNil());
    EXPECT_TRUE(wells[4].isNil());
  }
  // Every wrapper gave up exactly the count it took: the proxy is still ours.
  EXPECT_FALSE(CORBA::is_nil(proxy.in()));
  EXPECT_TRUE(proxy->_is_equivalent(proxy.in()));

  // Without duplication the wrapper adopts the caller's count.
  kel_Well adopting(kel_RemoteStub(EpiWell::Well::_duplicate(proxy.in())), false);
  EXPECT_FALSE(adopting.isNil());
}

TEST(WrapperCore, NilWrappersFailInsideTheOperationsLadder) {
  const kel_Well well;
  const auto e = failureOf([&] { well.getCountry(); });
  expectChain(*e, true, "Could not return the name of the country in which this well was drilled. ",
              "Caught an kel_UserException exception in the kel_Well::getCountry method. ",
              "This kel_Well is nil: it stands for no remote object. ");

  const auto bores = failureOf([&] { kel_WellBore::getWellBoresOfWell(well); });
  expectChain(*bores, true, "Couldn't return any WellBore objects for the given well. ",
              "Caught an kel_UserException exception in the kel_WellBore::getWellBoresOfWell method. ",
              "This kel_Well is nil: it stands for no remote object. ");
}

TEST(WrapperCore, NarrowingNilEntitiesFailsWhateverMustMatchSays) {
  for (bool mustMatch : {true, false}) {
    expectChain(*failureOf([&] { kel_Well::narrow(kel_Entity(), mustMatch); }), false,
                "Could not narrow the given entity object to a well object. ",
                "Caught an kel_SystemException exception in the kel_Well::narrow method. ",
                "The EpEntity::Entity came back NULL. ");
    expectChain(*failureOf([&] { kel_WellBore::narrow(kel_Entity(), mustMatch); }), false,
                "Could not narrow the given entity object to a wellbore object. ",
                "Caught an kel_SystemException exception in the kel_WellBore::narrow method. ",
                "The EpEntity::Entity came back nil. ");
  }

  // In an array, the single narrow's failure is wrapped once more.
  const auto array = failureOf([] { kel_Well::narrow(kel_Array<kel_Entity>(2), false); });
  EXPECT_STREQ("Could not narrow the given list of entity objects to a list of well objects. ",
               array->getMessage());
  ASSERT_TRUE(array->hasCause());
  EXPECT_STREQ("Could not narrow the given entity object to a well object. ", array->getCause().getMessage());
  EXPECT_STREQ("The EpEntity::Entity came back NULL. ", array->getRootCause().getMessage());

  EXPECT_EQ(0u, kel_Well::narrow(kel_Array<kel_Entity>(), true).size());
}

TEST(WrapperCore, CreatorsRefuseANilSessionBeforeLookingForAFactory) {
  const kel_StringPair id("UWI", "1");
  expectChain(*failureOf([&] { kel_Well::createStorelessWell(kel_Project(), id, kel_Session()); }), true,
              "Could not create a storeless well from given inputs. ",
              "Caught an kel_UserException exception in the kel_Well::createStorelessWell method. ",
              "The supplied session is nil. ");
  expectChain(*failureOf([&] { kel_Well::createNewWell(kel_Project(), "W", id, kel_Session()); }), false,
              "Could not create a new well from given inputs. ",
              "Caught an kel_SystemException exception in the kel_Well::createNewWell method. ",
              "The supplied session is nil. ");
  expectChain(*failureOf([&] { kel_WellBore::createStorelessWellBore(kel_Well(), id, kel_Session()); }), false,
              "Could not create a storeless wellbore from given inputs. ",
              "Caught an kel_SystemException exception in the kel_WellBore::createStorelessWellBore method. ",
              "The supplied session is nil. ");
  expectChain(*failureOf([&] { kel_WellBore::createNewWellBore(kel_Well(), id, kel_Session()); }), false,
              "Could not create a new wellbore from given inputs. ",
              "Caught an kel_SystemException exception in the kel_WellBore::createNewWellBore method. ",
              "The supplied session is nil. ");
}

TEST(WrapperCore, EnumerationsAreCheckedBeforeAnythingIsSent) {
  // The proxy's address answers nothing: had the call been sent, the cause
  // would be a CORBA failure rather than the converter's.
  EpiWell::WellBore_var proxy = unservedProxy<EpiWell::WellBore>("bore");
  kel_WellBore bore(kel_RemoteStub(proxy.in()), true);
  const auto e = failureOf([&] { bore.setElevationDatum(static_cast<kel_WellBore::WellDepthDatum>(7)); });
  EXPECT_TRUE(e->isSystemException());
  EXPECT_STREQ("Could not update this wellbore's depth datum. ", e->getMessage());
  EXPECT_STREQ("Caught an kel_SystemException exception in the kel_WellBore::setElevationDatum method. ",
               e->getContext());
  ASSERT_TRUE(e->hasCause());
  EXPECT_STREQ("Couldn't convert the kel_WellBore::WellDepthDatum to EpiWell::WellBore::WellDepthDatum. ",
               e->getCause().getMessage());
  EXPECT_STREQ("The wellDepthDatum couldn't be mapped. 7", e->getRootCause().getMessage());
}

TEST(WrapperCore, UnreachableObjectsFailAsSystemExceptions) {
  EpiWell::Well_var proxy = unservedProxy<EpiWell::Well>("well");
  const kel_Well well(kel_RemoteStub(proxy.in()), true);
  const auto e = failureOf([&] { well.getCountry(); });
  EXPECT_TRUE(e->isSystemException());
  EXPECT_STREQ("Caught a CORBA::Exception exception in the kel_Well::getCountry method. ", e->getContext());
  EXPECT_FALSE(e->hasCause());
}

// The order of the virtual operations is part of the binary interface that
// the platform calls back through. Under the Itanium C++ ABI (GCC, Clang) a
// pointer to a virtual member function holds 1 + its byte offset in the
// table of virtual functions; the destructor takes the first two entries.
#if defined(__GNUC__)
namespace {

template <class Member>
long slotOf(Member member) {
  struct Representation {
    std::ptrdiff_t pointer;
    std::ptrdiff_t adjustment;
  };
  static_assert(sizeof(Member) == sizeof(Representation), "not an Itanium member pointer");
  Representation r;
  std::memcpy(&r, &member, sizeof r);
  EXPECT_EQ(1, r.pointer & 1) << "not a virtual operation";
  return static_cast<long>((r.pointer - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

// Reaches the protected operations, as a class derived from the wrapper may.
template <class W>
struct Slots : W {
  static std::vector<long> inDeclaredOrder() {
    return {slotOf(&Slots::getRemoteObject), slotOf(&Slots::duplicate),      slotOf(&Slots::release),
            slotOf(&Slots::getBaseObject),   slotOf(&Slots::getRemoteStub),  slotOf(&Slots::getClassName),
            slotOf(&Slots::makeNil),         slotOf(&Slots::getProject)};
  }
};

} // namespace

TEST(WrapperCore, VirtualOperationsKeepTheirSlots) {
  // getRemoteObject, duplicate, release, getBaseObject, getRemoteStub,
  // getClassName, makeNil, getProject, after the destructor's two entries.
  const std::vector<long> expected{2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(expected, Slots<kel_Well>::inDeclaredOrder());
  EXPECT_EQ(expected, Slots<kel_WellBore>::inDeclaredOrder());
  EXPECT_EQ(expected, Slots<kel_WellBoreList>::inDeclaredOrder());
  EXPECT_EQ(expected, Slots<kel_WellVelocity>::inDeclaredOrder());
}
#endif

TEST(WrapperCore, ATransportFailureWhileNarrowingIsReportedAsWhatItIs) {
  // An untyped reference to a closed port: narrowing it has to ask the
  // object for its interface, and nothing answers.
  CORBA::ORB_ptr orb = static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb());
  struct Case {
    std::function<void(CORBA::Object_ptr)> construct;
    const char* message;
    const char* context;
  };
  const std::vector<Case> cases{
      {[](CORBA::Object_ptr untyped) { kel_Well well(kel_RemoteStub(untyped), true); },
       "Could not narrow the provided well object. ",
       "Caught a CORBA::Exception exception in the kel_Well::kel_Well method. CORBA::TRANSIENT"},
      {[](CORBA::Object_ptr untyped) { kel_WellBore bore(kel_RemoteStub(untyped), true); },
       "Could not narrow the provided wellbore list object. ",
       "Caught a CORBA::Exception exception in the kel_WellBore::kel_WellBore method. CORBA::TRANSIENT"},
      {[](CORBA::Object_ptr untyped) { kel_WellVelocity velocity(kel_RemoteStub(untyped), true); },
       "Could not narrow the provided wellvelocity object. ",
       "Caught a CORBA::Exception exception in the kel_WellVelocity::kel_WellVelocity method. CORBA::TRANSIENT"}};
  for (const Case& c : cases) {
    CORBA::Object_var untyped = orb->string_to_object("corbaloc:iiop:127.0.0.1:1/closed");
    const auto e = failureOf([&] { c.construct(untyped.in()); });
    EXPECT_TRUE(e->isSystemException());
    EXPECT_STREQ(c.message, e->getMessage());
    EXPECT_STREQ(c.context, e->getContext());
    EXPECT_FALSE(e->hasCause());
    // The caller's count is left alone.
    EXPECT_FALSE(CORBA::is_nil(untyped.in()));
  }
}

TEST(WrapperCore, CreatorsConvertTheirDataAfterTheSessionCheckAndBeforeTheFactoryLookup) {
  using Core = kel_WrapperCore<kel_Well>;
  const kel_CreatorTexts texts{"no factory. ", "no well. "};
  int conversions = 0;
  auto convert = [&] {
    ++conversions;
    throw kel_UserException("The samples do not convert. ");
    return 0;
  };
  auto create = [](EpiWell::StorelessWellFactory_ptr, EpSession::Session_ptr, int) {
    return EpiWell::Well::_nil();
  };
  auto createStored = [](EpiWell::NewWellFactory_ptr, EpSession::Session_ptr, int) {
    return EpiWell::Well::_nil();
  };

  // A nil session is refused before anything is converted.
  EXPECT_THROW(Core::createStoreless(kel_Session(), texts, convert, create), kel_UserException);
  EXPECT_THROW(Core::createNew(kel_Session(), kel_Well(), texts, convert, createStored), kel_SystemException);
  EXPECT_EQ(0, conversions);

  // A session whose service is unreachable: had the factory been looked up
  // first, its transport failure would have come out instead.
  EpSession::Session_var unserved = unservedProxy<EpSession::Session>("session");
  const kel_Session session(kel_RemoteStub(unserved.in()), true);
  const std::unique_ptr<kel_Exception> failures[] = {
      failureOf([&] { Core::createStoreless(session, texts, convert, create); }),
      failureOf([&] { Core::createNew(session, kel_Well(), texts, convert, createStored); })};
  for (const auto& failure : failures) {
    EXPECT_TRUE(failure->isUserException());
    EXPECT_STREQ("The samples do not convert. ", failure->getMessage());
  }
  EXPECT_EQ(2, conversions);
}

TEST(WrapperCore, VelocityFunctionsRefuseNullAndForeignStubs) {
  EpiWell::WellBore_var bore = unservedProxy<EpiWell::WellBore>("bore");
  for (const kel_RemoteStub& stub : {kel_RemoteStub(), kel_RemoteStub(bore.in())}) {
    const auto e = failureOf([&] { kel_WellVelocity velocity(stub, true); });
    EXPECT_STREQ("Trying to instantiate an kel_WellVelocity using a NULL pointer.", e->getMessage());
    EXPECT_FALSE(e->hasCause());
  }
}
