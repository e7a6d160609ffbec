#include <string>

#include <gtest/gtest.h>

#include <EpCoordinateService.hh>

#include "PlatformService.h"
#include "kel_Coordinate.h"
#include "kel_Exception.h"

using platform_test::failureOf;
using platform_test::text;

TEST(CoordinateSystems, DefaultsComeFromTheService) {
  const kel_CoordSystem system = kel_CoordSystem::getDefaultSystem();
  ASSERT_FALSE(system.isNil());
  EXPECT_EQ("EPSG:4326", text(system.getName()));
  EXPECT_EQ(4326, system.getEpsgCode());
  EXPECT_FALSE(system.isTimeSystem());

  const kel_CoordSystem depth = kel_CoordSystem::getPreferredDepthSystem();
  EXPECT_FALSE(depth.isTimeSystem());
  EXPECT_TRUE(depth == system);

  // The preferred time system is the depth system's time twin.
  const kel_CoordSystem time = kel_CoordSystem::getPreferredTimeSystem();
  EXPECT_TRUE(time.isTimeSystem());
  EXPECT_EQ(text(depth.getName()) + "+TWT", text(time.getName()));
  EXPECT_EQ(depth.getEpsgCode(), time.getEpsgCode());
  EXPECT_FALSE(time == depth);

  auto remote = static_cast<EpCoordinateService::System_ptr>(time.getRemoteObject(kel_Internal()));
  ASSERT_NE(nullptr, remote);
  EXPECT_TRUE(remote->isTimeSystem());
}

TEST(CoordinateSystems, LookupByNameAndCopies) {
  const kel_CoordSystem utm = kel_CoordSystem::getSystem("epsg:32631");
  EXPECT_EQ("EPSG:32631", text(utm.getName()));
  EXPECT_EQ(32631, utm.getEpsgCode());
  EXPECT_TRUE(kel_CoordSystem::getSystem("EPSG:32631+TWT").isTimeSystem());

  kel_CoordSystem copy(utm);
  kel_CoordSystem assigned;
  assigned = copy;
  EXPECT_TRUE(assigned == utm);
  kel_Coordinate point(utm, 500000.0, 6500000.0, -1200.0);
  kel_Coordinate pointCopy(point);
  EXPECT_EQ("EPSG:32631", text(pointCopy.getSystem().getName()));

  const auto unknown = failureOf([] { kel_CoordSystem::getSystem("EPSG:999999"); });
  EXPECT_TRUE(unknown.isUserException());
  EXPECT_NE(std::string::npos, text(unknown.getMessage()).find("EPSG:999999")) << text(unknown.toString());
  EXPECT_NE(std::string::npos, text(unknown.getContext()).find("999999")) << text(unknown.toString());
  EXPECT_THROW(kel_CoordSystem::getSystem(""), kel_UserException);
}
