// kel_WellBoreList against a wellbore list served by this test process, and
// its creators against a session whose factory finder and list factories
// are served here too: they answer what a test scripts (a remote exception
// for the next call, a nil factory or list) and record what the wrapper
// sends. The wellbores are real ones of the shared service.
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <CosLifeCycle.hh>
#include <CosNotification.hh>
#include <EpSession.hh>
#include <EpiWell.hh>

#include "ContractService.h"
#include "kel_Connection.h"
#include "kel_Internal.h"
#include "kel_WellBoreList.h"
#include "kel_WellBoreListDataChangedEvent.h"

using namespace contract;

namespace {

template <class Iface>
typename Iface::_ptr_type rawOf(const kel_RemoteObject& object) {
  void* remote = object.getRemoteObject(kel_Internal());
  return remote != nullptr ? static_cast<typename Iface::_ptr_type>(remote) : Iface::_nil();
}

bool sameObject(CORBA::Object_ptr a, CORBA::Object_ptr b) {
  if (CORBA::is_nil(a) || CORBA::is_nil(b)) return CORBA::is_nil(a) && CORBA::is_nil(b);
  return a->_is_equivalent(b);
}

// What a scripted servant shares: a count of calls per operation and a
// failure raised by the next call, once.
class Script {
public:
  int count(const std::string& operation) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls[operation];
  }
  void failNextCall(std::function<void()> failure) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failure = std::move(failure);
  }

protected:
  void step(const char* operation) {
    std::function<void()> failure;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      ++m_calls[operation];
      failure.swap(m_failure);
    }
    if (failure) failure();
  }

private:
  std::mutex m_mutex;
  std::map<std::string, int> m_calls;
  std::function<void()> m_failure;
};

class ScriptedList : public POA_EpiWell::WellBoreList, public Script {
public:
  std::string name = "Selection";
  std::string dataSource = "picked by hand";
  std::string selector;
  EpSession::Project_var project = EpSession::Project::_nil();
  std::vector<EpiWell::WellBore_var> members;
  // Answered by getBores after the members, as a service gone wrong might.
  EpEntity::Entity_var stranger = EpEntity::Entity::_nil();

  char* getId() override { return CORBA::string_dup("scripted-list:1"); }
  char* getStoreName() override { return CORBA::string_dup(""); }
  char* getEntityType() override { return CORBA::string_dup("EpiWell_WellBoreList"); }
  EpSession::Project_ptr getProject() override {
    step("getProject");
    return EpSession::Project::_duplicate(project.in());
  }
  char* getLastModified(const char* value) override {
    step("getLastModified");
    selector = value;
    return CORBA::string_dup("2024-05-17T08:30:00Z");
  }

  char* getName() override {
    step("getName");
    return CORBA::string_dup(name.c_str());
  }
  void setName(const char* value) override {
    step("setName");
    name = value;
  }
  char* getDataSource() override {
    step("getDataSource");
    return CORBA::string_dup(dataSource.c_str());
  }
  void setDataSource(const char* value) override {
    step("setDataSource");
    dataSource = value;
  }

  EpEntity::EntitySeq* getBores() override {
    step("getBores");
    auto* result = new EpEntity::EntitySeq;
    result->length(static_cast<CORBA::ULong>(members.size()));
    for (CORBA::ULong i = 0; i < members.size(); ++i) (*result)[i] = EpEntity::Entity::_duplicate(members[i].in());
    if (!CORBA::is_nil(stranger.in())) {
      result->length(result->length() + 1);
      (*result)[result->length() - 1] = EpEntity::Entity::_duplicate(stranger.in());
    }
    return result;
  }
  void addBore(EpiWell::WellBore_ptr bore) override {
    step("addBore");
    if (find(bore) != members.end())
      throw EpiWell::WellBoreList::DuplicateBoreException("The wellbore is in the list already. ");
    members.push_back(EpiWell::WellBore::_duplicate(bore));
  }
  void removeBore(EpiWell::WellBore_ptr bore) override {
    step("removeBore");
    auto member = find(bore);
    if (member == members.end())
      throw EpiWell::WellBoreList::BoreNotFoundException("The wellbore is not in the list. ");
    members.erase(member);
  }

private:
  std::vector<EpiWell::WellBore_var>::iterator find(EpiWell::WellBore_ptr bore) {
    for (auto it = members.begin(); it != members.end(); ++it)
      if (sameObject(it->in(), bore)) return it;
    return members.end();
  }
};

// What a list factory was given.
struct Creation {
  EpSession::Project_var project;
  std::string name;
  std::string dataSource;
  std::vector<EpiWell::WellBore_var> bores;
  EpSession::Session_var session;
};

// Both list factories answer the same way: the list they were set to
// answer (nil by default), after recording what they were given.
template <class Skeleton>
class ScriptedFactory : public Skeleton, public Script {
public:
  EpiWell::WellBoreList_var answer = EpiWell::WellBoreList::_nil();
  std::vector<Creation> creations;

  EpiWell::WellBoreList_ptr createWellBoreList(EpSession::Project_ptr project, const char* name,
                                               const char* dataSource, const EpiWell::WellBoreSeq& bores,
                                               EpSession::Session_ptr session) override {
    step("createWellBoreList");
    Creation creation{EpSession::Project::_duplicate(project), name, dataSource, {},
                      EpSession::Session::_duplicate(session)};
    for (CORBA::ULong i = 0; i < bores.length(); ++i)
      creation.bores.push_back(EpiWell::WellBore::_duplicate(bores[i]));
    creations.push_back(creation);
    return EpiWell::WellBoreList::_duplicate(answer.in());
  }
};
using NewFactory = ScriptedFactory<POA_EpiWell::NewWellBoreListFactory>;
using StorelessFactory = ScriptedFactory<POA_EpiWell::StorelessWellBoreListFactory>;

// Finds the factories registered with it by repository id; records the keys.
class ScriptedFinder : public POA_CosLifeCycle::FactoryFinder, public Script {
public:
  std::map<std::string, CORBA::Object_var> factories;
  std::vector<std::pair<std::string, std::string>> keys;  // id, kind

  CosLifeCycle::Factories* find_factories(const CosLifeCycle::Key& key) override {
    step("find_factories");
    keys.emplace_back(key[0].id.in(), key[0].kind.in());
    auto* result = new CosLifeCycle::Factories;
    auto found = factories.find(key[0].id.in());
    if (found != factories.end()) {
      result->length(1);
      (*result)[0] = CORBA::Object::_duplicate(found->second.in());
    }
    return result;
  }
};

class ScriptedSession : public POA_EpSession::Session {
public:
  CosLifeCycle::FactoryFinder_var finder;

  char* getUser() override { return CORBA::string_dup("scripted"); }
  char* getUnitSystem() override { return CORBA::string_dup("metric"); }
  EpSession::Project_ptr openProject(const char*) override { return EpSession::Project::_nil(); }
  EpSession::Project_ptr createProject(const char*) override { return EpSession::Project::_nil(); }
  EpSession::ProjectSeq* listProjects() override { return new EpSession::ProjectSeq; }
  CosLifeCycle::FactoryFinder_ptr getFactoryFinder() override {
    return CosLifeCycle::FactoryFinder::_duplicate(finder.in());
  }
};

// A scripted list, and a scripted session through which its factories are
// found, served in this process's POA for the length of a test.
struct ScriptedLists : Contract {
  ScriptedList* list = new ScriptedList;
  NewFactory* newFactory = new NewFactory;
  StorelessFactory* storelessFactory = new StorelessFactory;
  ScriptedFinder* finder = new ScriptedFinder;
  ScriptedSession* scriptedSession = new ScriptedSession;

  kel_WellBoreList scripted;
  kel_Session listSession;  // finds the scripted factories

  void SetUp() override {
    poa = PortableServer::POA::_duplicate(static_cast<PortableServer::POA_ptr>(kel_Connection::getPoa()));
    PortableServer::POAManager_var manager = poa->the_POAManager();
    manager->activate();

    CORBA::Object_var listReference = serve(list);
    scripted = kel_WellBoreList(kel_RemoteStub(listReference.in()), true);
    const EpiWell::WellBoreList_var typedList = EpiWell::WellBoreList::_narrow(listReference.in());
    newFactory->answer = EpiWell::WellBoreList::_duplicate(typedList.in());
    storelessFactory->answer = EpiWell::WellBoreList::_duplicate(typedList.in());
    finder->factories[EpiWell::_tc_NewWellBoreListFactory->id()] = serve(newFactory);
    finder->factories[EpiWell::_tc_StorelessWellBoreListFactory->id()] = serve(storelessFactory);
    CORBA::Object_var finderReference = serve(finder);
    scriptedSession->finder = CosLifeCycle::FactoryFinder::_narrow(finderReference.in());
    CORBA::Object_var sessionReference = serve(scriptedSession);
    listSession = kel_Session(kel_RemoteStub(sessionReference.in()), true);
  }

  void TearDown() override {
    scripted = kel_WellBoreList();
    listSession = kel_Session();
    for (auto& served : m_served) {
      poa->deactivate_object(served.first.in());
      served.second->_remove_ref();
    }
    Contract::TearDown();
  }

  kel_Array<kel_WellBore> boresOf(std::initializer_list<kel_WellBore> bores) const {
    kel_Array<kel_WellBore> result;
    for (const kel_WellBore& bore : bores) result.addElement(bore);
    return result;
  }

  PortableServer::POA_var poa;

private:
  CORBA::Object_ptr serve(PortableServer::ServantBase* servant) {
    PortableServer::ObjectId_var oid = poa->activate_object(servant);
    CORBA::Object_ptr reference = poa->id_to_reference(oid.in());
    m_served.emplace_back(oid._retn(), servant);
    return reference;
  }

  std::vector<std::pair<PortableServer::ObjectId_var, PortableServer::ServantBase*>> m_served;
};

const std::string kDuplicate = "Caught an EpiWell::WellBoreList::DuplicateBoreException exception in the ";
const std::string kNotFound = "Caught an EpiWell::WellBoreList::BoreNotFoundException exception in the ";
const std::string kInvalid = "Caught an EpiWell::WellBoreList::InvalidOperationException exception in the ";

} // namespace

TEST_F(ScriptedLists, AttributesAreAskedForAndWrittenThroughEveryTime) {
  EXPECT_EQ("Selection", str(scripted.getName()));
  scripted.setName("Study A");
  EXPECT_EQ("Study A", list->name);
  EXPECT_EQ("Study A", str(scripted.getName()));
  EXPECT_EQ(2, list->count("getName"));

  EXPECT_EQ("picked by hand", str(scripted.getDataSource()));
  scripted.setDataSource("");
  EXPECT_EQ("", list->dataSource);
  EXPECT_EQ("", str(scripted.getDataSource()));

  EXPECT_EQ(kel_Date(2024, 5, 17, 8, 30, 0), scripted.getLastModified("members"));
  EXPECT_EQ("members", list->selector);

  EXPECT_TRUE(scripted.getProject().isNil());
  list->project = EpSession::Project::_duplicate(rawOf<EpSession::Project>(project));
  EXPECT_TRUE(scripted.getProject() == project);

  // Identity is the list's identifier; copies compare equal.
  const kel_WellBoreList copy(scripted);
  EXPECT_TRUE(copy == scripted);
  EXPECT_FALSE(copy < scripted);
  EXPECT_FALSE(scripted < copy);
  EXPECT_EQ("EpiWell_WellBoreList", str(kel_WellBoreList::getEntityType()));
  EXPECT_EQ(EpiWell::_tc_WellBoreList->id(), str(kel_WellBoreList::getRepositoryId()));
}

TEST_F(ScriptedLists, MembershipKeepsTheListsOrder) {
  const kel_Well parent = well();
  const kel_WellBore first = bore(parent, "01"), second = bore(parent, "02"), third = bore(parent, "03");
  EXPECT_EQ(0u, scripted.getBores().size());

  for (const kel_WellBore& member : {first, second, third}) scripted.addBore(member);
  kel_Array<kel_WellBore> members = scripted.getBores();
  ASSERT_EQ(3u, members.size());
  EXPECT_TRUE(members[0] == first);
  EXPECT_TRUE(members[1] == second);
  EXPECT_TRUE(members[2] == third);

  scripted.removeBore(second);
  members = scripted.getBores();
  ASSERT_EQ(2u, members.size());
  EXPECT_TRUE(members[0] == first);
  EXPECT_TRUE(members[1] == third);
  // What came back is a wellbore like any other.
  EXPECT_EQ(str(third.getId()), str(members[1].getId()));
}

TEST_F(ScriptedLists, MembershipChangesThatTheListRefuses) {
  const kel_Well parent = well();
  const kel_WellBore member = bore(parent, "01"), outsider = bore(parent, "02");
  scripted.addBore(member);
  const std::string add = "Could not add a wellbore to the wellbore list. ";
  const std::string remove = "Could not remove the supplied well bore from the wellbore list. ";

  struct Case {
    const char* what;
    std::function<void()> call;
    std::vector<Level> chain;
    const char* operation;  // what the list was asked, if anything
  };
  const std::vector<Case> cases{
      {"a wellbore already in the list", [&] { scripted.addBore(member); },
       {user(add, kDuplicate + "kel_WellBoreList::addBore method. The wellbore is in the list already. ")},
       "addBore"},
      {"a wellbore not in the list", [&] { scripted.removeBore(outsider); },
       {user(remove, kNotFound + "kel_WellBoreList::removeBore method. The wellbore is not in the list. ")},
       "removeBore"},
      {"adding no wellbore", [&] { scripted.addBore(kel_WellBore()); },
       {user(add, std::string(kUser) + "kel_WellBoreList::addBore method. "),
        user("The supplied well bore is null. ")},
       nullptr},
      {"removing no wellbore", [&] { scripted.removeBore(kel_WellBore()); },
       {user(remove, std::string(kUser) + "kel_WellBoreList::removeBore method. "),
        user("The supplied well bore is null. ")},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int added = list->count("addBore"), removed = list->count("removeBore");
    expectChain(caught(c.call), c.chain);
    const bool asked = c.operation != nullptr;
    EXPECT_EQ(added + (asked && std::string(c.operation) == "addBore"), list->count("addBore"));
    EXPECT_EQ(removed + (asked && std::string(c.operation) == "removeBore"), list->count("removeBore"));
    // Nothing changed.
    const kel_Array<kel_WellBore> members = scripted.getBores();
    ASSERT_EQ(1u, members.size());
    EXPECT_TRUE(members[0] == member);
  }
}

TEST_F(ScriptedLists, RemoteFailuresOfEachOperation) {
  const kel_WellBore member = bore(well(), "01");
  auto store = [] { throw EpDataStore::StoreException("The store is locked: ", "try again"); };
  auto refused = [] { throw EpEntity::ValidationException("name: must not be empty"); };
  auto transient = [] { throw CORBA::TRANSIENT(0, CORBA::COMPLETED_NO); };
  auto invalid = [] { throw EpiWell::WellBoreList::InvalidOperationException("The list is read only. "); };
  const std::string locked = "The store is locked: try again";
  auto at = [](const char* operation) { return std::string("kel_WellBoreList::") + operation + " method. "; };

  struct Case {
    const char* what;
    std::function<void()> failure;
    std::function<void()> call;
    Level level;
  };
  const std::vector<Case> cases{
      {"getName, store", store, [&] { scripted.getName(); },
       sys("Could not return the name of this wellbore list. ", kStore + at("getName") + locked)},
      {"setName, refused", refused, [&] { scripted.setName(""); },
       user("Could not update the name of this wellbore list. ",
            kValidation + at("setName") + "name: must not be empty")},
      {"getDataSource, ORB", transient, [&] { scripted.getDataSource(); },
       sys("Could not return the source of this wellbore list. ", kCorba + at("getDataSource"))},
      {"setDataSource, store", store, [&] { scripted.setDataSource("x"); },
       sys("Could not update the source of this wellbore list. ", kStore + at("setDataSource") + locked)},
      {"getLastModified, refused selector", refused, [&] { scripted.getLastModified("nonsense"); },
       user("Could not return the last modified date of this wellbore list. ",
            kValidation + at("getLastModified") + "name: must not be empty")},
      {"getBores, store", store, [&] { scripted.getBores(); },
       sys("Could not return the well bores for this wellbore list. ", kStore + at("getBores") + locked)},
      {"addBore, invalid operation", invalid, [&] { scripted.addBore(member); },
       sys("Could not add a wellbore to the wellbore list. ", kInvalid + at("addBore") + "The list is read only. ")},
      {"addBore, store", store, [&] { scripted.addBore(member); },
       sys("Could not add a wellbore to the wellbore list. ", kStore + at("addBore") + locked)},
      {"removeBore, store", store, [&] { scripted.removeBore(member); },
       sys("Could not remove the supplied well bore from the wellbore list. ", kStore + at("removeBore") + locked)},
      {"removeBore, ORB", transient, [&] { scripted.removeBore(member); },
       sys("Could not remove the supplied well bore from the wellbore list. ", kCorba + at("removeBore"))},
      {"getProject, store", store, [&] { scripted.getProject(); },
       sys("Could not return the project which this wellbore list belongs to. ",
           kStore + at("getProject") + locked)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list->failNextCall(c.failure);
    expectChain(caught(c.call), {c.level});
  }
  EXPECT_TRUE(list->members.empty());
}

TEST_F(ScriptedLists, AMemberThatIsNoWellboreFailsTheWholeListing) {
  scripted.addBore(bore(well(), "01"));
  list->stranger = EpEntity::Entity::_duplicate(rawOf<EpiWell::Well>(well("Other", "UWI-2")));
  expectChain(caught([&] { scripted.getBores(); }),
              {sys("Could not return the well bores for this wellbore list. ",
                   std::string(kSystem) + "kel_WellBoreList::getBores method. "),
               sys("Trying to instantiate an kel_WellBore using a NULL pointer.")});
}

TEST_F(ScriptedLists, NilListsAndReferencesOfOtherKinds) {
  const kel_WellBoreList nil;
  expectChain(caught([&] { nil.getName(); }),
              {user("Could not return the name of this wellbore list. ",
                    std::string(kUser) + "kel_WellBoreList::getName method. "),
               user("This kel_WellBoreList is nil: it stands for no remote object. ")});
  expectChain(caught([] { kel_WellBoreList unbound(kel_RemoteStub(), true); }),
              {sys("Trying to instantiate an kel_WellBoreList using a NULL pointer.")});

  // From a stringified reference: the list's own, then a wellbore's.
  const kel_WellBoreList again = kel_WellBoreList::getFromString(scripted.getStringifiedReference());
  EXPECT_TRUE(again == scripted);
  const kel_WellBore member = bore(well(), "01");
  expectChain(caught([&] { kel_WellBoreList::getFromString(member.getStringifiedReference()); }),
              {user("Couldn't create a wellbore list object from given stringified wellbore list. ",
                    std::string(kUser) + "kel_WellBoreList::getFromString method. "),
               user("The EpiWell::WellBoreList came bcak nil. ")});

  // Narrowing entities: the list is one, a wellbore is not.
  EXPECT_TRUE(kel_WellBoreList::narrow(kel_Entity(scripted), true) == scripted);
  EXPECT_TRUE(kel_WellBoreList::narrow(kel_Entity(member), false).isNil());
  expectChain(caught([&] { kel_WellBoreList::narrow(kel_Entity(member), true); }),
              {sys("Could not narrow the given entity object to a wellbore list object. ",
                   std::string(kSystem) + "kel_WellBoreList::narrow method. "),
               sys("The EpiWell::WellBoreList came back nil. ")});
  kel_Array<kel_Entity> mixed;
  mixed.addElement(kel_Entity(scripted));
  mixed.addElement(kel_Entity(member));
  const kel_Array<kel_WellBoreList> lists = kel_WellBoreList::narrow(mixed, false);
  ASSERT_EQ(1u, lists.size());
  EXPECT_TRUE(lists[0] == scripted);
  expectChain(caught([&] { kel_WellBoreList::narrow(mixed, true); }),
              {sys("Could not narrow the given list of entity objects to a list of wellbore list objects. ",
                   std::string(kSystem) + "kel_WellBoreList::narrow method. "),
               sys("The given entity array contains other types of entities than wellbore lists. ")});
}

TEST_F(ScriptedLists, CreatorsHandTheFactoryTheirInputsInOrder) {
  const kel_Well parent = well();
  const kel_WellBore first = bore(parent, "01"), second = bore(parent, "02");

  const kel_WellBoreList stored =
      kel_WellBoreList::createNewWellBoreList(project, "Study A", "picked", boresOf({second, first}), listSession);
  EXPECT_TRUE(stored == scripted);
  const kel_WellBoreList storeless =
      kel_WellBoreList::createStorelessWellBoreList(project, "Study B", "", boresOf({}), listSession);
  EXPECT_TRUE(storeless == scripted);

  // The finder was asked for each factory by its interface; the stored one
  // in the project's store.
  ASSERT_EQ(2u, finder->keys.size());
  EXPECT_EQ(EpiWell::_tc_NewWellBoreListFactory->id(), finder->keys[0].first);
  EXPECT_EQ(str(project.getStoreName()), finder->keys[0].second);
  EXPECT_EQ(EpiWell::_tc_StorelessWellBoreListFactory->id(), finder->keys[1].first);
  EXPECT_EQ("", finder->keys[1].second);

  ASSERT_EQ(1u, newFactory->creations.size());
  const Creation& made = newFactory->creations[0];
  EXPECT_TRUE(sameObject(made.project.in(), rawOf<EpSession::Project>(project)));
  EXPECT_EQ("Study A", made.name);
  EXPECT_EQ("picked", made.dataSource);
  ASSERT_EQ(2u, made.bores.size());
  EXPECT_TRUE(sameObject(made.bores[0].in(), rawOf<EpiWell::WellBore>(second)));
  EXPECT_TRUE(sameObject(made.bores[1].in(), rawOf<EpiWell::WellBore>(first)));
  EXPECT_TRUE(sameObject(made.session.in(), rawOf<EpSession::Session>(listSession)));

  ASSERT_EQ(1u, storelessFactory->creations.size());
  EXPECT_EQ("Study B", storelessFactory->creations[0].name);
  EXPECT_TRUE(storelessFactory->creations[0].bores.empty());
}

TEST_F(ScriptedLists, CreatorsRefuseWhatTheyCannotCreate) {
  const kel_WellBore member = bore(well(), "01");
  const std::string stored = "Could not create a new wellBore list from given inputs. ";
  const std::string storeless = "Could not create a storeless wellbore list from given inputs. ";
  const std::string atStored = "kel_WellBoreList::createNewWellBoreList method. ";
  const std::string atStoreless = "kel_WellBoreList::createStorelessWellBoreList method. ";
  auto createStored = [](const kel_Project& in, const kel_Array<kel_WellBore>& bores, const kel_Session& on) {
    return [in, bores, on] { kel_WellBoreList::createNewWellBoreList(in, "L", "S", bores, on); };
  };
  auto createStoreless = [](const kel_Project& in, const kel_Array<kel_WellBore>& bores, const kel_Session& on) {
    return [in, bores, on] { kel_WellBoreList::createStorelessWellBoreList(in, "L", "S", bores, on); };
  };
  const kel_Array<kel_WellBore> thirdNil = boresOf({member, member, kel_WellBore()});

  struct Case {
    const char* what;
    std::function<void()> setUp;
    std::function<void()> call;
    std::vector<Level> chain;
    int lookups;   // factory lookups made
    bool created;  // whether a factory was asked to create
  };
  const std::vector<Case> cases{
      {"stored, no session", nullptr, createStored(project, boresOf({}), kel_Session()),
       {sys(stored, kSystem + atStored), sys("The supplied session is nil. ")}, 0, false},
      {"storeless, no session", nullptr, createStoreless(project, boresOf({}), kel_Session()),
       {user(storeless, kUser + atStoreless), user("The supplied session is nil. ")}, 0, false},
      {"stored, a nil third wellbore", nullptr, createStored(project, thirdNil, listSession),
       {sys(stored, kSystem + atStored), sys("At-least one of the supplied bores is being nil. ")}, 1, false},
      {"storeless, a nil third wellbore", nullptr, createStoreless(project, thirdNil, listSession),
       {sys(storeless, kSystem + atStoreless), sys("At-least one of the supplied bores is being nil. ")}, 1,
       false},
      {"storeless, no project", nullptr, createStoreless(kel_Project(), boresOf({}), listSession),
       {sys(storeless, kSystem + atStoreless), sys("The supplied project is nil. ")}, 1, false},
      {"stored, no factory", [&] { finder->factories.clear(); }, createStored(project, boresOf({}), listSession),
       {sys(stored, kSystem + atStored), sys("The EpiWell::NewWellBoreListFactory came back nil. ")}, 1, false},
      {"storeless, no factory", [&] { finder->factories.clear(); },
       createStoreless(project, boresOf({}), listSession),
       {sys(storeless, kSystem + atStoreless), sys("The EpiWell::StorelessWellBoreListFactory came back nil. ")},
       1, false},
      {"stored, no list came back", [&] { newFactory->answer = EpiWell::WellBoreList::_nil(); },
       createStored(project, boresOf({member}), listSession),
       {sys(stored, kSystem + atStored), sys("The EpiWell::WellBoreList came back nil. ")}, 1, true},
      {"storeless, no list came back", [&] { storelessFactory->answer = EpiWell::WellBoreList::_nil(); },
       createStoreless(project, boresOf({member}), listSession),
       {sys(storeless, kSystem + atStoreless), sys("The EpiWell::WellBoreList came back nil. ")}, 1, true},
      {"stored, the factory fails",
       [&] { newFactory->failNextCall([] { throw EpTypes::FailedOperationException("The name is taken. "); }); },
       createStored(project, boresOf({}), listSession),
       {sys(stored, "Caught an EpTypes::FailedOperationException exception in the " + atStored +
                        "The name is taken. ")},
       1, true},
      {"storeless, no factory for the key",
       [&] { storelessFactory->failNextCall([] { throw CosLifeCycle::NoFactory(); }); },
       createStoreless(project, boresOf({}), listSession),
       {sys(storeless, "Caught a CosLifeCycle::NoFactory exception in the " + atStoreless)}, 1, true},
      {"stored, the store fails",
       [&] { newFactory->failNextCall([] { throw EpDataStore::StoreException("Disk full: ", "/data"); }); },
       createStored(project, boresOf({}), listSession),
       {sys(stored, kStore + atStored + "Disk full: /data")}, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto factories = finder->factories;
    const EpiWell::WellBoreList_var newAnswer = EpiWell::WellBoreList::_duplicate(newFactory->answer.in());
    const EpiWell::WellBoreList_var storelessAnswer =
        EpiWell::WellBoreList::_duplicate(storelessFactory->answer.in());
    const int lookups = finder->count("find_factories");
    const int created = newFactory->count("createWellBoreList") + storelessFactory->count("createWellBoreList");
    if (c.setUp) c.setUp();
    expectChain(caught(c.call), c.chain);
    EXPECT_EQ(lookups + c.lookups, finder->count("find_factories"));
    EXPECT_EQ(created + (c.created ? 1 : 0),
              newFactory->count("createWellBoreList") + storelessFactory->count("createWellBoreList"));
    finder->factories = factories;
    newFactory->answer = EpiWell::WellBoreList::_duplicate(newAnswer.in());
    storelessFactory->answer = EpiWell::WellBoreList::_duplicate(storelessAnswer.in());
  }

  // The stored creator reads the project's store before it tests the
  // project: the platform's answer for a nil project comes first.
  expectChain(caught(createStored(kel_Project(), boresOf({}), listSession)),
              {sys(stored, kSystem + atStored),
               sys("Could not read the store name of the entity. ", "The entity is nil. ")});
}

namespace {

// A wellbore list event naming a wellbore, as the listener builds it.
class ListEvent : public kel_WellBoreListDataChangedEvent {
public:
  ListEvent(CORBA::Long kind, const kel_WellBore& bore, const char* time)
      : kel_WellBoreListDataChangedEvent(raw(kind, bore, time).get()) {}

private:
  static std::shared_ptr<CosNotification::StructuredEvent> raw(CORBA::Long kind, const kel_WellBore& bore,
                                                               const char* time) {
    auto event = std::make_shared<CosNotification::StructuredEvent>();
    event->header.fixed_header.event_type.domain_name = CORBA::string_dup("Kelvast");
    event->header.fixed_header.event_type.type_name = CORBA::string_dup("DataChanged");
    event->header.fixed_header.event_name = CORBA::string_dup("EpiWell::WellBoreList");
    event->header.variable_header.length(1);
    event->header.variable_header[0].name = CORBA::string_dup("Time");
    event->header.variable_header[0].value <<= time;
    EpiWell::WellBoreList::WellBoreListChange change;
    change.changeType = kind;
    change.bore = EpiWell::WellBore::_duplicate(rawOf<EpiWell::WellBore>(bore));
    event->filterable_data.length(1);
    event->filterable_data[0].name = CORBA::string_dup("ChangedData");
    event->filterable_data[0].value <<= change;
    return event;
  }
};

} // namespace

// Events name real wellbores: compared by the wellbores' identifiers.
TEST_F(ScriptedLists, EventsCompareTheWellboresTheyName) {
  const kel_Well parent = well();
  const kel_WellBore first = bore(parent, "01"), second = bore(parent, "02");
  const kel_WellBore firstAgain = kel_WellBore::getFromString(first.getStringifiedReference());
  ::testing::internal::CaptureStdout();
  const ListEvent added(0, first, "2024-05-17T08:30:00Z");
  const ListEvent addedAgain(0, firstAgain, "2024-05-17T08:30:00Z");
  const ListEvent addedOther(0, second, "2024-05-17T08:30:00Z");
  const ListEvent removedLater(1, str(first.getId()) < str(second.getId()) ? second : first,
                               "2024-05-18T08:30:00Z");
  EXPECT_EQ(4u * std::string("kel_WellBoreListDataChangedEvent\n").size(),
            ::testing::internal::GetCapturedStdout().size());

  EXPECT_TRUE(added.getBore() == first);
  EXPECT_TRUE(added.getWellBoreListChange().bore == first);
  EXPECT_TRUE(added == addedAgain);
  EXPECT_FALSE(added == addedOther);
  EXPECT_FALSE(added < addedAgain);
  // Every part less: kind 0 < 1, the wellbore with the smaller identifier,
  // and the earlier time.
  const ListEvent& smaller = str(first.getId()) < str(second.getId()) ? added : addedOther;
  EXPECT_TRUE(smaller < removedLater);
  EXPECT_FALSE(removedLater < smaller);
}
