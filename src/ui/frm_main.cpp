#include "ui/frm_main.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/resource_strings.h"
#include "gui/application.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/combo_box.h"
#include "gui/image_list.h"
#include "gui/label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"
#include "ui/about_page.h"
#include "ui/applications_page.h"
#include "ui/frm_main_design.h"
#include "ui/statistics_page.h"

namespace velmora::ui {

using namespace gui;

namespace {

constexpr BuiltinString kStrings[] = {{kQuitQuestionId, "Do you really want to exit Velmora?"},
                                       {kTrayShowId, "Show Velmora"},
                                       {kTrayHideId, "Hide Velmora"},
                                       {kTrayQuitId, "Quit"}};
VELMORA_BUILTIN_STRINGS(kStrings);

TfrmMainServices& SharedServices() {
  static TfrmMainServices services;
  return services;
}

}  // namespace

const ClassInfo& TfrmMain::StaticClass() {
  static const ClassInfo info =
      MakeClass<TfrmMain>("TfrmMain", TForm::StaticClass(), {}, &FrmMainDesign());
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
  if (services_.settings.form_destroying) {
    // Nothing may escape a destructor; a store that cannot write loses this run's placement.
    try {
      services_.settings.form_destroying(*this);
    } catch (const std::exception&) {
    }
  }
  // The tray icon leaves the notification area while the window it serves still exists.
  tray_icon_.reset();
}

// --- Controls ---------------------------------------------------------------------------------

void TfrmMain::BindControls() {
  controls_ = std::make_unique<BoundControls>(BoundControls{
      .NavBar1 = Get<TNavBar>("NavBar1"),
      .pnlApps = Get<TPanel>("pnlApps"),
      .pnlStats = Get<TPanel>("pnlStats"),
      .pnlSettings = Get<TPanel>("pnlSettings"),
      .pnlAbout = Get<TPanel>("pnlAbout"),
      .lvApps = Get<TListView>("lvApps"),
      .imgsApps = Get<TImageList>("imgsApps"),
      .chartApps = Get<TChart>("chartApps"),
      .chkAutoRefreshStats = Get<TCheckBox>("chkAutoRefreshStats"),
      .chkStartAuto = Get<TCheckBox>("chkStartAuto"),
      .chkAutoSort = Get<TCheckBox>("chkAutoSort"),
      .SpinEdit1 = Get<TSpinEdit>("SpinEdit1"),
      .cbxLang = Get<TComboBox>("cbxLang"),
      .Button3 = Get<TButton>("Button3"),
      .Label7 = Get<TLabel>("Label7"),
      .btnHide = Get<TButton>("btnHide"),
      .btnQuit = Get<TButton>("btnQuit"),
      .btnHelp = Get<TButton>("btnHelp"),
      .tmrRefresh = Get<TTimer>("tmrRefresh"),
      .options = {&Get<TRadioButton>("rbEXEDescription"), &Get<TRadioButton>("rbProductName"),
                  &Get<TRadioButton>("rbCompany"), &Get<TRadioButton>("rbVersion"),
                  &Get<TRadioButton>("rbAll")},
  });
}

const TfrmMain::BoundControls& TfrmMain::Bound() const {
  if (!controls_) throw std::logic_error("TfrmMain: a control was used before the design loaded");
  return *controls_;
}

TRadioButton& TfrmMain::RadioButton(DetailsMode mode) const {
  const auto index = static_cast<std::size_t>(mode);
  if (index >= Bound().options.size()) throw std::logic_error("no option button for this mode");
  return *Bound().options[index];
}

DetailsMode TfrmMain::CurrentDetailsMode() const {
  const auto& options = Bound().options;
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (options[i]->Checked()) return static_cast<DetailsMode>(i);
  }
  return DetailsMode::None;
}

// --- Creation and the frame ---------------------------------------------------------------------

void TfrmMain::WireEvents() {
  auto& buttons = NavBar1().Pages()[0].Buttons();
  buttons[0].OnClick = [this](TObject&) { NavBar1Pages0Buttons0Click(); };
  buttons[1].OnClick = [this](TObject&) { NavBar1Pages0Buttons1Click(); };
  buttons[2].OnClick = [this](TObject&) { NavBar1Pages0Buttons2Click(); };
  buttons[3].OnClick = [this](TObject&) { NavBar1Pages0Buttons3Click(); };

  const BoundControls& c = Bound();
  c.btnHide.OnClick = [this](TObject&) { btnHideClick(); };
  c.btnQuit.OnClick = [this](TObject&) { btnQuitClick(); };
  c.btnHelp.OnClick = [this](TObject&) { btnHelpClick(); };
  c.tmrRefresh.OnTimer = [this](TObject&) { tmrRefreshTimer(); };
  c.SpinEdit1.OnChange = [this](TObject&) { SpinEdit1Change(); };
  c.lvApps.OnColumnClick = [this](TObject&, TListColumn& column) {
    lvAppsColumnClick(column.Index());
  };
  for (TRadioButton* option : c.options) {
    option->OnClick = [this](TObject&) { rbEXEDescriptionClick(); };
    option->OnKeyUp = [this](TObject&, int) { rbEXEDescriptionClick(); };
  }

  // The Settings page's handlers: the hooks are read when the event happens, so they may
  // be installed after the window exists.
  c.cbxLang.OnChange = [this](TObject&) {
    if (services_.settings.language_changed) services_.settings.language_changed(*this);
  };
  c.Button3.OnClick = [this](TObject&) {
    if (services_.settings.show_translation_details)
      services_.settings.show_translation_details(*this);
  };
  const auto auto_start = [this] {
    if (services_.settings.apply_auto_start) services_.settings.apply_auto_start(*this);
  };
  c.chkStartAuto.OnClick = [auto_start](TObject&) { auto_start(); };
  c.chkStartAuto.OnKeyUp = [auto_start](TObject&, int) { auto_start(); };

  OnCloseQuery = [this](TObject&, bool& can_close) { FormCloseQuery(can_close); };
  OnShortcut = [this](TObject&, int key, bool& handled) { FormShortcut(key, handled); };
  OnWindowMessage = [this](unsigned message, std::uintptr_t, std::intptr_t, std::intptr_t& result) {
    if (message != kQueryEndSessionMessage) return false;
    result = QueryEndSession();
    return true;
  };
}

void TfrmMain::DoCreate() {
  BindControls();
  if (services_.guard_instance) services_.guard_instance();
  const BoundControls& c = Bound();
  c.lvApps.SetSmallImages(&c.imgsApps);
  c.lvApps.SetLargeImages(&c.imgsApps);
  applications_ = std::make_unique<ApplicationsPage>(c.lvApps, c.imgsApps, *services_.inspector,
                                                     services_.read_details);
  statistics_ = std::make_unique<StatisticsPage>(c.chartApps, services_.read_details);
  about_ = std::make_unique<AboutPage>(c.Label7, services_.own_version_value);
  WireEvents();
  // Only the page in front is shown: a page behind it that were merely covered would still
  // take part in Tab and in keyboard input. At the first showing the front page is the last
  // one in the child order.
  ShowPage(FrontPage());

  quit_confirmed_ = false;
  if (!services_.show_at_start && services_.hide_application_window) {
    services_.hide_application_window();
  }
  help_file_ = "VelmoraEng.chm";
  if (services_.create_tray_icon) tray_icon_ = services_.create_tray_icon(*this);
  TForm::DoCreate();
}

void TfrmMain::DoShow() {
  if (services_.settings.restore_form_placement) services_.settings.restore_form_placement(*this);
  if (services_.settings.rebuild_language_list) services_.settings.rebuild_language_list(*this);
  TForm::DoShow();
}

TPanel& TfrmMain::FrontPage() const {
  const BoundControls& c = Bound();
  TPanel* front = &c.pnlApps;
  int front_position = -1;
  const std::vector<TControl*>& order = Controls();
  for (TPanel* page : {&c.pnlApps, &c.pnlStats, &c.pnlSettings, &c.pnlAbout}) {
    const auto position = std::find(order.begin(), order.end(), page) - order.begin();
    if (position > front_position) {
      front_position = static_cast<int>(position);
      front = page;
    }
  }
  return *front;
}

void TfrmMain::ShowPage(TPanel& page) {
  const BoundControls& c = Bound();
  page.BringToFront();
  page.Show();
  for (TPanel* other : {&c.pnlApps, &c.pnlStats, &c.pnlSettings, &c.pnlAbout}) {
    if (other != &page) other->Hide();
  }
}

TControl* TfrmMain::ControlToFocusOnShow() {
  const std::vector<TControl*> stops = TabStops(FrontPage());
  return stops.empty() ? static_cast<TControl*>(&NavBar1()) : stops.front();
}

void TfrmMain::FormShortcut(int key, bool& handled) {
  if (key == kKeyEscape) {
    Hide();
    handled = true;
  } else if (key == kKeyF1) {
    btnHelpClick();
    handled = true;
  }
}

// The shell reports a double-click as press, release, double-click, release, and every
// release is a click: the first click toggles, the double-click shows, and the release that
// ends it is ignored, so a double-click leaves the window shown whatever it was before.
void TfrmMain::TrayIcon1Click() {
  if (std::exchange(tray_double_click_answered_, false)) return;
  if (Visible()) {
    Hide();
  } else {
    ShowAndActivate();
  }
}

void TfrmMain::TrayIcon1DblClick() {
  ShowAndActivate();
  tray_double_click_answered_ = true;
}

TrayMenu TfrmMain::TrayIcon1Menu() {
  TrayMenu menu;
  if (Visible()) {
    menu.push_back({LoadResString(kTrayHideId), true, [this] { Hide(); }});
  } else {
    menu.push_back({LoadResString(kTrayShowId), true, [this] { ShowAndActivate(); }});
  }
  menu.push_back({});
  menu.push_back({LoadResString(kTrayQuitId), false, [this] { btnQuitClick(); }});
  return menu;
}

void TfrmMain::ShowAndActivate() {
  Show();
  if (services_.activate_window) services_.activate_window(*this);
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
  ShowPage(pnlApps());
  PressNavButton(0);
}

void TfrmMain::NavBar1Pages0Buttons1Click() {
  ShowPage(pnlStats());
  RefreshStatistics();
  PressNavButton(1);
}

void TfrmMain::NavBar1Pages0Buttons2Click() {
  if (services_.settings.sync_settings_page) services_.settings.sync_settings_page(*this);
  ShowPage(pnlSettings());
  PressNavButton(2);
}

void TfrmMain::NavBar1Pages0Buttons3Click() {
  about_->Refresh();
  ShowPage(pnlAbout());
  PressNavButton(3);
}

// --- The tick and the pages ---------------------------------------------------------------------

void TfrmMain::tmrRefreshTimer() {
  // One walk of the process table names the foreground process and answers every question
  // of the tick's page refreshes.
  const tracking::ProcessSnapshot snapshot = services_.inspector->TakeSnapshot();
  const tracking::TickResult tick = sampler_->Tick(snapshot);
  if (!tick.refresh_pages) return;
  applications_->Refresh(*services_.ledger, snapshot, CurrentDetailsMode(),
                         chkAutoSort().Checked());
  if (chkAutoRefreshStats().Checked()) statistics_->Refresh(*services_.ledger, snapshot);
}

void TfrmMain::SpinEdit1Change() {
  if (sampler_->SetIntervalSeconds(SpinEdit1().Value())) {
    tmrRefresh().SetInterval(sampler_->IntervalMs());
  }
}

void TfrmMain::rbEXEDescriptionClick() {
  RefreshApplicationDetails();
}

void TfrmMain::lvAppsColumnClick(int column) {
  applications_->SortByColumn(column);
}

int TfrmMain::SortClickCount() const {
  return applications_ ? applications_->SortClickCount() : 0;
}

TListItem* TfrmMain::SearchForProcessInListView(std::string_view name) const {
  return applications_->FindRow(name);
}

void TfrmMain::RefreshApplicationList() {
  applications_->Refresh(*services_.ledger, services_.inspector->TakeSnapshot(),
                         CurrentDetailsMode(), chkAutoSort().Checked());
}

void TfrmMain::RefreshApplicationDetails() {
  const DetailsMode mode = CurrentDetailsMode();
  // Nothing to render: no process list is taken.
  if (services_.ledger->Count() == 0 || mode == DetailsMode::None) return;
  applications_->RefreshDetails(*services_.ledger, services_.inspector->TakeSnapshot(), mode);
}

void TfrmMain::RefreshStatistics() {
  statistics_->Refresh(*services_.ledger, services_.inspector->TakeSnapshot());
}

}  // namespace velmora::ui
