// Text helpers shared by every subsystem.
//
// Inside the program all text is UTF-8 in std::string. Windows wants UTF-16; the conversion
// happens at the Win32 boundary only, with Widen()/Narrow() (wchar_t is 16 bits there).
// The portable UTF-16 form is std::u16string, used by code that must behave the same on
// Linux and Windows (the language-file decoder, the version-resource parser).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmora {

// Strict UTF-8 to UTF-16: nullopt for malformed input (overlong forms, surrogates encoded
// in UTF-8, code points above U+10FFFF, truncated sequences).
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text);

// Lenient UTF-8 to UTF-16: every malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// ASCII-only case mapping: A-Z <-> a-z, every other byte unchanged (so UTF-8 stays valid).
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool AsciiEqualNoCase(std::string_view a, std::string_view b);

// Hash and equality of AsciiEqualNoCase, for maps keyed by names in any A-Z case (executable
// names) that are searched with a string_view, without making a lowered copy per search.
struct AsciiNoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept;
};
struct AsciiNoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return AsciiEqualNoCase(a, b);
  }
};
template <class Value>
using AsciiNoCaseMap = std::unordered_map<std::string, Value, AsciiNoCaseHash, AsciiNoCaseEqual>;

// Number of Unicode characters (code points) in UTF-8 text; malformed bytes count one each.
std::size_t Utf8Length(std::string_view text);

// The first `count` characters of UTF-8 text, never cutting a character in half.
std::string Utf8Prefix(std::string_view text, std::size_t count);

#ifdef _WIN32
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
#endif

}  // namespace velmora
