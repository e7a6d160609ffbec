#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "kel_Exception.h"

namespace {

std::string text(const kel_cppUtil::String& s) { return s.str(); }

} // namespace

TEST(Exception, KeepsMessageContextAndCause) {
  kel_UserException inner("The value is negative. ");
  kel_SystemException middle("Could not convert the value. ", "Caught an kel_UserException exception in the ", inner);
  kel_UserException outer("Could not set the depth. ", "setDepth. ", middle);

  EXPECT_EQ("Could not set the depth. ", text(outer.getMessage()));
  EXPECT_EQ("setDepth. ", text(outer.getContext()));
  EXPECT_EQ("", text(inner.getContext()));
  ASSERT_TRUE(outer.hasCause());
  const kel_Exception& cause = outer.getCause();
  EXPECT_TRUE(cause.isSystemException());
  EXPECT_FALSE(cause.isUserException());
  EXPECT_EQ("Could not convert the value. ", text(cause.getMessage()));
  ASSERT_TRUE(cause.hasCause());
  EXPECT_TRUE(cause.getCause().isUserException());
  EXPECT_EQ("The value is negative. ", text(cause.getCause().getMessage()));
  EXPECT_FALSE(cause.getCause().hasCause());
  EXPECT_EQ(&outer.getRootCause(), &cause.getCause());
  EXPECT_EQ(&inner, &inner.getRootCause());
}

TEST(Exception, KindSurvivesCopiesCausesAndCatchingByBase) {
  kel_SystemException cause("store failed");
  kel_Exception wrapped("outer", "ctx", cause);
  // The cause outlives the object it was copied from.
  kel_Exception copy(wrapped);
  EXPECT_TRUE(copy.getCause().isSystemException());
  EXPECT_STREQ("kel_SystemException", copy.getCause().getKindName());

  try {
    throw kel_UserException("bad name", "open. ");
  } catch (const kel_Exception& error) {
    EXPECT_TRUE(error.isUserException());
    EXPECT_STREQ("kel_UserException", error.getKindName());
    std::unique_ptr<kel_Exception> clone(error.clone());
    EXPECT_TRUE(clone->isUserException());
    EXPECT_NE(nullptr, dynamic_cast<kel_UserException*>(clone.get()));
    EXPECT_EQ("bad name", text(clone->getMessage()));
  }

  kel_Exception plain("plain");
  EXPECT_FALSE(plain.isUserException());
  EXPECT_FALSE(plain.isSystemException());
  EXPECT_STREQ("kel_Exception", plain.getKindName());
}

TEST(Exception, AssignmentReplacesTheWholeChain) {
  kel_SystemException target("target", "t", kel_UserException("old cause"));
  kel_SystemException source("source", "s");
  target = source;
  EXPECT_EQ("source", text(target.getMessage()));
  EXPECT_EQ("s", text(target.getContext()));
  EXPECT_FALSE(target.hasCause());
}

TEST(Exception, CauseOfAnExceptionWithoutOneIsASystemFailure) {
  kel_UserException alone("alone");
  try {
    alone.getCause();
    FAIL() << "getCause without a cause must throw";
  } catch (const kel_Exception& error) {
    EXPECT_TRUE(error.isSystemException());
  }
}

TEST(Exception, ToStringPrintsTheWholeChainOneLineEach) {
  kel_UserException inner("The EpiWell::Well came back nil. ");
  kel_UserException outer("Couldn't create a well object from given stringified well. ",
                          "Caught an kel_UserException exception in the kel_Well::getFromString method. ",
                          inner);
  const std::string printed = text(outer.toString());
  EXPECT_EQ(
      "kel_UserException: Couldn't create a well object from given stringified well."
      " [Caught an kel_UserException exception in the kel_Well::getFromString method.]\n"
      "  caused by kel_UserException: The EpiWell::Well came back nil.",
      printed);
  EXPECT_EQ("kel_SystemException: x", text(kel_SystemException("x").toString()));
}
