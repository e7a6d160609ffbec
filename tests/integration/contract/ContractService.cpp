#include "ContractService.h"

#include <cstdlib>
#include <stdexcept>

#include <EpSession.hh>

#include "ServiceProcess.h"
#include "kel_Connection.h"

namespace contract {

const char* const kUser = "Caught an kel_UserException exception in the ";
const char* const kSystem = "Caught an kel_SystemException exception in the ";
const char* const kCorba = "Caught a CORBA::Exception exception in the ";
const char* const kCorbaUser = "Caught a CORBA::UserException exception in the ";
const char* const kUnknown = "Caught an Unknown Exception in the ";
const char* const kStore = "Caught an EpDataStore::StoreException exception in the ";
const char* const kValidation = "Caught an EpEntity::ValidationException exception in the ";

namespace {

class ServiceEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
  }
  void TearDown() override { kel_Connection::shutdown(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServiceEnvironment);

EpSession::FaultInjector_var injector() {
  auto manager = static_cast<EpSession::SessionManager_ptr>(kel_Connection::getServiceManager());
  EpSession::FaultInjector_var faults = manager->getFaultInjector();
  if (CORBA::is_nil(faults.in())) throw std::runtime_error("kelwelld runs without --fault-injection");
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
    SCOPED_TRACE("level " + std::to_string(i) + " of the chain:\n" + str(failure.chain->toString()));
    EXPECT_EQ(std::string(name(levels[i].kind)), name(kindOf(*level)));
    EXPECT_EQ(levels[i].message, str(level->getMessage()));
    const std::string context = str(level->getContext());
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

kel_Project Contract::freshProject() {
  static int serial = 0;
  const std::string name = "Acceptance " + std::to_string(++serial);
  return kel_Project::create(kel_Session::open("acceptance"), name.c_str());
}

kel_Well Contract::well(const char* name, const char* uwi) const {
  return kel_Well::createNewWell(project, name, kel_StringPair("UWI", uwi), session);
}

kel_WellBore Contract::bore(const kel_Well& parent, const char* id) const {
  return kel_WellBore::createNewWellBore(parent, kel_StringPair("Bore", id), session);
}

void Contract::raise(const char* operation, const char* exceptionName, const char* text1, const char* text2,
                     const std::string& objectId) {
  arm(operation, objectId, EpSession::RAISE_EXCEPTION, exceptionName, text1, text2, 0);
}

void Contract::returnNil(const char* operation, const std::string& objectId) {
  arm(operation, objectId, EpSession::RETURN_NIL, "", "", "", 0);
}

void Contract::returnOutOfRange(const char* operation, long value, const std::string& objectId) {
  arm(operation, objectId, EpSession::RETURN_OUT_OF_RANGE, "", "", "", value);
}

unsigned long Contract::armed() { return injector()->armedCount(); }

void Contract::TearDown() { injector()->clear(); }

} // namespace contract
