#include "References.h"

#include "Command.h"
#include "kel_EntityQuery.h"
#include "kel_Exception.h"

namespace kelwell::cmd {
namespace {

// The entities of one type in the project that satisfy `clause` with `parameters` bound.
kel_Array<kel_Entity> query(const kel_Project& project, const char* type, const std::string& clause,
                            const std::vector<std::pair<std::string, std::string>>& parameters) {
  kel_EntityQuery q(project, type);
  q.setWhereClause(clause.c_str());
  for (const auto& [name, value] : parameters) q.addParameter(name.c_str(), value.c_str());
  q.execute();
  return q.getEntityResult();
}

bool isId(const std::string& segment) { return segment.size() > 1 && segment[0] == '@'; }

// Exactly one of `found`, or a CommandError saying what was looked for.
template <class W>
W theOne(const kel_Array<W>& found, const std::string& what, const std::string& segment) {
  if (found.size() == 1) return found[0];
  if (found.size() == 0) throw CommandError(kRefused, "no " + what + " \"" + segment + "\"");
  throw CommandError(kRefused, std::to_string(found.size()) + " " + what + "s match \"" + segment +
                                   "\"; name one by its id (@ID, see kelwell ls)");
}

}  // namespace

std::vector<std::string> splitReference(const std::string& reference) {
  std::vector<std::string> segments(1);
  for (std::size_t i = 0; i < reference.size(); ++i) {
    if (reference[i] != '/') {
      segments.back() += reference[i];
    } else if (i + 1 < reference.size() && reference[i + 1] == '/') {
      segments.back() += '/';
      ++i;
    } else {
      segments.emplace_back();
    }
  }
  for (const std::string& segment : segments) {
    if (segment.empty()) throw CommandError(kUsage, "the reference \"" + reference + "\" has an empty part");
  }
  return segments;
}

kel_Project openProject(const kel_Session& session, const std::string& name) {
  try {
    return kel_Project::open(session, name.c_str());
  } catch (const kel_UserException&) {
    throw CommandError(kRefused, "no project \"" + name + "\"");
  }
}

std::vector<kel_Well> wellsWithIdentifier(const kel_Project& project, const std::string& key,
                                          const std::string& value) {
  const kel_Array<kel_Well> wells = kel_Well::narrow(
      query(project, "EpiWell_Well", "EpiWell_Well.identifier.name = :k and EpiWell_Well.identifier.value = :v",
            {{"k", key}, {"v", value}}));
  std::vector<kel_Well> out;
  for (unsigned i = 0; i < wells.size(); ++i) out.push_back(wells[i]);
  return out;
}

kel_Well findWell(const kel_Project& project, const std::string& segment) {
  if (isId(segment)) {
    return theOne(kel_Well::narrow(query(project, "EpiWell_Well", "EpiWell_Well.id = :id", {{"id", segment.substr(1)}})),
                  "well", segment);
  }
  kel_Array<kel_Well> found = kel_Well::narrow(
      query(project, "EpiWell_Well", "EpiWell_Well.identifier.value = :v", {{"v", segment}}));
  if (found.size() == 0) {
    found = kel_Well::narrow(query(project, "EpiWell_Well", "EpiWell_Well.name = :n", {{"n", segment}}));
  }
  return theOne(found, "well", segment);
}

kel_WellBore findWellBore(const kel_Project& project, const kel_Well& well, const std::string& segment) {
  const std::string wellId = text(well.getId());
  if (isId(segment)) {
    return theOne(kel_WellBore::narrow(query(project, "EpiWell_WellBore",
                                             "EpiWell_WellBore.well.id = :w and EpiWell_WellBore.id = :id",
                                             {{"w", wellId}, {"id", segment.substr(1)}})),
                  "wellbore", segment);
  }
  return theOne(kel_WellBore::narrow(query(project, "EpiWell_WellBore",
                                           "EpiWell_WellBore.well.id = :w and EpiWell_WellBore.identifier.value = :v",
                                           {{"w", wellId}, {"v", segment}})),
                "wellbore", segment);
}

kel_WellLogTrace findTrace(const kel_Project& project, const kel_WellBore& bore, const std::string& segment) {
  const std::string boreId = text(bore.getId());
  const bool byId = isId(segment);
  const std::string clause = byId ? "EpiWell_WellLogTrace.wellbore.id = :b and EpiWell_WellLogTrace.id = :x"
                                  : "EpiWell_WellLogTrace.wellbore.id = :b and EpiWell_WellLogTrace.traceName = :x";
  return theOne(kel_WellLogTrace::narrow(query(project, "EpiWell_WellLogTrace", clause,
                                               {{"b", boreId}, {"x", byId ? segment.substr(1) : segment}})),
                "log trace", segment);
}

kel_WellBore resolveWellBore(const kel_Session& session, const std::string& reference) {
  const std::vector<std::string> segments = splitReference(reference);
  if (segments.size() != 3) {
    throw CommandError(kUsage, "\"" + reference + "\" does not name a wellbore: write PROJECT/WELL/WELLBORE");
  }
  const kel_Project project = openProject(session, segments[0]);
  const kel_Well well = findWell(project, segments[1]);
  return findWellBore(project, well, segments[2]);
}

}  // namespace kelwell::cmd
