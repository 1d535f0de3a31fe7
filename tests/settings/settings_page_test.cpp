// The Settings page's rules: the language list, the language choice, the logon entry and the
// translation details; and the INI lookup they read language files with.
#include "settings/settings_page.h"

#include <gtest/gtest.h>

#include "gui/button.h"
#include "gui/combo_box.h"
#include "settings/form_store.h"
#include "settings/ini_file.h"
#include "testing_fakes.h"

namespace velmora::settings {
namespace {

using testing::FakeLanguageFolder;

constexpr char kFolder[] = "C:\\Program Files\\Velmora\\Language\\";

std::string General(std::string_view body) {
  return "; Velmora language file\r\n[General]\r\n" + std::string(body) + "\r\n[TfrmMain]\r\n";
}

class LanguageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.files = {
        {std::string(kFolder) + "Deutsch.lng",
         General("LangNameEng=German\r\nLangNameNative=Deutsch\r\nTanslator=Anna\r\nEmail=anna@"
                 "example.de")},
        {std::string(kFolder) + "English.lng", General("LangNameEng=English")},
        {std::string(kFolder) + "Nameless.lng", General("LangNameNative=Ohne")},
        {std::string(kFolder) + "Empty.lng", General("LangNameEng=")},
        {std::string(kFolder) + "Binary.lng", std::string("[General]\nLangNameEng=X\0\x01", 20)},
        {std::string(kFolder) + "NoGeneral.lng", "[Other]\nLangNameEng=Other\n"},
        {std::string(kFolder) + "Huge.lng",
         General("LangNameEng=Huge\r\n") + std::string(kMaxLanguageFileSize, ';')},
    };
  }
  gui::testing::FakePlatform platform;
  gui::TComboBox list{nullptr};
  FakeLanguageFolder files;
};

TEST_F(LanguageListTest, ListsNamedLanguagesSortedWhateverTheFileOrder) {
  for (const bool reversed : {false, true}) {
    files.reversed = reversed;
    list.SetSorted(true);
    RebuildLanguageList(list, FindLanguages(files, kFolder), 1);
    ASSERT_EQ(list.Items().Count(), 2) << "reversed " << reversed;
    EXPECT_EQ(list.Items()[0], "English");
    EXPECT_EQ(list.Items()[1], "German / Deutsch");
    EXPECT_EQ(list.Items().Value(1), std::string(kFolder) + "Deutsch.lng");
    EXPECT_EQ(list.ItemIndex(), 1);
  }
}

TEST_F(LanguageListTest, ChoosingALanguageMakesItTheCurrentOne) {
  list.SetSorted(true);
  RebuildLanguageList(list, FindLanguages(files, kFolder), 0);
  LanguageSettings settings;
  int changes = 0;
  list.OnChange = [&](gui::TObject&) {
    ++changes;
    LanguageChanged(list, settings);
  };
  list.SelectByUser(1);
  EXPECT_EQ(settings.current_language_index, 1);
  EXPECT_EQ(settings.current_language_file, std::string(kFolder) + "Deutsch.lng");
  // Selections made by the program are not changes.
  RebuildLanguageList(list, FindLanguages(files, kFolder), 0);
  SelectLanguage(list, 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(LanguageListTest, AnIndexOutsideTheListSelectsNothing) {
  for (const int index : {5, 2, -1, -7}) {
    RebuildLanguageList(list, FindLanguages(files, kFolder), index);
    EXPECT_EQ(list.ItemIndex(), -1) << index;
  }
  RebuildLanguageList(list, FindLanguages(files, "C:\\Missing\\"), 0);
  EXPECT_EQ(list.Items().Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(LanguageDisplayName, NativeNameOnlyWhenItDiffers) {
  EXPECT_EQ(LanguageDisplayName("German", "Deutsch"), "German / Deutsch");
  EXPECT_EQ(LanguageDisplayName("English", "english"), "English");
  EXPECT_EQ(LanguageDisplayName("English", ""), "English");
  EXPECT_EQ(LanguageDisplayName("Russian", "Русский"), "Russian / Русский");
  EXPECT_EQ(LanguageFolderOf("C:\\Velmora"), "C:\\Velmora\\Language\\");
}

TEST_F(LanguageListTest, TranslationDetails) {
  const std::string deutsch = std::string(kFolder) + "Deutsch.lng";
  const std::string english = std::string(kFolder) + "English.lng";
  EXPECT_EQ(ReadTranslationDetails(files, deutsch, deutsch),
            (TranslationDetails{"Deutsch", "Anna", "anna@example.de", "mailto:anna@example.de"}));
  // Nobody named: the mail goes to the maker, the subject names the current language's file.
  EXPECT_EQ(ReadTranslationDetails(files, english, deutsch),
            (TranslationDetails{"UNKNOWN", "UNKNOWN", "UNKNOWN",
                                "mailto:support@orindel.example?subject=LanguageDeutsch.lng"}));
  files.files.push_back({std::string(kFolder) + "Blank.lng", General("LangNameEng=B\r\nEmail=")});
  const TranslationDetails blank =
      ReadTranslationDetails(files, std::string(kFolder) + "Blank.lng", english);
  EXPECT_EQ(blank.email, "");
  EXPECT_EQ(blank.mail_target, "mailto:");
}

TEST(LanguageStore, FirstStartDefaultsOddTypesAndTheWrite) {
  MemoryRegistry registry;
  const LanguageSettings first = ReadLanguageSettings(registry);
  EXPECT_TRUE(registry.KeyExists(kProductKey)) << "the first start creates the product key";
  EXPECT_EQ(first.current_language_index, 0);
  EXPECT_EQ(first.current_language_file, "");
  EXPECT_TRUE(WriteLanguageSettings(registry, first));
  EXPECT_EQ(registry.ValueNames(kProductKey),
            (std::vector<std::string>{"Currently Used Language", "fCurrentLanguageFile"}));
  EXPECT_EQ(registry.Get(kProductKey, kLanguageFileValue)->type, ValueType::kString);

  // Values of another type than stored by the program read as their defaults.
  registry.SetString(kProductKey, kLanguageIndexValue, "2");
  registry.SetDword(kProductKey, kLanguageFileValue, 7);
  const LanguageSettings odd = ReadLanguageSettings(registry);
  EXPECT_EQ(odd.current_language_index, 0);
  EXPECT_EQ(odd.current_language_file, "");

  registry.SetDword(kProductKey, kLanguageIndexValue, 0xFFFFFFFE);
  registry.SetString(kProductKey, kLanguageFileValue, "C:\\Язык\\Русский.lng");
  const LanguageSettings stored = ReadLanguageSettings(registry);
  EXPECT_EQ(stored.current_language_index, -2);
  EXPECT_EQ(stored.current_language_file, "C:\\Язык\\Русский.lng");

  MemoryRegistry locked;
  locked.FailCreating(kProductKey);
  EXPECT_EQ(ReadLanguageSettings(locked).current_language_index, 0);
  EXPECT_FALSE(WriteLanguageSettings(locked, stored));
}

TEST(AutoStart, WritesTheQuotedPathAndDeletesIt) {
  MemoryRegistry registry;
  const std::string exe = "C:\\Program Files\\Velmora\\Velmora.exe";
  ApplyAutoStart(registry, true, exe);
  ASSERT_NE(registry.Get(kRunKey, kRunValue), nullptr);
  EXPECT_EQ(registry.Get(kRunKey, kRunValue)->type, ValueType::kString);
  EXPECT_EQ(registry.Get(kRunKey, kRunValue)->text, "\"C:\\Program Files\\Velmora\\Velmora.exe\"");
  EXPECT_TRUE(AutoStartRegistered(registry));
  ApplyAutoStart(registry, false, exe);
  EXPECT_EQ(registry.Get(kRunKey, kRunValue), nullptr);
  ApplyAutoStart(registry, false, exe);  // nothing to delete: no error
  EXPECT_FALSE(AutoStartRegistered(registry));
}

TEST(AutoStart, AValueThatCannotBeWrittenIsReported) {
  MemoryRegistry registry;
  registry.FailWriting(kRunValue);
  try {
    ApplyAutoStart(registry, true, "C:\\Velmora.exe");
    ADD_FAILURE() << "no error";
  } catch (const ERegistryError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'Velmora'");
  }
  // A Run key that cannot be opened: nothing written, nothing reported, and the box is off.
  MemoryRegistry closed;
  closed.FailCreating(kRunKey);
  ApplyAutoStart(closed, true, "C:\\Velmora.exe");
  EXPECT_FALSE(AutoStartRegistered(closed));
}

TEST(AutoStart, TheBoxFollowsTheValueAndItsChangeRunsTheHandler) {
  gui::testing::FakePlatform platform;
  MemoryRegistry registry;
  registry.SetString(kRunKey, kRunValue, "C:\\Old\\Velmora.exe");
  gui::TCheckBox box(nullptr);
  int clicks = 0;
  box.OnClick = [&](gui::TObject&) {
    ++clicks;
    ApplyAutoStart(registry, box.Checked(), "C:\\New\\Velmora.exe");
  };
  SyncAutoStartBox(registry, box);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(registry.Get(kRunKey, kRunValue)->text, "\"C:\\New\\Velmora.exe\"");
  SyncAutoStartBox(registry, box);
  EXPECT_EQ(clicks, 1) << "opening the page again changed something";
}

TEST(IniSection, LooksUpAsTheSystemDoes) {
  const std::string text =
      "\xEF\xBB\xBF[other]\rLangNameEng=Wrong\r"
      "[ general ]\n"
      "  langnameeng  =  English  \n"
      "LangNameEng=Second\n"
      "Empty=\n"
      "Quoted=\"a b\"\n"
      "; Comment=1\n"
      "NoEquals\n"
      "Native=Русский\r\n"
      "[Next]\nEmail=x\n";
  const auto section = ReadIniSection(text, "GENERAL");
  ASSERT_TRUE(section);
  EXPECT_EQ(section->Get("LangNameEng", "?"), "English");
  EXPECT_EQ(section->Get("Empty", "?"), "");
  EXPECT_EQ(section->Get("Quoted", "?"), "a b");
  EXPECT_EQ(section->Get("Comment", "?"), "?");
  EXPECT_EQ(section->Get("Native", "?"), "Русский");
  EXPECT_EQ(section->Get("Email", "?"), "?") << "the section ends at the next one";
  EXPECT_EQ(ReadIniSection(std::string("[General]\nA=\0", 13), "General"), std::nullopt);
  EXPECT_EQ(ReadIniSection("", "General")->Get("A", "d"), "d");
}

TEST(IniSection, ValuesAreCutAt2047BytesOnACharacterBoundary) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(ReadIniSection("[G]\nK=" + ascii, "G")->Get("K", "").size(), 2047u);
  std::string wide;
  for (int i = 0; i < 1500; ++i) wide += "Я";  // two bytes each
  EXPECT_EQ(ReadIniSection("[G]\nK=" + wide, "G")->Get("K", "").size(), 2046u);
}

}  // namespace
}  // namespace velmora::settings
