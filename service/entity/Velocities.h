// Velocity functions: their record description and query table, and the
// writes that keep a function's samples with its record (a stored function
// keeps them in sample chunks, a storeless one in its record) and that reach
// past one record (a wellbore's functions and its default function).
#ifndef KELWELLD_VELOCITIES_H
#define KELWELLD_VELOCITIES_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "entity/Entities.h"
#include "entity/RecordValues.h"
#include "entity/Wells.h"

namespace kelwelld {

// Samples in SI units: two-way times (s) from the function's datum, depths
// (m) below it, one p-wave anisotropy factor per sample.
struct VelocitySamples {
  std::vector<double> twt;
  std::vector<double> depth;
  std::vector<double> anisotropy;
  bool operator==(const VelocitySamples& other) const {
    return twt == other.twt && depth == other.depth && anisotropy == other.anisotropy;
  }
  bool operator!=(const VelocitySamples& other) const { return !(*this == other); }
};

struct VelocityRecord {
  std::string id;           // "velocity:4" or "storeless-velocity:1"
  std::string wellBoreId;
  std::string projectId;    // the wellbore's project; filled when read, never written
  std::string name;
  std::string dataSource;
  std::string comment;
  short checkshot = 0;
  short isDefault = 0;      // 1: its wellbore's default velocity function
  Quantity datum;           // elevation of the function's datum above MSL, as written
  Quantity extendShallow;   // interval velocities above the first and below the last sample, as written
  Quantity extendDeep;
  std::string created;
  std::string modifiedAttributes;
  std::string modifiedSamples;
  // Kept in no column: Velocities::load and Velocities::modify fill it for
  // both kinds of function.
  VelocitySamples samples;
};

template <>
const RecordTable<VelocityRecord>& recordTable<VelocityRecord>();

const QueryTable& velocityQuery();

class Velocities {
public:
  explicit Velocities(Entities& entities);

  // The record with its samples; nullopt for no such function.
  std::optional<VelocityRecord> load(const std::string& id);
  // The number of samples, without reading them.
  std::optional<std::size_t> sampleCount(const std::string& id);

  // Creates a stored function (of a stored wellbore) or a storeless one (of
  // any wellbore), samples included; fills id, project and time stamps.
  // FailedOperationException when the wellbore does not exist.
  VelocityRecord create(VelocityRecord record, bool stored);

  // Applies change to the record and its samples in one write; the samples'
  // chunks are rewritten only when they changed. nullopt for no such function.
  // A change that throws leaves everything as it was.
  std::optional<VelocityRecord> modify(const std::string& id, const std::function<void(VelocityRecord&)>& change);

  // The wellbore's functions: stored ones, then storeless ones, each in creation order.
  std::vector<std::string> velocitiesOf(const std::string& wellBoreId);
  std::optional<std::string> defaultOf(const std::string& wellBoreId);
  // Makes velocityId the wellbore's default ("" clears it). ValidationException
  // when the function is not one of that wellbore's.
  void setDefault(const std::string& wellBoreId, const std::string& velocityId);

private:
  void saveSamples(Transaction& transaction, const std::string& id, const VelocitySamples& samples);
  VelocitySamples loadSamples(Scope& scope, const std::string& id);

  Entities& m_entities;
  EntityRecords<VelocityRecord>& m_velocities;
  EntityRecords<WellBoreRecord>& m_wellBores;
};

} // namespace kelwelld

#endif
