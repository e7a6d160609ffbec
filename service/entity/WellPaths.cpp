#include "entity/WellPaths.h"

#include <cstring>
#include <map>
#include <mutex>

#include "store/SampleChunks.h"

namespace kelwelld {

namespace {

// Sample series hold floats; a path's values are kept exactly, each double's
// eight bytes as two floats' (the series stores the bytes as they are), so a
// measured depth asked for at the last station finds the station.
std::vector<float> split(const std::vector<double>& values) {
  static_assert(sizeof(double) == 2 * sizeof(float));
  std::vector<float> pairs(2 * values.size());
  if (!values.empty()) std::memcpy(pairs.data(), values.data(), values.size() * sizeof(double));
  return pairs;
}

std::vector<double> join(const std::vector<float>& pairs) {
  std::vector<double> values(pairs.size() / 2);
  if (!values.empty()) std::memcpy(values.data(), pairs.data(), values.size() * sizeof(double));
  return values;
}

// The series of a path; "path.source" holds one sample, 0 stations, 1 positions.
const char* const kSource = "path.source";
const char* const kColumns[] = {"path.md", "path.second", "path.third", "path.fourth"};

std::vector<double> StoredPath::*const kMembers[] = {&StoredPath::md, &StoredPath::second, &StoredPath::third,
                                                     &StoredPath::fourth};

std::mutex storelessMutex;
std::map<std::string, StoredPath>& storelessPaths() {
  static std::map<std::string, StoredPath> paths;
  return paths;
}

bool isStoreless(const std::string& id) { return id.rfind("storeless-", 0) == 0; }

} // namespace

std::optional<StoredPath> loadPath(Store& store, const std::string& wellboreId) {
  if (isStoreless(wellboreId)) {
    std::lock_guard<std::mutex> lock(storelessMutex);
    const auto found = storelessPaths().find(wellboreId);
    if (found == storelessPaths().end()) return std::nullopt;
    return found->second;
  }
  Reader reader(store);
  const std::vector<float> source = SampleChunks(wellboreId, kSource).readAll(reader);
  if (source.empty()) return std::nullopt;
  StoredPath path;
  path.source = source[0] == 0.0f ? StoredPath::Source::Stations : StoredPath::Source::Positions;
  for (std::size_t i = 0; i < 4; ++i) path.*kMembers[i] = join(SampleChunks(wellboreId, kColumns[i]).readAll(reader));
  return path;
}

std::optional<engine::WellPath> loadWellPath(Store& store, const std::string& wellboreId, short calculationMethod) {
  const auto stored = loadPath(store, wellboreId);
  if (!stored) return std::nullopt;
  if (stored->source == StoredPath::Source::Stations) {
    engine::SurveyOptions options;
    options.method = static_cast<engine::CalculationMethod>(calculationMethod);
    return engine::WellPath::fromSurvey({stored->md, stored->second, stored->third}, options);
  }
  return engine::WellPath::fromPositions({stored->md, stored->second, stored->third, stored->fourth});
}

void writePath(Transaction* transaction, const std::string& wellboreId, const StoredPath& path) {
  if (transaction == nullptr) {
    std::lock_guard<std::mutex> lock(storelessMutex);
    storelessPaths()[wellboreId] = path;
    return;
  }
  const float source = path.source == StoredPath::Source::Stations ? 0.0f : 1.0f;
  SampleChunks(wellboreId, kSource).write(*transaction, &source, 1);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::vector<float> pairs = split(path.*kMembers[i]);
    SampleChunks(wellboreId, kColumns[i]).write(*transaction, pairs.data(), pairs.size());
  }
}

} // namespace kelwelld
