#include <cmath>
#include <limits>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CoordinateSystems.h"

using kelwelld::CoordinateSystems;
using kelwelld::LocalSystem;
using kelwelld::Point;
using kelwelld::SystemInfo;
using testing::HasSubstr;

namespace {

// The reason of the BadArgumentsException that lookup raises; "" when none.
std::string lookupRefusal(const CoordinateSystems& systems, const std::string& name) {
  try {
    systems.lookup(name);
  } catch (const EpTypes::BadArgumentsException& error) {
    return error.reason.in();
  }
  return "";
}

std::string transformRefusal(const CoordinateSystems& systems, const std::string& from, const std::string& to,
                             std::vector<Point>& points) {
  try {
    systems.transform(from, to, points);
  } catch (const EpCoordinateService::NoKnownTransformException& error) {
    return error.reason.in();
  }
  return "";
}

} // namespace

TEST(CoordinateSystems, KnowsEpsgSystemsWithTheirUnits) {
  CoordinateSystems systems;
  const SystemInfo wgs84 = systems.lookup("EPSG:4326");
  EXPECT_EQ(wgs84.name, "EPSG:4326");
  EXPECT_EQ(wgs84.epsgCode, 4326);
  EXPECT_FALSE(wgs84.isTimeSystem);
  EXPECT_EQ(wgs84.horizontalUnit, "dega");
  EXPECT_EQ(wgs84.verticalUnit, "m");
  EXPECT_EQ(wgs84.description, "WGS 84");

  const SystemInfo utm = systems.lookup("epsg:32631");   // spelt in lower case: canonical name back
  EXPECT_EQ(utm.name, "EPSG:32631");
  EXPECT_EQ(utm.horizontalUnit, "m");
  EXPECT_EQ(utm.verticalUnit, "m");

  const SystemInfo texas = systems.lookup("EPSG:2277");   // NAD83 / Texas North Central (ftUS)
  EXPECT_EQ(texas.horizontalUnit, "ftUS");
  EXPECT_EQ(texas.verticalUnit, "ftUS");

  const SystemInfo compound = systems.lookup("EPSG:5972");   // ETRS89 / UTM 32N + NN2000 height
  EXPECT_EQ(compound.horizontalUnit, "m");
  EXPECT_EQ(compound.verticalUnit, "m");
}

TEST(CoordinateSystems, TimeTwinSharesTheHorizontalSystem) {
  CoordinateSystems systems;
  const SystemInfo twin = systems.lookup("EPSG:32631+twt");
  EXPECT_EQ(twin.name, "EPSG:32631+TWT");
  EXPECT_EQ(twin.epsgCode, 32631);
  EXPECT_TRUE(twin.isTimeSystem);
  EXPECT_EQ(twin.horizontalUnit, "m");
  EXPECT_EQ(twin.verticalUnit, "ms");
}

TEST(CoordinateSystems, RefusesUnknownAndMalformedNamesByName) {
  CoordinateSystems systems;
  EXPECT_EQ(lookupRefusal(systems, "EPSG:999999"),
            "Unknown coordinate system 'EPSG:999999': the EPSG registry has no coordinate reference system with "
            "code 999999. ");
  EXPECT_THAT(lookupRefusal(systems, "EPSG:9001"), HasSubstr("'EPSG:9001'"));   // a unit, not a system
  EXPECT_THAT(lookupRefusal(systems, "EPSG:4978"), HasSubstr("is not a horizontal system"));   // geocentric
  EXPECT_THAT(lookupRefusal(systems, "EPSG:5714"), HasSubstr("is not a horizontal system"));   // vertical only
  for (const char* name : {"EPSG:", "EPSG:abc", "EPSG:-4326", "EPSG:+4326", "EPSG:4326x", "EPSG:43 26",
                           "EPSG:12345678901234567890", "EPSG:0"}) {
    EXPECT_THAT(lookupRefusal(systems, name), HasSubstr("is not an EPSG code")) << name;
  }
  EXPECT_THAT(lookupRefusal(systems, "WGS84"), HasSubstr("Unknown coordinate system 'WGS84'. Coordinate systems"));
  EXPECT_THAT(lookupRefusal(systems, ""), HasSubstr("Unknown coordinate system ''"));
  EXPECT_EQ(lookupRefusal(systems, "LOCAL:XY_TVD:nowhere"),
            "Unknown coordinate system 'LOCAL:XY_TVD:nowhere': no such local system is registered. ");
  EXPECT_TRUE(systems.isKnown("EPSG:23031"));
  EXPECT_FALSE(systems.isKnown("EPSG:999999"));
}

TEST(CoordinateSystems, TransformsLongitudeLatitudeToUtmAndBack) {
  CoordinateSystems systems;
  // Expected values from an independent Transverse Mercator computation
  // (Krueger series, WGS 84, zone 31N: central meridian 3 E, k0 0.9996).
  std::vector<Point> points{{3.0, 0.0, 10.0}, {3.0, 45.0, -20.0}, {2.3522, 48.8566, 1500.5}, {5.0, 60.0, 0.0}};
  systems.transform("EPSG:4326", "EPSG:32631", points);
  EXPECT_NEAR(points[0].x, 500000.0, 1e-3);
  EXPECT_NEAR(points[0].y, 0.0, 1e-3);
  EXPECT_NEAR(points[1].x, 500000.0, 1e-3);
  EXPECT_NEAR(points[1].y, 4982950.4002, 1e-3);
  EXPECT_NEAR(points[2].x, 452482.5327, 1e-3);
  EXPECT_NEAR(points[2].y, 5411717.1769, 1e-3);
  EXPECT_NEAR(points[3].x, 611544.0420, 1e-3);
  EXPECT_NEAR(points[3].y, 6653097.4353, 1e-3);
  // z is carried unchanged.
  EXPECT_EQ(points[0].z, 10.0);
  EXPECT_EQ(points[1].z, -20.0);
  EXPECT_EQ(points[2].z, 1500.5);

  systems.transform("EPSG:32631", "EPSG:4326", points);
  EXPECT_NEAR(points[2].x, 2.3522, 1e-9);
  EXPECT_NEAR(points[2].y, 48.8566, 1e-9);
  EXPECT_EQ(points[2].z, 1500.5);

  // The time twins transform horizontally as their depth systems do.
  std::vector<Point> times{{3.0, 45.0, 1234.0}};
  systems.transform("EPSG:4326+TWT", "EPSG:32631+TWT", times);
  EXPECT_NEAR(times[0].y, 4982950.4002, 1e-3);
  EXPECT_EQ(times[0].z, 1234.0);
}

TEST(CoordinateSystems, SameSystemLeavesPointsAlone) {
  CoordinateSystems systems;
  std::vector<Point> points{{1.0, 2.0, 3.0}};
  systems.transform("EPSG:32631", "epsg:32631", points);
  systems.transform("EPSG:32631+TWT", "EPSG:32631+TWT", points);
  EXPECT_EQ(points[0].x, 1.0);
  EXPECT_EQ(points[0].y, 2.0);
  EXPECT_EQ(points[0].z, 3.0);
}

TEST(CoordinateSystems, NoTransformBetweenTimeAndDepthOrLocalSystems) {
  CoordinateSystems systems;
  systems.registerLocal("LOCAL:XY_TVD:bore-1", LocalSystem{"ft", "ft", false, "bore-1 x, y, tvd"});
  std::vector<Point> points{{3.0, 45.0, 100.0}};
  const std::vector<Point> before = points;

  EXPECT_EQ(transformRefusal(systems, "EPSG:32631+TWT", "EPSG:32631", points),
            "No transform is known from 'EPSG:32631+TWT' to 'EPSG:32631': one is in two-way time and the other "
            "in depth; converting between them needs a velocity function. ");
  EXPECT_THAT(transformRefusal(systems, "EPSG:4326", "EPSG:32631+TWT", points), HasSubstr("two-way time"));
  EXPECT_THAT(transformRefusal(systems, "LOCAL:XY_TVD:bore-1", "EPSG:4326", points),
              HasSubstr("a system local to a wellbore has no transform"));
  EXPECT_THAT(transformRefusal(systems, "EPSG:4326", "LOCAL:XY_TVD:bore-1", points),
              HasSubstr("a system local to a wellbore has no transform"));
  EXPECT_EQ(transformRefusal(systems, "EPSG:4326", "EPSG:999999", points),
            "Unknown coordinate system 'EPSG:999999': the EPSG registry has no coordinate reference system with "
            "code 999999. ");
  EXPECT_EQ(points[0].x, before[0].x);
  EXPECT_EQ(points[0].y, before[0].y);
  // A local system to itself is no transform at all.
  systems.transform("LOCAL:XY_TVD:bore-1", "LOCAL:XY_TVD:bore-1", points);
}

TEST(CoordinateSystems, APointProjCannotTransformLeavesAllPointsUnchanged) {
  CoordinateSystems systems;
  std::vector<Point> points{{3.0, 45.0, 0.0}, {std::numeric_limits<double>::quiet_NaN(), 45.0, 0.0}};
  EXPECT_THAT(transformRefusal(systems, "EPSG:4326", "EPSG:32631", points),
              HasSubstr("PROJ cannot transform point 1 "));
  EXPECT_EQ(points[0].x, 3.0);
  EXPECT_EQ(points[0].y, 45.0);
}

TEST(CoordinateSystems, LocalSystemsAreRegisteredOnceWithTheirUnits) {
  CoordinateSystems systems;
  systems.registerLocal("LOCAL:DX_DY_MD:bore-1", LocalSystem{"FEET", "m", false, ""});
  systems.registerLocal("LOCAL:DX_DY_MD:bore-1", LocalSystem{"ft", "M", false, ""});   // same units again
  const SystemInfo local = systems.lookup("LOCAL:DX_DY_MD:bore-1");
  EXPECT_EQ(local.epsgCode, 0);
  EXPECT_EQ(local.horizontalUnit, "ft");
  EXPECT_EQ(local.verticalUnit, "m");

  const auto refusal = [&](const std::string& name, const LocalSystem& system) -> std::string {
    try {
      systems.registerLocal(name, system);
    } catch (const EpTypes::BadArgumentsException& error) {
      return error.reason.in();
    }
    return "";
  };
  EXPECT_THAT(refusal("LOCAL:DX_DY_MD:bore-1", {"m", "m", false, ""}), HasSubstr("already registered with other units"));
  EXPECT_THAT(refusal("EPSG:4326", {"m", "m", false, ""}), HasSubstr("must start with \"LOCAL:\""));
  EXPECT_THAT(refusal("LOCAL:", {"m", "m", false, ""}), HasSubstr("must start with \"LOCAL:\""));
  EXPECT_THAT(refusal("LOCAL:a", {"xyz", "m", false, ""}), HasSubstr("horizontal unit 'xyz' is not a unit of length"));
  EXPECT_THAT(refusal("LOCAL:a", {"m", "ms", false, ""}), HasSubstr("vertical unit 'ms' is not a unit of length"));
  EXPECT_EQ(refusal("LOCAL:t", {"m", "ms", true, ""}), "");
  EXPECT_TRUE(systems.lookup("LOCAL:t").isTimeSystem);
}

TEST(CoordinateSystems, AskTheResolverForLocalSystemsNotRegistered) {
  CoordinateSystems systems;
  int asked = 0;
  systems.setLocalResolver([&](const std::string& name) -> std::optional<LocalSystem> {
    ++asked;
    if (name == "LOCAL:XY_TVD:stored") {
      return LocalSystem{"m", "m", false, "from the store"};
    }
    return std::nullopt;
  });
  EXPECT_EQ(systems.lookup("LOCAL:XY_TVD:stored").description, "from the store");
  EXPECT_EQ(systems.lookup("LOCAL:XY_TVD:stored").description, "from the store");
  EXPECT_EQ(asked, 1);   // registered by the first lookup
  EXPECT_FALSE(systems.isKnown("LOCAL:XY_TVD:gone"));
}

TEST(CoordinateSystems, TransformsFromSeveralThreadsAgree) {
  CoordinateSystems systems;
  std::vector<std::thread> threads;
  std::vector<double> northings(4);
  for (std::size_t t = 0; t < northings.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        std::vector<Point> points{{3.0, 45.0, 0.0}};
        if (t % 2 == 0) {
          systems.transform("EPSG:4326", "EPSG:32631", points);
        } else {
          systems.transform("EPSG:4326+TWT", "EPSG:32631+TWT", points);
        }
        northings[t] = points[0].y;
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  for (double northing : northings) {
    EXPECT_NEAR(northing, 4982950.4002, 1e-3);
  }
}
