#include "FailureChain.h"

namespace kelwell_test {

const char* const kUser = "Caught an kel_UserException exception in the ";
const char* const kSystem = "Caught an kel_SystemException exception in the ";
const char* const kCorba = "Caught a CORBA::Exception exception in the ";
const char* const kCorbaUser = "Caught a CORBA::UserException exception in the ";
const char* const kUnknown = "Caught an Unknown Exception in the ";
const char* const kStore = "Caught an EpDataStore::StoreException exception in the ";
const char* const kValidation = "Caught an EpEntity::ValidationException exception in the ";

namespace {

Kind kindOf(const kel_Exception& e) {
  if (e.isUserException()) return Kind::User;
  if (e.isSystemException()) return Kind::System;
  return Kind::Other;
}

const char* name(Kind kind) {
  switch (kind) {
  case Kind::User: return "kel_UserException";
  case Kind::System: return "kel_SystemException";
  default: return "other";
  }
}

void compare(const Caught& failure, const std::vector<Level>& levels, bool whole) {
  ASSERT_TRUE(failure.chain) << "no kel_Exception was caught";
  ASSERT_FALSE(levels.empty());
  EXPECT_EQ(std::string(name(levels[0].kind)), name(failure.thrown)) << "thrown type";
  const kel_Exception* level = failure.chain.get();
  for (std::size_t i = 0; i < levels.size(); ++i) {
    SCOPED_TRACE("level " + std::to_string(i) + " of the chain:\n" + text(failure.chain->toString()));
    EXPECT_EQ(std::string(name(levels[i].kind)), name(kindOf(*level)));
    EXPECT_EQ(levels[i].message, text(level->getMessage()));
    const std::string context = text(level->getContext());
    if (levels[i].contextIsPrefix) {
      EXPECT_EQ(levels[i].context, context.substr(0, levels[i].context.size()));
      EXPECT_LT(levels[i].context.size(), context.size()) << "nothing was appended to the context";
    } else {
      EXPECT_EQ(levels[i].context, context);
    }
    if (i + 1 < levels.size()) {
      ASSERT_TRUE(level->hasCause());
      level = &level->getCause();
    } else if (whole) {
      EXPECT_FALSE(level->hasCause());
    }
  }
}

} // namespace

void expectChain(const Caught& failure, const std::vector<Level>& levels) { compare(failure, levels, true); }
void expectTop(const Caught& failure, const std::vector<Level>& levels) { compare(failure, levels, false); }

} // namespace kelwell_test
