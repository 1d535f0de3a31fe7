// The settings joined to the main window: what a run of the window stores and restores,
// driven through the window's own events.
#include "settings/main_window_settings.h"

#include <gtest/gtest.h>

#include "gui/button.h"
#include "gui/combo_box.h"
#include "gui/nav_bar.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"
#include "settings/stored_values.h"
#include "testing_fakes.h"

namespace velmora::settings {
namespace {

using testing::FakeLanguageFolder;
using testing::FakeWindowSystem;
using testing::HeadlessMainWindow;

constexpr char kExe[] = "C:\\Program Files\\Velmora\\Velmora.exe";

class MainWindowSettingsTest : public ::testing::Test {
 protected:
  MainWindowSettingsTest() {
    files.files = {
        {"C:\\Program Files\\Velmora\\Language\\English.lng", "[General]\nLangNameEng=English\n"},
        {"C:\\Program Files\\Velmora\\Language\\Deutsch.lng",
         "[General]\nLangNameEng=German\nLangNameNative=Deutsch\nTanslator=Anna\n"},
    };
  }

  // One run of the program: the language store read, the window made with the hooks.
  struct Run {
    explicit Run(MainWindowSettingsTest& test)
        : language(ReadLanguageSettings(test.registry)),
          settings(MainWindowSettingsServices{
              .registry = &test.registry,
              .language_files = &test.files,
              .language = &language,
              .executable_path = kExe,
              .executable_folder = "C:\\Program Files\\Velmora",
              .window_system =
                  [&test](ui::TfrmMain&) {
                    return std::make_unique<FakeWindowSystem>(test.windows);
                  },
              .show_translation_details =
                  [&test](const TranslationDetails& d) { test.shown.push_back(d); },
              .report_error = [&test](const std::exception& e) { test.errors.push_back(e.what()); },
          }),
          window(settings.Hooks()) {}
    ~Run() {
      window.Destroy();
      WriteLanguageSettings(*registry_of_end, language);
    }
    ui::TfrmMain& Form() { return *window.form; }
    void Quit() {
      window.platform.answer = gui::kIdYes;
      Form().btnQuitClick();
    }

    LanguageSettings language;
    MainWindowSettings settings;
    HeadlessMainWindow window;
    Registry* registry_of_end = nullptr;
  };

  std::unique_ptr<Run> Start() {
    auto run = std::make_unique<Run>(*this);
    run->registry_of_end = &registry;
    return run;
  }

  MemoryRegistry registry;
  FakeLanguageFolder files;
  FakeWindowSystem windows;
  std::vector<TranslationDetails> shown;
  std::vector<std::string> errors;
};

TEST_F(MainWindowSettingsTest, FirstRunThenTheNextRunRestoresTheUsersSettings) {
  {
    auto run = Start();
    EXPECT_TRUE(registry.KeyExists(kProductKey)) << "the first start creates the product key";
    run->Form().Show();
    EXPECT_EQ(run->Form().cbxLang().Items().Count(), 2);
    EXPECT_EQ(run->Form().cbxLang().ItemIndex(), 0) << "current index 0 is selected";
    run->Form().cbxLang().SelectByUser(1);
    run->Form().SpinEdit1().SetValueFromText("250");
    run->Form().RadioButton(ui::DetailsMode::All).SetChecked(true);
    registry.ClearWrites();
    run->Quit();
    EXPECT_EQ(registry.Writes().front().name, "FormVersion");
  }
  // One save at Quit, none at destruction, and the language values last.
  const auto& writes = registry.Writes();
  ASSERT_EQ(writes.size(), 17u + 2u);
  EXPECT_EQ(writes[17].name, kLanguageIndexValue);
  EXPECT_EQ(writes[18].name, kLanguageFileValue);
  EXPECT_EQ(ReadInteger(*registry.Get(kProductKey, kLanguageIndexValue)), 1);
  EXPECT_EQ(registry.Get(kProductKey, kLanguageFileValue)->text,
            "C:\\Program Files\\Velmora\\Language\\Deutsch.lng");

  auto next = Start();
  EXPECT_EQ(next->language.current_language_index, 1);
  EXPECT_EQ(next->Form().SpinEdit1().Value(), 1) << "a hidden run uses the designed values";
  next->Form().Show();
  EXPECT_EQ(next->Form().SpinEdit1().Value(), 100);
  EXPECT_EQ(next->Form().tmrRefresh().Interval(), 100000u);
  EXPECT_EQ(next->Form().CurrentDetailsMode(), ui::DetailsMode::All);
  EXPECT_EQ(next->Form().cbxLang().ItemIndex(), 1) << "the current language is selected";
}

TEST_F(MainWindowSettingsTest, ARunWhoseWindowWasNeverShownKeepsTheStoredSettings) {
  registry.SetString(kMainFormKey, "NormPos", "10,20,614,420");
  registry.SetString(kMainFormKey, "chkAutoSort_Checked", "TRUE");
  {
    auto run = Start();
    // The user logs off while Velmora sits in the tray.
    std::intptr_t answer = 0;
    run->Form().OnWindowMessage(ui::kQueryEndSessionMessage, 0, 0, answer);
  }
  EXPECT_EQ(registry.Get(kMainFormKey, "NormPos")->text, "10,20,614,420");
  EXPECT_EQ(registry.Get(kMainFormKey, "chkAutoSort_Checked")->text, "TRUE");
  EXPECT_EQ(registry.ValueNames(kMainFormKey).size(), 2u);
}

TEST_F(MainWindowSettingsTest, AShownWindowIsSavedAtTheEndOfTheSession) {
  {
    auto run = Start();
    run->Form().Show();
    run->Form().chkAutoSort().SetChecked(true);
    std::intptr_t answer = 0;
    run->Form().OnWindowMessage(ui::kQueryEndSessionMessage, 0, 0, answer);
  }
  EXPECT_EQ(registry.Get(kMainFormKey, "chkAutoSort_Checked")->text, "TRUE");
}

TEST_F(MainWindowSettingsTest, AFailedSaveIsReportedAndTheQuitGoesOn) {
  registry.FailCreating(kMainFormKey);
  auto run = Start();
  run->Form().Show();
  run->Quit();
  EXPECT_TRUE(run->Form().QuitConfirmed());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Unable to create key 'Software\\Orindel\\Velmora\\frmMain'");
}

TEST_F(MainWindowSettingsTest, OpeningTheSettingsPageTurnsTheBoxOnAndRewritesTheValue) {
  registry.SetString(kRunKey, kRunValue, "C:\\Old\\Velmora.exe");
  auto run = Start();
  run->Form().Show();
  run->Form().NavBar1().Pages()[0].Buttons()[2].Click();
  EXPECT_TRUE(run->Form().chkStartAuto().Checked());
  EXPECT_EQ(registry.Get(kRunKey, kRunValue)->text, std::string("\"") + kExe + "\"");
  run->Form().chkStartAuto().Toggle();
  EXPECT_EQ(registry.Get(kRunKey, kRunValue), nullptr);
}

TEST_F(MainWindowSettingsTest, DetailsShowsTheSelectedFileAndNothingWithoutOne) {
  auto run = Start();
  run->language.current_language_index = 7;
  run->Form().Show();
  run->Form().Get<gui::TButton>("Button3").Click();
  EXPECT_TRUE(shown.empty()) << "nothing is selected, yet details were shown";
  run->Form().cbxLang().SelectByUser(1);
  run->Form().Get<gui::TButton>("Button3").Click();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].native_name, "Deutsch");
  EXPECT_EQ(shown[0].translator, "Anna");
  EXPECT_EQ(shown[0].mail_target, "mailto:support@orindel.example?subject=LanguageDeutsch.lng");
}

}  // namespace
}  // namespace velmora::settings
