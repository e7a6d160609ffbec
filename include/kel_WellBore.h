// kel_WellBore: one drilled path of a well, held by the well data service.
//
// Like every wrapper of this library it is a thin handle on one counted
// remote reference; nothing is cached. Every operation fails with
// kel_SystemException or kel_UserException.
#ifndef KEL_WELLBORE_H
#define KEL_WELLBORE_H

#include "kel_Array.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_StringPair.h"
#include "kel_Unit.h"
#include "kel_Well.h"
#include "kel_WellExport.h"
#include "kel_WellTypes.h"
#include "kel_cppUtil.h"

template <class W>
struct kel_WrapperCore;

class kel_WellLogTrace;
class kel_WellPick;
class kel_WellVelocity;

class KELWELL_EXPORT kel_WellBore : public kel_Entity {
public:
  // The datum the wellbore's depths refer to; the service says what each
  // value means.
  enum WellDepthDatum : int {
    WELL_DEPTH_DATUM_0 = 0,
    WELL_DEPTH_DATUM_1 = 1,
    WELL_DEPTH_DATUM_2 = 2,
    WELL_DEPTH_DATUM_3 = 3,
    WELL_DEPTH_DATUM_4 = 4,
    WELL_DEPTH_DATUM_5 = 5,
    WELL_DEPTH_DATUM_6 = 6
  };
  // The method that computed the path geometry. The service's method 2 has
  // no counterpart here: reading it fails.
  enum CalculationMethod : int {
    CALCULATION_METHOD_0 = 0,
    CALCULATION_METHOD_1 = 1,
    CALCULATION_METHOD_3 = 3,
    CALCULATION_METHOD_4 = 4,
    CALCULATION_METHOD_5 = 5
  };
  // The kind of bottom hole the total depth refers to.
  enum TotalDepthReference : int {
    TOTAL_DEPTH_REFERENCE_0 = 0,
    TOTAL_DEPTH_REFERENCE_1 = 1,
    TOTAL_DEPTH_REFERENCE_2 = 2,
    TOTAL_DEPTH_REFERENCE_3 = 3
  };

  // The coordinate system a path request is answered in: the platform's
  // preferred depth or time system, or one of the wellbore's local systems.
  enum PathType : int {
    PREFERRED_DEPTH = 0,
    PREFERRED_TIME = 1,
    LOCAL_XY_TVD = 2,
    LOCAL_DXDY_MD = 3,
    LOCAL_DXDY_TVD = 4
  };
  // The raw path samples, five columns each with its own unit; the service
  // says what each column holds.
  struct PathData {
    kel_FloatQuantities column0;
    kel_FloatQuantities column1;
    kel_FloatQuantities column2;
    kel_FloatQuantities column3;
    kel_FloatQuantities column4;
  };

  // A nil wellbore.
  kel_WellBore();
  // Wraps the stub's reference, which must be a wellbore's.
  // kel_SystemException for a null, nil or foreign reference.
  explicit kel_WellBore(const kel_RemoteStub& stub, bool duplicate = true);
  kel_WellBore(const kel_WellBore& other, bool duplicate = true);
  ~kel_WellBore() override;

  kel_WellBore& operator=(const kel_WellBore& other);
  // Identity is the identifier alone.
  bool operator==(const kel_WellBore& other) const;
  bool operator<(const kel_WellBore& other) const;

  static kel_WellBore narrow(const kel_Entity& entity, bool mustMatch = true);
  static kel_Array<kel_WellBore> narrow(const kel_Array<kel_Entity>& entities, bool mustMatch = true);
  static kel_WellBore getFromString(const kel_WellString& text);
  // All wellbores of the project.
  static kel_Array<kel_WellBore> getWellBoresInProject(const kel_Project& project);
#if !KELWELL_EARLIER_INTERFACE
  // The wellbores of the well, in the order they were created.
  static kel_Array<kel_WellBore> getWellBoresOfWell(const kel_Well& well);
#endif

  // "EpiWell_WellBore".
  static kel_WellString getEntityType();
  static kel_WellString getRepositoryId();


  // A new wellbore of the well, kept in the well's data store.
  static kel_WellBore createNewWellBore(const kel_Well& well, const kel_StringPair& identifier,
                                        const kel_Session& session);
  // A new wellbore of the well, held by the service in memory only.
  static kel_WellBore createStorelessWellBore(const kel_Well& well, const kel_StringPair& identifier,
                                              const kel_Session& session);

  // Codes of the reference value lists below; not checked on this side.
  kel_WellString getBoreStatus() const;
  void setBoreStatus(const kel_WellString& boreStatus);
  kel_WellString getFlowDirection() const;
  void setFlowDirection(const kel_WellString& flowDirection);
  kel_WellString getFluidType() const;
  void setFluidType(const kel_WellString& fluidType);
  kel_WellString getShowType() const;
  void setShowType(const kel_WellString& showType);

  // The valid codes, as the reference value service lists them.
  static kel_Array<kel_WellString> getValidFlowDirections();
  static kel_Array<kel_WellString> getValidBoreStatuses();
  static kel_Array<kel_WellString> getValidFluidTypes();
  // The same list as getValidFluidTypes.
  static kel_Array<kel_WellString> getValidShowTypes();

  TotalDepthReference getTotalDepthType() const;
  void setTotalDepthType(TotalDepthReference totalDepthType);
  CalculationMethod getCalcMethod() const;
  // The method the path is computed with from survey stations; changing it recomputes the path.
  void setCalcMethod(CalculationMethod calcMethod);
  WellDepthDatum getElevationDatum() const;
  void setElevationDatum(WellDepthDatum elevationDatum);

  // Depths in unit (unchanged when stored without a unit or unit is nil),
  // or in the default depth unit.
  kel_FloatQuantity getTotalDepth(const kel_Unit& unit) const;
  kel_FloatQuantity getTotalDepth() const;
  void setTotalDepth(const kel_FloatQuantity& totalDepth);
  kel_FloatQuantity getPlugBackTotalDepth(const kel_Unit& unit) const;
  kel_FloatQuantity getPlugBackTotalDepth() const;
  void setPlugBackTotalDepth(const kel_FloatQuantity& plugBackTotalDepth);
  // The depth datum's height above the regional vertical datum.
  kel_FloatQuantity getElevation(const kel_Unit& unit) const;
  kel_FloatQuantity getElevation() const;
  void setElevation(const kel_FloatQuantity& elevation);

  // The null date when unknown; setting the null date clears it.
  kel_Date getCompletionDate() const;
  void setCompletionDate(const kel_Date& completionDate);
  // When the part of the wellbore named by selector last changed; the
  // service defines the selectors and refuses others (kel_UserException).
  kel_Date getLastModified(kel_WellString selector) const;

  kel_StringPair getIdentifier() const;
  // The well this wellbore belongs to.
  kel_Well getWell() const;

  // Alternative identifiers, in the order they were written.
  kel_Array<kel_StringPair> getBoreAliases() const;
  void setBoreAliases(const kel_Array<kel_StringPair>& aliases);

  // The whole path in a coordinate system. A time system (or a velocity
  // function) gives the path in time: through the velocity function given,
  // or the wellbore's default one when it holds none.
  kel_CoordinateArray getPath(const kel_CoordSystem& coordSystem) const;
  kel_CoordinateArray getPath(const kel_WellVelocity& velocity, const kel_CoordSystem& coordSystem) const;
  kel_CoordinateArray getPath(PathType pathType) const;
  kel_CoordinateArray getPath(const kel_WellVelocity& velocity) const;
  kel_Coordinate getPathLastPoint(const kel_CoordSystem& coordSystem) const;
  kel_Coordinate getPathLastPoint(PathType pathType) const;
  // The points of the path at the measured depths md.
  kel_CoordinateArray getLocation(const kel_FloatQuantities& md, const kel_CoordSystem& coordSystem) const;
  kel_CoordinateArray getLocation(const kel_FloatQuantities& md, const kel_WellVelocity& velocity,
                                  const kel_CoordSystem& coordSystem) const;
  kel_CoordinateArray getLocation(const kel_FloatQuantities& md, PathType pathType) const;
  kel_CoordinateArray getLocation(const kel_FloatQuantities& md, const kel_WellVelocity& velocity) const;

  // The raw path samples, in the units given or the default distance, depth
  // and time units.
  PathData getBoreData(const kel_Unit& distanceUnit, const kel_Unit& depthUnit, const kel_Unit& timeUnit) const;
  PathData getBoreData() const;
  // Replaces the raw path samples as a whole; the service judges them.
  void setBoreData(const PathData& data);
  // Replaces the path with one computed from directional survey stations:
  // measured depths (a depth unit), inclinations from vertical and azimuths
  // clockwise from grid north (angle units), one value per station, measured
  // depths strictly increasing. The wellbore's calculation method computes
  // the positions; the service refuses stations it cannot use and then
  // changes nothing.
  void setSurveyStations(const kel_FloatQuantities& md, const kel_FloatQuantities& inclination,
                         const kel_FloatQuantities& azimuth);

  // depths as another kind of depth, in unit or the default depth unit.
  kel_WellTypes::Depths convertDepths(const kel_WellTypes::Depths& depths, const kel_Unit& unit,
                                      const kel_WellTypes::DepthType& type) const;
  kel_WellTypes::Depths convertDepths(const kel_WellTypes::Depths& depths,
                                      const kel_WellTypes::DepthType& type) const;

  // What hangs below the wellbore (include kel_WellVelocity.h,
  // kel_WellPick.h and kel_WellLogTrace.h to call these). A nil wrapper when there is no default
  // velocity function; setting a nil wrapper clears it. The arrays are in the
  // service's order and built completely or not at all.
  kel_WellVelocity getDefaultWellVelocity() const;
  void setDefaultWellVelocity(const kel_WellVelocity& velocity);
  kel_Array<kel_WellLogTrace> getLogTraces() const;
  kel_Array<kel_WellPick> getPicks() const;
  kel_Array<kel_WellVelocity> getWellVelocities() const;

protected:
  void assignment(const kel_WellBore& other, bool duplicate);
  void* getBaseObject() const override;
  kel_cppUtil::String getClassName() const override;

public:
  // The last of the virtual operations: the only one a wrapper class adds.
  virtual kel_Project getProject() const;

private:
  friend struct kel_WrapperCore<kel_WellBore>;
  static kel_Array<kel_WellString> getFromRVS(const kel_WellString& setName);

  // The wellbore's local systems, horizontal axes in the default distance
  // unit and the third in the default depth unit; nil when the service
  // gives none.
  kel_CoordSystem createLocalXYTvd() const;
  kel_CoordSystem createLocalDxDyMd() const;
  kel_CoordSystem createLocalDxDyTvd() const;
  // The system a PathType stands for.
  kel_CoordSystem systemOf(PathType pathType) const;
};

extern template class KELWELL_EXPORT kel_Array<kel_WellBore>;

#endif
