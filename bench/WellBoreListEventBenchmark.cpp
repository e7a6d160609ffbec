// Wellbore list change events between processes, measured in one run:
//   - events per second from one writer (membership changes, each committed)
//     to 1 and to 10 listening processes, counted until the last listener's
//     callback has received the last change, against the writer's own rate of
//     changes with no one listening;
//   - the time from a change's reply (its commit is durable before the reply
//     is sent) to each listener's callback, median and 99th percentile, for
//     changes written one at a time.
// Listeners are this program started again with --listen: a
// kel_WellBoreListDataChangedEventListener whose callback stamps each event
// with the system-wide monotonic clock.
//
//   kelwell_list_event_bench [--changes N]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <CosLifeCycle.hh>
#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Session.h"
#include "kel_WellBoreListDataChangedEventListener.h"

namespace {

long long nowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// ------------------------------------------------------------ the listener

struct Stamps {
  std::mutex mutex;
  std::condition_variable arrived;
  std::vector<long long> ns;
};

void stamp(const kel_WellBoreListDataChangedEvent*, void* data) {
  const long long now = nowNs();
  auto* stamps = static_cast<Stamps*>(data);
  std::lock_guard<std::mutex> lock(stamps->mutex);
  stamps->ns.push_back(now);
  stamps->arrived.notify_all();
}

// Writes "ready" on fd 3 once registered, then, after count events (or 10 s
// without one), one stamp per line. Standard output (one line per event, the
// event's own) goes where the parent sent it.
int listen(std::size_t count) {
  Stamps stamps;
  {
    kel_WellBoreListDataChangedEventListener listener(kel_Session::open("bench listener"));
    listener.setCallBack(stamp, &stamps);
    listener.registerListener();
    if (write(3, "ready\n", 6) != 6) return 1;
    std::unique_lock<std::mutex> lock(stamps.mutex);
    std::size_t seen = 0;
    while (stamps.ns.size() < count) {
      if (!stamps.arrived.wait_for(lock, std::chrono::seconds(10), [&] { return stamps.ns.size() > seen; })) break;
      seen = stamps.ns.size();
    }
    lock.unlock();
    listener.unregisterListener();
  }
  std::string out;
  for (long long ns : stamps.ns) out += std::to_string(ns) + "\n";
  for (std::size_t done = 0; done < out.size();) {
    const ssize_t n = write(3, out.data() + done, out.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  kel_Connection::shutdown();
  return 0;
}

// -------------------------------------------------------------- the writer

struct Child {
  pid_t pid = -1;
  int fd = -1;
};

Child startListener(const char* self, std::size_t count) {
  int channel[2];
  if (pipe(channel) != 0) throw std::runtime_error("pipe");
  Child child;
  child.pid = fork();
  if (child.pid == 0) {
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, STDOUT_FILENO);
    dup2(channel[1], 3);
    const std::string n = std::to_string(count);
    execl(self, self, "--listen", n.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(channel[1]);
  child.fd = channel[0];
  return child;
}

// Reads the child's channel to its end (or a line, when line is true).
std::string readFrom(Child& child, bool line) {
  std::string text;
  char c;
  for (;;) {
    pollfd ready{child.fd, POLLIN, 0};
    if (poll(&ready, 1, 120000) <= 0) break;
    if (read(child.fd, &c, 1) != 1) break;
    if (line && c == '\n') break;
    text += c;
  }
  return text;
}

std::vector<long long> finish(Child& child) {
  std::vector<long long> stamps;
  const std::string text = readFrom(child, false);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    stamps.push_back(std::stoll(text.substr(at, end - at)));
    at = end == std::string::npos ? text.size() : end + 1;
  }
  close(child.fd);
  waitpid(child.pid, nullptr, 0);
  return stamps;
}

struct Setup {
  EpSession::SessionManager_var manager;
  EpSession::Session_var session;
  EpiWell::WellBoreList_var list;
  EpiWell::WellBore_var bore;
};

CORBA::Object_var factory(Setup& s, const char* repositoryId, const std::string& kind) {
  CosLifeCycle::FactoryFinder_var finder = s.session->getFactoryFinder();
  CosLifeCycle::Key key;
  key.length(1);
  key[0].id = repositoryId;
  key[0].kind = kind.c_str();
  CosLifeCycle::Factories_var found = finder->find_factories(key);
  return CORBA::Object::_duplicate(found[0].in());
}

Setup setUp(const std::string& corbaloc) {
  Setup s;
  s.manager = kelwell_test::connectRaw(kelwell_test::clientOrb(), corbaloc);
  s.session = s.manager->openSession("bench writer");
  EpSession::Project_var project = s.session->createProject("List event benchmarks");
  const std::string store = CORBA::String_var(project->getStoreName()).in();
  CosPropertyService::Property identifier;
  identifier.property_name = "UWI";
  identifier.property_value <<= "1";
  CORBA::Object_var wells = factory(s, EpiWell::_tc_NewWellFactory->id(), store);
  EpiWell::Well_var well = EpiWell::NewWellFactory::_narrow(wells.in())
                               ->createWell(project.in(), "Bench", identifier, s.session.in());
  CORBA::Object_var bores = factory(s, EpiWell::_tc_NewWellBoreFactory->id(), store);
  s.bore = EpiWell::NewWellBoreFactory::_narrow(bores.in())->createWellBore(well.in(), identifier, s.session.in());
  CORBA::Object_var lists = factory(s, EpiWell::_tc_NewWellBoreListFactory->id(), store);
  s.list = EpiWell::NewWellBoreListFactory::_narrow(lists.in())
               ->createWellBoreList(project.in(), "Bench", "", EpiWell::WellBoreSeq(), s.session.in());
  return s;
}

// Change i: even ones add the wellbore, odd ones remove it.
void change(Setup& s, std::size_t i) {
  if (i % 2 == 0)
    s.list->addBore(s.bore.in());
  else
    s.list->removeBore(s.bore.in());
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())));
  return values[at];
}

// Events per second delivered to each of n listeners (the writer writing
// flat out); 0 listeners: the writer's own rate.
double throughput(const char* self, Setup& s, int listeners, std::size_t changes) {
  std::vector<Child> children;
  for (int i = 0; i < listeners; ++i) children.push_back(startListener(self, changes));
  for (Child& child : children)
    if (readFrom(child, true) != "ready") throw std::runtime_error("a listener did not start");
  const long long start = nowNs();
  for (std::size_t i = 0; i < changes; ++i) change(s, i);
  long long last = nowNs();
  for (Child& child : children) {
    const std::vector<long long> stamps = finish(child);
    if (stamps.size() != changes)
      std::fprintf(stderr, "a listener received %zu of %zu events\n", stamps.size(), changes);
    if (!stamps.empty()) last = std::max(last, stamps.back());
  }
  return static_cast<double>(changes) / (static_cast<double>(last - start) / 1e9);
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--listen") == 0) return listen(std::stoul(argv[2]));
  std::size_t changes = 1000;
  if (argc == 3 && std::strcmp(argv[1], "--changes") == 0) changes = std::stoul(argv[2]);
  signal(SIGPIPE, SIG_IGN);

  kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
  if (!service.running()) service.start();
  setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
  Setup s = setUp(service.corbaloc());
  const char* self = "/proc/self/exe";
  char path[4096];
  const ssize_t length = readlink(self, path, sizeof path - 1);
  if (length > 0) {
    path[length] = '\0';
    self = path;
  }

  throughput(self, s, 0, changes);   // warms the store (its file and log grow to size) and the connection
  const double alone = throughput(self, s, 0, changes);
  const double one = throughput(self, s, 1, changes);
  const double ten = throughput(self, s, 10, changes);

  // Latency: one change at a time, a pause after each so that no queue builds.
  const std::size_t paced = std::min<std::size_t>(changes, 300);
  Child child = startListener(self, paced);
  if (readFrom(child, true) != "ready") throw std::runtime_error("a listener did not start");
  std::vector<long long> replies;
  for (std::size_t i = 0; i < paced; ++i) {
    change(s, i);
    replies.push_back(nowNs());
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const std::vector<long long> stamps = finish(child);
  std::vector<double> latencyUs;
  for (std::size_t i = 0; i < std::min(stamps.size(), replies.size()); ++i)
    latencyUs.push_back(static_cast<double>(stamps[i] - replies[i]) / 1e3);

  std::printf("rate   %zu committed list changes, no listener:       %10.0f /s\n", changes, alone);
  std::printf("rate   events to 1 listening process:                %10.0f /s   to the writer alone %5.2f\n", one,
              one / alone);
  std::printf("rate   events to each of 10 listening processes:     %10.0f /s   to the writer alone %5.2f"
              "   (%.0f deliveries/s)\n",
              ten, ten / alone, 10 * ten);
  std::printf("time   reply to callback, %zu changes one at a time: median %8.1f us   p99 %8.1f us\n",
              latencyUs.size(), percentile(latencyUs, 0.5), percentile(latencyUs, 0.99));
  const std::string log = service.standardError();
  if (!log.empty()) std::fprintf(stderr, "kelwelld said:\n%s", log.c_str());
  service.stop();
  return 0;
}
