#include "GiopGuard.h"

#include <dlfcn.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstring>
#include <limits>
#include <mutex>

namespace kelwelld::net {

namespace {

constexpr std::size_t headerSize = 12;

} // namespace

std::uint64_t giopMessageSize(const unsigned char (&header)[12]) {
  if (std::memcmp(header, "GIOP", 4) != 0) return 0;
  const bool littleEndian = header[6] & 1;
  std::uint32_t body = 0;
  for (int i = 0; i < 4; ++i) {
    const unsigned byte = header[littleEndian ? 11 - i : 8 + i];
    body = body << 8 | byte;
  }
  return std::uint64_t{body} + headerSize;
}

GiopFraming::Verdict GiopFraming::feed(const unsigned char* data, std::size_t size, std::uint64_t limit) {
  while (size > 0 && m_verdict == Verdict::Fine) {
    if (m_bodyLeft > 0) {
      const std::size_t skipped = static_cast<std::size_t>(std::min<std::uint64_t>(m_bodyLeft, size));
      m_bodyLeft -= skipped;
      data += skipped;
      size -= skipped;
      m_completed = m_completed || m_bodyLeft == 0;
      continue;
    }
    const std::size_t taken = std::min(headerSize - m_headerBytes, size);
    std::memcpy(m_header + m_headerBytes, data, taken);
    m_headerBytes = static_cast<std::uint8_t>(m_headerBytes + taken);
    data += taken;
    size -= taken;
    // Another protocol shows in its first bytes; the ORB refuses a later
    // header without the magic itself, and that path is sound.
    if (!m_seenHeader && std::memcmp(m_header, "GIOP", std::min<std::size_t>(m_headerBytes, 4)) != 0) {
      m_verdict = Verdict::NotGiop;
      break;
    }
    if (m_headerBytes < headerSize) break;
    m_headerBytes = 0;
    m_seenHeader = true;
    const std::uint64_t message = giopMessageSize(m_header);
    if (message == 0) {
      m_verdict = Verdict::NotGiop;
    } else if (message > limit) {
      m_refusedSize = message;
      m_verdict = Verdict::Refused;
    } else {
      m_bodyLeft = message - headerSize;
      m_completed = m_completed || m_bodyLeft == 0;
    }
  }
  return m_verdict;
}

namespace {

// One framing per descriptor: the ORB reads each connection from one thread
// at a time and closes it only when nobody reads it any more.
constexpr int followedDescriptors = 1 << 16;
GiopFraming framings[followedDescriptors];
std::atomic<std::uint64_t> messageLimit{0};   // 0: the guard is off

// Accepted connections: the open ones are counted, each with the time it
// last received something and its rank. At the limit, one makes room (see
// limitConnections).
std::mutex acceptedMutex;   // held while an accepted connection is closed or shut down
std::atomic<bool> accepted[followedDescriptors];
std::atomic<long long> lastActive[followedDescriptors];   // milliseconds, steady clock
// Which connection goes first at the limit: the lowest rank.
enum Rank : std::uint8_t { NoWholeMessage, InsideAMessage, BetweenCalls };
std::atomic<std::uint8_t> rank[followedDescriptors];
std::atomic<std::size_t> acceptedOpen{0};
std::atomic<std::size_t> acceptLimit{0};   // 0: none
std::atomic<long long> lastEvictionLogged{0};
std::atomic<long long> lastRefusalLogged{0};
std::atomic<long long> lastStallLogged{0};
std::atomic<unsigned long> stallLimitMs{0};   // 0: none
std::atomic<std::size_t> mostWaitingInside{0};
std::atomic<std::size_t> waitingInside{0};

long long nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Whether this is the first event of its kind in the current second: a
// flood of them must not flood the log.
bool firstThisSecond(std::atomic<long long>& lastLogged) {
  const long long second = nowMs() / 1000 + 1;   // never 0, the initial value
  long long logged = lastLogged.load();
  return second != logged && lastLogged.compare_exchange_strong(logged, second);
}

// Waits up to the stall limit for more of a message; false when the
// connection stalled (or there is no room to wait) and should be closed.
bool awaitRestOfMessage(int descriptor, unsigned long stall) {
  pollfd ready{descriptor, POLLIN, 0};
  if (::poll(&ready, 1, 0) > 0) return true;   // no wait needed
  if (waitingInside.fetch_add(1) >= mostWaitingInside.load()) {
    --waitingInside;
    if (firstThisSecond(lastStallLogged))
      std::fprintf(stderr, "kelwelld: closed a connection that paused inside a message while %zu others did\n",
                   mostWaitingInside.load());
    return false;
  }
  int polled;
  do polled = ::poll(&ready, 1, static_cast<int>(stall));
  while (polled < 0 && errno == EINTR);
  --waitingInside;
  if (polled == 0 && firstThisSecond(lastStallLogged))
    std::fprintf(stderr, "kelwelld: closed a connection that stopped for %lu ms inside a message\n", stall);
  return polled != 0;
}

// Shuts down the accepted connection of the lowest rank that received
// nothing for longest; the ORB then sees it end and closes it. It counts as
// closed from now on.
void evictLongestUnused(std::size_t most) {
  std::lock_guard<std::mutex> lock(acceptedMutex);
  int victim = -1;
  std::uint8_t lowest = BetweenCalls;
  long long oldest = std::numeric_limits<long long>::max();
  for (int descriptor = 0; descriptor < followedDescriptors; ++descriptor) {
    if (!accepted[descriptor].load(std::memory_order_relaxed)) continue;
    const std::uint8_t its = rank[descriptor].load(std::memory_order_relaxed);
    const long long active = lastActive[descriptor].load(std::memory_order_relaxed);
    if (its < lowest || (its == lowest && active < oldest)) {
      lowest = its;
      oldest = active;
      victim = descriptor;
    }
  }
  if (victim < 0) return;
  ::shutdown(victim, SHUT_RDWR);
  accepted[victim] = false;
  --acceptedOpen;
  if (firstThisSecond(lastEvictionLogged))
    std::fprintf(stderr,
                 "kelwelld: %zu connections are open, the limit: closed the one unused for %lld ms\n", most,
                 nowMs() - oldest);
}

using RecvFunction = ssize_t (*)(int, void*, std::size_t, int);
using CloseFunction = int (*)(int);
using AcceptFunction = int (*)(int, sockaddr*, socklen_t*);

RecvFunction realRecv() {
  static const auto function = reinterpret_cast<RecvFunction>(dlsym(RTLD_NEXT, "recv"));
  return function;
}

CloseFunction realClose() {
  static const auto function = reinterpret_cast<CloseFunction>(dlsym(RTLD_NEXT, "close"));
  return function;
}

AcceptFunction realAccept() {
  static const auto function = reinterpret_cast<AcceptFunction>(dlsym(RTLD_NEXT, "accept"));
  return function;
}

} // namespace

std::string guardGiopMessages(std::uint64_t limitBytes) {
  if (!realRecv() || !realClose() || !realAccept()) return "the C library's recv and close cannot be found";
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return std::string("getrlimit: ") + std::strerror(errno);
  const rlim_t most = followedDescriptors;
  if (files.rlim_max == RLIM_INFINITY || files.rlim_max > most) files.rlim_max = most;
  files.rlim_cur = files.rlim_max;   // room for the connections the limit allows
  if (setrlimit(RLIMIT_NOFILE, &files) != 0) return std::string("setrlimit: ") + std::strerror(errno);
  messageLimit = limitBytes;
  return "";
}

void limitConnections(std::size_t most) { acceptLimit = most; }

void limitStalls(unsigned long ms, std::size_t mostWaiting) {
  mostWaitingInside = mostWaiting;
  stallLimitMs = ms;
}

std::size_t openConnections() { return acceptedOpen; }

} // namespace kelwelld::net

// The process's recv, accept and close: the ORB calls these rather than the
// C library's, which they call in turn. The executable defines them, so
// the dynamic linker binds the ORB's calls here.
extern "C" ssize_t recv(int descriptor, void* buffer, std::size_t length, int flags) {
  using namespace kelwelld::net;
  const RecvFunction real = realRecv();
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  const unsigned long stall = stallLimitMs.load(std::memory_order_relaxed);
  if (stall != 0 && descriptor >= 0 && descriptor < followedDescriptors &&
      accepted[descriptor].load(std::memory_order_relaxed) && !framings[descriptor].betweenMessages() &&
      framings[descriptor].verdict() == GiopFraming::Verdict::Fine) {
    if (!awaitRestOfMessage(descriptor, stall)) {
      ::shutdown(descriptor, SHUT_RDWR);
      errno = ETIMEDOUT;
      return -1;
    }
  }
  const ssize_t received = real(descriptor, buffer, length, flags);
  const std::uint64_t limit = messageLimit.load(std::memory_order_relaxed);
  if (received <= 0 || limit == 0 || (flags & MSG_PEEK) || descriptor < 0 || descriptor >= followedDescriptors)
    return received;
  GiopFraming& framing = framings[descriptor];
  const bool refusedBefore = framing.verdict() == GiopFraming::Verdict::Refused;
  const GiopFraming::Verdict verdict =
      framing.feed(static_cast<const unsigned char*>(buffer), static_cast<std::size_t>(received), limit);
  if (accepted[descriptor].load(std::memory_order_relaxed)) {
    lastActive[descriptor].store(nowMs(), std::memory_order_relaxed);
    rank[descriptor].store(!framing.completedMessage()  ? NoWholeMessage
                           : framing.betweenMessages() ? BetweenCalls
                                                       : InsideAMessage,
                           std::memory_order_relaxed);
  }
  if (verdict != GiopFraming::Verdict::Refused) return received;
  if (!refusedBefore) {
    if (firstThisSecond(lastRefusalLogged))
      std::fprintf(stderr,
                   "kelwelld: closed a connection whose GIOP header announced a message of %llu bytes "
                   "(the limit is %llu)\n",
                   static_cast<unsigned long long>(framing.refusedSize()),
                   static_cast<unsigned long long>(limit));
    ::shutdown(descriptor, SHUT_RDWR);
  }
  errno = ECONNRESET;
  return -1;
}

extern "C" int accept(int listener, sockaddr* address, socklen_t* size) {
  using namespace kelwelld::net;
  const AcceptFunction real = realAccept();
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  const int descriptor = real(listener, address, size);
  if (descriptor < 0 || descriptor >= followedDescriptors) return descriptor;
  const std::size_t most = acceptLimit.load();
  if (most != 0 && acceptedOpen.load() >= most) evictLongestUnused(most);
  lastActive[descriptor] = nowMs();
  rank[descriptor] = NoWholeMessage;
  accepted[descriptor] = true;
  ++acceptedOpen;
  return descriptor;
}

extern "C" int close(int descriptor) {
  using namespace kelwelld::net;
  const CloseFunction real = realClose();
  if (descriptor >= 0 && descriptor < followedDescriptors) {
    framings[descriptor] = GiopFraming{};
    if (accepted[descriptor].load()) {
      std::lock_guard<std::mutex> lock(acceptedMutex);
      if (accepted[descriptor].exchange(false)) --acceptedOpen;
    }
  }
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  return real(descriptor);
}
