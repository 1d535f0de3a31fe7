// TfrmMain: the main window. A navigation bar brings one of four pages to the front
// (Applications, Statistics, Settings, About); Hide, Quit and Help sit along the bottom. The
// refresh timer drives the work: each tick credits the foreground application and refreshes
// the Applications page and, while automatic refresh of statistics is on, the chart.
//
// The form holds its design (frm_main_design.cpp), the navigation, the buttons and the
// handlers; what each page shows is the page's own code (applications_page.h,
// statistics_page.h, about_page.h), to which the handlers delegate.
//
// The form is portable: everything it needs of the system (process inspection, version
// information, the tray icon, the shell) comes through TfrmMainServices, which the program
// fills with the Windows implementations and tests with fakes. Install the services before
// the form is created; its creation handler uses them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/form.h"
#include "tracking/process_inspector.h"
#include "tracking/usage_ledger.h"
#include "tracking/usage_sampler.h"
#include "ui/page_rules.h"
#include "ui/tray_logic.h"
#include "ui/version_texts.h"

namespace velmora::gui {
class TBarSeries;
class TButton;
class TChart;
class TCheckBox;
class TComboBox;
class TImageList;
class TLabel;
class TListItem;
class TListView;
class TNavBar;
class TPanel;
class TRadioButton;
class TSpinEdit;
class TTimer;
}  // namespace velmora::gui

namespace velmora::ui {

class TfrmMain;
class AboutPage;
class ApplicationsPage;
class StatisticsPage;

// The hooks of the Settings page that the settings store and the language list fill in;
// each may stay empty.
struct SettingsPageHooks {
  std::function<void(TfrmMain&)> rebuild_language_list;     // every showing of the window
  std::function<void(TfrmMain&)> sync_settings_page;        // "Settings" pressed
  std::function<void(TfrmMain&)> language_changed;          // the user picked a language
  std::function<void(TfrmMain&)> show_translation_details;  // "Details..."
  std::function<void(TfrmMain&)> apply_auto_start;          // "Start automatically" changed
  // The form store: asked to restore before every showing (it restores the first time
  // only), to save when the user's close is granted, and at destruction (it saves then only
  // when it restored and has not saved since).
  std::function<void(TfrmMain&)> restore_form_placement;
  std::function<void(TfrmMain&)> save_form_placement;
  std::function<void(TfrmMain&)> form_destroying;
};

struct TfrmMainServices {
  tracking::UsageLedger* ledger = nullptr;          // required
  tracking::ProcessInspector* inspector = nullptr;  // required
  // The four version texts of an executable; throws when the file has no readable
  // version information (or the path is empty).
  DetailsReader read_details;
  // A value ("ProductName" ...) of the program's own version information ("Velmora.exe");
  // "" when there is none.
  std::function<std::string(std::string_view name)> own_version_value;
  // Makes the tray icon for the form (shown, with the application's icon, the hint
  // "Velmora", its click and double-click wired to TrayIcon1Click and TrayIcon1DblClick and
  // its popup menu built by TrayIcon1Menu); kept until the form goes.
  std::function<std::shared_ptr<void>(TfrmMain&)> create_tray_icon;
  // Restores the shown window when it is minimized and brings it to the foreground.
  std::function<void(TfrmMain&)> activate_window;
  // The folder of the program's executable, without a trailing delimiter.
  std::function<std::string()> executable_folder;
  // Asks the shell to open the help file, the main window as the owner.
  std::function<void(TfrmMain&, const std::string& path)> open_help;
  // Hides the framework's application-level window (start without "notray").
  std::function<void()> hide_application_window;
  // The single-instance guard: registers this copy and, when another copy of the same
  // executable runs, ends the process (exit code 0) before the window has any visible or
  // stored effect. Runs once the design has been loaded, before the creation handler.
  std::function<void()> guard_instance;
  // The program's first command-line argument was "notray".
  bool show_at_start = false;
  SettingsPageHooks settings;
};

// The platform's end-of-session query (WM_QUERYENDSESSION).
inline constexpr unsigned kQueryEndSessionMessage = 0x0011;
// Resource string of the quit question.
inline constexpr int kQuitQuestionId = 65066;
// Resource strings of the tray icon's menu.
inline constexpr int kTrayShowId = 65350;
inline constexpr int kTrayHideId = 65351;
inline constexpr int kTrayQuitId = 65352;

class TfrmMain : public gui::TForm {
  VELMORA_CLASS()

 public:
  explicit TfrmMain(TComponent* owner);
  ~TfrmMain() override;

  // The services of the next forms created; kept by value.
  static void SetServices(TfrmMainServices services);
  static const TfrmMainServices& Services();

  void DoCreate() override;
  void DoShow() override;
  // The first control of the page in front; the navigation bar when that page has none.
  gui::TControl* ControlToFocusOnShow() override;

  // Pages.
  void RefreshApplicationList();
  void RefreshApplicationDetails();
  void RefreshStatistics();
  gui::TListItem* SearchForProcessInListView(std::string_view name) const;
  DetailsMode CurrentDetailsMode() const;

  // Handlers.
  void tmrRefreshTimer();
  void SpinEdit1Change();
  void rbEXEDescriptionClick();
  void lvAppsColumnClick(int column);
  void TrayIcon1Click();
  void TrayIcon1DblClick();
  // The tray icon's popup menu for the window's present state, in the present language.
  TrayMenu TrayIcon1Menu();
  // Shows the window, restored when minimized, in the foreground: the tray's "show", and
  // what a second start of the program asks of the running copy.
  void ShowAndActivate();
  void btnHideClick();
  void btnQuitClick();
  void btnHelpClick();
  void FormCloseQuery(bool& can_close);
  // Keys of the whole window: Escape hides it, F1 opens the help.
  void FormShortcut(int key, bool& handled);
  // The answer to WM_QUERYENDSESSION: always 1, and the program ends without a question.
  std::intptr_t QueryEndSession();
  void NavBar1Pages0Buttons0Click();  // Applications
  void NavBar1Pages0Buttons1Click();  // Statistics
  void NavBar1Pages0Buttons2Click();  // Settings
  void NavBar1Pages0Buttons3Click();  // About

  int SortClickCount() const;
  bool QuitConfirmed() const { return quit_confirmed_; }
  const std::string& HelpFile() const { return help_file_; }
  const tracking::UsageSampler& Sampler() const { return *sampler_; }

  // The controls the code works with, by their design names. Bound once, when the design
  // has been loaded; a design that lacks one fails the form's creation at that point.
  struct BoundControls {
    gui::TNavBar& NavBar1;
    gui::TPanel& pnlApps;
    gui::TPanel& pnlStats;
    gui::TPanel& pnlSettings;
    gui::TPanel& pnlAbout;
    gui::TListView& lvApps;
    gui::TImageList& imgsApps;
    gui::TChart& chartApps;
    gui::TCheckBox& chkAutoRefreshStats;
    gui::TCheckBox& chkStartAuto;
    gui::TCheckBox& chkAutoSort;
    gui::TSpinEdit& SpinEdit1;
    gui::TComboBox& cbxLang;
    gui::TButton& Button3;
    gui::TLabel& Label7;
    gui::TButton& btnHide;
    gui::TButton& btnQuit;
    gui::TButton& btnHelp;
    gui::TTimer& tmrRefresh;
    // The details options, in DetailsMode order (rbEXEDescription ... rbAll).
    std::array<gui::TRadioButton*, 5> options;
  };

  gui::TNavBar& NavBar1() const { return Bound().NavBar1; }
  gui::TPanel& pnlApps() const { return Bound().pnlApps; }
  gui::TPanel& pnlStats() const { return Bound().pnlStats; }
  gui::TPanel& pnlSettings() const { return Bound().pnlSettings; }
  gui::TPanel& pnlAbout() const { return Bound().pnlAbout; }
  gui::TListView& lvApps() const { return Bound().lvApps; }
  gui::TImageList& imgsApps() const { return Bound().imgsApps; }
  gui::TChart& chartApps() const { return Bound().chartApps; }
  gui::TCheckBox& chkAutoRefreshStats() const { return Bound().chkAutoRefreshStats; }
  gui::TCheckBox& chkStartAuto() const { return Bound().chkStartAuto; }
  gui::TCheckBox& chkAutoSort() const { return Bound().chkAutoSort; }
  gui::TSpinEdit& SpinEdit1() const { return Bound().SpinEdit1; }
  gui::TComboBox& cbxLang() const { return Bound().cbxLang; }
  gui::TLabel& Label7() const { return Bound().Label7; }
  gui::TTimer& tmrRefresh() const { return Bound().tmrRefresh; }
  gui::TRadioButton& RadioButton(DetailsMode mode) const;
  // The page panel in front (the only one visible).
  gui::TPanel& FrontPage() const;

 private:
  const BoundControls& Bound() const;
  void BindControls();
  void PressNavButton(int index);
  void ShowPage(gui::TPanel& page);
  void WireEvents();

  TfrmMainServices services_;
  std::unique_ptr<tracking::UsageSampler> sampler_;
  std::unique_ptr<BoundControls> controls_;
  std::unique_ptr<ApplicationsPage> applications_;
  std::unique_ptr<StatisticsPage> statistics_;
  std::unique_ptr<AboutPage> about_;
  bool quit_confirmed_ = false;
  std::string help_file_;
  std::shared_ptr<void> tray_icon_;
  // A double-click has been answered; the release that ends it is no click of its own.
  bool tray_double_click_answered_ = false;
};

}  // namespace velmora::ui
