// What relates the depth kinds of one wellbore: its vertical references
// (elevation datum and elevation, the well's water depth) and its path.
// Velocity functions convert through it; picks, traces and the wellbore's
// own conversions take the same.
#ifndef KELWELLD_WELLBOREDEPTHS_H
#define KELWELLD_WELLBOREDEPTHS_H

#include <memory>
#include <optional>
#include <string>

#include "engine/Kinds.h"
#include "engine/PathGeometry.h"
#include "entity/WellRecords.h"

namespace kelwelld {

class Context;

// The wellbore's path as the engine computes it; nullopt without path data.
// StoreException when the stored path no longer computes.
std::optional<engine::WellPath> wellPathOf(Context& context, const WellBoreRecord& wellBore);

// The wellbore's MD <-> TVD relation: the one place that says which path a
// wellbore has. Without path data a wellbore is vertical below its wellhead.
std::unique_ptr<engine::DepthPath> depthPathOf(Context& context, const WellBoreRecord& wellBore);

// The wellbore's references in SI units; values never written are unset.
engine::VerticalReference verticalReferenceOf(Context& context, const WellBoreRecord& wellBore);

class WellBoreDepths {
public:
  // OBJECT_NOT_EXIST when the wellbore is gone.
  WellBoreDepths(Context& context, const std::string& wellBoreId);
  const engine::DepthKinds& kinds() const { return *m_kinds; }

private:
  std::unique_ptr<engine::DepthPath> m_path;   // outlives m_kinds, which refers to it
  std::unique_ptr<engine::DepthKinds> m_kinds;
};

} // namespace kelwelld

#endif
