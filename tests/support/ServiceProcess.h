// Integration test support: a real kelwelld child process on 127.0.0.1 with
// an ephemeral port and a temporary store, and raw stubs connected to it.
#ifndef KELWELL_TEST_SERVICEPROCESS_H
#define KELWELL_TEST_SERVICEPROCESS_H

#include <string>
#include <sys/types.h>
#include <vector>

#include <omniORB4/CORBA.h>

#include <EpSession.hh>

namespace kelwell_test {

struct ServiceOptions {
  bool faultInjection = true;
  // "" = a fresh temporary file, or a fresh schema of the PostgreSQL
  // cluster whose state folder KELWELL_TEST_PG names (postgresTestStore).
  std::string store;
  std::string unitSystem;   // "" = the service's default
  std::vector<std::string> extraArgs;
};

class ServiceProcess {
public:
  explicit ServiceProcess(ServiceOptions options = {});
  ~ServiceProcess();   // stops the service and removes the temporary directory
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  // Starts kelwelld and waits (up to 30 s) for its ready line: on port 0 the
  // first time, on the same port after that, with the same store.
  // std::runtime_error with the child's stderr when it does not come up.
  void start();
  void stop();   // SIGTERM, then wait (SIGKILL after 10 s)
  void kill();   // SIGKILL, then wait
  bool running() const { return m_pid > 0; }
  pid_t pid() const { return m_pid; }

  const std::string& corbaloc() const { return m_corbaloc; }
  int port() const { return m_port; }
  const std::string& storePath() const { return m_storePath; }
  // The temporary directory of this service (store, stderr, scratch files).
  const std::string& directory() const { return m_directory; }
  // What the child wrote on its standard error stream so far.
  std::string standardError() const;
  // The exit status of the last stop() (as from waitpid).
  int lastStatus() const { return m_lastStatus; }

private:
  void wait(int timeoutMs);

  ServiceOptions m_options;
  std::string m_directory;
  std::string m_storePath;
  std::string m_stderrPath;
  std::string m_corbaloc;
  int m_port = 0;
  pid_t m_pid = -1;
  int m_lastStatus = 0;
};

// When KELWELL_TEST_PG names the state folder of a running test cluster
// (scripts/pg-cluster.sh): the URL of a schema made for one store; "" when
// it names none. The suites run on PostgreSQL with it set.
std::string postgresTestStore();

// One service per test binary, started on first use, stopped at exit.
ServiceProcess& sharedService();

// The test process's client ORB (initialised once, with a message limit
// large enough for big traces); no count added.
CORBA::ORB_ptr clientOrb();

// The service's entry point as raw stubs; std::runtime_error when it does
// not narrow.
EpSession::SessionManager_var connectRaw(CORBA::ORB_ptr orb, const std::string& corbaloc);

} // namespace kelwell_test

#endif
