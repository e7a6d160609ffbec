// The result model's accessors and the error type.
#include "Las.h"
#include "LasText.h"

#include <array>

namespace kelwell::las {

namespace {

std::string joined(const std::string& file, std::size_t line, const std::string& problem) {
  return line == 0 ? file + ": " + problem : file + ":" + std::to_string(line) + ": " + problem;
}

const Section kNoSection{};
const CurveSet kNoCurveSet{};

}  // namespace

LasError::LasError(std::string file, std::size_t line, std::string problem)
    : std::runtime_error(joined(file, line, problem)),
      file_(std::move(file)),
      line_(line),
      problem_(std::move(problem)) {}

const HeaderItem* Section::find(std::string_view mnemonic) const {
  for (const HeaderItem& item : items) {
    if (text::equalsIgnoreCase(item.mnemonic, mnemonic)) return &item;
  }
  return nullptr;
}

std::size_t Curve::rows() const {
  const std::size_t count = type == SampleType::float64   ? doubles.size()
                            : type == SampleType::float32 ? floats.size()
                                                          : texts.size();
  return elements == 0 ? 0 : count / elements;
}

double Curve::at(std::size_t row, std::size_t element) const {
  const std::size_t i = row * elements + element;
  switch (type) {
    case SampleType::float64: return doubles.at(i);
    case SampleType::float32: return floats.at(i);
    case SampleType::text: break;
  }
  return 0.0;
}

const Curve* CurveSet::find(std::string_view mnemonic) const {
  for (const Curve& curve : curves) {
    if (text::equalsIgnoreCase(curve.mnemonic, mnemonic)) return &curve;
  }
  for (const Curve& curve : curves) {
    if (text::equalsIgnoreCase(curve.writtenMnemonic, mnemonic)) return &curve;
  }
  return nullptr;
}

const Section* LasFile::section(std::string_view name) const {
  for (const Section& s : sections) {
    if (text::equalsIgnoreCase(s.name, name)) return &s;
  }
  return nullptr;
}

namespace {

// Sections are kept under the name they were written with; the kind is in the first letter
// for LAS 1.2 and 2.0 ("~W", "~Well Information") and in the name for LAS 3.0.
const Section* sectionOfKind(const std::vector<Section>& sections, char letter,
                             std::string_view version3Name) {
  for (const Section& s : sections) {
    if (text::equalsIgnoreCase(s.name, version3Name)) return &s;
  }
  for (const Section& s : sections) {
    if (!s.name.empty() && std::toupper(static_cast<unsigned char>(s.name[0])) == letter &&
        s.name.find('_') == std::string::npos) {
      return &s;
    }
  }
  return nullptr;
}

}  // namespace

const Section& LasFile::well() const {
  const Section* s = sectionOfKind(sections, 'W', "Well");
  return s ? *s : kNoSection;
}

const Section& LasFile::parameters() const {
  const Section* s = sectionOfKind(sections, 'P', "Log_Parameter");
  return s ? *s : kNoSection;
}

const CurveSet& LasFile::logs() const {
  for (const CurveSet& set : curveSets) {
    if (text::equalsIgnoreCase(set.name, "Log")) return set;
  }
  return kNoCurveSet;
}

const Curve& LasFile::index() const {
  const CurveSet& set = logs();
  if (set.curves.empty()) throw LasError(path, 0, "the file defines no log curves");
  return set.curves.front();
}

IndexKind LasFile::indexKind() const {
  const CurveSet& set = logs();
  if (set.curves.empty()) return IndexKind::other;
  const Curve& curve = set.curves.front();
  static const std::array<std::string_view, 12> depthUnits = {
      "M", "FT", "F", "FEET", "FOOT", "METER", "METERS", "METRE", "METRES", ".1IN", "0.1IN", "CM"};
  static const std::array<std::string_view, 13> timeUnits = {
      "S", "SEC", "SECS", "SECOND", "SECONDS", "MS", "MSEC", "MIN", "H", "HR", "HOUR", "US", "DAY"};
  const std::string unit = text::upper(text::trim(curve.unit));
  for (std::string_view u : depthUnits) {
    if (unit == u) return IndexKind::depth;
  }
  for (std::string_view u : timeUnits) {
    if (unit == u) return IndexKind::time;
  }
  static const std::array<std::string_view, 6> depthNames = {"DEPT", "DEPTH", "DEP", "MD", "TVD", "TVDSS"};
  static const std::array<std::string_view, 7> timeNames = {"TIME", "TIM", "ETIM", "TWT", "OWT", "DATE", "DATETIME"};
  const std::string name = text::upper(curve.writtenMnemonic);
  for (std::string_view n : depthNames) {
    if (name == n) return IndexKind::depth;
  }
  for (std::string_view n : timeNames) {
    if (name == n) return IndexKind::time;
  }
  return IndexKind::other;
}

}  // namespace kelwell::las
