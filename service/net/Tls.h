// TLS with client certificates, through the ORB's SSL transport: the
// service then listens for TLS connections only, and a client must present
// a certificate signed by the given authority.
#ifndef KELWELLD_NET_TLS_H
#define KELWELLD_NET_TLS_H

#include <string>

namespace kelwelld::net {

// Before the ORB starts: keyFile holds the service's private key and
// certificate (PEM, without a passphrase), caFile the authority (PEM) whose
// certificates clients must present. Returns "" or why TLS cannot be used.
std::string useTls(const std::string& keyFile, const std::string& caFile);

} // namespace kelwelld::net

#endif
