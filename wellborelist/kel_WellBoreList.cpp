#include "kel_WellBoreList.h"

#include <EpiWell.hh>

#include "kel_FailureTranslation.h"
#include "kel_RemoteAccess.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_WellBoreList>;
using Remote = Core::Objref;

template class kel_Array<kel_WellBoreList>;

// ---------------------------------------------------------------- one change of a list

kel_WellBoreList::WellBoreListChange::WellBoreListChange() : changeType(0) {}

kel_WellBoreList::WellBoreListChange::WellBoreListChange(const WellBoreListChange& other)
    : changeType(other.changeType), bore(other.bore, true) {}

kel_WellBoreList::WellBoreListChange&
kel_WellBoreList::WellBoreListChange::operator=(const WellBoreListChange& other) {
  changeType = other.changeType;
  bore = other.bore;
  return *this;
}

kel_WellBoreList::WellBoreListChange::~WellBoreListChange() = default;

// ---------------------------------------------------------------- the wrapper core

kel_WellBoreList::kel_WellBoreList() = default;

kel_WellBoreList::kel_WellBoreList(const kel_RemoteStub& stub, bool duplicate)
    : kel_Entity(Core::typedStub(stub), false) {
  Core::adopt(*this, stub, duplicate);
}

kel_WellBoreList::kel_WellBoreList(const kel_WellBoreList& other, bool duplicate) : kel_Entity(other, false) {
  assignment(other, duplicate);
}

kel_WellBoreList::~kel_WellBoreList() = default;

kel_WellBoreList& kel_WellBoreList::operator=(const kel_WellBoreList& other) { return Core::copy(*this, other); }
bool kel_WellBoreList::operator==(const kel_WellBoreList& other) const { return Core::equal(*this, other); }
bool kel_WellBoreList::operator<(const kel_WellBoreList& other) const { return Core::less(*this, other); }

void kel_WellBoreList::assignment(const kel_WellBoreList& other, bool duplicate) {
  Core::assignment(*this, other, duplicate);
}
void* kel_WellBoreList::getBaseObject() const { return Core::baseObject(*this); }
kel_cppUtil::String kel_WellBoreList::getClassName() const { return Core::className(); }
kel_WellString kel_WellBoreList::getEntityType() { return Core::entityType(); }
kel_WellString kel_WellBoreList::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_WellBoreList::getProject() const { return Core::project(*this); }

kel_WellBoreList kel_WellBoreList::narrow(const kel_Entity& entity, bool mustMatch) {
  return Core::narrow(entity, mustMatch);
}

kel_Array<kel_WellBoreList> kel_WellBoreList::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_WellBoreList kel_WellBoreList::getFromString(const kel_WellString& text) {
  return Core::fromString(text);
}

kel_Array<kel_WellBoreList> kel_WellBoreList::getWellBoreListsInProject(const kel_Project& project) {
  return Core::inProject(project);
}

// ---------------------------------------------------------------- creation

namespace {

constexpr kel_CreatorTexts storelessTexts{"The EpiWell::StorelessWellBoreListFactory came back nil. ",
                                          "The EpiWell::WellBoreList came back nil. "};
constexpr kel_CreatorTexts newTexts{"The EpiWell::NewWellBoreListFactory came back nil. ",
                                    "The EpiWell::WellBoreList came back nil. "};

// What both factories are given besides the texts: the project and the
// wellbores, in order. Checked after the factory was found, so that a nil
// project or wellbore is refused before anything is created.
struct ListMembers {
  EpSession::Project_ptr project;
  EpiWell::WellBoreSeq bores;
};

ListMembers listMembers(const kel_Project& project, const kel_Array<kel_WellBore>& bores) {
  ListMembers members{kel_remote::rawOrNil<EpSession::Project>(project), EpiWell::WellBoreSeq()};
  if (CORBA::is_nil(members.project)) throw kel_SystemException("The supplied project is nil. ");
  members.bores.length(bores.size());
  for (unsigned i = 0; i < bores.size(); ++i) {
    EpiWell::WellBore_ptr bore = kel_remote::rawOrNil<EpiWell::WellBore>(bores[i]);
    if (CORBA::is_nil(bore)) throw kel_SystemException("At-least one of the supplied bores is being nil. ");
    members.bores[i] = EpiWell::WellBore::_duplicate(bore);
  }
  return members;
}

} // namespace

kel_WellBoreList kel_WellBoreList::createStorelessWellBoreList(const kel_Project& project,
                                                               const kel_WellString& name,
                                                               const kel_WellString& dataSource,
                                                               const kel_Array<kel_WellBore>& bores,
                                                               const kel_Session& session) {
  return translate(
      Msg{"Could not create a storeless wellbore list from given inputs. "},
      Where{"kel_WellBoreList", "createStorelessWellBoreList"}, Standard(Store, FailedOperation, NoFactory), [&] {
        return Core::createStoreless(
            session, storelessTexts,
            [&](EpiWell::StorelessWellBoreListFactory_ptr factory, EpSession::Session_ptr remoteSession) {
              const ListMembers members = listMembers(project, bores);
              return factory->createWellBoreList(members.project, static_cast<const char*>(name),
                                                 static_cast<const char*>(dataSource), members.bores,
                                                 remoteSession);
            });
      });
}

kel_WellBoreList kel_WellBoreList::createNewWellBoreList(const kel_Project& project, const kel_WellString& name,
                                                         const kel_WellString& dataSource,
                                                         const kel_Array<kel_WellBore>& bores,
                                                         const kel_Session& session) {
  return translate(
      Msg{"Could not create a new wellBore list from given inputs. "},
      Where{"kel_WellBoreList", "createNewWellBoreList"}, Standard(Store, FailedOperation, NoFactory), [&] {
        return Core::createNew(
            session, project, newTexts,
            [&](EpiWell::NewWellBoreListFactory_ptr factory, EpSession::Session_ptr remoteSession) {
              const ListMembers members = listMembers(project, bores);
              return factory->createWellBoreList(members.project, static_cast<const char*>(name),
                                                 static_cast<const char*>(dataSource), members.bores,
                                                 remoteSession);
            });
      });
}

// ---------------------------------------------------------------- name, data source, last change

kel_WellString kel_WellBoreList::getName() const {
  return Core::getText(*this, &Remote::getName, Msg{"Could not return the name of this wellbore list. "},
                       Where{"kel_WellBoreList", "getName"}, Standard(Store));
}

void kel_WellBoreList::setName(const kel_WellString& name) {
  Core::setText(*this, &Remote::setName, name, Msg{"Could not update the name of this wellbore list. "},
                Where{"kel_WellBoreList", "setName"}, Standard(Store, Validation));
}

kel_WellString kel_WellBoreList::getDataSource() const {
  return Core::getText(*this, &Remote::getDataSource, Msg{"Could not return the source of this wellbore list. "},
                       Where{"kel_WellBoreList", "getDataSource"}, Standard(Store));
}

void kel_WellBoreList::setDataSource(const kel_WellString& dataSource) {
  Core::setText(*this, &Remote::setDataSource, dataSource,
                Msg{"Could not update the source of this wellbore list. "},
                Where{"kel_WellBoreList", "setDataSource"}, Standard(Store, Validation));
}

kel_Date kel_WellBoreList::getLastModified(kel_WellString selector) const {
  return translate(Msg{"Could not return the last modified date of this wellbore list. "},
                   Where{"kel_WellBoreList", "getLastModified"}, Standard(Store, Validation), [&] {
                     CORBA::String_var text = Core::remote(*this)->getLastModified(static_cast<const char*>(selector));
                     return kel_Date::fromString(text.in());
                   });
}

// ---------------------------------------------------------------- membership

kel_Array<kel_WellBore> kel_WellBoreList::getBores() const {
  return translate(Msg{"Could not return the well bores for this wellbore list. "},
                   Where{"kel_WellBoreList", "getBores"}, Standard(Store), [&] {
                     EpEntity::EntitySeq_var bores = Core::remote(*this)->getBores();
                     return kel_WrapperCore<kel_WellBore>::fromSequence(bores.in());
                   });
}

namespace {

// The wellbore's reference as the list takes it; a nil wellbore is the
// caller's mistake and is refused before the list is asked anything.
EpiWell::WellBore_ptr memberOf(const kel_WellBore& bore) {
  EpiWell::WellBore_ptr remote = kel_remote::rawOrNil<EpiWell::WellBore>(bore);
  if (CORBA::is_nil(remote)) throw kel_UserException("The supplied well bore is null. ");
  return remote;
}

} // namespace

void kel_WellBoreList::addBore(const kel_WellBore& bore) {
  translate(Msg{"Could not add a wellbore to the wellbore list. "}, Where{"kel_WellBoreList", "addBore"},
            Standard(DuplicateBore, InvalidOperation, Store), [&] {
              EpiWell::WellBore_ptr member = memberOf(bore);
              Core::remote(*this)->addBore(member);
            });
}

void kel_WellBoreList::removeBore(const kel_WellBore& bore) {
  translate(Msg{"Could not remove the supplied well bore from the wellbore list. "},
            Where{"kel_WellBoreList", "removeBore"}, Standard(BoreNotFound, Store), [&] {
              EpiWell::WellBore_ptr member = memberOf(bore);
              Core::remote(*this)->removeBore(member);
            });
}
