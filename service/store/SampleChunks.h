// Sample series stored as chunks of binary floats: the bulk data of log
// traces, velocity functions and wellbore paths. A series is named by its
// owner (an entity id, "wellbore:7") and a series name ("md", "values"); it
// is cut into chunks of samplesPerChunk floats, each one row with its chunk
// number, its first sample index, its sample count and its bytes (native
// byte order); only the last chunk may hold fewer, and its bytes may run
// past its samples (room for appends). Reads stream the bytes of just the
// chunks they need straight into the caller's buffer; an append writes the
// samples it adds (and now and then grows the last chunk's room), never in
// proportion to what is stored.
//
// Writes run inside the caller's Transaction, so a series changes together
// with the entity it belongs to, or not at all; reads run in any Scope.
#ifndef KELWELLD_SAMPLECHUNKS_H
#define KELWELLD_SAMPLECHUNKS_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "store/Store.h"

namespace kelwelld {

class SampleChunks {
public:
  // 64 Ki floats: 256 KiB a row, large enough that a row's overhead is
  // negligible, small enough that a range read touches little more than it
  // needs.
  static constexpr std::size_t samplesPerChunk = 64 * 1024;

  SampleChunks(std::string owner, std::string series);

  // Replaces the whole series with count samples.
  void write(Transaction& transaction, const float* samples, std::size_t count) const;
  // Adds count samples after the last one; fills a partly filled last chunk first.
  void append(Transaction& transaction, const float* samples, std::size_t count) const;
  // The number of samples stored (0 for a series never written).
  std::size_t count(Scope& scope) const;
  // Samples [first, first + count) into into. StoreException when the range
  // reaches past the end of the series.
  void read(Scope& scope, std::size_t first, std::size_t count, float* into) const;
  std::vector<float> readAll(Scope& scope) const;
  // Deletes the series (nothing when it does not exist).
  void remove(Transaction& transaction) const;
  // Deletes every series of owner.
  static void removeAllOf(Transaction& transaction, const std::string& owner);

private:
  struct LastChunk {
    long long row = 0;
    std::size_t chunk = 0;
    std::size_t first = 0;
    std::size_t count = 0;
  };
  // Chunks written whole are as long as their samples; the last chunk an
  // append writes keeps room (up to twice its samples) for later appends.
  enum class Room { Exact, ForAppends };

  void insertChunks(Transaction& transaction, std::size_t chunk, std::size_t firstIndex, const float* samples,
                    std::size_t count, Room room) const;
  std::optional<LastChunk> lastChunk(Scope& scope, const std::string& attempted) const;
  std::string what() const;

  std::string m_owner;
  std::string m_series;
};

} // namespace kelwelld

#endif
