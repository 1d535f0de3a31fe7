#include "localizer/localizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "language_files.h"
#include "localizer/platform.h"

namespace velmora::localizer {
namespace {

using Strings = std::vector<std::string>;

// Replaces every "{path}" with `path`.
std::string WithPath(std::string text, const std::string& path) {
  for (std::size_t at = text.find("{path}"); at != std::string::npos;
       at = text.find("{path}", at + path.size())) {
    text.replace(at, 6, path);
  }
  return text;
}

TEST(SplitLinesTest, BreaksAtCrLfCrAndLf) {
  const struct {
    std::string text;
    std::vector<std::string_view> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n", {"a"}},  // a break at the very end starts no line
      {"a\n\n", {"a", ""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

class LoaderTest : public LanguageFileTest {
 protected:
  LoaderTest() { engine.ErrorMode = emCollect; }
  TLocalizer engine;
};

struct MessageCase {
  const char* name;
  std::string body;  // after the signature line
  Strings reports;   // "{path}" stands for the file's full path
  bool completes;    // whether the load ran to its end
  Strings paths;     // entries of the sections, in file order
};

// Every report of the loader, and whether it stops loading or goes on with the next line.
TEST_F(LoaderTest, ReportsEachProblemAndStopsOnlyOnFatalOnes) {
  const MessageCase cases[] = {
      {"bad-utf8",
       "[TForm1]\n\xFF\xFE=x\nA='a'\n",
       {"Bad UTF-8 line in language file:\r\n\"\xFF\xFE=x\"\r\nCheck file encoding!"},
       true,
       {"A"}},
      {"overlong-utf8",
       "[TForm1]\nA='\xC0\xAF'\nB='b'\n",
       {"Bad UTF-8 line in language file:\r\n\"A='\xC0\xAF'\"\r\nCheck file encoding!"},
       true,
       {"B"}},
      {"obsolete",
       "[TForm1]\n(x)A='a'\nB='b'\n",
       {"Obsolete line in language file:\r\n\"(x)A='a'\"\r\nYou have to remove it!"},
       true,
       {"B"}},
      {"untranslated",
       "[TForm1]\n(!)A='a'\nB='b'\n",
       {"Untranslated line in language file:\r\n\"(!)A='a'\"\r\nYou have to translate it!"},
       true,
       {"B"}},
      {"other-parenthesis", "[TForm1]\n(y)A='a'\n(\nB='b'\n", {}, true, {"B"}},
      {"deleted-component",
       "[TForm1]\nA='a'\n[(x)TForm2]\nB='b'\n[TForm3]\nC='c'\n",
       {"Deleted component in language file:\r\n\"[(x)TForm2]\"\r\nYou have to remove it!"},
       false,
       {"A"}},
      {"empty-path",
       "[TForm1]\nA='a'\n{note}='x'\nB='b'\n",
       {"Bad line in language file: \"{note}='x'\""},
       false,
       {"A"}},
      {"empty-path-no-value", "[TForm1]\n=\n", {"Bad line in language file: \"=\""}, false, {}},
      {"unterminated-in-general",
       "[General]\nLangNameEng='English\nTanslator='Me'\n",
       {"Error while loading language file \"{path}\"\r\nBad decoded string: \"'English\""},
       false,
       {}},
      {"bad-code",
       "[TForm1]\nA='a'\nB='b'#1x\n",
       {"Error while loading language file \"{path}\"\r\nBad decoded string: \"'b'#1x\""},
       false,
       {"A"}},
      {"junk-before-sections",
       "Garbage \xFF\n(x)old\n=\nA='a'\n[TForm1]\nB='b'\n",
       {},
       true,
       {"B"}},
      {"comments-and-empty-lines", "[TForm1]\n;(x)A\n\n; \xFF\nB='b'\n", {}, true, {"B"}},
      {"resource-block-lines",
       "[RESOURCESTRINGS]\n(x)1_A='a'\n(!)2_B='b'\nabc_C='c'\n\xFF\n3_D='d'\n[TForm1]\nE='e'\n",
       {"Obsolete line in language file:\r\n\"(x)1_A='a'\"\r\nYou have to delete it!",
        "Untranslated line in language file:\r\n\"(!)2_B='b'\"\r\nYou have to translate it!",
        "Bad resource ID in language file: \"abc\"",
        "Bad UTF-8 line in language file:\r\n\"\xFF\"\r\nCheck file encoding!"},
       true,
       {"E"}},
      {"unterminated-in-resource-block",
       "[RESOURCESTRINGS]\n1_A='a\n[TForm1]\nE='e'\n",
       {"Error while loading language file \"{path}\"\r\nBad decoded string: \"'a\""},
       false,
       {}},
  };
  for (const MessageCase& c : cases) {
    TLocalizer engine;
    engine.ErrorMode = emCollect;
    int after_load = 0;
    engine.OnAfterLoad = [&](TLocalizer&, const std::string&) { ++after_load; };
    const std::string path = Write(std::string(c.name) + ".lng", c.body);
    engine.LoadLanguageFile(path);
    Strings expected;
    for (const std::string& report : c.reports) expected.push_back(WithPath(report, path));
    EXPECT_EQ(engine.Errors, expected) << c.name;
    EXPECT_EQ(after_load, c.completes ? 1 : 0) << c.name;
    EXPECT_EQ(engine.LanguageFile(), c.completes ? path : "") << c.name;
    Strings paths;
    for (const TResForm& section : engine.Sections()) {
      EXPECT_EQ(section.Paths.size(), section.Values.size()) << c.name;
      paths.insert(paths.end(), section.Paths.begin(), section.Paths.end());
    }
    EXPECT_EQ(paths, c.paths) << c.name;
  }
}

TEST_F(LoaderTest, SignatureMustBeTheWholeFirstLine) {
  const std::string signature(kLanguageFileSignature);
  const struct {
    const char* name;
    std::string bytes;
    bool accepted;
  } cases[] = {
      {"plain", signature + "\n[A]\n", true},
      {"bom", "\xEF\xBB\xBF" + signature + "\r\n[A]\r\n", true},
      {"only-signature", signature, true},
      {"trailing-blank", signature + " \n[A]\n", false},
      {"letter-case", "; tobrash's localizer language file.\n[A]\n", false},
      {"second-line", "\n" + signature + "\n", false},
      {"two-boms", "\xEF\xBB\xBF\xEF\xBB\xBF" + signature + "\n", false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    TLocalizer engine;
    engine.ErrorMode = emCollect;
    const std::string path = WriteRaw(std::string(c.name) + ".lng", c.bytes);
    engine.LoadLanguageFile(path);
    if (c.accepted) {
      EXPECT_TRUE(engine.Errors.empty()) << c.name;
      EXPECT_EQ(engine.LanguageFile(), path) << c.name;
    } else {
      EXPECT_EQ(engine.Errors, Strings{"Bad signature in language file \"" + path + "\""})
          << c.name;
    }
  }
}

TEST_F(LoaderTest, UnreadableFilesAreReportedWithTheFullPath) {
  const std::string missing = PathToUtf8(folder_ / "missing");
  engine.LoadLanguageFile(missing);
  const std::string too_large = WriteRaw("large.lng", std::string(kLanguageFileSignature) + "\n" +
                                                          std::string(kMaxLanguageFileSize, ';'));
  engine.LoadLanguageFile(too_large);
  EXPECT_EQ(engine.Errors, (Strings{"Error while loading language file \"" + missing +
                                        ".lng\"\r\nCannot open file \"" + missing + ".lng\".",
                                    "Error while loading language file \"" + too_large +
                                        "\"\r\nCannot read file \"" + too_large +
                                        "\": it is larger than 4 MiB."}));
  EXPECT_EQ(engine.LanguageFile(), "");
}

TEST_F(LoaderTest, FileNameGetsFolderAndExtension) {
  const char sep = platform::kPathSeparator;
  const struct {
    std::string dir, name, full;
  } cases[] = {
      {"", "de", "de.lng"},
      {"", "de.LNG", "de.LNG"},
      {"", "de.Lng", "de.Lng"},
      {"", "de.lngx", "de.lngx.lng"},
      {"Language", "de", std::string("Language") + sep + "de.lng"},
      {"Language/", "de.lng", "Language/de.lng"},
      {"Language\\", "de", "Language\\de.lng"},
  };
  for (const auto& c : cases) {
    engine.LanguageDir = c.dir;
    EXPECT_EQ(engine.FullPath(c.name), c.full) << c.dir << " " << c.name;
  }
  // The file opens under the built path, and LanguageFile keeps the name as passed.
  Write("Deutsch.lng", "[A]\n");
  engine.LanguageDir = PathToUtf8(folder_);
  engine.LoadLanguageFile("Deutsch");
  EXPECT_TRUE(engine.Errors.empty());
  EXPECT_EQ(engine.LanguageFile(), "Deutsch");
}

TEST_F(LoaderTest, NonAsciiPathsOpen) {
  std::filesystem::create_directories(folder_ / PathFromUtf8("Spr\xC3\xA4"
                                                             "che"));
  const std::string path = Write(
      "Spr\xC3\xA4"
      "che/\xC3\x9C"
      "bersetzung.lng",
      "[A]\nB='b'\n");
  engine.LoadLanguageFile(path);
  EXPECT_TRUE(engine.Errors.empty());
  ASSERT_EQ(engine.Sections().size(), 1u);
}

TEST_F(LoaderTest, KeepsSectionsAndEntriesInFileOrder) {
  const std::string path = Write("sections.lng",
                                 "[TfrmMain]\r"
                                 "Label1.Caption{ignored}='Hello' 'World'\n"
                                 "Label2.Caption\r\n"
                                 "Font.Name=#65'rial'\n"
                                 "Label3.Caption='Gr\xC3\xB6\xC3\x9F"
                                 "e'#8364\n"
                                 "Label1.Caption='again'\n"
                                 "[TfrmMain]\n"
                                 "Caption=''\n"
                                 "[ResourceStrings ]\n"
                                 "A=''\n"
                                 "[\n"
                                 "[X\n"
                                 "[RESOURCESTRINGS] \n"
                                 "B='b'\n");
  engine.LoadLanguageFile(path);
  EXPECT_TRUE(engine.Errors.empty());
  const std::vector<TResForm>& sections = engine.Sections();
  ASSERT_EQ(sections.size(), 6u);
  EXPECT_EQ(sections[0].SectionName, "TfrmMain");
  EXPECT_EQ(sections[0].Paths, (Strings{"Label1.Caption", "Label2.Caption", "Font.Name",
                                        "Label3.Caption", "Label1.Caption"}));
  EXPECT_EQ(sections[0].Values, (Strings{"Hello\rWorld", "", "Arial",
                                         "Gr\xC3\xB6\xC3\x9F"
                                         "e\xE2\x82\xAC",
                                         "again"}));
  EXPECT_EQ(sections[1].SectionName, "TfrmMain");  // a second section of the same class
  // The class name is the header without its first and last character.
  EXPECT_EQ(sections[2].SectionName, "ResourceStrings ");
  EXPECT_EQ(sections[3].SectionName, "");
  EXPECT_EQ(sections[4].SectionName, "");
  EXPECT_EQ(sections[5].SectionName, "RESOURCESTRINGS]");
  EXPECT_EQ(sections[5].Values, Strings{"b"});
  EXPECT_FALSE(engine.ResStringer().Table().has_value());
}

// Header options are found on any line of the file, in any letter case of the key; the
// first matching line wins and its value is taken unchanged.
TEST_F(LoaderTest, HeaderOptionsAreFoundAnywhere) {
  const struct {
    const char* name;
    std::string before;  // lines between the signature and the section
    std::string inside;  // lines inside the section, before the entry
    std::string after;   // lines after the entry
    std::string value;   // the entry's value as written
    std::string decoded;
  } cases[] = {
      {"default", "", "", "", "'a\\b'", "a\\b"},
      {"header", "Humanize=1\n", "", "", "a\\b", "a\rb"},
      {"in-section", "", "Humanize=1\n", "", "a\\b", "a\rb"},
      {"after-everything", "", "", "[Other]\nhUMANIZE=1\n", "a\\b", "a\rb"},
      {"yes", "Humanize=yes\n", "", "", "'a'", "a"},
      {"blank-before-value", "Humanize= 1\n", "", "", "'a'", "a"},
      {"first-wins", "Humanize=0\n", "", "Humanize=1\n", "'a'", "a"},
      {"not-the-key", "Humanize2=1\n Humanize=1\n", "", "", "'a'", "a"},
      {"divider", "Humanize=1\nHumanizeDivider=<br>\n", "", "", "a<br>b\\c", "a\rb\\c"},
      {"cr-and-crlf", "Humanize=1\nHumanizedCR=|\nHumanizedCRLF=||\n", "", "", "a||b", "a\r\rb"},
      {"crlf-overrides-divider", "Humanize=1\nHumanizeDivider=|\nHumanizedCRLF=~\n", "", "",
       "a|b~c", "a\rb\r\nc"},
      {"non-ascii-divider", "Humanize=1\nHumanizeDivider=\xC2\xB6\n", "", "",
       "a\xC2\xB6"
       "b",
       "a\rb"},
  };
  for (const auto& c : cases) {
    TLocalizer engine;
    engine.ErrorMode = emCollect;
    engine.LoadLanguageFile(
        Write(std::string(c.name) + ".lng",
              c.before + "[TForm1]\n" + c.inside + "Entry=" + c.value + "\n" + c.after));
    EXPECT_TRUE(engine.Errors.empty()) << c.name;
    ASSERT_FALSE(engine.Sections().empty()) << c.name;
    const TResForm& section = engine.Sections()[0];
    const auto entry = std::find(section.Paths.begin(), section.Paths.end(), "Entry");
    ASSERT_NE(entry, section.Paths.end()) << c.name;
    EXPECT_EQ(section.Values[std::size_t(entry - section.Paths.begin())], c.decoded) << c.name;
  }
}

TEST_F(LoaderTest, CollectedReportsAccumulateOverLoads) {
  const std::string path = Write("one.lng", "[TForm1]\n(!)A='a'\n");
  engine.LoadLanguageFile(path);
  engine.LoadLanguageFile(path);
  EXPECT_EQ(engine.Errors.size(), 2u);
}

TEST_F(LoaderTest, ErrorModesRouteReports) {
  const std::string path = Write("mode.lng", "[TForm1]\n(!)A='a'\nB='b'\n");
  const std::string report =
      "Untranslated line in language file:\r\n\"(!)A='a'\"\r\nYou have to translate it!";
  Strings boxes, debug;
  engine.ShowMessageBox = [&](const std::string& m) { boxes.push_back(m); };
  engine.DebugOutput = [&](const std::string& m) { debug.push_back(m); };

  engine.ErrorMode = emIgnore;
  engine.LoadLanguageFile(path);
  engine.ErrorMode = emMessageBox;
  engine.LoadLanguageFile(path);
  engine.ErrorMode = emDebugOutput;
  engine.LoadLanguageFile(path);
  EXPECT_EQ(boxes, Strings{report});
  EXPECT_EQ(debug, Strings{report});
  EXPECT_TRUE(engine.Errors.empty());
  EXPECT_EQ(engine.LanguageFile(), path);  // line-level problems do not stop loading

  // emRaise: the first report ends the load and comes back wrapped.
  engine.ErrorMode = emRaise;
  EXPECT_THROW(engine.ReportError("x"), EParvekError);
  try {
    engine.LoadLanguageFile(path);
    ADD_FAILURE() << "no error raised";
  } catch (const EParvekError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Error while loading language file \"" + path + "\"\r\n" + report);
  }
  ASSERT_EQ(engine.Sections().size(), 1u);
  EXPECT_TRUE(engine.Sections()[0].Paths.empty());
}

TEST_F(LoaderTest, EventsAndFormTranslationFollowTheLoad) {
  const std::string good = Write("good.lng", "[TForm1]\nA='a'\n");
  const std::string bad = Write("bad.lng", "[TForm1]\nA='a\n");
  Strings calls;
  engine.OnBeforeLoad = [&](TLocalizer& sender, const std::string& old_file,
                            const std::string& new_file) {
    EXPECT_EQ(&sender, &engine);
    calls.push_back("before " + old_file + " -> " + new_file);
  };
  engine.OnAfterLoad = [&](TLocalizer&, const std::string& file) {
    calls.push_back("after " + file);
  };
  engine.TranslateForms = [&](TLocalizer& sender) {
    calls.push_back("translate " + std::to_string(sender.Sections().size()));
  };
  engine.LoadLanguageFile(good);  // AutoTranslate off: forms are not touched
  engine.AutoTranslate = true;
  engine.LoadLanguageFile(good);
  engine.LoadLanguageFile(bad);  // stopped: neither translation nor the after-load event
  EXPECT_EQ(calls, (Strings{"before  -> " + good, "after " + good, "before " + good + " -> " + good,
                            "translate 1", "after " + good, "before " + good + " -> " + bad}));
  EXPECT_EQ(engine.LanguageFile(), good);
  EXPECT_EQ(engine.Errors.size(), 1u);
}

TEST_F(LoaderTest, HandlerErrors) {
  const std::string path = Write("handlers.lng", "[TForm1]\nA='a'\n");
  // The before-load handler's error reaches the caller unreported; nothing was cleared.
  engine.LoadLanguageFile(path);
  engine.OnBeforeLoad = [](TLocalizer&, const std::string&, const std::string&) {
    throw Exception("refused");
  };
  EXPECT_THROW(engine.LoadLanguageFile(path), Exception);
  EXPECT_TRUE(engine.Errors.empty());
  EXPECT_EQ(engine.Sections().size(), 1u);
  // The after-load handler's error is reported like any error of the load.
  engine.OnBeforeLoad = nullptr;
  engine.OnAfterLoad = [](TLocalizer&, const std::string&) { throw Exception("late"); };
  engine.LoadLanguageFile(path);
  EXPECT_EQ(engine.Errors, Strings{"Error while loading language file \"" + path + "\"\r\nlate"});
}

TEST_F(LoaderTest, FailedLoadClearsSectionsButKeepsTheRest) {
  const std::string good =
      Write("good.lng", "[TForm1]\nA='a'\n[RESOURCESTRINGS]\n65066_X='Translated'\n");
  engine.LoadLanguageFile(good);
  ASSERT_EQ(engine.Sections().size(), 1u);
  engine.LoadLanguageFile(PathToUtf8(folder_ / "missing.lng"));
  EXPECT_TRUE(engine.Sections().empty());
  EXPECT_EQ(engine.LanguageFile(), good);
  std::string text;
  EXPECT_TRUE(engine.ResStringer().TryGetString(65066, text));
  EXPECT_EQ(text, "Translated");
}

// Hostile files end in reports, in bounded time and memory.
TEST_F(LoaderTest, HostileFilesGiveReports) {
  std::string many_sections;
  for (int i = 0; i < 20000; ++i) many_sections += "[C" + std::to_string(i) + "]\n(!)x\n";
  std::string long_line = "[T]\nA=";
  for (int i = 0; i < 400000; ++i) long_line += "'a' ";
  std::string binary;
  for (int i = 0; i < 100000; ++i) binary.push_back(static_cast<char>((i * 7919) % 256));
  engine.LoadLanguageFile(Write("sections.lng", many_sections));
  EXPECT_EQ(engine.Sections().size(), 20000u);
  EXPECT_EQ(engine.Errors.size(), 20000u);
  engine.LoadLanguageFile(Write("long.lng", long_line));
  ASSERT_EQ(engine.Sections().size(), 1u);
  EXPECT_EQ(engine.Sections()[0].Values[0].size(), 400000u * 2 - 1);
  engine.Errors.clear();
  engine.LoadLanguageFile(WriteRaw("binary.lng", binary));
  EXPECT_EQ(engine.Errors.size(), 1u);  // no signature
  engine.LoadLanguageFile(Write("binary2.lng", "[T]\n" + binary));
  EXPECT_FALSE(engine.Errors.empty());
}

}  // namespace
}  // namespace velmora::localizer
