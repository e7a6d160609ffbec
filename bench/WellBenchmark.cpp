// What the wrappers cost, as ratios against a baseline measured in the same
// run on the same objects:
//   - a kel_Well getter against the raw stub call on the same remote well
//     (target: at most 1.1);
//   - kel_Array<kel_Well>: a copy (shares the body) against a set on a shared
//     body (copies every element, narrowing and counting each reference).
// A kelwelld on loopback with a temporary store is started for the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Well.h"

namespace {

struct Wells {
  kel_Session session;
  kel_Project project;
  kel_Well well;
  std::vector<kel_Well> more;
};

Wells& wells() {
  static Wells* instance = [] {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
    auto* w = new Wells;
    w->session = kel_Session::open("bench");
    w->project = kel_Project::create(w->session, "Benchmarks");
    w->well = kel_Well::createNewWell(w->project, "Bench", kel_StringPair("UWI", "B-1"), w->session);
    w->well.setCountry("Norway");
    for (int i = 0; i < 4; ++i)
      w->more.push_back(kel_Well::createNewWell(w->project, "More",
                                                kel_StringPair("UWI", std::to_string(i).c_str()), w->session));
    return w;
  }();
  return *instance;
}

void RawStubGetCountry(benchmark::State& state) {
  EpiWell::Well_ptr raw = static_cast<EpiWell::Well_ptr>(wells().well.getRemoteObject(kel_Internal()));
  for (auto _ : state) {
    CORBA::String_var country = raw->getCountry();
    benchmark::DoNotOptimize(country.in());
  }
}

void WrapperGetCountry(benchmark::State& state) {
  const kel_Well& well = wells().well;
  for (auto _ : state) {
    kel_cppUtil::String country = well.getCountry();
    benchmark::DoNotOptimize(country.c_str());
  }
}

// The two calls interleaved in small batches, alternating which goes first,
// so that both see the same load on the machine; the ratio is the median of
// the batches' ratios. Counters: raw_ns and wrapper_ns per call, ratio.
void GetterInterleaved(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const kel_Well& well = wells().well;
  EpiWell::Well_ptr raw = static_cast<EpiWell::Well_ptr>(well.getRemoteObject(kel_Internal()));
  constexpr int batch = 8;
  auto timeRaw = [&] {
    const auto start = Clock::now();
    for (int i = 0; i < batch; ++i) {
      CORBA::String_var country = raw->getCountry();
      benchmark::DoNotOptimize(country.in());
    }
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  };
  auto timeWrapper = [&] {
    const auto start = Clock::now();
    for (int i = 0; i < batch; ++i) {
      kel_cppUtil::String country = well.getCountry();
      benchmark::DoNotOptimize(country.c_str());
    }
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  };
  std::vector<double> ratios;
  double rawTotal = 0.0, wrapperTotal = 0.0;
  bool rawFirst = true;
  for (auto _ : state) {
    double rawTime, wrapperTime;
    if (rawFirst) {
      rawTime = timeRaw();
      wrapperTime = timeWrapper();
    } else {
      wrapperTime = timeWrapper();
      rawTime = timeRaw();
    }
    rawFirst = !rawFirst;
    rawTotal += rawTime;
    wrapperTotal += wrapperTime;
    ratios.push_back(wrapperTime / rawTime);
  }
  if (ratios.empty()) return;
  std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
  const double calls = static_cast<double>(ratios.size()) * batch;
  state.counters["raw_ns"] = rawTotal / calls;
  state.counters["wrapper_ns"] = wrapperTotal / calls;
  state.counters["ratio"] = ratios[ratios.size() / 2];
}

kel_Array<kel_Well> arrayOf(unsigned n) {
  kel_Array<kel_Well> array(n);
  const std::vector<kel_Well>& more = wells().more;
  for (unsigned i = 0; i < n; ++i) array.set(i, more[i % more.size()]);
  return array;
}

void ArrayCopy(benchmark::State& state) {
  const kel_Array<kel_Well> shared = arrayOf(static_cast<unsigned>(state.range(0)));
  for (auto _ : state) {
    kel_Array<kel_Well> copy(shared);
    benchmark::DoNotOptimize(copy.size());
  }
}

void ArraySetOnSharedBody(benchmark::State& state) {
  const kel_Array<kel_Well> shared = arrayOf(static_cast<unsigned>(state.range(0)));
  const kel_Well& well = wells().well;
  for (auto _ : state) {
    kel_Array<kel_Well> copy(shared);
    copy.set(0, well); // the body is shared: this handle gets a copy of every element first
    benchmark::DoNotOptimize(copy.size());
  }
}

BENCHMARK(RawStubGetCountry);
BENCHMARK(WrapperGetCountry);
BENCHMARK(GetterInterleaved)->MinTime(0.5);
BENCHMARK(ArrayCopy)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(ArraySetOnSharedBody)->Arg(10)->Arg(100)->Arg(1000);

// Prints as the console does and keeps each benchmark's time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      m_times[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
      const auto ratio = run.counters.find("ratio");
      if (ratio != run.counters.end()) m_counted[run.benchmark_name()] = ratio->second.value;
    }
  }

  // A ratio a benchmark measured itself.
  void counted(const char* what, const std::string& name, const char* target) {
    const auto found = m_counted.find(name);
    if (found != m_counted.end()) std::printf("ratio  %-66s %8.3f%s\n", what, found->second, target);
  }

  // time(numerator) / time(denominator), printed with what it measures.
  void ratio(const char* what, const std::string& numerator, const std::string& denominator,
             const char* target) {
    const auto n = m_times.find(numerator), d = m_times.find(denominator);
    if (n == m_times.end() || d == m_times.end() || d->second <= 0.0) return;
    std::printf("ratio  %-66s %8.3f%s\n", what, n->second / d->second, target);
  }

private:
  std::map<std::string, double> m_times;
  std::map<std::string, double> m_counted;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  reporter.counted("kel_Well::getCountry / raw stub getCountry, interleaved",
                   "GetterInterleaved/min_time:0.500", "  (target: at most 1.1)");
  reporter.ratio("kel_Well::getCountry / raw stub getCountry, one after the other", "WrapperGetCountry",
                 "RawStubGetCountry", "");
  for (const char* n : {"10", "100", "1000"}) {
    const std::string what = std::string("kel_Array<kel_Well>(") + n + "): set on a shared body / copy";
    reporter.ratio(what.c_str(), std::string("ArraySetOnSharedBody/") + n, std::string("ArrayCopy/") + n, "");
  }
  benchmark::Shutdown();
  kel_Connection::shutdown();
  return 0;
}
