// The settings of the main window: connects the form store, the Settings page's rules and
// the translation-details dialog to TfrmMain through its settings hooks.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "settings/form_store.h"
#include "settings/language_store.h"
#include "settings/registry.h"
#include "settings/settings_page.h"
#include "ui/frm_main.h"

namespace velmora::settings {

struct MainWindowSettingsServices {
  Registry* registry = nullptr;                    // required
  const LanguageFolder* language_files = nullptr;  // required
  LanguageSettings* language = nullptr;            // required: the process-wide language choice
  std::string executable_path;                     // full path of the running executable
  std::string executable_folder;                   // its folder, without a trailing delimiter
  // The window system for the main window, made when the store first needs it.
  std::function<std::unique_ptr<WindowSystem>(ui::TfrmMain&)> window_system;
  // Shows the translation details modally.
  std::function<void(const TranslationDetails&)> show_translation_details;
  // Shows a failure that must not stop what is going on (a save while the window closes).
  std::function<void(const std::exception&)> report_error;
};

class MainWindowSettings {
 public:
  explicit MainWindowSettings(MainWindowSettingsServices services);
  MainWindowSettings(const MainWindowSettings&) = delete;
  MainWindowSettings& operator=(const MainWindowSettings&) = delete;

  // The hooks to install in TfrmMainServices; they refer to this object, which must outlive
  // the main window.
  ui::SettingsPageHooks Hooks();

  void RestoreFormPlacement(ui::TfrmMain& form);
  void SaveFormPlacement(ui::TfrmMain& form);
  void FormDestroying(ui::TfrmMain& form);
  void RebuildLanguageList(ui::TfrmMain& form);
  void SyncSettingsPage(ui::TfrmMain& form);
  void LanguageChanged(ui::TfrmMain& form);
  void ShowTranslationDetails(ui::TfrmMain& form);
  void ApplyAutoStart(ui::TfrmMain& form);

  // The form store of the main window; null until the window first needed it.
  const FormStore* Store() const { return store_.get(); }

 private:
  FormStore& StoreOf(ui::TfrmMain& form);
  void Report(const std::exception& error) const;

  MainWindowSettingsServices services_;
  std::unique_ptr<WindowSystem> windows_;
  std::unique_ptr<FormStore> store_;
};

}  // namespace velmora::settings
