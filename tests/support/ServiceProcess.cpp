#include "ServiceProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <pqxx/connection>
#include <pqxx/nontransaction>

#ifndef KELWELLD_PATH
#error "KELWELLD_PATH must name the built kelwelld"
#endif

namespace kelwell_test {

namespace {

const char* const readyPrefix = "kelwelld ready at ";

std::string makeTemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelwell-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error(std::string("cannot create a temporary directory: ") + std::strerror(errno));
  return pattern;
}

} // namespace

std::string postgresTestStore() {
  const char* state = std::getenv("KELWELL_TEST_PG");
  if (!state || !*state) return {};
  std::ifstream in(std::string(state) + "/url");
  std::string url;
  if (!std::getline(in, url) || url.empty())
    throw std::runtime_error(std::string("KELWELL_TEST_PG names ") + state +
                             " but no cluster runs there (scripts/pg-cluster.sh start)");
  // A schema of its own: the test sees only its own tables, and the cluster
  // goes with them at the end of the run.
  static int counter = 0;
  const std::string schema = "test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  pqxx::connection connection(url);
  pqxx::nontransaction work(connection);
  work.exec("CREATE SCHEMA " + schema);
  return url + "?options=-csearch_path%3D" + schema;
}

ServiceProcess::ServiceProcess(ServiceOptions options) : m_options(std::move(options)) {
  m_directory = makeTemporaryDirectory();
  if (m_options.store.empty()) m_storePath = postgresTestStore();
  if (m_storePath.empty()) m_storePath = m_options.store.empty() ? m_directory + "/kelwell.db" : m_options.store;
  m_stderrPath = m_directory + "/stderr.txt";
}

ServiceProcess::~ServiceProcess() {
  try {
    stop();
  } catch (...) {
  }
  std::error_code ignored;
  std::filesystem::remove_all(m_directory, ignored);
}

std::string ServiceProcess::standardError() const {
  std::ifstream in(m_stderrPath);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void ServiceProcess::start() {
  if (running()) return;
  std::vector<std::string> arguments{KELWELLD_PATH, "--store", m_storePath, "--host", "127.0.0.1",
                                     "--port", std::to_string(m_port)};
  if (m_options.faultInjection) arguments.push_back("--fault-injection");
  if (!m_options.unitSystem.empty()) {
    arguments.push_back("--unit-system");
    arguments.push_back(m_options.unitSystem);
  }
  arguments.insert(arguments.end(), m_options.extraArgs.begin(), m_options.extraArgs.end());
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0)
    throw std::runtime_error(std::string("cannot create a pipe: ") + std::strerror(errno));
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
  }
  if (pid == 0) {
    // Child: only async-signal-safe calls until exec.
    prctl(PR_SET_PDEATHSIG, SIGKILL);   // never outlive the test
    if (getppid() != parent) _exit(127);
    dup2(pipeFds[1], STDOUT_FILENO);
    const int err = open(m_stderrPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (err >= 0) dup2(err, STDERR_FILENO);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  m_pid = pid;

  // Wait for the ready line.
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::string failure;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) {
      failure = "no ready line within 30 s";
      break;
    }
    pollfd fd{pipeFds[0], POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[512];
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      failure = "kelwelld ended before it was ready";
      break;
    }
    output.append(buffer, static_cast<std::size_t>(got));
    const auto end = output.find('\n');
    if (end != std::string::npos) {
      const std::string line = output.substr(0, end);
      if (line.rfind(readyPrefix, 0) != 0) {
        failure = "unexpected first line \"" + line + "\"";
        break;
      }
      m_corbaloc = line.substr(std::strlen(readyPrefix));
      const auto colon = m_corbaloc.rfind(':');
      const auto slash = m_corbaloc.find('/', colon);
      m_port = std::atoi(m_corbaloc.substr(colon + 1, slash - colon - 1).c_str());
      break;
    }
  }
  close(pipeFds[0]);
  if (!failure.empty()) {
    kill();
    throw std::runtime_error("kelwelld did not start (" + failure + "): " + standardError());
  }
}

void ServiceProcess::wait(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(m_pid, &status, WNOHANG);
    if (done == m_pid || (done < 0 && errno != EINTR)) {
      m_lastStatus = status;
      m_pid = -1;
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(m_pid, SIGKILL);
      waitpid(m_pid, &status, 0);
      m_lastStatus = status;
      m_pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void ServiceProcess::stop() {
  if (!running()) return;
  ::kill(m_pid, SIGTERM);
  wait(10000);
  // A service that does not stop cleanly is worth a look even when every
  // test passed (sanitizer reports end up here too).
  if (!WIFEXITED(m_lastStatus) || WEXITSTATUS(m_lastStatus) != 0)
    std::cerr << "kelwelld did not stop cleanly (status " << m_lastStatus << "): " << standardError() << "\n";
}

void ServiceProcess::kill() {
  if (!running()) return;
  ::kill(m_pid, SIGKILL);
  wait(10000);
}

ServiceProcess& sharedService() {
  static ServiceProcess service;
  if (!service.running()) service.start();
  return service;
}

CORBA::ORB_ptr clientOrb() {
  static CORBA::ORB_var orb = [] {
    // Served objects (event consumers) listen on loopback only.
    const char* options[][2] = {{"giopMaxMsgSize", "536870912"},
                                {"endPoint", "giop:tcp:127.0.0.1:"},
                                {nullptr, nullptr}};
    int argc = 1;
    static char name[] = "kelwell-test";
    static char* argv[] = {name, nullptr};
    return CORBA::ORB_init(argc, argv, "omniORB4", options);
  }();
  return orb.in();
}

EpSession::SessionManager_var connectRaw(CORBA::ORB_ptr orb, const std::string& corbaloc) {
  CORBA::Object_var object = orb->string_to_object(corbaloc.c_str());
  EpSession::SessionManager_var manager = EpSession::SessionManager::_narrow(object.in());
  if (CORBA::is_nil(manager.in()))
    throw std::runtime_error("no EpSession::SessionManager at " + corbaloc);
  return manager;
}

} // namespace kelwell_test
