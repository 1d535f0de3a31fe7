// Text routines of the localization engine (uStringUtils): splitting a head off a text, the
// decoders of the two notations in which a language file writes a translated value, and the
// conversion of UTF-16 text to a Windows code page.
//
// Decoding works on UTF-16 (std::u16string) so that character codes and positions mean the
// same on every platform; narrow text is UTF-8.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora::localizer {

// Base of the engine's errors; carries a message text (UTF-8).
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A character that cannot start a part of a quoted literal. The value decoder recovers from
// it by starting a new line after that character.
class ELiteralToStringError : public Exception {
 public:
  ELiteralToStringError(const std::string& message, std::int32_t position)
      : Exception(message), ErrorPosition(position) {}
  std::int32_t ErrorPosition;  // 1-based position of the offending character
};

// Cuts `Text` at the first occurrence of `Delimiter` (exact comparison): returns what stands
// before it and leaves in `Text` what follows it. Without an occurrence (an empty delimiter
// never occurs) the whole text is returned and `Text` becomes empty.
std::string SplitHead(std::string& Text, std::string_view Delimiter);
std::u16string SplitHeadW(std::u16string& Text, std::u16string_view Delimiter);

// Converts to narrow text in the Windows code page `CodePage`; characters the code page
// cannot represent become its default character. Raises nothing.
//
// On Windows this is WideCharToMultiByte without flags (an unknown code page gives empty
// text). Elsewhere there are no system code pages: 65001 (UTF-8) and the "current code page"
// values 0 (CP_ACP), 1 (CP_OEMCP) and 3 (CP_THREAD_ACP) give UTF-8, which is the narrow
// form of this program; 28591 (ISO 8859-1) maps U+0000..U+00FF to single bytes; every other
// code page, 20127 (US-ASCII) among them, keeps ASCII and writes "?" for anything else, the
// default character of those code pages.
std::string WideToAnsiCP(std::u16string_view Text, std::int32_t CodePage);

// Strict decoding of a quoted literal: 'quoted' segments, doubled quotes, #codes. `Result`
// receives the decoded text on success and the text decoded so far when
// ELiteralToStringError is raised. Damage that cannot be skipped (an unterminated segment,
// a bad character code) raises Exception. Both carry "Bad decoded string: "<Text>"".
void LiteralToString(std::u16string_view Text, std::u16string& Result);

// Lenient decoding: literal expressions separated by blanks, each one line; lines are
// joined with CR. Raises Exception for damage that cannot be skipped.
std::u16string DecodeQuotedValue(std::u16string_view Text);

// Plain text in which substitutes stand for line breaks.
std::u16string DecodeHumanizedValue(std::u16string_view Text, std::u16string_view CRSubstitute,
                                    std::u16string_view CRLFSubstitute,
                                    std::u16string_view SameSubstituteBreak);

// DecodeHumanizedValue when `Humanized`, otherwise DecodeQuotedValue.
std::u16string DecodeValue(std::u16string_view Text, bool Humanized,
                           std::u16string_view CRSubstitute, std::u16string_view CRLFSubstitute,
                           std::u16string_view SameSubstituteBreak);

}  // namespace velmora::localizer
