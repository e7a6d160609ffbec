#include "core/PrivateFiles.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kelwelld {

void createPrivateFileIfAbsent(const std::string& path) {
  if (path.empty() || path == ":memory:") return;
  // O_EXCL: an existing file or link, even a dangling one, is not touched.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
}

void replacePrivateFile(const std::string& path, const std::string& text) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);   // mode 0600, never an existing file
  if (fd < 0) throw std::runtime_error("cannot create a file beside " + path + ": " + std::strerror(errno));
  const char* failed = nullptr;
  if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) failed = "write";
  else if (::fsync(fd) != 0) failed = "flush";
  const int writeError = errno;
  if (::close(fd) != 0 && !failed) failed = "close";
  if (!failed && std::rename(temporary.c_str(), path.c_str()) != 0) failed = "rename into place";
  if (failed) {
    const int error = errno ? errno : writeError;
    ::unlink(temporary.c_str());
    throw std::runtime_error(std::string("cannot ") + failed + " " + path + ": " + std::strerror(error));
  }
}

} // namespace kelwelld
