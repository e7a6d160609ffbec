// The guard's view of a GIOP byte stream: where headers start and which
// sizes it refuses, however the stream is cut into reads.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "net/GiopGuard.h"

using kelwelld::net::GiopFraming;
using Bytes = std::vector<unsigned char>;

namespace {

constexpr std::uint64_t limit = 1000;

Bytes header(std::uint32_t bodySize, bool littleEndian = false, const char* magic = "GIOP") {
  Bytes bytes{static_cast<unsigned char>(magic[0]), static_cast<unsigned char>(magic[1]),
              static_cast<unsigned char>(magic[2]), static_cast<unsigned char>(magic[3]),
              1, 2, static_cast<unsigned char>(littleEndian ? 1 : 0), 0, 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    bytes[littleEndian ? 11 - i : 8 + i] = static_cast<unsigned char>(bodySize >> (8 * (3 - i)));
  return bytes;
}

Bytes message(std::uint32_t bodySize, unsigned char filler = 0) {
  Bytes bytes = header(bodySize);
  bytes.resize(bytes.size() + bodySize, filler);
  return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Feeds the stream in reads of chunk bytes (0: all at once).
GiopFraming::Verdict follow(const Bytes& stream, std::size_t chunk, GiopFraming& framing) {
  if (chunk == 0) chunk = stream.size();
  GiopFraming::Verdict verdict = framing.verdict();
  for (std::size_t at = 0; at < stream.size(); at += chunk)
    verdict = framing.feed(stream.data() + at, std::min(chunk, stream.size() - at), limit);
  return verdict;
}

} // namespace

TEST(GiopFraming, FollowsHeadersHoweverTheStreamIsCut) {
  using V = GiopFraming::Verdict;
  // A body that looks like a refused header must not be read as one.
  Bytes lookalike = header(8);
  const Bytes inner = header(0xfffffff4);
  lookalike.insert(lookalike.end(), inner.begin(), inner.begin() + 8);
  const struct {
    const char* what;
    Bytes stream;
    V verdict;
    std::uint64_t refusedSize;
  } cases[] = {
      {"messages within the limit", message(10) + message(0) + message(limit - 12), V::Fine, 0},
      {"a header inside a body", lookalike + message(4), V::Fine, 0},
      {"one byte over the limit", message(4) + header(limit - 11), V::Refused, limit + 1},
      {"size that wraps to 0", header(0xfffffff4), V::Refused, 0x100000000},
      {"size that wraps to 0, little-endian", header(0xfffffff4, true), V::Refused, 0x100000000},
      {"size that wraps to 1", header(0xfffffff5, true), V::Refused, 0x100000001},
      {"largest size", header(0xffffffff), V::Refused, 0x10000000b},
      {"wrapping size behind a good message", message(20) + header(0xfffffff4) + message(3), V::Refused,
       0x100000000},
      {"another protocol", Bytes{'G', 'E', 'T', ' ', '/'} + header(0xfffffff4), V::NotGiop, 0},
      {"lost framing: the ORB refuses that itself", message(2) + header(4, false, "JUNK"), V::NotGiop, 0},
  };
  for (const auto& c : cases)
    for (std::size_t chunk : {0, 1, 5, 12, 13, 100}) {
      SCOPED_TRACE(std::string(c.what) + ", reads of " + std::to_string(chunk));
      GiopFraming framing{};
      EXPECT_EQ(follow(c.stream, chunk, framing), c.verdict);
      if (c.verdict == V::Refused) {
        EXPECT_EQ(framing.refusedSize(), c.refusedSize);
      }
      // A verdict is final.
      EXPECT_EQ(framing.feed(message(0).data(), 12, limit), c.verdict);
    }
}

TEST(GiopFraming, TellsWhetherAWholeMessageCameAndWhereTheStreamStands) {
  Bytes partialBody = header(10);
  partialBody.resize(15);
  const struct {
    const char* what;
    Bytes stream;
    bool completed;
    bool between;
  } cases[] = {
      {"nothing yet", {}, false, true},
      {"half a header", Bytes{'G', 'I', 'O', 'P', 1}, false, false},
      {"a header without its body", header(10), false, false},
      {"part of the first body", partialBody, false, false},
      {"a message without a body", message(0), true, true},
      {"a whole message", message(10), true, true},
      {"a message and the next header", message(10) + header(4), true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GiopFraming framing{};
    follow(c.stream, 0, framing);
    EXPECT_EQ(framing.completedMessage(), c.completed);
    EXPECT_EQ(framing.betweenMessages(), c.between);
  }
}
