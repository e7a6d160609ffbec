#include "Kinds.h"

namespace kelwelld::engine {

const char* kindName(DepthKind kind) {
  switch (kind) {
    case DepthKind::MD: return "MD";
    case DepthKind::TVD: return "TVD";
    case DepthKind::TVDSS: return "TVDSS";
    case DepthKind::TVDGL: return "TVDGL";
  }
  return "?";
}

const char* kindName(TimeKind kind) {
  switch (kind) {
    case TimeKind::TWT: return "TWT";
    case TimeKind::OWT: return "OWT";
    case TimeKind::TWT_MSL: return "TWT below MSL";
  }
  return "?";
}

namespace {

// A TVD-based kind counts from a surface `below` metres under either the depth
// datum or mean sea level; relating the two frames needs the datum's elevation.
struct Surface {
  bool fromMsl;
  double below;
};

Surface surfaceOf(DepthKind kind, const VerticalReference& reference) {
  switch (kind) {
    case DepthKind::TVDSS: return {true, 0.0};
    case DepthKind::TVDGL:
      // A ground level or sea floor datum is itself the surface TVDGL counts from.
      if (reference.datum == DepthDatum::GroundLevel || reference.datum == DepthDatum::SeaFloor)
        return {false, 0.0};
      if (isSet(reference.waterDepth) && reference.waterDepth > 0.0) return {true, reference.waterDepth};
      throw EngineError(ErrorKind::ConversionNotSupported,
                        "The ground level elevation is not known (the well has no water depth and the "
                        "wellbore's depth datum is not ground level); it is needed for TVDGL. ");
    default: return {false, 0.0};  // TVD; MD is handled by the path
  }
}

} // namespace

DepthKinds::DepthKinds(const VerticalReference& reference, const DepthPath& path)
    : reference_(reference), path_(path) {}

double DepthKinds::datumElevation() const {
  if (isSet(reference_.elevation)) return reference_.elevation;
  if (reference_.datum == DepthDatum::MeanSeaLevel) return 0.0;
  if (reference_.datum == DepthDatum::SeaFloor && isSet(reference_.waterDepth))
    return -reference_.waterDepth;
  throw EngineError(ErrorKind::ConversionNotSupported,
                    "The elevation of the wellbore's depth datum is not set; it is needed to relate "
                    "depths below the datum to depths below mean sea level. ");
}

double DepthKinds::shiftBetween(DepthKind from, DepthKind to) const {
  if (from == to) return 0.0;
  const Surface a = surfaceOf(from, reference_);
  const Surface b = surfaceOf(to, reference_);
  double shift = a.below - b.below;
  if (a.fromMsl != b.fromMsl) shift += a.fromMsl ? datumElevation() : -datumElevation();
  return shift;
}

double DepthKinds::convert(double value, DepthKind from, DepthKind to) const {
  double out = value;
  convert(&value, &out, 1, from, to);
  return out;
}

void DepthKinds::convert(const double* in, double* out, std::size_t count, DepthKind from,
                         DepthKind to) const {
  if (from == to) {
    for (std::size_t i = 0; i < count; ++i) out[i] = in[i];
    return;
  }
  // Between TVD-based kinds the step is one constant; MD goes through TVD.
  const DepthKind a = from == DepthKind::MD ? DepthKind::TVD : from;
  const DepthKind b = to == DepthKind::MD ? DepthKind::TVD : to;
  const double shift = shiftBetween(a, b);
  for (std::size_t i = 0; i < count; ++i) {
    double value = from == DepthKind::MD ? path_.tvdAtMd(in[i]) : in[i];
    value += shift;
    out[i] = to == DepthKind::MD ? path_.mdAtTvd(value) : value;
  }
}

double TimeKinds::mslShift(TimeKind kind) const {
  if (kind != TimeKind::TWT_MSL) return 0.0;
  if (!isSet(twtOfMsl_))
    throw EngineError(ErrorKind::ConversionNotSupported,
                      "The velocity function's datum is not set; it is needed for two-way time below "
                      "mean sea level. ");
  return twtOfMsl_;
}

double TimeKinds::toTwt(double value, TimeKind from) const {
  if (from == TimeKind::OWT) return 2.0 * value;
  return value + mslShift(from);
}

double TimeKinds::fromTwt(double twt, TimeKind to) const {
  if (to == TimeKind::OWT) return 0.5 * twt;
  return twt - mslShift(to);
}

void TimeKinds::toTwt(const double* in, double* out, std::size_t count, TimeKind from) const {
  const double scale = from == TimeKind::OWT ? 2.0 : 1.0;
  const double shift = mslShift(from);
  for (std::size_t i = 0; i < count; ++i) out[i] = scale * in[i] + shift;
}

} // namespace kelwelld::engine
