// `kelwell import las` end to end: the two large sample files parsed in process (MB/s of LAS
// text) and imported into a kelwelld this program starts (seconds per file: read, parse, check,
// create the well, wellbore and one log trace per curve, in the file's curve order), then both
// files in one import, beside the figures of the reference LAS reader on machines of this kind,
// which is not available here to run side by side.
// --repeat N sets the runs per file (default 5; the best run counts).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Las.h"
#include "LasImport.h"
#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"

namespace {

struct Sample {
  const char* file;
  double referenceFast, referenceSlow;  // seconds the reference reader takes to read the file
};
const Sample kSamples[] = {{"F03-02.las", 0.07, 0.23}, {"P-135_out.LAS", 0.38, 0.65}};

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int run(int argc, char** argv) {
  int repeat = 5;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));

  kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
  if (!service.running()) service.start();
  setenv("KELWELL_SERVICE", service.corbaloc().c_str(), 1);
  kel_Connection::initialize();
  const kel_Session session = kel_Session::open("bench");

  std::printf("%-16s %12s %14s %14s %22s %10s\n", "file", "parse MB/s", "parse s", "import s", "reference s",
              "reference/this");
  int run = 0;
  for (const Sample& sample : kSamples) {
    const std::string path = std::string(KELWELL_LAS_DATA_DIR) + "/" + sample.file;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty()) {
      std::fprintf(stderr, "cannot read %s\n", path.c_str());
      return 1;
    }
    double parse = 1e9, import = 1e9;
    for (int r = 0; r < repeat; ++r) {
      const auto start = std::chrono::steady_clock::now();
      const kelwell::las::LasFile file = kelwell::las::parse(text, sample.file);
      parse = std::min(parse, secondsSince(start));
      if (file.curveSets.empty()) return 1;
    }
    for (int r = 0; r < repeat; ++r) {
      // A new project each time: every run creates its well, wellbore and traces.
      const kel_Project project = kel_Project::create(session, ("Import benchmark " + std::to_string(++run)).c_str());
      const auto start = std::chrono::steady_clock::now();
      const auto outcome = kelwell::cmd::importLasFiles(session, project, {path});
      import = std::min(import, secondsSince(start));
      if (outcome.front().outcome != kelwell::cmd::ImportedFile::Outcome::imported) {
        std::fprintf(stderr, "%s\n", outcome.front().error.c_str());
        return 1;
      }
    }
    std::printf("%-16s %12.1f %14.4f %14.4f %11.2f - %-8.2f %10.1f\n", sample.file, text.size() / parse / 1e6, parse,
                import, sample.referenceFast, sample.referenceSlow, sample.referenceFast / import);
  }
  // Both files in one call, as `kelwell import las F03-02.las P-135_out.LAS` imports them: on
  // threads of their own, so the service sees two writers at once.
  std::vector<std::string> both;
  double referenceBoth = 0;
  for (const Sample& sample : kSamples) {
    both.push_back(std::string(KELWELL_LAS_DATA_DIR) + "/" + sample.file);
    referenceBoth += sample.referenceFast;
  }
  double together = 1e9;
  for (int r = 0; r < repeat; ++r) {
    const kel_Project project = kel_Project::create(session, ("Import benchmark " + std::to_string(++run)).c_str());
    const auto start = std::chrono::steady_clock::now();
    const auto outcomes = kelwell::cmd::importLasFiles(session, project, both);
    together = std::min(together, secondsSince(start));
    for (const auto& outcome : outcomes) {
      if (outcome.outcome != kelwell::cmd::ImportedFile::Outcome::imported) {
        std::fprintf(stderr, "%s\n", outcome.error.c_str());
        return 1;
      }
    }
  }
  std::printf("%-16s %12s %14s %14.4f %11.2f %-10s %10.1f\n", "both at once", "", "", together, referenceBoth,
              "(sum)", referenceBoth / together);
  std::printf("\nreference/this: the reference reader's faster figure over this import end to end "
              "(target: at least 10); parsing target: at least 100 MB/s\n");
  kel_Connection::shutdown();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const kel_Exception& failure) {
    std::fprintf(stderr, "%s\n", failure.toString().c_str());
    return 1;
  }
}
