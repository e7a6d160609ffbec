// One SQLite process against 1, 2 and 4 processes on one PostgreSQL
// database, measured in one run and reported as ratios to the SQLite rate:
//   - attribute reads (Well::getCountry) and small writes (Well::setCountry,
//     each one committed) per second, from four client threads, each on a
//     well of its own, spread over the processes;
//   - a 1e6-sample trace read back whole through each engine's chunks, in
//     process.
// The PostgreSQL cluster is the one KELWELL_TEST_PG names (the tests' one
// does not fsync: its write rates are not the engine's), or a throw-away one
// started for the run that fsyncs as SQLite does (scripts/pg-cluster.sh).
// "--short" measures for a moment only (ctest checks that it runs).
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <CosLifeCycle.hh>
#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "store/SampleChunks.h"
#include "store/Store.h"

#ifndef PG_CLUSTER_SCRIPT
#error "PG_CLUSTER_SCRIPT must name scripts/pg-cluster.sh"
#endif

using namespace kelwell_test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int clientThreads = 4;
constexpr std::size_t traceSamples = 1'000'000;
double measureSeconds = 2.0;

struct Rates {
  double reads = 0, writes = 0;
};

// The stored well of each client thread, reached through process i % n.
std::vector<EpiWell::Well_var> wellsFor(std::vector<std::unique_ptr<ServiceProcess>>& services) {
  std::vector<EpiWell::Well_var> wells;
  for (int i = 0; i < clientThreads; ++i) {
    ServiceProcess& service = *services[static_cast<std::size_t>(i) % services.size()];
    EpSession::SessionManager_var manager = connectRaw(clientOrb(), service.corbaloc());
    EpSession::Session_var session = manager->openSession("bench");
    EpSession::ProjectSeq_var projects = session->listProjects();
    EpSession::Project_var project = projects->length() ? EpSession::Project::_duplicate(projects[0].in())
                                                        : session->createProject("Shared store benchmark");
    CosLifeCycle::FactoryFinder_var finder = session->getFactoryFinder();
    CORBA::String_var storeName = project->getStoreName();
    CosLifeCycle::Key key;
    key.length(1);
    key[0].id = EpiWell::_tc_NewWellFactory->id();
    key[0].kind = storeName.in();
    CosLifeCycle::Factories_var found = finder->find_factories(key);
    EpiWell::NewWellFactory_var factory = EpiWell::NewWellFactory::_narrow(found[0].in());
    CosPropertyService::Property identifier;
    identifier.property_name = "UWI";
    identifier.property_value <<= std::to_string(i).c_str();
    wells.push_back(factory->createWell(project.in(), "Bench", identifier, session.in()));
  }
  return wells;
}

// Calls per second of call, from every client thread at once.
template <class Call>
double rate(std::vector<EpiWell::Well_var>& wells, Call call) {
  std::atomic<bool> stop{false};
  std::atomic<long> calls{0};
  std::vector<std::thread> threads;
  for (auto& well : wells)
    threads.emplace_back([&, target = well.in()] {
      long mine = 0;
      while (!stop) {
        call(target, mine);
        ++mine;
      }
      calls += mine;
    });
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(measureSeconds));
  stop = true;
  for (auto& thread : threads) thread.join();
  return static_cast<double>(calls) / std::chrono::duration<double>(Clock::now() - start).count();
}

Rates measure(const std::vector<std::string>& stores) {
  std::vector<std::unique_ptr<ServiceProcess>> services;
  for (const std::string& store : stores) {
    ServiceOptions options;
    options.faultInjection = false;
    options.store = store;
    services.push_back(std::make_unique<ServiceProcess>(options));
    services.back()->start();
  }
  auto wells = wellsFor(services);
  Rates rates;
  rates.reads = rate(wells, [](EpiWell::Well_ptr well, long) { CORBA::String_var country = well->getCountry(); });
  rates.writes = rate(wells, [](EpiWell::Well_ptr well, long n) { well->setCountry(std::to_string(n).c_str()); });
  return rates;
}

// Samples per second of a whole 1e6-sample read through the store's chunks.
double traceReads(kelwelld::Store& store) {
  std::vector<float> samples(traceSamples);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<float>(i) * 0.25f;
  const kelwelld::SampleChunks series("logtrace:1", "values");
  {
    kelwelld::Transaction transaction(store, "bench setup");
    series.write(transaction, samples.data(), samples.size());
    transaction.commit();
  }
  std::vector<float> into(traceSamples);
  long reads = 0;
  const auto start = Clock::now();
  do {
    kelwelld::Reader reader(store);
    series.read(reader, 0, into.size(), into.data());
    ++reads;
  } while (std::chrono::duration<double>(Clock::now() - start).count() < measureSeconds);
  if (std::memcmp(into.data(), samples.data(), samples.size() * sizeof(float)) != 0)
    std::fprintf(stderr, "the samples read back differ from those written\n");
  return static_cast<double>(reads) * traceSamples / std::chrono::duration<double>(Clock::now() - start).count();
}

std::string run(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

} // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--short") measureSeconds = 0.2;

  // A cluster of our own when the environment names none.
  std::string ownCluster;
  if (!std::getenv("KELWELL_TEST_PG")) {
    char pattern[] = "/tmp/kelwell-bench-pg-XXXXXX";
    ownCluster = mkdtemp(pattern) ? pattern : "";
    run("KELWELL_PG_FSYNC=on " + std::string(PG_CLUSTER_SCRIPT) + " start " + ownCluster);
    setenv("KELWELL_TEST_PG", ownCluster.c_str(), 1);
  }
  int status = 0;
  try {
    const std::string directory = std::filesystem::temp_directory_path() / ("kelwell-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const Rates sqlite = measure({directory + "/bench.db"});
    std::vector<std::pair<int, Rates>> postgres;
    for (int processes : {1, 2, 4}) {
      const std::string store = postgresTestStore();
      postgres.emplace_back(processes, measure(std::vector<std::string>(static_cast<std::size_t>(processes), store)));
    }
    auto sqliteStore = kelwelld::openStore(directory + "/trace.db");
    auto postgresStore = kelwelld::openStore(postgresTestStore());
    const double sqliteTrace = traceReads(*sqliteStore);
    const double postgresTrace = traceReads(*postgresStore);
    std::filesystem::remove_all(directory);

    std::printf("rate   SQLite, 1 process:        reads %9.0f /s   writes %8.0f /s\n", sqlite.reads, sqlite.writes);
    for (const auto& [processes, rates] : postgres)
      std::printf("ratio  PostgreSQL, %d process%s to SQLite: reads %5.2f (%7.0f /s)   writes %5.2f (%6.0f /s)\n",
                  processes, processes == 1 ? ": " : "es:", rates.reads / sqlite.reads, rates.reads,
                  rates.writes / sqlite.writes, rates.writes);
    std::printf("rate   1e6-sample trace read, SQLite:      %8.1f Msamples/s\n", sqliteTrace / 1e6);
    std::printf("ratio  1e6-sample trace read, PostgreSQL to SQLite %5.2f (%.1f Msamples/s)\n",
                postgresTrace / sqliteTrace, postgresTrace / 1e6);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "shared store benchmark: %s\n", e.what());
    status = 1;
  } catch (const CORBA::Exception& e) {
    std::fprintf(stderr, "shared store benchmark: %s\n", e._name());
    status = 1;
  }
  if (!ownCluster.empty()) {
    run(std::string(PG_CLUSTER_SCRIPT) + " stop " + ownCluster);
    std::filesystem::remove_all(ownCluster);
  }
  return status;
}
