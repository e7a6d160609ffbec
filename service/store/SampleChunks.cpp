#include "store/SampleChunks.h"

#include <algorithm>
#include <optional>

#include "core/RemoteErrors.h"

namespace kelwelld {

namespace {

constexpr const char* table = "sample_chunks";
constexpr const char* bytesColumn = "bytes";

} // namespace

SampleChunks::SampleChunks(std::string owner, std::string series)
    : m_owner(std::move(owner)), m_series(std::move(series)) {}

std::string SampleChunks::what() const { return "the samples " + quoted(m_series) + " of " + m_owner; }

void SampleChunks::insertChunks(Transaction& transaction, std::size_t chunk, std::size_t firstIndex,
                                const float* samples, std::size_t count, Room room) const {
  const std::string attempted = "Could not write " + what();
  std::vector<float> padded;
  for (std::size_t done = 0; done < count; ++chunk) {
    const std::size_t n = std::min(samplesPerChunk, count - done);
    const float* bytes = samples + done;
    std::size_t capacity = n;
    if (room == Room::ForAppends && n < samplesPerChunk) {
      // The last chunk of an append keeps room for the next appends.
      capacity = std::min(samplesPerChunk, 2 * n);
      padded.assign(capacity, 0.0f);
      std::copy(bytes, bytes + n, padded.begin());
      bytes = padded.data();
    }
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
        .bindBlob(6, bytes, capacity * sizeof(float))
        .run();
    done += n;
  }
}

std::optional<SampleChunks::LastChunk> SampleChunks::lastChunk(Scope& scope, const std::string& attempted) const {
  Statement query(scope,
                  "SELECT id, chunk, first_index, sample_count FROM sample_chunks "
                  "WHERE owner_id = ? AND series = ? ORDER BY chunk DESC LIMIT 1",
                  Caching::Kept);
  query.describe(attempted).bind(1, m_owner).bind(2, m_series);
  if (!query.step()) return std::nullopt;
  return LastChunk{query.integer(0), static_cast<std::size_t>(query.integer(1)),
                   static_cast<std::size_t>(query.integer(2)), static_cast<std::size_t>(query.integer(3))};
}

void SampleChunks::write(Transaction& transaction, const float* samples, std::size_t count) const {
  remove(transaction);
  insertChunks(transaction, 0, 0, samples, count, Room::Exact);
}

void SampleChunks::append(Transaction& transaction, const float* samples, std::size_t count) const {
  const std::string attempted = "Could not append to " + what();
  const std::optional<LastChunk> last = lastChunk(transaction, attempted);
  if (!last) {
    insertChunks(transaction, 0, 0, samples, count, Room::ForAppends);
    return;
  }
  std::size_t used = 0;
  if (last->count < samplesPerChunk && count > 0) {
    used = std::min(samplesPerChunk - last->count, count);
    const std::size_t filled = last->count + used;
    Connection& connection = transaction.connection();
    const std::size_t room = connection.blobBytes(table, bytesColumn, last->row, attempted) / sizeof(float);
    if (filled <= room) {
      // The new samples go into the room the chunk kept: an append writes
      // what it adds, whatever the series holds already.
      connection.writeBlob(table, bytesColumn, last->row, last->count * sizeof(float), samples,
                           used * sizeof(float), attempted);
      Statement update(transaction, "UPDATE sample_chunks SET sample_count = ? WHERE id = ?", Caching::Kept);
      update.describe(attempted).bind(1, static_cast<long long>(filled)).bind(2, last->row).run();
    } else {
      // A blob keeps its size under streaming writes: the chunk is rewritten
      // with twice the room it needs now, so that a chunk filled by many
      // small appends is rewritten only a few times.
      std::vector<float> grown(std::min(samplesPerChunk, 2 * filled), 0.0f);
      connection.readBlob(table, bytesColumn, last->row, 0, grown.data(), last->count * sizeof(float), attempted);
      std::copy(samples, samples + used, grown.begin() + static_cast<std::ptrdiff_t>(last->count));
      Statement update(transaction, "UPDATE sample_chunks SET sample_count = ?, bytes = ? WHERE id = ?",
                       Caching::Kept);
      update.describe(attempted)
          .bind(1, static_cast<long long>(filled))
          .bindBlob(2, grown.data(), grown.size() * sizeof(float))
          .bind(3, last->row)
          .run();
    }
  }
  insertChunks(transaction, last->chunk + 1, last->first + last->count + used, samples + used, count - used,
               Room::ForAppends);
}

std::size_t SampleChunks::count(Scope& scope) const {
  const std::optional<LastChunk> last = lastChunk(scope, "Could not read " + what());
  return last ? last->first + last->count : 0;
}

void SampleChunks::read(Scope& scope, std::size_t first, std::size_t count, float* into) const {
  const std::string attempted = "Could not read " + what();
  const std::size_t stored = this->count(scope);
  if (first > stored || count > stored - first)
    throwStore(attempted, "the samples " + std::to_string(first) + " to " + std::to_string(first + count) +
                              " (exclusive) reach past the " + std::to_string(stored) + " stored");
  if (count == 0) return;
  const std::size_t end = first + count;
  // No chunk holds more than samplesPerChunk samples: the one holding
  // `first` starts after first - samplesPerChunk, and the index on
  // first_index finds the chunks of the range without visiting the others.
  Statement chunks(scope,
                   "SELECT id, first_index, sample_count FROM sample_chunks "
                   "WHERE owner_id = ? AND series = ? AND first_index < ? AND first_index > ? "
                   "ORDER BY first_index",
                   Caching::Kept);
  chunks.describe(attempted)
      .bind(1, m_owner)
      .bind(2, m_series)
      .bind(3, static_cast<long long>(end))
      .bind(4, static_cast<long long>(first) - static_cast<long long>(samplesPerChunk));
  while (chunks.step()) {
    const auto chunkFirst = static_cast<std::size_t>(chunks.integer(1));
    const auto chunkCount = static_cast<std::size_t>(chunks.integer(2));
    if (chunkFirst + chunkCount <= first) continue;
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
