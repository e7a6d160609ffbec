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
         "The well data service: wells and wellbores in a SQLite or PostgreSQL store, served through CORBA.\n"
         "\n"
         "  --store PATH          SQLite file to open or create (\":memory:\" for one held in memory),\n"
         "                        or a PostgreSQL database: postgresql://user@host:port/database\n"
         "  --host H              address to listen on (default 127.0.0.1; 0.0.0.0 for every interface)\n"
         "  --port P              port to listen on (default 18110; 0 for an ephemeral port)\n"
         "  --publish H:P,...     the addresses references name, in the order clients try them:\n"
         "                        every process serving the same PostgreSQL database (default:\n"
         "                        this process's own)\n"
         "  --ior-file F          write the entry point's stringified reference to F (mode 0600)\n"
         "  --unit-system S       default unit system: metric or field (default metric)\n"
         "  --crs NAME            default coordinate system (default EPSG:4326)\n"
         "  --max-message-mb N    largest message in MiB (default 512)\n"
         "  --call-timeout-ms N   time limit of the service's own calls, such as event pushes\n"
         "                        (default 10000)\n"
         "  --event-queue N       events that may wait for one subscriber before it is dropped\n"
         "                        (default 10000)\n"
         "  --max-text-kb N       longest text stored with an entity, in KiB (default 65536)\n"
         "  --max-name-bytes N    longest user name or event type name (default 1024)\n"
         "  --max-sessions N      sessions open at once (default 10000)\n"
         "  --session-idle-s N    a session unused this long ends (default 3600)\n"
         "  --max-threads N       threads serving calls (default 128)\n"
         "  --max-connections N   client connections open at once (default 1000)\n"
         "  --idle-connection-s N a client connection unused this long is closed (default 60)\n"
         "  --request-timeout-ms N  a request must arrive whole within this time, or its\n"
         "                        connection is closed (default 30000)\n"
         "  --stall-timeout-ms N  a pause this long inside a message closes its connection\n"
         "                        (default 1000; 0 for none)\n"
         "  --tls-key F           listen for TLS only, with the key and certificate in F (PEM)\n"
         "  --tls-ca F            clients must present a certificate of the authority in F (PEM);\n"
         "                        needed with --tls-key\n"
         "  --fault-injection     serve the fault injector (tests only)\n"
         "  --help                print this text\n"
         "  --version             print the version\n"
         "\n"
         "Once ready it prints \"kelwelld ready at corbaloc:iiop:<host>:<port>/kelwell\".\n";
}

// "host:port,host:port": the endpoints of --publish.
std::vector<std::pair<std::string, unsigned>> endpoints(const std::string& option, const std::string& text) {
  std::vector<std::pair<std::string, unsigned>> list;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const auto colon = item.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == item.size())
      throw UsageError(option + " takes host:port,host:port,... (\"" + item + "\" is not host:port)");
    list.emplace_back(item.substr(0, colon),
                      static_cast<unsigned>(number(option, item.substr(colon + 1), 1, 65535)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return list;
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
    } else if (option == "--publish") {
      options.publish = endpoints(option, next());
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
    } else if (option == "--tls-key") {
      options.tlsKey = next();
    } else if (option == "--tls-ca") {
      options.tlsCa = next();
    } else if (option == "--max-text-kb") {
      options.maxTextKb = number(option, next(), 1, 4194304);
    } else if (option == "--max-name-bytes") {
      options.maxNameBytes = number(option, next(), 1, 1048576);
    } else if (option == "--max-sessions") {
      options.maxSessions = number(option, next(), 1, 10000000);
    } else if (option == "--session-idle-s") {
      options.sessionIdleS = number(option, next(), 1, 31536000);
    } else if (option == "--max-threads") {
      options.maxThreads = number(option, next(), 2, 10000);
    } else if (option == "--max-connections") {
      options.maxConnections = number(option, next(), 1, 60000);
    } else if (option == "--idle-connection-s") {
      options.idleConnectionS = number(option, next(), 1, 86400);
    } else if (option == "--stall-timeout-ms") {
      options.stallTimeoutMs = number(option, next(), 0, 3600000);
    } else if (option == "--request-timeout-ms") {
      options.requestTimeoutMs = number(option, next(), 100, 86400000);
    } else if (option == "--event-queue") {
      options.eventQueue = number(option, next(), 1, 1000000);
    } else if (option == "--call-timeout-ms") {
      options.callTimeoutMs = number(option, next(), 0, 86400000);
    } else {
      throw UsageError("unknown option \"" + arguments[i] + "\" (see --help)");
    }
  }
  if (options.tlsKey.empty() != options.tlsCa.empty())
    throw UsageError("--tls-key and --tls-ca go together (see --help)");
  if (!haveStore && !options.help && !options.version)
    throw UsageError("--store PATH is required (see --help)");
  return options;
}

} // namespace kelwelld
