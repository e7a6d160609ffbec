// Bulk numbers through the value converters, in GB/s of float payload, and
// as a ratio against copying the same bytes with memcpy in the same run:
//   - 1e7 floats from the service's sequences to the platform's arrays
//     (makeKelFloatQuantities, makeKelFloatArray);
//   - 1e7 floats from the platform's arrays to the service's sequences
//     (makeDataQuantities, makeDataSequence).
// Target: at least 2 GB/s each way. makeDataQuantities looks its unit up in
// the service's catalogue, so a kelwelld on loopback is started for the run.
//
// Two choices keep the numbers about the conversion: the allocator keeps
// freed memory (a 40 MB block would otherwise be mapped afresh, and every
// page faulted in, on each iteration: the kernel's cost, which memcpy into a
// fresh buffer pays alike), and throughput is per CPU second of the
// converting thread, as the machine may be shared with other work.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_CoordinateConverter.h"
#include "kel_DataQuantityConverter.h"

namespace {

constexpr unsigned kSamples = 10000000;
constexpr double kBytes = kSamples * sizeof(float);

void connect() {
  static const bool connected = [] {
    kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
    if (!service.running()) service.start();
    setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
    return true;
  }();
  (void)connected;
}

EpTypes::DataSequence remoteSamples() {
  EpTypes::DataSequence sequence;
  EpTypes::FloatSeq floats;
  floats.length(kSamples);
  for (unsigned i = 0; i < kSamples; ++i) floats[i] = static_cast<float>(i) * 0.5f;
  sequence.floatValues(floats);
  return sequence;
}

kel_Array<float> platformSamples() {
  kel_Array<float> values;
  values.fill(kSamples, [](float* out, unsigned n) {
    for (unsigned i = 0; i < n; ++i) out[i] = static_cast<float>(i) * 0.5f;
  });
  return values;
}

void bytesPerSecond(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

// The baseline: the same payload copied into a fresh buffer.
void Memcpy(benchmark::State& state) {
  const std::vector<float> source(kSamples, 1.5f);
  for (auto _ : state) {
    std::unique_ptr<float[]> target(new float[kSamples]);
    std::memcpy(target.get(), source.data(), static_cast<std::size_t>(kBytes));
    benchmark::DoNotOptimize(target.get());
    benchmark::ClobberMemory();
  }
  bytesPerSecond(state);
}

void FromServiceQuantities(benchmark::State& state) {
  connect();
  EpiTypes::DataQuantities remote;
  remote.values = remoteSamples();
  for (auto _ : state) {
    kel_FloatQuantities values = kel_DataQuantityConverter::makeKelFloatQuantities(remote);
    benchmark::DoNotOptimize(values.getValues().size());
  }
  bytesPerSecond(state);
}

void ToServiceQuantities(benchmark::State& state) {
  connect();
  const kel_FloatQuantities values(kel_Unit::getUnit("m"), platformSamples());
  for (auto _ : state) {
    std::unique_ptr<EpiTypes::DataQuantities> remote = kel_DataQuantityConverter::makeDataQuantities(values);
    benchmark::DoNotOptimize(remote.get());
  }
  bytesPerSecond(state);
}

void FromServiceSequence(benchmark::State& state) {
  const EpTypes::DataSequence remote = remoteSamples();
  for (auto _ : state) {
    kel_Array<float> values = kel_CoordinateConverter::makeKelFloatArray(remote);
    benchmark::DoNotOptimize(values.size());
  }
  bytesPerSecond(state);
}

void ToServiceSequence(benchmark::State& state) {
  const kel_Array<float> values = platformSamples();
  for (auto _ : state) {
    std::unique_ptr<EpTypes::DataSequence> remote = kel_CoordinateConverter::makeDataSequence(values);
    benchmark::DoNotOptimize(remote.get());
  }
  bytesPerSecond(state);
}

BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(FromServiceQuantities)->Unit(benchmark::kMillisecond);
BENCHMARK(ToServiceQuantities)->Unit(benchmark::kMillisecond);
BENCHMARK(FromServiceSequence)->Unit(benchmark::kMillisecond);
BENCHMARK(ToServiceSequence)->Unit(benchmark::kMillisecond);

// Prints as the console does, then each conversion in GB/s (per CPU second)
// and against memcpy.
class ThroughputReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      m_seconds[run.benchmark_name()] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
    }
  }

  void throughput(const char* what, const std::string& name) {
    const auto found = m_seconds.find(name), baseline = m_seconds.find(nameOf("Memcpy"));
    if (found == m_seconds.end() || found->second <= 0.0) return;
    std::printf("GB/s   %-58s %8.2f  (target: at least 2)", what, kBytes / found->second / 1e9);
    if (baseline != m_seconds.end()) std::printf("  memcpy / this %6.2f", baseline->second / found->second);
    std::printf("\n");
  }

  std::string nameOf(const char* benchmark) const {
    for (const auto& entry : m_seconds)
      if (entry.first.rfind(benchmark, 0) == 0) return entry.first;
    return benchmark;
  }

private:
  std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ThroughputReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  const std::pair<const char*, const char*> rows[] = {
      {"1e7 floats, EpiTypes::DataQuantities -> kel_FloatQuantities", "FromServiceQuantities"},
      {"1e7 floats, kel_FloatQuantities -> EpiTypes::DataQuantities", "ToServiceQuantities"},
      {"1e7 floats, EpTypes::DataSequence -> kel_Array<float>", "FromServiceSequence"},
      {"1e7 floats, kel_Array<float> -> EpTypes::DataSequence", "ToServiceSequence"}};
  for (const auto& row : rows) reporter.throughput(row.first, reporter.nameOf(row.second));
  benchmark::Shutdown();
  kel_Connection::shutdown();
  return 0;
}
