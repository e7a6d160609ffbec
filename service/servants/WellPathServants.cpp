// The wellbore's path geometry: survey stations and path data in, positions
// out in any coordinate system (docs/service.md, "Path geometry"), depth kind
// conversion, the three local systems, and the polylines handed out for whole
// paths.
#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <mutex>

#include "catalogue/Catalogues.h"
#include "catalogue/UnitCatalogue.h"
#include "engine/Kinds.h"
#include "engine/PathGeometry.h"
#include "engine/TimeDepth.h"
#include "entity/WellPaths.h"
#include "entity/Velocities.h"
#include "entity/Wells.h"
#include "servants/VelocityServants.h"
#include "servants/WellBoreDepths.h"
#include "servants/WellServants.h"

namespace kelwelld {

namespace {

using engine::EngineError;
using engine::ErrorKind;
using engine::Position;
using engine::WellPath;
using NoTransform = EpCoordinateService::NoKnownTransformException;
using Samples = EpiWell::WellBore::InvalidNumSamplesException;
using Conversion = EpUnitOfMeasureService::ConversionException;

// ------------------------------------------------------------------ values

// The numbers of a sequence, whatever its numeric type.
std::vector<double> numbersOf(const EpTypes::DataSequence& sequence, const std::string& what) {
  std::vector<double> values;
  auto copy = [&](const auto& source) {
    values.reserve(source.length());
    for (CORBA::ULong i = 0; i < source.length(); ++i) values.push_back(static_cast<double>(source[i]));
  };
  switch (sequence._d()) {
  case EpTypes::BYTE_DATA: copy(sequence.byteValues()); break;
  case EpTypes::SHORT_DATA: copy(sequence.shortValues()); break;
  case EpTypes::LONG_DATA: copy(sequence.longValues()); break;
  case EpTypes::FLOAT_DATA: copy(sequence.floatValues()); break;
  case EpTypes::DOUBLE_DATA: copy(sequence.doubleValues()); break;
  case EpTypes::UBYTE_DATA: copy(sequence.ubyteValues()); break;
  default:
    throw Samples(("The " + what + " come in a numeric type the service does not know (" +
                   std::to_string(sequence._d()) + "). ").c_str());
  }
  return values;
}

// values (in the base unit of their class) as a sequence of type.
EpTypes::DataSequence sequenceOf(const std::vector<double>& values, EpTypes::DataType type) {
  EpTypes::DataSequence sequence;
  auto fill = [&](auto& target, auto cast) {
    target.length(static_cast<CORBA::ULong>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) target[static_cast<CORBA::ULong>(i)] = cast(values[i]);
  };
  switch (type) {
  case EpTypes::DOUBLE_DATA: {
    EpTypes::DoubleSeq s;
    fill(s, [](double v) { return v; });
    sequence.doubleValues(s);
    break;
  }
  case EpTypes::LONG_DATA: {
    EpTypes::LongSeq s;
    fill(s, [](double v) { return static_cast<CORBA::Long>(std::lround(v)); });
    sequence.longValues(s);
    break;
  }
  case EpTypes::SHORT_DATA: {
    EpTypes::ShortSeq s;
    fill(s, [](double v) { return static_cast<CORBA::Short>(std::lround(v)); });
    sequence.shortValues(s);
    break;
  }
  default: {   // float, and the codes that cannot hold a depth
    EpTypes::FloatSeq s;
    fill(s, [](double v) { return static_cast<float>(v); });
    sequence.floatValues(s);
    break;
  }
  }
  return sequence;
}

// The unit of a quantity the client sent or asked for: nil is the base unit
// of the class (m, rad, s). ConversionException for a unit of another class.
const UnitDefinition& unitOf(Catalogues& catalogues, EpUnitOfMeasureService::Unit_ptr unit,
                             const std::string& quantityClass, const char* base, const std::string& what) {
  const auto info = catalogues.resolveUnit(unit);
  if (!info) throw Conversion(("The unit of the " + what + " is not a unit of the service's catalogue. ").c_str());
  const UnitDefinition* definition = UnitCatalogue::builtIn().find(info->acronym.empty() ? base : info->acronym);
  if (definition == nullptr || definition->quantity != quantityClass)
    throw Conversion(("The unit " + quoted(info->acronym) + " of the " + what + " measures " + info->quantity +
                      ", not " + quantityClass + ". ").c_str());
  return *definition;
}

std::vector<double> baseValues(Catalogues& catalogues, const EpiTypes::DataQuantities& quantities,
                               const std::string& quantityClass, const char* base, const std::string& what) {
  const UnitDefinition& unit = unitOf(catalogues, quantities.unit.in(), quantityClass, base, what);
  std::vector<double> values = numbersOf(quantities.values, what);
  for (double& value : values) value = value * unit.factor + unit.offset;
  return values;
}

EpiTypes::DataQuantities quantitiesOf(Catalogues& catalogues, std::vector<double> values,
                                      const UnitDefinition& unit, EpTypes::DataType type) {
  for (double& value : values) value = (value - unit.offset) / unit.factor;
  EpiTypes::DataQuantities result;
  result.values = sequenceOf(values, type);
  result.unit = catalogues.unitReference(unit.acronym);
  return result;
}

double metresPer(const std::string& acronym) {
  const UnitDefinition* unit = UnitCatalogue::builtIn().find(acronym);
  return unit != nullptr ? unit->factor : 1.0;
}

// --------------------------------------------------------------- the path

// The velocity function for time-domain positions: the one given, or the
// wellbore's default for nil (NoDefaultWellVelocityException when it has
// none). NoKnownTransformException for a function the service does not
// serve or one of another wellbore.
engine::VelocityFunction velocityFunctionFor(Context& context, const std::string& wellBoreId,
                                             EpiWell::WellVelocity_ptr velocity) {
  if (CORBA::is_nil(velocity)) {
    auto function = defaultFunctionOf(context, wellBoreId);
    if (!function)
      throw EpiWell::WellBore::NoDefaultWellVelocityException(
          "The wellbore has no default velocity function; time-domain positions need one. ");
    return std::move(*function);
  }
  const auto id = context.idOf(velocity, {Kind::Velocity, Kind::StorelessVelocity});
  if (!id) throw NoTransform("The velocity function is not one of this service's; time-domain positions need one. ");
  const auto record = Velocities(*context.records).load(*id);
  if (!record) throw NoTransform(("The velocity function " + *id + " does not exist. ").c_str());
  if (record->wellBoreId != wellBoreId)
    throw NoTransform(("The velocity function " + *id + " belongs to the wellbore " + record->wellBoreId +
                       ", not to " + wellBoreId + "; time-domain positions take one of the wellbore's own. ")
                          .c_str());
  return functionOf(*record);
}

// Two-way times (s) at TVDs of the wellbore through function.
std::vector<double> twtAtTvd(Context& context, const std::string& wellBoreId,
                             const engine::VelocityFunction& function, const std::vector<double>& tvd) {
  const WellBoreDepths depths(context, wellBoreId);
  return engine::depthsToTimes(function, depths.kinds(), tvd, engine::DepthKind::TVD, engine::TimeKind::TWT);
}

// --------------------------------------------------------- local systems

const char* const kLocalKinds[] = {"XY_TVD", "DXDY_MD", "DXDY_TVD"};
enum class LocalKind { XyTvd = 0, DxDyMd = 1, DxDyTvd = 2 };

// "LOCAL:<kind>:<wellbore>:<horizontal unit>:<vertical unit>"
std::string localName(LocalKind kind, const std::string& boreId, const std::string& horizontal,
                      const std::string& vertical) {
  return std::string("LOCAL:") + kLocalKinds[static_cast<int>(kind)] + ":" + boreId + ":" + horizontal + ":" +
         vertical;
}

struct LocalTarget {
  LocalKind kind;
  std::string horizontalUnit, verticalUnit;
};

// A local system of boreId named by name; nullopt when name is not one.
std::optional<LocalTarget> localTargetOf(const std::string& name, const std::string& boreId) {
  for (int k = 0; k < 3; ++k) {
    const std::string head = std::string("LOCAL:") + kLocalKinds[k] + ":" + boreId + ":";
    if (name.compare(0, head.size(), head) != 0) continue;
    const std::string units = name.substr(head.size());
    const auto colon = units.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return LocalTarget{static_cast<LocalKind>(k), units.substr(0, colon), units.substr(colon + 1)};
  }
  return std::nullopt;
}

// ------------------------------------------------------------- placement

// Places positions of one wellbore in coordinate systems.
//
// Azimuths are grid azimuths: offsets east and north run along the grid of
// the projected system that the wellhead is given in. Offsets are ground
// distances, so they are scaled by that projection's point scale factor at
// the wellhead before they are added to the wellhead's grid coordinates; no
// convergence is applied. A wellhead given in a geographic system is first
// projected into the target system when that is projected, else into the
// UTM zone of the wellhead (WGS 84), and the azimuths are taken as grid
// azimuths of that projection.
class Placement {
public:
  Placement(Catalogues& catalogues, const std::string& boreId, const WellRecord& well)
      : m_catalogues(catalogues), m_boreId(boreId), m_location(well.location) {}

  // The system a nil system stands for: the wellhead's; the wellbore's local
  // DxDyTvd system in metres when the well has no location.
  std::string nativeSystem() {
    if (m_location.set) return m_location.system;
    const std::string name = localName(LocalKind::DxDyTvd, m_boreId, "m", "m");
    m_catalogues.registerLocalSystem(name, "m", "m", "Offsets from the wellhead and TVD of " + m_boreId);
    return name;
  }

  // x and y of the positions in system (z left 0). NoKnownTransformException
  // for a local system of another wellbore, or for an EPSG system when the
  // well has no surface location.
  std::vector<XYZ> horizontal(const std::vector<Position>& positions, const std::string& system) {
    std::vector<XYZ> points(positions.size());
    if (const auto local = localTargetOf(system, m_boreId)) {
      if (local->kind == LocalKind::XyTvd) {
        points = grid(positions, "");
      } else {
        for (std::size_t i = 0; i < positions.size(); ++i) points[i] = {positions[i].east, positions[i].north, 0.0};
      }
      const double unit = metresPer(local->horizontalUnit);
      for (XYZ& p : points) p = {p.x / unit, p.y / unit, 0.0};
      return points;
    }
    if (system.rfind("LOCAL:", 0) == 0)
      throw NoTransform(("The coordinate system '" + system + "' is local to another wellbore. ").c_str());
    const std::string depthSystem = depthTwin(system);
    const std::string working = workingSystem(depthSystem);
    points = grid(positions, working);
    m_catalogues.transform(working, depthSystem, points);
    return points;
  }

private:
  static std::string depthTwin(const std::string& system) {
    const std::string suffix = "+TWT";
    if (system.size() > suffix.size() &&
        std::equal(suffix.rbegin(), suffix.rend(), system.rbegin(),
                   [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); }))
      return system.substr(0, system.size() - suffix.size());
    return system;
  }

  // An EPSG system whose axes are lengths (geographic ones measure angles).
  bool isProjected(const std::string& system) {
    const auto units = m_catalogues.systemUnits(system);
    const UnitDefinition* axis = UnitCatalogue::builtIn().find(units.horizontalUnit);
    return units.epsgCode != 0 && axis != nullptr && axis->quantity == "length";
  }

  // The projected system whose grid the offsets run along.
  std::string workingSystem(const std::string& target) {
    requireLocation();
    if (isProjected(m_location.system)) return m_location.system;
    if (isProjected(target)) return target;
    std::vector<XYZ> head{{m_location.x, m_location.y, 0.0}};
    m_catalogues.transform(m_location.system, "EPSG:4326", head);
    const int zone = std::clamp(static_cast<int>(std::floor((head[0].x + 180.0) / 6.0)) + 1, 1, 60);
    return "EPSG:" + std::to_string((head[0].y >= 0.0 ? 32600 : 32700) + zone);
  }

  // Grid coordinates in working ("" picks it): wellhead plus scaled offsets.
  std::vector<XYZ> grid(const std::vector<Position>& positions, std::string working) {
    if (working.empty()) working = workingSystem(m_location.system);
    std::vector<XYZ> head{{m_location.x, m_location.y, 0.0}};
    m_catalogues.transform(m_location.system, working, head);
    const double scale = m_catalogues.pointScaleFactor(working, head[0].x, head[0].y) /
                         metresPer(m_catalogues.systemUnits(working).horizontalUnit);
    std::vector<XYZ> points(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
      points[i] = {head[0].x + scale * positions[i].east, head[0].y + scale * positions[i].north, 0.0};
    return points;
  }

  void requireLocation() const {
    if (!m_location.set)
      throw NoTransform("The well's surface location is not set; positions in this coordinate system start "
                        "from it. ");
  }

  Catalogues& m_catalogues;
  std::string m_boreId;
  Location m_location;
};

// ------------------------------------------------------------- polylines

class PointIteratorServant : public POA_EpGeometry::PointIterator {
public:
  explicit PointIteratorServant(std::vector<XYZ> points) : m_points(std::move(points)) {}

  CORBA::Boolean nextN(CORBA::ULong howMany, EpCoordinateService::PointSeq_out points) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::size_t count = std::min<std::size_t>(howMany, m_points.size() - m_next);
    points = new EpCoordinateService::PointSeq(static_cast<CORBA::ULong>(count));
    points->length(static_cast<CORBA::ULong>(count));
    for (std::size_t i = 0; i < count; ++i) {
      const XYZ& p = m_points[m_next + i];
      (*points)[static_cast<CORBA::ULong>(i)] = {p.x, p.y, p.z};
    }
    m_next += count;
    return m_next < m_points.size();
  }

  void destroy() override;

private:
  std::mutex m_mutex;
  std::vector<XYZ> m_points;
  std::size_t m_next = 0;
};

class PolylineServant : public POA_EpGeometry::Polyline {
public:
  PolylineServant(Catalogues& catalogues, std::string system, std::vector<XYZ> points)
      : m_catalogues(catalogues), m_system(std::move(system)), m_points(std::move(points)) {}

  CORBA::ULong numPoints() override { return static_cast<CORBA::ULong>(m_points.size()); }

  EpCoordinateService::System_ptr nativeSystem() override { return m_catalogues.systemReference(m_system); }

  void getCoordinates(EpCoordinateService::System_ptr system, CORBA::ULong howMany,
                      EpCoordinateService::Coordinates_out coordinates,
                      EpGeometry::PointIterator_out rest) override;

  void destroy() override;

private:
  Catalogues& m_catalogues;
  std::string m_system;
  std::vector<XYZ> m_points;
};

// Polylines and iterators live in the root POA for a short time: they go
// when destroyed or when kRetained newer ones have been handed out.
class ShortLived {
public:
  static ShortLived& instance() {
    static ShortLived objects;
    return objects;
  }

  // orb may be nil once a polyline was handed out (an iterator comes from one).
  template <class Ref>
  typename Ref::_ptr_type activate(CORBA::ORB_ptr orb, PortableServer::ServantBase* servant) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (CORBA::is_nil(m_root)) {
      CORBA::Object_var object = orb->resolve_initial_references("RootPOA");
      m_root = PortableServer::POA::_narrow(object.in());
    }
    PortableServer::ObjectId_var id = m_root->activate_object(servant);
    servant->_remove_ref();   // the POA holds the servant from now on
    m_ids.push_back(id.in());
    if (m_ids.size() > kRetained) {
      deactivate(m_ids.front());
      m_ids.pop_front();
    }
    CORBA::Object_var reference = m_root->id_to_reference(id.in());
    return Ref::_narrow(reference.in());
  }

  void destroy(PortableServer::ServantBase* servant) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (CORBA::is_nil(m_root)) return;
    PortableServer::ObjectId_var id = m_root->servant_to_id(servant);
    const auto found = std::find_if(m_ids.begin(), m_ids.end(), [&](const PortableServer::ObjectId& held) {
      return held.length() == id->length() && std::equal(held.get_buffer(), held.get_buffer() + held.length(),
                                                         id->get_buffer());
    });
    if (found != m_ids.end()) m_ids.erase(found);
    deactivate(id.in());
  }

private:
  static constexpr std::size_t kRetained = 1024;

  void deactivate(const PortableServer::ObjectId& id) {
    try {
      m_root->deactivate_object(id);
    } catch (const PortableServer::POA::ObjectNotActive&) {
    }
  }

  std::mutex m_mutex;
  PortableServer::POA_var m_root;
  std::deque<PortableServer::ObjectId> m_ids;
};

void PointIteratorServant::destroy() { ShortLived::instance().destroy(this); }

void PolylineServant::getCoordinates(EpCoordinateService::System_ptr system, CORBA::ULong howMany,
                                     EpCoordinateService::Coordinates_out coordinates,
                                     EpGeometry::PointIterator_out rest) {
  const auto target = m_catalogues.resolveSystem(system);
  if (!target) throw NoTransform("The coordinate system asked for is not known to the service. ");
  const std::string name = target->empty() ? m_system : *target;
  std::vector<XYZ> points = m_points;
  m_catalogues.transform(m_system, name, points);
  const std::size_t first = std::min<std::size_t>(howMany, points.size());
  EpCoordinateService::Coordinates_var result = new EpCoordinateService::Coordinates;
  result->system = m_catalogues.systemReference(name);
  result->points.length(static_cast<CORBA::ULong>(first));
  for (std::size_t i = 0; i < first; ++i)
    result->points[static_cast<CORBA::ULong>(i)] = {points[i].x, points[i].y, points[i].z};
  rest = EpGeometry::PointIterator::_nil();
  if (first < points.size()) {
    points.erase(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(first));
    rest = ShortLived::instance().activate<EpGeometry::PointIterator>(CORBA::ORB::_nil(),
                                                                      new PointIteratorServant(std::move(points)));
  }
  coordinates = result._retn();
}

void PolylineServant::destroy() { ShortLived::instance().destroy(this); }

EpGeometry::Polyline_ptr newPolyline(Context& context, const std::string& system, std::vector<XYZ> points) {
  return ShortLived::instance().activate<EpGeometry::Polyline>(
      context.orb.in(), new PolylineServant(*context.catalogues, system, std::move(points)));
}

// Engine failures as the remote exceptions of the path operations.
[[noreturn]] void throwPathError(const EngineError& error) {
  switch (error.kind()) {
  case ErrorKind::InsufficientData:
  case ErrorKind::ConversionNotSupported:
    throw EpTypes::InsufficientDataException(error.what());
  default:
    throw Samples(error.what());
  }
}

} // namespace

// ====================================================== WellBoreServant

// Everything the path operations read: the wellbore, its well, its path.
struct WellBoreServant::PathCall {
  std::string id;
  WellBoreRecord bore;
  WellRecord well;
  std::optional<WellPath> path;
  std::optional<ValueFault> fault;
};

WellBoreServant::PathCall WellBoreServant::pathCall(const char* operation) {
  Call call = read(operation);
  PathCall result;
  result.id = call.id;
  result.bore = std::move(call.record);
  result.fault = call.fault;
  auto well = m_context.wells->well(result.bore.wellId);
  if (!well) throwNotExist();
  result.well = std::move(*well);
  result.path = wellPathOf(m_context, result.bore);
  return result;
}

namespace {

// Clients send measured depths as floats: a depth read back from the path
// data and sent again may lie a float's rounding beyond the first or last
// station. Within that much (a few float steps) it counts as the end itself.
constexpr double kFloatRounding = 2.4e-7;

// Positions at measured depths (m): on the path, or vertical below the wellhead.
std::vector<Position> positionsAt(const std::optional<WellPath>& path, std::vector<double> md) {
  std::vector<Position> positions(md.size());
  if (!path) {
    for (std::size_t i = 0; i < md.size(); ++i) positions[i] = {md[i], md[i], 0.0, 0.0};
    return positions;
  }
  const double first = path->stations().md.front(), last = path->stations().md.back();
  for (double& value : md) {
    if (value < first && first - value <= kFloatRounding * std::max(1.0, std::fabs(first))) value = first;
    if (value > last && value - last <= kFloatRounding * std::max(1.0, std::fabs(last))) value = last;
  }
  try {
    path->at(md.data(), positions.data(), md.size());
  } catch (const EngineError& error) {
    throwPathError(error);
  }
  return positions;
}

// The path's own positions: its stations or raw samples; the wellhead alone
// for a wellbore without path data.
std::vector<Position> pathPositions(const std::optional<WellPath>& path) {
  if (!path) return {{0.0, 0.0, 0.0, 0.0}};
  const engine::PathColumns& columns = path->stations();
  std::vector<Position> positions(columns.md.size());
  for (std::size_t i = 0; i < positions.size(); ++i)
    positions[i] = {columns.md[i], columns.tvd[i], columns.east[i], columns.north[i]};
  return positions;
}

} // namespace

XYZ horizontalPositionAt(Context& context, const std::string& wellBoreId, double md, const std::string& system) {
  const auto bore = context.records->of<WellBoreRecord>().find(wellBoreId);
  if (!bore) throwNotExist();
  const auto well = context.wells->well(bore->wellId);
  if (!well) throwNotExist();
  const std::vector<Position> positions = positionsAt(wellPathOf(context, *bore), {md});
  return Placement(*context.catalogues, wellBoreId, *well).horizontal(positions, system).front();
}

std::vector<XYZ> WellBoreServant::place(const PathCall& call, const std::vector<Position>& positions,
                                        const std::string& system, EpiWell::WellVelocity_ptr velocity,
                                        bool timeAllowed) {
  Catalogues& catalogues = *m_context.catalogues;
  const auto units = catalogues.systemUnits(system);
  const double verticalUnit = metresPer(units.verticalUnit);   // m or s per unit
  if (units.isTimeSystem) {
    if (!timeAllowed)
      throw NoTransform(("The coordinate system '" + system +
                         "' is in two-way time; the depth path is in depth (getTimePath gives the path in time). ")
                            .c_str());
    const engine::VelocityFunction function = velocityFunctionFor(m_context, call.id, velocity);
    std::vector<XYZ> points = Placement(catalogues, call.id, call.well).horizontal(positions, system);
    std::vector<double> tvd(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) tvd[i] = positions[i].tvd;
    try {
      const std::vector<double> twt = twtAtTvd(m_context, call.id, function, tvd);
      for (std::size_t i = 0; i < points.size(); ++i) points[i].z = twt[i] / verticalUnit;
    } catch (const EngineError& error) {
      throwPathError(error);
    }
    return points;
  }
  std::vector<XYZ> points = Placement(catalogues, call.id, call.well).horizontal(positions, system);
  const auto local = localTargetOf(system, call.id);
  const bool alongHole = local && local->kind == LocalKind::DxDyMd;
  for (std::size_t i = 0; i < points.size(); ++i)
    points[i].z = (alongHole ? positions[i].md : positions[i].tvd) / verticalUnit;
  return points;
}

std::string WellBoreServant::systemAsked(EpCoordinateService::System_ptr system, const PathCall& call) {
  const auto name = m_context.catalogues->resolveSystem(system);
  if (!name) throw NoTransform("The coordinate system asked for is not known to the service. ");
  if (!name->empty()) return *name;
  return Placement(*m_context.catalogues, call.id, call.well).nativeSystem();
}

EpGeometry::Polyline_ptr WellBoreServant::getDepthPath(EpCoordinateService::System_ptr system) {
  const PathCall call = pathCall("getDepthPath");
  if (wantsNil(call.fault)) return EpGeometry::Polyline::_nil();
  const std::string name = systemAsked(system, call);
  std::vector<XYZ> points = place(call, pathPositions(call.path), name, EpiWell::WellVelocity::_nil(), false);
  return newPolyline(m_context, name, std::move(points));
}

EpGeometry::Polyline_ptr WellBoreServant::getTimePath(EpiWell::WellVelocity_ptr velocity) {
  const PathCall call = pathCall("getTimePath");
  if (wantsNil(call.fault)) return EpGeometry::Polyline::_nil();
  const std::string name = m_context.catalogues->preferredTimeSystem();
  std::vector<XYZ> points = place(call, pathPositions(call.path), name, velocity, true);
  return newPolyline(m_context, name, std::move(points));
}

EpCoordinateService::Coordinate* WellBoreServant::getPathLastPoint(EpCoordinateService::System_ptr system) {
  const PathCall call = pathCall("getPathLastPoint");
  if (!call.path)
    throw EpTypes::InsufficientDataException("The wellbore has no path data; its path has no last point. ");
  const std::string name = systemAsked(system, call);
  const std::vector<XYZ> points = place(call, {call.path->last()}, name, EpiWell::WellVelocity::_nil(), false);
  EpCoordinateService::Coordinate_var result = new EpCoordinateService::Coordinate;
  result->system = wantsNil(call.fault) ? EpCoordinateService::System::_nil()
                                        : m_context.catalogues->systemReference(name);
  result->x = points[0].x;
  result->y = points[0].y;
  result->z = points[0].z;
  return result._retn();
}

EpCoordinateService::Coordinates* WellBoreServant::getLocations(const EpiTypes::DataQuantities& measuredDepths,
                                                                EpCoordinateService::System_ptr system,
                                                                EpiWell::WellVelocity_ptr velocity) {
  const PathCall call = pathCall("getLocations");
  const std::vector<double> md = baseValues(*m_context.catalogues, measuredDepths, "length", "m", "measured depths");
  const std::string name = systemAsked(system, call);
  const std::vector<XYZ> points = place(call, positionsAt(call.path, md), name, velocity, true);
  EpCoordinateService::Coordinates_var result = new EpCoordinateService::Coordinates;
  result->system = wantsNil(call.fault) ? EpCoordinateService::System::_nil()
                                        : m_context.catalogues->systemReference(name);
  result->points.length(static_cast<CORBA::ULong>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i)
    result->points[static_cast<CORBA::ULong>(i)] = {points[i].x, points[i].y, points[i].z};
  return result._retn();
}

EpiWell::WellBore::PathData* WellBoreServant::getPathData(EpTypes::DataType type,
                                                          EpUnitOfMeasureService::Unit_ptr distanceUnit,
                                                          EpUnitOfMeasureService::Unit_ptr depthUnit,
                                                          EpUnitOfMeasureService::Unit_ptr timeUnit) {
  const PathCall call = pathCall("getPathData");
  Catalogues& catalogues = *m_context.catalogues;
  const UnitDefinition& distance = unitOf(catalogues, distanceUnit, "length", "m", "distance unit");
  const UnitDefinition& depth = unitOf(catalogues, depthUnit, "length", "m", "depth unit");
  const UnitDefinition& time = unitOf(catalogues, timeUnit, "time", "s", "time unit");
  engine::PathColumns columns;
  if (call.path) columns = call.path->stations();
  // Two-way times through the default velocity function; NaN without one.
  std::vector<double> twt(columns.md.size(), std::numeric_limits<double>::quiet_NaN());
  try {
    const engine::VelocityFunction function =
        velocityFunctionFor(m_context, call.id, EpiWell::WellVelocity::_nil());
    twt = twtAtTvd(m_context, call.id, function, columns.tvd);
  } catch (const EpiWell::WellBore::NoDefaultWellVelocityException&) {
  } catch (const NoTransform&) {
  } catch (const EngineError&) {
  }
  EpiWell::WellBore::PathData_var data = new EpiWell::WellBore::PathData;
  data->column0 = quantitiesOf(catalogues, columns.md, depth, type);
  data->column1 = quantitiesOf(catalogues, columns.tvd, depth, type);
  data->column2 = quantitiesOf(catalogues, columns.east, distance, type);
  data->column3 = quantitiesOf(catalogues, columns.north, distance, type);
  data->column4 = quantitiesOf(catalogues, twt, time, type);
  if (wantsNil(call.fault)) {
    for (auto* column : {&data->column0, &data->column1, &data->column2, &data->column3, &data->column4})
      column->unit = EpUnitOfMeasureService::Unit::_nil();
  }
  return data._retn();
}

void WellBoreServant::writePathOf(const char* operation, const StoredPath& path) {
  const std::string id = m_context.currentId();
  const std::string now = nowUtc();
  const auto saved = m_records.modify(
      id, [&](WellBoreRecord& r) { r.modifiedPath = now; },
      [&](Transaction* transaction) { writePath(transaction, id, path); });
  if (!saved) throwNotExist();
  m_context.changed(id, "modified", operation);
}

void WellBoreServant::setPathData(const EpiWell::WellBore::PathData& data) {
  enterFault("setPathData", m_context.currentId());
  Catalogues& catalogues = *m_context.catalogues;
  StoredPath path;
  path.source = StoredPath::Source::Positions;
  path.md = baseValues(catalogues, data.column0, "length", "m", "measured depths (column0)");
  path.second = baseValues(catalogues, data.column1, "length", "m", "true vertical depths (column1)");
  path.third = baseValues(catalogues, data.column2, "length", "m", "east offsets (column2)");
  path.fourth = baseValues(catalogues, data.column3, "length", "m", "north offsets (column3)");
  // The two-way times are derived from the velocity function on every read;
  // written ones are checked for their count and not kept.
  const std::vector<double> twt = baseValues(catalogues, data.column4, "time", "s", "two-way times (column4)");
  if (!twt.empty() && twt.size() != path.md.size())
    throw Samples(("The path data's two-way time column (column4) has " + std::to_string(twt.size()) +
                   " values and its measured depth column " + std::to_string(path.md.size()) +
                   "; it must be empty or have one value per row. ")
                      .c_str());
  try {
    WellPath::fromPositions({path.md, path.second, path.third, path.fourth});
  } catch (const EngineError& error) {
    throw Samples(error.what());
  }
  writePathOf("setPathData", path);
}

void WellBoreServant::setSurveyStations(const EpiTypes::DataQuantities& md, const EpiTypes::DataQuantities& inclination,
                                        const EpiTypes::DataQuantities& azimuth) {
  const std::string id = m_context.currentId();
  enterFault("setSurveyStations", id);
  Catalogues& catalogues = *m_context.catalogues;
  StoredPath path;
  path.source = StoredPath::Source::Stations;
  path.md = baseValues(catalogues, md, "length", "m", "measured depths of the stations");
  path.second = baseValues(catalogues, inclination, "angle", "rad", "inclinations of the stations");
  path.third = baseValues(catalogues, azimuth, "angle", "rad", "azimuths of the stations");
  const auto method = m_records.field(id, &WellBoreRecord::calcMethod);
  if (!method) throwNotExist();
  try {
    engine::SurveyOptions options;
    options.method = static_cast<engine::CalculationMethod>(*method);
    WellPath::fromSurvey({path.md, path.second, path.third}, options);
  } catch (const EngineError& error) {
    throw Samples(error.what());
  }
  writePathOf("setSurveyStations", path);
}

EpiWell::Depths* WellBoreServant::convertDepths(const EpiWell::Depths& depths, EpTypes::DataType type,
                                                EpUnitOfMeasureService::Unit_ptr unit, EpiWell::DepthType target) {
  const PathCall call = pathCall("convertDepths");
  Catalogues& catalogues = *m_context.catalogues;
  for (const EpiWell::DepthType kind : {depths.type, target})
    if (kind < EpiWell::DEPTH_MD || kind > EpiWell::DEPTH_TVDGL)
      throw Conversion(("The depth type " + std::to_string(kind) +
                        " is not one of 0 (MD), 1 (TVD), 2 (TVDSS), 3 (TVDGL). ")
                           .c_str());
  std::vector<double> values = baseValues(catalogues, depths.values, "length", "m", "depths");
  // A nil unit answers in the unit the depths came in.
  const UnitDefinition& answerUnit =
      CORBA::is_nil(unit) ? unitOf(catalogues, depths.values.unit.in(), "length", "m", "depths")
                          : unitOf(catalogues, unit, "length", "m", "unit asked for");
  const WellBoreDepths wellBoreDepths(m_context, call.id);
  try {
    wellBoreDepths.kinds().convert(values.data(), values.data(), values.size(), static_cast<engine::DepthKind>(depths.type),
                  static_cast<engine::DepthKind>(target));
  } catch (const EngineError& error) {
    throwPathError(error);
  }
  EpiWell::Depths_var result = new EpiWell::Depths;
  result->values = quantitiesOf(catalogues, std::move(values), answerUnit, type);
  if (wantsNil(call.fault)) result->values.unit = EpUnitOfMeasureService::Unit::_nil();
  result->type = target;
  return result._retn();
}

EpCoordinateService::System_ptr WellBoreServant::createLocal(const char* operation, int kind,
                                                             EpUnitOfMeasureService::Unit_ptr xUnit,
                                                             EpUnitOfMeasureService::Unit_ptr zUnit) {
  const auto call = readField(operation, &WellBoreRecord::id);
  if (wantsNil(call.fault)) return EpCoordinateService::System::_nil();
  Catalogues& catalogues = *m_context.catalogues;
  // Units the catalogue does not know, or not lengths, fall back to metres:
  // the operation declares no failure for them.
  auto lengthOr = [&](EpUnitOfMeasureService::Unit_ptr unit) {
    const auto info = catalogues.resolveUnit(unit);
    return info && info->quantity == "length" ? info->acronym : std::string("m");
  };
  const std::string horizontal = lengthOr(xUnit);
  const std::string vertical = lengthOr(zUnit);
  const std::string name = localName(static_cast<LocalKind>(kind), call.value, horizontal, vertical);
  catalogues.registerLocalSystem(name, horizontal, vertical,
                                 std::string(kLocalKinds[kind]) + " system of wellbore " + call.value);
  return catalogues.systemReference(name);
}

EpCoordinateService::System_ptr WellBoreServant::createLocalXYTvd(EpUnitOfMeasureService::Unit_ptr xUnit,
                                                                  EpUnitOfMeasureService::Unit_ptr,
                                                                  EpUnitOfMeasureService::Unit_ptr zUnit) {
  return createLocal("createLocalXYTvd", static_cast<int>(LocalKind::XyTvd), xUnit, zUnit);
}

EpCoordinateService::System_ptr WellBoreServant::createLocalDxDyMd(EpUnitOfMeasureService::Unit_ptr xUnit,
                                                                   EpUnitOfMeasureService::Unit_ptr,
                                                                   EpUnitOfMeasureService::Unit_ptr zUnit) {
  return createLocal("createLocalDxDyMd", static_cast<int>(LocalKind::DxDyMd), xUnit, zUnit);
}

EpCoordinateService::System_ptr WellBoreServant::createLocalDxDyTvd(EpUnitOfMeasureService::Unit_ptr xUnit,
                                                                    EpUnitOfMeasureService::Unit_ptr,
                                                                    EpUnitOfMeasureService::Unit_ptr zUnit) {
  return createLocal("createLocalDxDyTvd", static_cast<int>(LocalKind::DxDyTvd), xUnit, zUnit);
}

} // namespace kelwelld
