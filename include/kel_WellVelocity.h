// kel_WellVelocity: the velocity (time-depth) function of one wellbore, held
// by the well data service as samples of times, depths and velocities.
//
// Like every wrapper of this library it is a thin handle on one counted
// remote reference; nothing is cached. The service does every conversion
// (units, time and depth kinds, velocity kinds): the wrapper carries the
// lists, their units and their kinds across and reports failures. Every
// operation fails with kel_SystemException or kel_UserException.
#ifndef KEL_WELLVELOCITY_H
#define KEL_WELLVELOCITY_H

#include "kel_Array.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_Unit.h"
#include "kel_WellBore.h"
#include "kel_WellExport.h"
#include "kel_WellTypes.h"
#include "kel_cppUtil.h"

template <class W>
struct kel_WrapperCore;

class KELWELL_EXPORT kel_WellVelocity : public kel_Entity {
public:
  // Kinds of velocity; the service says what each value means.
  enum VelocityType : int { VELOCITY_TYPE_0 = 0, VELOCITY_TYPE_1 = 1, VELOCITY_TYPE_2 = 2 };
  // Kinds of the values paired with times in VelocityDataPairs, numbered on
  // from VelocityType.
  enum VelocityOtherType : int { VELOCITY_OTHER_TYPE_3 = 3, VELOCITY_OTHER_TYPE_4 = 4, VELOCITY_OTHER_TYPE_5 = 5 };

  // The samples: times, depths and three velocity lists, each with its unit.
  // Carried as they are; the service judges whether they fit together.
  struct WellVelocityData {
    kel_FloatQuantities times;
    kel_FloatQuantities depths;
    kel_FloatQuantities firstVelocities;
    kel_FloatQuantities secondVelocities;
    kel_FloatQuantities thirdVelocities;
  };
  // Velocity values and the kind of velocity they are.
  struct Velocities {
    kel_FloatQuantities values;
    VelocityType type = VELOCITY_TYPE_0;
  };
  struct TimeDepthPairs {
    kel_WellTypes::Times times;
    kel_WellTypes::Depths depths;
  };
  struct TimeVelocityPairs {
    kel_WellTypes::Times times;
    Velocities velocities;
  };
  // Times and the value paired with each, with the kinds of both.
  struct VelocityDataPairs {
    kel_FloatQuantities times;
    kel_FloatQuantities values;
    kel_WellTypes::TimeType timeType = kel_WellTypes::TIME_TYPE_0;
    VelocityOtherType valueType = VELOCITY_OTHER_TYPE_3;
  };

  // A nil velocity function.
  kel_WellVelocity();
  // Wraps the stub's reference, which must be a velocity function's.
  // kel_SystemException for a null, nil or foreign reference.
  explicit kel_WellVelocity(const kel_RemoteStub& stub, bool duplicate = true);
  kel_WellVelocity(const kel_WellVelocity& other, bool duplicate = true);
  ~kel_WellVelocity() override;

  kel_WellVelocity& operator=(const kel_WellVelocity& other);
  // Identity is the identifier alone.
  bool operator==(const kel_WellVelocity& other) const;
  bool operator<(const kel_WellVelocity& other) const;

  static kel_WellVelocity narrow(const kel_Entity& entity, bool mustMatch = true);
  static kel_Array<kel_WellVelocity> narrow(const kel_Array<kel_Entity>& entities, bool mustMatch = true);
  static kel_WellVelocity getFromString(const kel_WellString& text);
  // All velocity functions of the project.
  static kel_Array<kel_WellVelocity> getWellVelocitiesInProject(const kel_Project& project);

  // "EpiWell_WellVelocity".
  static kel_WellString getEntityType();
  static kel_WellString getRepositoryId();

  // A new velocity function of the wellbore, kept in the wellbore's data
  // store. name and dataSource reach the service unchanged; datum is the
  // reference elevation of the depths.
  static kel_WellVelocity createNewWellVelocity(const kel_WellBore& bore, const kel_WellString& name,
                                                const kel_WellString& dataSource, const kel_FloatQuantity& datum,
                                                const WellVelocityData& data, const kel_Session& session);
  // The same, held by the service in memory only.
  static kel_WellVelocity createStorelessWellVelocity(const kel_WellBore& bore, const kel_WellString& name,
                                                      const kel_WellString& dataSource,
                                                      const kel_FloatQuantity& datum, const WellVelocityData& data,
                                                      const kel_Session& session);

  // Whether the function comes from a checkshot survey.
  bool getCheckshot() const;
  void setCheckshot(bool checkshot);
  kel_WellString getComment() const;
  void setComment(const kel_WellString& comment);
  kel_WellString getDataSource() const;
  void setDataSource(const kel_WellString& dataSource);
  long getNumSamples() const;
  kel_WellString getWellVelocityName() const;
  void setWellVelocityName(const kel_WellString& name);
  // When the part named by selector last changed; the service defines the
  // selectors and refuses others (kel_UserException).
  kel_Date getLastModified(const kel_WellString& selector) const;

  // The reference elevation of the depth values, in unit (unchanged when
  // unit is nil or already its own) or in the default depth unit.
  kel_FloatQuantity getDatum(const kel_Unit& unit) const;
  kel_FloatQuantity getDatum() const;
  void setDatum(const kel_FloatQuantity& datum);
  // The interval velocities that extend the function below its deepest and
  // above its shallowest sample, converted by the service into unit (a nil
  // unit is passed on as it is) or into the default velocity unit.
  kel_FloatQuantity getExtendViDeep(const kel_Unit& unit) const;
  kel_FloatQuantity getExtendViDeep() const;
  void setExtendViDeep(const kel_FloatQuantity& velocity);
  kel_FloatQuantity getExtendViShallow(const kel_Unit& unit) const;
  kel_FloatQuantity getExtendViShallow() const;
  void setExtendViShallow(const kel_FloatQuantity& velocity);

  // The wellbore the function belongs to; a nil wellbore when it has none.
  kel_WellBore getBore() const;

  // The samples in the units given (each nil unit passed on as it is), or in
  // the default time, depth and velocity units. Every list carries the unit
  // and every result the kind the service reports.
  WellVelocityData getVelocityData(const kel_Unit& timeUnit, const kel_Unit& depthUnit,
                                   const kel_Unit& velocityUnit) const;
  WellVelocityData getVelocityData() const;
  TimeDepthPairs getTimeDepths(const kel_Unit& timeUnit, const kel_Unit& depthUnit, kel_WellTypes::TimeType timeType,
                               kel_WellTypes::DepthType depthType) const;
  TimeDepthPairs getTimeDepths(kel_WellTypes::TimeType timeType, kel_WellTypes::DepthType depthType) const;
  TimeVelocityPairs getTimeVelocities(const kel_Unit& timeUnit, const kel_Unit& velocityUnit,
                                      kel_WellTypes::TimeType timeType, VelocityType velocityType) const;
  TimeVelocityPairs getTimeVelocities(kel_WellTypes::TimeType timeType, VelocityType velocityType) const;
  // The p-wave anisotropy factors.
  kel_Array<float> getAnisotropy() const;

  // Conversions through the function, done by the service.
  kel_WellTypes::Times convertDepthsToTimes(const kel_WellTypes::Depths& depths, const kel_Unit& timeUnit,
                                            kel_WellTypes::TimeType timeType) const;
  kel_WellTypes::Times convertDepthsToTimes(const kel_WellTypes::Depths& depths,
                                            kel_WellTypes::TimeType timeType) const;
  kel_WellTypes::Depths convertTimesToDepths(const kel_WellTypes::Times& times, const kel_Unit& depthUnit,
                                             kel_WellTypes::DepthType depthType) const;
  kel_WellTypes::Depths convertTimesToDepths(const kel_WellTypes::Times& times,
                                             kel_WellTypes::DepthType depthType) const;
  Velocities convertTimesToVelocities(const kel_WellTypes::Times& times, const kel_Unit& velocityUnit,
                                      VelocityType velocityType) const;
  Velocities convertTimesToVelocities(const kel_WellTypes::Times& times, VelocityType velocityType) const;

  // Writes. The service checks lengths, order and pairing and refuses what
  // does not fit, changing nothing.
  void setVelocityData(const WellVelocityData& data);
  // Replaces every sample.
  void setWellVelocityPairs(const VelocityDataPairs& pairs);
  void updateWellVelocityPairs(const VelocityDataPairs& pairs);
  void insertWellVelocityPairs(const VelocityDataPairs& pairs, const kel_Array<float>& values);
  // Removes the samples at the given times.
  void deleteTimes(const kel_WellTypes::Times& times);
  void setAnisotropy(long position, kel_Array<float>& factors);

protected:
  void assignment(const kel_WellVelocity& other, bool duplicate);
  void* getBaseObject() const override;
  kel_cppUtil::String getClassName() const override;

public:
  // The last of the virtual operations: the only one a wrapper class adds.
  virtual kel_Project getProject() const;

private:
  friend struct kel_WrapperCore<kel_WellVelocity>;
};

extern template class KELWELL_EXPORT kel_Array<kel_WellVelocity>;

#endif
