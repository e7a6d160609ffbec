// Wellbore path geometry over the wire: survey stations and path data in,
// positions out in projected, geographic and local systems, depth kinds, and
// refused writes that change nothing.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "Helpers.h"

using namespace kelwell_test;

namespace {

constexpr double kFoot = 0.3048;
constexpr double kPi = 3.14159265358979323846;
// The wellhead of the published well10 survey, in Minna / Nigeria Mid Belt.
constexpr const char* kGrid = "EPSG:26392";
constexpr double kHeadEast = 655701.377, kHeadNorth = 40004.564;

std::vector<std::vector<double>> readSurvey(const std::string& name) {
  std::ifstream in(std::string(KELWELL_TEST_DATA_DIR) + "/surveys/" + name, std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  std::string text = whole.str();
  std::replace(text.begin(), text.end(), '\r', '\n');
  std::stringstream lines(text);
  std::vector<std::vector<double>> rows;
  std::string line;
  std::getline(lines, line);   // the header
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    std::stringstream fields(line);
    std::vector<double> row;
    for (std::string field; std::getline(fields, field, ',');) row.push_back(std::stod(field));
    rows.push_back(row);
  }
  return rows;
}

double percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size()))) - 1];
}

std::vector<double> numbers(const EpTypes::DataSequence& sequence) {
  std::vector<double> values;
  if (sequence._d() == EpTypes::DOUBLE_DATA) {
    for (CORBA::ULong i = 0; i < sequence.doubleValues().length(); ++i) values.push_back(sequence.doubleValues()[i]);
  } else {
    for (CORBA::ULong i = 0; i < sequence.floatValues().length(); ++i) values.push_back(sequence.floatValues()[i]);
  }
  return values;
}

class PathTest : public ::testing::Test {
protected:
  PathTest()
      : client(sharedService()),
        units(client.manager->getUnitService()),
        systems(client.manager->getCoordinateService()) {
    project = client.newProject("paths");
    well = client.newWell(project.in(), "path owner");
    bore = client.newWellBore(well.in(), "P-1");
  }

  EpiTypes::DataQuantities quantities(const std::vector<double>& values, const char* unit) {
    EpiTypes::DataQuantities q;
    EpTypes::DoubleSeq sequence;
    sequence.length(static_cast<CORBA::ULong>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) sequence[static_cast<CORBA::ULong>(i)] = values[i];
    q.values.doubleValues(sequence);
    q.unit = unit ? units->getUnit(unit) : EpUnitOfMeasureService::Unit::_nil();
    return q;
  }

  EpCoordinateService::System_var system(const char* name) { return systems->getSystem(name); }

  void placeWellhead() {
    EpCoordinateService::Coordinate head;
    head.system = system(kGrid);
    head.x = kHeadEast;
    head.y = kHeadNorth;
    head.z = 0.0;
    well->setLocation(head);
  }

  std::vector<EpCoordinateService::Point> locations(const std::vector<double>& md, const char* mdUnit,
                                                    EpCoordinateService::System_ptr in) {
    EpCoordinateService::Coordinates_var at =
        bore->getLocations(quantities(md, mdUnit), in, EpiWell::WellVelocity::_nil());
    std::vector<EpCoordinateService::Point> points;
    for (CORBA::ULong i = 0; i < at->points.length(); ++i) points.push_back(at->points[i]);
    return points;
  }

  // The stored path as the columns read back in metres and seconds.
  std::vector<std::vector<double>> pathColumns() {
    EpiWell::WellBore::PathData_var data =
        bore->getPathData(EpTypes::DOUBLE_DATA, units->getUnit("m"), units->getUnit("m"), units->getUnit("s"));
    return {numbers(data->column0.values), numbers(data->column1.values), numbers(data->column2.values),
            numbers(data->column3.values), numbers(data->column4.values)};
  }

  void setStations(const std::vector<double>& md, const std::vector<double>& inc, const std::vector<double>& azi,
                   const char* mdUnit = "m", const char* angleUnit = "dega") {
    bore->setSurveyStations(quantities(md, mdUnit), quantities(inc, angleUnit), quantities(azi, angleUnit));
  }

  Client client;
  EpUnitOfMeasureService::UnitService_var units;
  EpCoordinateService::CoordinateService_var systems;
  EpSession::Project_var project;
  EpiWell::Well_var well;
  EpiWell::WellBore_var bore;
};

TEST_F(PathTest, WithoutPathDataTheHoleIsVerticalBelowItsWellhead) {
  placeWellhead();
  const auto points = locations({0.0, 250.5, 1000.0}, "m", EpCoordinateService::System::_nil());
  ASSERT_EQ(points.size(), 3u);
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(points[i].x, kHeadEast, 1e-6);
    EXPECT_NEAR(points[i].y, kHeadNorth, 1e-6);
  }
  EXPECT_DOUBLE_EQ(points[1].z, 250.5);

  EXPECT_EQ(pathColumns()[0].size(), 0u);
  EXPECT_THROW(bore->getPathLastPoint(EpCoordinateService::System::_nil()), EpTypes::InsufficientDataException);
  EpGeometry::Polyline_var polyline = bore->getDepthPath(EpCoordinateService::System::_nil());
  EXPECT_EQ(polyline->numPoints(), 1u);

  // MD = TVD; TVDSS counts from mean sea level, the datum 25 m above it.
  EpiTypes::DataQuantity elevation;
  elevation.value.floatValue(25.0f);
  elevation.unit = units->getUnit("m");
  bore->setElevation(elevation);
  EpiWell::Depths depths;
  depths.values = quantities({100.0, 300.0}, "m");
  depths.type = EpiWell::DEPTH_MD;
  EpiWell::Depths_var subsea = bore->convertDepths(depths, EpTypes::DOUBLE_DATA, units->getUnit("ft"),
                                                   EpiWell::DEPTH_TVDSS);
  EXPECT_EQ(subsea->type, EpiWell::DEPTH_TVDSS);
  EXPECT_NEAR(numbers(subsea->values.values)[1], 275.0 / kFoot, 1e-9);
}

TEST_F(PathTest, ConstantBuildRateArcIsExactAtAndBetweenStationsInTheLocalSystems) {
  // Building from vertical at 1 rad per 500 m towards azimuth 30 degrees, to
  // horizontal: TVD = R sin(s / R), horizontal displacement R (1 - cos(s / R)).
  const double radius = 500.0, azimuth = 30.0, length = radius * kPi / 2.0;
  std::vector<double> md, inc, azi;
  for (int i = 0; i <= 26; ++i) {
    md.push_back(length * i / 26.0);
    inc.push_back(md.back() / radius * 180.0 / kPi);
    azi.push_back(azimuth);
  }
  setStations(md, inc, azi);

  EpCoordinateService::System_var dxdyTvd =
      bore->createLocalDxDyTvd(units->getUnit("m"), units->getUnit("m"), units->getUnit("m"));
  EpCoordinateService::System_var dxdyMdFeet =
      bore->createLocalDxDyMd(units->getUnit("ft"), units->getUnit("ft"), units->getUnit("ft"));
  const std::vector<double> asked{0.0, 1.0, 30.2, md[3], 377.77, 500.0, 700.5, length};
  const auto inMetres = locations(asked, "m", dxdyTvd.in());
  const auto inFeet = locations(asked, "m", dxdyMdFeet.in());
  for (std::size_t i = 0; i < asked.size(); ++i) {
    SCOPED_TRACE(asked[i]);
    const double s = asked[i], h = radius * (1.0 - std::cos(s / radius));
    const double tolerance = 1e-6 * std::max(s, 1.0);
    EXPECT_NEAR(inMetres[i].x, h * std::sin(azimuth * kPi / 180.0), tolerance);
    EXPECT_NEAR(inMetres[i].y, h * std::cos(azimuth * kPi / 180.0), tolerance);
    EXPECT_NEAR(inMetres[i].z, radius * std::sin(s / radius), tolerance);
    EXPECT_NEAR(inFeet[i].x * kFoot, inMetres[i].x, tolerance);
    EXPECT_NEAR(inFeet[i].z * kFoot, s, tolerance);   // along hole
  }

  // The stations become the path data: MD, TVD, dx, dy.
  const auto columns = pathColumns();
  ASSERT_EQ(columns[0].size(), md.size());
  EXPECT_NEAR(columns[1].back(), radius, 1e-6 * radius);
  EXPECT_NEAR(columns[3].back(), radius * std::cos(azimuth * kPi / 180.0), 1e-6 * radius);
  EpCoordinateService::Coordinate_var last = bore->getPathLastPoint(dxdyTvd.in());
  EXPECT_NEAR(last->z, radius, 1e-6 * radius);
}

TEST_F(PathTest, Well10SurveyAgreesWithItsReferenceGridCoordinates) {
  const auto rows = readSurvey("well10.csv");
  ASSERT_GT(rows.size(), 100u);
  std::vector<double> md, inc, azi;
  for (const auto& row : rows) {
    md.push_back(row[0]);
    inc.push_back(row[1]);
    azi.push_back(row[2]);
  }
  placeWellhead();
  setStations(md, inc, azi, "ft", "dega");

  const auto points = locations(md, "ft", system(kGrid).in());
  ASSERT_EQ(points.size(), rows.size());
  std::vector<double> errors;
  for (std::size_t i = 0; i < rows.size(); ++i)
    errors.push_back(std::hypot(points[i].x - rows[i][6], points[i].y - rows[i][5], points[i].z - rows[i][3] * kFoot));
  const double median = percentile(errors, 0.5), p95 = percentile(errors, 0.95);
  std::cout << "well10 through " << kGrid << ": 3D error median " << median * 1000.0 << " mm, p95 "
            << p95 * 1000.0 << " mm, max " << percentile(errors, 1.0) * 1000.0 << " mm\n";
  EXPECT_LE(median, 0.005);
  EXPECT_LE(p95, 0.007);

  // The whole path as a polyline: the stations, in any system asked of it.
  EpGeometry::Polyline_var polyline = bore->getDepthPath(system(kGrid).in());
  ASSERT_EQ(polyline->numPoints(), rows.size());
  EpCoordinateService::Coordinates_var all;
  EpGeometry::PointIterator_var rest;
  polyline->getCoordinates(EpCoordinateService::System::_nil(), 10, all.out(), rest.out());
  ASSERT_EQ(all->points.length(), 10u);
  EXPECT_NEAR(all->points[9].x, points[9].x, 1e-6);
  ASSERT_FALSE(CORBA::is_nil(rest.in()));
  EpCoordinateService::PointSeq_var next;
  EXPECT_TRUE(rest->nextN(5, next.out()));
  EXPECT_NEAR(next[0].y, points[10].y, 1e-6);
  rest->destroy();
  polyline->destroy();
}

TEST_F(PathTest, PositionsInAGeographicSystemRoundTripThroughProj) {
  placeWellhead();
  setStations({0.0, 500.0, 1500.0}, {0.0, 20.0, 45.0}, {0.0, 120.0, 135.0});
  const std::vector<double> md{0.0, 250.0, 777.7, 1500.0};
  const auto grid = locations(md, "m", system(kGrid).in());
  EpCoordinateService::System_var geographic = system("EPSG:4326");
  const auto lonLat = locations(md, "m", geographic.in());

  EpCoordinateService::Coordinates back;
  back.system = geographic;
  back.points.length(static_cast<CORBA::ULong>(lonLat.size()));
  for (std::size_t i = 0; i < lonLat.size(); ++i) back.points[static_cast<CORBA::ULong>(i)] = lonLat[i];
  EpCoordinateService::Coordinates_var returned = systems->transform(back, system(kGrid).in());
  // PROJ's datum shift there and back agrees to some tens of micrometres.
  for (std::size_t i = 0; i < md.size(); ++i) {
    SCOPED_TRACE(md[i]);
    EXPECT_NEAR(lonLat[i].x, 8.366, 0.01);   // longitude first, whatever the registry's axis order
    EXPECT_NEAR(returned->points[static_cast<CORBA::ULong>(i)].x, grid[i].x, 1e-4);
    EXPECT_NEAR(returned->points[static_cast<CORBA::ULong>(i)].y, grid[i].y, 1e-4);
    EXPECT_DOUBLE_EQ(lonLat[i].z, grid[i].z);
  }
  // The polyline's own transform agrees with positions asked for directly.
  EpGeometry::Polyline_var polyline = bore->getDepthPath(system(kGrid).in());
  EpCoordinateService::Coordinates_var all;
  EpGeometry::PointIterator_var rest;
  polyline->getCoordinates(geographic.in(), polyline->numPoints(), all.out(), rest.out());
  EXPECT_TRUE(CORBA::is_nil(rest.in()));
  EXPECT_NEAR(all->points[2].x, locations({1500.0}, "m", geographic.in())[0].x, 1e-9);
}

TEST_F(PathTest, AWellheadGivenInLongitudeAndLatitudeTakesTheOffsetsOnAProjectedGrid) {
  EpCoordinateService::Coordinate head;
  head.system = system("EPSG:4326");
  head.x = 8.366;
  head.y = 4.362;
  head.z = 0.0;
  well->setLocation(head);
  // 1000 m due east at 1000 m depth, as raw positions.
  EpiWell::WellBore::PathData data;
  data.column0 = quantities({0.0, 1000.0, 2000.0}, "m");
  data.column1 = quantities({0.0, 1000.0, 1000.0}, "m");
  data.column2 = quantities({0.0, 0.0, 1000.0}, "m");
  data.column3 = quantities({0.0, 0.0, 0.0}, "m");
  data.column4 = quantities({}, "s");
  bore->setPathData(data);

  // In a projected system the offsets run along its grid, scaled by its point scale factor there.
  EpCoordinateService::System_var utm = system("EPSG:32632");
  const auto grid = locations({0.0, 2000.0}, "m", utm.in());
  EXPECT_NEAR(grid[1].x - grid[0].x, 1000.0, 1.0);
  EXPECT_NE(grid[1].x - grid[0].x, 1000.0);
  EXPECT_NEAR(grid[1].y - grid[0].y, 0.0, 1e-6);
  EXPECT_DOUBLE_EQ(grid[1].z, 1000.0);

  // Asked in longitude and latitude, the wellhead's UTM zone is that grid.
  const auto lonLat = locations({2000.0}, "m", EpCoordinateService::System::_nil());
  EpCoordinateService::Coordinates fromGrid;
  fromGrid.system = utm;
  fromGrid.points.length(1);
  fromGrid.points[0] = grid[1];
  EpCoordinateService::Coordinates_var expected = systems->transform(fromGrid, system("EPSG:4326").in());
  EXPECT_NEAR(lonLat[0].x, expected->points[0].x, 1e-9);
  EXPECT_NEAR(lonLat[0].y, expected->points[0].y, 1e-9);
  EXPECT_GT(lonLat[0].x, 8.366);
}

TEST_F(PathTest, LocalSystemsCarryTheUnitsAskedForAndBelongToTheirWellbore) {
  placeWellhead();
  setStations({0.0, 1000.0}, {0.0, 30.0}, {90.0, 90.0});
  EpCoordinateService::System_var xyTvd =
      bore->createLocalXYTvd(units->getUnit("ft"), units->getUnit("ft"), units->getUnit("m"));
  EXPECT_EQ(xyTvd->epsgCode(), 0);
  EXPECT_FALSE(xyTvd->isTimeSystem());
  EXPECT_STREQ(CORBA::String_var(EpUnitOfMeasureService::Unit_var(xyTvd->horizontalUnit())->acronym()).in(), "ft");
  EXPECT_STREQ(CORBA::String_var(EpUnitOfMeasureService::Unit_var(xyTvd->verticalUnit())->acronym()).in(), "m");
  const auto local = locations({800.0}, "m", xyTvd.in());
  const auto grid = locations({800.0}, "m", system(kGrid).in());
  EXPECT_NEAR(local[0].x * kFoot, grid[0].x, 1e-6);
  EXPECT_NEAR(local[0].z, grid[0].z, 1e-9);

  // Another wellbore's local system is not a system this one answers in.
  EpiWell::WellBore_var other = client.newWellBore(well.in(), "P-2");
  EXPECT_THROW(other->getLocations(quantities({10.0}, "m"), xyTvd.in(), EpiWell::WellVelocity::_nil()),
               EpCoordinateService::NoKnownTransformException);
  // Nor is a system in time without a velocity function.
  EXPECT_THROW(bore->getTimePath(EpiWell::WellVelocity::_nil()), EpiWell::WellBore::NoDefaultWellVelocityException);
  EXPECT_THROW(bore->getLocations(quantities({10.0}, "m"), system("EPSG:26392+TWT").in(),
                                  EpiWell::WellVelocity::_nil()),
               EpiWell::WellBore::NoDefaultWellVelocityException);
}

TEST_F(PathTest, MeasuredDepthsOutsideThePathAreRefusedWithItsRange) {
  setStations({100.0, 400.0}, {0.0, 10.0}, {0.0, 0.0});
  EpCoordinateService::System_var local =
      bore->createLocalDxDyTvd(units->getUnit("m"), units->getUnit("m"), units->getUnit("m"));
  for (const double md : {99.0, 400.5}) {
    const std::string reason = reasonOf<EpTypes::InsufficientDataException>(
        [&] { bore->getLocations(quantities({200.0, md}, "m"), local.in(), EpiWell::WellVelocity::_nil()); });
    EXPECT_NE(reason.find("100"), std::string::npos) << reason;
    EXPECT_NE(reason.find("400"), std::string::npos) << reason;
  }
}

TEST_F(PathTest, PathDataIsWrittenWholeAndRefusedWritesChangeNothing) {
  // Positions given directly, in feet: read back in metres, linear between rows.
  EpiWell::WellBore::PathData data;
  data.column0 = quantities({0.0, 1000.0, 2000.0}, "ft");
  data.column1 = quantities({0.0, 1000.0, 1900.0}, "ft");
  data.column2 = quantities({0.0, 0.0, 300.0}, "ft");
  data.column3 = quantities({0.0, 0.0, -400.0}, "ft");
  data.column4 = quantities({}, "s");
  bore->setPathData(data);
  const auto written = pathColumns();
  EXPECT_NEAR(written[1][2], 1900.0 * kFoot, 1e-9);
  EXPECT_TRUE(std::isnan(written[4][0]));   // no velocity function: no times
  EpCoordinateService::System_var local =
      bore->createLocalDxDyTvd(units->getUnit("ft"), units->getUnit("ft"), units->getUnit("ft"));
  EXPECT_NEAR(locations({1500.0}, "ft", local.in())[0].y, -200.0, 1e-9);
  const std::string stamp = CORBA::String_var(bore->getLastModified("path")).in();

  using Write = std::function<void()>;
  auto withColumn = [&](int which, EpiTypes::DataQuantities column) {
    EpiWell::WellBore::PathData changed = data;
    EpiTypes::DataQuantities* columns[] = {&changed.column0, &changed.column1, &changed.column2,
                                           &changed.column3, &changed.column4};
    *columns[which] = column;
    return Write([this, changed] { bore->setPathData(changed); });
  };
  const double nan = std::nan("");
  const struct {
    const char* what;
    Write write;
    bool conversion;   // ConversionException, else InvalidNumSamplesException
  } refused[] = {
      {"a short column", withColumn(2, quantities({0.0, 1.0}, "ft")), false},
      {"times of another length", withColumn(4, quantities({0.0}, "s")), false},
      {"MD not increasing", withColumn(0, quantities({0.0, 1000.0, 1000.0}, "ft")), false},
      {"a NaN", withColumn(1, quantities({0.0, nan, 1.0}, "ft")), false},
      {"an infinite offset", withColumn(3, quantities({0.0, 0.0, INFINITY}, "ft")), false},
      {"depths in seconds", withColumn(0, quantities({0.0, 1.0, 2.0}, "s")), true},
      {"stations of different lengths", [&] { setStations({0.0, 100.0}, {0.0}, {0.0, 0.0}); }, false},
      {"no station", [&] { setStations({}, {}, {}); }, false},
      {"stations not increasing", [&] { setStations({0.0, 100.0, 50.0}, {0, 1, 2}, {0, 0, 0}); }, false},
      {"an inclination over 180 degrees", [&] { setStations({0.0, 100.0}, {0.0, 181.0}, {0, 0}); }, false},
      {"a non-finite azimuth", [&] { setStations({0.0, 100.0}, {0.0, 1.0}, {0, nan}); }, false},
      {"angles in metres", [&] { setStations({0.0, 100.0}, {0.0, 1.0}, {0, 0}, "m", "m"); }, true},
  };
  for (const auto& write : refused) {
    SCOPED_TRACE(write.what);
    if (write.conversion)
      EXPECT_THROW(write.write(), EpUnitOfMeasureService::ConversionException);
    else
      EXPECT_THROW(write.write(), EpiWell::WellBore::InvalidNumSamplesException);
    const auto after = pathColumns();
    for (int c = 0; c < 4; ++c) EXPECT_EQ(after[c], written[c]);
    EXPECT_EQ(CORBA::String_var(bore->getLastModified("path")).in(), stamp);
  }
}

TEST_F(PathTest, StorelessWellboresKeepTheirPathInMemory) {
  EpiWell::WellBore_var scratch =
      client.storelessWellBoreFactory()->createWellBore(well.in(), property("UWI", "mem"), client.session.in());
  scratch->setSurveyStations(quantities({0.0, 100.0}, "m"), quantities({0.0, 90.0}, "dega"),
                             quantities({0.0, 0.0}, "dega"));
  EpiWell::Depths depths;
  depths.values = quantities({100.0}, "m");
  depths.type = EpiWell::DEPTH_MD;
  // A quarter circle of 100 m: radius 200 / pi, reached at its full depth.
  EpiWell::Depths_var tvd = scratch->convertDepths(depths, EpTypes::DOUBLE_DATA,
                                                   EpUnitOfMeasureService::Unit::_nil(), EpiWell::DEPTH_TVD);
  EXPECT_NEAR(numbers(tvd->values.values)[0], 200.0 / kPi, 1e-9);
  EXPECT_EQ(pathColumns()[0].size(), 0u);   // the stored wellbore beside it has none
}

} // namespace
