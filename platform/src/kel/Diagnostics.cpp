#include "kel_Diagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <omniORB4/CORBA.h>

bool kel_diagnosticsWanted() {
  const char* wanted = std::getenv("KELWELL_DIAGNOSTICS");
  return wanted != nullptr && *wanted != '\0' && std::strcmp(wanted, "0") != 0;
}

kel_cppUtil::String kel_describeReplacedException(const CORBA::Exception& caught, const char* context) {
  std::string text;
  if (const CORBA::SystemException* system = CORBA::SystemException::_downcast(&caught)) {
    char minor[16];
    std::snprintf(minor, sizeof minor, "0x%08lx", static_cast<unsigned long>(system->minor()));
    const char* minorName = system->NP_minorString();
    const char* completed = system->completed() == CORBA::COMPLETED_YES  ? "YES"
                            : system->completed() == CORBA::COMPLETED_NO ? "NO"
                                                                         : "MAYBE";
    text = std::string("CORBA::") + system->_name() + " minor " + minor +
           (minorName ? std::string(" (") + minorName + ")" : std::string()) + ", completed " + completed;
  } else {
    text = caught._rep_id();
  }
  text += std::string("; reported as \"") + (context ? context : "") + "\"";
  return kel_cppUtil::String(text);
}

void kel_reportReplacedException(const CORBA::Exception& caught, const char* context) {
  if (!kel_diagnosticsWanted()) return;
  const kel_cppUtil::String line = kel_describeReplacedException(caught, context);
  // One write, so lines of concurrent calls do not interleave.
  std::fprintf(stderr, "kelwell: %s\n", line.c_str());
}
