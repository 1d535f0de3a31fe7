#include "ui/frm_main.h"

#include <stdexcept>

#include "core/resource_strings.h"
#include "gui/application.h"
#include "gui/bevel.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/combo_box.h"
#include "gui/enter_as_tab.h"
#include "gui/image.h"
#include "gui/image_list.h"
#include "gui/label.h"
#include "gui/link_label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"

namespace velmora::ui {

using namespace gui;

namespace {

constexpr BuiltinString kStrings[] = {{kQuitQuestionId, "Do you really want to exit Velmora?"}};
VELMORA_BUILTIN_STRINGS(kStrings);

template <class T>
const ClassInfo* C() {
  return &T::StaticClass();
}

DesignComponent Check(std::string name, int top, std::string caption, int tab,
                      bool checked = false) {
  return {C<TCheckBox>(),
          std::move(name),
          "pnlSettings",
          {{"Left", "16"},
           {"Top", std::to_string(top)},
           {"Width", "425"},
           {"Height", "17"},
           {"Caption", std::move(caption)},
           {"TabOrder", std::to_string(tab)},
           {"Checked", checked ? "True" : "False"}}};
}

DesignComponent Option(std::string name, int top, std::string caption, int tab,
                       bool checked = false) {
  return {C<TRadioButton>(),
          std::move(name),
          "pnlSettings",
          {{"Left", "32"},
           {"Top", std::to_string(top)},
           {"Width", "393"},
           {"Height", "17"},
           {"Caption", std::move(caption)},
           {"TabOrder", std::to_string(tab)},
           {"Checked", checked ? "True" : "False"}}};
}

DesignComponent Page(std::string name, int left, int top, int width, int height, int tab,
                     std::string color = "clBtnFace") {
  return {C<TPanel>(),
          std::move(name),
          "",
          {{"Left", std::to_string(left)},
           {"Top", std::to_string(top)},
           {"Width", std::to_string(width)},
           {"Height", std::to_string(height)},
           {"BevelOuter", "bvNone"},
           {"Color", std::move(color)},
           {"TabOrder", std::to_string(tab)}}};
}

// The window as designed: the pages are children of the form in the order that stacks them
// (pnlStats at the bottom, then pnlAbout, pnlApps and pnlSettings on top, so the Settings
// page is in front when the window is first shown).
const FormDesign& Design() {
  static const FormDesign design{
      {{"Caption", "Velmora"},
       {"ClientWidth", "604"},
       {"ClientHeight", "376"},
       {"BorderStyle", "bsSingle"},
       {"BorderIcons", "[biSystemMenu]"},
       {"Position", "poScreenCenter"},
       {"Color", "clBtnFace"},
       {"Font.Name", "Tahoma"},
       {"Font.Height", "-11"}},
      {
          {C<TNavBar>(),
           "NavBar1",
           "",
           {{"Left", "0"},
            {"Top", "-6"},
            {"Width", "130"},
            {"Height", "329"},
            {"TabOrder", "0"},
            {"Pages.(0).Buttons.(0).Caption", "Applications"},
            {"Pages.(0).Buttons.(1).Caption", "Statistics"},
            {"Pages.(0).Buttons.(2).Caption", "Settings"},
            {"Pages.(0).Buttons.(3).Caption", "About"}}},
          Page("pnlStats", 130, 2, 471, 328, 5),
          {C<TChart>(),
           "chartApps",
           "pnlStats",
           {{"Align", "alClient"}, {"View3D", "False"}, {"Title.Text.Strings", ""}}},
          Page("pnlAbout", 131, 1, 470, 329, 7, "clWhite"),
          {C<TImage>(),
           "Image1",
           "pnlAbout",
           {{"Left", "5"},
            {"Top", "15"},
            {"Width", "202"},
            {"Height", "202"},
            {"Picture.ResourceName", "#101"}}},
          {C<TImage>(),
           "Image2",
           "pnlAbout",
           {{"Left", "5"},
            {"Top", "223"},
            {"Width", "282"},
            {"Height", "93"},
            {"Picture.ResourceName", "#102"}}},
          {C<TLabel>(),
           "Label7",
           "pnlAbout",
           {{"Left", "320"},
            {"Top", "15"},
            {"Width", "145"},
            {"Height", "101"},
            {"AutoSize", "False"},
            {"WordWrap", "True"}}},
          {C<TLabel>(),
           "Label11",
           "pnlAbout",
           {{"Left", "320"},
            {"Top", "123"},
            {"Width", "145"},
            {"Height", "71"},
            {"AutoSize", "False"},
            {"WordWrap", "True"},
            {"Caption", "How much time do you spend in each running application?"}}},
          {C<TLinkLabel>(),
           "LinkLabel5",
           "pnlAbout",
           {{"Left", "320"},
            {"Top", "204"},
            {"Width", "145"},
            {"Height", "13"},
            {"Caption", "velmora.orindel.example"},
            {"HREF", "https://velmora.orindel.example/"}}},
          {C<TLinkLabel>(),
           "LinkLabel6",
           "pnlAbout",
           {{"Left", "320"},
            {"Top", "226"},
            {"Width", "145"},
            {"Height", "13"},
            {"Caption", "support@orindel.example"},
            {"HREF", "mailto:support@orindel.example"}}},
          Page("pnlApps", 130, 1, 473, 329, 1),
          {C<TListView>(),
           "lvApps",
           "pnlApps",
           {{"Align", "alClient"},
            {"ViewStyle", "vsReport"},
            {"ReadOnly", "True"},
            {"RowSelect", "True"},
            {"SortType", "stText"},
            {"Columns.(0).Caption", "Application File"},
            {"Columns.(0).Width", "130"},
            {"Columns.(1).Caption", "Application Details"},
            {"Columns.(1).Width", "180"},
            {"Columns.(2).Caption", "Time Spent In Application"},
            {"Columns.(2).Width", "140"}}},
          {C<TImageList>(), "imgsApps", "", {{"Width", "32"}, {"Height", "32"}}},
          Page("pnlSettings", 130, 1, 471, 330, 6),
          {C<TLabel>(),
           "Label1",
           "pnlSettings",
           {{"Left", "16"},
            {"Top", "8"},
            {"Width", "425"},
            {"Caption", "Language (restart program for changes to take effect)"}}},
          {C<TComboBox>(),
           "cbxLang",
           "pnlSettings",
           {{"Left", "32"},
            {"Top", "33"},
            {"Width", "329"},
            {"Style", "csDropDownList"},
            {"Sorted", "True"},
            {"TabOrder", "0"}}},
          {C<TButton>(),
           "Button3",
           "pnlSettings",
           {{"Left", "376"},
            {"Top", "31"},
            {"Width", "75"},
            {"Height", "25"},
            {"Caption", "Details..."},
            {"TabOrder", "1"}}},
          Check("chkAutoRefreshStats", 62, "Automatically refresh statistics", 2, true),
          Check("chkStartAuto", 85, "Start automatically", 10),
          Check("chkAutoSort", 108, "Automatically sort applications by time spent in them", 11),
          {C<TLabel>(),
           "Label2",
           "pnlSettings",
           {{"Left", "16"}, {"Top", "130"}, {"Width", "200"}, {"Caption", "Refreshing interval"}}},
          {C<TSpinEdit>(),
           "SpinEdit1",
           "pnlSettings",
           {{"Left", "32"},
            {"Top", "149"},
            {"Width", "121"},
            {"MinValue", "1"},
            {"MaxValue", "100"},
            {"Value", "1"},
            {"TabOrder", "3"}}},
          {C<TLabel>(),
           "Label3",
           "pnlSettings",
           {{"Left", "178"}, {"Top", "157"}, {"Width", "100"}, {"Caption", "seconds"}}},
          {C<TGroupBox>(),
           "RadioGroup1",
           "pnlSettings",
           {{"Left", "16"},
            {"Top", "176"},
            {"Width", "425"},
            {"Height", "140"},
            {"Caption", "Application Details Display"},
            {"TabOrder", "4"}}},
          Option("rbEXEDescription", 200, "Executable file description", 5, true),
          Option("rbProductName", 223, "Product name", 6),
          Option("rbCompany", 246, "Producer of application", 7),
          Option("rbVersion", 269, "Application version", 8),
          Option("rbAll", 292, "All listed above", 9),
          {C<TBevel>(),
           "Bevel1",
           "",
           {{"Left", "0"},
            {"Top", "329"},
            {"Width", "601"},
            {"Height", "56"},
            {"Shape", "bsTopLine"}}},
          {C<TButton>(),
           "btnHide",
           "",
           {{"Left", "353"},
            {"Top", "341"},
            {"Width", "75"},
            {"Height", "25"},
            {"Caption", "Hide"},
            {"Font.Style", "[fsBold]"},
            {"TabOrder", "2"}}},
          {C<TButton>(),
           "btnQuit",
           "",
           {{"Left", "434"},
            {"Top", "341"},
            {"Width", "75"},
            {"Height", "25"},
            {"Caption", "Quit"},
            {"TabOrder", "4"}}},
          {C<TButton>(),
           "btnHelp",
           "",
           {{"Left", "515"},
            {"Top", "341"},
            {"Width", "75"},
            {"Height", "25"},
            {"Caption", "Help"},
            {"TabOrder", "3"}}},
          {C<TTimer>(), "tmrRefresh", "", {{"Interval", "1000"}, {"Enabled", "True"}}},
          {C<TEnterAsTab>(), "EnterAsTab1", "", {}},
      }};
  return design;
}

TfrmMainServices& SharedServices() {
  static TfrmMainServices services;
  return services;
}

constexpr const char* kOptionNames[] = {"rbEXEDescription", "rbProductName", "rbCompany",
                                        "rbVersion", "rbAll"};

}  // namespace

const ClassInfo& TfrmMain::StaticClass() {
  static const ClassInfo info =
      MakeClass<TfrmMain>("TfrmMain", TForm::StaticClass(), {}, &Design());
  return info;
}

void TfrmMain::SetServices(TfrmMainServices services) {
  SharedServices() = std::move(services);
}

const TfrmMainServices& TfrmMain::Services() {
  return SharedServices();
}

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner), services_(SharedServices()) {
  SetName("frmMain");
  if (!services_.ledger || !services_.inspector) {
    throw std::logic_error("TfrmMain: the ledger and the process inspector must be installed");
  }
  sampler_ = std::make_unique<tracking::UsageSampler>(*services_.ledger, *services_.inspector);
}

TfrmMain::~TfrmMain() {
  if (!placement_saved_ && services_.settings.save_form_placement) {
    // Nothing may escape a destructor; a store that cannot write loses this run's placement.
    try {
      services_.settings.save_form_placement(*this);
    } catch (const std::exception&) {
    }
  }
  // The tray icon leaves the notification area while the window it serves still exists.
  tray_icon_.reset();
  language_paths_.clear();
}

// --- Controls ---------------------------------------------------------------------------------

TNavBar& TfrmMain::NavBar1() const {
  return Get<TNavBar>("NavBar1");
}
TPanel& TfrmMain::pnlApps() const {
  return Get<TPanel>("pnlApps");
}
TPanel& TfrmMain::pnlStats() const {
  return Get<TPanel>("pnlStats");
}
TPanel& TfrmMain::pnlSettings() const {
  return Get<TPanel>("pnlSettings");
}
TPanel& TfrmMain::pnlAbout() const {
  return Get<TPanel>("pnlAbout");
}
TListView& TfrmMain::lvApps() const {
  return Get<TListView>("lvApps");
}
TImageList& TfrmMain::imgsApps() const {
  return Get<TImageList>("imgsApps");
}
TChart& TfrmMain::chartApps() const {
  return Get<TChart>("chartApps");
}
TCheckBox& TfrmMain::chkAutoRefreshStats() const {
  return Get<TCheckBox>("chkAutoRefreshStats");
}
TCheckBox& TfrmMain::chkStartAuto() const {
  return Get<TCheckBox>("chkStartAuto");
}
TCheckBox& TfrmMain::chkAutoSort() const {
  return Get<TCheckBox>("chkAutoSort");
}
TSpinEdit& TfrmMain::SpinEdit1() const {
  return Get<TSpinEdit>("SpinEdit1");
}
TComboBox& TfrmMain::cbxLang() const {
  return Get<TComboBox>("cbxLang");
}
TLabel& TfrmMain::Label7() const {
  return Get<TLabel>("Label7");
}
TTimer& TfrmMain::tmrRefresh() const {
  return Get<TTimer>("tmrRefresh");
}

TRadioButton& TfrmMain::RadioButton(DetailsMode mode) const {
  const auto index = static_cast<std::size_t>(mode);
  if (index >= std::size(kOptionNames)) throw std::logic_error("no option button for this mode");
  return Get<TRadioButton>(kOptionNames[index]);
}

// --- Creation and the frame ---------------------------------------------------------------------

void TfrmMain::WireEvents() {
  auto& buttons = NavBar1().Pages()[0].Buttons();
  buttons[0].OnClick = [this](TObject&) { NavBar1Pages0Buttons0Click(); };
  buttons[1].OnClick = [this](TObject&) { NavBar1Pages0Buttons1Click(); };
  buttons[2].OnClick = [this](TObject&) { NavBar1Pages0Buttons2Click(); };
  buttons[3].OnClick = [this](TObject&) { NavBar1Pages0Buttons3Click(); };

  Get<TButton>("btnHide").OnClick = [this](TObject&) { btnHideClick(); };
  Get<TButton>("btnQuit").OnClick = [this](TObject&) { btnQuitClick(); };
  Get<TButton>("btnHelp").OnClick = [this](TObject&) { btnHelpClick(); };
  tmrRefresh().OnTimer = [this](TObject&) { tmrRefreshTimer(); };
  SpinEdit1().OnChange = [this](TObject&) { SpinEdit1Change(); };
  lvApps().OnColumnClick = [this](TObject&, TListColumn& column) {
    lvAppsColumnClick(column.Index());
  };
  for (const char* name : kOptionNames) {
    auto& option = Get<TRadioButton>(name);
    option.OnClick = [this](TObject&) { rbEXEDescriptionClick(); };
    option.OnKeyUp = [this](TObject&, int) { rbEXEDescriptionClick(); };
  }

  // The settings issue's handlers: the hooks are read when the event happens, so they may
  // be installed after the window exists.
  cbxLang().OnChange = [this](TObject&) {
    if (services_.settings.language_changed) services_.settings.language_changed(*this);
  };
  Get<TButton>("Button3").OnClick = [this](TObject&) {
    if (services_.settings.show_translation_details)
      services_.settings.show_translation_details(*this);
  };
  const auto auto_start = [this] {
    if (services_.settings.apply_auto_start) services_.settings.apply_auto_start(*this);
  };
  chkStartAuto().OnClick = [auto_start](TObject&) { auto_start(); };
  chkStartAuto().OnKeyUp = [auto_start](TObject&, int) { auto_start(); };

  OnCloseQuery = [this](TObject&, bool& can_close) { FormCloseQuery(can_close); };
  OnWindowMessage = [this](unsigned message, std::uintptr_t, std::intptr_t, std::intptr_t& result) {
    if (message != kQueryEndSessionMessage) return false;
    result = QueryEndSession();
    return true;
  };
}

void TfrmMain::DoCreate() {
  if (services_.guard_instance) services_.guard_instance();
  auto& list = lvApps();
  list.SetSmallImages(&imgsApps());
  list.SetLargeImages(&imgsApps());
  WireEvents();

  language_paths_.clear();
  quit_confirmed_ = false;
  if (!services_.show_at_start && services_.hide_application_window) {
    services_.hide_application_window();
  }
  sort_click_count_ = 0;
  help_file_ = "VelmoraEng.chm";
  if (services_.create_tray_icon) tray_icon_ = services_.create_tray_icon(*this);
  TForm::DoCreate();
}

void TfrmMain::DoShow() {
  if (!shown_once_) {
    shown_once_ = true;
    if (services_.settings.restore_form_placement) services_.settings.restore_form_placement(*this);
  }
  if (services_.settings.rebuild_language_list) services_.settings.rebuild_language_list(*this);
  TForm::DoShow();
}

void TfrmMain::TrayIcon1Click() {
  if (Visible()) {
    Hide();
  } else {
    Show();
  }
}

void TfrmMain::btnHideClick() {
  Hide();
}

void TfrmMain::btnQuitClick() {
  const std::string text = LoadResString(kQuitQuestionId);
  const std::string caption = LoadResString(kQuitQuestionId);
  if (Platform().ShowMessageBox(text, caption, kMbYesNo | kMbIconQuestion) != kIdYes) return;
  quit_confirmed_ = true;
  Close();
}

void TfrmMain::FormCloseQuery(bool& can_close) {
  can_close = quit_confirmed_;
  if (can_close && services_.settings.save_form_placement) {
    services_.settings.save_form_placement(*this);
    placement_saved_ = true;
  }
  Hide();
}

std::intptr_t TfrmMain::QueryEndSession() {
  // The default answer consults the close query, which hides the window and refuses
  // unless Quit was confirmed; the session's end overrules it without asking the user.
  bool can_close = true;
  OnCloseQuery(*this, can_close);
  if (TApplication* app = Application()) app->Terminate();
  return 1;
}

void TfrmMain::btnHelpClick() {
  std::string folder = services_.executable_folder ? services_.executable_folder() : std::string();
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  const std::string path = folder + help_file_;
  if (services_.open_help) {
    services_.open_help(*this, path);
  } else {
    Platform().OpenInShell(path);
  }
}

void TfrmMain::PressNavButton(int index) {
  NavBar1().Pages()[0].Buttons()[index].SetDown(true);
}

void TfrmMain::NavBar1Pages0Buttons0Click() {
  pnlApps().BringToFront();
  PressNavButton(0);
}

void TfrmMain::NavBar1Pages0Buttons1Click() {
  pnlStats().BringToFront();
  RefreshStatistics();
  PressNavButton(1);
}

void TfrmMain::NavBar1Pages0Buttons2Click() {
  if (services_.settings.sync_settings_page) services_.settings.sync_settings_page(*this);
  pnlSettings().BringToFront();
  PressNavButton(2);
}

void TfrmMain::NavBar1Pages0Buttons3Click() {
  const auto value = [this](std::string_view name) {
    return services_.own_version_value ? services_.own_version_value(name) : std::string();
  };
  Label7().SetCaption(value("ProductName") + "\r\nversion " + value("ProductVersion") + "\r\n" +
                      value("LegalCopyright"));
  pnlAbout().BringToFront();
  PressNavButton(3);
}

// --- The tick ---------------------------------------------------------------------------------

void TfrmMain::tmrRefreshTimer() {
  const tracking::TickResult tick = sampler_->Tick();
  if (!tick.refresh_pages) return;
  // One running-process list answers every question of the tick's page refreshes, so the
  // cost grows with (tracked applications + processes), not their product.
  const tracking::ProcessSnapshot snapshot = services_.inspector->TakeSnapshot();
  RefreshApplicationList(snapshot);
  if (chkAutoRefreshStats().Checked()) RefreshStatistics(snapshot);
}

void TfrmMain::SpinEdit1Change() {
  if (sampler_->SetIntervalSeconds(SpinEdit1().Value())) {
    tmrRefresh().SetInterval(sampler_->IntervalMs());
  }
}

void TfrmMain::rbEXEDescriptionClick() {
  RefreshApplicationDetails();
}

DetailsMode TfrmMain::CurrentDetailsMode() const {
  for (std::size_t i = 0; i < std::size(kOptionNames); ++i) {
    if (Get<TRadioButton>(kOptionNames[i]).Checked()) return static_cast<DetailsMode>(i);
  }
  return DetailsMode::None;
}

// --- Applications page ------------------------------------------------------------------------

namespace {

// Both texts with A-Z lowered are equal byte for byte; other bytes must match exactly.
bool SameAsciiLower(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

TListItem* TfrmMain::SearchForProcessInListView(std::string_view name) const {
  // Every row is visited and the last match wins, so a duplicate caption cannot hide the
  // row that a later refresh would find.
  TListItem* found = nullptr;
  const TListView& list = lvApps();
  for (int i = 0; i < list.Count(); ++i) {
    TListItem& item = list.Item(i);
    if (item.Caption().empty()) continue;
    if (SameAsciiLower(item.Caption(), name)) found = &item;
  }
  return found;
}

std::string TfrmMain::DetailsText(const std::string& name,
                                  const tracking::ProcessSnapshot& snapshot) {
  // Whatever keeps the version texts from being read (no version information, an
  // application that has exited and so has no path) shows the file name instead.
  try {
    const std::string path = snapshot.GetProcessPath(name);
    if (path.empty() || !services_.read_details) return name;
    const std::optional<std::string> text =
        ComposeDetailsText(CurrentDetailsMode(), services_.read_details(path));
    return text ? *text : std::string();
  } catch (const std::exception&) {
    return name;
  }
}

void TfrmMain::RefreshApplicationList() {
  RefreshApplicationList(services_.inspector->TakeSnapshot());
}

void TfrmMain::RefreshApplicationList(const tracking::ProcessSnapshot& snapshot) {
  const tracking::UsageLedger& ledger = *services_.ledger;
  TListView& list = lvApps();
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    const std::string& name = ledger.Name(i);
    if (!snapshot.IsProcessRunning(name)) continue;
    TListItem* item = SearchForProcessInListView(name);
    if (!item) {
      item = &list.Add();
      item->SetCaption(name);
      const tracking::ProcessIcon icon =
          services_.inspector->ExtractProcessIcon(snapshot.GetProcessPath(name));
      item->SetImageIndex(-1);
      if (icon) {
        // The image list keeps a copy; our handle is released when `icon` goes.
        item->SetImageIndex(imgsApps().AddIcon(reinterpret_cast<std::uintptr_t>(icon.get())));
      }
      // No option button chosen (only stored settings can do that): the new row's details
      // stay empty until a mode is chosen.
      item->SubItems().Add(DetailsText(name, snapshot));
      item->SubItems().Add(std::string());
    }
    item->SubItems().Put(1, FormatTimeText(ledger.Seconds(i)));
  }
  if (chkAutoSort().Checked()) {
    list.CustomSort([](const TListItem& a, const TListItem& b) {
      return AutoSortCompare(a.SubItems()[1], b.SubItems()[1]);
    });
  }
}

void TfrmMain::RefreshApplicationDetails() {
  const tracking::UsageLedger& ledger = *services_.ledger;
  if (ledger.Count() == 0) return;
  if (CurrentDetailsMode() == DetailsMode::None) return;
  const tracking::ProcessSnapshot snapshot = services_.inspector->TakeSnapshot();
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    const std::string& name = ledger.Name(i);
    TListItem* item = SearchForProcessInListView(name);
    if (!item) continue;
    item->SubItems().Put(0, DetailsText(name, snapshot));
  }
}

void TfrmMain::lvAppsColumnClick(int column) {
  const bool descending = sort_click_count_ % 2 != 0;
  const auto key = [column](const TListItem& item) -> std::string_view {
    if (column == 0) return item.Caption();
    const int sub = column - 1;
    return sub < item.SubItems().Count() ? std::string_view(item.SubItems()[sub])
                                         : std::string_view();
  };
  lvApps().CustomSort([&](const TListItem& a, const TListItem& b) {
    return HeaderClickCompare(key(a), key(b), descending);
  });
  ++sort_click_count_;
}

// --- Statistics page --------------------------------------------------------------------------

std::string TfrmMain::SeriesTitle(const std::string& name,
                                  const tracking::ProcessSnapshot& snapshot) {
  std::string title = name;
  try {
    const std::string path = snapshot.GetProcessPath(name);
    if (!path.empty() && services_.read_details) {
      title = services_.read_details(path).file_description;
    }
  } catch (const std::exception&) {
    title = name;
  }
  return ChartSeriesTitle(title);
}

void TfrmMain::RefreshStatistics() {
  RefreshStatistics(services_.inspector->TakeSnapshot());
}

void TfrmMain::RefreshStatistics(const tracking::ProcessSnapshot& snapshot) {
  const tracking::UsageLedger& ledger = *services_.ledger;
  TChart& chart = chartApps();
  // The total is summed in 64 bits: the 32-bit totals of many entries can exceed 32 bits
  // together, which would turn every share negative or infinite.
  std::vector<std::int64_t> seconds;
  seconds.reserve(ledger.Count());
  for (std::size_t i = 0; i < ledger.Count(); ++i) seconds.push_back(ledger.Seconds(i));
  // Empty when the total is 0: every bar is removed and the chart is drawn empty rather than
  // with undefined shares.
  const std::vector<double> shares = SharesInPercent(seconds);
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    const int index = static_cast<int>(i);
    TBarSeries* series = nullptr;
    if (chart.SeriesCount() > index) {
      series = &chart.Series(index);
    } else {
      series = &chart.AddBarSeries();
      series->SetTitle(SeriesTitle(ledger.Name(i), snapshot));
    }
    series->SetBarStyle(TBarStyle::bsRectGradient);
    series->Gradient().SetVisible(true);
    series->Gradient().SetStartColor(clWhite);
    series->Gradient().SetMidColor(clNone);
    series->Gradient().SetBalance(50);
    series->Gradient().SetRelative(true);
    series->Clear();
    if (!shares.empty()) series->AddXY(static_cast<double>(i), shares[i], "", clDefault);
  }
}

}  // namespace velmora::ui
