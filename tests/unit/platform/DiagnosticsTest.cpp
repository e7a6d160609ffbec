// The opt-in line that names what a translated failure replaced.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <omniORB4/CORBA.h>

#include "kel_Diagnostics.h"

namespace {

// What kel_reportReplacedException writes on standard error.
std::string reported(const CORBA::Exception& caught, const char* context) {
  char path[] = "/tmp/kelwell-diagnostics-XXXXXX";
  const int file = mkstemp(path);
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  dup2(file, STDERR_FILENO);
  kel_reportReplacedException(caught, context);
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  close(file);
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  unlink(path);
  return text.str();
}

} // namespace

TEST(Diagnostics, NameTheReplacedExceptionOnlyWhenAskedFor) {
  const char* context = "Caught a CORBA::Exception exception in the kel_Well::getCountry";
  const CORBA::OBJECT_NOT_EXIST missing(omni::OBJECT_NOT_EXIST_NoMatch, CORBA::COMPLETED_NO);
  const CORBA::TRANSIENT unreachable(omni::TRANSIENT_ConnectFailed, CORBA::COMPLETED_NO);
  const CORBA::MARSHAL garbled(0x1234, CORBA::COMPLETED_MAYBE);
  const CORBA::COMM_FAILURE lost(0, CORBA::COMPLETED_YES);
  const CORBA::UnknownUserException user(new CORBA::Any);
  const struct {
    const char* setting;   // nullptr: unset
    const CORBA::Exception& caught;
    std::string line;
  } cases[] = {
      {"1", missing,
       "kelwell: CORBA::OBJECT_NOT_EXIST minor 0x4f4d0001 (OBJECT_NOT_EXIST_NoMatch), completed NO; reported as "
       "\"Caught a CORBA::Exception exception in the kel_Well::getCountry\"\n"},
      {"yes", unreachable,
       "kelwell: CORBA::TRANSIENT minor 0x41540002 (TRANSIENT_ConnectFailed), completed NO; reported as "
       "\"Caught a CORBA::Exception exception in the kel_Well::getCountry\"\n"},
      {"1", garbled,
       "kelwell: CORBA::MARSHAL minor 0x00001234, completed MAYBE; reported as \"Caught a CORBA::Exception "
       "exception in the kel_Well::getCountry\"\n"},
      {"1", lost,
       "kelwell: CORBA::COMM_FAILURE minor 0x00000000, completed YES; reported as \"Caught a CORBA::Exception "
       "exception in the kel_Well::getCountry\"\n"},
      {"1", user,
       "kelwell: IDL:omg.org/CORBA/UnknownUserException:1.0; reported as \"Caught a CORBA::Exception exception "
       "in the kel_Well::getCountry\"\n"},
      {nullptr, missing, ""},
      {"", unreachable, ""},
      {"0", garbled, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting ? c.setting : "unset");
    if (c.setting) setenv("KELWELL_DIAGNOSTICS", c.setting, 1);
    else unsetenv("KELWELL_DIAGNOSTICS");
    EXPECT_EQ(reported(c.caught, context), c.line);
  }
  unsetenv("KELWELL_DIAGNOSTICS");
}
