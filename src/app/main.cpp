// Velmora.exe: a tray program that measures how long the user spends in each application.
//
// Start-up: the language choice is read from the registry first, then the ledger and the
// Windows services come, then the application (title "Velmora"), then the main window, which
// adds the tray icon, and the translation-details dialog; the message loop runs until a
// confirmed Quit or the end of the session. The window starts hidden, with no taskbar entry,
// unless the first argument is exactly "notray". At the end, once every window is gone, the
// language choice is written back.
#include <windows.h>
// After windows.h, which they build on.
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/diagnostics.h"
#include "core/text.h"
#include "gui/application.h"
#include "gui/image_list.h"
#include "gui/list_view.h"
#include "gui/timer.h"
#include "gui/win32.h"
#include "localizer/component_translation.h"
#include "localizer/localizer.h"
#include "metadata/platform_version.h"
#include "resource_ids.h"
#include "settings/frm_translation_details.h"
#include "settings/language_folder_win32.h"
#include "settings/language_store.h"
#include "settings/main_window_settings.h"
#include "settings/registry_win32.h"
#include "settings/window_system_win32.h"
#include "tracking/process_inspection_win32.h"
#include "tracking/usage_ledger.h"
#include "ui/app_instances_win32.h"
#include "ui/frm_main.h"
#include "ui/sys_tray_win32.h"

namespace {

using namespace velmora;

bool FirstArgumentIsNotray() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return false;
  const bool notray = argc > 1 && std::wstring(argv[1]) == L"notray";
  LocalFree(argv);
  return notray;
}

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool IsExistingFile(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReportError(const std::exception& error) {
  if (gui::TApplication* app = gui::Application()) app->HandleException(error);
}

ui::DetailsFields ReadDetails(const std::string& path) {
  TDWFileInfo info;
  ReadFileInfo(path, info);
  return {info.FileDescription, info.CompanyName, info.ProductName, info.ProductVersion};
}

std::shared_ptr<void> CreateTrayIcon(ui::TfrmMain& form) {
  auto tray = std::make_shared<ui::TSysTray>();
  tray->SetVisible(true);
  // The window has no icon of its own, so the tray shows the application's icon.
  tray->SetIcon(nullptr);
  tray->SetHint("Velmora");
  tray->Events().on_click = [&form] { form.TrayIcon1Click(); };
  tray->Events().on_dbl_click = [&form] { form.TrayIcon1DblClick(); };
  tray->SetPopupMenu([&form] { return form.TrayIcon1Menu(); });
  tray->SetErrorHandler(ReportError);
  return tray;
}

// Everything between the language store's read and its write: the application, its windows
// and the message loop. Returns the exit code when every window is gone.
int RunApplication(HINSTANCE instance, settings::Registry& registry,
                   settings::LanguageSettings& language) {
  tracking::UsageLedger ledger;
  tracking::Win32ProcessInspector inspector;
  TKeltoVersionInfo ver_info(PlatformVersionSource(), PlatformModuleLocator());
  ver_info.SetFileName("Velmora.exe");
  const std::string executable_path = ExecutablePath();
  settings::Win32LanguageFolder language_files;
  settings::TfrmTranslationDetails* details_dialog = nullptr;

  // Declared before the application: it leaves the instance table after every window is gone.
  std::unique_ptr<ui::TAppInstances> instance_guard;
  // Declared before the application: the main window calls it until it is destroyed.
  settings::MainWindowSettings window_settings({
      .registry = &registry,
      .language_files = &language_files,
      .language = &language,
      .executable_path = executable_path,
      .executable_folder = FolderOf(executable_path),
      .window_system =
          [](ui::TfrmMain& form) {
            return std::make_unique<settings::Win32WindowSystem>(
                form.Handle(), gui::Platform().ApplicationWindow());
          },
      .show_translation_details =
          [&details_dialog](const settings::TranslationDetails& details) {
            if (details_dialog) details_dialog->ShowDetails(details);
          },
      .report_error = ReportError,
  });

  gui::TApplication application;
  const bool notray = FirstArgumentIsNotray();
  application.SetShowMainForm(notray);
  application.SetTitle("Velmora");

  ui::TfrmMainServices services;
  services.ledger = &ledger;
  services.inspector = &inspector;
  services.read_details = ReadDetails;
  services.own_version_value = [&ver_info](std::string_view name) {
    return ver_info.GetString(name);
  };
  services.create_tray_icon = CreateTrayIcon;
  services.executable_folder = [folder = FolderOf(executable_path)] { return folder; };
  services.open_help = [](ui::TfrmMain& form, const std::string& path) {
    ShellExecuteW(reinterpret_cast<HWND>(form.Handle()), L"open", Widen(path).c_str(), L"", L"",
                  SW_SHOW);
  };
  services.activate_window = [](ui::TfrmMain& form) {
    // A window shown from the tray or for a second start comes to the front, above the
    // window that had the foreground: the shell lets the icon's owner take it while it
    // handles a click, and a refused copy allows it before it hands over.
    const HWND window = reinterpret_cast<HWND>(form.Handle());
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
  };
  services.hide_application_window = [&application] {
    ShowWindow(reinterpret_cast<HWND>(application.Handle()), SW_HIDE);
  };
  services.show_at_start = notray;
  services.guard_instance = [&instance_guard] {
    instance_guard = std::make_unique<ui::TAppInstances>(gui::win32::kApplicationWindowClass);
    instance_guard->Register();
    instance_guard->Check();  // a refused copy ends here, with exit code 0
  };
  services.settings = window_settings.Hooks();
  ui::TfrmMain::SetServices(std::move(services));

  ui::TfrmMain* form = nullptr;
  application.Dispatch([&] {
    form = &application.CreateForm<ui::TfrmMain>();
    details_dialog = &application.CreateForm<settings::TfrmTranslationDetails>();
  });
  if (!form) return 1;

  // The window shows the application's icon in its title bar and in Alt+Tab.
  const HWND window = reinterpret_cast<HWND>(form->Handle());
  const int small = GetSystemMetrics(SM_CXSMICON);
  SendMessageW(window, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(IDI_VELMORA))));
  SendMessageW(window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VELMORA),
                                                   IMAGE_ICON, small, small, LR_SHARED)));

  std::unique_ptr<app::DiagnosticsLog> diagnostics = app::DiagnosticsLog::FromEnvironment();
  if (diagnostics) {
    form->tmrRefresh().OnTimer = [form, &diagnostics](gui::TObject&) {
      const auto start = std::chrono::steady_clock::now();
      form->tmrRefreshTimer();
      diagnostics->TickDone(std::chrono::steady_clock::now() - start, form->imgsApps().Count(),
                            form->lvApps().Count());
    };
  }

  // A second start of this program shows this copy's window. Wired only while the window
  // exists: the guard outlives it.
  instance_guard->OnOtherCopyStarted = [&application, form] {
    application.Dispatch([form] { form->ShowAndActivate(); });
  };
  application.Run();
  instance_guard->OnOtherCopyStarted = nullptr;
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  gui::UseWin32Platform();
  // The engine answers every resource-string fetch from now on.
  localizer::TLocalizer& engine = localizer::Localizer();

  // The language choice is read before anything else exists and written after every window
  // is gone (the main window makes its last save of the form state while it is destroyed).
  settings::Win32Registry registry;
  settings::LanguageSettings language = settings::ReadLanguageSettings(registry);
  // The chosen language file translates the forms while they are created. A damaged or
  // half-valid file loads what it can (its problems are not reported to the user): Velmora
  // starts in any case, in English where the file says nothing.
  if (IsExistingFile(language.current_language_file)) {
    localizer::SetAutoTranslate(engine, true);
    engine.LoadLanguageFile(language.current_language_file);
  }
  const int exit_code = RunApplication(instance, registry, language);
  localizer::SetAutoTranslate(engine, false);
  settings::WriteLanguageSettings(registry, language);
  return exit_code;
}
