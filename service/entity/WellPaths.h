// A wellbore's path as it is kept: either the directional survey stations
// (measured depth, inclination, azimuth) or raw positions (measured depth,
// TVD, east and north offsets), SI units. Stored wellbores keep it as sample
// series of the wellbore, written in the transaction that stamps the
// wellbore's "path" change; storeless ones keep it in memory.
#ifndef KELWELLD_WELLPATHS_H
#define KELWELLD_WELLPATHS_H

#include <optional>
#include <string>
#include <vector>

#include "engine/PathGeometry.h"
#include "store/Store.h"

namespace kelwelld {

struct StoredPath {
  enum class Source { Stations, Positions };
  Source source = Source::Positions;
  // Stations: md, inclination, azimuth (m, rad, rad).
  // Positions: md, tvd, east, north (m).
  std::vector<double> md, second, third, fourth;
};

// nullopt: the wellbore has no path (it is vertical below its wellhead).
std::optional<StoredPath> loadPath(Store& store, const std::string& wellboreId);

// Replaces the wellbore's path. transaction: the write of the wellbore's
// record; null for a storeless wellbore (then the caller holds its lock).
void writePath(Transaction* transaction, const std::string& wellboreId, const StoredPath& path);

// The wellbore's path as the engine computes it: from its stations with the
// wellbore's calculation method (0 to 5), from its raw positions, or nullopt
// for a wellbore without path data (vertical below its wellhead: use
// engine::VerticalPath). Every conversion that needs a wellbore's MD comes
// here. engine::EngineError when the stored path no longer computes.
std::optional<engine::WellPath> loadWellPath(Store& store, const std::string& wellboreId, short calculationMethod);

} // namespace kelwelld

#endif
