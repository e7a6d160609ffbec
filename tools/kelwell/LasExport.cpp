#include "LasExport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "LasImport.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_Well.h"
#include "kel_WellLogTrace.h"

namespace kelwell::cmd {
namespace {

namespace las = kelwell::las;
using Trace = kel_WellLogTrace;

bool isTimeKind(Trace::IndexKind kind) { return kind == Trace::INDEX_KIND_3 || kind == Trace::INDEX_KIND_4; }

const char* indexMnemonic(Trace::IndexKind kind) {
  switch (kind) {
    case Trace::INDEX_KIND_1: return "TVD";
    case Trace::INDEX_KIND_2: return "TVDSS";
    case Trace::INDEX_KIND_3: return "TIME";
    case Trace::INDEX_KIND_4: return "OWT";
    default: return "DEPT";
  }
}

// A trace name as a LAS 2.0 mnemonic: the ":2" the reader gives a repeated mnemonic goes (the
// reader numbers repeats again), and the characters that delimit header fields become '_'.
std::string writtenMnemonic(std::string name) {
  const auto colon = name.rfind(':');
  if (colon != std::string::npos && colon + 1 < name.size() &&
      name.find_first_not_of("0123456789", colon + 1) == std::string::npos)
    name.erase(colon);
  for (char& c : name)
    if (c == '.' || c == ':' || c == ' ' || c == '\t' || c == '~' || c == '#') c = '_';
  return name.empty() ? "CURVE" : name;
}

struct Exported {
  std::string name, description, unit;
  float nullValue = 0;
  std::vector<float> index;
  std::vector<std::vector<float>> elements;
};

std::vector<float> toVector(const kel_Array<float>& array) {
  std::vector<float> out;
  array.read([&](const float* values, unsigned n) { out.assign(values, values + n); });
  return out;
}

void addItem(las::Section& section, const char* mnemonic, const std::string& value, const char* description,
             const char* unit = "") {
  if (value.empty()) return;
  las::HeaderItem item;
  item.mnemonic = mnemonic;
  item.unit = unit;
  item.value = value;
  item.description = description;
  section.items.push_back(item);
}

std::string formatNumber(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.10g", value);
  return buffer;
}

las::Section wellSection(const kel_WellBore& bore) {
  las::Section section;
  section.name = "Well";
  const kel_Well well = bore.getWell();
  const kel_StringPair id = well.getIdentifier();
  addItem(section, "WELL", text(id.getValue()), "WELL");
  if (text(id.getKey()) == "UWI") addItem(section, "UWI", text(id.getValue()), "UNIQUE WELL ID");
  addItem(section, "COMP", text(well.getCurrentOperator()), "COMPANY");
  addItem(section, "FLD", text(well.getField()), "FIELD");
  addItem(section, "CNTY", text(well.getCounty()), "COUNTY");
  addItem(section, "STAT", text(well.getStateOrProvince()), "STATE");
  addItem(section, "CTRY", text(well.getCountry()), "COUNTRY");
  const kel_Date spud = well.getSpudDate();
  if (!spud.isNullDate()) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", spud.getYear(), spud.getMonth(), spud.getDay());
    addItem(section, "SPUD", date, "SPUD DATE");
  }
  const kel_Coordinate location = well.getLocation();
  if (!location.getSystem().isNil() && std::isfinite(location.getX()) && std::isfinite(location.getY())) {
    const long epsg = location.getSystem().getEpsgCode();
    const std::string system = text(location.getSystem().getName());
    if (epsg == 4326 || epsg == 4269 || epsg == 4267 || epsg == 4230 || epsg == 4258) {
      addItem(section, "LATI", formatNumber(location.getY()), "LATITUDE", "deg");
      addItem(section, "LONG", formatNumber(location.getX()), "LONGITUDE", "deg");
      addItem(section, "GDAT", system, "GEODETIC DATUM");
    } else {
      addItem(section, "X", formatNumber(location.getX()), "X COORDINATE");
      addItem(section, "Y", formatNumber(location.getY()), "Y COORDINATE");
      addItem(section, "HZCS", system, "HORIZONTAL COORDINATE SYSTEM");
    }
  }
  return section;
}

}  // namespace

las::LasFile exportWellBore(const kel_WellBore& bore, const std::vector<std::string>& curves) {
  const kel_Array<Trace> all = bore.getLogTraces();
  std::vector<Trace> selected;
  std::vector<std::string> available;
  for (unsigned i = 0; i < all.size(); ++i) available.push_back(text(Trace(all[i]).getTraceName()));
  if (curves.empty()) {
    for (unsigned i = 0; i < all.size(); ++i) selected.push_back(all[i]);
  } else {
    for (const std::string& curve : curves) {
      const auto at = std::find(available.begin(), available.end(), curve);
      if (at == available.end()) {
        std::string names;
        for (const std::string& name : available) names += (names.empty() ? "" : ", ") + name;
        throw CommandError(kRefused, "the wellbore has no log trace \"" + curve + "\" (it has: " +
                                         (names.empty() ? "none" : names) + ")");
      }
      selected.push_back(all[static_cast<unsigned>(at - available.begin())]);
    }
  }
  if (selected.empty()) throw CommandError(kRefused, "the wellbore has no log traces to export");

  // Each trace in the first one's index kind and unit: its own, read bit for bit.
  const Trace::IndexKind kind = selected.front().getNativeIndexKind();
  kel_Unit indexUnit;
  std::vector<Exported> traces;
  for (Trace& trace : selected) {
    Exported out;
    out.name = text(trace.getTraceName());
    if (isTimeKind(trace.getNativeIndexKind()) != isTimeKind(kind)) {
      throw CommandError(kRefused, "the log traces " + traces.front().name + " and " + out.name +
                                       " are indexed one in depth, one in time: export them apart (--curves)");
    }
    const Trace::TraceData data = trace.getTraceData(indexUnit, kind);
    if (indexUnit.isNil()) indexUnit = data.index.getUnit();
    out.description = text(trace.getTraceKind());
    out.unit = text(data.trace.getUnit().getAcronym());
    if (out.unit == kel_Unit::unitless) {
      // A unitless trace from a LAS file keeps the unit text the catalogue did not know in its comment.
      const std::string comment = text(trace.getComment());
      out.unit = comment.rfind(kUnitNoteKey, 0) == 0 ? comment.substr(std::strlen(kUnitNoteKey)) : "";
    }
    out.nullValue = trace.getNullValue();
    out.index = toVector(data.index.getValues());
    const kel_Array<kel_Array<float>>& values = data.trace.getValues();
    for (unsigned e = 0; e < values.size(); ++e) out.elements.push_back(toVector(values[e]));
    traces.push_back(std::move(out));
  }

  // One index for them all: the union of theirs (the same index for traces of one file).
  std::vector<float> index = traces.front().index;
  bool shared = true;
  for (const Exported& t : traces) shared = shared && t.index == index;
  if (!shared) {
    index.clear();
    for (const Exported& t : traces) index.insert(index.end(), t.index.begin(), t.index.end());
    std::sort(index.begin(), index.end());
    index.erase(std::unique(index.begin(), index.end()), index.end());
  }

  las::LasFile file;
  file.version = "2.0";
  const float null = traces.front().nullValue;
  file.nullValue = null;
  file.sections.push_back(wellSection(bore));
  las::CurveSet set;
  set.name = "Log";
  las::Curve indexCurve;
  indexCurve.mnemonic = indexCurve.writtenMnemonic = indexMnemonic(kind);
  indexCurve.unit = text(indexUnit.getAcronym());
  indexCurve.description = isTimeKind(kind) ? "TIME" : "DEPTH";
  indexCurve.type = las::SampleType::float32;
  indexCurve.floats = index;
  set.curves.push_back(indexCurve);
  for (const Exported& t : traces) {
    las::Curve curve;
    curve.mnemonic = t.name;
    curve.writtenMnemonic = writtenMnemonic(t.name);
    curve.unit = t.unit;
    curve.description = t.description;
    curve.elements = std::max<std::size_t>(1, t.elements.size());
    curve.type = las::SampleType::float32;
    curve.floats.assign(index.size() * curve.elements, null);
    std::size_t row = 0;
    for (std::size_t i = 0; i < t.index.size(); ++i) {
      if (!shared) {
        while (row < index.size() && index[row] < t.index[i]) ++row;
        if (row == index.size() || index[row] != t.index[i]) {
          throw CommandError(kRefused, "the index of log trace " + t.name + " does not increase: it cannot share a LAS index");
        }
      } else {
        row = i;
      }
      for (std::size_t e = 0; e < t.elements.size(); ++e) {
        const float value = t.elements[e][i];
        curve.floats[row * curve.elements + e] = value == t.nullValue ? null : value;
      }
    }
    set.curves.push_back(std::move(curve));
  }
  file.curveSets.push_back(std::move(set));

  // A regular index gets its step; any other STEP 0, as LAS has it.
  double step = 0;
  if (index.size() > 1) {
    const float first = index[1] - index[0];
    bool regular = true;
    for (std::size_t i = 2; i < index.size() && regular; ++i) regular = index[i] - index[i - 1] == first;
    if (regular) step = first;
  }
  file.step = step;
  return file;
}

}  // namespace kelwell::cmd
