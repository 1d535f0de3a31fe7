#include "settings/stored_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/text.h"

namespace velmora::settings {

namespace {

constexpr int kExponentBias = 16383;
constexpr std::uint16_t kExponentMask = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

ExtendedBytes EncodeExtended(double value) {
  std::uint16_t sign_and_exponent = std::signbit(value) ? 0x8000 : 0;
  std::uint64_t significand = 0;
  if (std::isnan(value)) {
    sign_and_exponent |= kExponentMask;
    significand = kIntegerBit | (kIntegerBit >> 1);  // the x87's quiet NaN
  } else if (std::isinf(value)) {
    sign_and_exponent |= kExponentMask;
    significand = kIntegerBit;
  } else if (value != 0) {
    // value = fraction * 2^exponent with fraction in [0.5, 1): the fraction times 2^64 is the
    // significand with its top (integer) bit set, exactly, since a double has 53 bits.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    sign_and_exponent |= static_cast<std::uint16_t>(exponent - 1 + kExponentBias);
  }
  ExtendedBytes bytes{};
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(significand >> (8 * i));
  bytes[8] = static_cast<std::uint8_t>(sign_and_exponent);
  bytes[9] = static_cast<std::uint8_t>(sign_and_exponent >> 8);
  return bytes;
}

std::optional<double> DecodeExtended(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != 10) return std::nullopt;
  std::uint64_t significand = 0;
  for (int i = 0; i < 8; ++i) significand |= std::uint64_t{bytes[i]} << (8 * i);
  const auto sign_and_exponent = static_cast<std::uint16_t>(bytes[8] | (bytes[9] << 8));
  const bool negative = (sign_and_exponent & 0x8000) != 0;
  const int exponent = sign_and_exponent & kExponentMask;
  double magnitude = 0;
  if (exponent == kExponentMask) {
    // Infinity has only the integer bit; everything else there is a NaN or invalid.
    if (significand != kIntegerBit) return std::nullopt;
    magnitude = HUGE_VAL;
  } else if (exponent == 0) {
    // Zero and the denormals, far below any double: zero.
    magnitude = 0;
  } else {
    if ((significand & kIntegerBit) == 0) return std::nullopt;  // "unnormal"
    // ldexp saturates to infinity or underflows to zero outside the double range.
    magnitude = std::ldexp(static_cast<double>(significand), exponent - kExponentBias - 63);
  }
  return negative ? -magnitude : magnitude;
}

std::string_view BooleanText(bool value) {
  return value ? "TRUE" : "FALSE";
}

std::optional<bool> ParseBoolean(std::string_view text) {
  const std::string_view word = TrimBlanks(text);
  for (const std::string_view yes : {"TRUE", "YES", "Y"}) {
    if (AsciiEqualNoCase(word, yes)) return true;
  }
  for (const std::string_view no : {"FALSE", "NO", "N"}) {
    if (AsciiEqualNoCase(word, no)) return false;
  }
  if (const auto number = ParseInteger(word)) return *number != 0;
  return std::nullopt;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::string_view digits = TrimBlanks(text);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<bool> ReadBoolean(const RegistryValue& value) {
  if (value.type != ValueType::kString) return std::nullopt;
  return ParseBoolean(value.text);
}

std::optional<std::int32_t> ReadInteger(const RegistryValue& value) {
  if (value.type == ValueType::kString) return ParseInteger(value.text);
  if (value.type != ValueType::kDword || value.data.size() != 4) return std::nullopt;
  const std::uint32_t bits = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                             (std::uint32_t{value.data[3]} << 24);
  return static_cast<std::int32_t>(bits);
}

std::optional<double> ReadExtended(const RegistryValue& value) {
  if (value.type != ValueType::kBinary) return std::nullopt;
  return DecodeExtended(value.data);
}

std::string FormatPositions(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  char text[64];
  std::snprintf(text, sizeof text, "%d,%d,%d,%d", static_cast<int>(a), static_cast<int>(b),
                static_cast<int>(c), static_cast<int>(d));
  return text;
}

std::vector<std::optional<std::int32_t>> ParsePositionWords(std::string_view text) {
  std::vector<std::optional<std::int32_t>> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find_first_of(", ", at);
    const std::string_view word = text.substr(at, end == std::string_view::npos ? end : end - at);
    if (!word.empty()) words.push_back(ParseInteger(word));
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  return words;
}

std::int32_t PositionWord(const std::vector<std::optional<std::int32_t>>& words, std::size_t index,
                          std::int32_t fallback) {
  return index < words.size() && words[index] ? *words[index] : fallback;
}

}  // namespace velmora::settings
