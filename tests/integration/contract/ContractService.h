// Shared by the contract checks: one kelwelld per test process (with fault
// injection), reached through KELWELL_SERVICE; a project per test; the
// failure chains as an application receives them.
#ifndef CONTRACT_TEST_CONTRACTSERVICE_H
#define CONTRACT_TEST_CONTRACTSERVICE_H

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_Well.h"
#include "kel_WellBore.h"

namespace contract {

enum class Kind { User, System, Other };

// What reached the caller: the thrown type and a copy of the whole chain.
struct Caught {
  Kind thrown = Kind::Other;
  std::shared_ptr<const kel_Exception> chain;
};

template <class Call>
Caught caught(Call call) {
  Caught result;
  try {
    call();
    ADD_FAILURE() << "the call did not fail";
  } catch (const kel_UserException& e) {
    result.thrown = Kind::User;
    result.chain.reset(e.clone());
  } catch (const kel_SystemException& e) {
    result.thrown = Kind::System;
    result.chain.reset(e.clone());
  } catch (const kel_Exception& e) {
    result.chain.reset(e.clone());
    ADD_FAILURE() << "a plain kel_Exception reached the caller: " << e.toString();
  } catch (...) {
    ADD_FAILURE() << "something other than a kel_Exception reached the caller";
  }
  return result;
}

// One level of a cause chain: kind, message, context, all exact.
struct Level {
  Kind kind;
  std::string message;
  std::string context;
  bool contextIsPrefix = false;   // the rest is the service's own text
};

inline Level user(std::string message, std::string context = "") {
  return {Kind::User, std::move(message), std::move(context)};
}
inline Level sys(std::string message, std::string context = "") {
  return {Kind::System, std::move(message), std::move(context)};
}
// The context starts with the given text and goes on with the service's.
inline Level startsWith(Level level) {
  level.contextIsPrefix = true;
  return level;
}

// Every level as given, and nothing below the last one.
void expectChain(const Caught& failure, const std::vector<Level>& levels);
// The first levels as given; what lies below them is the platform's.
void expectTop(const Caught& failure, const std::vector<Level>& levels);

inline std::string str(const kel_cppUtil::String& s) { return s.str(); }

// Openings of the translation clauses.
extern const char* const kUser;      // "Caught an kel_UserException exception in the "
extern const char* const kSystem;    // "Caught an kel_SystemException exception in the "
extern const char* const kCorba;     // "Caught a CORBA::Exception exception in the "
extern const char* const kCorbaUser; // "Caught a CORBA::UserException exception in the "
extern const char* const kUnknown;   // "Caught an Unknown Exception in the "
extern const char* const kStore;     // "Caught an EpDataStore::StoreException exception in the "
extern const char* const kValidation;

struct Contract : ::testing::Test {
  kel_Session session = kel_Session::open("acceptance");
  kel_Project project = freshProject();

  static kel_Project freshProject();
  kel_Well well(const char* name = "W", const char* uwi = "UWI-1") const;
  kel_WellBore bore(const kel_Well& well, const char* id = "00") const;

  // The next call of operation (on the object with objectId, or on any)
  // misbehaves once.
  static void raise(const char* operation, const char* exceptionName, const char* text1 = "",
                    const char* text2 = "", const std::string& objectId = "");
  static void returnNil(const char* operation, const std::string& objectId = "");
  static void returnOutOfRange(const char* operation, long value, const std::string& objectId = "");
  static unsigned long armed();

  void TearDown() override;
};

} // namespace contract

#endif
