#ifndef KEL_FLOATQUANTITY_H
#define KEL_FLOATQUANTITY_H

#include "kel_Array.h"
#include "kel_Unit.h"

// A unit and one float.
class kel_FloatQuantity {
public:
  kel_FloatQuantity();                                   // nil unit, 0
  kel_FloatQuantity(const kel_Unit& unit, float value);
  kel_FloatQuantity(const kel_FloatQuantity& other);
  kel_FloatQuantity& operator=(const kel_FloatQuantity& other);
  ~kel_FloatQuantity();

  const kel_Unit& getUnit() const;
  float getValue() const;
  void setUnit(const kel_Unit& unit);
  void setValue(float value);

private:
  kel_Unit m_unit;
  float m_value;
};

// A unit and an array of floats.
class kel_FloatQuantities {
public:
  kel_FloatQuantities();
  kel_FloatQuantities(const kel_Unit& unit, const kel_Array<float>& values);
  kel_FloatQuantities(const kel_FloatQuantities& other);
  kel_FloatQuantities& operator=(const kel_FloatQuantities& other);
  ~kel_FloatQuantities();

  const kel_Unit& getUnit() const;
  const kel_Array<float>& getValues() const;
  void setUnit(const kel_Unit& unit);
  void setValues(const kel_Array<float>& values);

private:
  kel_Unit m_unit;
  kel_Array<float> m_values;
};

// A unit and an array of float arrays.
class kel_FloatQuantitiesSeq {
public:
  kel_FloatQuantitiesSeq();
  kel_FloatQuantitiesSeq(const kel_Unit& unit, const kel_Array<kel_Array<float> >& values);
  kel_FloatQuantitiesSeq(const kel_FloatQuantitiesSeq& other);
  kel_FloatQuantitiesSeq& operator=(const kel_FloatQuantitiesSeq& other);
  ~kel_FloatQuantitiesSeq();

  const kel_Unit& getUnit() const;
  const kel_Array<kel_Array<float> >& getValues() const;
  void setUnit(const kel_Unit& unit);
  void setValues(const kel_Array<kel_Array<float> >& values);

private:
  kel_Unit m_unit;
  kel_Array<kel_Array<float> > m_values;
};

#endif
