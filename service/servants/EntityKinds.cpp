#include "servants/EntityKinds.h"

#include <stdexcept>

#include <EpiWell.hh>

#include "entity/Picks.h"
#include "entity/Velocities.h"
#include "entity/LogTraces.h"
#include "entity/WellBoreLists.h"
#include "entity/Wells.h"
#include "servants/Factories.h"
#include "servants/LogTraceServants.h"
#include "servants/PickServants.h"
#include "servants/Sessions.h"
#include "servants/VelocityServants.h"
#include "servants/WellBoreListServants.h"
#include "servants/WellServants.h"

namespace kelwelld {

const std::vector<EntityKind>& entityKinds() {
  static const std::vector<EntityKind> kinds = [] {
    const auto& projects = recordTable<ProjectRecord>();
    const auto& wells = recordTable<WellRecord>();
    const auto& bores = recordTable<WellBoreRecord>();
    const auto& velocities = recordTable<VelocityRecord>();
    const auto& traces = recordTable<LogTraceRecord>();
    const auto& picks = recordTable<PickRecord>();
    const auto& lists = recordTable<WellBoreListRecord>();
    std::vector<EntityKind> table{
        {Kind::Project, projects.storedPrefix, "EpSession_Project", "EpSession::Project",
         EpSession::_tc_Project->id(), "Projects", true, nullptr, makeServant<ProjectServant>, {}, {}},
        {Kind::Well, wells.storedPrefix, "EpiWell_Well", "EpiWell::Well", EpiWell::_tc_Well->id(), "Wells", true,
         &wellQuery(), makeServant<WellServant>, {},
         {{"factory:NewWellFactory", EpiWell::_tc_NewWellFactory->id(), true, makeServant<NewWellFactoryServant>}}},
        {Kind::StorelessWell, wells.storelessPrefix, "EpiWell_Well", "EpiWell::Well", EpiWell::_tc_Well->id(),
         "StorelessWells", false, nullptr, nullptr, Kind::Well,
         {{"factory:StorelessWellFactory", EpiWell::_tc_StorelessWellFactory->id(), false,
           makeServant<StorelessWellFactoryServant>}}},
        {Kind::WellBore, bores.storedPrefix, "EpiWell_WellBore", "EpiWell::WellBore", EpiWell::_tc_WellBore->id(),
         "WellBores", true, &wellBoreQuery(), makeServant<WellBoreServant>, {},
         {{"factory:NewWellBoreFactory", EpiWell::_tc_NewWellBoreFactory->id(), true,
           makeServant<NewWellBoreFactoryServant>}}},
        {Kind::StorelessWellBore, bores.storelessPrefix, "EpiWell_WellBore", "EpiWell::WellBore",
         EpiWell::_tc_WellBore->id(), "StorelessWellBores", false, nullptr, nullptr, Kind::WellBore,
         {{"factory:StorelessWellBoreFactory", EpiWell::_tc_StorelessWellBoreFactory->id(), false,
           makeServant<StorelessWellBoreFactoryServant>}}},
        // Sessions are served by the session manager's own servant (Service.cpp).
        {Kind::Session, "session", "EpSession_Session", "EpSession::Session", EpSession::_tc_Session->id(),
         "Sessions", false, nullptr, nullptr, {}, {}},
        {Kind::Velocity, velocities.storedPrefix, "EpiWell_WellVelocity", "EpiWell::WellVelocity",
         EpiWell::_tc_WellVelocity->id(), "WellVelocities", true, &velocityQuery(), makeServant<WellVelocityServant>,
         {},
         {{"factory:NewWellVelocityFactory", EpiWell::_tc_NewWellVelocityFactory->id(), true,
           makeServant<NewWellVelocityFactoryServant>}}},
        {Kind::StorelessVelocity, velocities.storelessPrefix, "EpiWell_WellVelocity", "EpiWell::WellVelocity",
         EpiWell::_tc_WellVelocity->id(), "StorelessWellVelocities", false, nullptr, nullptr, Kind::Velocity,
         {{"factory:StorelessWellVelocityFactory", EpiWell::_tc_StorelessWellVelocityFactory->id(), false,
           makeServant<StorelessWellVelocityFactoryServant>}}},
        {Kind::LogTrace, traces.storedPrefix, "EpiWell_WellLogTrace", "EpiWell::WellLogTrace",
         EpiWell::_tc_WellLogTrace->id(), "LogTraces", true, &logTraceQuery(), makeServant<LogTraceServant>, {},
         {{"factory:NewWellLogTraceFactory", EpiWell::_tc_NewWellLogTraceFactory->id(), true,
           makeServant<NewWellLogTraceFactoryServant>}}},
        {Kind::StorelessLogTrace, traces.storelessPrefix, "EpiWell_WellLogTrace", "EpiWell::WellLogTrace",
         EpiWell::_tc_WellLogTrace->id(), "StorelessLogTraces", false, nullptr, nullptr, Kind::LogTrace,
         {{"factory:StorelessWellLogTraceFactory", EpiWell::_tc_StorelessWellLogTraceFactory->id(), false,
           makeServant<StorelessWellLogTraceFactoryServant>}}},
        {Kind::Pick, picks.storedPrefix, "EpiWell_WellPick", "EpiWell::WellPick", EpiWell::_tc_WellPick->id(),
         "WellPicks", true, &pickQuery(), makeServant<WellPickServant>, {},
         {{"factory:NewWellPickFactory", EpiWell::_tc_NewWellPickFactory->id(), true,
           makeServant<NewWellPickFactoryServant>}}},
        {Kind::StorelessPick, picks.storelessPrefix, "EpiWell_WellPick", "EpiWell::WellPick",
         EpiWell::_tc_WellPick->id(), "StorelessWellPicks", false, nullptr, nullptr, Kind::Pick,
         {{"factory:StorelessWellPickFactory", EpiWell::_tc_StorelessWellPickFactory->id(), false,
           makeServant<StorelessWellPickFactoryServant>}}},
        {Kind::WellBoreList, lists.storedPrefix, "EpiWell_WellBoreList", "EpiWell::WellBoreList",
         EpiWell::_tc_WellBoreList->id(), "WellBoreLists", true, &wellBoreListQuery(),
         makeServant<WellBoreListServant>, {},
         {{"factory:NewWellBoreListFactory", EpiWell::_tc_NewWellBoreListFactory->id(), true,
           makeServant<NewWellBoreListFactoryServant>}}},
        {Kind::StorelessWellBoreList, lists.storelessPrefix, "EpiWell_WellBoreList", "EpiWell::WellBoreList",
         EpiWell::_tc_WellBoreList->id(), "StorelessWellBoreLists", false, nullptr, nullptr, Kind::WellBoreList,
         {{"factory:StorelessWellBoreListFactory", EpiWell::_tc_StorelessWellBoreListFactory->id(), false,
           makeServant<StorelessWellBoreListFactoryServant>}}},
    };
    return table;
  }();
  return kinds;
}

const EntityKind& describe(Kind kind) {
  for (const EntityKind& entry : entityKinds())
    if (entry.kind == kind) return entry;
  throw std::logic_error("an entity kind without an entry in the table");
}

std::string formatId(Kind kind, long long number) { return formatId(describe(kind).prefix, number); }

std::optional<EntityKey> parseId(const std::string& id) {
  const auto split = splitId(id);
  if (!split) return std::nullopt;
  for (const EntityKind& entry : entityKinds())
    if (split->prefix == entry.prefix) return EntityKey{entry.kind, split->number};
  return std::nullopt;
}

std::optional<long long> numberOf(const std::string& id, Kind kind) {
  const auto key = parseId(id);
  if (!key || key->kind != kind) return std::nullopt;
  return key->number;
}

} // namespace kelwelld
