#include "CoordinateSystems.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

#include <proj.h>
#include <proj_experimental.h>   // proj_crs_demote_to_2D

namespace kelwelld {

namespace {

struct PjDeleter {
  void operator()(PJ* object) const { proj_destroy(object); }
};
using PjPtr = std::unique_ptr<PJ, PjDeleter>;

struct ContextDeleter {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
using ContextPtr = std::unique_ptr<PJ_CONTEXT, ContextDeleter>;

const char* const timeSuffix = "+TWT";
const char* const localPrefix = "LOCAL:";
const char* const timeUnit = "ms";   // two-way time of the time twins

[[noreturn]] void badArgument(const std::string& text) {
  throw EpTypes::BadArgumentsException(text.c_str());
}

[[noreturn]] void noTransform(const std::string& text) {
  throw EpCoordinateService::NoKnownTransformException(text.c_str());
}

bool startsWithNoCase(const std::string& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i] != '\0'; ++i) {
    if (i >= text.size() ||
        std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

bool endsWithNoCase(const std::string& text, const char* suffix) {
  const std::size_t length = std::char_traits<char>::length(suffix);
  return text.size() >= length && startsWithNoCase(text.substr(text.size() - length), suffix);
}

std::string namingRule() {
  return "Coordinate systems are named \"EPSG:<code>\", \"EPSG:<code>+TWT\" (its two-way time twin) "
         "or \"LOCAL:...\" (systems local to a wellbore). ";
}

std::string epsgName(long code, bool time) {
  return "EPSG:" + std::to_string(code) + (time ? timeSuffix : "");
}

// The unit of an axis as an acronym of the catalogue: by its EPSG unit code,
// else by its factor among the units of the expected quantity.
const UnitDefinition* axisUnit(const UnitCatalogue& units, const char* authority, const char* code,
                               double toBase, const std::string& quantity) {
  static const std::map<std::string, std::string> byEpsgCode{
      {"9001", "m"},    {"9002", "ft"},  {"9003", "ftUS"}, {"9036", "km"},
      {"9101", "rad"},  {"9102", "dega"}, {"9122", "dega"}, {"9105", "gon"}};
  if (authority != nullptr && code != nullptr && std::string(authority) == "EPSG") {
    const auto known = byEpsgCode.find(code);
    if (known != byEpsgCode.end()) {
      return units.find(known->second);
    }
  }
  for (const auto& unit : units.units()) {
    if (unit.quantity == quantity && unit.offset == 0.0 && std::fabs(unit.factor - toBase) <= 1e-12 * toBase) {
      return &unit;
    }
  }
  return nullptr;
}

} // namespace

struct CoordinateSystems::Impl {
  // One EPSG system as the service uses it: its horizontal part in two
  // dimensions, and what the depth-domain name reports.
  struct Epsg {
    PjPtr horizontal;
    SystemInfo depth;
  };

  explicit Impl(const UnitCatalogue& catalogue) : units(catalogue), context(proj_context_create()) {
    if (!context) {
      throw std::runtime_error("Cannot create a PROJ context. ");
    }
    // PROJ reports through this log; keep its last error for our texts
    // rather than letting it write to the service's standard error.
    proj_log_level(context.get(), PJ_LOG_ERROR);
    proj_log_func(context.get(), &lastProjMessage, [](void* data, int level, const char* message) {
      if (level <= PJ_LOG_ERROR && message != nullptr) {
        *static_cast<std::string*>(data) = message;
      }
    });
  }

  // Why PROJ failed, as a sentence; "" when it did not say.
  std::string projReason(int error = 0) {
    std::string reason = lastProjMessage;
    if (reason.empty() && error != 0) {
      const char* text = proj_context_errno_string(context.get(), error);
      reason = text != nullptr ? text : "";
    }
    lastProjMessage.clear();
    return reason.empty() ? std::string() : " (PROJ: " + reason + ")";
  }

  // Call with the lock held. BadArgumentsException for a code PROJ does not
  // know as a horizontal system with units of our catalogue.
  const Epsg& epsg(long code) {
    const auto cached = systems.find(code);
    if (cached != systems.end()) {
      return cached->second;
    }
    const std::string name = epsgName(code, false);
    lastProjMessage.clear();
    PjPtr crs(proj_create_from_database(context.get(), "EPSG", std::to_string(code).c_str(), PJ_CATEGORY_CRS,
                                        0, nullptr));
    if (!crs) {
      lastProjMessage.clear();
      badArgument("Unknown coordinate system '" + name + "': the EPSG registry has no coordinate reference "
                  "system with code " + std::to_string(code) + ". ");
    }
    PjPtr horizontal;
    PjPtr vertical;
    const PJ_TYPE type = proj_get_type(crs.get());
    switch (type) {
    case PJ_TYPE_COMPOUND_CRS:
      horizontal.reset(proj_crs_get_sub_crs(context.get(), crs.get(), 0));
      vertical.reset(proj_crs_get_sub_crs(context.get(), crs.get(), 1));
      break;
    case PJ_TYPE_GEOGRAPHIC_2D_CRS:
    case PJ_TYPE_GEOGRAPHIC_3D_CRS:
    case PJ_TYPE_PROJECTED_CRS:
      horizontal.reset(proj_clone(context.get(), crs.get()));
      break;
    default:
      lastProjMessage.clear();
      badArgument("Coordinate system '" + name + "' (" + proj_get_name(crs.get()) +
                  ") is not a horizontal system; the service takes geographic, projected and compound "
                  "EPSG systems. ");
    }
    if (horizontal && axisCount(horizontal.get()) == 3) {
      horizontal.reset(proj_crs_demote_to_2D(context.get(), nullptr, horizontal.get()));
    }
    if (!horizontal || axisCount(horizontal.get()) != 2) {
      badArgument("Coordinate system '" + name + "' (" + proj_get_name(crs.get()) +
                  ") has no two-dimensional horizontal part" + projReason() + ". ");
    }

    const bool geographic = proj_get_type(horizontal.get()) != PJ_TYPE_PROJECTED_CRS;
    const UnitDefinition* hUnit = unitOf(horizontal.get(), geographic ? "angle" : "length", name);
    const UnitDefinition* vUnit = nullptr;
    if (vertical) {
      vUnit = unitOf(vertical.get(), "length", name);
    } else {
      vUnit = geographic ? units.find("m") : hUnit;
    }

    Epsg entry;
    entry.horizontal = std::move(horizontal);
    entry.depth.name = name;
    entry.depth.epsgCode = code;
    entry.depth.isTimeSystem = false;
    entry.depth.horizontalUnit = hUnit->acronym;
    entry.depth.verticalUnit = vUnit->acronym;
    entry.depth.description = proj_get_name(crs.get());
    return systems.emplace(code, std::move(entry)).first->second;
  }

  int axisCount(PJ* crs) {
    PjPtr cs(proj_crs_get_coordinate_system(context.get(), crs));
    return cs ? proj_cs_get_axis_count(context.get(), cs.get()) : -1;
  }

  const UnitDefinition* unitOf(PJ* crs, const std::string& quantity, const std::string& name) {
    PjPtr cs(proj_crs_get_coordinate_system(context.get(), crs));
    const char* unitName = nullptr;
    const char* authority = nullptr;
    const char* code = nullptr;
    double toBase = 0.0;
    if (!cs || !proj_cs_get_axis_info(context.get(), cs.get(), 0, nullptr, nullptr, nullptr, &toBase,
                                      &unitName, &authority, &code)) {
      badArgument("Cannot read the axes of coordinate system '" + name + "'" + projReason() + ". ");
    }
    const UnitDefinition* unit = axisUnit(units, authority, code, toBase, quantity);
    if (unit == nullptr) {
      badArgument("Coordinate system '" + name + "' measures its axes in '" + (unitName ? unitName : "?") +
                  "', a unit the service's unit catalogue lacks. ");
    }
    return unit;
  }

  // Call with the lock held: the transform between two EPSG systems.
  PJ* transformer(long from, long to) {
    const auto key = std::make_pair(from, to);
    const auto cached = transforms.find(key);
    if (cached != transforms.end()) {
      return cached->second.get();
    }
    const Epsg& source = epsg(from);
    const Epsg& target = epsg(to);
    lastProjMessage.clear();
    PjPtr raw(proj_create_crs_to_crs_from_pj(context.get(), source.horizontal.get(), target.horizontal.get(),
                                             nullptr, nullptr));
    PjPtr normalized;
    if (raw) {
      // x = easting or longitude, y = northing or latitude, whatever the
      // registry's axis order.
      normalized.reset(proj_normalize_for_visualization(context.get(), raw.get()));
    }
    if (!normalized) {
      noTransform("PROJ cannot build a transform from " + epsgName(from, false) + " to " + epsgName(to, false) +
                  projReason(proj_context_errno(context.get())) + ". ");
    }
    return transforms.emplace(key, std::move(normalized)).first->second.get();
  }

  void registerLocal(const std::string& name, const LocalSystem& system) {
    const std::size_t prefix = std::char_traits<char>::length(localPrefix);
    if (name.size() <= prefix || name.compare(0, prefix, localPrefix) != 0) {
      badArgument("A local coordinate system's name must start with \"LOCAL:\"; '" + name + "' does not. ");
    }
    const UnitDefinition* horizontal = units.find(system.horizontalUnit);
    const UnitDefinition* vertical = units.find(system.verticalUnit);
    if (horizontal == nullptr || horizontal->quantity != "length") {
      badArgument("Local coordinate system '" + name + "': the horizontal unit '" + system.horizontalUnit +
                  "' is not a unit of length. ");
    }
    const char* verticalQuantity = system.isTimeSystem ? "time" : "length";
    if (vertical == nullptr || vertical->quantity != verticalQuantity) {
      badArgument("Local coordinate system '" + name + "': the vertical unit '" + system.verticalUnit +
                  "' is not a unit of " + verticalQuantity + ". ");
    }
    SystemInfo info;
    info.name = name;
    info.epsgCode = 0;
    info.isTimeSystem = system.isTimeSystem;
    info.horizontalUnit = horizontal->acronym;
    info.verticalUnit = vertical->acronym;
    info.description = system.description;

    std::lock_guard<std::mutex> lock(mutex);
    const auto [at, inserted] = locals.emplace(name, info);
    if (!inserted && (at->second.isTimeSystem != info.isTimeSystem ||
                      at->second.horizontalUnit != info.horizontalUnit ||
                      at->second.verticalUnit != info.verticalUnit)) {
      badArgument("Local coordinate system '" + name + "' is already registered with other units (" +
                  at->second.horizontalUnit + ", " + at->second.verticalUnit + "). ");
    }
  }

  const UnitCatalogue& units;
  ContextPtr context;              // declared before every PJ: destroyed after them
  std::string lastProjMessage;
  std::mutex mutex;                // guards the context and everything below
  std::map<long, Epsg> systems;
  std::map<std::pair<long, long>, PjPtr> transforms;
  std::map<std::string, SystemInfo> locals;
  LocalResolver resolver;
};

CoordinateSystems::CoordinateSystems(const UnitCatalogue& units) : m_impl(std::make_unique<Impl>(units)) {}

CoordinateSystems::~CoordinateSystems() {
  // The built transforms and systems go before the context they were made in.
  m_impl->transforms.clear();
  m_impl->systems.clear();
}

SystemInfo CoordinateSystems::lookup(const std::string& name) const {
  if (name.compare(0, std::char_traits<char>::length(localPrefix), localPrefix) == 0) {
    LocalResolver resolver;
    {
      std::lock_guard<std::mutex> lock(m_impl->mutex);
      const auto found = m_impl->locals.find(name);
      if (found != m_impl->locals.end()) {
        return found->second;
      }
      resolver = m_impl->resolver;
    }
    // Asked without the lock: the resolver may read the store and register.
    std::optional<LocalSystem> resolved;
    if (resolver) {
      resolved = resolver(name);
    }
    if (!resolved) {
      badArgument("Unknown coordinate system '" + name + "': no such local system is registered. ");
    }
    m_impl->registerLocal(name, *resolved);
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->locals.at(name);
  }

  if (!startsWithNoCase(name, "EPSG:")) {
    badArgument("Unknown coordinate system '" + name + "'. " + namingRule());
  }
  const bool time = endsWithNoCase(name, timeSuffix);
  const std::string digits = name.substr(5, name.size() - 5 - (time ? std::char_traits<char>::length(timeSuffix) : 0));
  long code = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
  if (digits.empty() || digits.size() > 9 || error != std::errc() || end != digits.data() + digits.size() ||
      code <= 0) {
    badArgument("Unknown coordinate system '" + name + "': '" + digits + "' is not an EPSG code. " + namingRule());
  }
  std::lock_guard<std::mutex> lock(m_impl->mutex);
  SystemInfo info = m_impl->epsg(code).depth;
  if (time) {
    info.name = epsgName(code, true);
    info.isTimeSystem = true;
    info.verticalUnit = timeUnit;
  }
  return info;
}

bool CoordinateSystems::isKnown(const std::string& name) const {
  try {
    lookup(name);
    return true;
  } catch (const EpTypes::BadArgumentsException&) {
    return false;
  }
}

void CoordinateSystems::registerLocal(const std::string& name, const LocalSystem& system) {
  m_impl->registerLocal(name, system);
}

void CoordinateSystems::setLocalResolver(LocalResolver resolver) {
  std::lock_guard<std::mutex> lock(m_impl->mutex);
  m_impl->resolver = std::move(resolver);
}

double CoordinateSystems::pointScaleFactor(const std::string& name, double x, double y) const {
  SystemInfo info;
  try {
    info = lookup(name);
  } catch (const EpTypes::BadArgumentsException& error) {
    noTransform(error.reason.in());
  }
  if (info.epsgCode == 0) {
    noTransform("A system local to a wellbore has no projection to take a scale factor from ('" + name + "'). ");
  }
  std::lock_guard<std::mutex> lock(m_impl->mutex);
  const Impl::Epsg& system = m_impl->epsg(info.epsgCode);
  if (proj_get_type(system.horizontal.get()) != PJ_TYPE_PROJECTED_CRS) {
    return 1.0;
  }
  PJ_CONTEXT* context = m_impl->context.get();
  const std::string cannot = "PROJ cannot take the scale factor of " + info.name + " at (" + std::to_string(x) +
                             ", " + std::to_string(y) + ")";
  // proj_factors wants the point as longitude and latitude of the
  // projection's own geographic system, in radians.
  PjPtr geographic(proj_crs_get_geodetic_crs(context, system.horizontal.get()));
  PjPtr raw(geographic ? proj_create_crs_to_crs_from_pj(context, system.horizontal.get(), geographic.get(),
                                                        nullptr, nullptr)
                       : nullptr);
  PjPtr inverse(raw ? proj_normalize_for_visualization(context, raw.get()) : nullptr);
  if (!inverse) {
    noTransform(cannot + m_impl->projReason(proj_context_errno(context)) + ". ");
  }
  const PJ_COORD lonLat = proj_trans(inverse.get(), PJ_FWD, proj_coord(x, y, 0.0, HUGE_VAL));
  if (!std::isfinite(lonLat.lp.lam) || !std::isfinite(lonLat.lp.phi)) {
    noTransform(cannot + m_impl->projReason(proj_errno(inverse.get())) + ". ");
  }
  const PJ_FACTORS factors = proj_factors(
      system.horizontal.get(), proj_coord(proj_torad(lonLat.lp.lam), proj_torad(lonLat.lp.phi), 0.0, 0.0));
  // Conformal projections scale alike in every direction; for others the
  // areal scale's root is the mean point scale.
  const double scale = std::sqrt(factors.areal_scale);
  if (!std::isfinite(scale) || scale <= 0.0) {
    noTransform(cannot + m_impl->projReason(proj_context_errno(context)) + ". ");
  }
  return scale;
}

void CoordinateSystems::transform(const std::string& from, const std::string& to, std::vector<Point>& points) const {
  SystemInfo source;
  SystemInfo target;
  try {
    source = lookup(from);
    target = lookup(to);
  } catch (const EpTypes::BadArgumentsException& error) {
    noTransform(error.reason.in());
  }
  if (source.name == target.name) {
    return;
  }
  const std::string between = "No transform is known from '" + source.name + "' to '" + target.name + "': ";
  if (source.epsgCode == 0 || target.epsgCode == 0) {
    noTransform(between + "a system local to a wellbore has no transform to any other system. ");
  }
  if (source.isTimeSystem != target.isTimeSystem) {
    noTransform(between + "one is in two-way time and the other in depth; converting between them needs a "
                          "velocity function. ");
  }
  if (source.epsgCode == target.epsgCode || points.empty()) {
    return;
  }

  std::vector<Point> result(points);
  std::lock_guard<std::mutex> lock(m_impl->mutex);
  PJ* transformer = m_impl->transformer(source.epsgCode, target.epsgCode);
  for (std::size_t i = 0; i < result.size(); ++i) {
    Point& point = result[i];
    // No epoch: PROJ takes the transform's own.
    const PJ_COORD in = proj_coord(point.x, point.y, 0.0, HUGE_VAL);
    proj_errno_reset(transformer);
    m_impl->lastProjMessage.clear();
    const PJ_COORD out = proj_trans(transformer, PJ_FWD, in);
    if (!std::isfinite(out.xy.x) || !std::isfinite(out.xy.y) || !std::isfinite(point.x) ||
        !std::isfinite(point.y)) {
      const int error = proj_errno(transformer);
      noTransform("PROJ cannot transform point " + std::to_string(i) + " (" + std::to_string(point.x) + ", " +
                  std::to_string(point.y) + ") from " + source.name + " to " + target.name +
                  m_impl->projReason(error) + ". ");
    }
    point.x = out.xy.x;
    point.y = out.xy.y;   // z is carried unchanged
  }
  points.swap(result);
}

} // namespace kelwelld
