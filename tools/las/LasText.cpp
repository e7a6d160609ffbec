#include "LasText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

namespace kelwell::las::text {
namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Windows-1252's signs in 0x80-0x9F; the five holes keep their Latin-1 control codes.
constexpr std::uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string fromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else if (byte < 0xA0) {
      appendUtf8(out, kWindows1252High[byte - 0x80]);
    } else {
      appendUtf8(out, byte);
    }
  }
  return out;
}

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t code = unit(i);
    if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;  // a lone surrogate
    appendUtf8(out, code);
  }
  return out;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    // Eight ASCII bytes at a time: most of a LAS file is digits and blanks.
    while (end - p >= 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, p, 8);
      if (chunk & 0x8080808080808080ULL) break;
      p += 8;
    }
    if (p >= end) break;
    if (*p < 0x80) {
      ++p;
      continue;
    }
    int follow;
    std::uint32_t code;
    if ((*p & 0xE0) == 0xC0) {
      follow = 1;
      code = *p & 0x1F;
    } else if ((*p & 0xF0) == 0xE0) {
      follow = 2;
      code = *p & 0x0F;
    } else if ((*p & 0xF8) == 0xF0) {
      follow = 3;
      code = *p & 0x07;
    } else {
      return false;
    }
    if (end - p <= follow) return false;
    for (int i = 1; i <= follow; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = code << 6 | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    static constexpr std::uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[follow] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return false;
    p += follow + 1;
  }
  return true;
}

std::string_view toUtf8(std::string_view bytes, std::string& decoded, Encoding& encoding) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding = Encoding::utf8WithBom;
    bytes.remove_prefix(3);
    if (isValidUtf8(bytes)) return bytes;
    decoded = fromWindows1252(bytes);  // a mark that lies: still read every byte
    return decoded;
  }
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    const bool bigEndian = bytes[0] == '\xFE';
    encoding = bigEndian ? Encoding::utf16be : Encoding::utf16le;
    decoded = fromUtf16(bytes.substr(2), bigEndian);
    return decoded;
  }
  if (isValidUtf8(bytes)) {
    encoding = Encoding::utf8;
    return bytes;
  }
  encoding = Encoding::latin1;
  decoded = fromWindows1252(bytes);
  return decoded;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (isBlank(s.front()) || s.front() == '\r' || s.front() == '\n')) s.remove_prefix(1);
  while (!s.empty() && (isBlank(s.back()) || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
  return s;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool startsWithIgnoreCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && equalsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

namespace {

// The forms std::from_chars does not take; only reached when it refused the field.
bool parseUnusualNumber(std::string_view field, double& value) {
  if (field.empty()) return false;
  const std::string text = upper(field);
  if (text.find("#IND") != std::string::npos || text.find("#QNAN") != std::string::npos ||
      text.find("#SNAN") != std::string::npos) {
    value = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  if (text.find("#INF") != std::string::npos) {
    value = text[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return true;
  }
  // Fortran writes 1.5D+03 for double precision.
  const std::size_t d = text.find('D');
  if (d == std::string::npos || d == 0) return false;
  std::string withE = text;
  withE[d] = 'E';
  return parseNumber(withE, false, value);
}

}  // namespace

bool parseSimpleNumber(std::string_view field, double& value) {
  // Exact powers of ten: a double holds 10^0 .. 10^22 without rounding.
  static constexpr double kPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = field.data();
  const char* const end = p + field.size();
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fraction = 0;
  while (p != end && static_cast<unsigned>(*p - '0') < 10) {
    mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    ++digits;
  }
  if (p != end && *p == '.') {
    ++p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10) {
      mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
      ++digits;
      ++fraction;
    }
  }
  // Clinger's fast path: an integer below 2^53 divided by an exact power of ten is one
  // correctly rounded operation.
  if (p != end || digits == 0 || digits > 19 || fraction > 22 || mantissa > (std::uint64_t{1} << 53)) {
    return false;
  }
  const double magnitude = static_cast<double>(mantissa) / kPowers[fraction];
  value = negative ? -magnitude : magnitude;
  return true;
}

bool parseNumber(std::string_view field, bool decimalComma, double& value) {
  const char* begin = field.data();
  const char* end = begin + field.size();
  if (begin != end && *begin == '+') ++begin;
  if (begin == end) return false;
  char buffer[64];
  if (decimalComma) {
    const std::size_t size = static_cast<std::size_t>(end - begin);
    if (size >= sizeof buffer) return false;
    for (std::size_t i = 0; i < size; ++i) buffer[i] = begin[i] == ',' ? '.' : begin[i];
    begin = buffer;
    end = buffer + size;
  }
  const std::from_chars_result result = std::from_chars(begin, end, value);
  if (result.ptr == end && result.ec == std::errc()) return true;
  if (result.ptr == end && result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: take what strtod rounds it to (inf or 0).
    const std::string copy(begin, end);
    value = std::strtod(copy.c_str(), nullptr);
    return true;
  }
  return parseUnusualNumber(std::string_view(begin, static_cast<std::size_t>(end - begin)), value);
}

std::string formatDouble(double value) {
  char buffer[64];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string formatFloat(float value) {
  // The shortest float text can, very rarely, read back as a double that rounds to the
  // neighbouring float (two roundings); other readers parse doubles, so check and widen.
  char buffer[64];
  std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  for (int digits = 9; digits <= 17; ++digits) {
    double back = 0.0;
    if (std::isnan(value) ||
        (parseNumber(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)), false, back) &&
         static_cast<float>(back) == value)) {
      break;
    }
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                           std::chars_format::general, digits);
  }
  return std::string(buffer, result.ptr);
}

}  // namespace kelwell::las::text
