// The LAS module in-process: parsing the two large sample files (text already in memory),
// in MB of LAS text per second and seconds per file, with a baseline from the same run:
// copying the same text. Writing a parsed file back as LAS 2.0 is timed beside them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "Las.h"

namespace {

using namespace kelwell::las;

struct Sample {
  const char* benchmark;
  const char* file;
};
const Sample kSamples[] = {{"Parse/F03-02.las", "F03-02.las"}, {"Parse/P-135_out.LAS", "P-135_out.LAS"}};

std::string slurp(const std::string& name) {
  std::ifstream in(std::string(KELWELL_LAS_DATA_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CopyBaseline(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    std::string copy(text);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Parse(benchmark::State& state, const std::string& text, const std::string& name) {
  for (auto _ : state) {
    LasFile file = parse(text, name);
    benchmark::DoNotOptimize(file.curveSets.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Write(benchmark::State& state, const LasFile& file) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = write(file);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// Prints as the console does and keeps each benchmark's bytes per second.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto rate = run.counters.find("bytes_per_second");
      if (run.run_type == Run::RT_Iteration && rate != run.counters.end()) {
        rates[run.benchmark_name()] = rate->second.value;
      }
    }
  }
  std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::map<std::string, std::size_t> sizes;
  for (const Sample& sample : kSamples) {
    const std::string text = slurp(sample.file);
    if (text.empty()) {
      std::fprintf(stderr, "cannot read %s/%s\n", KELWELL_LAS_DATA_DIR, sample.file);
      return 1;
    }
    sizes[sample.benchmark] = text.size();
    benchmark::RegisterBenchmark(sample.benchmark, Parse, text, std::string(sample.file))
        ->Unit(benchmark::kMillisecond);
    const std::string written = std::string("Write/") + sample.file;
    sizes[written] = write(parse(text, sample.file)).size();
    benchmark::RegisterBenchmark(written.c_str(), Write, parse(text, sample.file))->Unit(benchmark::kMillisecond);
  }
  const std::string largest = slurp(kSamples[0].file);
  benchmark::RegisterBenchmark("CopyBaseline", CopyBaseline, largest)->Unit(benchmark::kMillisecond);

  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  const double baseline = reporter.rates["CopyBaseline"];
  for (const auto& [name, rate] : reporter.rates) {
    if (name == "CopyBaseline") continue;
    const double seconds = rate > 0.0 ? static_cast<double>(sizes[name]) / rate : 0.0;
    std::printf("MB/s  %-22s %9.1f   %.4f s per file   (copy baseline / this: %.0f)\n", name.c_str(), rate / 1e6,
                seconds, rate > 0.0 ? baseline / rate : 0.0);
  }
  benchmark::Shutdown();
  return 0;
}
