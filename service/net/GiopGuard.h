// A guard in front of the ORB's message reader.
//
// The ORB adds the 12 header bytes to the size a GIOP header announces in
// 32 bits; a size of 0xfffffff4 or more wraps to a few bytes, and the
// ORB's reader then splits the same buffer again and again, allocating a
// new buffer each time, until memory runs out. No ORB setting reaches that
// code: it runs before the message limit is checked. The guard follows
// every GIOP byte stream the process receives, header by header, and closes
// a connection whose next header announces a message over the limit, before
// the ORB sees those bytes.
//
// Since it sees every connection the ORB accepts, the guard also bounds
// them: how many may be open (limitConnections) and how long one may pause
// inside a message (limitStalls). It does this by defining recv, accept and
// close in the executable, ahead of the C library's; it cannot see inside
// TLS, where the ORB reads through OpenSSL.
#ifndef KELWELLD_NET_GIOPGUARD_H
#define KELWELLD_NET_GIOPGUARD_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelwelld::net {

// The framing of one received byte stream: where the next GIOP header
// starts, and whether the headers so far were acceptable. All zero is a
// fresh stream, so a table of them needs no construction.
class GiopFraming {
public:
  enum class Verdict : std::uint8_t { Fine, NotGiop, Refused };

  // Follows the next bytes of the stream. Refused once a header announces
  // a message (header included) of more than limit bytes; NotGiop when the
  // stream does not start with a GIOP header (someone else's protocol, left
  // alone). Either is final.
  Verdict feed(const unsigned char* data, std::size_t size, std::uint64_t limit);

  Verdict verdict() const { return m_verdict; }
  // Whether a whole message has arrived, and whether the stream now stands
  // between two messages.
  bool completedMessage() const { return m_completed; }
  bool betweenMessages() const { return m_bodyLeft == 0 && m_headerBytes == 0; }
  // The size the refused header announced, header included.
  std::uint64_t refusedSize() const { return m_refusedSize; }

private:
  unsigned char m_header[12];
  std::uint8_t m_headerBytes;     // of the header being received
  bool m_seenHeader;              // a whole header has passed
  bool m_completed;               // a whole message has passed
  Verdict m_verdict;
  std::uint64_t m_bodyLeft;       // bytes of the current message still to come
  std::uint64_t m_refusedSize;
};

// The message size a GIOP header announces, header included, in 64 bits
// (so it cannot wrap); 0 for a header without the GIOP magic.
std::uint64_t giopMessageSize(const unsigned char (&header)[12]);

// Turns the guard on for every socket the process reads from now on:
// messages of more than limitBytes (header included) close their
// connection. Sets the process's descriptor limit to its hard limit, at
// most what the guard can follow. Returns "" or why the guard could not be set up.
std::string guardGiopMessages(std::uint64_t limitBytes);

// At most most connections accepted by the ORB open at once (0: no limit):
// when another arrives, one open connection is shut down: one that never
// carried a whole message, else one stalled inside a message, else one
// between calls; of those, the one that received nothing for longest. Idle
// or stalled connections thus cannot lock real callers out.
// The first such closing in a second is logged.
void limitConnections(std::size_t most);

// Closes an accepted connection that pauses longer than ms inside a message
// (0: never), and one that pauses at all while mostWaiting others already
// wait inside a message. The ORB hands a message to a pooled thread as soon
// as its first bytes arrive, so stalled messages would hold the pool's
// threads; this keeps the rest of the pool for messages that arrive whole.
void limitStalls(unsigned long ms, std::size_t mostWaiting);

// The connections the ORB accepted that are open now.
std::size_t openConnections();

} // namespace kelwelld::net

#endif
