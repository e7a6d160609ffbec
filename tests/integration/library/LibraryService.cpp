#include "LibraryService.h"

#include <cstdlib>

#include "ServiceProcess.h"
#include "kel_Connection.h"

namespace library_test {

namespace {

class ServiceEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
  }
  // The ORB goes before the service does (at exit).
  void TearDown() override { kel_Connection::shutdown(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServiceEnvironment);

EpSession::FaultInjector_var injector() {
  auto manager = static_cast<EpSession::SessionManager_ptr>(kel_Connection::getServiceManager());
  EpSession::FaultInjector_var faults = manager->getFaultInjector();
  if (CORBA::is_nil(faults.in())) throw std::runtime_error("the service runs without fault injection");
  return faults;
}

void arm(const char* operation, const std::string& objectId, EpSession::FaultAction action,
         const char* exceptionName, const char* text1, const char* text2, long value) {
  EpSession::Fault fault;
  fault.operation = operation;
  fault.objectId = objectId.c_str();
  fault.action = action;
  fault.exceptionName = exceptionName;
  fault.text1 = text1;
  fault.text2 = text2;
  fault.value = static_cast<CORBA::Long>(value);
  injector()->arm(fault);
}

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
  arm(operation, objectId, EpSession::RAISE_EXCEPTION, exceptionName, text1, text2, 0);
}

void Fixture::returnNil(const char* operation, const std::string& objectId) {
  arm(operation, objectId, EpSession::RETURN_NIL, "", "", "", 0);
}

void Fixture::returnOutOfRange(const char* operation, long value, const std::string& objectId) {
  arm(operation, objectId, EpSession::RETURN_OUT_OF_RANGE, "", "", "", value);
}

unsigned long Fixture::armedFaults() { return injector()->armedCount(); }

void Fixture::TearDown() { injector()->clear(); }

} // namespace library_test
