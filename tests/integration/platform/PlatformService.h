// What the platform's integration tests share: one kelwelld per test
// process, reached through KELWELL_SERVICE as an application would.
#ifndef PLATFORM_TEST_PLATFORMSERVICE_H
#define PLATFORM_TEST_PLATFORMSERVICE_H

#include <memory>
#include <stdexcept>
#include <string>

#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"

namespace platform_test {

inline std::string text(const kel_cppUtil::String& s) { return s.str(); }

// A platform exception caught by a test, kind kept.
class Failure {
public:
  explicit Failure(const kel_Exception& error) : m_error(error.clone()) {}
  bool isUserException() const { return m_error->isUserException(); }
  bool isSystemException() const { return m_error->isSystemException(); }
  kel_cppUtil::String getMessage() const { return m_error->getMessage(); }
  kel_cppUtil::String getContext() const { return m_error->getContext(); }
  kel_cppUtil::String toString() const { return m_error->toString(); }

private:
  std::shared_ptr<const kel_Exception> m_error;
};

// What call throws; a test failure when it throws nothing.
template <class Call>
Failure failureOf(Call call) {
  try {
    call();
  } catch (const kel_Exception& error) {
    return Failure(error);
  }
  throw std::logic_error("the call did not fail");
}

// A stored well in project made through the service's factory; its identifier.
std::string createWell(const kel_Session& session, const kel_Project& project, const char* name);

} // namespace platform_test

#endif
