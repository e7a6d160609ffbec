// Shared steps of the service's integration tests: raw stubs over the wire.
#ifndef KELWELL_TEST_SERVICE_HELPERS_H
#define KELWELL_TEST_SERVICE_HELPERS_H

#include <string>

#include <gtest/gtest.h>

#include <CosLifeCycle.hh>
#include <EpiWell.hh>

#include "ServiceProcess.h"

namespace kelwell_test {

// A session on a service, with helpers to reach factories and create entities.
struct Client {
  EpSession::SessionManager_var manager;
  EpSession::Session_var session;
  std::string storeName;

  explicit Client(const ServiceProcess& service, const char* user = "tester");

  // A new project with a name unique in this test binary.
  EpSession::Project_var newProject(const std::string& stem = "project");

  // The factory with that repository id, for the store (stored) or "" (storeless).
  CORBA::Object_var factory(const char* repositoryId, bool stored);
  EpiWell::NewWellFactory_var newWellFactory();
  EpiWell::StorelessWellFactory_var storelessWellFactory();
  EpiWell::NewWellBoreFactory_var newWellBoreFactory();
  EpiWell::StorelessWellBoreFactory_var storelessWellBoreFactory();

  EpiWell::Well_var newWell(EpSession::Project_ptr project, const std::string& name,
                            const std::string& uwi = "UWI-1");
  EpiWell::WellBore_var newWellBore(EpiWell::Well_ptr well, const std::string& identifier);

  EpSession::FaultInjector_var faults();
};

// A corbaloc reference to the same POA as model, with newId in place of
// oldId in the object key: what a hand-made reference looks like.
std::string corbalocWithId(CORBA::Object_ptr model, const std::string& oldId, const std::string& newId);

CosPropertyService::Property property(const std::string& name, const std::string& value);
std::string text(const CORBA::Any& value);

// The reason of an exception, for assertions on texts.
template <class E, class F>
std::string reasonOf(F&& call) {
  try {
    call();
  } catch (const E& e) {
    return e.reason.in();
  }
  ADD_FAILURE() << "expected an exception";
  return "";
}

} // namespace kelwell_test

#endif
