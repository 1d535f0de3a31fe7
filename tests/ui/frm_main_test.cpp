// The main window's pages and frame, headless: a fake process table and fake version
// information stand in for the system, and a fake platform answers message boxes.
#include "ui/frm_main.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "gui/application.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/errors.h"
#include "gui/fake_platform.h"
#include "gui/image_list.h"
#include "gui/label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"
#include "core/resource_strings.h"
#include "tracking/fake_process_inspector.h"

namespace velmora::ui {
namespace {

using gui::TListItem;
using tracking::ProcessId;

class FrmMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TfrmMainServices services;
    services.ledger = &ledger;
    services.inspector = &inspector;
    services.read_details = [this](const std::string& path) {
      ++version_reads;
      const auto it = versions.find(path);
      if (it == versions.end()) throw std::runtime_error("no version information: " + path);
      return it->second;
    };
    services.own_version_value = [this](std::string_view name) {
      const auto it = own_version.find(std::string(name));
      return it == own_version.end() ? std::string() : it->second;
    };
    services.executable_folder = [] { return std::string("C:\\Programs\\Velmora"); };
    services.open_help = [this](TfrmMain&, const std::string& path) { help_opened = path; };
    services.create_tray_icon = [this](TfrmMain&) {
      ++trays_made;
      return std::shared_ptr<void>();
    };
    services.activate_window = [this](TfrmMain&) { ++activations; };
    TfrmMain::SetServices(std::move(services));
    form = &app.CreateForm<TfrmMain>();
  }
  void TearDown() override { TfrmMain::SetServices({}); }

  // A running process of `exe` in C:\Apps, optionally with an icon and version texts.
  void Run(ProcessId pid, const std::string& exe, bool icon = true,
           std::optional<DetailsFields> fields = std::nullopt) {
    const std::string path = "C:\\Apps\\" + exe;
    inspector.AddProcess(pid, path);
    if (icon) inspector.AddIcon(path);
    if (fields) versions[path] = *fields;
  }
  // One tick with `pid` in the foreground.
  void TickWith(ProcessId pid) {
    inspector.SetForeground(tracking::ForegroundWindow{0x100 + pid, pid});
    form->tmrRefresh().Tick();
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> out;
    const auto& list = form->lvApps();
    for (int i = 0; i < list.Count(); ++i) {
      const TListItem& item = list.Item(i);
      out.push_back(column == 0 ? item.Caption() : item.SubItems()[column - 1]);
    }
    return out;
  }
  void Choose(DetailsMode mode) {
    form->RadioButton(mode).SetChecked(true);  // raises the shared click handler
  }

  gui::testing::FakePlatform platform;
  gui::TApplication app;
  tracking::UsageLedger ledger;
  tracking::FakeProcessInspector inspector;
  std::map<std::string, DetailsFields> versions;
  std::map<std::string, std::string> own_version;
  int version_reads = 0;
  int trays_made = 0;
  int activations = 0;
  std::string help_opened;
  TfrmMain* form = nullptr;
};

TEST_F(FrmMainTest, StartsWithTheDesignedFrameAndValues) {
  EXPECT_EQ(form->Name(), "frmMain");
  EXPECT_EQ(form->ClientWidth(), 604);
  EXPECT_EQ(form->ClientHeight(), 376);
  EXPECT_EQ(form->BorderStyle(), gui::TFormBorderStyle::bsSingle);
  EXPECT_EQ(form->BorderIcons(), gui::biSystemMenu);
  // Later children are on top: the Settings page is in front at the first showing.
  std::vector<std::string> pages;
  for (gui::TControl* c : form->Controls())
    if (c->Is<gui::TPanel>()) pages.push_back(c->Name());
  EXPECT_EQ(pages, (std::vector<std::string>{"pnlStats", "pnlAbout", "pnlApps", "pnlSettings"}));
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(form->NavBar1().Pages()[0].Buttons()[i].Down()) << i;
  auto& columns = form->lvApps().Columns();
  ASSERT_EQ(columns.Count(), 3);
  EXPECT_EQ(columns[2].Caption(), "Time Spent In Application");
  EXPECT_EQ(columns[0].Width() + columns[1].Width() + columns[2].Width(), 130 + 180 + 140);
  EXPECT_EQ(form->imgsApps().Width(), 32);
  EXPECT_EQ(form->lvApps().SmallImages(), &form->imgsApps());
  EXPECT_TRUE(form->lvApps().AllowCopy());
  EXPECT_TRUE(form->lvApps().MultiSelect());
  EXPECT_EQ(form->lvApps().SortIndicatorColumn(), -1);
  EXPECT_EQ(form->SpinEdit1().Value(), 1);
  EXPECT_EQ(form->SpinEdit1().MaxValue(), 100);
  EXPECT_TRUE(form->chkAutoRefreshStats().Checked());
  EXPECT_FALSE(form->chkAutoSort().Checked());
  EXPECT_EQ(form->CurrentDetailsMode(), DetailsMode::ExeDescription);
  EXPECT_TRUE(form->tmrRefresh().Enabled());
  EXPECT_EQ(form->tmrRefresh().Interval(), 1000u);
  EXPECT_EQ(form->HelpFile(), "VelmoraEng.chm");
  EXPECT_EQ(form->SortClickCount(), 0);
  EXPECT_FALSE(form->QuitConfirmed());
  EXPECT_EQ(trays_made, 1);
  EXPECT_FALSE(form->Visible());
}

TEST_F(FrmMainTest, TickCreditsTheForegroundAndAddsItsRowWithIconDetailsAndTime) {
  Run(10, "Notepad.EXE", true, DetailsFields{"Notepad", "Microsoft", "Windows", "10.0"});
  Run(20, "tool.exe", false);  // no icon, no version information
  TickWith(10);
  TickWith(10);
  TickWith(20);
  EXPECT_EQ(ledger.GetProcessTime("notepad.exe"), 2);
  ASSERT_EQ(form->lvApps().Count(), 2);
  const TListItem* notepad = form->SearchForProcessInListView("NOTEPAD.exe");
  ASSERT_NE(notepad, nullptr);
  EXPECT_EQ(notepad->Caption(), "notepad.exe");
  EXPECT_EQ(notepad->ImageIndex(), 0);
  EXPECT_EQ(notepad->SubItems()[0], "Notepad");
  EXPECT_EQ(notepad->SubItems()[1], "00:00:02");
  const TListItem* tool = form->SearchForProcessInListView("tool.exe");
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->ImageIndex(), -1);
  EXPECT_EQ(tool->SubItems()[0], "tool.exe");  // unreadable version information
  EXPECT_EQ(form->imgsApps().Count(), 1);
}

// Rows are found through an index beside the list: it must follow sorting and rows added
// from outside the page, and of rows with the same caption (any A-Z case) the last one in
// the list's current order is the one found.
TEST_F(FrmMainTest, ARowIsFoundAfterSortingAndTheLastOfEqualCaptionsWins) {
  Run(1, "b.exe");
  Run(2, "a.exe");
  ledger.AddProcessTime("b.exe", 30);
  ledger.AddProcessTime("a.exe", 10);
  form->RefreshApplicationList();
  TListItem* own = form->SearchForProcessInListView("b.exe");
  ASSERT_NE(own, nullptr);
  TListItem& outsider = form->lvApps().Add();
  outsider.SetCaption("B.EXE");

  form->lvApps().ColumnClick(0);  // ascending bytes: B.EXE, a.exe, b.exe
  EXPECT_EQ(Column(0), (std::vector<std::string>{"B.EXE", "a.exe", "b.exe"}));
  EXPECT_EQ(form->SearchForProcessInListView("B.exe"), own);
  form->lvApps().ColumnClick(0);  // descending: b.exe, a.exe, B.EXE
  EXPECT_EQ(form->SearchForProcessInListView("b.exe"), &outsider);
  EXPECT_EQ(form->SearchForProcessInListView("a.exe")->Caption(), "a.exe");
  EXPECT_EQ(form->SearchForProcessInListView("c.exe"), nullptr);
}

TEST_F(FrmMainTest, TimeTextOfEveryRow) {
  const struct {
    const char* exe;
    int seconds;
    const char* text;
  } cases[] = {{"a.exe", 0, "00:00:00"},    {"b.exe", 59, "00:00:59"},
               {"c.exe", 60, "00:01:00"},   {"d.exe", 3599, "00:59:59"},
               {"e.exe", 3600, "01:00:00"}, {"f.exe", 360000, "100:00:00"}};
  ProcessId pid = 1;
  for (const auto& c : cases) {
    Run(pid++, c.exe);
    ledger.AddProcessTime(c.exe, c.seconds);
  }
  form->RefreshApplicationList();
  for (const auto& c : cases) {
    const TListItem* row = form->SearchForProcessInListView(c.exe);
    ASSERT_NE(row, nullptr) << c.exe;
    EXPECT_EQ(row->SubItems()[1], c.text) << c.exe;
  }
}

TEST_F(FrmMainTest, DetailsFollowTheChosenModeAndAStoppedApplicationShowsItsName) {
  Run(1, "word.exe", true, DetailsFields{"Word", "Contoso", "Office", "16.0"});
  Run(2, "gone.exe", true, DetailsFields{"Gone", "Acme", "Gone Suite", "1.2"});
  ledger.AddProcessTime("word.exe", 5);
  ledger.AddProcessTime("gone.exe", 7);
  form->RefreshApplicationList();
  inspector.RemoveProcess(2);

  const struct {
    DetailsMode mode;
    const char* word;
  } cases[] = {{DetailsMode::ProductName, "Office"},
               {DetailsMode::Company, "Contoso"},
               {DetailsMode::Version, "16.0"},
               {DetailsMode::All, "Word | Contoso | Office 16.0"},
               {DetailsMode::ExeDescription, "Word"}};
  for (const auto& c : cases) {
    Choose(c.mode);
    EXPECT_EQ(form->SearchForProcessInListView("word.exe")->SubItems()[0], c.word);
    EXPECT_EQ(form->SearchForProcessInListView("gone.exe")->SubItems()[0], "gone.exe");
    EXPECT_EQ(form->SearchForProcessInListView("gone.exe")->SubItems()[1], "00:00:07");
  }
  // A key released on an option button re-renders as well.
  versions["C:\\Apps\\word.exe"].file_description = "Word 2";
  form->RadioButton(DetailsMode::ExeDescription).KeyUp(' ');
  EXPECT_EQ(form->SearchForProcessInListView("word.exe")->SubItems()[0], "Word 2");
}

TEST_F(FrmMainTest, ExistingRowsKeepTheirDetailsAndStoppedRowsTheirTime) {
  Run(1, "app.exe", true, DetailsFields{"First", "", "", ""});
  TickWith(1);
  versions["C:\\Apps\\app.exe"].file_description = "Second";
  TickWith(1);
  EXPECT_EQ(Column(1), std::vector<std::string>{"First"});
  inspector.RemoveProcess(1);
  ledger.AddProcessTime("app.exe", 100);
  form->RefreshApplicationList();
  EXPECT_EQ(Column(2), std::vector<std::string>{"00:00:02"});
  Run(3, "app.exe");
  form->RefreshApplicationList();
  EXPECT_EQ(form->lvApps().Count(), 1);
  EXPECT_EQ(Column(2), std::vector<std::string>{"00:01:42"});
}

TEST_F(FrmMainTest, HeaderClicksAlternateAscendingAndDescendingAcrossColumns) {
  Run(1, "b.exe", true, DetailsFields{"Zeta", "", "", ""});
  Run(2, "a.exe", true, DetailsFields{"Alpha", "", "", ""});
  Run(3, "c.exe", true, DetailsFields{"Mid", "", "", ""});
  ledger.AddProcessTime("b.exe", 30);
  ledger.AddProcessTime("a.exe", 10);
  ledger.AddProcessTime("c.exe", 20);
  form->RefreshApplicationList();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a.exe", "b.exe", "c.exe"}));

  form->lvApps().ColumnClick(2);  // first click: ascending by time
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a.exe", "c.exe", "b.exe"}));
  form->lvApps().ColumnClick(1);  // second click, another column: descending
  EXPECT_EQ(Column(1), (std::vector<std::string>{"Zeta", "Mid", "Alpha"}));
  form->lvApps().ColumnClick(0);  // third: ascending again
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a.exe", "b.exe", "c.exe"}));
  EXPECT_EQ(form->SortClickCount(), 3);
}

TEST_F(FrmMainTest, AutomaticSortOrdersByTimeTextDescending) {
  form->chkAutoSort().SetChecked(true);
  const struct {
    const char* exe;
    int seconds;
  } apps[] = {
      {"a.exe", 7200}, {"b.exe", 36000}, {"c.exe", 1800}, {"d.exe", 360000}, {"e.exe", 359999}};
  ProcessId pid = 1;
  for (const auto& a : apps) {
    Run(pid++, a.exe);
    ledger.AddProcessTime(a.exe, a.seconds);
  }
  form->RefreshApplicationList();
  // Text order: 100:00:00 sorts below 99:59:59.
  EXPECT_EQ(Column(2), (std::vector<std::string>{"99:59:59", "10:00:00", "100:00:00", "02:00:00",
                                                 "00:30:00"}));
}

TEST_F(FrmMainTest, ARowAddedWhileSortedByTimeLeavesTheListInCaptionOrder) {
  Run(1, "m.exe");
  Run(2, "z.exe");
  ledger.AddProcessTime("z.exe", 50);
  ledger.AddProcessTime("m.exe", 10);
  form->RefreshApplicationList();
  form->lvApps().ColumnClick(0);
  form->lvApps().ColumnClick(0);  // descending by caption: z, m
  EXPECT_EQ(Column(0), (std::vector<std::string>{"z.exe", "m.exe"}));
  Run(3, "a.exe");
  TickWith(3);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a.exe", "m.exe", "z.exe"}));
}

TEST_F(FrmMainTest, TheHeaderArrowShowsTheSortInEffect) {
  using gui::TSortDirection;
  const auto arrow = [this] {
    return std::pair(form->lvApps().SortIndicatorColumn(), form->lvApps().SortIndicatorDirection());
  };
  Run(1, "m.exe");
  Run(2, "z.exe");
  ledger.AddProcessTime("z.exe", 50);
  ledger.AddProcessTime("m.exe", 10);
  form->RefreshApplicationList();
  EXPECT_EQ(arrow(), std::pair(-1, TSortDirection::sdNone)) << "caption order: no arrow";

  form->lvApps().ColumnClick(1);
  EXPECT_EQ(arrow(), std::pair(1, TSortDirection::sdAscending)) << "first click";
  form->lvApps().ColumnClick(1);
  EXPECT_EQ(arrow(), std::pair(1, TSortDirection::sdDescending)) << "second click";
  form->lvApps().ColumnClick(0);
  EXPECT_EQ(arrow(), std::pair(0, TSortDirection::sdAscending)) << "third click, other column";

  Run(3, "a.exe");
  TickWith(3);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"a.exe", "m.exe", "z.exe"}));
  EXPECT_EQ(arrow(), std::pair(-1, TSortDirection::sdNone)) << "a new row: caption order again";

  form->chkAutoSort().SetChecked(true);
  TickWith(3);
  EXPECT_EQ(arrow(), std::pair(2, TSortDirection::sdDescending)) << "automatic sort by time";
  Run(4, "b.exe");
  TickWith(4);
  EXPECT_EQ(arrow(), std::pair(2, TSortDirection::sdDescending))
      << "a new row under the automatic sort is sorted by time again";
}

TEST_F(FrmMainTest, CopyPutsTheApplicationsTableOnTheClipboard) {
  Run(1, "b.exe", true, DetailsFields{"Beta", "", "", ""});
  Run(2, "a.exe", true, DetailsFields{"Alpha", "", "", ""});
  ledger.AddProcessTime("b.exe", 30);
  ledger.AddProcessTime("a.exe", 10);
  form->RefreshApplicationList();
  form->lvApps().ColumnClick(2);
  form->lvApps().ColumnClick(2);  // descending by time: b.exe first
  ASSERT_TRUE(form->lvApps().CopyRows());
  ASSERT_EQ(platform.clipboard.size(), 1u);
  EXPECT_EQ(platform.clipboard[0],
            "Application File\tApplication Details\tTime Spent In Application\r\n"
            "b.exe\tBeta\t00:00:30\r\n"
            "a.exe\tAlpha\t00:00:10\r\n");
}

TEST_F(FrmMainTest, ChartHasOneTitledGradientSeriesPerLedgerEntryWithItsShare) {
  Run(1, "short.exe", true, DetailsFields{"Exactly15chars!", "", "", ""});
  Run(2, "long.exe", true, DetailsFields{"Sixteen chars!!!", "", "", ""});
  ledger.AddProcessTime("short.exe", 30);
  ledger.AddProcessTime("long.exe", 90);
  ledger.AddProcessTime("never.exe", 0);  // tracked, never seen running
  form->NavBar1().Pages()[0].Buttons()[1].Click();
  const gui::TChart& chart = form->chartApps();
  ASSERT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(chart.Series(0).Title(), "Exactly15chars!");
  EXPECT_EQ(chart.Series(1).Title(), "Sixteen chars!!...");
  EXPECT_EQ(chart.Series(2).Title(), "never.exe");
  const double shares[] = {25, 75, 0};
  for (int i = 0; i < 3; ++i) {
    const gui::TBarSeries& s = chart.Series(i);
    ASSERT_EQ(s.Count(), 1) << i;
    EXPECT_DOUBLE_EQ(s.Point(0).x, i);
    EXPECT_DOUBLE_EQ(s.Point(0).y, shares[i]);
    EXPECT_EQ(s.Point(0).color, gui::clDefault);
    EXPECT_EQ(s.BarStyle(), gui::TBarStyle::bsRectGradient);
    EXPECT_TRUE(s.Gradient().Visible());
    EXPECT_EQ(s.Gradient().StartColor(), gui::clWhite);
    EXPECT_EQ(s.Gradient().MidColor(), gui::clNone);
    EXPECT_TRUE(s.Gradient().Relative());
  }
  EXPECT_TRUE(form->NavBar1().Pages()[0].Buttons()[1].Down());
  EXPECT_EQ(form->pnlStats().Parent()->Controls().back(), &form->pnlStats());

  // Titles are fixed at creation; a new entry gets a new series at the end.
  versions["C:\\Apps\\short.exe"].file_description = "Renamed";
  Run(3, "never.exe", true, DetailsFields{"Now running", "", "", ""});
  TickWith(3);
  ASSERT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(chart.Series(0).Title(), "Exactly15chars!");
  EXPECT_EQ(chart.Series(2).Title(), "never.exe");
  EXPECT_DOUBLE_EQ(chart.Series(2).Point(0).y, 100.0 / 121.0);
}

TEST_F(FrmMainTest, ATotalOfZeroDrawsAnEmptyChart) {
  ledger.AddProcessTime("a.exe", 0);
  ledger.AddProcessTime("b.exe", 0);
  form->RefreshStatistics();
  ASSERT_EQ(form->chartApps().SeriesCount(), 2);
  EXPECT_EQ(form->chartApps().Series(0).Count(), 0);
  EXPECT_EQ(form->chartApps().Series(1).Count(), 0);
}

TEST_F(FrmMainTest, WithAutomaticRefreshOffTheChartWaitsForTheStatisticsButton) {
  Run(1, "a.exe");
  TickWith(1);
  ASSERT_EQ(form->chartApps().SeriesCount(), 1);
  form->chkAutoRefreshStats().SetChecked(false);
  Run(2, "b.exe");
  TickWith(2);
  EXPECT_EQ(form->chartApps().SeriesCount(), 1);
  EXPECT_DOUBLE_EQ(form->chartApps().Series(0).Point(0).y, 100);
  form->NavBar1Pages0Buttons1Click();
  EXPECT_EQ(form->chartApps().SeriesCount(), 2);
  EXPECT_DOUBLE_EQ(form->chartApps().Series(0).Point(0).y, 50);
}

TEST_F(FrmMainTest, IntervalChangeRestartsTheTimerAndChangesWhatATickCredits) {
  Run(1, "a.exe");
  TickWith(1);
  form->SpinEdit1().SetValue(5);
  EXPECT_EQ(form->tmrRefresh().Interval(), 5000u);
  TickWith(1);
  form->SpinEdit1().SetValue(0);  // clamped to the minimum, 1
  EXPECT_EQ(form->tmrRefresh().Interval(), 1000u);
  TickWith(1);
  EXPECT_EQ(ledger.GetProcessTime("a.exe"), 1 + 5 + 1);
}

TEST_F(FrmMainTest, ATickListsTheRunningProcessesOnceWhateverTheNumberOfApplications) {
  for (ProcessId pid = 1; pid <= 40; ++pid) {
    Run(pid, "app" + std::to_string(pid) + ".exe");
    ledger.AddProcessTime("app" + std::to_string(pid) + ".exe", 1);
  }
  TickWith(1);
  const auto before = inspector.Counters();
  TickWith(2);
  const auto after = inspector.Counters();
  // One walk names the foreground process and serves the pages; every row exists, so no
  // process is opened for a path.
  EXPECT_EQ(after.process_snapshots - before.process_snapshots, 1u);
  EXPECT_EQ(after.process_opens, before.process_opens);
  EXPECT_EQ(after.icon_extractions, before.icon_extractions);  // icons only for new rows
}

// A process that cannot be opened (a protected one) still runs under its name: credited on
// every tick, it gets a row with its file name for details and no icon.
TEST_F(FrmMainTest, AnApplicationThatCannotBeOpenedGetsARowWithItsNameAndNoIcon) {
  inspector.AddProcess(30, "", "Guarded.exe");
  TickWith(30);
  TickWith(30);
  ASSERT_EQ(form->lvApps().Count(), 1);
  const TListItem& row = form->lvApps().Item(0);
  EXPECT_EQ(row.Caption(), "guarded.exe");
  EXPECT_EQ(row.ImageIndex(), -1);
  EXPECT_EQ(row.SubItems()[0], "guarded.exe");
  EXPECT_EQ(row.SubItems()[1], "00:00:02");
  EXPECT_EQ(form->imgsApps().Count(), 0);
  EXPECT_EQ(version_reads, 0);
  ASSERT_EQ(form->chartApps().SeriesCount(), 1);
  EXPECT_EQ(form->chartApps().Series(0).Title(), "guarded.exe");
}

TEST_F(FrmMainTest, TheSystemIdleProcessSkipsTheWholeTick) {
  inspector.AddProcess(0, "", "[System Process]");
  Run(1, "a.exe");
  ledger.AddProcessTime("a.exe", 0);
  TickWith(0);
  EXPECT_EQ(form->lvApps().Count(), 0);
  EXPECT_EQ(ledger.Count(), 1u);
}

TEST_F(FrmMainTest, CloseOnlyHidesUntilQuitIsConfirmed) {
  form->Show();
  EXPECT_FALSE(form->Close());
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(app.Terminated());

  form->Show();
  platform.answer = gui::kIdNo;
  form->btnQuitClick();
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "Do you really want to exit Velmora?");
  EXPECT_EQ(platform.boxes[0].caption, platform.boxes[0].text);
  EXPECT_EQ(platform.boxes[0].flags, gui::kMbYesNo | gui::kMbIconQuestion);
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(form->QuitConfirmed());
  EXPECT_FALSE(app.Terminated());

  platform.answer = gui::kIdYes;
  form->btnQuitClick();
  EXPECT_TRUE(form->QuitConfirmed());
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(app.Terminated());
}

TEST_F(FrmMainTest, EndOfSessionEndsTheProgramWithoutAQuestion) {
  form->Show();
  std::intptr_t result = 0;
  ASSERT_TRUE(form->OnWindowMessage(kQueryEndSessionMessage, 0, 0, result));
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(app.Terminated());
}

TEST_F(FrmMainTest, TrayClickTogglesAndHideHides) {
  form->TrayIcon1Click();
  EXPECT_TRUE(form->Visible());
  form->TrayIcon1Click();
  EXPECT_FALSE(form->Visible());
  form->TrayIcon1Click();
  form->btnHideClick();
  EXPECT_FALSE(form->Visible());
}

// The shell reports a double-click as press, release, double-click, release; each release
// is a click.
TEST_F(FrmMainTest, ATrayDoubleClickLeavesTheWindowShownWhateverItWasBefore) {
  for (const bool shown_before : {false, true}) {
    SCOPED_TRACE(shown_before ? "shown before" : "hidden before");
    form->SetVisible(shown_before);
    activations = 0;
    form->TrayIcon1Click();
    form->TrayIcon1DblClick();
    form->TrayIcon1Click();
    EXPECT_TRUE(form->Visible());
    EXPECT_GE(activations, 1) << "the window was shown without being brought to the front";
    // The double-click's own release was used up: the next click toggles again.
    form->TrayIcon1Click();
    EXPECT_FALSE(form->Visible());
  }
}

TEST_F(FrmMainTest, TrayMenuOffersShowOrHideByTheWindowStateThenQuit) {
  const auto texts = [](const TrayMenu& menu) {
    std::vector<std::string> out;
    for (const TrayMenuItem& item : menu) out.push_back(item.text + (item.is_default ? "*" : ""));
    return out;
  };
  TrayMenu menu = form->TrayIcon1Menu();
  EXPECT_EQ(texts(menu), (std::vector<std::string>{"Show Velmora*", "", "Quit"}));
  menu[0].on_choose();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(activations, 1);

  menu = form->TrayIcon1Menu();
  EXPECT_EQ(texts(menu), (std::vector<std::string>{"Hide Velmora*", "", "Quit"}));
  menu[0].on_choose();
  EXPECT_FALSE(form->Visible());

  // The texts are fetched as the menu is built, so they follow a language loaded since.
  SetResourceStringTranslator([](int id, std::string& text) {
    if (id != kTrayShowId) return false;
    text = "Velmora anzeigen";
    return true;
  });
  menu = form->TrayIcon1Menu();
  SetResourceStringTranslator({});
  EXPECT_EQ(menu[0].text, "Velmora anzeigen");
}

TEST_F(FrmMainTest, TrayMenuQuitAsksTheQuitButtonsQuestion) {
  const auto choose_quit = [this] { form->TrayIcon1Menu().back().on_choose(); };
  platform.answer = gui::kIdNo;
  choose_quit();
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "Do you really want to exit Velmora?");
  EXPECT_EQ(platform.boxes[0].flags, gui::kMbYesNo | gui::kMbIconQuestion);
  EXPECT_FALSE(app.Terminated());

  platform.answer = gui::kIdYes;
  choose_quit();
  EXPECT_EQ(platform.boxes.size(), 2u);
  EXPECT_TRUE(form->QuitConfirmed());
  EXPECT_TRUE(app.Terminated());
}

TEST_F(FrmMainTest, AboutTextIsBuiltFromTheOwnVersionInformationOnEveryPress) {
  form->NavBar1Pages0Buttons3Click();
  EXPECT_EQ(form->Label7().Caption(), "\r\nversion \r\n");
  own_version = {{"ProductName", "Velmora"},
                 {"ProductVersion", "1.0.0"},
                 {"LegalCopyright", "Copyright 2026 Orindel"}};
  form->NavBar1().Pages()[0].Buttons()[3].Click();
  EXPECT_EQ(form->Label7().Caption(), "Velmora\r\nversion 1.0.0\r\nCopyright 2026 Orindel");
  EXPECT_EQ(form->pnlAbout().Parent()->Controls().back(), &form->pnlAbout());
  const auto& buttons = form->NavBar1().Pages()[0].Buttons();
  EXPECT_TRUE(buttons[3].Down());
  form->NavBar1().Pages()[0].Buttons()[0].Click();
  EXPECT_TRUE(buttons[0].Down());
  EXPECT_FALSE(buttons[3].Down());
  EXPECT_EQ(form->pnlApps().Parent()->Controls().back(), &form->pnlApps());
}

TEST(FrmMainHooks, FormStoreIsAskedBeforeEveryShowingAtTheGrantedCloseAndAtDestruction) {
  tracking::UsageLedger ledger;
  tracking::FakeProcessInspector inspector;
  std::vector<std::string> calls;
  TfrmMainServices services;
  services.ledger = &ledger;
  services.inspector = &inspector;
  services.settings.restore_form_placement = [&](TfrmMain&) { calls.push_back("restore"); };
  services.settings.rebuild_language_list = [&](TfrmMain&) { calls.push_back("languages"); };
  services.settings.save_form_placement = [&](TfrmMain&) { calls.push_back("save"); };
  services.settings.form_destroying = [&](TfrmMain&) { calls.push_back("destroying"); };
  TfrmMain::SetServices(services);
  {
    gui::testing::FakePlatform platform;
    gui::TApplication app;
    auto& form = app.CreateForm<TfrmMain>();
    form.Show();
    form.Hide();
    form.Show();
    platform.answer = gui::kIdYes;
    form.btnQuitClick();
  }
  TfrmMain::SetServices({});
  EXPECT_EQ(calls, (std::vector<std::string>{"restore", "languages", "restore", "languages", "save",
                                             "destroying"}));
}

// The controls the code uses are bound once, when the design has been loaded: a design
// without one of them stops the form's creation there, naming the control, instead of
// failing later at the first tick or click.
TEST(FrmMainDesign, ADesignThatLacksABoundControlFailsTheFormsCreation) {
  tracking::UsageLedger ledger;
  tracking::FakeProcessInspector inspector;
  TfrmMainServices services;
  services.ledger = &ledger;
  services.inspector = &inspector;
  TfrmMain::SetServices(services);
  gui::testing::FakePlatform platform;
  gui::TApplication app;
  const gui::DesignHook previous = gui::SetDesignHook(
      [](gui::TComponent& instance, const gui::ClassInfo& root, const gui::DesignLoader& load) {
        const bool loaded = load(instance, root);
        delete instance.FindComponent("chkAutoSort");
        return loaded;
      });
  try {
    app.CreateForm<TfrmMain>();
    ADD_FAILURE() << "the form was created without chkAutoSort";
  } catch (const gui::EComponentError& error) {
    EXPECT_NE(std::string(error.what()).find("chkAutoSort"), std::string::npos) << error.what();
  }
  gui::SetDesignHook(previous);
  TfrmMain::SetServices({});
}

TEST_F(FrmMainTest, HelpOpensTheHelpFileBesideTheExecutable) {
  form->Get<gui::TButton>("btnHelp").Click();
  EXPECT_EQ(help_opened, "C:\\Programs\\Velmora\\VelmoraEng.chm");
}

// Pages behind the one in front are hidden, not just covered, so Tab and the keyboard reach
// only the page the user sees; the focus goes to that page when the window is shown.
TEST_F(FrmMainTest, OnlyThePageInFrontIsVisibleAndTakesTheFocusOnShow) {
  const auto visible_pages = [&] {
    std::vector<std::string> names;
    for (gui::TPanel* page :
         {&form->pnlApps(), &form->pnlStats(), &form->pnlSettings(), &form->pnlAbout()}) {
      if (page->Visible()) names.push_back(page->Name());
    }
    return names;
  };
  const auto focus_name = [&] { return form->ControlToFocusOnShow()->Name(); };
  EXPECT_EQ(visible_pages(), std::vector<std::string>{"pnlSettings"});
  EXPECT_EQ(focus_name(), "cbxLang");
  const struct {
    void (TfrmMain::*press)();
    const char* page;
    const char* focus;
  } steps[] = {{&TfrmMain::NavBar1Pages0Buttons0Click, "pnlApps", "lvApps"},
               // The chart takes no focus: the navigation bar keeps it.
               {&TfrmMain::NavBar1Pages0Buttons1Click, "pnlStats", "NavBar1"},
               {&TfrmMain::NavBar1Pages0Buttons3Click, "pnlAbout", "LinkLabel5"},
               {&TfrmMain::NavBar1Pages0Buttons2Click, "pnlSettings", "cbxLang"}};
  for (const auto& step : steps) {
    (form->*step.press)();
    EXPECT_EQ(visible_pages(), std::vector<std::string>{step.page});
    EXPECT_EQ(&form->FrontPage(), &form->Get<gui::TPanel>(step.page));
    EXPECT_EQ(focus_name(), step.focus) << step.page;
  }
}

TEST_F(FrmMainTest, EscapeHidesTheWindowAndF1OpensTheHelp) {
  form->Show();
  bool handled = false;
  form->OnShortcut(*form, 'A', handled);
  EXPECT_FALSE(handled) << "other keys belong to the focused control";
  form->OnShortcut(*form, gui::kKeyF1, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(help_opened, "C:\\Programs\\Velmora\\VelmoraEng.chm");
  EXPECT_TRUE(form->Visible());
  handled = false;
  form->OnShortcut(*form, gui::kKeyEscape, handled);
  EXPECT_TRUE(handled);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->QuitConfirmed()) << "Escape hides; it never quits";
}

}  // namespace
}  // namespace velmora::ui
