// Depth-to-time conversion of 1e6 depths through a velocity function of 3001
// samples (v(z) = 1800 + 0.6 z), measured in one run two ways:
//   - the time-depth engine in process (doubles in, doubles out);
//   - the same conversion asked of kelwelld over loopback with the raw stub
//     (convertDepthsToTimes: 1e6 floats there, 1e6 floats back).
// Reported: samples per second of each and the ratio wire / in-process.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <CosLifeCycle.hh>
#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "TimeDepth.h"

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

template <class Factory>
typename Factory::_var_type factoryOf(EpSession::Session_ptr session, const std::string& storeName) {
  CosLifeCycle::FactoryFinder_var finder = session->getFactoryFinder();
  CosLifeCycle::Key key;
  key.length(1);
  key[0].id = Factory::_PD_repoId;
  key[0].kind = storeName.c_str();
  CosLifeCycle::Factories_var found = finder->find_factories(key);
  return Factory::_narrow(found[0].in());
}

EpiTypes::DataQuantities floats(const std::vector<double>& values) {
  EpiTypes::DataQuantities q;
  EpTypes::FloatSeq seq;
  seq.length(static_cast<CORBA::ULong>(values.size()));
  for (CORBA::ULong i = 0; i < seq.length(); ++i) seq[i] = static_cast<float>(values[i]);
  q.values.floatValues(seq);
  return q;
}

// A stored function with the same samples on a wellbore whose depth datum is
// mean sea level, on a kelwelld started for the run.
EpiWell::WellVelocity_ptr servedFunction() {
  static EpiWell::WellVelocity_var function = [] {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    EpSession::SessionManager_var manager = kelwell_test::connectRaw(kelwell_test::clientOrb(), service.corbaloc());
    EpSession::Session_var session = manager->openSession("bench");
    EpSession::Project_var project = session->createProject("Velocity benchmarks");
    const std::string store = CORBA::String_var(project->getStoreName()).in();
    CosPropertyService::Property identifier;
    identifier.property_name = "UWI";
    identifier.property_value <<= "V";
    EpiWell::Well_var well =
        factoryOf<EpiWell::NewWellFactory>(session.in(), store)->createWell(project.in(), "Bench", identifier,
                                                                            session.in());
    EpiWell::WellBore_var bore =
        factoryOf<EpiWell::NewWellBoreFactory>(session.in(), store)->createWellBore(well.in(), identifier,
                                                                                    session.in());
    bore->setElevationDatum(EpiWell::WellBore::MEAN_SEA_LEVEL);
    const Gradient g = gradient();
    EpiWell::WellVelocity::WellVelocityData data;
    data.times = floats(g.twt);
    data.depths = floats(g.depth);
    data.firstVelocities = data.secondVelocities = data.thirdVelocities = floats({});
    EpiTypes::DataQuantity datum;
    datum.value.floatValue(0.0f);
    EpiWell::WellVelocity_var v = factoryOf<EpiWell::NewWellVelocityFactory>(session.in(), store)
                                      ->createWellVelocity(bore.in(), "gradient", "bench", datum, data, session.in());
    EpiTypes::DataQuantity extend;
    extend.value.floatValue(1800.0f);
    v->setExtendViShallow(extend);
    extend.value.floatValue(3600.0f);
    v->setExtendViDeep(extend);
    return v;
  }();
  return function.in();
}

void OverTheWire(benchmark::State& state) {
  EpiWell::WellVelocity_ptr function = servedFunction();
  const EpiWell::Depths depths{floats(uniformDepths()), EpiWell::DEPTH_TVD};
  for (auto _ : state) {
    EpiWell::Times_var times =
        function->convertDepthsToTimes(depths, EpTypes::FLOAT_DATA, EpUnitOfMeasureService::Unit::_nil(),
                                       EpiWell::TIME_TWT);
    benchmark::DoNotOptimize(times->values.values.floatValues().get_buffer());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kDepths));
}

BENCHMARK(InProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(OverTheWire)->Unit(benchmark::kMillisecond)->UseRealTime();

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
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double local = reporter.rates["InProcess"];
  const double wire = reporter.rates["OverTheWire/real_time"];
  std::printf("\nsamples/s  1e6 depths to times, engine in process  %12.0f\n", local);
  std::printf("samples/s  1e6 depths to times, raw stub over loopback %10.0f\n", wire);
  if (local > 0.0 && wire > 0.0)
    std::printf("ratio  wire / in-process time per conversion   %8.2f\n", local / wire);
  return 0;
}
