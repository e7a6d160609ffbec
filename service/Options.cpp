#include "Options.h"

#include <cerrno>
#include <cstdlib>

namespace kelwelld {

namespace {

unsigned long number(const std::string& option, const std::string& text, unsigned long low,
                     unsigned long high) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError(option + " needs a whole number, not \"" + text + "\"");
  errno = 0;
  const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < low || value > high)
    throw UsageError(option + " must lie between " + std::to_string(low) + " and " +
                     std::to_string(high) + ", not " + text);
  return value;
}

} // namespace

std::string usage() {
  return "usage: kelwelld --store PATH [options]\n"
         "\n"
         "The well data service: wells and wellbores in a SQLite store, served through CORBA.\n"
         "\n"
         "  --store PATH          SQLite file to open or create (\":memory:\" for one held in memory)\n"
         "  --host H              address to listen on (default 127.0.0.1; 0.0.0.0 for every interface)\n"
         "  --port P              port to listen on (default 18110; 0 for an ephemeral port)\n"
         "  --ior-file F          write the entry point's stringified reference to F (mode 0600)\n"
         "  --unit-system S       default unit system: metric or field (default metric)\n"
         "  --crs NAME            default coordinate system (default EPSG:4326)\n"
         "  --max-message-mb N    largest message in MiB (default 512)\n"
         "  --call-timeout-ms N   time limit of the service's own calls, such as event pushes\n"
         "                        (default 10000)\n"
         "  --event-queue N       events that may wait for one subscriber before it is dropped\n"
         "                        (default 10000)\n"
         "  --fault-injection     serve the fault injector (tests only)\n"
         "  --help                print this text\n"
         "  --version             print the version\n"
         "\n"
         "Once ready it prints \"kelwelld ready at corbaloc:iiop:<host>:<port>/kelwell\".\n";
}

Options parseOptions(const std::vector<std::string>& arguments) {
  Options options;
  bool haveStore = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    std::string value;
    bool inlineValue = false;
    const auto equals = option.find('=');
    if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.erase(equals);
      inlineValue = true;
    }
    auto next = [&]() -> std::string {
      if (inlineValue) return value;
      if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
      return arguments[++i];
    };
    if (option == "--help" || option == "-h") {
      options.help = true;
    } else if (option == "--version") {
      options.version = true;
    } else if (option == "--fault-injection") {
      options.faultInjection = true;
    } else if (option == "--store") {
      options.store = next();
      if (options.store.empty()) throw UsageError("--store needs a path");
      haveStore = true;
    } else if (option == "--host") {
      options.host = next();
      if (options.host.empty()) throw UsageError("--host needs an address");
    } else if (option == "--port") {
      options.port = static_cast<unsigned>(number(option, next(), 0, 65535));
    } else if (option == "--ior-file") {
      options.iorFile = next();
    } else if (option == "--unit-system") {
      options.unitSystem = next();
      if (options.unitSystem != "metric" && options.unitSystem != "field")
        throw UsageError("--unit-system must be metric or field, not \"" + options.unitSystem + "\"");
    } else if (option == "--crs") {
      options.crs = next();
    } else if (option == "--max-message-mb") {
      options.maxMessageMb = number(option, next(), 1, 4095);
    } else if (option == "--event-queue") {
      options.eventQueue = number(option, next(), 1, 1000000);
    } else if (option == "--call-timeout-ms") {
      options.callTimeoutMs = number(option, next(), 0, 86400000);
    } else {
      throw UsageError("unknown option \"" + arguments[i] + "\" (see --help)");
    }
  }
  if (!haveStore && !options.help && !options.version)
    throw UsageError("--store PATH is required (see --help)");
  return options;
}

} // namespace kelwelld
