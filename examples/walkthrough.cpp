// A walk through kelWell: two real wells from public log headers are stored
// in the well data service, described, measured in two unit systems,
// given a velocity function from a checkshot table,
// listed, and finally asked something impossible, to show what a failure
// looks like.
//
// The service is found as every kelWell application finds it: through the
// KELWELL_SERVICE environment variable (an IOR, a corbaloc address, or
// file:PATH), else at corbaloc:iiop:127.0.0.1:18110/kelwell.
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <iostream>
#include <string>

#include "kel_Connection.h"
#include "kel_Exception.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellVelocity.h"

namespace {

void say(const std::string& text) { std::cout << text << std::endl; }

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

kel_Array<float> floats(std::initializer_list<float> values) {
  kel_Array<float> array;
  for (float v : values) array.addElement(v);
  return array;
}

std::string quantity(const kel_FloatQuantity& q, int decimals = 1) {
  return fixed(q.getValue(), decimals) + " " + q.getUnit().getAcronym().str();
}

// The failure's whole chain, one level a line, indented under the text that introduces it.
void showChain(const kel_Exception& failure) {
  std::string chain = failure.toString().str();
  std::string::size_type at = 0;
  while (at < chain.size()) {
    const std::string::size_type end = chain.find('\n', at);
    say("    " + chain.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
}

std::string orUnknown(const kel_cppUtil::String& text) { return text.empty() ? "(not recorded)" : text.str(); }

void describe(const kel_Well& well) {
  const kel_StringPair id = well.getIdentifier();
  say("  " + id.getKey().str() + " " + id.getValue().str());
  say("    operator: " + orUnknown(well.getCurrentOperator()) + ", field: " + orUnknown(well.getField()));
  say("    county: " + orUnknown(well.getCounty()) + ", state or province: " +
      orUnknown(well.getStateOrProvince()) + ", country: " + orUnknown(well.getCountry()));
}

// A project name nobody has used yet on this service.
kel_Project newProject(const kel_Session& session) {
  const std::string base = "Walkthrough " + std::to_string(static_cast<long>(std::time(nullptr)));
  for (int attempt = 0;; ++attempt) {
    const std::string name = attempt == 0 ? base : base + "-" + std::to_string(attempt);
    try {
      return kel_Project::create(session, name.c_str());
    } catch (const kel_UserException&) {
      if (attempt == 9) throw; // taken ten times over: give up and say why
    }
  }
}

} // namespace

int main(int argc, char** argv) {
  try {
    kel_Connection::initialize(argc, argv);
    say("Connected to the well data service at " + kel_Connection::getServiceLocation().str() + ".");

    const kel_Session session = kel_Session::open();
    const kel_Project project = newProject(session);
    say("Opened a session for " + session.getUser().str() + " and created the project \"" +
        project.getName().str() + "\".");
    say("");

    // ------------------------------------------------------------ two wells from their log headers
    say("Storing two wells, described as their log headers describe them:");
    kel_Well lauren =
        kel_Well::createNewWell(project, "Eastrock Lauren #1", kel_StringPair("API", "435655"), session);
    lauren.setCurrentOperator("Eastrock Resources LTD.");
    lauren.setField("Lauren");
    lauren.setCounty("Nova Scotia");
    lauren.setCountry("Canada");
    lauren.setWellStatus("drilled");
    // 45 39' 26.518" N, 64 0' 51.347" W, on WGS 84; z is the ground level, 119 m above sea level.
    lauren.setLocation(kel_Coordinate(kel_CoordSystem::getSystem("EPSG:4326"), -(64.0 + 51.347 / 3600.0),
                                      45.0 + 39.0 / 60.0 + 26.518 / 3600.0, 119.0));

    kel_Well f3 = kel_Well::createNewWell(project, "F/3-2", kel_StringPair("Well name", "F/3-2"), session);
    f3.setCurrentOperator("NAM");
    f3.setField("WILDCAT");
    f3.setCounty("NETHERLANDS");
    f3.setStateOrProvince("NORTH SEA");
    // An offshore well: its water depth, entered in feet (an example value).
    f3.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 138.0f));
    f3.setSpudDate(kel_Date(1986, 3, 1));
    describe(lauren);
    describe(f3);
    say("");

    // ------------------------------------------------------------ a wellbore, and two unit systems
    kel_WellBore bore = kel_WellBore::createNewWellBore(lauren, kel_StringPair("Bore", "00"), session);
    bore.setElevationDatum(kel_WellBore::WELL_DEPTH_DATUM_0); // depths from the kelly bushing
    bore.setElevation(kel_FloatQuantity(kel_Unit::getUnit("m"), 123.0f));
    bore.setTotalDepth(kel_FloatQuantity(kel_Unit::getUnit("m"), 951.89f));
    bore.setBoreStatus("completed");
    bore.setFlowDirection("observation");
    bore.setCompletionDate(kel_Date(2011, 12, 30));

    const kel_UnitMeasureSet metric = kel_UnitMeasureSet::getUnits("metric");
    const kel_UnitMeasureSet field = kel_UnitMeasureSet::getUnits("field");
    say("The same measurements in metric and in field units:");
    say("  Lauren #1 wellbore " + bore.getIdentifier().getValue().str() + " (status " +
        bore.getBoreStatus().str() + ", completion date " + bore.getCompletionDate().toString().str() + "):");
    say("    total depth below the kelly bushing: " + quantity(bore.getTotalDepth(metric.depthUnit)) + " = " +
        quantity(bore.getTotalDepth(field.depthUnit)));
    say("    kelly bushing above sea level:       " + quantity(bore.getElevation(metric.depthUnit)) + " = " +
        quantity(bore.getElevation(field.depthUnit)));
    say("  F/3-2, spudded " + f3.getSpudDate().toString().str() + ":");
    say("    water depth:                         " + quantity(f3.getWaterDepth(metric.depthUnit)) + " = " +
        quantity(f3.getWaterDepth(field.depthUnit)));
    say("  The service's own default depth unit gives " + quantity(bore.getTotalDepth()) +
        " for the total depth.");

    const kel_Coordinate geographic = lauren.getLocation();
    const kel_Coordinate utm = lauren.getLocation(kel_CoordSystem::getSystem("EPSG:32620"));
    say("  Lauren #1 surface location: longitude " + fixed(geographic.getX(), 5) + ", latitude " +
        fixed(geographic.getY(), 5) + " (" + geographic.getSystem().getName().str() + "),");
    say("    or easting " + fixed(utm.getX(), 1) + " m, northing " + fixed(utm.getY(), 1) +
        " m in UTM zone 20N (" + utm.getSystem().getName().str() + ").");
    say("");

    // ------------------------------------------------------------ a velocity function
    // A checkshot table (example values): two-way times and depths below the
    // kelly bushing, which is also the function's datum.
    const kel_Unit ms = kel_Unit::getUnit("ms"), m = kel_Unit::getUnit("m"), mps = kel_Unit::getUnit("m/s");
    const kel_WellVelocity::WellVelocityData checkshots{
        kel_FloatQuantities(ms, floats({0, 200, 500, 800})), kel_FloatQuantities(m, floats({0, 190, 520, 890})),
        kel_FloatQuantities(mps, floats({})), kel_FloatQuantities(mps, floats({})), kel_FloatQuantities(mps, floats({}))};
    const kel_WellVelocity velocity = kel_WellVelocity::createNewWellVelocity(
        bore, "Checkshots", "Checkshot survey", kel_FloatQuantity(m, 123.0f), checkshots, session);
    const kel_WellTypes::Depths depths{kel_FloatQuantities(m, floats({100, 400, 750})), kel_WellTypes::DEPTH_TYPE_1};
    const kel_WellTypes::Times times = velocity.convertDepthsToTimes(depths, ms, kel_WellTypes::TIME_TYPE_0);
    say("A velocity function from a checkshot table of " + std::to_string(velocity.getNumSamples()) +
        " samples gives the two-way times of depths below the kelly bushing:");
    for (unsigned i = 0; i < times.values.getValues().size(); ++i)
      say("    " + fixed(depths.values.getValues()[i], 0) + " m -> " + fixed(times.values.getValues()[i], 1) + " ms");
    say("");

    // ------------------------------------------------------------ listing
    const kel_Array<kel_Well> wells = kel_Well::getWellsInProject(project);
    say("The project holds " + std::to_string(wells.size()) + " wells:");
    for (unsigned i = 0; i < wells.size(); ++i) {
      const kel_Well& well = wells[i];
      const kel_Array<kel_WellBore> bores = kel_WellBore::getWellBoresOfWell(well);
      say("  " + std::to_string(i + 1) + ". " + well.getIdentifier().getValue().str() + " in " +
          orUnknown(well.getField()) + ", " + std::to_string(bores.size()) + " wellbore(s)");
    }
    const kel_Array<kel_cppUtil::String> directions = kel_WellBore::getValidFlowDirections();
    std::string list;
    for (unsigned i = 0; i < directions.size(); ++i) list += (i ? ", " : "") + directions[i].str();
    say("The flow directions a wellbore may have: " + list + ".");
    say("");

    // ------------------------------------------------------------ what a failure looks like
    say("Asking for the water depth in milliseconds, which no depth can be expressed in:");
    try {
      f3.getWaterDepth(kel_Unit::getUnit("ms"));
      say("  (unexpectedly, it answered)");
      return 1;
    } catch (const kel_Exception& failure) {
      say(std::string("  the library answers with a ") + failure.getKindName() +
          " (the caller's mistake), each level with the cause below it:");
      showChain(failure);
    }
    say("");
    say("Recording a flow direction the catalogue does not know:");
    try {
      bore.setFlowDirection("sideways");
      say("  (unexpectedly, it was accepted)");
      return 1;
    } catch (const kel_Exception& failure) {
      say("  the service refuses it:");
      showChain(failure);
      say("  The flow direction is still \"" + bore.getFlowDirection().str() +
          "\": a refused write changes nothing.");
    }
    say("");
    say("Done.");
    kel_Connection::shutdown();
    return 0;
  } catch (const kel_Exception& failure) {
    std::cerr << "The walkthrough failed:\n" << failure.toString() << std::endl;
  } catch (const std::exception& failure) {
    std::cerr << "The walkthrough failed: " << failure.what() << std::endl;
  }
  return 1;
}
