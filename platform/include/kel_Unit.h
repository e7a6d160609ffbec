#ifndef KEL_UNIT_H
#define KEL_UNIT_H

#include "kel_RemoteObject.h"
#include "kel_cppUtil.h"

class kel_FloatQuantity;

// A unit of measure of the service's catalogue (EpUnitOfMeasureService::Unit).
// Conversions are computed here from the catalogue's definitions: exact
// published factors, value_in_base = value * factor + offset.
class kel_Unit : public kel_RemoteObject {
public:
  // Acronym of the unit of dimensionless values.
  static const char* const unitless;

  kel_Unit();                                               // nil: no unit
  kel_Unit(const kel_RemoteStub& stub, bool duplicate = true);
  kel_Unit(const kel_Unit& other, bool duplicate = true);
  kel_Unit& operator=(const kel_Unit& other);
  ~kel_Unit() override;

  // The unit with this acronym or alias ("ft", "FEET", "m", ...).
  // kel_UserException naming the acronym when the catalogue has no such unit.
  static kel_Unit getUnit(const char* acronym);

  kel_cppUtil::String getAcronym() const;   // canonical acronym; "" when nil
  kel_cppUtil::String getName() const;      // "" when nil
  kel_cppUtil::String getQuantity() const;  // quantity class, "length", "time", ...; "" when nil

  // quantity expressed in this unit. A quantity without a unit, or this unit
  // nil, gives the quantity back unchanged; units of different quantity
  // classes give kel_UserException.
  kel_FloatQuantity transform(const kel_FloatQuantity& quantity) const;
  // value, given in this unit, expressed in target (same rules).
  double convert(double value, const kel_Unit& target) const;

  bool operator==(const kel_Unit& other) const;   // same canonical acronym
  bool operator!=(const kel_Unit& other) const;

private:
  friend class kel_UnitAccess;
  kel_cppUtil::String m_acronym;   // cached from the catalogue: a unit never changes
  kel_cppUtil::String m_name;
  kel_cppUtil::String m_quantity;
  double m_factor;
  double m_offset;
};

// One default unit per kind of measure, in a fixed order.
class kel_UnitMeasureSet {
public:
  // The service's default unit system (metric unless configured otherwise).
  static kel_UnitMeasureSet getDefaultUnits();
  // A named unit system: "metric" or "field".
  static kel_UnitMeasureSet getUnits(const char* unitSystem);

  // Members in this order; the library reads angle (1st), distance (2nd),
  // time (6th), depth (9th) and velocity (13th).
  kel_Unit angleUnit;
  kel_Unit distanceUnit;
  kel_Unit areaUnit;
  kel_Unit volumeUnit;
  kel_Unit massUnit;
  kel_Unit timeUnit;
  kel_Unit temperatureUnit;
  kel_Unit pressureUnit;
  kel_Unit depthUnit;
  kel_Unit densityUnit;
  kel_Unit flowRateUnit;
  kel_Unit slownessUnit;
  kel_Unit velocityUnit;

  static unsigned size();
  // Member by position, 0 = angle ... 12 = velocity.
  const kel_Unit& operator[](unsigned position) const;
};

#endif
