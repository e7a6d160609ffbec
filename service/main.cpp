// kelwelld: the well data service. See docs/service.md.
#include <malloc.h>
#include <signal.h>

#include <iostream>
#include <string>
#include <vector>

#include "Options.h"
#include "Service.h"

#ifndef KELWELL_VERSION
#define KELWELL_VERSION "0.0.0"
#endif

int main(int argc, char** argv) {
  using namespace kelwelld;
  Options options;
  try {
    options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::cerr << "kelwelld: " << e.what() << "\n";
    return 2;
  }
  if (options.help) {
    std::cout << usage();
    return 0;
  }
  if (options.version) {
    std::cout << "kelwelld " << KELWELL_VERSION << "\n";
    return 0;
  }

  // Bulk sample buffers (a log trace's index and values) up to 32 MiB, the
  // largest glibc takes from its heap, are kept there when freed, so that
  // the next read reuses them instead of faulting in fresh pages: faulting
  // in a fresh mapping costs more than moving the samples.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);

  // The ORB's threads inherit this mask, so SIGTERM and SIGINT reach only
  // the sigwait below and the service stops in order.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  try {
    Service service(options);
    std::cout << "kelwelld ready at " << service.corbaloc() << std::endl;
    int received = 0;
    sigwait(&stopSignals, &received);
  } catch (const StartError& e) {
    std::cerr << "kelwelld: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "kelwelld: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
