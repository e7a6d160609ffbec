#include "LasImport.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "Command.h"
#include "Las.h"
#include "References.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_EntityQuery.h"
#include "kel_Exception.h"
#include "kel_Unit.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellLogTrace.h"

namespace kelwell::cmd {
namespace {

namespace las = kelwell::las;
using Trace = kel_WellLogTrace;

// A file refused before anything was stored.
struct Refusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A well item's value; "" when absent or written as the null value (UWI -999.25 means no UWI).
std::string itemValue(const las::LasFile& file, std::initializer_list<const char*> mnemonics) {
  for (const char* mnemonic : mnemonics) {
    const las::HeaderItem* item = file.well().find(mnemonic);
    if (!item || item->value.empty()) continue;
    char* end = nullptr;
    const double number = std::strtod(item->value.c_str(), &end);
    const bool isNull = item->value == file.nullText || (file.nullValue && *end == '\0' && number == *file.nullValue);
    if (!isNull) return item->value;
  }
  return "";
}

// Catalogue look-ups, shared by the import threads: a unit asked for once is asked for once.
class UnitCatalogue {
 public:
  // The unit with this LAS spelling, or nothing when the catalogue does not know it.
  std::optional<kel_Unit> find(const std::string& spelling) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto known = units_.find(spelling);
    if (known != units_.end()) return known->second;
    std::optional<kel_Unit> unit;
    try {
      unit = kel_Unit::getUnit(spelling.c_str());
    } catch (const kel_UserException&) {
    }
    units_.emplace(spelling, unit);
    return unit;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::optional<kel_Unit>> units_;
};

// One trace as it will be created.
struct PlannedTrace {
  std::string name;
  std::string description;
  std::string unknownUnit;  // the written unit when the catalogue does not know it
  Trace::TraceData data;
};

struct WellAttributes {
  std::string name, operatorName, field, country, county, state;
  std::optional<kel_Coordinate> location;
  std::optional<kel_Date> spudDate;
};

// Everything a file will store, checked before anything is.
struct Plan {
  std::string identifierKey, identifierValue;
  WellAttributes well;
  float nullValue = -999.25f;
  std::vector<PlannedTrace> traces;
  std::vector<std::string> notes;
};

// "45.657366", "-64.0143", "45 39 26.518 N", "64° 0' 51.347\" W": degrees, or nothing.
std::optional<double> parseAngle(const std::string& text) {
  double parts[3] = {0, 0, 0};
  int count = 0;
  int sign = 1;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+') {
      if (count == 3) return std::nullopt;
      std::size_t used = 0;
      try {
        parts[count] = std::stod(text.substr(i), &used);
      } catch (const std::exception&) {
        return std::nullopt;
      }
      ++count;
      i += used;
      continue;
    }
    const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (u == 'S' || u == 'W') sign = -1;
    else if (u != 'N' && u != 'E' && !std::isspace(static_cast<unsigned char>(c)) && c != '\'' && c != '"' &&
             static_cast<unsigned char>(c) < 0x80)
      return std::nullopt;
    ++i;
  }
  if (count == 0) return std::nullopt;
  const double magnitude = std::fabs(parts[0]) + parts[1] / 60.0 + parts[2] / 3600.0;
  return (parts[0] < 0 ? -1 : 1) * sign * magnitude;
}

// The EPSG system a LAS geodetic datum names, or "" when it names none the command knows.
std::string systemOfDatum(const std::string& datum) {
  std::string compact;
  for (char c : upper(datum))
    if (std::isalnum(static_cast<unsigned char>(c)) || c == ':') compact += c;
  if (compact.rfind("EPSG:", 0) == 0) return compact;
  if (compact == "WGS84") return "EPSG:4326";
  if (compact == "NAD83") return "EPSG:4269";
  if (compact == "NAD27") return "EPSG:4267";
  if (compact == "ED50") return "EPSG:4230";
  if (compact == "ETRS89") return "EPSG:4258";
  return "";
}

// "1986-03-01", "01-MAR-1986", "1 Mar 1986": a date, or nothing (two-digit years and
// day/month orders that could be read both ways are not guessed at).
std::optional<kel_Date> parseDate(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char month[4] = {0};
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d", &y, &m, &d) == 3) {
  } else if (std::sscanf(text.c_str(), "%2d%*[- ]%3[A-Za-z]%*[- ]%4d", &d, month, &y) == 3 && y > 999) {
    static const char* const names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const std::string name = upper(month);
    for (int i = 0; i < 12; ++i)
      if (name == names[i]) m = i + 1;
  } else {
    return std::nullopt;
  }
  if (y < 1000 || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  return kel_Date(y, m, d);
}

WellAttributes wellAttributes(const las::LasFile& file, std::vector<std::string>& notes) {
  WellAttributes well;
  well.name = itemValue(file, {"WELL"});
  well.operatorName = itemValue(file, {"COMP"});
  well.field = itemValue(file, {"FLD"});
  well.country = itemValue(file, {"CTRY"});
  well.county = itemValue(file, {"CNTY"});
  well.state = itemValue(file, {"STAT", "PROV"});
  const std::string spud = itemValue(file, {"SPUD", "SPDT"});
  if (!spud.empty()) {
    well.spudDate = parseDate(spud);
    if (!well.spudDate) notes.push_back("spud date \"" + spud + "\" is not a date the command reads: not stored");
  }
  const std::string lat = itemValue(file, {"LATI", "LAT"}), lon = itemValue(file, {"LONG", "LON"});
  const std::string x = itemValue(file, {"X", "XCOORD"}), y = itemValue(file, {"Y", "YCOORD"});
  const std::string datum = itemValue(file, {"GDAT", "DATUM"}), projected = itemValue(file, {"HZCS", "PROJ"});
  auto locate = [&](const std::string& system, double east, double north) {
    try {
      well.location = kel_Coordinate(kel_CoordSystem::getSystem(system.c_str()), east, north, 0.0);
    } catch (const kel_Exception&) {
      notes.push_back("location not stored: the coordinate system " + system + " is not in the service's catalogue");
    }
  };
  if (!lat.empty() && !lon.empty()) {
    const auto la = parseAngle(lat), lo = parseAngle(lon);
    const std::string system = systemOfDatum(datum);
    if (!la || !lo || std::fabs(*la) > 90 || std::fabs(*lo) > 360)
      notes.push_back("location not stored: LATI \"" + lat + "\" / LONG \"" + lon + "\" are not a latitude and longitude");
    else if (system.empty())
      notes.push_back("location not stored: LATI/LONG without a geodetic datum the command knows (GDAT \"" + datum + "\")");
    else locate(system, *lo, *la);
  } else if (!x.empty() && !y.empty()) {
    const std::string system = systemOfDatum(projected);
    char* endX = nullptr;
    char* endY = nullptr;
    const double east = std::strtod(x.c_str(), &endX), north = std::strtod(y.c_str(), &endY);
    if (*endX != '\0' || *endY != '\0') notes.push_back("location not stored: X \"" + x + "\" / Y \"" + y + "\" are not numbers");
    else if (system.empty())
      notes.push_back("location not stored: X/Y without a coordinate system named as EPSG:<code> (HZCS \"" + projected + "\")");
    else locate(system, east, north);
  }
  return well;
}

// The service's index kind for a curve set's index curve; Refusal when it is neither depth nor time.
Trace::IndexKind indexKindOf(const las::Curve& index, const std::string& unitQuantity) {
  const std::string mnemonic = upper(index.writtenMnemonic);
  if (unitQuantity == "length") {
    if (mnemonic == "TVDSS" || mnemonic == "SSTVD") return Trace::INDEX_KIND_2;
    if (mnemonic == "TVD") return Trace::INDEX_KIND_1;
    return Trace::INDEX_KIND_0;
  }
  if (unitQuantity == "time") return mnemonic == "OWT" ? Trace::INDEX_KIND_4 : Trace::INDEX_KIND_3;
  throw Refusal("the index curve " + index.mnemonic + " is in " + index.unit + ", which measures " + unitQuantity +
                ": an index must be a depth or a time");
}

kel_Array<float> floatArray(const float* first, std::size_t n) {
  kel_Array<float> array;
  array.assign(first, static_cast<unsigned>(n));
  return array;
}

// The traces of one curve set, its first curve as their index.
void planCurveSet(const las::LasFile& file, const las::CurveSet& set, UnitCatalogue& units, Plan& plan) {
  if (set.curves.size() < 2) return;
  const las::Curve& index = set.curves.front();
  const std::string prefix = upper(set.name) == "LOG" ? "" : set.name + "_";
  if (index.type == las::SampleType::text || index.elements != 1) {
    plan.notes.push_back("curve set " + set.name + " not imported: its index " + index.mnemonic + " is not one number a row");
    return;
  }
  std::string indexUnitText = index.unit;
  if (indexUnitText.empty() && &set == &file.logs()) {
    if (const las::HeaderItem* start = file.well().find("STRT")) indexUnitText = start->unit;
  }
  if (indexUnitText.empty()) throw Refusal("the index curve " + index.mnemonic + " has no unit");
  const std::optional<kel_Unit> indexUnit = units.find(indexUnitText);
  if (!indexUnit) {
    throw Refusal("the index curve " + index.mnemonic + " is in \"" + indexUnitText +
                  "\", which the unit catalogue does not know");
  }
  const Trace::IndexKind kind = indexKindOf(index, text(indexUnit->getQuantity()));

  // Index values as floats, strictly increasing; a file logged upwards is stored in increasing order.
  const std::size_t rows = index.rows();
  std::vector<float> indexValues(index.floats.begin(), index.floats.end());
  const bool reversed = rows > 1 && indexValues[0] > indexValues[rows - 1];
  if (reversed) {
    std::reverse(indexValues.begin(), indexValues.end());
    plan.notes.push_back("curve set " + set.name + ": the index decreases; the rows are stored in increasing order");
  }
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t row = reversed ? rows - 1 - r : r;
    if (!std::isfinite(indexValues[r])) {
      throw Refusal("the index curve " + index.mnemonic + " holds a value that is not a finite number in data row " +
                    std::to_string(row + 1));
    }
    if (r > 0 && !(indexValues[r] > indexValues[r - 1])) {
      throw Refusal("the index curve " + index.mnemonic + " does not keep increasing (or decreasing) at data row " +
                    std::to_string(row + 1) + ": " + std::to_string(indexValues[r]) +
                    " follows " + std::to_string(indexValues[r - 1]) + " (compared as single-precision floats)");
    }
  }
  const kel_FloatQuantities traceIndex(*indexUnit, floatArray(indexValues.data(), rows));

  for (std::size_t c = 1; c < set.curves.size(); ++c) {
    const las::Curve& curve = set.curves[c];
    if (curve.type == las::SampleType::text) {
      plan.notes.push_back("curve " + curve.mnemonic + " holds text: not imported");
      continue;
    }
    PlannedTrace trace;
    trace.name = prefix + curve.mnemonic;
    trace.description = curve.description;
    // No unit, or one the catalogue does not know: the catalogue's unit of dimensionless values.
    kel_Unit unit = *units.find(kel_Unit::unitless);
    if (!curve.unit.empty()) {
      if (const auto known = units.find(curve.unit)) {
        unit = *known;
      } else {
        trace.unknownUnit = curve.unit;
        plan.notes.push_back("curve " + curve.mnemonic + ": the unit \"" + curve.unit +
                             "\" is not in the unit catalogue; kept as text, the trace is unitless");
      }
    }
    const std::size_t elements = curve.elements;
    kel_Array<kel_Array<float>> values(static_cast<unsigned>(elements));
    for (std::size_t e = 0; e < elements; ++e) {
      kel_Array<float> element;
      std::string bad;
      element.fill(static_cast<unsigned>(rows), [&](float* out, unsigned n) {
        for (unsigned r = 0; r < n; ++r) {
          const std::size_t row = reversed ? rows - 1 - r : r;
          const float value = curve.floats[row * elements + e];
          if (!std::isfinite(value) && bad.empty()) {
            bad = "curve " + curve.mnemonic + " holds a value that is not a finite single-precision number in data row " +
                  std::to_string(row + 1);
          }
          out[r] = value;
        }
      });
      if (!bad.empty()) throw Refusal(bad);
      values.set(static_cast<unsigned>(e), element);
    }
    trace.data.index = traceIndex;
    trace.data.trace = kel_FloatQuantitiesSeq(unit, values);
    trace.data.indexKind = kind;
    plan.traces.push_back(std::move(trace));
  }
}

Plan planFile(const las::LasFile& file, UnitCatalogue& units) {
  Plan plan;
  for (const las::Warning& warning : file.warnings) {
    plan.notes.push_back("line " + std::to_string(warning.line) + ": " + warning.text);
  }
  plan.well = wellAttributes(file, plan.notes);
  const std::string uwi = itemValue(file, {"UWI", "API"});
  if (!uwi.empty()) {
    plan.identifierKey = "UWI";
    plan.identifierValue = uwi;
  } else if (!plan.well.name.empty()) {
    plan.identifierKey = "WELL";
    plan.identifierValue = plan.well.name;
  } else {
    plan.identifierKey = "WELL";
    plan.identifierValue = baseName(file.path);
    plan.notes.push_back("no UWI and no WELL in the header: the well is named after the file");
  }
  if (plan.well.name.empty()) plan.well.name = plan.identifierValue;

  if (file.nullValue) {
    const float null = static_cast<float>(*file.nullValue);
    if (!std::isfinite(null)) throw Refusal("the null value " + file.nullText + " is not a finite single-precision number");
    plan.nullValue = null;
  } else {
    plan.notes.push_back("no NULL in the header: the traces take -999.25 as their null value");
  }
  for (const las::CurveSet& set : file.curveSets) {
    if (&set == &file.logs()) {
      planCurveSet(file, set, units, plan);
      continue;
    }
    // Another LAS 3.0 set (core, tops, tests) is imported when it is a log on a depth or time
    // index of its own; otherwise it is left out and the summary says why.
    Plan part;
    try {
      planCurveSet(file, set, units, part);
    } catch (const Refusal& refusal) {
      plan.notes.push_back("curve set " + set.name + " not imported: " + refusal.what());
      continue;
    }
    plan.notes.insert(plan.notes.end(), part.notes.begin(), part.notes.end());
    for (PlannedTrace& trace : part.traces) plan.traces.push_back(std::move(trace));
  }
  if (plan.traces.empty()) throw Refusal("no numeric curve besides the index: nothing to import");
  return plan;
}

// Files of the same well take turns at finding or creating it, so that two files never
// create the same well twice.
class WellLocks {
 public:
  std::mutex& of(const std::string& identifier) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto& slot = locks_[identifier];
    if (!slot) slot = std::make_unique<std::mutex>();
    return *slot;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::unique_ptr<std::mutex>> locks_;
};

bool traceExists(const kel_Project& project, const kel_WellBore& bore, const std::string& name) {
  kel_EntityQuery q(project, "EpiWell_WellLogTrace");
  q.setWhereClause("EpiWell_WellLogTrace.wellbore.id = :b and EpiWell_WellLogTrace.traceName = :n");
  q.addParameter("b", bore.getId().c_str());
  q.addParameter("n", name.c_str());
  q.execute();
  return q.getEntityResult().size() > 0;
}

void describeWell(kel_Well& well, const WellAttributes& a) {
  if (!a.operatorName.empty()) well.setCurrentOperator(a.operatorName.c_str());
  if (!a.field.empty()) well.setField(a.field.c_str());
  if (!a.country.empty()) well.setCountry(a.country.c_str());
  if (!a.county.empty()) well.setCounty(a.county.c_str());
  if (!a.state.empty()) well.setStateOrProvince(a.state.c_str());
  if (a.location) well.setLocation(*a.location);
  if (a.spudDate) well.setSpudDate(*a.spudDate);
}

// The planned traces the wellbore does not have yet (all of them on a new wellbore).
std::vector<const PlannedTrace*> tracesToCreate(const kel_Project& project, const kel_WellBore& bore, bool newBore,
                                                const Plan& plan, ImportedFile& outcome) {
  std::vector<const PlannedTrace*> out;
  for (const PlannedTrace& planned : plan.traces) {
    if (!newBore && traceExists(project, bore, planned.name)) outcome.tracesSkipped.push_back(planned.name);
    else out.push_back(&planned);
  }
  return out;
}

// Creates the traces one after the other, in the file's curve order: the wellbore lists its
// traces in the order they were created, and an export follows that order. created[i] is set
// for each trace made; the first failure stops the rest and is rethrown.
void createTraces(const kel_Session& session, const kel_WellBore& bore, const std::vector<const PlannedTrace*>& traces,
                  float nullValue, const std::string& source, std::vector<Trace>& created) {
  created.assign(traces.size(), Trace());
  for (std::size_t i = 0; i < traces.size(); ++i) {
    const PlannedTrace& planned = *traces[i];
    created[i] = Trace::createNewWellLogTrace(bore, planned.name.c_str(), planned.description.c_str(), source.c_str(),
                                              planned.data, nullValue, session);
    if (!planned.unknownUnit.empty()) created[i].setComment((kUnitNoteKey + planned.unknownUnit).c_str());
  }
}

// Stores what the plan says; on a failure, the outcome lists what stays stored.
void store(const kel_Session& session, const kel_Project& project, const Plan& plan, const std::string& source,
           WellLocks& locks, ImportedFile& outcome) {
  outcome.well = plan.identifierKey + "=" + plan.identifierValue;
  outcome.wellbore = plan.identifierValue;
  kel_WellBore bore;
  kel_Well well;
  std::vector<const PlannedTrace*> toCreate;
  std::vector<Trace> created;
  try {
    std::lock_guard<std::mutex> lock(locks.of(outcome.well));
    const std::vector<kel_Well> wells = wellsWithIdentifier(project, plan.identifierKey, plan.identifierValue);
    if (wells.size() > 1) {
      throw Refusal(std::to_string(wells.size()) + " wells of the project have the identifier " + outcome.well);
    }
    if (wells.empty()) {
      well = kel_Well::createNewWell(project, plan.well.name.c_str(),
                                     kel_StringPair(plan.identifierKey.c_str(), plan.identifierValue.c_str()), session);
      outcome.wellCreated = true;
    } else {
      well = wells.front();
      const kel_Array<kel_WellBore> bores = kel_WellBore::getWellBoresOfWell(well);
      for (unsigned i = 0; i < bores.size(); ++i) {
        const kel_StringPair id = bores[i].getIdentifier();
        if (text(id.getKey()) == kWellBoreKey && text(id.getValue()) == plan.identifierValue) bore = bores[i];
      }
    }
    if (bore.isNil()) {
      bore = kel_WellBore::createNewWellBore(well, kel_StringPair(kWellBoreKey, plan.identifierValue.c_str()), session);
      outcome.wellboreCreated = true;
    }
    toCreate = tracesToCreate(project, bore, outcome.wellboreCreated, plan, outcome);
    // The new well's attributes are written while its traces are: other objects, other calls.
    std::thread describing;
    std::exception_ptr describeFailure;
    if (outcome.wellCreated) {
      describing = std::thread([&] {
        try {
          describeWell(well, plan.well);
        } catch (...) {
          describeFailure = std::current_exception();
        }
      });
    }
    std::exception_ptr traceFailure;
    try {
      createTraces(session, bore, toCreate, plan.nullValue, source, created);
    } catch (...) {
      traceFailure = std::current_exception();
    }
    if (describing.joinable()) describing.join();
    if (traceFailure) std::rethrow_exception(traceFailure);
    if (describeFailure) std::rethrow_exception(describeFailure);
    for (const PlannedTrace* planned : toCreate) outcome.tracesCreated.push_back(planned->name);
    outcome.outcome = outcome.tracesCreated.empty() ? ImportedFile::Outcome::skipped : ImportedFile::Outcome::imported;
    return;
  } catch (const Refusal& refusal) {
    outcome.error = outcome.file + ": " + refusal.what();
  } catch (const kel_Exception& failure) {
    outcome.error = outcome.file + ": the service refused it: " + text(failure.toString());
  }
  outcome.outcome = ImportedFile::Outcome::refused;
  // What this file created stays stored (the contract removes no wells or traces): name it exactly.
  try {
    if (outcome.wellCreated) outcome.leftBehind.push_back("well " + outcome.well + " (@" + text(well.getId()) + ")");
    if (outcome.wellboreCreated)
      outcome.leftBehind.push_back("wellbore " + plan.identifierValue + " (@" + text(bore.getId()) + ")");
    for (std::size_t i = 0; i < created.size(); ++i) {
      if (created[i].isNil()) continue;
      outcome.tracesCreated.push_back(toCreate[i]->name);
      outcome.leftBehind.push_back("log trace " + toCreate[i]->name + " (@" + text(created[i].getId()) + ")");
    }
  } catch (const kel_Exception& failure) {
    outcome.leftBehind.push_back("(the service could not say which: " + text(failure.getMessage()) + ")");
  }
}

ImportedFile importOne(const kel_Session& session, const kel_Project& project, const std::string& path,
                       UnitCatalogue& units, WellLocks& locks) {
  ImportedFile outcome;
  outcome.file = path;
  try {
    las::ReadOptions read;
    read.samples = las::SampleType::float32;
    const las::LasFile file = las::readFile(path, read);
    const Plan plan = planFile(file, units);
    outcome.notes = plan.notes;
    store(session, project, plan, "LAS " + baseName(path), locks, outcome);
  } catch (const las::LasError& error) {
    outcome.error = error.what();
  } catch (const Refusal& refusal) {
    outcome.error = path + ": " + refusal.what();
  } catch (const kel_Exception& failure) {
    outcome.error = path + ": " + text(failure.toString());
  } catch (const std::exception& failure) {
    outcome.error = path + ": " + failure.what();
  }
  return outcome;
}

}  // namespace

std::vector<ImportedFile> importLasFiles(const kel_Session& session, const kel_Project& project,
                                         const std::vector<std::string>& files, const ImportOptions& options) {
  std::vector<ImportedFile> outcomes(files.size());
  UnitCatalogue units;
  WellLocks locks;
  std::atomic<std::size_t> next{0};
  std::size_t done = 0;
  std::mutex progressMutex;
  auto work = [&] {
    for (std::size_t i = next++; i < files.size(); i = next++) {
      outcomes[i] = importOne(session, project, files[i], units, locks);
      std::lock_guard<std::mutex> lock(progressMutex);
      ++done;
      if (options.progress) options.progress(done, files.size());
    }
  };
  const std::size_t threads = std::max<std::size_t>(1, std::min<std::size_t>(options.threads, files.size()));
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  return outcomes;
}

}  // namespace kelwell::cmd
