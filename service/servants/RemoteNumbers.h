// Numbers over the wire: the numeric sequences a client sends or asks for,
// and units of one quantity class scaled to and from the SI units the
// engines compute in (m, s, m/s).
#ifndef KELWELLD_REMOTENUMBERS_H
#define KELWELLD_REMOTENUMBERS_H

#include <stdexcept>
#include <string>
#include <vector>

#include <EpTypes.hh>
#include <EpiTypes.hh>

namespace kelwelld {

class Catalogues;

// A value sent over the wire that the service cannot take, found before any
// engine sees it. Each operation reports it as the remote exception it declares.
class WireError : public std::runtime_error {
public:
  enum class What {
    Unit,       // unknown unit, or a unit of another quantity class
    DataType,   // a value type the service cannot deliver or read
    Kind,       // an enumeration number out of range
  };
  WireError(What what, const std::string& reason, EpTypes::DataType type = 0)
      : std::runtime_error(reason), m_what(what), m_type(type) {}
  What kind() const { return m_what; }
  EpTypes::DataType dataType() const { return m_type; }

private:
  What m_what;
  EpTypes::DataType m_type;
};

// The numbers of a sequence of any numeric branch, as doubles.
std::vector<double> numbersOf(const EpTypes::DataSequence& sequence, const std::string& what);

// Answers are delivered as floats (3) or doubles (4); WireError DataType otherwise.
void requireDeliverable(EpTypes::DataType type);
void fillSequence(EpTypes::DataSequence& sequence, const std::vector<double>& values, EpTypes::DataType type);
void fillValue(EpTypes::DataValue& value, double number, EpTypes::DataType type);

// A unit of one quantity class: value_in_SI = value * factor + offset.
struct UnitScale {
  std::string acronym;
  double factor = 1.0;
  double offset = 0.0;
  double toBase(double value) const { return value * factor + offset; }
  double fromBase(double value) const { return (value - offset) / factor; }
};

// The SI unit of a quantity class the engines compute in: "length" m,
// "time" s, "velocity" m/s, "angle" rad.
UnitScale baseUnit(const std::string& quantityClass);
// The unit behind a reference; nil stands for the SI unit. WireError Unit
// naming what for a unit the catalogue does not know or one of another class.
UnitScale unitScaleOf(Catalogues& catalogues, EpUnitOfMeasureService::Unit_ptr unit,
                      const std::string& quantityClass, const std::string& what);
// The unit of a stored quantity (its acronym; "" for the SI unit).
UnitScale unitScaleOf(const std::string& acronym, const std::string& quantityClass);

// The values of a list in SI units.
std::vector<double> baseValuesOf(Catalogues& catalogues, const EpiTypes::DataQuantities& quantities,
                                 const std::string& quantityClass, const std::string& what);
// A list of SI values delivered in unit as type.
void fillQuantities(EpiTypes::DataQuantities& quantities, Catalogues& catalogues, const std::vector<double>& base,
                    const UnitScale& unit, EpTypes::DataType type);

} // namespace kelwelld

#endif
