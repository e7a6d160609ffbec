// The service's numeric engines in-process, in samples per second, with a
// baseline from the same run: copying the same number of doubles.
//   - time-depth: 1e6 depths (TVD) converted to two-way times through a
//     function of 3000 samples;
//   - minimum curvature over 1e4 survey stations;
//   - positions at 1e6 measured depths on that path;
//   - a log trace of 1e7 samples (one value per index value, 5 % nulls):
//     selection by a trace-value range, and its extremes with where they occur.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "PathGeometry.h"
#include "TimeDepth.h"
#include "TraceSamples.h"

namespace {

using namespace kelwelld::engine;

constexpr std::size_t kDepths = 1000000;
constexpr std::size_t kStations = 10000;
constexpr std::size_t kTraceSamples = 10000000;

std::vector<double> uniform(std::size_t n, double low, double high) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> draw(low, high);
  std::vector<double> values(n);
  for (double& v : values) v = draw(random);
  return values;
}

// v(z) = 1800 + 0.6 z sampled every metre to 3000 m.
VelocityFunction gradientFunction() {
  std::vector<double> twt, depth;
  for (int z = 0; z <= 3000; ++z) {
    depth.push_back(z);
    twt.push_back(2.0 / 0.6 * std::log1p(0.6 * z / 1800.0));
  }
  VelocityFunction function;
  function.setTimeDepths(twt, depth);
  function.setDatum(0.0);
  function.setExtendShallow(1800.0);
  function.setExtendDeep(3600.0);
  return function;
}

// A slowly turning hole: inclination and azimuth wander smoothly.
SurveyStations wanderingSurvey() {
  SurveyStations s;
  for (std::size_t i = 0; i < kStations; ++i) {
    s.md.push_back(10.0 * static_cast<double>(i));
    s.inclination.push_back(0.8 + 0.7 * std::sin(0.001 * static_cast<double>(i)));
    s.azimuth.push_back(0.002 * static_cast<double>(i));
  }
  return s;
}

void CopyBaseline(benchmark::State& state) {
  const std::vector<double> depths = uniform(kDepths, 0.0, 3500.0);
  for (auto _ : state) {
    std::vector<double> copy(depths);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

void DepthsToTimes(benchmark::State& state) {
  const VelocityFunction function = gradientFunction();
  const VerticalPath vertical;
  const DepthKinds kinds({DepthDatum::KellyBushing, 25.0, kUnset}, vertical);
  const std::vector<double> depths = uniform(kDepths, 0.0, 3500.0);
  for (auto _ : state) {
    std::vector<double> times = depthsToTimes(function, kinds, depths, DepthKind::TVD, TimeKind::TWT);
    benchmark::DoNotOptimize(times.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

void MinimumCurvature(benchmark::State& state) {
  const SurveyStations stations = wanderingSurvey();
  for (auto _ : state) {
    WellPath path = WellPath::fromSurvey(stations);
    benchmark::DoNotOptimize(path.last().tvd);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kStations));
}

void PositionsAtMeasuredDepths(benchmark::State& state) {
  const WellPath path = WellPath::fromSurvey(wanderingSurvey());
  const std::vector<double> mds = uniform(kDepths, 0.0, 10.0 * (kStations - 1));
  std::vector<Position> positions(kDepths);
  for (auto _ : state) {
    path.at(mds.data(), positions.data(), mds.size());
    benchmark::DoNotOptimize(positions.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

// A gamma-ray-like log every 0.1524 m from 100 m, values 0 to 150 API, 5 % nulls.
const TraceSamples& bigTrace() {
  static const TraceSamples trace = [] {
    constexpr float kNull = -999.25f;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<float> value(0.0f, 150.0f);
    std::bernoulli_distribution missing(0.05);
    std::vector<double> index(kTraceSamples);
    std::vector<float> values(kTraceSamples);
    for (std::size_t i = 0; i < kTraceSamples; ++i) {
      index[i] = 100.0 + 0.1524 * static_cast<double>(i);
      values[i] = missing(random) ? kNull : value(random);
    }
    TraceSamples samples(1, kNull);
    samples.replace(std::move(index), std::move(values));
    return samples;
  }();
  return trace;
}

void TraceValueRange(benchmark::State& state) {
  const TraceSamples& trace = bigTrace();
  for (auto _ : state) {
    TraceSelection selection = trace.byValueRange(trace.index(), 50.0, 100.0);  // about a third
    benchmark::DoNotOptimize(selection.values.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kTraceSamples));
}

void TraceExtremes(benchmark::State& state) {
  const TraceSamples& trace = bigTrace();
  for (auto _ : state) {
    kelwelld::engine::TraceExtremes extremes = trace.extremes(trace.index());
    benchmark::DoNotOptimize(extremes.maximum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kTraceSamples));
}

BENCHMARK(CopyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(DepthsToTimes)->Unit(benchmark::kMillisecond);
BENCHMARK(MinimumCurvature)->Unit(benchmark::kMillisecond);
BENCHMARK(PositionsAtMeasuredDepths)->Unit(benchmark::kMillisecond);
BENCHMARK(TraceValueRange)->Unit(benchmark::kMillisecond);
BENCHMARK(TraceExtremes)->Unit(benchmark::kMillisecond);

// Prints as the console does and keeps each benchmark's samples per second.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto rate = run.counters.find("items_per_second");
      if (run.run_type == Run::RT_Iteration && rate != run.counters.end())
        rates[run.benchmark_name()] = rate->second.value;
    }
  }
  std::map<std::string, double> rates;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  const double baseline = reporter.rates["CopyBaseline"];
  for (const auto& [name, rate] : reporter.rates)
    std::printf("samples/s  %-28s %14.0f   (copy baseline / this: %.1f)\n", name.c_str(), rate,
                rate > 0.0 ? baseline / rate : 0.0);
  benchmark::Shutdown();
  return 0;
}
