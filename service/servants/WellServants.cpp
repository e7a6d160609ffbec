#include "servants/WellServants.h"

#include <cmath>
#include <limits>

#include "catalogue/Catalogues.h"
#include "entity/LogTraces.h"
#include "entity/Picks.h"
#include "entity/Velocities.h"
#include "entity/Wells.h"
#include "servants/Limits.h"

namespace kelwelld {

// ====================================================================== Well

WellServant::WellServant(Context& context) : EntityServant(context) {}

void WellServant::setText(const char* operation, std::string WellRecord::*member, const char* value) {
  enterFault(operation, m_context.currentId());
  checkTextSize(value, "text of " + std::string(operation));
  const std::string text(value);
  write(operation, &WellRecord::modifiedAttributes, [&](WellRecord& r) { r.*member = text; });
}

char* WellServant::getLastModified(const char* selector) {
  return lastModified(selector, {{"attributes", &WellRecord::modifiedAttributes},
                                 {"aliases", &WellRecord::modifiedAliases},
                                 {"wellbores", &WellRecord::modifiedWellBores}});
}

char* WellServant::getCountry() { return text("getCountry", &WellRecord::country); }
void WellServant::setCountry(const char* v) { setText("setCountry", &WellRecord::country, v); }
char* WellServant::getCounty() { return text("getCounty", &WellRecord::county); }
void WellServant::setCounty(const char* v) { setText("setCounty", &WellRecord::county, v); }
char* WellServant::getCurrentOperator() { return text("getCurrentOperator", &WellRecord::currentOperator); }
void WellServant::setCurrentOperator(const char* v) {
  setText("setCurrentOperator", &WellRecord::currentOperator, v);
}
char* WellServant::getField() { return text("getField", &WellRecord::field); }
void WellServant::setField(const char* v) { setText("setField", &WellRecord::field, v); }
char* WellServant::getPlatformIdentifier() {
  return text("getPlatformIdentifier", &WellRecord::platformIdentifier);
}
void WellServant::setPlatformIdentifier(const char* v) {
  setText("setPlatformIdentifier", &WellRecord::platformIdentifier, v);
}
char* WellServant::getStateOrProvince() { return text("getStateOrProvince", &WellRecord::stateOrProvince); }
void WellServant::setStateOrProvince(const char* v) {
  setText("setStateOrProvince", &WellRecord::stateOrProvince, v);
}
char* WellServant::getWellStatus() { return text("getWellStatus", &WellRecord::wellStatus); }
void WellServant::setWellStatus(const char* v) { setText("setWellStatus", &WellRecord::wellStatus, v); }

char* WellServant::getSpudDate() { return text("getSpudDate", &WellRecord::spudDate); }

void WellServant::setSpudDate(const char* value) {
  enterFault("setSpudDate", m_context.currentId());
  // Validated before the write starts: a refused value changes nothing.
  const std::string date = checkedDate(value, "spud date");
  write("setSpudDate", &WellRecord::modifiedAttributes, [&](WellRecord& r) { r.spudDate = date; });
}

EpiTypes::DataQuantity* WellServant::getWaterDepth() {
  const auto depth = readField("getWaterDepth", &WellRecord::waterDepth);
  return quantityToRemote(depth.value, *m_context.catalogues, depth.fault);
}

void WellServant::setWaterDepth(const EpiTypes::DataQuantity& value) {
  const std::string id = m_context.currentId();
  enterFault("setWaterDepth", id);
  const Quantity depth = lengthFromRemote(value, "water depth", *m_context.catalogues);
  write("setWaterDepth", &WellRecord::modifiedAttributes, [&](WellRecord& r) { r.waterDepth = depth; });
}

EpCoordinateService::Coordinate* WellServant::getLocation(EpCoordinateService::System_ptr system) {
  const auto call = readField("getLocation", &WellRecord::location);
  Catalogues& catalogues = *m_context.catalogues;
  const auto target = catalogues.resolveSystem(system);
  if (!target)
    throw EpCoordinateService::NoKnownTransformException(
        "The coordinate system asked for is not known to the service. ");
  const Location& stored = call.value;
  std::string systemName = target->empty() ? stored.system : *target;
  std::vector<XYZ> points{{stored.x, stored.y, stored.z}};
  if (!stored.set) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    points[0] = {nan, nan, nan};
    if (systemName.empty()) systemName = catalogues.defaultSystem();
  } else if (systemName != stored.system) {
    catalogues.transform(stored.system, systemName, points);
  }
  EpCoordinateService::Coordinate_var result = new EpCoordinateService::Coordinate;
  result->system = wantsNil(call.fault) ? EpCoordinateService::System::_nil()
                                     : catalogues.systemReference(systemName);
  result->x = points[0].x;
  result->y = points[0].y;
  result->z = points[0].z;
  return result._retn();
}

void WellServant::setLocation(const EpCoordinateService::Coordinate& value) {
  const std::string id = m_context.currentId();
  enterFault("setLocation", id);
  const auto system = m_context.catalogues->resolveSystem(value.system.in());
  if (!system) throwValidation("The coordinate system of the location is not known to the service. ");
  if (system->empty()) throwValidation("The location has no coordinate system (nil). ");
  if (!std::isfinite(value.x) || !std::isfinite(value.y) || !std::isfinite(value.z))
    throwValidation("The location's coordinates must be finite numbers. ");
  Location location{true, *system, value.x, value.y, value.z};
  write("setLocation", &WellRecord::modifiedAttributes, [&](WellRecord& r) { r.location = location; });
}

CosPropertyService::Property* WellServant::getIdentifier() { return identifier(); }

CosPropertyService::Properties* WellServant::getAliases() { return aliases(); }

void WellServant::setAliases(const CosPropertyService::Properties& list) { setAliasesFrom(list); }

EpEntity::EntitySeq* WellServant::getWellBores() {
  const auto call = readField("getWellBores", &WellRecord::id);
  return m_context.entities(m_context.wells->wellBoresOf(call.value), wantsNil(call.fault));
}

// ================================================================== WellBore

WellBoreServant::WellBoreServant(Context& context) : EntityServant(context) {}

void WellBoreServant::setCode(const char* operation, std::string WellBoreRecord::*member,
                              const char* value, const char* attribute, const char* setName) {
  enterFault(operation, m_context.currentId());
  const std::string code(value);
  if (!code.empty() && !m_context.catalogues->isCode(setName, code))
    throwValidation(std::string("The ") + attribute + " " + quoted(code) +
                    " is not a code of the reference value set " + quoted(setName) +
                    " (authority \"Kelvast\"); the reference value service lists the valid codes, "
                    "and \"\" clears it. ");
  write(operation, &WellBoreRecord::modifiedAttributes, [&](WellBoreRecord& r) { r.*member = code; });
}

short WellBoreServant::enumeration(const char* operation, short WellBoreRecord::*member) {
  const auto call = readField(operation, member);
  if (wantsOutOfRange(call.fault)) return static_cast<short>(call.fault->value);
  return call.value;
}

void WellBoreServant::setEnumeration(const char* operation, short WellBoreRecord::*member, short value,
                                     short last, const char* attribute) {
  enterFault(operation, m_context.currentId());
  const short checked = checkedEnum(value, last, attribute);
  write(operation, &WellBoreRecord::modifiedAttributes, [&](WellBoreRecord& r) { r.*member = checked; });
}

EpiTypes::DataQuantity* WellBoreServant::quantity(const char* operation, Quantity WellBoreRecord::*member) {
  const auto call = readField(operation, member);
  return quantityToRemote(call.value, *m_context.catalogues, call.fault);
}

void WellBoreServant::setQuantity(const char* operation, Quantity WellBoreRecord::*member,
                                  const EpiTypes::DataQuantity& value, const char* attribute) {
  enterFault(operation, m_context.currentId());
  const Quantity checked = lengthFromRemote(value, attribute, *m_context.catalogues);
  write(operation, &WellBoreRecord::modifiedAttributes, [&](WellBoreRecord& r) { r.*member = checked; });
}

char* WellBoreServant::getLastModified(const char* selector) {
  return lastModified(selector, {{"attributes", &WellBoreRecord::modifiedAttributes},
                                 {"aliases", &WellBoreRecord::modifiedAliases},
                                 {"path", &WellBoreRecord::modifiedPath}});
}

char* WellBoreServant::getBoreStatus() { return text("getBoreStatus", &WellBoreRecord::boreStatus); }
void WellBoreServant::setBoreStatus(const char* v) {
  setCode("setBoreStatus", &WellBoreRecord::boreStatus, v, "bore status", "WellboreStatus");
}
char* WellBoreServant::getFlowDirection() { return text("getFlowDirection", &WellBoreRecord::flowDirection); }
void WellBoreServant::setFlowDirection(const char* v) {
  setCode("setFlowDirection", &WellBoreRecord::flowDirection, v, "flow direction", "FlowDirection");
}
char* WellBoreServant::getFluidType() { return text("getFluidType", &WellBoreRecord::fluidType); }
void WellBoreServant::setFluidType(const char* v) {
  setCode("setFluidType", &WellBoreRecord::fluidType, v, "fluid type", "GenericFluidComponent");
}
char* WellBoreServant::getShowType() { return text("getShowType", &WellBoreRecord::showType); }
void WellBoreServant::setShowType(const char* v) {
  setCode("setShowType", &WellBoreRecord::showType, v, "show type", "GenericFluidComponent");
}

EpiWell::WellBore::TotalDepthReference WellBoreServant::getTotalDepthType() {
  return enumeration("getTotalDepthType", &WellBoreRecord::totalDepthType);
}
void WellBoreServant::setTotalDepthType(EpiWell::WellBore::TotalDepthReference v) {
  setEnumeration("setTotalDepthType", &WellBoreRecord::totalDepthType, v, EpiWell::WellBore::PLANNED,
                 "total depth type");
}
EpiWell::WellBore::CalculationMethod WellBoreServant::getCalcMethod() {
  return enumeration("getCalcMethod", &WellBoreRecord::calcMethod);
}
void WellBoreServant::setCalcMethod(EpiWell::WellBore::CalculationMethod v) {
  setEnumeration("setCalcMethod", &WellBoreRecord::calcMethod, v, EpiWell::WellBore::MERCURY,
                 "calculation method");
}
EpiWell::WellBore::WellDepthDatum WellBoreServant::getElevationDatum() {
  return enumeration("getElevationDatum", &WellBoreRecord::elevationDatum);
}
void WellBoreServant::setElevationDatum(EpiWell::WellBore::WellDepthDatum v) {
  setEnumeration("setElevationDatum", &WellBoreRecord::elevationDatum, v, EpiWell::WellBore::CASING_FLANGE,
                 "elevation datum");
}

EpiTypes::DataQuantity* WellBoreServant::getTotalDepth() {
  return quantity("getTotalDepth", &WellBoreRecord::totalDepth);
}
void WellBoreServant::setTotalDepth(const EpiTypes::DataQuantity& v) {
  setQuantity("setTotalDepth", &WellBoreRecord::totalDepth, v, "total depth");
}
EpiTypes::DataQuantity* WellBoreServant::getPlugBackTotalDepth() {
  return quantity("getPlugBackTotalDepth", &WellBoreRecord::plugBackTotalDepth);
}
void WellBoreServant::setPlugBackTotalDepth(const EpiTypes::DataQuantity& v) {
  setQuantity("setPlugBackTotalDepth", &WellBoreRecord::plugBackTotalDepth, v, "plug-back total depth");
}
EpiTypes::DataQuantity* WellBoreServant::getElevation() {
  return quantity("getElevation", &WellBoreRecord::elevation);
}
void WellBoreServant::setElevation(const EpiTypes::DataQuantity& v) {
  setQuantity("setElevation", &WellBoreRecord::elevation, v, "elevation");
}

char* WellBoreServant::getCompletionDate() {
  return text("getCompletionDate", &WellBoreRecord::completionDate);
}

void WellBoreServant::setCompletionDate(const char* value) {
  enterFault("setCompletionDate", m_context.currentId());
  const std::string date = checkedDate(value, "completion date");
  write("setCompletionDate", &WellBoreRecord::modifiedAttributes,
        [&](WellBoreRecord& r) { r.completionDate = date; });
}

CosPropertyService::Property* WellBoreServant::getIdentifier() { return identifier(); }

EpiWell::Well_ptr WellBoreServant::getWell() {
  const auto call = readField("getWell", &WellBoreRecord::wellId);
  if (wantsNil(call.fault)) return EpiWell::Well::_nil();
  return m_context.referenceAs<EpiWell::Well>(call.value);
}

CosPropertyService::Properties* WellBoreServant::getAliases() { return aliases(); }

void WellBoreServant::setAliases(const CosPropertyService::Properties& list) { setAliasesFrom(list); }

// The path geometry operations are in WellPathServants.cpp.

EpiWell::WellVelocity_ptr WellBoreServant::getDefaultWellVelocity() {
  const auto call = readField("getDefaultWellVelocity", &WellBoreRecord::id);
  const auto velocity = Velocities(*m_context.records).defaultOf(call.value);
  if (!velocity || wantsNil(call.fault)) return EpiWell::WellVelocity::_nil();
  return m_context.referenceAs<EpiWell::WellVelocity>(*velocity);
}

// Accepts one of this wellbore's velocity functions, or nil to clear.
void WellBoreServant::setDefaultWellVelocity(EpiWell::WellVelocity_ptr velocity) {
  const auto call = readField("setDefaultWellVelocity", &WellBoreRecord::id);
  std::string velocityId;
  if (!CORBA::is_nil(velocity)) {
    const auto id = m_context.idOf(velocity, {Kind::Velocity, Kind::StorelessVelocity});
    if (!id) throwValidation("The velocity function is not a velocity function of this service. ");
    velocityId = *id;
  }
  Velocities(*m_context.records).setDefault(call.value, velocityId);
  m_context.changed(call.value, "modified", "setDefaultWellVelocity");
}

// No traces exist yet below a wellbore.
EpEntity::EntitySeq* WellBoreServant::getLogTraces() {
  const auto call = readField("getLogTraces", &WellBoreRecord::id);
  return m_context.entities(m_context.logTraces->tracesOf(call.value), wantsNil(call.fault));
}

EpEntity::EntitySeq* WellBoreServant::getPicks() {
  const auto call = readField("getPicks", &WellBoreRecord::id);
  return m_context.entities(Picks(*m_context.records).picksOf(call.value), wantsNil(call.fault));
}

EpEntity::EntitySeq* WellBoreServant::getWellVelocities() {
  const auto call = readField("getWellVelocities", &WellBoreRecord::id);
  return m_context.entities(Velocities(*m_context.records).velocitiesOf(call.value), wantsNil(call.fault));
}

// ================================================================= factories

namespace {

// The id of the new well.
std::string createWellIn(Context& context, EpSession::Project_ptr project, const std::string& name,
                         const CosPropertyService::Property& identifier, bool stored) {
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
  context.changed(created.id, "created", "createWell");
  return created.id;
}

// The id of the new wellbore.
std::string createWellBoreOf(Context& context, EpiWell::Well_ptr well, const CosPropertyService::Property& identifier,
                             bool stored) {
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
  return created.id;
}

} // namespace

EpiWell::Well_ptr NewWellFactoryServant::createWell(EpSession::Project_ptr project, const char* name,
                                                    const CosPropertyService::Property& identifier,
                                                    EpSession::Session_ptr) {
  return created<EpiWell::Well>("createWell", [&] { return createWellIn(m_context, project, name, identifier, true); });
}

EpiWell::Well_ptr StorelessWellFactoryServant::createWell(EpSession::Project_ptr project,
                                                          const CosPropertyService::Property& identifier,
                                                          EpSession::Session_ptr) {
  return created<EpiWell::Well>("createWell", [&] { return createWellIn(m_context, project, "", identifier, false); });
}

EpiWell::WellBore_ptr NewWellBoreFactoryServant::createWellBore(EpiWell::Well_ptr well,
                                                                const CosPropertyService::Property& identifier,
                                                                EpSession::Session_ptr) {
  return created<EpiWell::WellBore>("createWellBore",
                                    [&] { return createWellBoreOf(m_context, well, identifier, true); });
}

EpiWell::WellBore_ptr StorelessWellBoreFactoryServant::createWellBore(
    EpiWell::Well_ptr well, const CosPropertyService::Property& identifier, EpSession::Session_ptr) {
  return created<EpiWell::WellBore>("createWellBore",
                                    [&] { return createWellBoreOf(m_context, well, identifier, false); });
}

} // namespace kelwelld
