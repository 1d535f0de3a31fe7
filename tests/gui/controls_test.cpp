// The controls' own logic, natively: the state lives in the objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "gui/application.h"
#include "gui/button.h"
#include "gui/combo_box.h"
#include "gui/enter_as_tab.h"
#include "gui/link_label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/safe_sort.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"

namespace velmora::gui {
namespace {

std::vector<std::string> Captions(const TListView& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Item(i).Caption());
  return out;
}

// --- The sort that never trusts its comparison ----------------------------------------------

TEST(SafeSortTest, HostileComparisonsStillGiveAPermutation) {
  std::mt19937 random(7);
  const std::vector<std::function<bool(int, int)>> hostile = {
      [](int, int) { return true; },  // everything goes after everything
      [](int, int) { return false; },
      [&](int, int) { return random() % 2 == 0; },          // coin toss, inconsistent
      [](int a, int b) { return (a - b + 300) % 3 == 1; },  // rock-paper-scissors cycles
      [](int a, int b) { return a >= b; },                  // never equal (the header click)
  };
  for (std::size_t h = 0; h < hostile.size(); ++h) {
    for (int n : {0, 1, 2, 3, 17, 64, 1000}) {
      std::vector<int> items(static_cast<std::size_t>(n));
      std::iota(items.begin(), items.end(), 0);
      std::shuffle(items.begin(), items.end(), random);
      int calls = 0;
      SafeSort(items, [&](int a, int b) {
        ++calls;
        return hostile[h](a, b);
      });
      std::vector<int> sorted = items;
      std::sort(sorted.begin(), sorted.end());
      std::vector<int> expected(static_cast<std::size_t>(n));
      std::iota(expected.begin(), expected.end(), 0);
      EXPECT_EQ(sorted, expected) << "comparison " << h << ", " << n << " items";
      EXPECT_LE(calls, n * 11 + 1) << "O(n log n) comparisons";
    }
  }
}

TEST(SafeSortTest, NeverEqualComparisonSortsCorrectlyAndKeepsEqualKeysInOrder) {
  // (key, original position); ascending "greater gives after, anything else before".
  std::vector<std::pair<std::string, int>> items = {
      {"b", 0}, {"a", 1}, {"b", 2}, {"c", 3}, {"a", 4}};
  SafeSort(items, [](const auto& x, const auto& y) { return x.first > y.first; });
  EXPECT_EQ(items, (std::vector<std::pair<std::string, int>>{
                       {"a", 1}, {"a", 4}, {"b", 0}, {"b", 2}, {"c", 3}}));
}

TEST(ListViewTest, CustomSortWithTheHeaderClickComparison) {
  TListView list(nullptr);
  for (const char* name : {"notepad.exe", "calc.exe", "Zeta.exe", "calc.exe"}) {
    list.Add().SetCaption(name);
  }
  // Descending, never reporting equality: greater gives -1, anything else +1.
  list.CustomSort(
      [](const TListItem& a, const TListItem& b) { return a.Caption() > b.Caption() ? -1 : 1; });
  EXPECT_EQ(Captions(list),
            (std::vector<std::string>{"notepad.exe", "calc.exe", "calc.exe", "Zeta.exe"}));
}

TEST(ListViewTest, SortByTextReSortsWheneverACaptionIsSet) {
  testing::FakePlatform platform;
  TListView list(nullptr);
  list.SetSortType(TSortType::stText);
  auto& first = list.Add();
  first.SetCaption("notepad.exe");
  auto& second = list.Add();
  second.SubItems().Add("details");
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"notepad.exe", ""}))
      << "a new row stays last until its caption is set";
  second.SetCaption("calc.exe");
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"calc.exe", "notepad.exe"}));
  EXPECT_GT(platform.collations, 0) << "compared with the platform's collation";
  EXPECT_EQ(second.Index(), 0);
  EXPECT_EQ(second.SubItems()[0], "details") << "a row moves with its sub-items";
  first.SetImageIndex(3);
  EXPECT_EQ(list.Item(1).ImageIndex(), 3);
  EXPECT_THROW(list.Item(2), EListError);
}

TEST(ListViewTest, ColumnClickRaisesTheEventWithTheColumn) {
  TListView list(nullptr);
  list.Columns().Add().SetCaption("Application File");
  list.Columns().Add().SetCaption("Time");
  int clicked = -1;
  list.OnColumnClick = [&](TObject&, TListColumn& column) { clicked = column.Index(); };
  list.ColumnClick(1);
  EXPECT_EQ(clicked, 1);
}

// --- Copying rows as a table -----------------------------------------------------------------

// Three columns, rows in the order given; a row with fewer texts lacks those sub-items.
void FillList(TListView& list, const std::vector<std::vector<std::string>>& rows) {
  for (const char* caption : {"Application File", "Application Details", "Time"})
    list.Columns().Add().SetCaption(caption);
  for (const auto& texts : rows) {
    TListItem& row = list.Add();
    row.SetCaption(texts[0]);
    for (std::size_t i = 1; i < texts.size(); ++i) row.SubItems().Add(texts[i]);
  }
}

TEST(ListViewCopyTest, RowsAsTextIsATabSeparatedTableOfTheChosenRows) {
  const std::string header = "Application File\tApplication Details\tTime\r\n";
  const struct {
    const char* what;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> selected;
    std::string expected;
  } cases[] = {
      {"no selection: every row",
       {{"a.exe", "Alpha", "00:00:01"}, {"b.exe", "Beta", "00:00:02"}},
       {},
       header + "a.exe\tAlpha\t00:00:01\r\nb.exe\tBeta\t00:00:02\r\n"},
      {"only the selected rows, in the list's order",
       {{"a.exe", "A", "1"}, {"b.exe", "B", "2"}, {"c.exe", "C", "3"}},
       {2, 0},
       header + "a.exe\tA\t1\r\nc.exe\tC\t3\r\n"},
      {"tabs and line breaks inside a cell become blanks",
       {{"a\tb.exe", "line one\r\nline two\nthree", "1"}},
       {},
       header + "a b.exe\tline one  line two three\t1\r\n"},
      {"missing sub-items are empty cells", {{"solo.exe"}}, {}, header + "solo.exe\t\t\r\n"},
      {"non-ASCII text is kept as it is",
       {{"Übersicht.exe", "Текстовый редактор", "時間"}},
       {},
       header + "Übersicht.exe\tТекстовый редактор\t時間\r\n"},
      {"an empty list gives the header alone", {}, {}, header},
  };
  for (const auto& c : cases) {
    TListView list(nullptr);
    FillList(list, c.rows);
    for (int i : c.selected) list.Item(i).SetSelected(true);
    EXPECT_EQ(list.RowsAsText(), c.expected) << c.what;
  }
}

TEST(ListViewCopyTest, RowsFollowTheDisplayOrderAfterASort) {
  TListView list(nullptr);
  FillList(list, {{"b.exe", "B", "2"}, {"c.exe", "C", "3"}, {"a.exe", "A", "1"}});
  list.CustomSort([](const TListItem& a, const TListItem& b) {
    return b.Caption().compare(a.Caption());  // descending
  });
  list.Item(2).SetSelected(true);  // a.exe, now last
  list.Item(0).SetSelected(true);  // c.exe, now first
  EXPECT_EQ(list.RowsAsText(),
            "Application File\tApplication Details\tTime\r\nc.exe\tC\t3\r\na.exe\tA\t1\r\n");
}

TEST(ListViewCopyTest, CopyRowsHandsTheTableToThePlatformsClipboard) {
  testing::FakePlatform platform;
  TListView list(nullptr);
  EXPECT_FALSE(list.AllowCopy()) << "off unless a design asks for it";
  FillList(list, {{"a.exe", "A", "1"}});
  EXPECT_TRUE(list.CopyRows());
  ASSERT_EQ(platform.clipboard.size(), 1u);
  EXPECT_EQ(platform.clipboard[0], list.RowsAsText());
  platform.clipboard_works = false;
  EXPECT_FALSE(list.CopyRows()) << "a clipboard that cannot be written is reported";
}

TEST(ListViewTest, SortIndicatorNamesOneColumnOrNone) {
  TListView list(nullptr);
  EXPECT_EQ(list.SortIndicatorColumn(), -1);
  list.SetSortIndicator(2, TSortDirection::sdDescending);
  EXPECT_EQ(list.SortIndicatorColumn(), 2);
  EXPECT_EQ(list.SortIndicatorDirection(), TSortDirection::sdDescending);
  list.SetSortIndicator(1, TSortDirection::sdNone);  // no direction: no arrow anywhere
  EXPECT_EQ(list.SortIndicatorColumn(), -1);
  list.SetSortIndicator(0, TSortDirection::sdAscending);
  list.SetSortIndicator(-1, TSortDirection::sdAscending);  // no column: no arrow either
  EXPECT_EQ(list.SortIndicatorDirection(), TSortDirection::sdNone);
}

// --- Buttons --------------------------------------------------------------------------------

TEST(ButtonTest, OptionButtonsAreExclusiveAmongSiblings) {
  TPanel page(nullptr), other(nullptr);
  std::vector<TRadioButton*> radios;
  for (int i = 0; i < 3; ++i) {
    radios.push_back(new TRadioButton(&page));
    radios.back()->SetParent(&page);
  }
  auto& elsewhere = page.Create<TRadioButton>("elsewhere");
  elsewhere.SetParent(&other);
  elsewhere.SetChecked(true);
  int clicks = 0;
  radios[2]->OnClick = [&](TObject&) { ++clicks; };
  radios[0]->SetChecked(true);
  radios[2]->SetChecked(true);
  EXPECT_FALSE(radios[0]->Checked());
  EXPECT_FALSE(radios[1]->Checked());
  EXPECT_TRUE(radios[2]->Checked());
  EXPECT_TRUE(elsewhere.Checked()) << "another parent is another group";
  EXPECT_EQ(clicks, 1);
  radios[2]->SetChecked(true);
  EXPECT_EQ(clicks, 1) << "no change, no click";
}

TEST(ButtonTest, CheckBoxRaisesOnClickWhenItsStateChangesByCodeOrUser) {
  TCheckBox box(nullptr);
  std::vector<bool> seen;
  box.OnClick = [&](TObject&) { seen.push_back(box.Checked()); };
  box.SetChecked(true);
  box.SetChecked(true);
  box.Toggle();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(ButtonTest, EnterKeepsItsMeaningOnButtonsOnly) {
  TEnterAsTab enter(nullptr);
  TButton button(nullptr);
  TCheckBox check(nullptr);
  TRadioButton radio(nullptr);
  TSpinEdit spin(nullptr);
  TComboBox combo(nullptr);
  EXPECT_FALSE(enter.MovesFocus(&button));
  EXPECT_FALSE(enter.MovesFocus(&check));
  EXPECT_FALSE(enter.MovesFocus(&radio));
  EXPECT_TRUE(enter.MovesFocus(&spin));
  EXPECT_TRUE(enter.MovesFocus(&combo));
  EXPECT_FALSE(enter.MovesFocus(nullptr));
  enter.SetEnabled(false);
  EXPECT_FALSE(enter.MovesFocus(&spin));
}

// --- Spin box and drop-down list ------------------------------------------------------------

TEST(SpinEditTest, TypedAndSetValuesAreClampedAndOnlyRealChangesAreReported) {
  TSpinEdit spin(nullptr);
  spin.SetMaxValue(100);
  spin.SetMinValue(1);
  EXPECT_EQ(spin.Value(), 1) << "the limits pull the initial 0 in";
  std::vector<int> changes;
  spin.OnChange = [&](TObject&) { changes.push_back(spin.Value()); };
  struct Case {
    const char* typed;
    int value;
  };
  const Case cases[] = {{"0", 1},    {"250", 100}, {"5", 5},  {"5", 5},
                        {"abc", 5},  {"", 5},      {"-7", 1}, {"99999999999", 100},
                        {"7x", 100}, {"42", 42}};
  for (const Case& c : cases) {
    spin.SetValueFromText(c.typed);
    EXPECT_EQ(spin.Value(), c.value) << "typed " << c.typed;
  }
  EXPECT_EQ(changes, (std::vector<int>{100, 5, 1, 100, 42}));
}

TEST(ComboBoxTest, SortedLinesCarryValuesAndOnlyTheUserChanges) {
  testing::FakePlatform platform;
  TComboBox combo(nullptr);
  combo.SetStyle(TComboBoxStyle::csDropDownList);
  combo.SetSorted(true);
  combo.Items().Add("German / Deutsch", "Z:\\Language\\Deutsch.lng");
  combo.Items().Add("English", "Z:\\Language\\English.lng");
  int changes = 0;
  combo.OnChange = [&](TObject&) { ++changes; };
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.SelectedValue(), "Z:\\Language\\Deutsch.lng");
  combo.SetItemIndex(5);
  EXPECT_EQ(combo.ItemIndex(), -1) << "an index outside the list selects nothing";
  EXPECT_EQ(changes, 0);
  combo.SelectByUser(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo.SelectedValue(), "Z:\\Language\\English.lng");
  combo.Items().Clear();
  EXPECT_EQ(combo.ItemIndex(), -1);
}

// --- Navigation bar, link label, timer ------------------------------------------------------

TEST(NavBarTest, PressingAButtonReleasesTheOthersAndClicksDoNotToggle) {
  TNavBar bar(nullptr);
  auto& page = bar.Pages().Add();
  for (const char* caption : {"Applications", "Statistics", "Settings", "About"}) {
    page.Buttons().Add().SetCaption(caption);
  }
  int clicked = 0;
  page.Buttons()[1].OnClick = [&](TObject&) { ++clicked; };
  page.Buttons()[1].Click();
  EXPECT_EQ(clicked, 1);
  EXPECT_FALSE(page.Buttons()[1].Down());
  page.Buttons()[0].SetDown(true);
  page.Buttons()[2].SetDown(true);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(page.Buttons()[i].Down(), i == 2) << i;
  const int top = TNavBar::kTopPadding;
  EXPECT_EQ(bar.ButtonAt(10, top), &page.Buttons()[0]);
  EXPECT_EQ(bar.ButtonAt(10, top + bar.ButtonHeight() * 3 + 1), &page.Buttons()[3]);
  EXPECT_EQ(bar.ButtonAt(10, top + bar.ButtonHeight() * 4 + 1), nullptr);
  EXPECT_EQ(bar.ButtonAt(10, top - 1), nullptr);
  EXPECT_EQ(bar.ButtonAt(-1, top + 1), nullptr);
}

TEST(LinkLabelTest, ColoursFollowAutoColorsAndVisited) {
  testing::FakePlatform platform;
  TLinkLabel link(nullptr);
  EXPECT_EQ(link.LinkColor(), clBlue);
  link.SetVisited(true);
  EXPECT_EQ(link.LinkColor(), clPurple);
  link.SetAutoColors(false);
  link.SetColorVisited(0x00AA00);
  link.SetColorUnvisited(0x0000AA);
  EXPECT_EQ(link.LinkColor(), 0x00AA00u);
  link.SetVisited(false);
  EXPECT_EQ(link.LinkColor(), 0x0000AAu);
  link.SetHREF("mailto:support@example.org");
  link.Press();
  EXPECT_EQ(platform.opened, (std::vector<std::string>{"mailto:support@example.org"}));
  EXPECT_FALSE(link.Visited()) << "pressing does not mark the link visited";
}

TEST(TimerTest, IntervalChangeRestartsAndDisablingStops) {
  testing::FakePlatform platform;
  {
    TTimer timer(nullptr);
    ASSERT_EQ(platform.timers.size(), 1u);
    EXPECT_EQ(platform.timers[0]->interval, 1000u);
    timer.SetInterval(5000);
    ASSERT_EQ(platform.timers.size(), 2u);
    EXPECT_FALSE(platform.timers[0]->alive);
    EXPECT_EQ(platform.timers[1]->interval, 5000u);
    timer.SetInterval(5000);
    EXPECT_EQ(platform.timers.size(), 2u) << "the same interval does not restart";
    timer.SetEnabled(false);
    EXPECT_EQ(platform.LiveTimers(), 0);
    timer.SetEnabled(true);
    EXPECT_EQ(platform.LiveTimers(), 1);
  }
  EXPECT_EQ(platform.LiveTimers(), 0) << "destroyed with the component";
}

// --- Layout ---------------------------------------------------------------------------------

TEST(ControlTest, AlignClientFillsWhatTheOtherAlignmentsLeave) {
  TPanel page(nullptr);
  page.SetBounds(130, 1, 473, 329);
  auto& top = page.Create<TPanel>("top");
  top.SetHeight(40);
  top.SetAlign(TAlign::alTop);
  top.SetParent(&page);
  auto& list = page.Create<TListView>("lvApps");
  list.SetParent(&page);
  list.SetAlign(TAlign::alClient);
  EXPECT_EQ(list.Bounds(), (Rect{0, 40, 473, 289}));
  page.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(list.Bounds(), (Rect{0, 40, 300, 160}));
}

TEST(ControlTest, BringToFrontPutsThePanelOnTopOfItsSiblings) {
  TPanel form(nullptr);
  std::vector<TPanel*> pages;
  for (const char* name : {"pnlStats", "pnlAbout", "pnlApps", "pnlSettings"}) {
    pages.push_back(&form.Create<TPanel>(name));
    pages.back()->SetParent(&form);
  }
  pages[0]->BringToFront();
  EXPECT_EQ(form.Controls().back(), pages[0]);
  EXPECT_EQ(form.Controls().front(), pages[1]);
}

TEST(ControlTest, ChildrenFollowTheParentFontUntilTheyChangeTheirOwn) {
  TPanel parent(nullptr);
  TButton& hide = parent.Create<TButton>("btnHide");
  TButton& quit = parent.Create<TButton>("btnQuit");
  hide.SetParent(&parent);
  quit.SetParent(&parent);
  hide.Font().SetStyle(fsBold);
  parent.Font().SetName("Segoe UI");
  EXPECT_EQ(quit.Font().Name(), "Segoe UI");
  EXPECT_EQ(hide.Font().Name(), "Tahoma") << "a font of its own";
  EXPECT_EQ(hide.Font().Style(), fsBold);
}

}  // namespace
}  // namespace velmora::gui
