// Text helpers the LAS reader and writer share: encodings, numbers, trimming.
#pragma once

#include <string>
#include <string_view>

namespace kelwell::las::text {

// How the bytes of a file were read.
enum class Encoding { utf8, utf8WithBom, utf16le, utf16be, latin1 };

// The file's text as UTF-8: a byte order mark decides UTF-8 or UTF-16; text without one that
// is not valid UTF-8 is read as Windows-1252 (Latin-1 whose 0x80-0x9F hold printable signs).
// Line breaks are left as they are. `decoded` is filled only when the bytes had to change;
// the returned view points into `bytes` or into `decoded`.
std::string_view toUtf8(std::string_view bytes, std::string& decoded, Encoding& encoding);

bool isValidUtf8(std::string_view bytes);

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
std::string_view trim(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWithIgnoreCase(std::string_view s, std::string_view prefix);
std::string upper(std::string_view s);

// A whole field as a number: optional '+', decimal or exponent form, "nan"/"inf", Fortran 'D'
// exponents, the "1.#IND"/"1.#QNAN" forms; with decimalComma a ',' stands for '.'.
bool parseNumber(std::string_view field, bool decimalComma, double& value);

// The common case fast: [-+]digits[.digits] with at most 19 digits, whose value a double
// division gives exactly rounded (the same bits as parseNumber). False for anything else.
bool parseSimpleNumber(std::string_view field, double& value);

// The shortest text that reads back (as a double, then rounded to float) to the same bits.
std::string formatDouble(double value);
std::string formatFloat(float value);

}  // namespace kelwell::las::text
