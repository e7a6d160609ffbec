#include <algorithm>
#include <cstdlib>
#include <vector>
#include <string>

#include <gtest/gtest.h>

#include <EpiWell.hh>

#include "PlatformService.h"
#include "ServiceProcess.h"
#include "kel_Connection.h"
#include "kel_Entity.h"
#include "kel_EntityQuery.h"
#include "kel_Exception.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_util.h"

using platform_test::createWell;
using platform_test::failureOf;
using platform_test::text;

TEST(Sessions, OpenForTheCurrentUser) {
  const kel_Session session = kel_Session::open();
  ASSERT_FALSE(session.isNil());
  const char* user = std::getenv("USER");
  if (user != nullptr && *user != '\0') {
    EXPECT_EQ(user, text(session.getUser()));
  }
  EXPECT_EQ("someone", text(kel_Session::open("someone").getUser()));
  EXPECT_THROW(kel_Session::open(""), kel_UserException);
  EXPECT_THROW(kel_Session().getUser(), kel_UserException);
}

TEST(Projects, CreateOpenAndListByName) {
  const kel_Session session = kel_Session::open();
  const kel_Project created = kel_Project::create(session, "North Sea");
  EXPECT_EQ("North Sea", text(created.getName()));
  EXPECT_FALSE(text(created.getId()).empty());

  const kel_Project opened = kel_Project::open(session, "North Sea");
  EXPECT_TRUE(opened == created);
  EXPECT_EQ(text(created.getStoreName()), text(opened.getStoreName()));

  // The project view is what factories are handed.
  auto remote = static_cast<EpSession::Project_ptr>(opened.getRemoteObject(kel_Internal()));
  ASSERT_NE(nullptr, remote);
  CORBA::String_var name = remote->getName();
  EXPECT_STREQ("North Sea", name.in());

  kel_Project copy(opened, true);
  kel_Project assigned;
  assigned = copy;
  EXPECT_EQ("North Sea", text(assigned.getName()));
  kel_Entity asEntity(assigned);
  EXPECT_EQ(text(created.getId()), text(asEntity.getId()));

  kel_Project::create(session, "Barents");
  // In creation order, after whatever other tests of this process created.
  const kel_Array<kel_Project> all = kel_Project::list(session);
  std::vector<std::string> names;
  for (unsigned i = 0; i < all.size(); ++i) names.push_back(text(all[i].getName()));
  const auto northSea = std::find(names.begin(), names.end(), "North Sea");
  ASSERT_NE(names.end(), northSea);
  EXPECT_NE(names.end(), std::find(northSea, names.end(), "Barents"));
}

TEST(Projects, TakenAndUnknownNamesAreTheCallersFault) {
  const kel_Session session = kel_Session::open();
  kel_Project::create(session, "Taken");
  const auto taken = failureOf([&] { kel_Project::create(session, "Taken"); });
  EXPECT_TRUE(taken.isUserException());
  EXPECT_EQ("Could not create the project \"Taken\". ", text(taken.getMessage()));
  EXPECT_FALSE(text(taken.getContext()).empty());  // the service's reason

  const auto unknown = failureOf([&] { kel_Project::open(session, "Nowhere"); });
  EXPECT_TRUE(unknown.isUserException());
  EXPECT_EQ("Could not open the project \"Nowhere\". ", text(unknown.getMessage()));
  EXPECT_FALSE(text(unknown.getContext()).empty());

  EXPECT_THROW(kel_Project::create(session, ""), kel_UserException);
  EXPECT_THROW(kel_Project::open(kel_Session(), "Taken"), kel_UserException);
}

TEST(EntityQueries, FindWellsOfAProjectWithBoundParameters) {
  const kel_Session session = kel_Session::open();
  const kel_Project north = kel_Project::create(session, "North");
  const kel_Project south = kel_Project::create(session, "South's");
  const std::string first = createWell(session, north, "N-1");
  const std::string second = createWell(session, north, "N-2");
  createWell(session, south, "S-1");

  kel_EntityQuery query(north, "EpiWell_Well");
  query.setWhereClause("EpiWell_Well.project.name = :prjname");
  query.addParameter(":prjname", "North");
  query.execute();
  const kel_Array<kel_Entity> wells = query.getEntityResult();
  ASSERT_EQ(2u, wells.size());
  EXPECT_EQ(first, text(wells[0].getId()));
  EXPECT_EQ(second, text(wells[1].getId()));
  EXPECT_EQ("EpiWell_Well", text(wells[0].getEntityTypeName()));
  auto remote = static_cast<EpEntity::Entity_ptr>(wells[1].getRemoteObject(kel_Internal()));
  ASSERT_NE(nullptr, remote);
  EXPECT_TRUE(remote->_is_a(EpiWell::_tc_Well->id()));

  // A quote in a value is data, not query text.
  kel_EntityQuery quoted(south, "EpiWell_Well");
  quoted.setWhereClause("EpiWell_Well.project.name = :prjname");
  quoted.addParameter(":prjname", "South's");
  quoted.execute();
  EXPECT_EQ(1u, quoted.getEntityResult().size());

  kel_EntityQuery none(north, "EpiWell_Well");
  none.setWhereClause("EpiWell_Well.project.name = :prjname");
  none.addParameter(":prjname", "x' OR '1'='1");
  none.execute();
  EXPECT_EQ(0u, none.getEntityResult().size());
}

TEST(EntityQueries, RefusedClausesAreTheCallersFault) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Queries");
  kel_EntityQuery query(project, "EpiWell_Well");
  query.setWhereClause("EpiWell_Well.project.name = 'x'; DROP TABLE wells");
  const auto refused = failureOf([&] { query.execute(); });
  EXPECT_TRUE(refused.isUserException());
  EXPECT_FALSE(text(refused.getContext()).empty());

  kel_EntityQuery unbound(project, "EpiWell_Well");
  unbound.setWhereClause("EpiWell_Well.project.name = :prjname");
  EXPECT_THROW(unbound.execute(), kel_UserException);

  kel_EntityQuery nilProject(kel_Project(), "EpiWell_Well");
  EXPECT_THROW(nilProject.execute(), kel_UserException);
}

TEST(FactoryFinder, FindsStoredAndStorelessFactories) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Factories");
  auto remote = static_cast<EpSession::Session_ptr>(session.getRemoteObject(kel_Internal()));

  CORBA::Object_var storeless = kel_util::FactoryFinder::findFactory(remote, EpiWell::_tc_StorelessWellFactory->id());
  EXPECT_FALSE(CORBA::is_nil(EpiWell::StorelessWellFactory::_narrow(storeless.in())));

  CORBA::Object_var stored = kel_util::FactoryFinder::findFactory(
      remote, EpiWell::_tc_NewWellFactory->id(), nullptr, project.getStoreName());
  EXPECT_FALSE(CORBA::is_nil(EpiWell::NewWellFactory::_narrow(stored.in())));

  CORBA::Object_var none = kel_util::FactoryFinder::findFactory(remote, "IDL:Nothing/Here:1.0");
  EXPECT_TRUE(CORBA::is_nil(none.in()));

  EpReferenceValueService::ReferenceValueService_var values = kel_util::ReferenceValue::getService();
  ASSERT_FALSE(CORBA::is_nil(values.in()));
  EpReferenceValueService::Identification id;
  id.authority = CORBA::string_dup("Kelvast");
  id.setName = CORBA::string_dup("WellboreStatus");
  EpReferenceValueService::ReferenceValueSet_var set = values->getSet(id);
  EXPECT_EQ(11u, set->count());
}

TEST(Connection, AnInitRefArgumentTakesPrecedenceOverTheEnvironment) {
  const std::string corbaloc = std::getenv("KELWELL_SERVICE");
  kel_Connection::shutdown();
  setenv("KELWELL_SERVICE", "corbaloc:iiop:127.0.0.1:1/kelwell", 1);
  std::string initRef = "KelWell=" + corbaloc;
  char program[] = "tool", option[] = "-ORBInitRef", keep[] = "--verbose";
  char* argv[] = {program, option, &initRef[0], keep, nullptr};
  int argc = 4;
  kel_Connection::initialize(argc, argv);
  EXPECT_EQ(2, argc);  // the ORB took its arguments
  EXPECT_STREQ("--verbose", argv[1]);
  EXPECT_EQ("tester", text(kel_Session::open("tester").getUser()));
  EXPECT_EQ("-ORBInitRef KelWell", text(kel_Connection::getServiceLocation()));
  kel_Connection::shutdown();
  setenv("KELWELL_SERVICE", corbaloc.c_str(), 1);
}

// The service killed and restarted on the same endpoint: the connection this
// process held is dead, yet the first call after the restart succeeds.
TEST(Projects, ReferencesOutliveAServiceRestartInTheSameProcess) {
  const kel_Session session = kel_Session::open();
  const kel_Project project = kel_Project::create(session, "Survives a restart");
  const std::string id = text(project.getId());

  kelwell_test::ServiceProcess& service = kelwell_test::sharedService();
  service.kill();
  service.start();

  EXPECT_EQ("Survives a restart", text(project.getName()));
  EXPECT_EQ(id, text(project.getId()));
  EXPECT_EQ("Survives a restart", text(kel_Project::open(kel_Session::open(), "Survives a restart").getName()));
}
