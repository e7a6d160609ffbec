#include "Tls.h"

#include <fstream>

#include <omniORB4/CORBA.h>
#include <omniORB4/sslContext.h>

namespace kelwelld::net {

std::string useTls(const std::string& keyFile, const std::string& caFile) {
  for (const std::string* file : {&keyFile, &caFile})
    if (!std::ifstream(*file)) return "cannot read " + *file;
  // The transport keeps these pointers: the texts live as long as the process.
  static std::string key;
  static std::string authority;
  key = keyFile;
  authority = caFile;
  sslContext::key_file = key.c_str();
  sslContext::key_file_password = "";   // the transport loads no key without a password
  sslContext::certificate_authority_file = authority.c_str();
  sslContext::verify_mode = SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT;
  return "";
}

} // namespace kelwelld::net
