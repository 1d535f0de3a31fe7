#include "localizer/string_utils.h"

#include <gtest/gtest.h>

#include <string>

#include "core/text.h"

namespace velmora::localizer {
namespace {

std::u16string U(std::string_view utf8) {
  return Utf8ToUtf16(utf8);
}
std::string N(std::u16string_view utf16) {
  return Utf16ToUtf8(utf16);
}
std::string BadDecoded(std::string_view text) {
  return "Bad decoded string: \"" + std::string(text) + "\"";
}

struct SplitCase {
  std::string text, delimiter, head, rest;
};

TEST(SplitHeadTest, CutsAtFirstDelimiterOrTakesEverything) {
  const SplitCase cases[] = {
      {"Label1.Caption", ".", "Label1", "Caption"},
      {"Caption", ".", "Caption", ""},
      {"a.b.c", ".", "a", "b.c"},
      {".b", ".", "", "b"},
      {"a.", ".", "a", ""},
      {"a==b=c", "==", "a", "b=c"},
      {"abc", "", "abc", ""},  // an empty delimiter never occurs
      {"", ".", "", ""},
      {"A.b", "a", "A.b", ""},  // exact, case-sensitive comparison
  };
  for (const SplitCase& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(SplitHead(text, c.delimiter), c.head) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
    std::u16string wide = U(c.text);
    EXPECT_EQ(N(SplitHeadW(wide, U(c.delimiter))), c.head) << c.text;
    EXPECT_EQ(N(wide), c.rest) << c.text;
  }
}

TEST(SplitHeadTest, ConsumesElementByElement) {
  std::u16string text = u"Pages.(0).Caption";
  std::vector<std::u16string> parts;
  while (!text.empty()) parts.push_back(SplitHeadW(text, u"."));
  EXPECT_EQ(parts, (std::vector<std::u16string>{u"Pages", u"(0)", u"Caption"}));
}

struct LiteralCase {
  std::u16string text, decoded;
};

TEST(LiteralToStringTest, DecodesSegmentsDoubledQuotesAndCodes) {
  const LiteralCase cases[] = {
      {u"'It''s'", u"It's"},
      {u"''''", u"'"},
      {u"''", u""},
      {u"", u""},
      {u"#39", u"'"},
      {u"'a'#13#10'b'", u"a\r\nb"},
      {u"#65#66", u"AB"},
      {u"#65'x'", u"Ax"},
      {u"#65601", u"A"},    // only the low 16 bits of the number count
      {u"#0000065", u"A"},  // leading zeros
      {u"#2147483647", u"\xFFFF"},
      {u"'abc'#", u"abc"},         // a code without digits at the very end is dropped
      {u"'a'#99999999999", u"a"},  // so is one out of range
      {u"'Gr\u00F6\u00DFe'", u"Gr\u00F6\u00DFe"},
      {u"#55357#56832", u"\U0001F600"},  // a surrogate pair written as two codes
      {u"'a'''#66''''", u"a'B'"},
      {u"'say \"hi\"'", u"say \"hi\""},
  };
  for (const LiteralCase& c : cases) {
    std::u16string result = u"junk";
    EXPECT_NO_THROW(LiteralToString(c.text, result)) << N(c.text);
    EXPECT_EQ(result, c.decoded) << N(c.text);
  }
}

struct StrayCase {
  std::u16string text;
  std::int32_t position;
  std::u16string partial;
};

TEST(LiteralToStringTest, StrayCharacterGivesPositionAndPartialResult) {
  const StrayCase cases[] = {
      {u"'abc' 'd'", 6, u"abc"},   {u"x", 1, u""},   {u"Hello", 1, u""}, {u"'a'b", 4, u"a"},
      {u"'a'#66'c' ", 10, u"aBc"}, {u"''x", 3, u""},
  };
  for (const StrayCase& c : cases) {
    std::u16string result;
    try {
      LiteralToString(c.text, result);
      ADD_FAILURE() << "no error for " << N(c.text);
    } catch (const ELiteralToStringError& error) {
      EXPECT_EQ(error.ErrorPosition, c.position) << N(c.text);
      EXPECT_EQ(std::string(error.what()), BadDecoded(N(c.text)));
      EXPECT_EQ(result, c.partial) << N(c.text);
    }
  }
}

TEST(LiteralToStringTest, DamageRaisesPlainExceptionQuotingTheText) {
  const std::u16string cases[] = {
      u"'abc",            // unterminated segment
      u"'abc'#'d'",       // a code without digits before a quote
      u"'abc'#1x",        // a character other than a digit, '#' or quote after a code
      u"#65 ",            // a blank is such a character too
      u"##65",            // a code without digits before '#'
      u"#2147483648'x'",  // out of the signed 32-bit range before a quote
      u"#99999999999#65",
      u"'",
  };
  for (const std::u16string& text : cases) {
    std::u16string result;
    try {
      LiteralToString(text, result);
      ADD_FAILURE() << "no error for " << N(text);
    } catch (const ELiteralToStringError&) {
      ADD_FAILURE() << "recoverable error for " << N(text);
    } catch (const Exception& error) {
      EXPECT_EQ(std::string(error.what()), BadDecoded(N(text)));
    }
  }
}

TEST(DecodeQuotedValueTest, BlankSeparatedLiteralsAreLines) {
  const LiteralCase cases[] = {
      {u"'First' 'Second'", u"First\rSecond"},
      {u"  \t'x'", u"x"},
      {u"'x' ", u"x\r"},
      {u"Hello", u""},
      {u"'a' x 'b'", u"a\r\rb"},
      {u"", u""},
      {u"'a'\t\t'b'  ", u"a\rb"},
      {u"x 'a'", u"a"},  // no separator while the result is still empty
      {u"'a'  x", u"a\r\r"},
      {u"'a'#13#10'b' 'c'", u"a\r\nb\rc"},
      {u"'' ''", u""},  // empty pieces leave the result empty: no separator either
  };
  for (const LiteralCase& c : cases) {
    EXPECT_EQ(DecodeQuotedValue(c.text), c.decoded) << N(c.text);
  }
}

TEST(DecodeQuotedValueTest, DamageQuotesTheRemainingText) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"'a' 'b", "'b"},
      {u"'abc", "'abc"},
      {u"'a'  #1x 'c'", "#1x 'c'"},
  };
  for (const auto& [text, quoted] : cases) {
    try {
      DecodeQuotedValue(text);
      ADD_FAILURE() << "no error for " << N(text);
    } catch (const Exception& error) {
      EXPECT_EQ(std::string(error.what()), BadDecoded(quoted));
    }
  }
}

TEST(DecodeQuotedValueTest, LongRunOfStrayCharactersStaysLinear) {
  // One piece per stray character: a quadratic decoder would take minutes here.
  std::u16string text = u"'a' ";
  for (int i = 0; i < 200000; ++i) text += u"x ";
  text.append(100000, u' ');
  const std::u16string decoded = DecodeQuotedValue(text);
  // "a", one empty line per stray character and one for the empty rest after the last.
  EXPECT_EQ(decoded, u"a" + std::u16string(200001, u'\r'));
}

struct HumanizedCase {
  std::u16string text, cr, crlf, same, decoded;
};

TEST(DecodeHumanizedValueTest, ReplacesSubstitutes) {
  const HumanizedCase cases[] = {
      {u"One\\Two", u"\\", u"\\", u"\r", u"One\rTwo"},
      {u"One\\Two", u"\\", u"\\", u"\r\n", u"One\r\nTwo"},
      {u"a||b", u"|", u"||", u"\r", u"a\r\rb"},  // the CR substitute goes first
      {u"a||b|c", u"||", u"|", u"\r", u"a\rb\r\nc"},
      {u"aaa", u"aa", u"aa", u"\r", u"\ra"},  // left to right, no overlap
      {u"a\\b", u"", u"", u"\r", u"a\\b"},    // an empty substitute matches nothing
      {u"a<BR>b<br>c", u"<br>", u"<br>", u"\r", u"a<BR>b\rc"},  // case-sensitive
      {u"", u"\\", u"\\", u"\r", u""},
      {u"x%y", u"%", u"%%", u"%", u"x\ry"},
  };
  for (const HumanizedCase& c : cases) {
    EXPECT_EQ(DecodeHumanizedValue(c.text, c.cr, c.crlf, c.same), c.decoded) << N(c.text);
  }
}

TEST(DecodeValueTest, ChoosesTheNotation) {
  EXPECT_EQ(DecodeValue(u"'a\\b'", true, u"\\", u"\\", u"\r"), u"'a\rb'");
  EXPECT_EQ(DecodeValue(u"'a\\b'", false, u"\\", u"\\", u"\r"), u"a\\b");
  EXPECT_THROW(DecodeValue(u"'a", false, u"\\", u"\\", u"\r"), Exception);
  EXPECT_EQ(DecodeValue(u"'a", true, u"\\", u"\\", u"\r"), u"'a");
}

TEST(WideToAnsiCPTest, ConvertsToTheCodePage) {
  const struct {
    std::u16string text;
    std::int32_t code_page;
    std::string narrow;
  } cases[] = {
      {u"Gr\u00F6\u00DFe \u20AC", 65001,
       "Gr\xC3\xB6\xC3\x9F"
       "e \xE2\x82\xAC"},
      {u"\U0001F600", 65001, "\xF0\x9F\x98\x80"},
      {u"caf\u00E9", 28591, "caf\xE9"},
      {u"a\u6F22b", 28591, "a?b"},  // unrepresentable: the code page's default character
      {u"a\u6F22b", 20127, "a?b"},
      {u"", 65001, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToAnsiCP(c.text, c.code_page), c.narrow) << c.code_page;
  }
}

#ifdef _WIN32
// The system's code pages: Windows-1252 has the euro sign at 0x80; a code page the system
// does not know converts to nothing.
TEST(WideToAnsiCPTest, UsesTheSystemCodePages) {
  EXPECT_EQ(WideToAnsiCP(u"\u20AC caf\u00E9", 1252), "\x80 caf\xE9");
  EXPECT_EQ(WideToAnsiCP(u"\u20AC", 1251), "\x88");
  EXPECT_EQ(WideToAnsiCP(u"abc", 12345), "");
}
#endif

}  // namespace
}  // namespace velmora::localizer
