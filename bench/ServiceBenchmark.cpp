// What the service sustains, as rates and ratios measured in one run:
//   - attribute reads (Well::getCountry on stored wells, raw stubs over
//     loopback) per second from 1, 2 and 8 client threads, and the 2- and
//     8-thread rates against the 1-thread rate (readers do not wait for one
//     another in the service, so the rate grows with the threads until the
//     machine's cores are busy), and against getVersion from as many threads,
//     a call of the same shape that reaches no store;
//   - a 1e7-float sample series written (one transaction, committed) and read
//     back whole through the store's chunks, in process, in GB/s.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <CosLifeCycle.hh>
#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "store/SampleChunks.h"
#include "store/SqliteStore.h"

namespace {

constexpr int maxThreads = 8;
constexpr std::size_t seriesLength = 10'000'000;

// One stored well per client thread, on a kelwelld started for the run.
std::vector<EpiWell::Well_var>& wells() {
  static std::vector<EpiWell::Well_var>* instance = [] {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    EpSession::SessionManager_var manager = kelwell_test::connectRaw(kelwell_test::clientOrb(), service.corbaloc());
    EpSession::Session_var session = manager->openSession("bench");
    EpSession::Project_var project = session->createProject("Service benchmarks");
    CosLifeCycle::FactoryFinder_var finder = session->getFactoryFinder();
    CORBA::String_var storeName = project->getStoreName();
    CosLifeCycle::Key key;
    key.length(1);
    key[0].id = EpiWell::_tc_NewWellFactory->id();
    key[0].kind = storeName.in();
    CosLifeCycle::Factories_var found = finder->find_factories(key);
    EpiWell::NewWellFactory_var factory = EpiWell::NewWellFactory::_narrow(found[0].in());
    auto* list = new std::vector<EpiWell::Well_var>;
    for (int i = 0; i < maxThreads; ++i) {
      CosPropertyService::Property identifier;
      identifier.property_name = "UWI";
      identifier.property_value <<= std::to_string(i).c_str();
      list->push_back(factory->createWell(project.in(), "Bench", identifier, session.in()));
      (*list)[static_cast<std::size_t>(i)]->setCountry("Norway");
    }
    return list;
  }();
  return *instance;
}

// One client thread per benchmark thread, each on a well of its own. Google
// Benchmark counts the items of all threads over their common wall-clock
// time, so items_per_second is the service's rate for that many clients.
void AttributeReads(benchmark::State& state) {
  EpiWell::Well_ptr well = wells()[static_cast<std::size_t>(state.thread_index())].in();
  for (auto _ : state) {
    CORBA::String_var country = well->getCountry();
    benchmark::DoNotOptimize(country.in());
  }
  state.SetItemsProcessed(state.iterations());
}

// The baseline: a call of the same shape that reaches no store.
void VersionReads(benchmark::State& state) {
  static EpSession::SessionManager_var manager = [] {
    wells();
    return kelwell_test::connectRaw(kelwell_test::clientOrb(), kelwell_test::sharedService().corbaloc());
  }();
  for (auto _ : state) {
    CORBA::String_var version = manager->getVersion();
    benchmark::DoNotOptimize(version.in());
  }
  state.SetItemsProcessed(state.iterations());
}

// A store in a temporary directory, removed at exit.
kelwelld::Store& benchStore() {
  static const std::string directory = [] {
    char pattern[] = "/tmp/kelwell-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  static kelwelld::SqliteStore store(directory + "/bench.db");
  static const struct Cleanup {
    ~Cleanup() { std::filesystem::remove_all(directory); }
  } cleanup;
  return store;
}

const std::vector<float>& samples() {
  static const std::vector<float> values = [] {
    std::vector<float> v(seriesLength);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<float>(i) * 0.5f;
    return v;
  }();
  return values;
}

void ChunkedWrite(benchmark::State& state) {
  kelwelld::Store& store = benchStore();
  const kelwelld::SampleChunks series("logtrace:1", "values");
  for (auto _ : state) {
    kelwelld::Transaction transaction(store, "bench write");
    series.write(transaction, samples().data(), samples().size());
    transaction.commit();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(seriesLength * sizeof(float)));
}

void ChunkedRead(benchmark::State& state) {
  kelwelld::Store& store = benchStore();
  const kelwelld::SampleChunks series("logtrace:2", "values");
  {
    kelwelld::Transaction transaction(store, "bench setup");
    series.write(transaction, samples().data(), samples().size());
    transaction.commit();
  }
  std::vector<float> into(seriesLength);
  for (auto _ : state) {
    kelwelld::Reader reader(store);
    series.read(reader, 0, into.size(), into.data());
    benchmark::DoNotOptimize(into.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(seriesLength * sizeof(float)));
}

BENCHMARK(AttributeReads)->Threads(1)->Threads(2)->Threads(maxThreads)->UseRealTime();
BENCHMARK(VersionReads)->Threads(1)->Threads(2)->Threads(maxThreads)->UseRealTime();
BENCHMARK(ChunkedWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ChunkedRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints as the console does and keeps each benchmark's rates.
class RateReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      for (const char* counter : {"items_per_second", "bytes_per_second"}) {
        const auto found = run.counters.find(counter);
        if (found != run.counters.end()) m_rates[run.benchmark_name()] = found->second.value;
      }
    }
  }

  double rate(const std::string& name) const {
    const auto found = m_rates.find(name);
    return found == m_rates.end() ? 0.0 : found->second;
  }

private:
  std::map<std::string, double> m_rates;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::string reads = "AttributeReads/real_time/threads:";
  const std::string versions = "VersionReads/real_time/threads:";
  const double one = reporter.rate(reads + "1");
  std::printf("\n");
  for (int threads : {1, 2, maxThreads}) {
    const double rate = reporter.rate(reads + std::to_string(threads));
    const double baseline = reporter.rate(versions + std::to_string(threads));
    std::printf("rate   attribute reads, %d client thread%s %10.0f /s", threads, threads == 1 ? ": " : "s:", rate);
    if (threads > 1 && one > 0.0) std::printf("   to 1 thread %5.2f", rate / one);
    if (baseline > 0.0) std::printf("   to a call without the store %5.2f", rate / baseline);
    std::printf("\n");
  }
  std::printf("rate   1e7 floats written in chunks, committed  %8.2f GB/s\n",
              reporter.rate("ChunkedWrite/real_time") / 1e9);
  std::printf("rate   1e7 floats read back from chunks         %8.2f GB/s\n",
              reporter.rate("ChunkedRead/real_time") / 1e9);
  benchmark::Shutdown();
  return 0;
}
