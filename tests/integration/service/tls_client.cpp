// A client of a TLS-only kelwelld, in a process of its own (the ORB's TLS
// settings are per process): tls_client <corbaloc> <ca.pem> [<key+cert.pem>]
// calls getVersion and prints "answered <version>", exit 0, or
// "failed <exception>", exit 1.
#include <iostream>
#include <string>

#include <omniORB4/CORBA.h>
#include <omniORB4/sslContext.h>

#include <EpSession.hh>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: tls_client <corbaloc> <ca.pem> [<key+cert.pem>]\n";
    return 2;
  }
  sslContext::certificate_authority_file = argv[2];
  if (argc > 3) {
    sslContext::key_file = argv[3];
    sslContext::key_file_password = "";
  }
  sslContext::verify_mode = SSL_VERIFY_PEER;
  const char* options[][2] = {{"clientCallTimeOutPeriod", "5000"}, {"traceLevel", "0"}, {nullptr, nullptr}};
  int orbArgc = 1;
  char name[] = "tls_client";
  char* orbArgv[] = {name, nullptr};
  try {
    CORBA::ORB_var orb = CORBA::ORB_init(orbArgc, orbArgv, "omniORB4", options);
    CORBA::Object_var object = orb->string_to_object(argv[1]);
    EpSession::SessionManager_var manager = EpSession::SessionManager::_unchecked_narrow(object.in());
    CORBA::String_var version = manager->getVersion();
    std::cout << "answered " << version.in() << std::endl;
    orb->destroy();
    return 0;
  } catch (const CORBA::Exception& e) {
    std::cout << "failed " << e._name() << std::endl;
    return 1;
  }
}
