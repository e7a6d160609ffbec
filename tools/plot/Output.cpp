// The plot into a file: the format by the file's extension, the file replaced whole or left
// as it was.
#include "LogPlot.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kelwell::plot {
namespace {

bool endsWithIgnoringCase(const std::string& text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char wanted, char c) { return std::tolower(static_cast<unsigned char>(c)) == wanted; });
}

[[noreturn]] void cannotWrite(const std::string& path, int error) {
  throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
}

// Writes bytes next to path and renames them over it, so that a reader never sees half a
// plot and a failed write leaves an earlier plot in place.
void replaceFile(const std::string& path, const std::string& bytes) {
  const std::string part = path + ".part";
  std::FILE* file = std::fopen(part.c_str(), "wb");
  if (file == nullptr) cannotWrite(path, errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  int error = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && !closed) error = errno;
  if (!written || !closed || std::rename(part.c_str(), path.c_str()) != 0) {
    if (written && closed) error = errno;
    std::remove(part.c_str());
    cannotWrite(path, error);
  }
}

}  // namespace

Format formatOf(const std::string& path) {
  if (endsWithIgnoringCase(path, ".svg")) return Format::svg;
  if (endsWithIgnoringCase(path, ".png")) return Format::png;
  throw std::runtime_error("cannot plot into " + (path.empty() ? std::string("\"\"") : path) +
                           ": the file name must end in .svg or .png");
}

void writePlot(const LogPlot& plot, const std::string& path, const Layout& layout) {
  const Format format = formatOf(path);
  replaceFile(path, format == Format::svg ? renderSvg(plot, layout) : renderPng(plot, layout));
}

}  // namespace kelwell::plot
