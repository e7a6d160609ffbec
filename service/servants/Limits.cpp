#include "servants/Limits.h"

#include <atomic>
#include <cstring>

#include "core/RemoteErrors.h"

namespace kelwelld {

namespace {

std::atomic<std::size_t> textLimit{64 * 1024 * 1024};
std::atomic<std::size_t> nameLimit{1024};

std::optional<std::string> tooLong(const char* text, const std::string& what, std::size_t limit) {
  const std::size_t size = text ? std::strlen(text) : 0;
  if (size <= limit) return std::nullopt;
  return "The " + what + " is " + std::to_string(size) + " bytes long; the service keeps at most " +
         std::to_string(limit) + ". ";
}

} // namespace

void setTextLimits(std::size_t textBytes, std::size_t nameBytes) {
  textLimit = textBytes;
  nameLimit = nameBytes;
}

std::optional<std::string> textTooLong(const char* text, const std::string& what) {
  return tooLong(text, what, textLimit);
}

std::optional<std::string> nameTooLong(const char* name, const std::string& what) {
  return tooLong(name, what, nameLimit);
}

void checkTextSize(const char* text, const std::string& what) {
  if (const auto reason = textTooLong(text, what)) throwValidation(*reason);
}

} // namespace kelwelld
