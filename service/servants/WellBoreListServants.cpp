#include "servants/WellBoreListServants.h"

#include <algorithm>
#include <vector>

#include "servants/Limits.h"

namespace kelwelld {

namespace {

using List = EpiWell::WellBoreList;

// Why a wellbore cannot join a list: refuse throws the exception of the
// operation that asks (a factory's or addBore's).
using Refuse = void (*)(const std::string& reason);

[[noreturn]] void refuseMember(Refuse refuse, const std::string& reason) {
  refuse(reason);
  throw std::logic_error("a refusal that raised nothing");
}

void refuseInFactory(const std::string& reason) { throwFailed(reason); }
void refuseInAdd(const std::string& reason) { throw List::InvalidOperationException(reason.c_str()); }

std::string projectText(const std::string& projectId) {
  return projectId.empty() ? "no project" : "the project " + projectId;
}

// The id of a wellbore that may join a list of projectId (stored: a stored
// list, which holds stored wellbores only, since its members outlive the
// service's memory).
std::string memberId(Context& context, EpiWell::WellBore_ptr bore, const std::string& projectId, bool stored,
                     Refuse refuse) {
  if (CORBA::is_nil(bore)) refuseMember(refuse, "The wellbore is nil. ");
  const auto id = context.idOf(bore, {Kind::WellBore, Kind::StorelessWellBore});
  if (!id) refuseMember(refuse, "The wellbore is not a wellbore of this service. ");
  const auto project = context.records->of<WellBoreRecord>().field(*id, &WellBoreRecord::projectId);
  if (!project) refuseMember(refuse, "The wellbore " + *id + " does not exist. ");
  if (*project != projectId)
    refuseMember(refuse, "The wellbore " + *id + " belongs to " + projectText(*project) + ", the list to " +
                             projectText(projectId) + "; a list holds wellbores of its own project only. ");
  if (stored && !numberOf(*id, Kind::WellBore))
    refuseMember(refuse, "The wellbore " + *id + " is storeless; a stored list holds stored wellbores only. ");
  return *id;
}

// The change as subscribers receive it: "ChangedData" first in the
// filterable data, holding the kind and the wellbore.
CosNotification::PropertySeq changedData(Context& context, List::ChangeKind kind, const std::string& boreId) {
  List::WellBoreListChange change;
  change.changeType = kind;
  change.bore = context.referenceAs<EpiWell::WellBore>(boreId);
  CosNotification::PropertySeq properties;
  properties.length(1);
  properties[0].name = "ChangedData";
  properties[0].value <<= change;
  return properties;
}

} // namespace

// ============================================================= WellBoreList

WellBoreListServant::WellBoreListServant(Context& context) : EntityServant(context) {
  WellBoreLists::prepare(*context.records);
}

char* WellBoreListServant::getLastModified(const char* selector) {
  return lastModified(selector, {{"attributes", &WellBoreListRecord::modifiedAttributes},
                                 {"members", &WellBoreListRecord::modifiedMembers}});
}

void WellBoreListServant::setText(const char* operation, std::string WellBoreListRecord::*member,
                                  const char* value, const char* what) {
  enterFault(operation, m_context.currentId());
  checkTextSize(value, what);
  const std::string text(value);
  write(operation, &WellBoreListRecord::modifiedAttributes, [&](WellBoreListRecord& r) { r.*member = text; });
}

char* WellBoreListServant::getName() { return text("getName", &WellBoreListRecord::name); }
void WellBoreListServant::setName(const char* v) { setText("setName", &WellBoreListRecord::name, v, "list name"); }
char* WellBoreListServant::getDataSource() { return text("getDataSource", &WellBoreListRecord::dataSource); }
void WellBoreListServant::setDataSource(const char* v) {
  setText("setDataSource", &WellBoreListRecord::dataSource, v, "data source");
}

EpEntity::EntitySeq* WellBoreListServant::getBores() {
  const auto call = readField("getBores", &WellBoreListRecord::id);
  const auto bores = WellBoreLists(*m_context.records).bores(call.value);
  if (!bores) throwNotExist();
  return m_context.entities(*bores, wantsNil(call.fault));
}

void WellBoreListServant::addBore(EpiWell::WellBore_ptr bore) {
  const std::string id = m_context.currentId();
  enterFault("addBore", id);
  const auto projectId = m_records.field(id, &WellBoreListRecord::projectId);
  if (!projectId) throwNotExist();
  const bool stored = numberOf(id, Kind::WellBoreList).has_value();
  const std::string boreId = memberId(m_context, bore, *projectId, stored, refuseInAdd);
  const Membership outcome = WellBoreLists(*m_context.records).add(id, boreId, [&] {
    m_context.changed(id, "modified", "addBore", changedData(m_context, List::BORE_ADDED, boreId));
  });
  if (outcome == Membership::NoSuchList) throwNotExist();
  if (outcome == Membership::AlreadyMember)
    throw List::DuplicateBoreException(("The wellbore " + boreId + " is already in the list " + id + ". ").c_str());
}

void WellBoreListServant::removeBore(EpiWell::WellBore_ptr bore) {
  const std::string id = m_context.currentId();
  enterFault("removeBore", id);
  if (CORBA::is_nil(bore)) throw List::BoreNotFoundException("The wellbore is nil; it is in no list. ");
  const auto boreId = m_context.idOf(bore, {Kind::WellBore, Kind::StorelessWellBore});
  if (!boreId) throw List::BoreNotFoundException("The wellbore is not a wellbore of this service. ");
  const Membership outcome = WellBoreLists(*m_context.records).remove(id, *boreId, [&] {
    m_context.changed(id, "modified", "removeBore", changedData(m_context, List::BORE_REMOVED, *boreId));
  });
  if (outcome == Membership::NoSuchList) throwNotExist();
  if (outcome == Membership::NotMember)
    throw List::BoreNotFoundException(("The wellbore " + *boreId + " is not in the list " + id + ". ").c_str());
}

// ================================================================ factories

namespace {

// The id of the new list.
std::string createListIn(Context& context, EpSession::Project_ptr project, const char* name, const char* dataSource,
                         const EpiWell::WellBoreSeq& bores, bool stored) {
  if (CORBA::is_nil(project)) throwFailed("A wellbore list needs a project; the project is nil. ");
  const auto projectId = context.idOf(project, {Kind::Project});
  if (!projectId || !context.records->of<ProjectRecord>().exists(*projectId))
    throwFailed("The project is not a project of this service. ");
  checkTextSize(name, "list name");
  checkTextSize(dataSource, "data source");
  std::vector<std::string> members;
  for (CORBA::ULong i = 0; i < bores.length(); ++i) {
    const std::string id = memberId(context, bores[i].in(), *projectId, stored, refuseInFactory);
    if (std::find(members.begin(), members.end(), id) != members.end())
      throwFailed("The wellbore " + id + " is given twice; a list holds each wellbore once. ");
    members.push_back(id);
  }
  WellBoreListRecord record;
  record.projectId = *projectId;
  record.name = name;
  record.dataSource = dataSource;
  const WellBoreListRecord created = WellBoreLists(*context.records).create(std::move(record), members, stored);
  context.changed(created.id, "created", "createWellBoreList");
  return created.id;
}

} // namespace

NewWellBoreListFactoryServant::NewWellBoreListFactoryServant(Context& context) : FactoryServant(context) {
  WellBoreLists::prepare(*context.records);
}

EpiWell::WellBoreList_ptr NewWellBoreListFactoryServant::createWellBoreList(EpSession::Project_ptr project,
                                                                            const char* name, const char* dataSource,
                                                                            const EpiWell::WellBoreSeq& bores,
                                                                            EpSession::Session_ptr) {
  return created<EpiWell::WellBoreList>(
      "createWellBoreList", [&] { return createListIn(m_context, project, name, dataSource, bores, true); });
}

StorelessWellBoreListFactoryServant::StorelessWellBoreListFactoryServant(Context& context)
    : FactoryServant(context) {
  WellBoreLists::prepare(*context.records);
}

EpiWell::WellBoreList_ptr StorelessWellBoreListFactoryServant::createWellBoreList(
    EpSession::Project_ptr project, const char* name, const char* dataSource, const EpiWell::WellBoreSeq& bores,
    EpSession::Session_ptr) {
  return created<EpiWell::WellBoreList>(
      "createWellBoreList", [&] { return createListIn(m_context, project, name, dataSource, bores, false); });
}

} // namespace kelwelld
