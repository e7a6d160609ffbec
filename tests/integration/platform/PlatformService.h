// What the platform's integration tests share beyond tests/support (the
// service, found through KELWELL_SERVICE, and the failure chains): a well
// made through the service's own factory, without the library.
#ifndef PLATFORM_TEST_PLATFORMSERVICE_H
#define PLATFORM_TEST_PLATFORMSERVICE_H

#include <string>

#include "FailureChain.h"
#include "kel_Project.h"
#include "kel_Session.h"

namespace platform_test {

using kelwell_test::failureOf;
using kelwell_test::text;
using Failure = kelwell_test::Caught;

// A stored well in project made through the service's factory; its identifier.
std::string createWell(const kel_Session& session, const kel_Project& project, const char* name);

} // namespace platform_test

#endif
