// kelwelld assembled: the store, the ORB configured for this service, the
// POAs and servants, the catalogues and the event dispatcher.
#ifndef KELWELLD_SERVICE_H
#define KELWELLD_SERVICE_H

#include <memory>
#include <stdexcept>
#include <string>

#include "Options.h"

namespace kelwelld {

// The service could not start; what() is one line saying why.
class StartError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class Service {
public:
  // Opens the store and starts serving. StartError when it cannot.
  explicit Service(const Options& options);
  ~Service();   // stops serving, then closes the store
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  // "corbaloc:iiop:<host>:<port>/kelwell", with the address the ORB publishes.
  const std::string& corbaloc() const;
  // The entry point's stringified reference.
  const std::string& ior() const;

  struct Impl;

private:
  std::unique_ptr<Impl> m_impl;
};

} // namespace kelwelld

#endif
