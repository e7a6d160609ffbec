// The entry point, sessions, projects and the factory finder, over the wire.
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

CosLifeCycle::Key key(const char* id, const char* kind) {
  CosLifeCycle::Key k;
  k.length(1);
  k[0].id = id;
  k[0].kind = kind;
  return k;
}

} // namespace

TEST(ServiceEntry, OpensSessionsThatKnowTheirUserAndTheUnitSystem) {
  Client client(sharedService(), "alice");
  CORBA::String_var version = client.manager->getVersion();
  EXPECT_STRNE(version.in(), "");
  CORBA::String_var user = client.session->getUser();
  EXPECT_STREQ(user.in(), "alice");
  CORBA::String_var units = client.session->getUnitSystem();
  EXPECT_STREQ(units.in(), "metric");

  EpSession::Session_var other = client.manager->openSession("bob");
  CORBA::String_var otherUser = other->getUser();
  EXPECT_STREQ(otherUser.in(), "bob");
  EpSession::EventService_var events = client.manager->getEventService();
  EXPECT_FALSE(CORBA::is_nil(events.in()));
  EpUnitOfMeasureService::UnitService_var unitService = client.manager->getUnitService();
  ASSERT_FALSE(CORBA::is_nil(unitService.in()));
  EpUnitOfMeasureService::Unit_var metre = unitService->getUnit("m");
  CORBA::String_var acronym = metre->acronym();
  EXPECT_STREQ(acronym.in(), "m");
  EpCoordinateService::CoordinateService_var systems = client.manager->getCoordinateService();
  ASSERT_FALSE(CORBA::is_nil(systems.in()));
  EpCoordinateService::System_var system = systems->defaultSystem();
  CORBA::String_var systemName = system->name();
  EXPECT_STREQ(systemName.in(), "EPSG:4326");
  EpReferenceValueService::ReferenceValueService_var values = client.manager->getReferenceValueService();
  EXPECT_FALSE(CORBA::is_nil(values.in()));

  // Unknown names are refused with a reason, and the service carries on.
  EXPECT_THROW(EpUnitOfMeasureService::Unit_var(unitService->getUnit("furlongs per fortnight")),
               EpTypes::BadArgumentsException);
  EXPECT_THROW(EpCoordinateService::System_var(systems->getSystem("EPSG:999999")),
               EpTypes::BadArgumentsException);
  EXPECT_THROW(EpCoordinateService::System_var(systems->getSystem("not a system")),
               EpTypes::BadArgumentsException);
  EXPECT_STREQ(CORBA::String_var(client.session->getUser()).in(), "alice");
}

TEST(ServiceProjects, AreCreatedOpenedAndListedByName) {
  Client client(sharedService());
  EpSession::Project_var created = client.newProject("projects");
  CORBA::String_var name = created->getName();
  CORBA::String_var id = created->getId();
  EXPECT_EQ(std::string(id.in()).rfind("project:", 0), 0u);
  CORBA::String_var type = created->getEntityType();
  EXPECT_STREQ(type.in(), "EpSession_Project");
  CORBA::String_var store = created->getStoreName();
  EXPECT_STREQ(store.in(), "kelwell");   // the fixture's file is kelwell.db

  EpSession::Project_var opened = client.session->openProject(name.in());
  CORBA::String_var openedId = opened->getId();
  EXPECT_STREQ(openedId.in(), id.in());

  EpSession::Project_var later = client.newProject("projects");
  CORBA::String_var laterId = later->getId();
  EpSession::ProjectSeq_var all = client.session->listProjects();
  std::vector<std::string> ids;
  for (CORBA::ULong i = 0; i < all->length(); ++i) ids.push_back(CORBA::String_var(all[i]->getId()).in());
  const auto first = std::find(ids.begin(), ids.end(), std::string(id.in()));
  const auto second = std::find(ids.begin(), ids.end(), std::string(laterId.in()));
  ASSERT_NE(first, ids.end());
  ASSERT_NE(second, ids.end());
  EXPECT_LT(first, second);   // creation order
}

TEST(ServiceProjects, RefuseTakenEmptyAndUnknownNames) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("taken");
  CORBA::String_var name = project->getName();
  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>([&] { client.session->createProject(name.in()); }),
            "The project name \"" + std::string(name.in()) + "\" is taken. ");
  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>([&] { client.session->createProject(""); }),
            "A project needs a name. ");
  EXPECT_EQ(reasonOf<EpTypes::FailedOperationException>(
                [&] { client.session->openProject("no such project"); }),
            "There is no project named \"no such project\". ");
  // A name that looks like SQL is only a name.
  EpSession::Project_var odd = client.session->createProject("x'); DROP TABLE projects; --");
  CORBA::String_var oddName = odd->getName();
  EXPECT_STREQ(oddName.in(), "x'); DROP TABLE projects; --");
  EXPECT_GT(EpSession::ProjectSeq_var(client.session->listProjects())->length(), 1u);
}

TEST(ServiceFactoryFinder, FindsTheWellFactoriesByRepositoryIdAndStore) {
  Client client(sharedService());
  client.newProject();
  CosLifeCycle::FactoryFinder_var finder = client.session->getFactoryFinder();
  const std::string store = client.storeName;

  struct Case {
    const char* id;
    const char* kind;
  } found[] = {{EpiWell::_tc_NewWellFactory->id(), store.c_str()},
               {EpiWell::_tc_StorelessWellFactory->id(), ""},
               {EpiWell::_tc_NewWellBoreFactory->id(), store.c_str()},
               {EpiWell::_tc_StorelessWellBoreFactory->id(), ""},
               {EpiWell::_tc_NewWellLogTraceFactory->id(), store.c_str()},
               {EpiWell::_tc_StorelessWellLogTraceFactory->id(), ""},
               {EpiWell::_tc_NewWellPickFactory->id(), store.c_str()},
               {EpiWell::_tc_StorelessWellPickFactory->id(), ""},
               {EpiWell::_tc_NewWellBoreListFactory->id(), store.c_str()},
               {EpiWell::_tc_StorelessWellBoreListFactory->id(), ""}};
  for (const Case& c : found) {
    CosLifeCycle::Factories_var factories = finder->find_factories(key(c.id, c.kind));
    ASSERT_EQ(factories->length(), 1u) << c.id;
    EXPECT_TRUE(factories[0]->_is_a(c.id)) << c.id;
  }

  const Case missing[] = {
      {"IDL:nobody/Nothing:1.0", ""},
      {EpiWell::_tc_NewWellFactory->id(), "another-store"},
      {EpiWell::_tc_NewWellFactory->id(), ""},              // stored factory without a store
      {EpiWell::_tc_StorelessWellFactory->id(), store.c_str()},
      {EpiWell::_tc_StorelessWellBoreListFactory->id(), store.c_str()},   // a storeless factory under a store
      {EpiWell::_tc_StorelessWellLogTraceFactory->id(), store.c_str()},
      {EpiWell::_tc_StorelessWellPickFactory->id(), store.c_str()}};
  for (const Case& c : missing) {
    try {
      finder->find_factories(key(c.id, c.kind));
      ADD_FAILURE() << "found " << c.id << " / " << c.kind;
    } catch (const CosLifeCycle::NoFactory& e) {
      ASSERT_EQ(e.search_key.length(), 1u);
      EXPECT_STREQ(e.search_key[0].id.in(), c.id);
    }
  }
  CosLifeCycle::Key empty;
  EXPECT_THROW(finder->find_factories(empty), CosLifeCycle::NoFactory);
}

TEST(ServiceStart, WritesAPrivateReferenceFileThatResolves) {
  ServiceOptions options;
  ServiceProcess probe;   // only for its temporary directory
  const std::string iorFile = probe.directory() + "/kelwelld.ior";
  options.extraArgs = {"--ior-file", iorFile};
  ServiceProcess service(options);
  service.start();
  struct stat info {};
  ASSERT_EQ(stat(iorFile.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  std::ifstream in(iorFile);
  std::string ior;
  std::getline(in, ior);
  EXPECT_EQ(ior.rfind("IOR:", 0), 0u);
  EpSession::SessionManager_var manager = connectRaw(clientOrb(), ior);
  CORBA::String_var version = manager->getVersion();
  EXPECT_STRNE(version.in(), "");
  EpSession::FaultInjector_var injector = manager->getFaultInjector();
  EXPECT_FALSE(CORBA::is_nil(injector.in()));
}

TEST(ServiceStart, FailsWithAClearMessageWhenItCannotStart) {
  ServiceOptions noStore;
  noStore.store = "/nonexistent-directory/kelwell.db";
  ServiceProcess unopenable(noStore);
  try {
    unopenable.start();
    FAIL() << "started without a store";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Could not open the store"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(WIFEXITED(unopenable.lastStatus()) && WEXITSTATUS(unopenable.lastStatus()) != 0);

  ServiceOptions taken;
  taken.extraArgs = {"--port", std::to_string(sharedService().port())};   // the later --port wins
  ServiceProcess clash(taken);
  try {
    clash.start();
    FAIL() << "started on a port in use";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("cannot listen on"), std::string::npos) << e.what();
  }

  ServiceOptions badCrs;
  badCrs.extraArgs = {"--crs", "EPSG:999999"};
  ServiceProcess unknownSystem(badCrs);
  try {
    unknownSystem.start();
    FAIL() << "started with an unknown default system";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("cannot use the default coordinate system"), std::string::npos)
        << e.what();
  }

  ServiceOptions notAStore;
  ServiceProcess probe;
  const std::string path = probe.directory() + "/text.db";
  std::ofstream(path) << "this is not a database, just some text that is long enough to matter\n";
  notAStore.store = path;
  ServiceProcess wrong(notAStore);
  EXPECT_THROW(wrong.start(), std::runtime_error);
}

TEST(ServiceStart, WithoutFaultInjectionHasNoInjector) {
  ServiceOptions options;
  options.faultInjection = false;
  ServiceProcess service(options);
  service.start();
  EpSession::SessionManager_var manager = connectRaw(clientOrb(), service.corbaloc());
  EpSession::FaultInjector_var injector = manager->getFaultInjector();
  EXPECT_TRUE(CORBA::is_nil(injector.in()));
}

TEST(ServiceLimits, CarryLargeMessagesAndRefuseThoseAboveTheConfiguredLimit) {
  // Far beyond the ORB's own 2 MiB default: 48 MB, the size of ten million float samples and more.
  {
    Client client(sharedService());
    EpSession::Project_var project = client.newProject("large");
    EpiWell::Well_var well = client.newWell(project.in(), "large");
    const std::string big(48 * 1000 * 1000, 'x');
    well->setField(big.c_str());
    CORBA::String_var back = well->getField();
    EXPECT_EQ(std::strlen(back.in()), big.size());
  }
  ServiceOptions options;
  options.extraArgs = {"--max-message-mb", "4"};
  ServiceProcess small(options);
  small.start();
  Client client(small);
  EpSession::Project_var project = client.newProject("small");
  EpiWell::Well_var well = client.newWell(project.in(), "small");
  const std::string tooBig(6 * 1024 * 1024, 'y');
  EXPECT_THROW(well->setField(tooBig.c_str()), CORBA::SystemException);
  CORBA::String_var field = well->getField();   // still serving, nothing written
  EXPECT_STREQ(field.in(), "");
}

TEST(ServiceLimits, ManyClientsWritingAtOnceAreSerialisedSafely) {
  Client client(sharedService());
  EpSession::Project_var project = client.newProject("concurrent");
  std::vector<EpiWell::Well_var> wells;
  for (int i = 0; i < 4; ++i) wells.push_back(client.newWell(project.in(), "w" + std::to_string(i)));
  std::vector<std::thread> writers;
  std::atomic<int> failures{0};
  for (int i = 0; i < 4; ++i)
    writers.emplace_back([&, i] {
      try {
        for (int n = 0; n < 50; ++n) {
          wells[static_cast<std::size_t>(i)]->setCountry(std::to_string(n).c_str());
          EpiWell::WellBore_var bore = client.newWellBore(wells[static_cast<std::size_t>(i)].in(), std::to_string(n));
        }
      } catch (const CORBA::Exception&) {
        ++failures;
      }
    });
  for (auto& writer : writers) writer.join();
  EXPECT_EQ(failures.load(), 0);
  for (auto& well : wells) {
    EXPECT_STREQ(CORBA::String_var(well->getCountry()).in(), "49");
    EpEntity::EntitySeq_var bores = well->getWellBores();
    ASSERT_EQ(bores->length(), 50u);
    CosPropertyService::Property_var last = EpiWell::WellBore::_narrow(bores[49])->getIdentifier();
    EXPECT_EQ(text(last->property_value), "49");   // creation order
  }
}
