// A bulk transfer to kelwelld: a million floats (4 MB) in one request,
// against a call carrying one float on the same connection. The service
// unmarshals the whole sequence, then refuses it as an identifier, so the
// time is the ORB's and the transport's, both ways.
// KELWELL_BENCH_SERVICE=<corbaloc> measures a service already running
// (another build, for a before-and-after); otherwise one is started.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <EpiWell.hh>

#include "ServiceProcess.h"

namespace {

struct Target {
  EpSession::Session_var session;
  EpSession::Project_var project;
  EpiWell::NewWellFactory_var factory;
};

Target& target() {
  static Target* instance = [] {
    std::string corbaloc;
    if (const char* given = std::getenv("KELWELL_BENCH_SERVICE")) {
      corbaloc = given;
    } else {
      kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
      corbaloc = service.corbaloc();
    }
    auto* t = new Target;
    EpSession::SessionManager_var manager =
        kelwell_test::connectRaw(kelwell_test::clientOrb(), corbaloc);
    t->session = manager->openSession("bench");
    const std::string name = "transfer-" + std::to_string(getpid());
    t->project = t->session->createProject(name.c_str());
    CORBA::String_var store = t->project->getStoreName();
    CosLifeCycle::FactoryFinder_var finder = t->session->getFactoryFinder();
    CosLifeCycle::Key key;
    key.length(1);
    key[0].id = EpiWell::_tc_NewWellFactory->id();
    key[0].kind = store.in();
    CosLifeCycle::Factories_var found = finder->find_factories(key);
    t->factory = EpiWell::NewWellFactory::_narrow(found[0]);
    return t;
  }();
  return *instance;
}

void SendFloats(benchmark::State& state) {
  Target& t = target();
  EpTypes::FloatSeq floats;
  floats.length(static_cast<CORBA::ULong>(state.range(0)));
  for (CORBA::ULong i = 0; i < floats.length(); ++i) floats[i] = static_cast<float>(i) * 0.5f;
  CosPropertyService::Property identifier;
  identifier.property_name = "UWI";
  identifier.property_value <<= floats;
  for (auto _ : state) {
    try {
      EpiWell::Well_var well = t.factory->createWell(t.project.in(), "bulk", identifier, t.session.in());
    } catch (const EpEntity::ValidationException&) {
    }
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * 4);
}

} // namespace

BENCHMARK(SendFloats)->Arg(1)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
