// What the library's integration tests share: one kelwelld per test process
// (with fault injection), found through KELWELL_SERVICE as an application
// finds it; projects, failures and armed faults.
#ifndef LIBRARY_TEST_LIBRARYSERVICE_H
#define LIBRARY_TEST_LIBRARYSERVICE_H

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <EpSession.hh>

#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_Well.h"
#include "kel_WellBore.h"

namespace library_test {

inline std::string text(const kel_cppUtil::String& s) { return s.str(); }

// A failure as a test sees it: the whole chain, kinds kept.
using Failure = std::shared_ptr<const kel_Exception>;

template <class Call>
Failure failureOf(Call call) {
  try {
    call();
  } catch (const kel_Exception& error) {
    return Failure(error.clone());
  }
  ADD_FAILURE() << "the call did not fail";
  return std::make_shared<kel_Exception>("the call did not fail");
}

// One level of an expected cause chain.
struct Level {
  bool user;
  std::string message;
  std::string context;
};

// Asserts kind, message and context of every level, and that the chain ends
// with the last level.
void expectChain(const Failure& failure, const std::vector<Level>& levels);

// A session of the test user and a project of its own for each test.
struct Fixture : ::testing::Test {
  kel_Session session = kel_Session::open("tester");
  kel_Project project = newProject();

  static kel_Project newProject();
  kel_Well newWell(const char* name = "Well", const char* uwi = "UWI-1") const;
  kel_WellBore newBore(const kel_Well& well, const char* identifier = "00") const;

  // The next call of operation (on objectId, or on any object) misbehaves.
  static void raise(const char* operation, const char* exceptionName, const char* text1 = "",
                    const char* text2 = "", const std::string& objectId = "");
  static void returnNil(const char* operation, const std::string& objectId = "");
  static void returnOutOfRange(const char* operation, long value, const std::string& objectId = "");
  static unsigned long armedFaults();

  void TearDown() override; // clears what a test left armed
};

} // namespace library_test

#endif
