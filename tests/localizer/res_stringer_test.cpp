#include "localizer/res_stringer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/resource_strings.h"
#include "language_files.h"
#include "localizer/localizer.h"

namespace velmora::localizer {
namespace {

constexpr BuiltinString kBuiltins[] = {
    {65066, "Built-in 65066"}, {65100, "Built-in 65100"}, {65200, "Built-in 65200"},
    {70000, "Built-in 70000"}, {-5, "Built-in -5"},
};
VELMORA_BUILTIN_STRINGS(kBuiltins);

class ResStringerTest : public LanguageFileTest {
 protected:
  ResStringerTest() { engine.ErrorMode = emCollect; }
  void Load(std::string_view name, std::string_view body) {
    engine.LoadLanguageFile(Write(name, body));
  }
  TLocalizer engine;
};

TEST_F(ResStringerTest, WithoutLanguageFileBuiltInTextsComeThroughTheTranslator) {
  EXPECT_TRUE(engine.ResStringer().Enabled());
  EXPECT_FALSE(engine.ResStringer().Table().has_value());
  EXPECT_EQ(LoadResString(65066), "Built-in 65066");
  EXPECT_EQ(LoadResString(65999), "");
}

TEST_F(ResStringerTest, TranslationFirstThenBuiltInFallback) {
  // The block's header is recognised in any letter case.
  Load("de.lng", "[ResourceStrings]\n65066_SQuit='Wirklich beenden?'\n65100_X='Zweite'\n");
  EXPECT_TRUE(engine.Errors.empty());
  EXPECT_TRUE(engine.ResStringer().Enabled());
  EXPECT_EQ(LoadResString(65066), "Wirklich beenden?");
  EXPECT_EQ(LoadResString(65200), "Built-in 65200");  // not in the table
  EXPECT_EQ(LoadResString(65066), "Wirklich beenden?");
  EXPECT_EQ(LoadResString(65100), "Zweite");
}

struct LookupCase {
  const char* name;
  std::vector<int> identifiers;  // table in file order; entry i has the text "i"
  int query;
  const char* found;  // nullptr: not found
};

// The lower-bound search relies on the file's ascending order.
TEST_F(ResStringerTest, LookupSearchesByHalving) {
  const LookupCase cases[] = {
      {"single", {10}, 10, "0"},
      {"single-miss", {10}, 11, nullptr},
      {"first", {1, 2, 3, 4, 5}, 1, "0"},
      {"last", {1, 2, 3, 4, 5}, 5, "4"},
      {"middle", {1, 2, 3, 4, 5}, 3, "2"},
      {"below-all", {1, 2, 3}, 0, nullptr},
      {"above-all", {1, 2, 3}, 4, nullptr},
      {"gap", {1, 3, 5}, 4, nullptr},
      {"equal-first-wins", {1, 5, 5, 5, 9}, 5, "1"},
      {"equal-at-start", {5, 5, 9}, 5, "0"},
      {"signed-order", {-7, -5, 3}, -5, "1"},
      {"out-of-order-missed", {65100, 65066}, 65066, nullptr},
      {"out-of-order-found", {65100, 65066}, 65100, "0"},
      {"out-of-order-long", {1, 2, 9, 3, 4}, 3, nullptr},
  };
  for (const LookupCase& c : cases) {
    TLocalizer engine;
    std::string body = "[RESOURCESTRINGS]\n";
    for (std::size_t i = 0; i < c.identifiers.size(); ++i) {
      body += std::to_string(c.identifiers[i]) + "_N='" + std::to_string(i) + "'\n";
    }
    engine.LoadLanguageFile(Write(std::string(c.name) + ".lng", body));
    ASSERT_EQ(engine.ResStringer().Table()->size(), c.identifiers.size()) << c.name;
    std::string text = "untouched";
    const bool found = engine.ResStringer().TryGetString(c.query, text);
    EXPECT_EQ(found, c.found != nullptr) << c.name;
    EXPECT_EQ(text, c.found ? c.found : "untouched") << c.name;
  }
}

TEST_F(ResStringerTest, OutOfOrderIdentifiersShowBuiltInTexts) {
  Load("order.lng", "[RESOURCESTRINGS]\n65100_A='A'\n65066_B='B'\n");
  EXPECT_EQ(LoadResString(65066), "Built-in 65066");
  EXPECT_EQ(LoadResString(65100), "A");
}

TEST_F(ResStringerTest, EmptyBlockSwitchesTheInterceptionOffForGood) {
  Load("empty.lng", "[RESOURCESTRINGS]\n; only a comment\n\n[TForm1]\nA='a'\n");
  EXPECT_FALSE(engine.ResStringer().Enabled());
  ASSERT_TRUE(engine.ResStringer().Table().has_value());
  EXPECT_TRUE(engine.ResStringer().Table()->empty());
  EXPECT_EQ(engine.Sections().size(), 1u);  // the loader went on with the next header

  Load("full.lng", "[RESOURCESTRINGS]\n65066_A='Translated'\n");
  EXPECT_FALSE(engine.ResStringer().Enabled());
  EXPECT_EQ(engine.ResStringer().Table()->size(), 1u);
  EXPECT_EQ(LoadResString(65066), "Built-in 65066");
}

TEST_F(ResStringerTest, BlockOfOnlyBadLinesAlsoDisables) {
  Load("bad.lng", "[RESOURCESTRINGS]\n(!)65066_A='x'\nx_B='y'\n");
  EXPECT_EQ(engine.Errors.size(), 2u);
  EXPECT_FALSE(engine.ResStringer().Enabled());
}

TEST_F(ResStringerTest, DecodingErrorStopsWithEntriesKeptAndInterceptionOff) {
  Load("broken.lng",
       "[RESOURCESTRINGS]\n65066_A='Translated'\n65100_B='unterminated\n65200_C='c'\n");
  ASSERT_EQ(engine.Errors.size(), 1u);
  EXPECT_EQ(engine.ResStringer().Table()->size(), 1u);
  EXPECT_FALSE(engine.ResStringer().Enabled());
  EXPECT_EQ(LoadResString(65066), "Built-in 65066");
  EXPECT_EQ(engine.LanguageFile(), "");
}

TEST_F(ResStringerTest, RaiseModeLeavesTheBlockAtFirstReport) {
  engine.ErrorMode = emRaise;
  EXPECT_THROW(Load("raise.lng", "[RESOURCESTRINGS]\n65066_A='a'\n(x)1_B\n65100_C='c'\n"),
               EParvekError);
  EXPECT_EQ(engine.ResStringer().Table()->size(), 1u);
  EXPECT_FALSE(engine.ResStringer().Enabled());
}

TEST_F(ResStringerTest, LaterBlockReplacesTable) {
  Load("two.lng",
       "[RESOURCESTRINGS]\n65066_A='first'\n65100_B='b'\n[TForm1]\n[RESOURCESTRINGS]\n"
       "65066_A='second'\n");
  EXPECT_EQ(engine.ResStringer().Table()->size(), 1u);
  EXPECT_EQ(LoadResString(65066), "second");
  EXPECT_EQ(LoadResString(65100), "Built-in 65100");
  // A file without a block leaves the table and the switch as they were.
  Load("none.lng", "[TForm1]\nA='a'\n");
  EXPECT_EQ(LoadResString(65066), "second");
  EXPECT_TRUE(engine.ResStringer().Enabled());
}

TEST_F(ResStringerTest, EntryLineRules) {
  Load("rules.lng",
       "Humanize=1\n[RESOURCESTRINGS]\n"
       "1_Name=line\\break\n"
       "2=no name\n"  // no "_": the whole line is the identifier text
       "3_Name\n"     // no "=": empty value
       "-4_Negative=n\n"
       "_Empty=e\n"   // empty identifier
       "12x_Bad=b\n"  // stored under no number at all
       "99999999999_Big=g\n"
       "5_A_B=x=y\n");
  EXPECT_EQ(engine.Errors,
            (std::vector<std::string>{"Bad resource ID in language file: \"2=no name\"",
                                      "Bad resource ID in language file: \"\"",
                                      "Bad resource ID in language file: \"12x\"",
                                      "Bad resource ID in language file: \"99999999999\""}));
  std::vector<std::pair<int, std::string>> table;
  for (const TResStringer::Entry& e : *engine.ResStringer().Table()) {
    table.emplace_back(e.Identifier, e.Text);
  }
  EXPECT_EQ(table, (std::vector<std::pair<int, std::string>>{
                       {1, "line\r\nbreak"}, {3, ""}, {-4, "n"}, {5, "x=y"}}));
}

TEST_F(ResStringerTest, IdentifiersFrom65536OnAreNeverTranslated) {
  Load("big.lng", "[RESOURCESTRINGS]\n-5_A='minus'\n70000_B='translated'\n");
  std::string text;
  EXPECT_TRUE(engine.ResStringer().TryGetString(70000, text));
  EXPECT_EQ(LoadResString(70000), "Built-in 70000");
  EXPECT_EQ(LoadResString(-5), "minus");
}

TEST_F(ResStringerTest, DestroyingTheEngineRestoresBuiltInTexts) {
  Load("outer.lng", "[RESOURCESTRINGS]\n65066_A='outer'\n");
  {
    TLocalizer inner;
    inner.LoadLanguageFile(Write("inner.lng", "[RESOURCESTRINGS]\n65066_A='inner'\n"));
    EXPECT_EQ(LoadResString(65066), "inner");
  }
  EXPECT_EQ(LoadResString(65066), "outer");
  {
    auto first = std::make_unique<TLocalizer>();
    TLocalizer second;
    first.reset();  // destroyed out of order: the later engine stays in front
    EXPECT_EQ(LoadResString(65066), "Built-in 65066");
  }
  EXPECT_EQ(LoadResString(65066), "outer");
}

TEST(ResStringerLifetimeTest, NoEngineMeansBuiltInTexts) {
  {
    TLocalizer engine;
    std::vector<std::string_view> lines = {"65066_A='x'"};
    std::size_t index = 0;
    engine.ResStringer().ReadResourceStrings(lines, index, false, u"\\", u"\\");
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(LoadResString(65066), "x");
  }
  EXPECT_EQ(LoadResString(65066), "Built-in 65066");
}

}  // namespace
}  // namespace velmora::localizer
