// Wellbore paths: minimum curvature over 1e4 survey stations and positions at
// 1e6 measured depths, in the path engine in process and through kel_WellBore
// against a kelwelld on loopback, in one run. Reports stations and positions
// per second (wall clock: the loopback cases wait for the service) and the
// ratio of each pair.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <EpiWell.hh>

#include "PathGeometry.h"
#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Coordinate.h"
#include "kel_Internal.h"
#include "kel_Well.h"
#include "kel_WellBore.h"

namespace {

using namespace kelwelld::engine;

constexpr std::size_t kStations = 10000;
constexpr std::size_t kDepths = 1000000;
constexpr double kSpacing = 10.0;   // metres between stations

// A slowly turning hole, as the engine's own benchmark has it.
SurveyStations wanderingSurvey() {
  SurveyStations s;
  for (std::size_t i = 0; i < kStations; ++i) {
    s.md.push_back(kSpacing * static_cast<double>(i));
    s.inclination.push_back(0.8 + 0.7 * std::sin(0.001 * static_cast<double>(i)));
    s.azimuth.push_back(0.002 * static_cast<double>(i));
  }
  return s;
}

std::vector<double> measuredDepths() {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> draw(0.0, kSpacing * (kStations - 1));
  std::vector<double> md(kDepths);
  for (double& value : md) value = draw(random);
  return md;
}

EpiTypes::DataQuantities remoteQuantities(const std::vector<double>& values, const kel_Unit& unit) {
  EpiTypes::DataQuantities q;
  EpTypes::DoubleSeq sequence(static_cast<CORBA::ULong>(values.size()));
  sequence.length(static_cast<CORBA::ULong>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) sequence[static_cast<CORBA::ULong>(i)] = values[i];
  q.values.doubleValues(sequence);
  q.unit = EpUnitOfMeasureService::Unit::_duplicate(
      static_cast<EpUnitOfMeasureService::Unit_ptr>(unit.getRemoteObject(kel_Internal())));
  return q;
}

struct Remote {
  kel_Session session;
  kel_Project project;
  kel_WellBore bore;
  kel_CoordSystem local;
};

// A kelwelld on loopback with one wellbore holding the wandering survey.
Remote& remote() {
  static Remote* instance = [] {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
    auto* r = new Remote;
    r->session = kel_Session::open("bench");
    r->project = kel_Project::create(r->session, "Path benchmarks");
    const kel_Well well = kel_Well::createNewWell(r->project, "Bench", kel_StringPair("UWI", "P-1"), r->session);
    r->bore = kel_WellBore::createNewWellBore(well, kel_StringPair("Bore", "P-1"), r->session);
    r->local = kel_CoordSystem();   // the native system: the wellbore's offsets and TVD
    return r;
  }();
  return *instance;
}

void setSurvey(const kel_WellBore& bore, const SurveyStations& stations) {
  auto* raw = static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal()));
  raw->setSurveyStations(remoteQuantities(stations.md, kel_Unit::getUnit("m")),
                         remoteQuantities(stations.inclination, kel_Unit::getUnit("rad")),
                         remoteQuantities(stations.azimuth, kel_Unit::getUnit("rad")));
}

void InProcessMinimumCurvature(benchmark::State& state) {
  const SurveyStations stations = wanderingSurvey();
  for (auto _ : state) {
    WellPath path = WellPath::fromSurvey(stations);
    benchmark::DoNotOptimize(path.last().tvd);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}

// The stations written, then the path computed from them and read back whole.
void LoopbackMinimumCurvature(benchmark::State& state) {
  const SurveyStations stations = wanderingSurvey();
  const kel_WellBore& bore = remote().bore;
  for (auto _ : state) {
    setSurvey(bore, stations);
    const kel_WellBore::PathData data = bore.getBoreData();
    benchmark::DoNotOptimize(data.column1.getValues().size());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}

void InProcessPositions(benchmark::State& state) {
  const WellPath path = WellPath::fromSurvey(wanderingSurvey());
  const std::vector<double> md = measuredDepths();
  std::vector<Position> positions(kDepths);
  for (auto _ : state) {
    path.at(md.data(), positions.data(), md.size());
    benchmark::DoNotOptimize(positions.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

void LoopbackPositions(benchmark::State& state) {
  Remote& r = remote();
  setSurvey(r.bore, wanderingSurvey());
  const std::vector<double> md = measuredDepths();
  kel_Array<float> values(static_cast<unsigned>(md.size()));
  for (unsigned i = 0; i < md.size(); ++i) values.set(i, static_cast<float>(md[i]));
  const kel_FloatQuantities depths(kel_Unit::getUnit("m"), values);
  for (auto _ : state) {
    const kel_CoordinateArray points = r.bore.getLocation(depths, r.local);
    benchmark::DoNotOptimize(points.getPoints().size());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

BENCHMARK(InProcessMinimumCurvature)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoopbackMinimumCurvature)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InProcessPositions)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoopbackPositions)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints as the console does and keeps each benchmark's items per second.
class RateReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      const auto rate = run.counters.find("items_per_second");
      if (rate != run.counters.end()) m_rates[run.benchmark_name()] = rate->second.value;
    }
  }

  void pair(const char* what, const char* unit, const std::string& inProcess, const std::string& loopback) {
    const auto a = m_rates.find(inProcess), b = m_rates.find(loopback);
    if (a == m_rates.end() || b == m_rates.end() || a->second <= 0.0) return;
    std::printf("rate   %-34s in process %10.4g %s/s, kel_WellBore on loopback %10.4g %s/s, ratio %.3f\n", what,
                a->second, unit, b->second, unit, b->second / a->second);
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
  std::printf("\n");
  reporter.pair("minimum curvature, 1e4 stations", "stations", "InProcessMinimumCurvature/real_time",
                "LoopbackMinimumCurvature/real_time");
  reporter.pair("positions at 1e6 measured depths", "positions", "InProcessPositions/real_time",
                "LoopbackPositions/real_time");
  benchmark::Shutdown();
  kel_Connection::shutdown();
  return 0;
}
