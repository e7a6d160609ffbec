#include "GiopGuard.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

using RecvFunction = ssize_t (*)(int, void*, std::size_t, int);
using CloseFunction = int (*)(int);

RecvFunction realRecv() {
  static const auto function = reinterpret_cast<RecvFunction>(dlsym(RTLD_NEXT, "recv"));
  return function;
}

CloseFunction realClose() {
  static const auto function = reinterpret_cast<CloseFunction>(dlsym(RTLD_NEXT, "close"));
  return function;
}

} // namespace

std::string guardGiopMessages(std::uint64_t limitBytes) {
  if (!realRecv() || !realClose()) return "the C library's recv and close cannot be found";
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return std::string("getrlimit: ") + std::strerror(errno);
  const rlim_t most = followedDescriptors;
  if (files.rlim_max == RLIM_INFINITY || files.rlim_max > most) files.rlim_max = most;
  if (files.rlim_cur == RLIM_INFINITY || files.rlim_cur > files.rlim_max) files.rlim_cur = files.rlim_max;
  if (setrlimit(RLIMIT_NOFILE, &files) != 0) return std::string("setrlimit: ") + std::strerror(errno);
  messageLimit = limitBytes;
  return "";
}

} // namespace kelwelld::net

// The process's recv and close: the ORB's connections call these rather than
// the C library's, which they call in turn. The executable defines them, so
// the dynamic linker binds the ORB's calls here.
extern "C" ssize_t recv(int descriptor, void* buffer, std::size_t length, int flags) {
  using namespace kelwelld::net;
  const RecvFunction real = realRecv();
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  const ssize_t received = real(descriptor, buffer, length, flags);
  const std::uint64_t limit = messageLimit.load(std::memory_order_relaxed);
  if (received <= 0 || limit == 0 || (flags & MSG_PEEK) || descriptor < 0 || descriptor >= followedDescriptors)
    return received;
  GiopFraming& framing = framings[descriptor];
  const bool refusedBefore = framing.verdict() == GiopFraming::Verdict::Refused;
  if (framing.feed(static_cast<const unsigned char*>(buffer), static_cast<std::size_t>(received), limit) !=
      GiopFraming::Verdict::Refused)
    return received;
  if (!refusedBefore) {
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

extern "C" int close(int descriptor) {
  using namespace kelwelld::net;
  const CloseFunction real = realClose();
  if (descriptor >= 0 && descriptor < followedDescriptors) framings[descriptor] = GiopFraming{};
  if (!real) {
    errno = ENOSYS;
    return -1;
  }
  return real(descriptor);
}
