// Depth-to-time conversion of 1e6 depths through a velocity function of 3001
// samples (v(z) = 1800 + 0.6 z), measured in one run two ways:
//   - the time-depth engine in process (doubles in, doubles out);
//   - the same conversion asked of kelwelld over loopback with the raw stub
//     (convertDepthsToTimes: 1e6 floats there, 1e6 floats back);
//   - the same through kel_WellVelocity.
// Reported: samples per second of each, the ratios wire / in-process and
// wrapper / raw stub.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "TimeDepth.h"
#include "kel_Connection.h"
#include "kel_StringPair.h"
#include "kel_Well.h"
#include "kel_WellVelocity.h"

namespace {

using namespace kelwelld::engine;

constexpr std::size_t kDepths = 1000000;

std::vector<double> uniformDepths() {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> draw(0.0, 3500.0);
  std::vector<double> values(kDepths);
  for (double& v : values) v = draw(random);
  return values;
}

struct Gradient {
  std::vector<double> twt, depth;
};

Gradient gradient() {
  Gradient g;
  for (int z = 0; z <= 3000; ++z) {
    g.depth.push_back(z);
    g.twt.push_back(2.0 / 0.6 * std::log1p(0.6 * z / 1800.0));
  }
  return g;
}

void InProcess(benchmark::State& state) {
  const Gradient g = gradient();
  VelocityFunction function;
  function.setTimeDepths(g.twt, g.depth);
  function.setDatum(0.0);
  function.setExtendShallow(1800.0);
  function.setExtendDeep(3600.0);
  const VerticalPath vertical;
  const DepthKinds kinds({DepthDatum::MeanSeaLevel, kUnset, kUnset}, vertical);
  const std::vector<double> depths = uniformDepths();
  for (auto _ : state) {
    std::vector<double> times = depthsToTimes(function, kinds, depths, DepthKind::TVD, TimeKind::TWT);
    benchmark::DoNotOptimize(times.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

EpiTypes::DataQuantities floats(const std::vector<double>& values) {
  EpiTypes::DataQuantities q;
  EpTypes::FloatSeq seq;
  seq.length(static_cast<CORBA::ULong>(values.size()));
  for (CORBA::ULong i = 0; i < seq.length(); ++i) seq[i] = static_cast<float>(values[i]);
  q.values.floatValues(seq);
  return q;
}

kel_FloatQuantities kelFloats(const std::vector<double>& values, const char* unit) {
  kel_Array<float> array;
  array.fill(static_cast<unsigned>(values.size()), [&](float* elements, unsigned n) {
    for (unsigned i = 0; i < n; ++i) elements[i] = static_cast<float>(values[i]);
  });
  return kel_FloatQuantities(kel_Unit::getUnit(unit), array);
}

// A stored function with the same samples on a wellbore whose depth datum is
// mean sea level, made through the library on a kelwelld started for the run.
const kel_WellVelocity& servedFunction() {
  static const kel_WellVelocity* function = [] {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
    const kel_Session session = kel_Session::open("bench");
    const kel_Project project = kel_Project::create(session, "Velocity benchmarks");
    const kel_Well well = kel_Well::createNewWell(project, "Bench", kel_StringPair("UWI", "V"), session);
    kel_WellBore bore = kel_WellBore::createNewWellBore(well, kel_StringPair("UWI", "V"), session);
    bore.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_4);  // mean sea level
    const Gradient g = gradient();
    const kel_WellVelocity::WellVelocityData data{kelFloats(g.twt, "s"), kelFloats(g.depth, "m"),
                                                  kelFloats({}, "m/s"), kelFloats({}, "m/s"), kelFloats({}, "m/s")};
    const kel_Unit metres = kel_Unit::getUnit("m"), metresPerSecond = kel_Unit::getUnit("m/s");
    auto* v = new kel_WellVelocity(kel_WellVelocity::createNewWellVelocity(
        bore, "gradient", "bench", kel_FloatQuantity(metres, 0.0f), data, session));
    v->setExtendViShallow(kel_FloatQuantity(metresPerSecond, 1800.0f));
    v->setExtendViDeep(kel_FloatQuantity(metresPerSecond, 3600.0f));
    return v;
  }();
  return *function;
}

void OverTheWire(benchmark::State& state) {
  auto function = static_cast<EpiWell::WellVelocity_ptr>(servedFunction().getRemoteObject(kel_Internal()));
  const EpiWell::Depths depths{floats(uniformDepths()), EpiWell::DEPTH_TVD};
  for (auto _ : state) {
    EpiWell::Times_var times =
        function->convertDepthsToTimes(depths, EpTypes::FLOAT_DATA, EpUnitOfMeasureService::Unit::_nil(),
                                       EpiWell::TIME_TWT);
    benchmark::DoNotOptimize(times->values.values.floatValues().get_buffer());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

// The same conversion through kel_WellVelocity: the depths go out and the
// times come back through the library's list conversions.
void ThroughTheWrapper(benchmark::State& state) {
  const kel_WellVelocity& function = servedFunction();
  const kel_WellTypes::Depths depths{kelFloats(uniformDepths(), "m"), kel_WellTypes::DEPTH_TYPE_1};  // TVD
  for (auto _ : state) {
    const kel_WellTypes::Times times = function.convertDepthsToTimes(depths, kel_Unit(), kel_WellTypes::TIME_TYPE_0);
    benchmark::DoNotOptimize(&times);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

BENCHMARK(InProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(OverTheWire)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ThroughTheWrapper)->Unit(benchmark::kMillisecond)->UseRealTime();

class RateReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      rates[run.benchmark_name()] = static_cast<double>(kDepths) / seconds;
    }
  }
  std::map<std::string, double> rates;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateReporter reporter;
  try {
    servedFunction();
  } catch (const kel_Exception& failure) {
    std::fprintf(stderr, "The velocity function could not be made:\n%s\n", failure.toString().str().c_str());
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double local = reporter.rates["InProcess"];
  const double wire = reporter.rates["OverTheWire/real_time"];
  const double wrapper = reporter.rates["ThroughTheWrapper/real_time"];
  std::printf("\nsamples/s  1e6 depths to times, engine in process  %12.0f\n", local);
  std::printf("samples/s  1e6 depths to times, raw stub over loopback %10.0f\n", wire);
  if (local > 0.0 && wire > 0.0)
    std::printf("ratio  wire / in-process time per conversion   %8.2f\n", local / wire);
  std::printf("samples/s  1e6 depths to times, kel_WellVelocity over loopback %6.0f\n", wrapper);
  if (wire > 0.0 && wrapper > 0.0)
    std::printf("ratio  kel_WellVelocity / raw stub time per conversion %6.2f\n", wire / wrapper);
  benchmark::Shutdown();
  kel_Connection::shutdown();
  return 0;
}
