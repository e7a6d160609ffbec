#ifndef KEL_CONNECTION_H
#define KEL_CONNECTION_H

#include "kel_cppUtil.h"

// The process's connection to the well data service: the ORB, a POA for
// objects the process serves (event consumers), and the service's entry
// point (EpSession::SessionManager).
//
// The service is found, in this order, from an "-ORBInitRef KelWell=<ref>"
// argument, from the KELWELL_SERVICE environment variable (an IOR, a corbaloc
// URL, or file:PATH of a file holding either), else at
// corbaloc:iiop:127.0.0.1:18110/kelwell.
//
// The ORB is configured for this system: message limit KELWELL_MAX_MESSAGE_MB
// (default 512 MiB, enough for traces of well over ten million samples) and a
// call timeout KELWELL_CALL_TIMEOUT_MS (default 120000; 0 for none).
class kel_Connection {
public:
  // Initialises the ORB (consuming its -ORB arguments) and locates the service.
  // kel_SystemException when the ORB cannot start or the reference is malformed.
  static void initialize(int& argc, char** argv);
  static void initialize();                       // no command line
  // Destroys the ORB; platform objects must not be used afterwards.
  static void shutdown();
  static bool isInitialized();

  // The ORB as CORBA::ORB_ptr (no count added); initialises on first use.
  static void* getOrb();
  // The POA for objects served by this process, as PortableServer::POA_ptr.
  static void* getPoa();
  // The service entry point as EpSession::SessionManager_ptr (no count added).
  // kel_SystemException when no service answers at the configured location.
  static void* getServiceManager();
  // Where the service was looked for, for messages.
  static kel_cppUtil::String getServiceLocation();
};

#endif
