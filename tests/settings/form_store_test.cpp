// The main window's form store against the in-memory registry and a headless main window:
// the layout a save writes, and every rule of the restore.
#include "settings/form_store.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gui/button.h"
#include "gui/combo_box.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"
#include "settings/stored_values.h"
#include "testing_fakes.h"

namespace velmora::settings {
namespace {

using gui::TWindowState;
using testing::FakeWindowSystem;
using testing::HeadlessMainWindow;
using ui::DetailsMode;

constexpr std::string_view kKey = kMainFormKey;

class FormStoreTest : public ::testing::Test {
 protected:
  FormStore& Store() {
    if (!store) {
      store = std::make_unique<FormStore>(registry, std::string(kKey), *window.form, windows,
                                          kMainFormStoredProps);
      store->OnAfterRestore = [this] { ++after_restore; };
    }
    return *store;
  }
  ui::TfrmMain& Form() { return *window.form; }
  void StoreBoolean(std::string_view name, std::string_view text) {
    registry.SetString(kKey, name, text);
  }

  MemoryRegistry registry;
  FakeWindowSystem windows;
  HeadlessMainWindow window;
  std::unique_ptr<FormStore> store;
  int after_restore = 0;
};

TEST_F(FormStoreTest, SaveWritesTheWholeLayoutInItsOrder) {
  Store().Restore();
  Store().Save();
  EXPECT_EQ(
      registry.ValueNames(kKey),
      (std::vector<std::string>{
          "FormVersion", "ShowCmd", "Flags", "PixelsPerInch", "MinMaxPos(1280x1024)", "MinMaxPos",
          "NormPos(1280x1024)", "NormPos", "chkAutoRefreshStats_Checked", "cbxLang_ItemIndex",
          "SpinEdit1_Value", "rbAll_Checked", "rbCompany_Checked", "rbEXEDescription_Checked",
          "rbProductName_Checked", "rbVersion_Checked", "chkAutoSort_Checked"}));
  const auto dword = [&](std::string_view name) { return ReadInteger(*registry.Get(kKey, name)); };
  const auto text = [&](std::string_view name) { return registry.Get(kKey, name)->text; };
  EXPECT_EQ(dword("FormVersion"), 0);
  EXPECT_EQ(dword("ShowCmd"), 1);
  EXPECT_EQ(dword("PixelsPerInch"), 96);
  EXPECT_EQ(registry.Get(kKey, "MinMaxPos")->type, ValueType::kString);
  EXPECT_EQ(text("MinMaxPos"), "-1,-1,-1,-1");
  EXPECT_EQ(text("NormPos(1280x1024)"), "338,312,942,712");
  EXPECT_EQ(text("NormPos"), "338,312,942,712");
  // The designed values.
  EXPECT_EQ(text("chkAutoRefreshStats_Checked"), "TRUE");
  EXPECT_EQ(registry.Get(kKey, "cbxLang_ItemIndex")->data,
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  const RegistryValue& interval = *registry.Get(kKey, "SpinEdit1_Value");
  EXPECT_EQ(interval.type, ValueType::kBinary);
  EXPECT_EQ(interval.data, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  EXPECT_EQ(text("rbEXEDescription_Checked"), "TRUE");
  for (const char* off : {"rbAll_Checked", "rbCompany_Checked", "rbProductName_Checked",
                          "rbVersion_Checked", "chkAutoSort_Checked"}) {
    EXPECT_EQ(text(off), "FALSE") << off;
  }
  EXPECT_TRUE(Store().Saved());
}

TEST_F(FormStoreTest, AMinimizedApplicationIsSavedAsShowCommandTwo) {
  windows.application_minimized = true;
  Store().Save();
  EXPECT_EQ(ReadInteger(*registry.Get(kKey, "ShowCmd")), 2);
}

TEST_F(FormStoreTest, RestoredValuesHaveTheirConsequences) {
  {
    // One run: the user's choices, saved at Quit.
    Store().Restore();
    Form().SpinEdit1().SetValue(5);
    Form().RadioButton(DetailsMode::Company).SetChecked(true);
    Form().chkAutoSort().SetChecked(true);
    Form().chkAutoRefreshStats().SetChecked(false);
    Store().Save();
  }
  EXPECT_EQ(registry.Get(kKey, "SpinEdit1_Value")->data,
            (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0x40}));

  // The next run starts with the designed values and restores them at the first showing.
  HeadlessMainWindow next;
  FormStore restored(registry, std::string(kKey), *next.form, windows, kMainFormStoredProps);
  ASSERT_EQ(next.form->SpinEdit1().Value(), 1);
  restored.Restore();
  EXPECT_EQ(next.form->SpinEdit1().Value(), 5);
  EXPECT_EQ(next.form->tmrRefresh().Interval(), 5000u) << "the interval drives the timer";
  EXPECT_EQ(next.form->CurrentDetailsMode(), DetailsMode::Company);
  EXPECT_FALSE(next.form->RadioButton(DetailsMode::ExeDescription).Checked());
  EXPECT_TRUE(next.form->chkAutoSort().Checked());
  EXPECT_FALSE(next.form->chkAutoRefreshStats().Checked());
}

TEST_F(FormStoreTest, BooleanWords) {
  struct Case {
    const char* text;
    bool auto_sort;  // designed: off
    bool refresh;    // designed: on
  };
  const Case cases[] = {
      {"yes", true, true},  {"Y", true, true},   {"1", true, true},
      {"no", false, false}, {"0", false, false}, {"maybe", false, true},
  };
  for (const Case& c : cases) {
    HeadlessMainWindow run;
    MemoryRegistry stored;
    stored.SetString(kKey, "chkAutoSort_Checked", c.text);
    stored.SetString(kKey, "chkAutoRefreshStats_Checked", c.text);
    FormStore(stored, std::string(kKey), *run.form, windows, kMainFormStoredProps).Restore();
    EXPECT_EQ(run.form->chkAutoSort().Checked(), c.auto_sort) << c.text;
    EXPECT_EQ(run.form->chkAutoRefreshStats().Checked(), c.refresh) << c.text;
  }
}

TEST_F(FormStoreTest, StoredIntervals) {
  struct Case {
    const char* what;
    RegistryValue value;
    int expected;
  };
  const auto extended = [](double v) {
    const ExtendedBytes bytes = EncodeExtended(v);
    return RegistryValue{ValueType::kBinary, {}, {bytes.begin(), bytes.end()}};
  };
  const Case cases[] = {
      {"0 is brought to the lower limit", extended(0), 1},
      {"500 is brought to the upper limit", extended(500), 100},
      {"a negative interval", extended(-3), 1},
      {"a huge interval", extended(1e300), 100},
      {"7.4 is a whole number of seconds", extended(7.4), 7},
      {"three bytes", {ValueType::kBinary, {}, {0, 0x80, 0x3F}}, 1},
      {"a text", {ValueType::kString, "5", {}}, 1},
      {"a NaN", extended(std::nan("")), 1},
  };
  for (const Case& c : cases) {
    HeadlessMainWindow run;
    MemoryRegistry stored;
    stored.Set(kKey, "SpinEdit1_Value", c.value);
    FormStore(stored, std::string(kKey), *run.form, windows, kMainFormStoredProps).Restore();
    EXPECT_EQ(run.form->SpinEdit1().Value(), c.expected) << c.what;
    EXPECT_EQ(run.form->tmrRefresh().Interval(), c.expected * 1000u) << c.what;
  }
}

TEST_F(FormStoreTest, DetailsChoices) {
  // Two choices stored as "TRUE": the later one in the stored order wins.
  StoreBoolean("rbAll_Checked", "TRUE");
  StoreBoolean("rbVersion_Checked", "TRUE");
  Store().Restore();
  EXPECT_EQ(Form().CurrentDetailsMode(), DetailsMode::Version);

  // No choice "TRUE" and the designed one "FALSE": no details mode at all.
  HeadlessMainWindow run;
  MemoryRegistry stored;
  stored.SetString(kKey, "rbEXEDescription_Checked", "FALSE");
  stored.SetString(kKey, "rbAll_Checked", "FALSE");
  FormStore(stored, std::string(kKey), *run.form, windows, kMainFormStoredProps).Restore();
  EXPECT_EQ(run.form->CurrentDetailsMode(), DetailsMode::None);
}

TEST_F(FormStoreTest, ListIndexAsNumberOrText) {
  // The list is still empty at the restore: the index selects nothing.
  registry.SetString(kKey, "cbxLang_ItemIndex", "2");
  Store().Restore();
  EXPECT_EQ(Form().cbxLang().ItemIndex(), -1);
}

TEST_F(FormStoreTest, AFormVersionBelowZeroAppliesNothingAndTheNextSaveWritesZero) {
  registry.SetDword(kKey, "FormVersion", 0xFFFFFFFF);
  registry.SetString(kKey, "NormPos", "10,10,614,410");
  StoreBoolean("chkAutoSort_Checked", "TRUE");
  Store().Restore();
  EXPECT_EQ(windows.placements_set, 0);
  EXPECT_FALSE(Form().chkAutoSort().Checked());
  EXPECT_EQ(after_restore, 0);
  EXPECT_TRUE(Store().Restored());
  Store().Save();
  EXPECT_EQ(ReadInteger(*registry.Get(kKey, "FormVersion")), 0);
}

TEST_F(FormStoreTest, NothingStoredLeavesTheWindowCentredAndRaisesAfterRestore) {
  Store().Restore();
  EXPECT_EQ(windows.placements_set, 0);
  EXPECT_EQ(Form().Position(), gui::TPosition::poScreenCenter);
  EXPECT_EQ(after_restore, 1);
}

TEST_F(FormStoreTest, PlacementRules) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> texts;
    std::optional<std::uint32_t> ppi;
    std::optional<Rect> normal;  // nothing: not applied
  };
  const Case cases[] = {
      {"the text of this screen size wins",
       {{"NormPos(1280x1024)", "40,50,0,0"}, {"NormPos", "60,70,0,0"}},
       {},
       Rect{40, 50, 644, 450}},
      {"another screen size's text is ignored",
       {{"NormPos(1920x1080)", "40,50,0,0"}, {"NormPos", "60,70,0,0"}},
       {},
       Rect{60, 70, 664, 470}},
      {"the same pixels per inch", {{"NormPos", "60,70,0,0"}}, 96, Rect{60, 70, 664, 470}},
      {"other pixels per inch: centred", {{"NormPos", "60,70,0,0"}}, 120, std::nullopt},
      {"words that are no numbers keep the current position",
       {{"NormPos", "x,99999999999"}},
       {},
       Rect{338, 312, 942, 712}},
      {"only the minimized and maximized positions",
       {{"MinMaxPos", "1,2,3,4"}},
       {},
       Rect{338, 312, 942, 712}},
      {"empty texts count as nothing stored",
       {{"NormPos", ""}, {"MinMaxPos", ""}},
       {},
       std::nullopt},
      {"a position on no monitor is moved onto the nearest",
       {{"NormPos", "5000,-3000,0,0"}},
       {},
       Rect{676, 0, 1280, 400}},
      {"a position at the edge of the 32-bit range",
       {{"NormPos", "2147483647,2147483647"}},
       {},
       Rect{676, 624, 1280, 1024}},
  };
  for (const Case& c : cases) {
    HeadlessMainWindow run;
    MemoryRegistry stored;
    FakeWindowSystem screen;
    for (const auto& [name, text] : c.texts) stored.SetString(kKey, name, text);
    if (c.ppi) stored.SetDword(kKey, "PixelsPerInch", *c.ppi);
    stored.SetString(kKey, "chkAutoSort_Checked", "TRUE");
    FormStore(stored, std::string(kKey), *run.form, screen, kMainFormStoredProps).Restore();
    if (c.normal) {
      EXPECT_EQ(screen.placements_set, 1) << c.what;
      EXPECT_EQ(screen.placement.normal, *c.normal) << c.what;
      EXPECT_EQ(run.form->Position(), gui::TPosition::poDesigned) << c.what;
    } else {
      EXPECT_EQ(screen.placements_set, 0) << c.what;
      EXPECT_EQ(run.form->Position(), gui::TPosition::poScreenCenter) << c.what;
    }
    EXPECT_TRUE(run.form->chkAutoSort().Checked()) << c.what << ": control values still restored";
  }
  HeadlessMainWindow run;
  MemoryRegistry stored;
  FakeWindowSystem screen;
  stored.SetString(kKey, "MinMaxPos", "1,2,3,4");
  FormStore(stored, std::string(kKey), *run.form, screen, kMainFormStoredProps).Restore();
  EXPECT_EQ(screen.placement.min_position, (Point{1, 2}));
  EXPECT_EQ(screen.placement.max_position, (Point{3, 4}));
}

TEST_F(FormStoreTest, ShowStates) {
  struct Case {
    std::optional<std::uint32_t> show_cmd;
    TWindowState state;
    int minimize_requests;
  };
  const Case cases[] = {
      {1, TWindowState::wsNormal, 0},  {5, TWindowState::wsNormal, 0},
      {9, TWindowState::wsNormal, 0},  {3, TWindowState::wsMaximized, 0},
      {2, TWindowState::wsNormal, 1},  {6, TWindowState::wsNormal, 1},
      {7, TWindowState::wsNormal, 1},  {0, TWindowState::wsNormal, 0},
      {42, TWindowState::wsNormal, 0}, {{}, TWindowState::wsNormal, 0},
  };
  for (const Case& c : cases) {
    HeadlessMainWindow run;
    MemoryRegistry stored;
    FakeWindowSystem screen;
    stored.SetString(kKey, "NormPos", "60,70,0,0");
    if (c.show_cmd) stored.SetDword(kKey, "ShowCmd", *c.show_cmd);
    FormStore(stored, std::string(kKey), *run.form, screen, kMainFormStoredProps).Restore();
    const int cmd = c.show_cmd ? static_cast<int>(*c.show_cmd) : -1;
    EXPECT_EQ(run.form->WindowState(), c.state) << "ShowCmd " << cmd;
    EXPECT_EQ(screen.minimize_requests, c.minimize_requests) << "ShowCmd " << cmd;
  }
}

TEST_F(FormStoreTest, RestoresOnlyOnce) {
  StoreBoolean("chkAutoSort_Checked", "TRUE");
  Store().Restore();
  Form().chkAutoSort().SetChecked(false);
  Store().Restore();
  EXPECT_FALSE(Form().chkAutoSort().Checked()) << "the user's change was overwritten";
  EXPECT_EQ(after_restore, 1);
}

TEST_F(FormStoreTest, SavesAtDestructionOnlyAfterARestoreAndWhenUnsaved) {
  // Never restored (the window was never shown): the stored settings stay as they are.
  StoreBoolean("chkAutoSort_Checked", "TRUE");
  registry.ClearWrites();
  Store().SaveIfUnsaved();
  EXPECT_TRUE(registry.Writes().empty());
  EXPECT_EQ(registry.Get(kKey, "chkAutoSort_Checked")->text, "TRUE");

  Store().Restore();
  Store().Save();
  registry.ClearWrites();
  Store().SaveIfUnsaved();
  EXPECT_TRUE(registry.Writes().empty()) << "saved twice";
}

TEST_F(FormStoreTest, SaveThatCannotCreateTheKey) {
  registry.FailCreating(kKey);
  try {
    Store().Save();
    ADD_FAILURE() << "no error";
  } catch (const ERegistryError& error) {
    EXPECT_STREQ(error.what(), "Unable to create key 'Software\\Orindel\\Velmora\\frmMain'");
  }
  EXPECT_FALSE(Store().Saved());
}

TEST_F(FormStoreTest, SaveThatCannotWriteAValueKeepsWhatItWroteBefore) {
  registry.FailWriting("NormPos(1280x1024)");
  try {
    Store().Save();
    ADD_FAILURE() << "no error";
  } catch (const ERegistryError& error) {
    EXPECT_STREQ(error.what(),
                 "Unable to open key \"HKEY_CURRENT_USER\\Software\\Orindel\\Velmora\\frmMain\" "
                 "for write");
  }
  EXPECT_EQ(registry.ValueNames(kKey),
            (std::vector<std::string>{"FormVersion", "ShowCmd", "Flags", "PixelsPerInch",
                                      "MinMaxPos(1280x1024)", "MinMaxPos"}));
  EXPECT_FALSE(Store().Saved());
}

TEST(MoveInside, KeepsTheSizeAndMovesTheLeastNeeded) {
  const Rect area{0, 0, 1280, 984};
  EXPECT_EQ(MoveInside({100, 100, 700, 500}, area), (Rect{100, 100, 700, 500}));
  EXPECT_EQ(MoveInside({-900, 100, -300, 500}, area), (Rect{0, 100, 600, 500}));
  EXPECT_EQ(MoveInside({1000, 900, 1600, 1300}, area), (Rect{680, 584, 1280, 984}));
  // Larger than the area: it takes the area.
  EXPECT_EQ(MoveInside({-5, -5, 3000, 2000}, area), area);
}

}  // namespace
}  // namespace velmora::settings
