// The catalogue tables compiled into the binary (generated from data/).
#ifndef KELWELLD_CATALOGUE_TABLES_H
#define KELWELLD_CATALOGUE_TABLES_H

#include <string_view>

namespace kelwelld::tables {
extern const std::string_view units;             // data/units.tsv
extern const std::string_view referenceValues;   // data/reference_values.tsv
} // namespace kelwelld::tables

#endif
