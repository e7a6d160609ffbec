// The entry point and what hangs directly below it: the SessionManager
// (corbaloc key "kelwell"), sessions (transient, in memory), projects
// (stored) and the factory finder.
#ifndef KELWELLD_SESSIONS_H
#define KELWELLD_SESSIONS_H

#include <chrono>
#include <map>
#include <mutex>
#include <string>

#include <CosLifeCycle.hh>
#include <EpSession.hh>

#include "servants/Context.h"

namespace kelwelld {

class SessionManagerServant : public POA_EpSession::SessionManager {
public:
  // faultInjector: nil unless the service runs with --fault-injection.
  SessionManagerServant(Context& context, EpSession::FaultInjector_ptr faultInjector);

  EpSession::Session_ptr openSession(const char* user) override;
  EpUnitOfMeasureService::UnitService_ptr getUnitService() override;
  EpCoordinateService::CoordinateService_ptr getCoordinateService() override;
  EpReferenceValueService::ReferenceValueService_ptr getReferenceValueService() override;
  EpSession::EventService_ptr getEventService() override;
  EpSession::FaultInjector_ptr getFaultInjector() override;
  char* getVersion() override;

  // The user of an open session, which counts as a use of it;
  // OBJECT_NOT_EXIST when there is no such session or it has expired.
  std::string userOf(const std::string& sessionId);

  // At most most sessions at a time (openSession then raises NO_RESOURCES);
  // a session unused for idle ends.
  void limitSessions(std::size_t most, std::chrono::seconds idle);

private:
  using Clock = std::chrono::steady_clock;
  struct OpenSession {
    std::string user;
    Clock::time_point lastUsed;
  };
  void expireIdle(Clock::time_point now);

  Context& m_context;
  EpSession::FaultInjector_var m_faultInjector;
  std::mutex m_mutex;
  std::map<std::string, OpenSession> m_sessions;   // by session id
  long long m_lastSession = 0;
  std::size_t m_maxSessions = 10000;
  std::chrono::seconds m_sessionIdle{3600};
};

// Default servant of the transient "Sessions" POA.
class SessionServant : public POA_EpSession::Session {
public:
  SessionServant(Context& context, SessionManagerServant& manager,
                 CosLifeCycle::FactoryFinder_ptr finder);

  char* getUser() override;
  char* getUnitSystem() override;
  EpSession::Project_ptr openProject(const char* name) override;
  EpSession::Project_ptr createProject(const char* name) override;
  EpSession::ProjectSeq* listProjects() override;
  CosLifeCycle::FactoryFinder_ptr getFactoryFinder() override;

private:
  std::string session(const char* operation);
  Context& m_context;
  SessionManagerServant& m_manager;
  CosLifeCycle::FactoryFinder_var m_finder;
};

// Default servant of the persistent "Projects" POA.
class ProjectServant : public POA_EpSession::Project {
public:
  explicit ProjectServant(Context& context);

  char* getId() override;
  char* getStoreName() override;
  char* getEntityType() override;
  char* getName() override;
  EpEntity::EntitySeq* executeQuery(const char* entityType, const char* whereClause,
                                    const EpSession::QueryParameterSeq& parameters) override;

private:
  // Enters operation (unless null: the caller did) and reads the project's
  // number and name; OBJECT_NOT_EXIST when it is gone.
  std::pair<long long, std::string> project(const char* operation);
  Context& m_context;
};

// Finds factories by a key of one component: id = the factory's repository
// id, kind = the store name ("" for storeless factories).
class FactoryFinderServant : public POA_CosLifeCycle::FactoryFinder {
public:
  explicit FactoryFinderServant(Context& context);

  // factory: a reference; stored: whether it is found under the store name.
  void add(const char* repositoryId, bool stored, CORBA::Object_ptr factory);

  CosLifeCycle::Factories* find_factories(const CosLifeCycle::Key& key) override;

private:
  Context& m_context;
  std::map<std::pair<std::string, bool>, CORBA::Object_var> m_factories;
};

} // namespace kelwelld

#endif
