// Log trace samples over the wire, as ratios and rates measured in one run
// against a kelwelld on loopback with a temporary store:
//   - a 1e6-sample trace read whole through kel_WellLogTrace::getTraceData
//     against the raw stub call on the same trace, interleaved (throughput
//     ratio wrapper / raw; target at least 0.8);
//   - a 5e7-sample trace written and read back whole, end to end, in GB/s
//     of index and trace values (target: reading at least 1 GB/s), with the
//     service's peak memory against the size of the trace;
//   - 1e3 appends of 1e3 samples against one write of 1e6 samples.
// Sizes can be scaled down with --scale N (divides every sample count).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <EpiWell.hh>

#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellLogTrace.h"

namespace {

using Clock = std::chrono::steady_clock;
using Trace = kel_WellLogTrace;

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// A log of n samples whose index starts after `after`: successive floats
// (a regular step would stop increasing in float precision long before 5e7
// samples), values a saw-tooth of gamma-ray-like numbers.
Trace::TraceData logOf(std::size_t n, float after = 1000.0f) {
  kel_Array<float> index, values;
  index.fill(static_cast<unsigned>(n), [&](float* out, unsigned count) {
    float x = after;
    for (unsigned i = 0; i < count; ++i) out[i] = x = std::nextafter(x, 1e30f);
  });
  values.fill(static_cast<unsigned>(n), [](float* out, unsigned count) {
    for (unsigned i = 0; i < count; ++i) out[i] = static_cast<float>(40.0 + 30.0 * ((i * 7919u) % 1000u) / 1000.0);
  });
  kel_Array<kel_Array<float>> inner(1);
  inner.set(0, values);
  Trace::TraceData data;
  data.index = kel_FloatQuantities(kel_Unit::getUnit("m"), index);
  data.trace = kel_FloatQuantitiesSeq(kel_Unit::getUnit("gAPI"), inner);
  return data;
}

float lastIndexOf(const Trace::TraceData& data) {
  const kel_Array<float>& index = data.index.getValues();
  return index[index.size() - 1];
}

// The service's peak resident memory (VmHWM) in bytes; 0 when not found.
double servicePeakBytes() {
  DIR* proc = opendir("/proc");
  if (!proc) return 0.0;
  double peak = 0.0;
  while (dirent* entry = readdir(proc)) {
    const std::string pid = entry->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream status("/proc/" + pid + "/status");
    std::string line, name;
    long parent = -1, hwm = 0;
    while (std::getline(status, line)) {
      if (line.rfind("Name:", 0) == 0) name = line.substr(line.find_first_not_of(" \t", 5));
      if (line.rfind("PPid:", 0) == 0) parent = std::atol(line.c_str() + 5);
      if (line.rfind("VmHWM:", 0) == 0) hwm = std::atol(line.c_str() + 6);
    }
    if (name == "kelwelld" && parent == getpid()) peak = static_cast<double>(hwm) * 1024.0;
  }
  closedir(proc);
  return peak;
}

} // namespace

int run(int argc, char** argv) {
  std::size_t scale = 1;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--scale") == 0) scale = std::max<std::size_t>(1, std::strtoul(argv[i + 1], nullptr, 10));
  const std::size_t million = 1000000 / scale, big = 50000000 / scale, pieces = 1000 / std::min<std::size_t>(scale, 1000);

  kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
  if (!service.running()) service.start();
  setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
  const kel_Session session = kel_Session::open("bench");
  const kel_Project project = kel_Project::create(session, "Trace benchmarks");
  const kel_Well well = kel_Well::createNewWell(project, "Bench", kel_StringPair("UWI", "T-1"), session);
  const kel_WellBore bore = kel_WellBore::createNewWellBore(well, kel_StringPair("Bore", "00"), session);
  const kel_Unit metres = kel_Unit::getUnit("m");

  // --- wrapper against raw stub, 1e6 samples
  Trace trace = Trace::createNewWellLogTrace(bore, "GR", "GR", "bench", logOf(million), -999.25f, session);
  auto raw = static_cast<EpiWell::WellLogTrace_ptr>(trace.getRemoteObject(kel_Internal()));
  auto metresRef = static_cast<EpUnitOfMeasureService::Unit_ptr>(metres.getRemoteObject(kel_Internal()));
  auto timeRaw = [&] {
    const auto start = Clock::now();
    EpiWell::WellLogTrace::TraceData_var data = raw->getTraceData(metresRef, EpTypes::FLOAT_DATA, EpTypes::FLOAT_DATA, 0);
    if (data->index.values.floatValues().length() != million) std::abort();
    return seconds(start);
  };
  auto timeWrapper = [&] {
    const auto start = Clock::now();
    const Trace::TraceData data = trace.getTraceData(metres, Trace::INDEX_KIND_0);
    if (data.index.getValues().size() != million) std::abort();
    return seconds(start);
  };
  timeRaw();
  timeWrapper();
  std::vector<double> ratios, rawTimes;
  for (int round = 0; round < 15; ++round) {
    double rawTime, wrapperTime;
    if (round % 2 == 0) {
      rawTime = timeRaw();
      wrapperTime = timeWrapper();
    } else {
      wrapperTime = timeWrapper();
      rawTime = timeRaw();
    }
    rawTimes.push_back(rawTime);
    ratios.push_back(rawTime / wrapperTime);
  }
  std::printf("rate   %-66s %8.3f GB/s\n", "1e6-sample trace read whole, raw stub",
              static_cast<double>(million) * 8 / median(rawTimes) / 1e9);
  std::printf("ratio  %-66s %8.3f  (target: at least 0.8)\n",
              "getTraceData throughput, wrapper / raw stub, 1e6 samples, interleaved", median(ratios));

  // --- appends against one write
  Trace appended = Trace::createNewWellLogTrace(bore, "GR", "GR", "bench", logOf(0), -999.25f, session);
  const std::size_t piece = million / pieces;
  std::vector<Trace::TraceData> chunks;
  for (std::size_t p = 0; p < pieces; ++p) chunks.push_back(logOf(piece, p == 0 ? 1000.0f : lastIndexOf(chunks.back())));
  // The first and the last tenth of the appends: what one append costs should
  // not grow with what is stored already.
  std::vector<double> appendTimes;
  for (const Trace::TraceData& chunk : chunks) {
    const auto one = Clock::now();
    appended.addNValues(chunk);
    appendTimes.push_back(seconds(one));
  }
  double appendTime = 0.0, firstTenth = 0.0, lastTenth = 0.0;
  for (std::size_t p = 0; p < appendTimes.size(); ++p) {
    appendTime += appendTimes[p];
    if (p < pieces / 10) firstTenth += appendTimes[p];
    if (p >= pieces - pieces / 10) lastTenth += appendTimes[p];
  }
  auto start = Clock::now();
  const Trace::TraceData whole = logOf(million);
  start = Clock::now();
  appended.setTraceData(whole);
  const double writeTime = seconds(start);
  std::printf("ratio  %-66s %8.3f\n", "1e3 appends of 1e3 samples / one write of 1e6 samples", appendTime / writeTime);
  if (firstTenth > 0)
    std::printf("ratio  %-66s %8.3f  (target: about 1)\n", "the last 100 appends / the first 100 appends",
                lastTenth / firstTenth);

  // --- 5e7 samples end to end
  const double bytes = static_cast<double>(big) * 2 * sizeof(float);
  const Trace::TraceData log = logOf(big);
  start = Clock::now();
  Trace large = Trace::createNewWellLogTrace(bore, "GR", "GR", "bench", log, -999.25f, session);
  const double createTime = seconds(start);
  std::vector<double> readTimes;
  for (int round = 0; round < 3; ++round) {
    start = Clock::now();
    const Trace::TraceData back = large.getTraceData(metres, Trace::INDEX_KIND_0);
    readTimes.push_back(seconds(start));
    if (back.index.getValues().size() != big) std::abort();
  }
  std::printf("rate   %-66s %8.3f GB/s\n", "5e7-sample trace created (written) in one call", bytes / createTime / 1e9);
  std::printf("rate   %-66s %8.3f GB/s  (target: at least 1)\n", "5e7-sample trace read whole through the wrapper",
              bytes / median(readTimes) / 1e9);
  const double peak = servicePeakBytes();
  if (peak > 0) std::printf("ratio  %-66s %8.3f\n", "service peak memory / size of the 5e7-sample trace", peak / bytes);
  kel_Connection::shutdown();
  return 0;
}

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const kel_Exception& e) {
    std::fprintf(stderr, "failed: %s\nthe service said: %s\n", e.toString().c_str(),
                 kelwell_test::sharedService().standardError().c_str());
    return 1;
  }
}
