#include "core/text.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
  const auto wide = Utf8ToUtf16Strict(text);
  ASSERT_TRUE(wide.has_value());
  EXPECT_EQ(*wide, std::u16string(u"a\u00e9\u20ac\U0001F600"));
  EXPECT_EQ(Utf16ToUtf8(*wide), text);
}

TEST(Utf8, StrictDecoderRejectsMalformedInput) {
  const char* bad[] = {"\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE2\x82"};
  for (const char* text : bad) {
    EXPECT_FALSE(Utf8ToUtf16Strict(text).has_value()) << "input: " << text;
  }
  EXPECT_EQ(Utf8ToUtf16("a\x80z"), std::u16string(u"a\ufffdz"));
}

TEST(Utf8, LengthAndPrefixCountCharactersNotBytes) {
  const std::string text = "\xC3\xA9t\xC3\xA9";  // été
  EXPECT_EQ(Utf8Length(text), 3u);
  EXPECT_EQ(Utf8Prefix(text, 1), "\xC3\xA9");
  EXPECT_EQ(Utf8Prefix(text, 10), text);
}

TEST(Ascii, CaseMappingTouchesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiLower("NotePad.EXE \xC3\x89"), "notepad.exe \xC3\x89");
  EXPECT_EQ(AsciiUpper("abc\xC3\xA9"), "ABC\xC3\xA9");
  EXPECT_TRUE(AsciiEqualNoCase("WinWord.exe", "winword.EXE"));
  EXPECT_FALSE(AsciiEqualNoCase("\xC3\x89", "\xC3\xA9"));
}

// A map keyed by names finds them in any A-Z case, searched with a string_view; letters
// outside A-Z (É and é here) stay distinct keys.
TEST(Ascii, NoCaseMapFindsKeysInAnyAsciiCase) {
  AsciiNoCaseMap<int> map;
  map.emplace("WinWord.exe", 1);
  map.emplace("\xC3\x89.exe", 2);
  EXPECT_EQ(map.size(), 2u);
  EXPECT_FALSE(map.try_emplace("WINWORD.EXE", 3).second);
  const std::string_view found[] = {"winword.exe", "WINWORD.EXE", "WinWord.exe"};
  for (std::string_view key : found) {
    ASSERT_NE(map.find(key), map.end()) << key;
    EXPECT_EQ(map.find(key)->second, 1) << key;
  }
  EXPECT_EQ(map.find("\xC3\xA9.exe"), map.end());
  EXPECT_EQ(map.find("winword.ex"), map.end());
  EXPECT_EQ(AsciiNoCaseHash{}("Notepad.EXE"), AsciiNoCaseHash{}("notepad.exe"));
}

}  // namespace
}  // namespace velmora

#ifdef _WIN32
namespace velmora {
namespace {

TEST(Win32Boundary, WidenAndNarrowAreInverse) {
  const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
  const std::wstring wide = Widen(text);
  EXPECT_EQ(wide, std::wstring(L"Caf\u00e9 \u20ac \U0001F600"));
  EXPECT_EQ(Narrow(wide), text);
  EXPECT_TRUE(Widen("").empty());
}

}  // namespace
}  // namespace velmora
#endif
