#include "store/SampleChunks.h"

#include <algorithm>
#include <optional>

#include "core/RemoteErrors.h"

namespace kelwelld {

namespace {

constexpr const char* table = "sample_chunks";
constexpr const char* bytesColumn = "bytes";

struct LastChunk {
  long long row = 0;
  std::size_t chunk = 0;
  std::size_t first = 0;
  std::size_t count = 0;
};

} // namespace

SampleChunks::SampleChunks(std::string owner, std::string series)
    : m_owner(std::move(owner)), m_series(std::move(series)) {}

std::string SampleChunks::what() const { return "the samples " + quoted(m_series) + " of " + m_owner; }

void SampleChunks::insertChunks(Transaction& transaction, std::size_t chunk, std::size_t firstIndex,
                                const float* samples, std::size_t count) const {
  const std::string attempted = "Could not write " + what();
  for (std::size_t done = 0; done < count; ++chunk) {
    const std::size_t n = std::min(samplesPerChunk, count - done);
    Statement insert(transaction,
                     "INSERT INTO sample_chunks(owner_id, series, chunk, first_index, sample_count, bytes) "
                     "VALUES (?, ?, ?, ?, ?, ?)",
                     Caching::Kept);
    insert.describe(attempted)
        .bind(1, m_owner)
        .bind(2, m_series)
        .bind(3, static_cast<long long>(chunk))
        .bind(4, static_cast<long long>(firstIndex + done))
        .bind(5, static_cast<long long>(n))
        .bindBlob(6, samples + done, n * sizeof(float))
        .run();
    done += n;
  }
}

void SampleChunks::write(Transaction& transaction, const float* samples, std::size_t count) const {
  remove(transaction);
  insertChunks(transaction, 0, 0, samples, count);
}

void SampleChunks::append(Transaction& transaction, const float* samples, std::size_t count) const {
  const std::string attempted = "Could not append to " + what();
  std::optional<LastChunk> last;
  {
    Statement query(transaction,
                    "SELECT id, chunk, first_index, sample_count FROM sample_chunks "
                    "WHERE owner_id = ? AND series = ? ORDER BY chunk DESC LIMIT 1",
                    Caching::Kept);
    query.describe(attempted).bind(1, m_owner).bind(2, m_series);
    if (query.step())
      last = LastChunk{query.integer(0), static_cast<std::size_t>(query.integer(1)),
                       static_cast<std::size_t>(query.integer(2)), static_cast<std::size_t>(query.integer(3))};
  }
  if (!last) {
    insertChunks(transaction, 0, 0, samples, count);
    return;
  }
  std::size_t used = 0;
  if (last->count < samplesPerChunk && count > 0) {
    // A blob keeps its size under streaming writes: the partly filled last
    // chunk is rewritten whole with the new samples after its own.
    used = std::min(samplesPerChunk - last->count, count);
    std::vector<float> filled(last->count + used);
    transaction.connection().readBlob(table, bytesColumn, last->row, 0, filled.data(),
                                      last->count * sizeof(float), attempted);
    std::copy(samples, samples + used, filled.begin() + static_cast<std::ptrdiff_t>(last->count));
    Statement update(transaction, "UPDATE sample_chunks SET sample_count = ?, bytes = ? WHERE id = ?",
                     Caching::Kept);
    update.describe(attempted)
        .bind(1, static_cast<long long>(filled.size()))
        .bindBlob(2, filled.data(), filled.size() * sizeof(float))
        .bind(3, last->row)
        .run();
  }
  insertChunks(transaction, last->chunk + 1, last->first + last->count + used, samples + used, count - used);
}

std::size_t SampleChunks::count(Scope& scope) const {
  Statement query(scope,
                  "SELECT COALESCE(SUM(sample_count), 0) FROM sample_chunks WHERE owner_id = ? AND series = ?",
                  Caching::Kept);
  query.describe("Could not read " + what()).bind(1, m_owner).bind(2, m_series);
  return query.step() ? static_cast<std::size_t>(query.integer(0)) : 0;
}

void SampleChunks::read(Scope& scope, std::size_t first, std::size_t count, float* into) const {
  const std::string attempted = "Could not read " + what();
  const std::size_t stored = this->count(scope);
  if (first > stored || count > stored - first)
    throwStore(attempted, "the samples " + std::to_string(first) + " to " + std::to_string(first + count) +
                              " (exclusive) reach past the " + std::to_string(stored) + " stored");
  if (count == 0) return;
  const std::size_t end = first + count;
  Statement chunks(scope,
                   "SELECT id, first_index, sample_count FROM sample_chunks "
                   "WHERE owner_id = ? AND series = ? AND first_index < ? AND first_index + sample_count > ? "
                   "ORDER BY chunk",
                   Caching::Kept);
  chunks.describe(attempted)
      .bind(1, m_owner)
      .bind(2, m_series)
      .bind(3, static_cast<long long>(end))
      .bind(4, static_cast<long long>(first));
  while (chunks.step()) {
    const auto chunkFirst = static_cast<std::size_t>(chunks.integer(1));
    const auto chunkCount = static_cast<std::size_t>(chunks.integer(2));
    const std::size_t from = std::max(first, chunkFirst);
    const std::size_t to = std::min(end, chunkFirst + chunkCount);
    scope.connection().readBlob(table, bytesColumn, chunks.integer(0), (from - chunkFirst) * sizeof(float),
                                into + (from - first), (to - from) * sizeof(float), attempted);
  }
}

std::vector<float> SampleChunks::readAll(Scope& scope) const {
  std::vector<float> samples(count(scope));
  read(scope, 0, samples.size(), samples.data());
  return samples;
}

void SampleChunks::remove(Transaction& transaction) const {
  Statement remove(transaction, "DELETE FROM sample_chunks WHERE owner_id = ? AND series = ?", Caching::Kept);
  remove.describe("Could not delete " + what()).bind(1, m_owner).bind(2, m_series).run();
}

void SampleChunks::removeAllOf(Transaction& transaction, const std::string& owner) {
  Statement remove(transaction, "DELETE FROM sample_chunks WHERE owner_id = ?", Caching::Kept);
  remove.describe("Could not delete the samples of " + owner).bind(1, owner).run();
}

} // namespace kelwelld
