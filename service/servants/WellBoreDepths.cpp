#include "servants/WellBoreDepths.h"

#include "core/RemoteErrors.h"
#include "engine/EngineError.h"
#include "entity/Entities.h"
#include "entity/WellPaths.h"
#include "entity/Wells.h"
#include "servants/Context.h"
#include "servants/RemoteNumbers.h"

namespace kelwelld {

namespace {

double metresOf(const Quantity& quantity) {
  if (!quantity.value) return engine::kUnset;
  return unitScaleOf(quantity.unit, "length").toBase(*quantity.value);
}

} // namespace

std::optional<engine::WellPath> wellPathOf(Context& context, const WellBoreRecord& wellBore) {
  try {
    // loadWellPath reads stored and storeless wellbores alike (by their id).
    return loadWellPath(*context.store, wellBore.id, wellBore.calcMethod);
  } catch (const engine::EngineError& error) {
    // A path the engine takes was stored; one it refuses cannot be.
    throwStore("The stored path of wellbore " + wellBore.id + " cannot be read. ", error.what());
  }
}

std::unique_ptr<engine::DepthPath> depthPathOf(Context& context, const WellBoreRecord& wellBore) {
  auto path = wellPathOf(context, wellBore);
  if (!path) return std::make_unique<engine::VerticalPath>();
  return std::make_unique<engine::WellPath>(std::move(*path));
}

engine::VerticalReference verticalReferenceOf(Context& context, const WellBoreRecord& wellBore) {
  engine::VerticalReference reference;
  reference.datum = static_cast<engine::DepthDatum>(wellBore.elevationDatum);
  reference.elevation = metresOf(wellBore.elevation);
  if (const auto water = context.records->of<WellRecord>().field(wellBore.wellId, &WellRecord::waterDepth))
    reference.waterDepth = metresOf(*water);
  return reference;
}

WellBoreDepths::WellBoreDepths(Context& context, const std::string& wellBoreId) {
  const auto wellBore = context.records->of<WellBoreRecord>().find(wellBoreId);
  if (!wellBore) throwNotExist();
  m_path = depthPathOf(context, *wellBore);
  m_kinds = std::make_unique<engine::DepthKinds>(verticalReferenceOf(context, *wellBore), *m_path);
}

} // namespace kelwelld
