#ifndef KEL_COORDINATE_H
#define KEL_COORDINATE_H

#include "kel_Array.h"
#include "kel_RemoteObject.h"
#include "kel_cppUtil.h"

// A coordinate system of the service (EpCoordinateService::System): an EPSG
// system in the depth domain, its time-domain twin, or a wellbore-local system.
class kel_CoordSystem : public kel_RemoteObject {
public:
  kel_CoordSystem();                                        // nil
  kel_CoordSystem(const kel_RemoteStub& stub, bool duplicate = true);
  kel_CoordSystem(const kel_CoordSystem& other, bool duplicate = true);
  kel_CoordSystem& operator=(const kel_CoordSystem& other);
  ~kel_CoordSystem() override;

  // The service's defaults; nil systems when the service has none.
  static kel_CoordSystem getDefaultSystem();
  static kel_CoordSystem getPreferredDepthSystem();
  static kel_CoordSystem getPreferredTimeSystem();
  // "EPSG:<code>" or "EPSG:<code>+TWT"; kel_UserException for an unknown one.
  static kel_CoordSystem getSystem(const char* name);

  bool isTimeSystem() const;                 // false when nil
  kel_cppUtil::String getName() const;       // "" when nil
  long getEpsgCode() const;                  // 0 for local and nil systems

  bool operator==(const kel_CoordSystem& other) const;   // same name
};

// x, y, z of one point, in the system of whatever holds it.
class kel_CoordPoint {
public:
  kel_CoordPoint();
  kel_CoordPoint(double x, double y, double z);
  double getX() const;
  double getY() const;
  double getZ() const;
  bool operator==(const kel_CoordPoint& other) const;

private:
  double m_x;
  double m_y;
  double m_z;
};

// A point with its coordinate system.
class kel_Coordinate {
public:
  kel_Coordinate();
  kel_Coordinate(const kel_CoordSystem& system, double x, double y, double z);
  kel_Coordinate(const kel_Coordinate& other);
  kel_Coordinate& operator=(const kel_Coordinate& other);
  ~kel_Coordinate();

  const kel_CoordSystem& getSystem() const;
  double getX() const;
  double getY() const;
  double getZ() const;

private:
  kel_CoordSystem m_system;
  double m_x;
  double m_y;
  double m_z;
};

// Points sharing one coordinate system.
class kel_CoordinateArray {
public:
  kel_CoordinateArray();
  kel_CoordinateArray(const kel_CoordSystem& system, const kel_Array<kel_CoordPoint>& points);
  kel_CoordinateArray(const kel_CoordinateArray& other);
  kel_CoordinateArray& operator=(const kel_CoordinateArray& other);
  ~kel_CoordinateArray();

  const kel_CoordSystem& getSystem() const;
  const kel_Array<kel_CoordPoint>& getPoints() const;

private:
  kel_CoordSystem m_system;
  kel_Array<kel_CoordPoint> m_points;
};

#endif
