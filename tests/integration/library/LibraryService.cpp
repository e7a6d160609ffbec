#include "LibraryService.h"

#include <cstdlib>

#include "PlatformConnection.h"
#include "kel_Connection.h"

namespace library_test {

namespace {

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new kelwell_test::PlatformServiceEnvironment);

} // namespace

void expectChain(const Failure& failure, const std::vector<Level>& levels) {
  const kel_Exception* level = failure.get();
  for (std::size_t i = 0; i < levels.size(); ++i) {
    SCOPED_TRACE("level " + std::to_string(i) + " of\n" + text(failure->toString()));
    ASSERT_NE(nullptr, level);
    EXPECT_EQ(levels[i].user, level->isUserException());
    EXPECT_EQ(levels[i].message, text(level->getMessage()));
    EXPECT_EQ(levels[i].context, text(level->getContext()));
    if (i + 1 < levels.size()) {
      ASSERT_TRUE(level->hasCause());
      level = &level->getCause();
    } else {
      EXPECT_FALSE(level->hasCause());
    }
  }
}

kel_Project Fixture::newProject() {
  static int count = 0;
  const std::string name = "Project " + std::to_string(++count);
  return kel_Project::create(kel_Session::open("tester"), name.c_str());
}

kel_Well Fixture::newWell(const char* name, const char* uwi) const {
  return kel_Well::createNewWell(project, name, kel_StringPair("UWI", uwi), session);
}

kel_WellBore Fixture::newBore(const kel_Well& well, const char* identifier) const {
  return kel_WellBore::createNewWellBore(well, kel_StringPair("Bore", identifier), session);
}

void Fixture::raise(const char* operation, const char* exceptionName, const char* text1, const char* text2,
                    const std::string& objectId) {
  kelwell_test::armFault(operation, objectId, EpSession::RAISE_EXCEPTION, exceptionName, text1, text2, 0);
}

void Fixture::returnNil(const char* operation, const std::string& objectId) {
  kelwell_test::armFault(operation, objectId, EpSession::RETURN_NIL, "", "", "", 0);
}

void Fixture::returnOutOfRange(const char* operation, long value, const std::string& objectId) {
  kelwell_test::armFault(operation, objectId, EpSession::RETURN_OUT_OF_RANGE, "", "", "", value);
}

unsigned long Fixture::armedFaults() { return kelwell_test::faultInjector()->armedCount(); }

void Fixture::TearDown() { kelwell_test::faultInjector()->clear(); }

} // namespace library_test
