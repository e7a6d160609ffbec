#include "Listing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Command.h"
#include "References.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_Project.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellBoreList.h"
#include "kel_WellLogTrace.h"
#include "kel_WellPick.h"

namespace kelwell::cmd {
namespace {

using json = nlohmann::ordered_json;
using Trace = kel_WellLogTrace;

std::string identifier(const kel_StringPair& pair) { return text(pair.getKey()) + "=" + text(pair.getValue()); }

std::string dateText(const kel_Date& date) { return date.isNullDate() ? "" : text(date.toString()); }

const char* indexKindName(Trace::IndexKind kind) {
  static const char* const names[] = {"MD", "TVD", "TVDSS", "TWT", "OWT"};
  return names[static_cast<int>(kind)];
}

json wellRow(const kel_Well& well) {
  return json{{"id", text(well.getId())},
              {"identifier", identifier(well.getIdentifier())},
              {"operator", text(well.getCurrentOperator())},
              {"field", text(well.getField())},
              {"wellbores", kel_WellBore::getWellBoresOfWell(well).size()}};
}

json boreRow(const kel_WellBore& bore) {
  return json{{"id", text(bore.getId())},
              {"well", identifier(bore.getWell().getIdentifier())},
              {"identifier", identifier(bore.getIdentifier())},
              {"traces", bore.getLogTraces().size()},
              {"picks", bore.getPicks().size()}};
}

json traceRow(Trace trace) {
  return json{{"id", text(trace.getId())},
              {"name", text(trace.getTraceName())},
              {"unit", text(trace.getTraceUnit().getAcronym())},
              {"index", indexKindName(trace.getNativeIndexKind())},
              {"samples", trace.getNumSamples()},
              {"elements", trace.getNumElements()},
              {"description", text(trace.getTraceKind())}};
}

json pickRow(const kel_WellPick& pick) {
  return json{{"id", text(pick.getId())},
              {"name", text(pick.getPickName())},
              {"type", text(pick.getPickType())},
              {"wellbore", identifier(pick.getBore().getIdentifier())},
              {"interpreter", text(pick.getInterpreter())}};
}

json listRow(const kel_WellBoreList& list) {
  return json{{"id", text(list.getId())},
              {"name", text(list.getName())},
              {"wellbores", list.getBores().size()},
              {"source", text(list.getDataSource())}};
}

template <class T, class Row>
json rowsOf(const kel_Array<T>& objects, Row row) {
  json rows = json::array();
  for (unsigned i = 0; i < objects.size(); ++i) rows.push_back(row(objects[i]));
  return rows;
}

std::string cell(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_null()) return "";
  return value.dump();
}

}  // namespace

const std::vector<std::string>& listKinds() {
  static const std::vector<std::string> kinds = {"projects", "wells", "wellbores", "traces", "picks", "lists"};
  return kinds;
}

json listObjects(const kel_Session& session, const std::string& kind, const std::string& reference) {
  if (kind == "projects") {
    return rowsOf(kel_Project::list(session), [](const kel_Project& p) {
      return json{{"name", text(p.getName())}, {"wells", kel_Well::getWellsInProject(p).size()}};
    });
  }
  if (std::find(listKinds().begin(), listKinds().end(), kind) == listKinds().end()) {
    throw CommandError(kUsage, "kelwell ls lists projects, wells, wellbores, traces, picks or lists, not \"" + kind + "\"");
  }
  if (reference.empty()) throw CommandError(kUsage, "kelwell ls " + kind + " needs a PROJECT (or a deeper reference)");
  const std::vector<std::string> segments = splitReference(reference);
  const kel_Project project = openProject(session, segments[0]);
  if (kind == "wells") {
    if (segments.size() != 1) throw CommandError(kUsage, "kelwell ls wells takes a PROJECT");
    return rowsOf(kel_Well::getWellsInProject(project), wellRow);
  }
  if (kind == "lists") {
    if (segments.size() != 1) throw CommandError(kUsage, "kelwell ls lists takes a PROJECT");
    return rowsOf(kel_WellBoreList::getWellBoreListsInProject(project), listRow);
  }
  if (segments.size() > 3) throw CommandError(kUsage, "kelwell ls " + kind + " takes at most PROJECT/WELL/WELLBORE");
  const kel_Well well = segments.size() > 1 ? findWell(project, segments[1]) : kel_Well();
  const kel_WellBore bore = segments.size() > 2 ? findWellBore(project, well, segments[2]) : kel_WellBore();
  if (kind == "wellbores") {
    if (segments.size() == 3) throw CommandError(kUsage, "kelwell ls wellbores takes PROJECT or PROJECT/WELL");
    return segments.size() == 1 ? rowsOf(kel_WellBore::getWellBoresInProject(project), boreRow)
                                : rowsOf(kel_WellBore::getWellBoresOfWell(well), boreRow);
  }
  // traces and picks: of one wellbore, of a well's wellbores, or of the project.
  std::vector<kel_WellBore> bores;
  if (segments.size() == 3) bores.push_back(bore);
  if (segments.size() == 2) {
    const kel_Array<kel_WellBore> of = kel_WellBore::getWellBoresOfWell(well);
    for (unsigned i = 0; i < of.size(); ++i) bores.push_back(of[i]);
  }
  if (kind == "traces") {
    if (segments.size() == 1) return rowsOf(Trace::getWellLogTracesInProject(project), traceRow);
    json rows = json::array();
    for (const kel_WellBore& b : bores) {
      for (const json& row : rowsOf(b.getLogTraces(), traceRow)) rows.push_back(row);
    }
    return rows;
  }
  if (segments.size() == 1) return rowsOf(kel_WellPick::getWellPicksInProject(project), pickRow);
  json rows = json::array();
  for (const kel_WellBore& b : bores) {
    for (const json& row : rowsOf(b.getPicks(), pickRow)) rows.push_back(row);
  }
  return rows;
}

json showObject(const kel_Session& session, const std::string& reference) {
  const std::vector<std::string> segments = splitReference(reference);
  const kel_Project project = openProject(session, segments[0]);
  if (segments.size() == 1) {
    return json{{"kind", "project"},
                {"name", text(project.getName())},
                {"wells", kel_Well::getWellsInProject(project).size()},
                {"wellbores", kel_WellBore::getWellBoresInProject(project).size()},
                {"traces", Trace::getWellLogTracesInProject(project).size()}};
  }
  const kel_Well well = findWell(project, segments[1]);
  if (segments.size() == 2) {
    json out = wellRow(well);
    out["kind"] = "well";
    out["country"] = text(well.getCountry());
    out["county"] = text(well.getCounty());
    out["stateOrProvince"] = text(well.getStateOrProvince());
    out["spudDate"] = dateText(well.getSpudDate());
    const kel_Coordinate location = well.getLocation();
    if (!location.getSystem().isNil() && std::isfinite(location.getX())) {
      out["location"] = json{{"system", text(location.getSystem().getName())},
                             {"x", location.getX()},
                             {"y", location.getY()},
                             {"z", location.getZ()}};
    }
    return out;
  }
  const kel_WellBore bore = findWellBore(project, well, segments[2]);
  if (segments.size() == 3) {
    json out = boreRow(bore);
    out["kind"] = "wellbore";
    const kel_WellBore::PathData path = bore.getBoreData();
    out["pathStations"] = path.column0.getValues().size();
    json traces = json::array();
    for (const json& row : rowsOf(bore.getLogTraces(), traceRow)) traces.push_back(row["name"]);
    out["traceNames"] = traces;
    return out;
  }
  if (segments.size() > 4) throw CommandError(kUsage, "a reference has at most four parts: PROJECT/WELL/WELLBORE/TRACE");
  Trace trace = findTrace(project, bore, segments[3]);
  json out = traceRow(trace);
  out["kind"] = "log trace";
  out["nullValue"] = trace.getNullValue();
  out["comment"] = text(trace.getComment());
  out["dataSource"] = text(trace.getDataSource());
  if (trace.getNumSamples() > 0) {
    const Trace::IndexKind kind = trace.getNativeIndexKind();
    const Trace::TraceData first = trace.getDecimatedTraceData(kel_Unit(), kind, 0);
    const kel_Array<float>& index = first.index.getValues();
    out["indexUnit"] = text(first.index.getUnit().getAcronym());
    out["top"] = index[0];
    out["bottom"] = index[index.size() - 1];
  }
  return out;
}

void printTable(std::ostream& out, const json& rows) {
  if (rows.empty()) {
    out << "(none)\n";
    return;
  }
  std::vector<std::string> columns;
  for (const auto& item : rows.front().items()) columns.push_back(item.key());
  std::vector<std::size_t> widths;
  for (const std::string& column : columns) {
    std::size_t width = column.size();
    for (const json& row : rows) width = std::max(width, cell(row.value(column, json())).size());
    widths.push_back(width);
  }
  auto line = [&](auto value) {
    std::string text;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      std::string v = value(c);
      if (c + 1 < columns.size()) v.resize(widths[c], ' ');
      text += v + (c + 1 < columns.size() ? "  " : "");
    }
    out << text << '\n';
  };
  line([&](std::size_t c) {
    std::string heading = columns[c];
    for (char& ch : heading) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return heading;
  });
  for (const json& row : rows) line([&](std::size_t c) { return cell(row.value(columns[c], json())); });
}

void printFields(std::ostream& out, const json& object) {
  std::size_t width = 0;
  for (const auto& item : object.items()) width = std::max(width, item.key().size());
  for (const auto& item : object.items()) {
    std::string key = item.key() + ":";
    key.resize(width + 2, ' ');
    out << key << cell(item.value()) << '\n';
  }
}

}  // namespace kelwell::cmd
