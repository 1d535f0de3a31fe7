// How the settings store writes values into the registry and reads them back: booleans as
// words, integers as REG_DWORD (or decimal text), the refresh interval as a 10-byte 80-bit
// extended-precision number, and window positions as comma-separated integers. Portable and
// independent of the host's own floating-point formats.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry.h"

namespace velmora::settings {

// --- 80-bit extended precision --------------------------------------------------------------

using ExtendedBytes = std::array<std::uint8_t, 10>;

// The little-endian bytes of `value` in the x87 extended format: the 64-bit significand with
// its explicit integer bit, then the 15-bit exponent (bias 16383) under the sign bit. Every
// finite double converts exactly. 1 gives 00 00 00 00 00 00 00 80 FF 3F.
ExtendedBytes EncodeExtended(double value);
// The value of exactly 10 such bytes, rounded to the nearest double (a value beyond the
// double range becomes an infinity). Nothing for another length, a NaN, or a pattern the
// x87 itself rejects (a significand without its integer bit under a non-zero exponent).
std::optional<double> DecodeExtended(std::span<const std::uint8_t> bytes);

// --- Booleans and integers --------------------------------------------------------------------

// "TRUE" or "FALSE".
std::string_view BooleanText(bool value);
// The true words "TRUE, YES, Y" and then the false words "FALSE, NO, N", ignoring case and
// blanks around the text; otherwise a decimal integer, true when not 0. Nothing else reads.
std::optional<bool> ParseBoolean(std::string_view text);
// A whole decimal 32-bit integer (optional sign, blanks around ignored).
std::optional<std::int32_t> ParseInteger(std::string_view text);

// A stored boolean: text values only.
std::optional<bool> ReadBoolean(const RegistryValue& value);
// A stored integer: a REG_DWORD (as signed) or decimal text.
std::optional<std::int32_t> ReadInteger(const RegistryValue& value);
// A stored interval: exactly 10 bytes of binary data.
std::optional<double> ReadExtended(const RegistryValue& value);

// --- Position texts -------------------------------------------------------------------------

// "%d,%d,%d,%d".
std::string FormatPositions(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);
// The words of a position text, split at commas and blanks; a word that is not a 32-bit
// decimal integer is nothing.
std::vector<std::optional<std::int32_t>> ParsePositionWords(std::string_view text);
// Word `index` (from 0) of such a list, or `fallback` when it is missing or not a number.
std::int32_t PositionWord(const std::vector<std::optional<std::int32_t>>& words, std::size_t index,
                          std::int32_t fallback);

}  // namespace velmora::settings
