// The contract checks: the shared service fixture and failure chains
// (tests/support), under the names these checks use.
#ifndef CONTRACT_TEST_CONTRACTSERVICE_H
#define CONTRACT_TEST_CONTRACTSERVICE_H

#include "FailureChain.h"
#include "LibraryFixture.h"

namespace contract {

using namespace kelwell_test;
using kelwell_test::text;
inline std::string str(const kel_cppUtil::String& s) { return s.str(); }

struct Contract : kelwell_test::LibraryFixture {
  Contract() : LibraryFixture("acceptance", "Acceptance") {}

  kel_Project freshProject() const { return newProject(); }
  kel_Well well(const char* name = "W", const char* uwi = "UWI-1") const { return newWell(name, uwi); }
  kel_WellBore bore(const kel_Well& parent, const char* id = "00") const { return newBore(parent, id); }
  static unsigned long armed() { return armedFaults(); }
};

} // namespace contract

#endif
