// The command line of kelwelld.
#ifndef KELWELLD_OPTIONS_H
#define KELWELLD_OPTIONS_H

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kelwelld {

struct Options {
  std::string store;                 // SQLite file, ":memory:", or a postgresql:// URL
  std::string host = "127.0.0.1";
  unsigned port = 18110;             // 0: an ephemeral port
  std::string iorFile;               // "" = none
  // The addresses references name, in the order clients try them: every
  // process serving the same database. Empty: this process's own.
  std::vector<std::pair<std::string, unsigned>> publish;
  std::string unitSystem = "metric";
  std::string crs = "EPSG:4326";
  unsigned long maxMessageMb = 512;
  unsigned long callTimeoutMs = 10000;   // the service's own outgoing calls (event pushes)
  unsigned long eventQueue = 10000;      // events waiting for one subscriber before it is dropped
  unsigned long maxTextKb = 65536;       // a text stored with an entity
  unsigned long maxNameBytes = 1024;     // a name held for a session or subscription
  unsigned long maxSessions = 10000;
  unsigned long sessionIdleS = 3600;     // a session unused this long ends
  unsigned long maxThreads = 128;        // threads serving calls
  unsigned long maxConnections = 1000;   // accepted connections open at once
  unsigned long idleConnectionS = 60;    // an accepted connection unused this long is closed
  unsigned long requestTimeoutMs = 30000;   // a request must arrive whole within this time
  unsigned long stallTimeoutMs = 1000;   // a pause inside a message closes the connection
  std::string tlsKey;                // "" = plain TCP; else the service's key and certificate
  std::string tlsCa;                 // the authority of the clients' certificates
  bool faultInjection = false;
  bool help = false;
  bool version = false;
};

// A bad command line; what() is one line saying what is wrong.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

Options parseOptions(const std::vector<std::string>& arguments);
std::string usage();

} // namespace kelwelld

#endif
