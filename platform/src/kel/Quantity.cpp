#include "kel_FloatQuantity.h"

kel_FloatQuantity::kel_FloatQuantity() : m_value(0.0f) {}
kel_FloatQuantity::kel_FloatQuantity(const kel_Unit& unit, float value) : m_unit(unit), m_value(value) {}
kel_FloatQuantity::kel_FloatQuantity(const kel_FloatQuantity& other) = default;
kel_FloatQuantity& kel_FloatQuantity::operator=(const kel_FloatQuantity& other) = default;
kel_FloatQuantity::~kel_FloatQuantity() = default;
const kel_Unit& kel_FloatQuantity::getUnit() const { return m_unit; }
float kel_FloatQuantity::getValue() const { return m_value; }
void kel_FloatQuantity::setUnit(const kel_Unit& unit) { m_unit = unit; }
void kel_FloatQuantity::setValue(float value) { m_value = value; }

kel_FloatQuantities::kel_FloatQuantities() = default;
kel_FloatQuantities::kel_FloatQuantities(const kel_Unit& unit, const kel_Array<float>& values)
    : m_unit(unit), m_values(values) {}
kel_FloatQuantities::kel_FloatQuantities(const kel_FloatQuantities& other) = default;
kel_FloatQuantities& kel_FloatQuantities::operator=(const kel_FloatQuantities& other) = default;
kel_FloatQuantities::~kel_FloatQuantities() = default;
const kel_Unit& kel_FloatQuantities::getUnit() const { return m_unit; }
const kel_Array<float>& kel_FloatQuantities::getValues() const { return m_values; }
void kel_FloatQuantities::setUnit(const kel_Unit& unit) { m_unit = unit; }
void kel_FloatQuantities::setValues(const kel_Array<float>& values) { m_values = values; }

kel_FloatQuantitiesSeq::kel_FloatQuantitiesSeq() = default;
kel_FloatQuantitiesSeq::kel_FloatQuantitiesSeq(const kel_Unit& unit,
                                               const kel_Array<kel_Array<float> >& values)
    : m_unit(unit), m_values(values) {}
kel_FloatQuantitiesSeq::kel_FloatQuantitiesSeq(const kel_FloatQuantitiesSeq& other) = default;
kel_FloatQuantitiesSeq& kel_FloatQuantitiesSeq::operator=(const kel_FloatQuantitiesSeq& other) = default;
kel_FloatQuantitiesSeq::~kel_FloatQuantitiesSeq() = default;
const kel_Unit& kel_FloatQuantitiesSeq::getUnit() const { return m_unit; }
const kel_Array<kel_Array<float> >& kel_FloatQuantitiesSeq::getValues() const { return m_values; }
void kel_FloatQuantitiesSeq::setUnit(const kel_Unit& unit) { m_unit = unit; }
void kel_FloatQuantitiesSeq::setValues(const kel_Array<kel_Array<float> >& values) { m_values = values; }
