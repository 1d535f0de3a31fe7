#include "localizer/string_utils.h"

#include <limits>

#include "core/text.h"

namespace velmora::localizer {
namespace {

constexpr char16_t kQuote = u'\'';
constexpr char16_t kHash = u'#';
constexpr char16_t kCR = u'\r';

bool IsBlank(char16_t c) {
  return c <= 0x20;
}

enum class Outcome { kDone, kStray, kDamaged };

// Converts the digits of a character code. Fails without digits or above the signed 32-bit
// range, as the run-time library's text-to-integer conversion does; leading zeros are fine.
bool FinishCode(std::u16string_view digits, std::u16string& out) {
  if (digits.empty()) return false;
  std::int64_t value = 0;
  for (char16_t c : digits) {
    value = value * 10 + (c - u'0');
    if (value > std::numeric_limits<std::int32_t>::max()) return false;
  }
  out.push_back(static_cast<char16_t>(value & 0xFFFF));
  return true;
}

// The state machine of a quoted literal, appending to `out`. On kStray, `stray` is the
// 1-based position of the character that cannot start a part. No message is built here:
// the value decoder meets a stray character for every blank between lines, and quoting the
// rest of a long value each time would make decoding quadratic.
Outcome Decode(std::u16string_view text, std::u16string& out, std::size_t& stray) {
  enum class State { kOutside, kLiteral, kCode } state = State::kOutside;
  std::size_t code_start = 0;  // index of the '#' that opened the current code
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    switch (state) {
      case State::kOutside:
        if (c == kHash) {
          code_start = i;
          state = State::kCode;
        } else if (c == kQuote) {
          // A quote right after a closing quote is a doubled quote: one quote character.
          if (i > 0 && text[i - 1] == kQuote) out.push_back(kQuote);
          state = State::kLiteral;
        } else {
          stray = i + 1;
          return Outcome::kStray;
        }
        break;
      case State::kLiteral:
        if (c == kQuote) {
          state = State::kOutside;
        } else {
          out.push_back(c);
        }
        break;
      case State::kCode:
        if (c == kHash) {
          if (!FinishCode(text.substr(code_start + 1, i - code_start - 1), out)) {
            return Outcome::kDamaged;
          }
          code_start = i;
        } else if (c == kQuote) {
          if (!FinishCode(text.substr(code_start + 1, i - code_start - 1), out)) {
            return Outcome::kDamaged;
          }
          state = State::kLiteral;
        } else if (c < u'0' || c > u'9') {
          return Outcome::kDamaged;
        }
        break;
    }
  }
  if (state == State::kLiteral) return Outcome::kDamaged;
  // A code that cannot be finished at the very end is dropped silently.
  if (state == State::kCode) FinishCode(text.substr(code_start + 1), out);
  return Outcome::kDone;
}

std::string BadDecodedMessage(std::u16string_view text) {
  return "Bad decoded string: \"" + Utf16ToUtf8(text) + "\"";
}

std::int32_t ClampPosition(std::size_t position) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(position < kMax ? position : kMax);
}

// Replaces every occurrence of `what` (left to right, no overlap, no rescan); an empty
// `what` matches nothing.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with) {
  if (what.empty()) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(what); at != std::u16string_view::npos;
       at = text.find(what, from)) {
    out.append(text.substr(from, at - from));
    out.append(with);
    from = at + what.size();
  }
  out.append(text.substr(from));
  return out;
}

template <typename String, typename View>
String SplitHeadOf(String& Text, View Delimiter) {
  const std::size_t at = Delimiter.empty() ? String::npos : Text.find(Delimiter);
  String head;
  if (at == String::npos) {
    head.swap(Text);
  } else {
    head = Text.substr(0, at);
    Text.erase(0, at + Delimiter.size());
  }
  return head;
}

}  // namespace

std::string SplitHead(std::string& Text, std::string_view Delimiter) {
  return SplitHeadOf(Text, Delimiter);
}

std::u16string SplitHeadW(std::u16string& Text, std::u16string_view Delimiter) {
  return SplitHeadOf(Text, Delimiter);
}

void LiteralToString(std::u16string_view Text, std::u16string& Result) {
  std::u16string out;
  std::size_t stray = 0;
  switch (Decode(Text, out, stray)) {
    case Outcome::kDone:
      Result = std::move(out);
      return;
    case Outcome::kStray:
      Result = std::move(out);
      throw ELiteralToStringError(BadDecodedMessage(Text), ClampPosition(stray));
    case Outcome::kDamaged:
      throw Exception(BadDecodedMessage(Text));
  }
}

std::u16string DecodeQuotedValue(std::u16string_view Text) {
  std::u16string result;
  std::u16string_view rest = Text;
  bool trimmed_end = false;
  for (;;) {
    // Each piece is one line; lines are joined with CR once the result is not empty.
    if (!result.empty()) result.push_back(kCR);
    std::size_t stray = 0;
    const Outcome outcome = Decode(rest, result, stray);
    if (outcome == Outcome::kDone) return result;
    if (outcome == Outcome::kDamaged) throw Exception(BadDecodedMessage(rest));
    rest.remove_prefix(stray);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    // The end of every later rest is the end of this one, so trailing blanks are removed
    // once rather than rescanned for every piece.
    if (!trimmed_end) {
      while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
      trimmed_end = true;
    }
  }
}

std::u16string DecodeHumanizedValue(std::u16string_view Text, std::u16string_view CRSubstitute,
                                    std::u16string_view CRLFSubstitute,
                                    std::u16string_view SameSubstituteBreak) {
  if (CRSubstitute == CRLFSubstitute) return ReplaceAll(Text, CRSubstitute, SameSubstituteBreak);
  return ReplaceAll(ReplaceAll(Text, CRSubstitute, u"\r"), CRLFSubstitute, u"\r\n");
}

std::u16string DecodeValue(std::u16string_view Text, bool Humanized,
                           std::u16string_view CRSubstitute, std::u16string_view CRLFSubstitute,
                           std::u16string_view SameSubstituteBreak) {
  if (Humanized) {
    return DecodeHumanizedValue(Text, CRSubstitute, CRLFSubstitute, SameSubstituteBreak);
  }
  return DecodeQuotedValue(Text);
}

}  // namespace velmora::localizer
