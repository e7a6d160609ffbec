// Gathers a wellbore's log plot through the library: its traces read in the axis's index
// kind, its picks in the matching reference kind, both in the service's default unit.
#include "LogPlot.h"
#include "Plot.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "kel_Exception.h"
#include "kel_WellBore.h"
#include "kel_WellLogTrace.h"
#include "kel_WellPick.h"
#include "kel_WellVelocity.h"

namespace kelwell::plot {
namespace {

// An axis the command offers, with the kinds the service reads it in.
struct AxisKind {
  std::string_view option;  // as given to --index
  std::string_view name;    // as the axis is labelled
  kel_WellLogTrace::IndexKind traceKind;
  kel_WellPick::PickReference pickKind;
  bool time;
};

constexpr AxisKind kAxisKinds[] = {
    {"md", "MD", kel_WellLogTrace::INDEX_KIND_0, kel_WellPick::PICK_REFERENCE_0, false},
    {"tvd", "TVD", kel_WellLogTrace::INDEX_KIND_1, kel_WellPick::PICK_REFERENCE_1, false},
    {"twt", "TWT", kel_WellLogTrace::INDEX_KIND_3, kel_WellPick::PICK_REFERENCE_4, true},
};

std::string lower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

const AxisKind& axisKindOf(const std::string& option) {
  for (const AxisKind& kind : kAxisKinds) {
    if (lower(option) == kind.option) return kind;
  }
  throw std::runtime_error("cannot plot along \"" + option + "\": the index is md, tvd or twt");
}

// The service's own words for why a call failed: the first failure of the chain.
std::string reasonOf(const kel_Exception& failure) {
  std::string reason = failure.getRootCause().getMessage().str();
  while (!reason.empty() && (std::isspace(static_cast<unsigned char>(reason.back())) || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason;
}

// Runs remote calls; a failure leaves as a runtime_error saying what was being done and why.
template <class Call>
auto remote(const std::string& doing, Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const kel_Exception& failure) {
    throw std::runtime_error("cannot plot: " + doing + ": " + reasonOf(failure));
  }
}

std::vector<double> doublesOf(const kel_Array<float>& array) {
  std::vector<double> values;
  array.read([&](const float* in, unsigned n) { values.assign(in, in + n); });
  return values;
}

std::string colourOf(const kel_Color& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.getRed(), colour.getGreen(), colour.getBlue());
  return text;
}

struct NamedTrace {
  std::string name;
  kel_WellLogTrace trace;
};

// The traces asked for, in the order asked (every trace of the wellbore when none are named).
// A name matches exactly, or else regardless of case; a name matching nothing is refused with
// the names there are.
std::vector<NamedTrace> selectTraces(const kel_WellBore& bore, const std::vector<std::string>& wanted,
                                     const std::string& boreName) {
  std::vector<NamedTrace> all;
  remote("listing the log traces of wellbore " + boreName, [&] {
    const kel_Array<kel_WellLogTrace> traces = bore.getLogTraces();
    for (unsigned i = 0; i < traces.size(); ++i) {
      kel_WellLogTrace trace = traces[i];
      all.push_back({trace.getTraceName().str(), trace});
    }
  });
  if (all.empty()) throw std::runtime_error("cannot plot: wellbore " + boreName + " has no log traces");
  if (wanted.empty()) return all;

  std::vector<NamedTrace> chosen;
  for (const std::string& name : wanted) {
    auto matches = [&](bool exact) {
      std::vector<NamedTrace> found;
      for (const NamedTrace& t : all) {
        if (exact ? t.name == name : lower(t.name) == lower(name)) found.push_back(t);
      }
      return found;
    };
    std::vector<NamedTrace> found = matches(true);
    if (found.empty()) found = matches(false);
    if (found.empty()) {
      std::string names;
      for (const NamedTrace& t : all) names += (names.empty() ? "" : ", ") + t.name;
      throw std::runtime_error("cannot plot: wellbore " + boreName + " has no log trace named \"" + name +
                               "\"; its traces are " + names);
    }
    for (NamedTrace& t : found) {
      const bool already = std::any_of(chosen.begin(), chosen.end(), [&](const NamedTrace& c) {
        return c.trace == t.trace;
      });
      if (!already) chosen.push_back(std::move(t));
    }
  }
  return chosen;
}

Curve curveOf(NamedTrace& named, const AxisKind& axis, const kel_Unit& axisUnit, std::vector<std::string>& notes) {
  return remote("reading log trace " + named.name, [&] {
    kel_WellLogTrace& trace = named.trace;
    const kel_WellLogTrace::TraceData data = trace.getTraceData(axisUnit, axis.traceKind);
    Curve curve;
    curve.name = named.name;
    curve.unit = data.trace.getUnit().getAcronym().str();
    curve.index = doublesOf(data.index.getValues());
    curve.nullValue = trace.getNullValue();
    const kel_Array<kel_Array<float>>& elements = data.trace.getValues();
    if (elements.size() > 0) curve.values = doublesOf(elements[0]);
    if (elements.size() > 1) {
      curve.name += "[1]";
      notes.push_back("log trace " + named.name + " holds " + std::to_string(elements.size()) +
                      " values at each index value; the first is drawn");
    }
    curve.values.resize(curve.index.size(), curve.nullValue);
    return curve;
  });
}

// The picks that can be placed on the axis; the others are named in a note with the reason.
std::vector<Pick> picksOf(const kel_WellBore& bore, const std::string& boreName, const AxisKind& axis,
                          const kel_Unit& axisUnit, std::vector<std::string>& notes) {
  const kel_Array<kel_WellPick> picks =
      remote("listing the picks of wellbore " + boreName, [&] { return bore.getPicks(); });
  std::vector<Pick> placed;
  for (unsigned i = 0; i < picks.size(); ++i) {
    const kel_WellPick& pick = picks[i];
    const std::string name = remote("reading a pick's name", [&] { return pick.getPickName().str(); });
    try {
      const kel_FloatQuantity value = pick.getPickValue(axis.pickKind).value;
      const kel_Unit& unit = value.getUnit();
      const double at = unit.isNil() ? value.getValue() : unit.convert(value.getValue(), axisUnit);
      placed.push_back({name, at, colourOf(pick.getPickColor())});
    } catch (const kel_Exception& failure) {
      notes.push_back("pick " + name + " not shown: " + reasonOf(failure));
    }
  }
  return placed;
}

LogPlot gather(const kel_WellBore& bore, const PlotRequest& request, const AxisKind& axis) {
  if (bore.isNil()) throw std::runtime_error("cannot plot: no wellbore given");
  LogPlot plot;
  const std::string boreName = remote("reading the wellbore", [&] {
    const std::string wellName = bore.getWell().getIdentifier().getValue().str();
    const std::string ownName = bore.getIdentifier().getValue().str();
    plot.title = wellName + " / " + ownName;
    return ownName;
  });
  if (axis.time) {
    const bool hasFunction = remote("reading the velocity function of wellbore " + boreName,
                                    [&] { return !bore.getDefaultWellVelocity().isNil(); });
    if (!hasFunction) {
      throw std::runtime_error("cannot plot in two-way time: wellbore " + boreName +
                               " has no velocity function to relate depths and times");
    }
  }
  const kel_Unit axisUnit = remote("reading the default units", [&] {
    const kel_UnitMeasureSet units = kel_UnitMeasureSet::getDefaultUnits();
    return axis.time ? units.timeUnit : units.depthUnit;
  });
  plot.axisName = axis.name;
  plot.axisUnit = axisUnit.getAcronym().str();

  std::vector<NamedTrace> traces = selectTraces(bore, request.curves, boreName);
  std::vector<Curve> curves;
  for (NamedTrace& trace : traces) curves.push_back(curveOf(trace, axis, axisUnit, plot.notes));
  plot.tracks = arrange(std::move(curves));
  plot.picks = picksOf(bore, boreName, axis, axisUnit, plot.notes);
  return plot;
}

}  // namespace

void plotWellBore(const kel_WellBore& bore, const PlotRequest& request) {
  formatOf(request.out);  // a file name we cannot write is refused before any call to the service
  const AxisKind& axis = axisKindOf(request.index);
  writePlot(gather(bore, request, axis), request.out);
}

}  // namespace kelwell::plot
