#include "Service.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include <omniORB4/CORBA.h>
#include <omniORB4/IIOP.h>
#include <omniORB4/omniIOR.h>
#include <omniORB4/omniObjRef.h>


#include "catalogue/Catalogues.h"
#include "core/FaultInjection.h"
#include "core/PoaSupport.h"
#include "core/PrivateFiles.h"
#include "entity/LogTraces.h"
#include "entity/Wells.h"
#include "net/GiopGuard.h"
#include "net/Tls.h"
#include "servants/Context.h"
#include "servants/EntityKinds.h"
#include "servants/Events.h"
#include "servants/Limits.h"
#include "servants/Sessions.h"
#include "store/Store.h"

#ifndef KELWELL_VERSION
#define KELWELL_VERSION "0.0.0"
#endif

namespace kelwelld {

namespace {

// The host and port of an object reference's first IIOP profile: the address
// the ORB publishes, which differs from the one it was given when it listens
// on every interface. The standard mapping offers no way to read a profile,
// so this is the one place that reaches into omniORB's own classes.
std::pair<std::string, unsigned> publishedAddress(CORBA::Object_ptr object) {
  omniIOR* ior = object->_PR_getobj()->_getIOR();
  std::pair<std::string, unsigned> address{"", 0};
  const IOP::TaggedProfileList& profiles = ior->iopProfiles();
  for (CORBA::ULong i = 0; i < profiles.length(); ++i) {
    if (profiles[i].tag != IOP::TAG_INTERNET_IOP) continue;
    IIOP::ProfileBody body;
    IIOP::unmarshalProfile(profiles[i], body);
    address = {body.address.host.in(), body.address.port};
    break;
  }
  ior->release();
  return address;
}

// A port that is free on host now. The ORB is then given that port rather
// than 0: it sets SO_REUSEADDR only on explicit ports, and without it a
// restart on the same port fails while connections of the previous run
// linger in the kernel.
unsigned freePort(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const bool any = host == "0.0.0.0" || host == "*";
  if (getaddrinfo(any ? nullptr : host.c_str(), "0", &hints, &found) != 0 || !found) return 0;
  unsigned port = 0;
  const int fd = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (fd >= 0) {
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage bound{};
    socklen_t size = sizeof bound;
    if (::bind(fd, found->ai_addr, found->ai_addrlen) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) == 0) {
      port = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                         : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    }
    ::close(fd);
  }
  freeaddrinfo(found);
  return port;
}

void writeIorFile(const std::string& path, const std::string& ior) {
  try {
    replacePrivateFile(path, ior + "\n");
  } catch (const std::runtime_error& e) {
    throw StartError(std::string("cannot write the reference file: ") + e.what());
  }
}

} // namespace

// The servants are held here (poa::Owned) and by the POAs they serve; the ORB
// is shut down, every POA with it, before they go.
struct Service::Impl {
  Context context;
  std::unique_ptr<Store> store;
  std::unique_ptr<Entities> entities;
  std::unique_ptr<Wells> wells;
  std::unique_ptr<LogTraces> logTraces;
  std::unique_ptr<Catalogues> catalogues;
  poa::Owned<EventDispatcher> events;
  std::unique_ptr<StoreChannel> channel;   // declared after: goes before the dispatcher it feeds
  PortableServer::POA_var root;
  PortableServer::POA_var ins;
  PortableServer::POA_var services;

  poa::Owned<FaultInjectorServant> faultInjector;
  poa::Owned<FactoryFinderServant> finder;
  poa::Owned<SessionManagerServant> manager;
  poa::Owned<SessionServant> session;
  std::vector<poa::Owned<PortableServer::ServantBase>> servants;   // entities' and factories'

  std::string corbaloc;
  std::string ior;
  unsigned listeningPort = 0;
  bool running = false;

  void startOrb(const Options& options);
  void startOrbOn(const Options& options, unsigned port);
  void createObjects(const Options& options);
  void serveEntityPoas();
  CORBA::Object_ptr activate(PortableServer::Servant servant, const char* id);
  void stop();
};

void Service::Impl::startOrb(const Options& options) {
  // An ephemeral port is chosen here (see freePort); should another process
  // take it before the ORB binds it, another one is tried.
  for (int attempt = 0;; ++attempt) {
    const unsigned port = options.port ? options.port : freePort(options.host);
    try {
      startOrbOn(options, port);
      listeningPort = port;
      return;
    } catch (const StartError&) {
      if (options.port || attempt >= 4) throw;
    }
  }
}

void Service::Impl::startOrbOn(const Options& options, unsigned port) {
  const bool everyInterface = options.host == "0.0.0.0" || options.host == "*";
  const std::string endPoint = (options.tlsKey.empty() ? "giop:tcp:" : "giop:ssl:") + (everyInterface ? std::string() : options.host) + ":" +
                               (port ? std::to_string(port) : std::string());
  const std::string maxMessage = std::to_string(options.maxMessageMb * 1024UL * 1024UL);
  const std::string timeout = std::to_string(options.callTimeoutMs);
  const std::string maxThreads = std::to_string(options.maxThreads);
  const std::string idleConnections = std::to_string(options.idleConnectionS);
  const std::string requestTimeout = std::to_string(options.requestTimeoutMs);
  // References name every published address; a client whose process is
  // gone tries the next (the first in the profile, the others as
  // alternate addresses).
  std::string published;
  for (const auto& [host, publishedPort] : options.publish)
    published += (published.empty() ? "" : ",") + std::string(options.tlsKey.empty() ? "giop:tcp:" : "giop:ssl:") +
                 host + ":" + std::to_string(publishedPort);
  const char* orbOptions[][2] = {{"endPoint", endPoint.c_str()},
                                 {published.empty() ? "traceLevel" : "endPointPublish",
                                  published.empty() ? "0" : published.c_str()},
                                 {"giopMaxMsgSize", maxMessage.c_str()},
                                 {"clientCallTimeOutPeriod", timeout.c_str()},
                                 // Bounded resources: a pool of threads rather than one per
                                 // connection, idle connections closed, stalled requests too.
                                 {"threadPerConnectionPolicy", "0"},
                                 {"maxServerThreadPoolSize", maxThreads.c_str()},
                                 {"scanGranularity", "1"},
                                 {"inConScanPeriod", idleConnections.c_str()},
                                 {"serverCallTimeOutPeriod", requestTimeout.c_str()},
                                 {"supportBootstrapAgent", "0"},
                                 // Quiet while starting: a failure is reported in one line below.
                                 {"traceLevel", "0"},
                                 {nullptr, nullptr}};
  int argc = 1;
  char name[] = "kelwelld";
  char* argv[] = {name, nullptr};
  try {
    context.orb = CORBA::ORB_init(argc, argv, "omniORB4", orbOptions);
    // The endpoint is bound when the root POA first comes up.
    CORBA::Object_var object = context.orb->resolve_initial_references("RootPOA");
    root = PortableServer::POA::_narrow(object.in());
  } catch (const CORBA::Exception& e) {
    if (!CORBA::is_nil(context.orb.in())) context.orb->destroy();
    context.orb = CORBA::ORB::_nil();
    throw StartError("cannot listen on " + options.host + ":" + std::to_string(port) + " (" + e._name() +
                     "): the port may be taken or the address not local");
  }
}

CORBA::Object_ptr Service::Impl::activate(PortableServer::Servant servant, const char* id) {
  PortableServer::ObjectId_var oid = PortableServer::string_to_ObjectId(id);
  services->activate_object_with_id(oid.in(), servant);
  return services->id_to_reference(oid.in());
}

void Service::Impl::createObjects(const Options& options) {
  CORBA::ORB_ptr orb = context.orb.in();
  CORBA::Object_var object = orb->resolve_initial_references("omniINSPOA");
  ins = PortableServer::POA::_narrow(object.in());
  object = orb->resolve_initial_references("POACurrent");
  context.current = PortableServer::Current::_narrow(object.in());
  if (CORBA::is_nil(root) || CORBA::is_nil(ins) || CORBA::is_nil(context.current))
    throw StartError("the ORB offers no POA");

  context.store = store.get();
  context.records = entities.get();
  context.wells = wells.get();
  context.logTraces = logTraces.get();
  context.unitSystem = options.unitSystem;
  context.version = KELWELL_VERSION;

  try {
    catalogues = makeCatalogues(orb, root.in(), options.unitSystem, options.crs);
  } catch (const EpTypes::BadArgumentsException& e) {
    throw StartError(std::string("cannot use the default coordinate system: ") + e.reason.in());
  } catch (const std::exception& e) {
    throw StartError(std::string("cannot load the catalogues: ") + e.what());
  }
  context.catalogues = catalogues.get();

  events = poa::makeOwned<EventDispatcher>(options.callTimeoutMs ? options.callTimeoutMs : 10000,
                                           options.eventQueue);
  context.events = events.get();
  channel = store->openChannel();
  context.channel = channel.get();

  services = poa::createPersistentPoa(root.in(), "Services");
  for (const EntityKind& kind : entityKinds())
    context.poas[kind.kind] = poa::createDefaultServantPoa(
        root.in(), kind.poaName, kind.stored ? poa::Lifespan::Persistent : poa::Lifespan::Transient);

  object = activate(events.get(), "event-service");
  context.eventService = EpSession::EventService::_narrow(object.in());

  EpSession::FaultInjector_var injector;
  if (options.faultInjection) {
    enableFaultInjection();
    faultInjector = poa::makeOwned<FaultInjectorServant>();
    object = activate(faultInjector.get(), "fault-injector");
    injector = EpSession::FaultInjector::_narrow(object.in());
  }

  finder = poa::makeOwned<FactoryFinderServant>(context);
  for (const EntityKind& kind : entityKinds()) {
    for (const FactoryEntry& factory : kind.factories) {
      servants.push_back(factory.make(context));
      object = activate(servants.back().get(), factory.objectId);
      finder->add(factory.repositoryId, factory.stored, object.in());
    }
  }
  object = activate(finder.get(), "factory-finder");
  CosLifeCycle::FactoryFinder_var finderRef = CosLifeCycle::FactoryFinder::_narrow(object.in());

  manager = poa::makeOwned<SessionManagerServant>(context, injector.in());
  manager->limitSessions(options.maxSessions, std::chrono::seconds(options.sessionIdleS));
  session = poa::makeOwned<SessionServant>(context, *manager, finderRef.in());
  context.poas[Kind::Session]->set_servant(session.get());
  serveEntityPoas();

  PortableServer::ObjectId_var entryId = PortableServer::string_to_ObjectId("kelwell");
  ins->activate_object_with_id(entryId.in(), manager.get());
  object = ins->id_to_reference(entryId.in());
  CORBA::String_var text = orb->object_to_string(object.in());
  ior = text.in();
  const auto address = publishedAddress(object.in());
  if (options.tlsKey.empty())
    corbaloc = "corbaloc:iiop:" + address.first + ":" + std::to_string(address.second) + "/kelwell";
  else   // the plain profile of a TLS-only service carries no port
    corbaloc = "corbaloc:ssliop:" + address.first + ":" + std::to_string(listeningPort) + "/kelwell";

  events->start();
  if (channel) channel->listen([this](const std::string& message) { context.changedElsewhere(message); });
  omniORB::traceLevel = 1;   // errors and warnings from here on
  PortableServer::POAManager_var rootManager = root->the_POAManager();
  rootManager->activate();
  PortableServer::POAManager_var insManager = ins->the_POAManager();
  insManager->activate();
  running = true;
}

// Each kind's POA gets its default servant: its own, or the one of the kind
// that serves it too (a storeless well is served as a stored one).
void Service::Impl::serveEntityPoas() {
  std::map<Kind, PortableServer::Servant> made;
  for (const EntityKind& kind : entityKinds()) {
    if (!kind.servant) continue;
    servants.push_back(kind.servant(context));
    made[kind.kind] = servants.back().get();
  }
  for (const EntityKind& kind : entityKinds()) {
    const auto servant = made.find(kind.servedBy.value_or(kind.kind));
    if (servant != made.end()) context.poas[kind.kind]->set_servant(servant->second);
  }
}

void Service::Impl::stop() {
  if (!running) return;
  running = false;
  try {
    // Hold new calls and let the ones in progress finish before anything goes.
    for (PortableServer::POA_ptr poa : {ins.in(), root.in()}) {
      if (CORBA::is_nil(poa)) continue;
      PortableServer::POAManager_var poaManager = poa->the_POAManager();
      poaManager->hold_requests(true);
    }
  } catch (const CORBA::Exception&) {
  }
  channel.reset();   // no more changes of the other processes
  if (events) events->stop();
  catalogues.reset();
  try {
    context.orb->shutdown(true);
    context.orb->destroy();
  } catch (const CORBA::Exception&) {
  }
}

Service::Service(const Options& options) : m_impl(std::make_unique<Impl>()) {
  Impl& impl = *m_impl;
  try {
    impl.store = openStore(options.store);
  } catch (const EpDataStore::StoreException& e) {
    throw StartError(std::string(e.message.in()) + ": " + e.detail.in());
  }
  impl.entities = std::make_unique<Entities>(*impl.store);
  impl.wells = std::make_unique<Wells>(*impl.entities);
  const std::string unguarded = net::guardGiopMessages(options.maxMessageMb * 1024UL * 1024UL);
  if (!unguarded.empty()) throw StartError("cannot guard the ORB's connections: " + unguarded);
  net::limitConnections(options.maxConnections);
  // Half the pool may wait for stalled messages; the other half serves whole ones.
  net::limitStalls(options.stallTimeoutMs, options.maxThreads / 2);
  if (!options.tlsKey.empty()) {
    const std::string noTls = net::useTls(options.tlsKey, options.tlsCa);
    if (!noTls.empty()) throw StartError("cannot use TLS: " + noTls);
  }
  setTextLimits(options.maxTextKb * 1024, options.maxNameBytes);
  impl.logTraces = std::make_unique<LogTraces>(*impl.entities);
  impl.startOrb(options);
  try {
    impl.createObjects(options);
  } catch (const CORBA::Exception& e) {
    impl.running = true;
    impl.stop();
    throw StartError(std::string("cannot create the service's objects: ") + e._name());
  } catch (...) {
    impl.running = true;
    impl.stop();
    throw;
  }
  if (!options.iorFile.empty()) {
    try {
      writeIorFile(options.iorFile, impl.ior);
    } catch (...) {
      impl.stop();
      throw;
    }
  }
}

Service::~Service() { m_impl->stop(); }

const std::string& Service::corbaloc() const { return m_impl->corbaloc; }

const std::string& Service::ior() const { return m_impl->ior; }

} // namespace kelwelld
