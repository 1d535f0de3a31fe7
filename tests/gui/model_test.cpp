// The portable component model: ownership, names, classes, properties by name, collections,
// string lists, form creation order and the application's error handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/resource_strings.h"
#include "fake_platform.h"
#include "gui/application.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"

namespace velmora::gui {
namespace {

// A component that records its destruction.
class TProbe : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  ~TProbe() override { log().push_back(Name()); }
  static std::vector<std::string>& log() {
    static std::vector<std::string> entries;
    return entries;
  }
  void Notification(TComponent& c, Operation op) override {
    notes.push_back((op == Operation::kInsert ? "+" : "-") + c.Name());
  }
  std::vector<std::string> notes;
};

const ClassInfo& TProbe::StaticClass() {
  static const ClassInfo info = MakeClass<TProbe>("TProbe", TComponent::StaticClass(), {});
  return info;
}

TEST(ComponentTest, OwnerDestroysOwnedComponentsNewestFirst) {
  TProbe::log().clear();
  {
    TProbe root(nullptr);
    root.SetName("root");
    root.Create<TProbe>("a");
    auto& b = root.Create<TProbe>("b");
    b.Create<TProbe>("b1");
  }
  // Each probe logs in its own destructor body, which runs before the components it owns go;
  // owned components go newest first.
  EXPECT_EQ(TProbe::log(), (std::vector<std::string>{"root", "b", "b1", "a"}));
}

TEST(ComponentTest, DeletingAnOwnedComponentRemovesItFromItsOwner) {
  TProbe root(nullptr);
  auto* a = &root.Create<TProbe>("a");
  root.Create<TProbe>("b");
  delete a;
  ASSERT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.Component(0).Name(), "b");
  EXPECT_EQ(root.notes, (std::vector<std::string>{"+", "+", "-a"}))
      << "the owner hears of insertions (before the name is set) and removals";
}

TEST(ComponentTest, FindComponentIgnoresAsciiCaseAndLooksOnlyAtDirectlyOwned) {
  TProbe root(nullptr);
  auto& panel = root.Create<TProbe>("pnlSettings");
  panel.Create<TProbe>("Label1");
  EXPECT_EQ(root.FindComponent("PNLSETTINGS"), &panel);
  EXPECT_EQ(root.FindComponent("label1"), nullptr) << "owned by the panel, not the root";
  EXPECT_NE(panel.FindComponent("LABEL1"), nullptr);
  EXPECT_EQ(root.FindComponent(""), nullptr);
}

TEST(ComponentTest, NamesMustBeIdentifiersAndUniqueIgnoringCase) {
  TProbe root(nullptr);
  root.Create<TProbe>("btnQuit");
  EXPECT_THROW(root.Create<TProbe>("BTNQUIT"), EComponentError);
  EXPECT_EQ(root.ComponentCount(), 1) << "a component that cannot take its name is not kept";
  for (const char* bad : {"1abc", "a b", "a.b", "é"}) {
    TProbe p(nullptr);
    EXPECT_THROW(p.SetName(bad), EComponentError) << bad;
  }
  try {
    TProbe p(&root);
    p.SetName("btnquit");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named btnquit already exists");
  }
}

TEST(ComponentTest, FreeNotificationClearsReferencesToDestroyedComponents) {
  TProbe root(nullptr);
  auto& list = root.Create<TListView>("lvApps");
  auto* images = &root.Create<TImageList>("imgsApps");
  list.SetLargeImages(images);
  list.SetSmallImages(images);
  delete images;
  EXPECT_EQ(list.LargeImages(), nullptr);
  EXPECT_EQ(list.SmallImages(), nullptr);
}

TEST(ComponentTest, FreeNotificationWorksAcrossOwners) {
  TProbe a(nullptr), b(nullptr);
  auto* target = new TProbe(&b);
  target->SetName("t");
  a.FreeNotification(target);
  delete target;
  EXPECT_EQ(a.notes, (std::vector<std::string>{"-t"}));
}

class TfrmBase : public TForm {
  VELMORA_CLASS()

 public:
  using TForm::TForm;
};
class TfrmDerived : public TfrmBase {
  VELMORA_CLASS()

 public:
  using TfrmBase::TfrmBase;
  std::vector<std::string> seen;
  void DoCreate() override {
    seen.push_back("create:" + Get<TButton>("btnQuit").Caption() + "/" + Caption());
    TfrmBase::DoCreate();
  }
};

const FormDesign kBaseDesign{
    {{"Caption", "Base"}, {"ClientWidth", "604"}},
    {{&TButton::StaticClass(), "btnQuit", "", {{"Caption", "Quit"}, {"Left", "434"}}},
     {&TPanel::StaticClass(), "pnlApps", "", {{"BevelOuter", "bvNone"}}}}};
const FormDesign kDerivedDesign{{{"Caption", "Derived"}},
                                {{&TLabel::StaticClass(),
                                  "Label1",
                                  "pnlApps",
                                  {{"Caption", "Hello"}, {"Font.Style", "[fsBold]"}}},
                                 {&TButton::StaticClass(), "btnQuit", "", {{"Top", "341"}}}}};

const ClassInfo& TfrmBase::StaticClass() {
  static const ClassInfo info =
      MakeClass<TfrmBase>("TfrmBase", TForm::StaticClass(), {}, &kBaseDesign);
  return info;
}
const ClassInfo& TfrmDerived::StaticClass() {
  static const ClassInfo info =
      MakeClass<TfrmDerived>("TfrmDerived", TfrmBase::StaticClass(), {}, &kDerivedDesign);
  return info;
}

TEST(ClassTest, ClimbFromADerivedFormToTheRoot) {
  std::vector<std::string> names;
  for (const ClassInfo* c = &TfrmDerived::StaticClass(); c; c = c->parent) names.push_back(c->name);
  EXPECT_EQ(names, (std::vector<std::string>{"TfrmDerived", "TfrmBase", "TForm", "TWinControl",
                                             "TControl", "TComponent", "TPersistent", "TObject"}));
}

TEST(ClassTest, KindTestsByIdentity) {
  TListView list(nullptr);
  TChart chart(nullptr);
  EXPECT_TRUE(list.Columns().Is<TCollection>());
  EXPECT_TRUE(list.Columns().Is<TPersistent>());
  EXPECT_FALSE(list.Columns().Is<TStrings>());
  EXPECT_TRUE(chart.Title().Text().Is<TStrings>());
  EXPECT_TRUE(list.Is<TComponent>());
  EXPECT_FALSE(list.Is<TForm>());
  EXPECT_EQ(chart.Title().Text().ClassName(), "TStringList");
}

// --- Properties -----------------------------------------------------------------------------

struct SetCase {
  const char* name;
  const char* value;
  const char* read_back;
};

TEST(PropertyTest, EveryKindRoundTripsThroughText) {
  TPanel parent(nullptr);
  TLabel label(nullptr);
  label.SetParent(&parent);
  const SetCase cases[] = {
      {"Caption", "Application File", "Application File"},
      {"caption", "ümlaut ✓", "ümlaut ✓"},  // names ignore ASCII case; text is UTF-8
      {"Left", "-12", "-12"},
      {"Width", "2147483647", "2147483647"},
      {"Visible", "false", "False"},  // enumeration members ignore case
      {"WordWrap", "True", "True"},
      {"Alignment", "taCenter", "taCenter"},
      {"Color", "clWhite", "clWhite"},
      {"Color", "$00FF8000", "$00FF8000"},
      {"Color", "255", "clRed"},
      {"Name", "Label7", "Label7"},  // inherited from TComponent
  };
  for (const SetCase& c : cases) {
    SetPropertyText(label, c.name, c.value);
    EXPECT_EQ(GetPropertyText(label, c.name), c.read_back) << c.name << "=" << c.value;
  }
  TFont& font = label.Font();
  SetPropertyText(font, "Style", "[fsBold, fsUnderline]");
  EXPECT_EQ(font.Style(), fsBold | fsUnderline);
  EXPECT_EQ(GetPropertyText(font, "Style"), "[fsBold,fsUnderline]");
  SetPropertyText(font, "Style", "[]");
  EXPECT_EQ(font.Style(), 0u);
  EXPECT_FALSE(label.ParentFont()) << "setting a font property detaches it from the parent's";
}

TEST(PropertyTest, SettersReachTheControlsOwnState) {
  TSpinEdit spin(nullptr);
  SetPropertyText(spin, "MaxValue", "100");
  SetPropertyText(spin, "MinValue", "1");
  SetPropertyText(spin, "Value", "250");
  EXPECT_EQ(spin.Value(), 100) << "the public setter runs, clamping included";
}

struct ErrorCase {
  const char* name;
  const char* value;
  const char* message;
};

TEST(PropertyTest, ValuesThatDoNotConvertRaiseTheFrameworksMessages) {
  TButton button(nullptr);
  const ErrorCase cases[] = {
      {"Visible", "100%", "Invalid property element: 100%"},
      {"Visible", "", "Invalid property element: "},
      {"Left", "12a", "'12a' is not a valid integer value"},
      {"Left", " 12", "' 12' is not a valid integer value"},
      {"Left", "+12", "'+12' is not a valid integer value"},
      {"Left", "99999999999", "'99999999999' is not a valid integer value"},
      {"Left", "1.5", "'1.5' is not a valid integer value"},
      {"Font", "Arial", "Invalid property type: TFont"},
      {"OnClick", "btnQuitClick", "Invalid property type: TNotifyEvent"},
      {"Align", "alMiddle", "Invalid property element: alMiddle"},
      {"Color", "clMauve", "'clMauve' is not a valid integer value"},
      {"Captio", "x", "Property Captio does not exist"},
  };
  for (const ErrorCase& c : cases) {
    try {
      SetPropertyText(button, c.name, c.value);
      ADD_FAILURE() << c.name << "=" << c.value << " was accepted";
    } catch (const EGuiError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.name << "=" << c.value;
    }
  }
  EXPECT_EQ(button.Left(), 0) << "a failed conversion changes nothing";
  TLabel label(nullptr);
  EXPECT_THROW(SetPropertyText(label.Font(), "Style", "[fsBold,fsWide]"), EConvertError);
  EXPECT_THROW(SetPropertyText(label.Font(), "Style", "fsBold"), EConvertError);
  EXPECT_THROW(SetPropertyText(label.Font(), "Style", "[fsBold,]"), EConvertError);
}

TEST(PropertyTest, MessagesComeThroughTheResourceStringTranslator) {
  SetResourceStringTranslator([](int id, std::string& text) {
    if (id != kResInvalidPropertyElement) return false;
    text = "Ungültiges Element: %s";
    return true;
  });
  TButton button(nullptr);
  try {
    SetPropertyText(button, "Visible", "50%d");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Ungültiges Element: 50%d") << "the value is taken literally";
  }
  SetResourceStringTranslator({});
}

TEST(PropertyTest, ObjectValuedPropertiesLeadToTheirObjects) {
  TListView list(nullptr);
  TChart chart(nullptr);
  EXPECT_EQ(GetObjectProperty(list, "columns"), &list.Columns());
  EXPECT_EQ(GetObjectProperty(list, "LargeImages"), nullptr) << "holds no object yet";
  auto* title = GetObjectProperty(chart, "Title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(GetObjectProperty(*title, "Text"), &chart.Title().Text());
  EXPECT_THROW(GetObjectProperty(list, "ViewStyle"), EPropertyError);
  const PropertyInfo* p = FindProperty(list, "ONCOLUMNCLICK");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->kind, PropertyKind::kEvent);
  EXPECT_EQ(FindProperty(list, "NoSuchThing"), nullptr);
}

TEST(PropertyTest, DesignPathsReachCollectionItemsInsideCollectionItems) {
  TNavBar bar(nullptr);
  ApplyDesignProperty(bar, "Pages.(0).Buttons.(0).Caption", "Applications");
  ApplyDesignProperty(bar, "Pages.(0).Buttons.(1).Caption", "Statistics");
  ASSERT_EQ(bar.Pages().Count(), 1);
  ASSERT_EQ(bar.Pages()[0].Buttons().Count(), 2);
  EXPECT_EQ(bar.Pages()[0].Buttons()[1].Caption(), "Statistics");
  EXPECT_THROW(ApplyDesignProperty(bar, "Pages.(5).Caption", "x"), EListError)
      << "a design may append the next item only";
}

// --- Collections and string lists -----------------------------------------------------------

TEST(CollectionTest, ItemsByIndexFromZeroAndOutsideRaises) {
  TListView list(nullptr);
  list.Columns().Add().SetCaption("Application File");
  list.Columns().Add().SetCaption("Application Details");
  EXPECT_EQ(list.Columns()[1].Index(), 1);
  EXPECT_EQ(static_cast<TListColumn&>(list.Columns().Item(0)).Caption(), "Application File");
  for (int bad : {-1, 2, 1000}) {
    try {
      list.Columns().Item(bad);
      ADD_FAILURE() << bad;
    } catch (const EListError& e) {
      EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(bad) + ")");
    }
  }
}

TEST(StringsTest, ReplaceAppendDeleteAndOutOfRange) {
  TStringList lines;
  lines.Add("one");
  lines.Add("two");
  lines.Put(0, "uno");
  lines.Add("three");
  lines.Delete(1);
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Text(), "uno\r\nthree\r\n");
  EXPECT_THROW(lines.Put(2, "x"), EListError);
  EXPECT_THROW(lines.Delete(-1), EListError);
  EXPECT_THROW(lines.Get(5), EListError);
}

TEST(StringsTest, ChangesAreReportedOncePerOutermostUpdate) {
  TStringList lines;
  int changes = 0;
  lines.SetOnChange([&] { ++changes; });
  lines.Add("a");
  EXPECT_EQ(changes, 1);
  lines.BeginUpdate();
  lines.BeginUpdate();
  lines.Put(0, "b");
  lines.Add("c");
  lines.EndUpdate();
  EXPECT_EQ(changes, 1) << "still inside the outer update";
  lines.EndUpdate();
  EXPECT_EQ(changes, 2);
  lines.BeginUpdate();
  lines.EndUpdate();
  EXPECT_EQ(changes, 2) << "an update without changes reports nothing";
  lines.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(lines.UpdateCount(), 0);
}

TEST(StringsTest, SortedListKeepsValuesWithTheirLines) {
  TStringList lines;
  lines.SetSorted(true);
  lines.Add("German / Deutsch", "C:\\Language\\Deutsch.lng");
  lines.Add("English", "C:\\Language\\English.lng");
  EXPECT_EQ(lines[0], "English");
  EXPECT_EQ(lines.Value(0), "C:\\Language\\English.lng");
  EXPECT_EQ(lines.Value(1), "C:\\Language\\Deutsch.lng");
}

// --- Forms ----------------------------------------------------------------------------------

TEST(FormTest, DesignsLoadAncestorFirstThenTheHookThenTheCreationHandler) {
  testing::FakePlatform platform;
  TApplication app;
  std::vector<std::string> order;
  const DesignHook previous =
      SetDesignHook([&](TComponent& instance, const ClassInfo& root, const DesignLoader& load) {
        order.push_back("before-load:" + std::to_string(instance.ComponentCount()));
        const bool found = load(instance, root);
        auto& form = static_cast<TForm&>(instance);
        order.push_back("after-load:" + form.Caption());
        // What a translation does: set properties by name after the design.
        SetPropertyText(form.Get<TButton>("btnQuit"), "Caption", "Beenden");
        return found;
      });
  auto& form = app.CreateForm<TfrmDerived>();
  SetDesignHook(previous);
  form.OnCreate = [&](TObject&) { order.push_back("never: assigned after creation"); };
  EXPECT_EQ(order, (std::vector<std::string>{"before-load:0", "after-load:Derived"}));
  EXPECT_EQ(form.seen, (std::vector<std::string>{"create:Beenden/Derived"}))
      << "the creation handler sees the hook's changes";
  auto& quit = form.Get<TButton>("btnQuit");
  EXPECT_EQ(quit.Left(), 434) << "from the ancestor's design";
  EXPECT_EQ(quit.Top(), 341) << "from the class's own design, for the same component";
  auto& label = form.Get<TLabel>("Label1");
  EXPECT_EQ(label.Parent(), &form.Get<TPanel>("pnlApps"));
  EXPECT_EQ(label.Font().Style(), fsBold);
  EXPECT_EQ(form.ClientWidth(), 604);
  EXPECT_EQ(app.MainForm(), &form);
  EXPECT_EQ(app.Forms(), (std::vector<TForm*>{&form}));
}

TEST(FormTest, WithoutAHookTheLoaderRunsDirectly) {
  TProbe owner(nullptr);
  auto& form = CreateForm<TfrmBase>(&owner);
  EXPECT_EQ(form.Caption(), "Base");
  EXPECT_EQ(form.Owner(), &owner);
}

TEST(FormTest, AFormWhoseDesignFailsIsNotKept) {
  static const FormDesign bad{{{"ClientWidth", "wide"}}, {}};
  struct TfrmBad : TForm {
    using TForm::TForm;
    const ClassInfo& ClassType() const override {
      static const ClassInfo info = MakeClass<TfrmBad>("TfrmBad", TForm::StaticClass(), {}, &bad);
      return info;
    }
  };
  TApplication app;
  EXPECT_THROW(app.CreateForm<TfrmBad>(), EConvertError);
  EXPECT_TRUE(app.Forms().empty());
  EXPECT_EQ(app.ComponentCount(), 0);
}

TEST(FormTest, FormsAreListedInCreationOrderAndLeaveTheListWhenDestroyed) {
  TApplication app;
  auto& a = app.CreateForm<TfrmBase>();
  auto& b = app.CreateForm<TfrmDerived>();
  EXPECT_EQ(app.Forms(), (std::vector<TForm*>{&a, &b}));
  delete &a;
  EXPECT_EQ(app.Forms(), (std::vector<TForm*>{&b}));
  EXPECT_EQ(app.MainForm(), nullptr);
}

TEST(FormTest, OnShowRunsEachTimeTheFormIsAboutToBecomeVisible) {
  TApplication app;
  auto& form = app.CreateForm<TfrmBase>();
  std::vector<bool> visible_in_handler;
  form.OnShow = [&](TObject&) { visible_in_handler.push_back(form.Visible()); };
  form.Show();
  form.Show();
  form.Hide();
  form.Show();
  EXPECT_EQ(visible_in_handler.size(), 2u) << "showing a shown form is no new showing";
}

TEST(FormTest, CloseAsksOnCloseQueryAndTheMainFormEndsTheLoop) {
  testing::FakePlatform platform;
  TApplication app;
  auto& form = app.CreateForm<TfrmBase>();
  bool allow = false;
  form.OnCloseQuery = [&](TObject&, bool& can_close) { can_close = allow; };
  form.Show();
  EXPECT_FALSE(form.Close());
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(app.Terminated());
  allow = true;
  EXPECT_TRUE(form.Close());
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(app.Terminated());
}

// --- The application's error handler --------------------------------------------------------

TEST(ApplicationTest, AnErrorEscapingAHandlerIsShownCaptionedWithTheTitleAndTheProgramGoesOn) {
  testing::FakePlatform platform;
  TApplication app;
  app.SetTitle("Velmora");
  TButton button(nullptr);
  int clicks = 0;
  button.OnClick = [&](TObject&) {
    if (++clicks == 1) throw std::runtime_error("Disk full");
  };
  app.Dispatch([&] { button.Click(); });
  app.Dispatch([&] { button.Click(); });
  EXPECT_EQ(clicks, 2) << "the second click still reaches the handler";
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "Disk full");
  EXPECT_EQ(platform.boxes[0].caption, "Velmora");
  EXPECT_EQ(platform.boxes[0].flags, kMbOk | kMbIconError);
}

TEST(ApplicationTest, TimerTicksRunUnderTheErrorHandler) {
  testing::FakePlatform platform;
  TApplication app;
  app.SetTitle("Velmora");
  TTimer timer(nullptr);
  timer.OnTimer = [](TObject&) { throw EConvertError("bad tick"); };
  ASSERT_EQ(platform.LiveTimers(), 1);
  platform.timers.back()->tick();
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "bad tick");
}

TEST(ApplicationTest, OnExceptionReplacesTheMessageBox) {
  testing::FakePlatform platform;
  TApplication app;
  std::string seen;
  app.OnException = [&](TObject&, const std::exception& e) { seen = e.what(); };
  app.Dispatch([] { throw std::logic_error("x"); });
  EXPECT_EQ(seen, "x");
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace velmora::gui
