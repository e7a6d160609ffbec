// kel_WellBore's path geometry against a real kelwelld: path data, positions
// in the path types' systems, depth kinds, and every operation's failures.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include <EpiWell.hh>

#include "LibraryService.h"
#include "kel_Coordinate.h"
#include "kel_Internal.h"
#include "kel_WellTypes.h"

using namespace library_test;
using kelwell_test::startsWith;
using kelwell_test::sys;
using kelwell_test::user;

namespace {

constexpr double kFoot = 0.3048;

kel_Array<float> floats(const std::vector<double>& values) {
  kel_Array<float> array(static_cast<unsigned>(values.size()));
  for (unsigned i = 0; i < values.size(); ++i) array.set(i, static_cast<float>(values[i]));
  return array;
}

kel_FloatQuantities quantities(const std::vector<double>& values, const char* unit) {
  return kel_FloatQuantities(kel_Unit::getUnit(unit), floats(values));
}

std::vector<double> values(const kel_FloatQuantities& quantities) {
  std::vector<double> result;
  for (unsigned i = 0; i < quantities.getValues().size(); ++i) result.push_back(quantities.getValues()[i]);
  return result;
}

EpiWell::WellBore_ptr raw(const kel_WellBore& bore) {
  return static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal()));
}

// Survey stations go in beside the wrapper's contract, through the stub.
void setStations(const kel_WellBore& bore, const std::vector<double>& md, const std::vector<double>& inc,
                 const std::vector<double>& azi, const char* mdUnit) {
  auto remote = [](const std::vector<double>& list, const char* unit) {
    EpiTypes::DataQuantities q;
    EpTypes::DoubleSeq sequence;
    sequence.length(static_cast<CORBA::ULong>(list.size()));
    for (std::size_t i = 0; i < list.size(); ++i) sequence[static_cast<CORBA::ULong>(i)] = list[i];
    q.values.doubleValues(sequence);
    const kel_Unit kelUnit = kel_Unit::getUnit(unit);
    q.unit = EpUnitOfMeasureService::Unit::_duplicate(
        static_cast<EpUnitOfMeasureService::Unit_ptr>(kelUnit.getRemoteObject(kel_Internal())));
    return q;
  };
  raw(bore)->setSurveyStations(remote(md, mdUnit), remote(inc, "dega"), remote(azi, "dega"));
}

class PathTest : public Fixture {
protected:
  PathTest() : well(newWell()), bore(newBore(well)) {}

  // An L-shaped path given as positions, in feet: down 1000 ft, then 300 ft east.
  void setLPath() {
    kel_WellBore::PathData data;
    data.column0 = quantities({0.0, 1000.0, 1300.0}, "ft");
    data.column1 = quantities({0.0, 1000.0, 1000.0}, "ft");
    data.column2 = quantities({0.0, 0.0, 300.0}, "ft");
    data.column3 = quantities({0.0, 0.0, 0.0}, "ft");
    data.column4 = quantities({}, "ms");   // times come from the velocity function
    bore.setBoreData(data);
  }

  kel_Well well;
  kel_WellBore bore;
};

TEST_F(PathTest, PathDataGoesInWholeAndComesBackInTheDefaultUnits) {
  EXPECT_EQ(0u, bore.getBoreData().column0.getValues().size());
  setLPath();
  const kel_WellBore::PathData data = bore.getBoreData();
  EXPECT_EQ("m", text(data.column0.getUnit().getAcronym()));
  EXPECT_EQ("ms", text(data.column4.getUnit().getAcronym()));
  EXPECT_NEAR(values(data.column1)[2], 1000.0 * kFoot, 1e-3);
  EXPECT_NEAR(values(data.column2)[2], 300.0 * kFoot, 1e-3);
  const kel_WellBore::PathData inFeet =
      bore.getBoreData(kel_Unit::getUnit("ft"), kel_Unit::getUnit("ft"), kel_Unit::getUnit("s"));
  EXPECT_FLOAT_EQ(values(inFeet.column0)[2], 1300.0f);

  // Between samples the path is linear; the local systems use the default units (m).
  const kel_CoordinateArray along = bore.getLocation(quantities({1150.0}, "ft"), kel_WellBore::LOCAL_DXDY_MD);
  ASSERT_EQ(1u, along.getPoints().size());
  EXPECT_NEAR(along.getPoints()[0].getX(), 150.0 * kFoot, 1e-4);
  EXPECT_NEAR(along.getPoints()[0].getZ(), 1150.0 * kFoot, 1e-4);
  EXPECT_EQ(0, along.getSystem().getEpsgCode());
  const kel_Coordinate last = bore.getPathLastPoint(kel_WellBore::LOCAL_DXDY_TVD);
  EXPECT_NEAR(last.getZ(), 1000.0 * kFoot, 1e-4);
  const kel_CoordinateArray path = bore.getPath(kel_WellBore::LOCAL_DXDY_TVD);
  EXPECT_EQ(3u, path.getPoints().size());
}

TEST_F(PathTest, DepthKindsConvertThroughThePath) {
  setLPath();
  bore.setElevation(kel_FloatQuantity(kel_Unit::getUnit("m"), 30.0f));
  kel_WellTypes::Depths md;
  md.values = quantities({500.0, 1200.0}, "ft");
  md.type = kel_WellTypes::DEPTH_TYPE_0;
  const kel_WellTypes::Depths tvd = bore.convertDepths(md, kel_WellTypes::DEPTH_TYPE_1);
  EXPECT_EQ(kel_WellTypes::DEPTH_TYPE_1, tvd.type);
  EXPECT_EQ("m", text(tvd.values.getUnit().getAcronym()));
  EXPECT_NEAR(values(tvd.values)[1], 1000.0 * kFoot, 1e-3);
  const kel_WellTypes::Depths subsea = bore.convertDepths(md, kel_Unit::getUnit("ft"), kel_WellTypes::DEPTH_TYPE_2);
  EXPECT_NEAR(values(subsea.values)[0], 500.0 - 30.0 / kFoot, 1e-3);
}

TEST_F(PathTest, Well10SurveyThroughTheWrapperAgreesWithItsReference) {
  std::ifstream in(std::string(KELWELL_TEST_DATA_DIR) + "/surveys/well10.csv");
  std::string line;
  std::getline(in, line);
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::vector<double> row;
    for (std::string field; std::getline(fields, field, ',');) row.push_back(std::stod(field));
    if (!row.empty()) rows.push_back(row);
  }
  ASSERT_GT(rows.size(), 100u);
  std::vector<double> md, inc, azi;
  for (const auto& row : rows) {
    md.push_back(row[0]);
    inc.push_back(row[1]);
    azi.push_back(row[2]);
  }
  const kel_CoordSystem grid = kel_CoordSystem::getSystem("EPSG:26392");
  well.setLocation(kel_Coordinate(grid, rows[0][6], rows[0][5], 0.0));
  setStations(bore, md, inc, azi, "ft");

  // Measured depths cross as floats, the last station's included.
  const kel_CoordinateArray at = bore.getLocation(quantities(md, "ft"), grid);
  ASSERT_EQ(rows.size(), at.getPoints().size());
  std::vector<double> errors;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const kel_CoordPoint& p = at.getPoints()[static_cast<unsigned>(i)];
    errors.push_back(std::hypot(p.getX() - rows[i][6], p.getY() - rows[i][5], p.getZ() - rows[i][3] * kFoot));
  }
  std::sort(errors.begin(), errors.end());
  const double median = errors[errors.size() / 2], p95 = errors[(errors.size() * 95 + 99) / 100 - 1];
  std::cout << "well10 through the wrapper (float MDs): 3D error median " << median * 1000.0 << " mm, p95 "
            << p95 * 1000.0 << " mm\n";
  EXPECT_LE(median, 0.005);
  EXPECT_LE(p95, 0.007);

  // The preferred depth system is geographic here: longitude first.
  const kel_CoordinateArray path = bore.getPath(kel_WellBore::PREFERRED_DEPTH);
  EXPECT_EQ(rows.size(), path.getPoints().size());
  EXPECT_NEAR(path.getPoints()[0].getX(), 8.366, 0.01);
}

TEST_F(PathTest, PathTypesMapToTheirSystemsAndNothingElse) {
  expectChain(failureOf([&] { bore.getPath(static_cast<kel_WellBore::PathType>(5)); }),
              {sys("Could not return the well path for this wellbore. ",
                   std::string(kelwell_test::kSystem) + "kel_WellBore::getPath(pathType) method. "),
               sys("The given pathType couldn't be mapped. 5")});
  expectChain(failureOf([&] { bore.getPathLastPoint(static_cast<kel_WellBore::PathType>(-1)); }),
              {sys("Could not return the last point in the well path. ",
                   std::string(kelwell_test::kSystem) + "kel_WellBore::getPathLastPoint(pathType) method. "),
               sys("The given pathType couldn't be mapped. -1")});

  // A local system the service does not give: the depth path in the native system.
  returnNil("createLocalDxDyMd");
  EXPECT_EQ(1u, bore.getPath(kel_WellBore::LOCAL_DXDY_MD).getPoints().size());
}

TEST_F(PathTest, EveryOperationTranslatesItsFailures) {
  setLPath();
  const std::string sysIn = kelwell_test::kSystem, userIn = kelwell_test::kUser;
  const auto md = quantities({100.0}, "ft");
  const struct {
    const char* what;
    std::function<void()> arm;
    std::function<void()> call;
    std::vector<kelwell_test::Level> chain;
  } cases[] = {
      {"a time system without a default velocity: the CORBA clause",
       [] {},
       [&] { bore.getPath(kel_WellBore::PREFERRED_TIME); },
       {sys("Could not return the well path for this wellbore. ", sysIn + "kel_WellBore::getPath(pathType) method. "),
        sys("Could not return the well path for this wellbore. ",
            std::string(kelwell_test::kCorba) + "kel_WellBore::getPath (coordSystem) method. ")}},
      {"positions in time without a default velocity: the user clause",
       [] {},
       [&] { bore.getLocation(md, kel_WellBore::PREFERRED_TIME); },
       {user("Could not return the coordinates for the given measured depths. ",
             userIn + "kel_WellBore::getLocation(md, pathType) method. "),
        user("Could not return the coordinates for the given measured depths in the given coordinate system. ",
             "Caught an EpiWell::WellBore::NoDefaultWellVelocityException exception in the "
             "kel_WellBore::getLocation(md, coordSystem) method. ")}},
      {"a measured depth below the path",
       [] {},
       [&] { bore.getLocation(quantities({1400.0}, "ft"), kel_CoordSystem()); },
       {startsWith(sys("Could not return the coordinates for the given measured depths in the given coordinate "
                       "system. ",
                       "Caught an EpTypes::InsufficientDataException exception in the "
                       "kel_WellBore::getLocation(md, coordSystem) method. "))}},
      {"columns of different lengths",
       [] {},
       [&] {
         kel_WellBore::PathData data;
         data.column0 = quantities({0.0, 1.0}, "m");
         data.column1 = data.column2 = data.column3 = quantities({0.0}, "m");
         data.column4 = quantities({}, "ms");
         bore.setBoreData(data);
       },
       {startsWith(sys("Could not update the raw well path data. ",
                       "Caught an EpiWell::WellBore::InvalidNumSamplesException exception in the "
                       "kel_WellBore::setBoreData method. "))}},
      {"a polyline that comes back nil",
       [] { returnNil("getDepthPath"); },
       [&] { bore.getPath(kel_CoordSystem()); },
       {sys("Could not return the well path for this wellbore. ", sysIn + "kel_WellBore::getPath (coordSystem) method. "),
        sys("The EpGeometry::Polyline came back nil. ")}},
      {"no transform for the last point",
       [] { raise("getPathLastPoint", "EpCoordinateService::NoKnownTransformException", "why. "); },
       [&] { bore.getPathLastPoint(kel_CoordSystem()); },
       {sys("Could not return the last point in the well path for the desired coordinate system. ",
            "Caught an EpCoordinateService::NoKnownTransformException exception in the "
            "kel_WellBore::getPathLastPoint(coordSystem) method. why. ")}},
      {"insufficient data for the last point: the CORBA user clause",
       [] { raise("getPathLastPoint", "EpTypes::InsufficientDataException", "none. "); },
       [&] { bore.getPathLastPoint(kel_CoordSystem()); },
       {sys("Could not return the last point in the well path for the desired coordinate system. ",
            std::string(kelwell_test::kCorbaUser) + "kel_WellBore::getPathLastPoint(coordSystem) method. ")}},
      {"the store fails reading path data with default units",
       [] { raise("getPathData", "EpDataStore::StoreException", "m. ", "d. "); },
       [&] { bore.getBoreData(); },
       {sys("Could not return the structure describing the path of the bore using default units. ",
            sysIn + "kel_WellBore::getBoreData method. "),
        sys("Could not return the structure describing the path of the bore. ",
            std::string(kelwell_test::kStore) + "kel_WellBore::getBoreData(distanceUnit, depthUnit, timeUnit) "
                                                "method. m. d. ")}},
      {"a conversion the service cannot make",
       [] { raise("convertDepths", "EpUnitOfMeasureService::ConversionException", "no. "); },
       [&] {
         kel_WellTypes::Depths depths;
         depths.values = md;
         bore.convertDepths(depths, kel_WellTypes::DEPTH_TYPE_1);
       },
       {sys("Couldn't convert the input set of Depths using default unit. ",
            sysIn + "kel_WellBore::convertDepths method. "),
        sys("Couldn't convert the input set of Depths. ",
            "Caught an EpUnitOfMeasureService::ConversionException exception in the "
            "kel_WellBore::convertDepths() method. no. ")}},
      {"the store fails making a local system",
       [] { raise("createLocalXYTvd", "EpDataStore::StoreException", "m. ", "d. "); },
       [&] { bore.getLocation(md, kel_WellBore::LOCAL_XY_TVD); },
       {sys("Could not return the coordinates for the given measured depths. ",
            sysIn + "kel_WellBore::getLocation(md, pathType) method. "),
        sys("Could not create a local XYTvd coordinate system. ",
            std::string(kelwell_test::kStore) + "kel_WellBore::createLocalXYTvd method. m. d. ")}},
  };
  for (const auto& failure : cases) {
    SCOPED_TRACE(failure.what);
    failure.arm();
    expectChain(failureOf(failure.call), failure.chain);
    kelwell_test::platformFaults().clear();
  }
  // None of them changed the path.
  EXPECT_EQ(3u, bore.getBoreData().column0.getValues().size());
}

} // namespace
