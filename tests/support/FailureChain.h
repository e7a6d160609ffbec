// What a test sees of a failure that left the platform or the library: the
// thrown kind and a copy of the whole cause chain, and the assertions on it.
// Every suite that goes through the platform uses these.
#ifndef KELWELL_TEST_FAILURECHAIN_H
#define KELWELL_TEST_FAILURECHAIN_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kel_Exception.h"
#include "kel_cppUtil.h"

namespace kelwell_test {

// Either text type of the library (both convert to const char*).
inline std::string text(const char* s) { return s ? s : ""; }

enum class Kind { User, System, Other };

// What reached the caller: the type it was caught as and the whole chain.
// Reads like the exception itself: failure->getMessage(), failure.getContext().
struct Caught {
  Kind thrown = Kind::Other;
  std::shared_ptr<const kel_Exception> chain;

  const kel_Exception* operator->() const { return chain.get(); }
  const kel_Exception& operator*() const { return *chain; }
  bool isUserException() const { return chain->isUserException(); }
  bool isSystemException() const { return chain->isSystemException(); }
  kel_cppUtil::String getMessage() const { return chain->getMessage(); }
  kel_cppUtil::String getContext() const { return chain->getContext(); }
  kel_cppUtil::String toString() const { return chain->toString(); }
};

// Runs call and catches what it throws. A call that does not fail is a test
// failure; the result then holds a plain kel_Exception saying so, so that
// the assertions that follow fail readably instead of crashing.
template <class Call>
Caught caught(Call&& call) {
  Caught result;
  try {
    call();
    ADD_FAILURE() << "the call did not fail";
    result.chain = std::make_shared<kel_Exception>("the call did not fail");
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
    result.chain = std::make_shared<kel_Exception>("something other than a kel_Exception reached the caller");
  }
  return result;
}

template <class Call>
Caught failureOf(Call&& call) {
  return caught(std::forward<Call>(call));
}

// One level of a cause chain: kind, message, context, all exact.
struct Level {
  Level(Kind kindOfLevel, std::string messageText, std::string contextText = "")
      : kind(kindOfLevel), message(std::move(messageText)), context(std::move(contextText)) {}
  Level(bool user, std::string messageText, std::string contextText)
      : Level(user ? Kind::User : Kind::System, std::move(messageText), std::move(contextText)) {}

  Kind kind;
  std::string message;
  std::string context;
  bool contextIsPrefix = false;  // the rest is the service's own text
};

inline Level user(std::string message, std::string context = "") {
  return Level(Kind::User, std::move(message), std::move(context));
}
inline Level sys(std::string message, std::string context = "") {
  return Level(Kind::System, std::move(message), std::move(context));
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

// Openings of the failure translation's clauses.
extern const char* const kUser;       // "Caught an kel_UserException exception in the "
extern const char* const kSystem;     // "Caught an kel_SystemException exception in the "
extern const char* const kCorba;      // "Caught a CORBA::Exception exception in the "
extern const char* const kCorbaUser;  // "Caught a CORBA::UserException exception in the "
extern const char* const kUnknown;    // "Caught an Unknown Exception in the "
extern const char* const kStore;      // "Caught an EpDataStore::StoreException exception in the "
extern const char* const kValidation; // "Caught an EpEntity::ValidationException exception in the "

} // namespace kelwell_test

#endif
