#include "Factories.h"

#include "../core/Corba.h"
#include "../core/FaultInjection.h"
#include "../core/Limits.h"
#include "Values.h"
#include "WellData.h"

namespace kelwelld {

namespace {

EpiWell::Well_ptr createWellIn(Context& context, EpSession::Project_ptr project, const std::string& name,
                               const CosPropertyService::Property& identifier, bool stored,
                               const char* operation) {
  WellRecord record;
  if (!CORBA::is_nil(project)) {
    const auto projectId = context.idOf(project, {Kind::Project});
    if (!projectId) throwFailed("The project is not a project of this service. ");
    record.projectId = *projectId;
  } else if (stored) {
    throwFailed("A stored well needs a project; the project is nil. ");
  }
  checkTextSize(name.c_str(), "well name");
  checkTextSize(identifier.property_name.in(), "identifier's name");
  record.name = name;
  record.identifierName = identifier.property_name.in();
  record.identifierValue = textOf(identifier.property_value, "identifier's value");
  const WellRecord created = context.wells->createWell(std::move(record), stored);
  context.changed(created.id, "created", operation);
  return context.referenceAs<EpiWell::Well>(created.id);
}

EpiWell::WellBore_ptr createWellBoreOf(Context& context, EpiWell::Well_ptr well,
                                       const CosPropertyService::Property& identifier, bool stored) {
  if (CORBA::is_nil(well)) throwFailed("A wellbore needs a well; the well is nil. ");
  const auto wellId = stored ? context.idOf(well, {Kind::Well})
                             : context.idOf(well, {Kind::Well, Kind::StorelessWell});
  if (!wellId) {
    if (stored && context.idOf(well, {Kind::StorelessWell}))
      throwFailed("A stored wellbore needs a stored well; the well is storeless. ");
    throwFailed("The well is not a well of this service. ");
  }
  WellBoreRecord record;
  record.wellId = *wellId;
  checkTextSize(identifier.property_name.in(), "identifier's name");
  record.identifierName = identifier.property_name.in();
  record.identifierValue = textOf(identifier.property_value, "identifier's value");
  const WellBoreRecord created = context.wells->createWellBore(std::move(record), stored);
  context.changed(created.id, "created", "createWellBore");
  context.changed(created.wellId, "modified", "createWellBore");
  return context.referenceAs<EpiWell::WellBore>(created.id);
}

} // namespace

EpiWell::Well_ptr NewWellFactoryServant::createWell(EpSession::Project_ptr project, const char* name,
                                                    const CosPropertyService::Property& identifier,
                                                    EpSession::Session_ptr) {
  if (wantsNil(enterFault("createWell"))) return EpiWell::Well::_nil();
  return createWellIn(m_context, project, name, identifier, true, "createWell");
}

EpiWell::Well_ptr StorelessWellFactoryServant::createWell(EpSession::Project_ptr project,
                                                          const CosPropertyService::Property& identifier,
                                                          EpSession::Session_ptr) {
  if (wantsNil(enterFault("createWell"))) return EpiWell::Well::_nil();
  return createWellIn(m_context, project, "", identifier, false, "createWell");
}

EpiWell::WellBore_ptr NewWellBoreFactoryServant::createWellBore(EpiWell::Well_ptr well,
                                                                const CosPropertyService::Property& identifier,
                                                                EpSession::Session_ptr) {
  if (wantsNil(enterFault("createWellBore"))) return EpiWell::WellBore::_nil();
  return createWellBoreOf(m_context, well, identifier, true);
}

EpiWell::WellBore_ptr StorelessWellBoreFactoryServant::createWellBore(
    EpiWell::Well_ptr well, const CosPropertyService::Property& identifier, EpSession::Session_ptr) {
  if (wantsNil(enterFault("createWellBore"))) return EpiWell::WellBore::_nil();
  return createWellBoreOf(m_context, well, identifier, false);
}

} // namespace kelwelld
