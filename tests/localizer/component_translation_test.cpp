// Component translation on the program's own forms, headless: the property paths a language
// file uses, the reports of paths that lead nowhere and of values that do not convert, the
// order of ancestor sections, and the translation of forms as they are created.
#include "localizer/component_translation.h"
#include "localizer/translation_template.h"

#include <gtest/gtest.h>

#include "gui/button.h"
#include "gui/chart.h"
#include "gui/label.h"
#include "gui/link_label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "language_files.h"
#include "settings/frm_translation_details.h"
#include "settings/testing_fakes.h"

namespace velmora::localizer {
namespace {

class ComponentTranslationTest : public LanguageFileTest {
 protected:
  // Loads a humanized language file with `sections` into the engine (reports collected).
  void Load(std::string_view sections) {
    engine.ErrorMode = emCollect;
    engine.LoadLanguageFile(Write("test.lng", "Humanize=1\n" + std::string(sections)));
    ASSERT_TRUE(engine.Errors.empty()) << engine.Errors.front();
  }
  ui::TfrmMain& Main() { return *window.form; }

  TLocalizer engine;
  settings::testing::HeadlessMainWindow window;
};

TEST_F(ComponentTranslationTest, PathsOfTheMainWindow) {
  Load(
      "[TfrmMain]\n"
      "Caption=Velmora DE\n"
      "Font.Name=Segoe UI\n"
      "lvApps.Columns.(0).Caption=Anwendung\n"
      "NavBar1.Pages.(0).Buttons.(2).Caption=Einstellungen\n"
      "chartApps.Title.Text.Strings=Zeile 1\\Zeile 2\n"
      "pnlSettings.Label1.Caption=Sprache\n"
      "btnQuit.Caption=Beenden\n");
  TranslateComponent(engine, Main());
  EXPECT_TRUE(engine.Errors.empty()) << engine.Errors.front();
  EXPECT_EQ(Main().Caption(), "Velmora DE");
  EXPECT_EQ(Main().Font().Name(), "Segoe UI");
  EXPECT_EQ(Main().lvApps().Columns()[0].Caption(), "Anwendung");
  EXPECT_EQ(Main().NavBar1().Pages()[0].Buttons()[2].Caption(), "Einstellungen");
  const gui::TStrings& title = Main().chartApps().Title().Text();
  ASSERT_EQ(title.Count(), 2);
  EXPECT_EQ(title[0], "Zeile 1");
  EXPECT_EQ(title[1], "Zeile 2");
  // Label1 lies on the panel but belongs to the form: found by starting again at the form.
  EXPECT_EQ(Main().Get<gui::TLabel>("Label1").Caption(), "Sprache");
  EXPECT_EQ(Main().Get<gui::TButton>("btnQuit").Caption(), "Beenden");
}

TEST_F(ComponentTranslationTest, ReportsAndGoesOn) {
  Load(
      "[TfrmMain]\n"
      "btnQuit.Captio=Beenden\n"
      "btnQuit.Visible=100%\n"
      "chartApps.Title.Text=X\n"
      "lvApps.Columns.(9).Caption=X\n"
      "btnHide.Caption=Ausblenden\n");
  TranslateComponent(engine, Main());
  ASSERT_EQ(engine.Errors.size(), 4u);
  EXPECT_EQ(engine.Errors[0],
            "Unknown property \"btnQuit.Captio\" found in component \"frmMain\".\r\nRemove it "
            "from language file");
  EXPECT_EQ(engine.Errors[1],
            "Translation error of property \"btnQuit.Visible\" in component \"frmMain\"\r\n"
            "Invalid property element: 100%");
  EXPECT_EQ(engine.Errors[2].rfind("Translation error of property \"chartApps.Title.Text\"", 0), 0u)
      << engine.Errors[2];
  EXPECT_EQ(
      engine.Errors[3].rfind("Translation error of property \"lvApps.Columns.(9).Caption\"", 0), 0u)
      << engine.Errors[3];
  EXPECT_EQ(Main().Get<gui::TButton>("btnHide").Caption(), "Ausblenden");
  EXPECT_EQ(Main().Get<gui::TButton>("btnQuit").Caption(), "Quit");
}

TEST_F(ComponentTranslationTest, InRaiseModeTheFirstProblemStopsTheSection) {
  Load("[TfrmMain]\nbtnQuit.Captio=Beenden\nbtnHide.Caption=Ausblenden\n");
  engine.ErrorMode = emRaise;
  EXPECT_THROW(TranslateComponent(engine, Main()), EParvekError);
  EXPECT_EQ(Main().Get<gui::TButton>("btnHide").Caption(), "Hide");
}

TEST_F(ComponentTranslationTest, ALinkTargetOtherThanAWebOrMailLinkIsRefused) {
  Load(
      "[TfrmMain]\n"
      "LinkLabel5.HREF=C:\\Windows\\System32\\calc.exe\n"
      "LinkLabel6.HREF=file:///C:/evil.hta\n"
      "LinkLabel6.Caption=Hilfe\n");
  TranslateComponent(engine, Main());
  ASSERT_EQ(engine.Errors.size(), 2u);
  EXPECT_NE(engine.Errors[0].find("LinkLabel5.HREF"), std::string::npos) << engine.Errors[0];
  EXPECT_NE(engine.Errors[1].find("file:///C:/evil.hta"), std::string::npos) << engine.Errors[1];
  auto& link = Main().Get<gui::TLinkLabel>("LinkLabel5");
  EXPECT_EQ(link.HREF(), "https://velmora.orindel.example/");
  // Even set by code, such a target is not opened by a press.
  link.SetHREF("C:\\Windows\\System32\\calc.exe");
  link.Press();
  EXPECT_TRUE(window.platform.opened.empty());
  link.SetHREF("HTTPS://velmora.orindel.example/");
  link.Press();
  EXPECT_EQ(window.platform.opened.size(), 1u);
}

// A form class derived from another: the ancestor's section first, then its own.
class TBaseForm : public gui::TForm {
  VELMORA_CLASS()
 public:
  using TForm::TForm;
};
class TDerivedForm : public TBaseForm {
  VELMORA_CLASS()
 public:
  explicit TDerivedForm(TComponent* owner) : TBaseForm(owner) {}
  void DoCreate() override { caption_at_creation = Caption(); }
  std::string caption_at_creation;
};
const gui::FormDesign& BaseDesign() {
  static const gui::FormDesign design{
      {{"Caption", "Base"}},
      {{&gui::TLabel::StaticClass(), "Label1", "", {{"Caption", "one"}}},
       {&gui::TLabel::StaticClass(), "Label2", "", {{"Caption", "two"}}}}};
  return design;
}
const gui::ClassInfo& TBaseForm::StaticClass() {
  static const gui::ClassInfo info =
      gui::MakeClass<TBaseForm>("TBaseForm", TForm::StaticClass(), {}, &BaseDesign());
  return info;
}
const gui::ClassInfo& TDerivedForm::StaticClass() {
  static const gui::ClassInfo info =
      gui::MakeClass<TDerivedForm>("TDerivedForm", TBaseForm::StaticClass(), {});
  return info;
}

TEST_F(ComponentTranslationTest, AncestorSectionsFirstAndNewFormsBeforeTheirCreationHandler) {
  Load(
      "[TForm]\nCaption=never\n"
      "[TDerivedForm]\nLabel1.Caption=derived\nCaption=Abgeleitet\n"
      "[TBaseForm]\nLabel1.Caption=base\nLabel2.Caption=zwei\n"
      "[TDerivedForm]\nLabel2.Caption=second section, never\n");
  SetAutoTranslate(engine, true);
  SetAutoTranslate(engine, true);  // once is enough
  auto& form = window.app->CreateForm<TDerivedForm>();
  EXPECT_EQ(form.caption_at_creation, "Abgeleitet");
  EXPECT_EQ(form.Get<gui::TLabel>("Label1").Caption(), "derived");
  EXPECT_EQ(form.Get<gui::TLabel>("Label2").Caption(), "zwei");

  // The dialog too, through the same hook.
  auto& details = window.app->CreateForm<settings::TfrmTranslationDetails>();
  EXPECT_EQ(details.Caption(), "Translation Details");

  SetAutoTranslate(engine, false);
  EXPECT_FALSE(engine.AutoTranslate);
  auto& plain = window.app->CreateForm<TDerivedForm>();
  EXPECT_EQ(plain.Caption(), "Base") << "translated after automatic translation was switched off";
}

TEST_F(ComponentTranslationTest, ALoadWhileAutomaticTranslationIsOnTranslatesEveryForm) {
  SetAutoTranslate(engine, true);
  Load("[TfrmMain]\nbtnHide.Caption=Ausblenden\n");
  EXPECT_EQ(Main().Get<gui::TButton>("btnHide").Caption(), "Ausblenden");
  SetAutoTranslate(engine, false);
}

TEST_F(ComponentTranslationTest, TheTemplateCoversEveryTextAndTheCheckNamesWhatIsMissing) {
  auto& details = window.app->CreateForm<settings::TfrmTranslationDetails>();
  const std::vector<const gui::TComponent*> forms = {&Main(), &details};
  const std::string full = LanguageTemplate(forms);
  for (const char* expected :
       {"\r\n[TfrmMain]\r\n", "\r\nlvApps.Columns.(2).Caption=Time Spent In Application\r\n",
        "\r\nNavBar1.Pages.(0).Buttons.(3).Caption=About\r\n", "\r\n[TfrmTranslationDetails]\r\n",
        "\r\nButton1.Caption=OK\r\n",
        "\r\n65066_DoYouReallyWant=Do you really want to exit Velmora?\r\n",
        "\r\n65300_InvalidPropertyElement=Invalid property element: %s\r\n"}) {
    EXPECT_NE(full.find(expected), std::string::npos) << expected;
  }
  // Placeholders the program fills are not texts to translate.
  EXPECT_EQ(full.find("Label2.Caption=Label2"), std::string::npos);

  // The template itself covers everything; without a line, that line is missing; a line
  // that names nothing is a problem.
  std::vector<gui::TComponent*> live = {&Main(), &details};
  engine.ErrorMode = emCollect;
  engine.LoadLanguageFile(WriteRaw("full.lng", full));
  Coverage complete = CheckCoverage(engine, live);
  EXPECT_TRUE(complete.untranslated.empty()) << complete.untranslated.front();
  EXPECT_TRUE(complete.problems.empty()) << complete.problems.front();

  std::string partial = full;
  const std::string line = "btnHelp.Caption=Help\r\n";
  partial.replace(partial.find(line), line.size(), "btnHelp.Captoin=Hilfe\r\n");
  const std::string message = "65066_DoYouReallyWant=Do you really want to exit Velmora?\r\n";
  partial.erase(partial.find(message), message.size());
  engine.LoadLanguageFile(WriteRaw("partial.lng", partial));
  const Coverage gaps = CheckCoverage(engine, live);
  EXPECT_EQ(gaps.untranslated, (std::vector<std::string>{"[TfrmMain] btnHelp.Caption", "65066"}));
  ASSERT_EQ(gaps.problems.size(), 1u);
  EXPECT_NE(gaps.problems[0].find("btnHelp.Captoin"), std::string::npos);
}

TEST(AssignLines, ReplacesAppendsAndDeletes) {
  gui::TStringList lines;
  lines.Add("a");
  lines.Add("b");
  lines.Add("c");
  AssignLines(lines, "x\ry\n2\r");
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines[0], "x");
  EXPECT_EQ(lines[1], "y\n2") << "a line feed stays in its line";
  AssignLines(lines, "");
  EXPECT_EQ(lines.Count(), 0);
}

}  // namespace
}  // namespace velmora::localizer
