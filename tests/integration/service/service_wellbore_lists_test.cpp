// Wellbore lists over the wire: creation stored and storeless, attributes,
// members in order, refusals that change nothing, queries, and the members
// of a stored list across a SIGKILL.
#include <functional>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

using List = EpiWell::WellBoreList;
using List_var = EpiWell::WellBoreList_var;
using List_ptr = EpiWell::WellBoreList_ptr;
using Ids = std::vector<std::string>;

std::string idOf(CORBA::Object_ptr object) {
  return CORBA::String_var(EpEntity::Entity::_narrow(object)->getId()).in();
}

Ids idsOf(const EpEntity::EntitySeq& entities) {
  Ids ids;
  for (CORBA::ULong i = 0; i < entities.length(); ++i) ids.push_back(CORBA::String_var(entities[i]->getId()).in());
  return ids;
}

// A project with a well of three stored wellbores and a storeless one, and
// another project with a wellbore of its own.
class WellBoreLists : public ::testing::Test {
public:
  explicit WellBoreLists(ServiceProcess& service = sharedService()) : client(service) {
    project = client.newProject("lists");
    EpiWell::Well_var well = client.newWell(project.in(), "listed");
    for (const char* name : {"A", "B", "C"}) bores.push_back(client.newWellBore(well.in(), name));
    EpiWell::StorelessWellBoreFactory_var storelessBores = client.storelessWellBoreFactory();
    storeless = storelessBores->createWellBore(well.in(), property("Bore", "S"), client.session.in());
    other = client.newProject("other lists");
    EpiWell::Well_var elsewhere = client.newWell(other.in(), "elsewhere");
    foreign = client.newWellBore(elsewhere.in(), "F");
  }

  List_var create(bool stored, std::vector<EpiWell::WellBore_ptr> members, const char* name = "selection",
                  EpSession::Project_ptr in = nullptr) {
    EpiWell::WellBoreSeq seq;
    seq.length(static_cast<CORBA::ULong>(members.size()));
    for (CORBA::ULong i = 0; i < seq.length(); ++i) seq[i] = EpiWell::WellBore::_duplicate(members[i]);
    CORBA::Object_var factory = client.factory(
        stored ? EpiWell::_tc_NewWellBoreListFactory->id() : EpiWell::_tc_StorelessWellBoreListFactory->id(), stored);
    EpSession::Project_ptr owner = in ? in : project.in();
    if (stored)
      return EpiWell::NewWellBoreListFactory::_narrow(factory.in())
          ->createWellBoreList(owner, name, "interpretation", seq, client.session.in());
    return EpiWell::StorelessWellBoreListFactory::_narrow(factory.in())
        ->createWellBoreList(owner, name, "interpretation", seq, client.session.in());
  }

  Ids members(List_ptr list) { return idsOf(EpEntity::EntitySeq_var(list->getBores()).in()); }
  EpiWell::WellBore_ptr bore(std::size_t i) { return bores[i].in(); }
  std::string boreId(std::size_t i) { return idOf(bores[i].in()); }

  Client client;
  EpSession::Project_var project, other;
  std::vector<EpiWell::WellBore_var> bores;
  EpiWell::WellBore_var storeless, foreign;

  void TestBody() override {}
};

using WellBoreListTest = WellBoreLists;

// A reference of this service to a wellbore that does not exist.
EpiWell::WellBore_var unknownBore(EpiWell::WellBore_ptr model) {
  const std::string id = idOf(model);
  CORBA::Object_var object = clientOrb()->string_to_object(corbalocWithId(model, id, "wellbore:999999").c_str());
  return EpiWell::WellBore::_unchecked_narrow(object.in());
}

} // namespace

TEST_F(WellBoreListTest, StoredAndStorelessListsKeepTheirAttributesAndMembersInOrder) {
  for (bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "stored" : "storeless");
    List_var list = create(stored, {bore(2), bore(0)});
    const std::string id = idOf(list.in());
    EXPECT_EQ(id.rfind(stored ? "wellborelist:" : "storeless-wellborelist:", 0), 0u) << id;
    EXPECT_STREQ(CORBA::String_var(list->getEntityType()).in(), "EpiWell_WellBoreList");
    EXPECT_STREQ(CORBA::String_var(list->getName()).in(), "selection");
    EXPECT_STREQ(CORBA::String_var(list->getDataSource()).in(), "interpretation");
    EXPECT_EQ(idOf(EpSession::Project_var(list->getProject()).in()), idOf(project.in()));
    EXPECT_EQ(CORBA::String_var(list->getStoreName()).in(), stored ? client.storeName : std::string());
    EXPECT_EQ(members(list.in()), (Ids{boreId(2), boreId(0)}));

    list->setName("renamed ");   // kept exactly, trailing blank included
    list->setDataSource("");
    EXPECT_STREQ(CORBA::String_var(list->getName()).in(), "renamed ");
    EXPECT_STREQ(CORBA::String_var(list->getDataSource()).in(), "");

    list->addBore(bore(1));
    list->removeBore(bore(2));
    list->addBore(bore(2));
    EXPECT_EQ(members(list.in()), (Ids{boreId(0), boreId(1), boreId(2)}));
    if (!stored) {   // a storeless list also holds storeless wellbores of its project
      list->addBore(storeless.in());
      EXPECT_EQ(members(list.in()).back(), idOf(storeless.in()));
    }
    for (const char* selector : {"", "all", "attributes", "members"})
      EXPECT_EQ(std::string(CORBA::String_var(list->getLastModified(selector)).in()).size(), 20u) << selector;
    EXPECT_THROW(list->getLastModified("path"), EpEntity::ValidationException);

    List_var empty = create(stored, {});
    EXPECT_TRUE(members(empty.in()).empty());
  }
}

TEST_F(WellBoreListTest, RefusedChangesRaiseTheirExceptionAndChangeNothing) {
  EpiWell::WellBore_var unknown = unknownBore(bore(0));
  for (bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "stored" : "storeless");
    List_var list = create(stored, {bore(0), bore(1)});
    const CORBA::String_var before = list->getLastModified("members");
    const std::string first = boreId(0);
    // Each raises the exception expected and gives its reason.
    const struct {
      const char* what;
      std::function<std::string()> refused;
      const char* mentions;
    } cases[] = {
        {"add a member again",
         [&] { return reasonOf<List::DuplicateBoreException>([&] { list->addBore(bore(1)); }); }, "already"},
        {"add nil",
         [&] { return reasonOf<List::InvalidOperationException>([&] { list->addBore(EpiWell::WellBore::_nil()); }); },
         "nil"},
        {"add another project's wellbore",
         [&] { return reasonOf<List::InvalidOperationException>([&] { list->addBore(foreign.in()); }); },
         "own project"},
        {"add an unknown wellbore",
         [&] { return reasonOf<List::InvalidOperationException>([&] { list->addBore(unknown.in()); }); },
         "does not exist"},
        {"remove a wellbore not in the list",
         [&] { return reasonOf<List::BoreNotFoundException>([&] { list->removeBore(bore(2)); }); }, "not in the list"},
        {"remove nil",
         [&] { return reasonOf<List::BoreNotFoundException>([&] { list->removeBore(EpiWell::WellBore::_nil()); }); },
         "nil"},
        {"remove an unknown wellbore",
         [&] { return reasonOf<List::BoreNotFoundException>([&] { list->removeBore(unknown.in()); }); },
         "not in the list"},
    };
    for (const auto& c : cases) {
      const std::string reason = c.refused();
      EXPECT_NE(reason.find(c.mentions), std::string::npos) << c.what << ": " << reason;
      EXPECT_EQ(members(list.in()), (Ids{first, boreId(1)})) << c.what;
    }
    if (stored) {   // a stored list outlives the storeless wellbores
      const std::string reason =
          reasonOf<List::InvalidOperationException>([&] { list->addBore(storeless.in()); });
      EXPECT_NE(reason.find("storeless"), std::string::npos) << reason;
    }
    EXPECT_EQ(members(list.in()), (Ids{first, boreId(1)}));
    EXPECT_STREQ(CORBA::String_var(list->getLastModified("members")).in(), before.in());
  }
}

TEST_F(WellBoreListTest, FactoriesRefuseWhatNoListCanHoldAndCreateNothing) {
  const std::string query = "EpiWell_WellBoreList.name = 'refused'";
  const struct {
    const char* what;
    bool stored;
    std::function<void()> create;
    const char* mentions;
  } cases[] = {
      {"nil project", true, [&] { create(true, {}, "refused", EpSession::Project::_nil()); }, "project is nil"},
      {"nil wellbore", false, [&] { create(false, {bore(0), EpiWell::WellBore::_nil()}, "refused"); }, "nil"},
      {"another project's wellbore", true, [&] { create(true, {foreign.in()}, "refused"); }, "own project"},
      {"a wellbore twice", true, [&] { create(true, {bore(0), bore(1), bore(0)}, "refused"); }, "twice"},
      {"a storeless wellbore in a stored list", true, [&] { create(true, {storeless.in()}, "refused"); },
       "storeless"},
      {"an unknown wellbore", false, [&] { create(false, {unknownBore(bore(0)).in()}, "refused"); },
       "does not exist"},
  };
  for (const auto& c : cases) {
    const std::string reason = reasonOf<EpTypes::FailedOperationException>(c.create);
    EXPECT_NE(reason.find(c.mentions), std::string::npos) << c.what << ": " << reason;
  }
  EpEntity::EntitySeq_var found =
      project->executeQuery("EpiWell_WellBoreList", query.c_str(), EpSession::QueryParameterSeq());
  EXPECT_EQ(found->length(), 0u);
}

TEST_F(WellBoreListTest, QueriesFindTheStoredListsOfTheirProject) {
  List_var first = create(true, {bore(0)}, "first");
  List_var second = create(true, {}, "second");
  create(false, {}, "storeless");
  create(true, {foreign.in()}, "elsewhere", other.in());
  EpSession::QueryParameterSeq parameters;
  parameters.length(1);
  parameters[0].name = ":prjname";
  parameters[0].value = CORBA::String_var(project->getName()).in();
  EpEntity::EntitySeq_var found =
      project->executeQuery("EpiWell_WellBoreList", "EpiWell_WellBoreList.project.name = :prjname", parameters);
  EXPECT_EQ(idsOf(found.in()), (Ids{idOf(first.in()), idOf(second.in())}));
  found = project->executeQuery("EpiWell_WellBoreList", "EpiWell_WellBoreList.name like 'sec%'",
                                EpSession::QueryParameterSeq());
  EXPECT_EQ(idsOf(found.in()), Ids{idOf(second.in())});
}

namespace {

// A service of its own, to be killed and started again.
class RestartedService : public ::testing::Test {
protected:
  RestartedService() { service.start(); }
  ServiceProcess service;
};

// A reference held across a SIGKILL: the first call finds the old connection dead.
List_var revived(const std::string& ior) {
  CORBA::Object_var object = clientOrb()->string_to_object(ior.c_str());
  try {
    object->_non_existent();
  } catch (const CORBA::COMM_FAILURE&) {
  } catch (const CORBA::TRANSIENT&) {
  }
  return List::_narrow(object.in());
}

} // namespace

TEST_F(RestartedService, AStoredListKeepsItsMembersInOrderAcrossSigkill) {
  std::string ior;
  Ids expected;
  {
    WellBoreLists scope(service);
    List_var list = scope.create(true, {scope.bore(1)});
    list->addBore(scope.bore(2));
    list->addBore(scope.bore(0));
    list->removeBore(scope.bore(1));
    list->addBore(scope.bore(1));
    expected = {scope.boreId(2), scope.boreId(0), scope.boreId(1)};
    EXPECT_EQ(scope.members(list.in()), expected);
    ior = CORBA::String_var(clientOrb()->object_to_string(list.in())).in();
  }
  service.kill();
  service.start();
  List_var list = revived(ior);
  ASSERT_FALSE(CORBA::is_nil(list.in()));
  EXPECT_EQ(idsOf(EpEntity::EntitySeq_var(list->getBores()).in()), expected);
  EXPECT_STREQ(CORBA::String_var(list->getName()).in(), "selection");
}
