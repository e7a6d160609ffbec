// The library's integration tests: the shared service fixture and failure
// chains (tests/support), under the names these tests use.
#ifndef LIBRARY_TEST_LIBRARYSERVICE_H
#define LIBRARY_TEST_LIBRARYSERVICE_H

#include "FailureChain.h"
#include "LibraryFixture.h"

namespace library_test {

using kelwell_test::expectChain;
using kelwell_test::failureOf;
using kelwell_test::Level;
using kelwell_test::text;
using Failure = kelwell_test::Caught;

// A session of the test user and a project of its own for each test.
struct Fixture : kelwell_test::LibraryFixture {
  Fixture() : LibraryFixture("tester", "Project") {}
};

} // namespace library_test

#endif
