#include "settings/main_window_settings.h"

#include <stdexcept>

#include "gui/button.h"
#include "gui/combo_box.h"

namespace velmora::settings {

MainWindowSettings::MainWindowSettings(MainWindowSettingsServices services)
    : services_(std::move(services)) {
  if (!services_.registry || !services_.language_files || !services_.language ||
      !services_.window_system) {
    throw std::logic_error(
        "MainWindowSettings: registry, language files, language choice and window system "
        "are required");
  }
}

ui::SettingsPageHooks MainWindowSettings::Hooks() {
  return {
      .rebuild_language_list = [this](ui::TfrmMain& f) { RebuildLanguageList(f); },
      .sync_settings_page = [this](ui::TfrmMain& f) { SyncSettingsPage(f); },
      .language_changed = [this](ui::TfrmMain& f) { LanguageChanged(f); },
      .show_translation_details = [this](ui::TfrmMain& f) { ShowTranslationDetails(f); },
      .apply_auto_start = [this](ui::TfrmMain& f) { ApplyAutoStart(f); },
      .restore_form_placement = [this](ui::TfrmMain& f) { RestoreFormPlacement(f); },
      .save_form_placement = [this](ui::TfrmMain& f) { SaveFormPlacement(f); },
      .form_destroying = [this](ui::TfrmMain& f) { FormDestroying(f); },
  };
}

FormStore& MainWindowSettings::StoreOf(ui::TfrmMain& form) {
  if (!store_) {
    windows_ = services_.window_system(form);
    store_ = std::make_unique<FormStore>(*services_.registry, std::string(kMainFormKey), form,
                                         *windows_, kMainFormStoredProps);
    // The stored details choice is rendered as a click on it would render it.
    store_->OnAfterRestore = [&form] { form.rbEXEDescriptionClick(); };
  }
  return *store_;
}

void MainWindowSettings::Report(const std::exception& error) const {
  if (services_.report_error) services_.report_error(error);
}

void MainWindowSettings::RestoreFormPlacement(ui::TfrmMain& form) {
  // The window is shown whatever the restore met.
  try {
    StoreOf(form).Restore();
  } catch (const std::exception& error) {
    Report(error);
  }
}

void MainWindowSettings::SaveFormPlacement(ui::TfrmMain& form) {
  // A store that cannot write does not keep the user from quitting.
  try {
    StoreOf(form).Save();
  } catch (const std::exception& error) {
    Report(error);
  }
}

void MainWindowSettings::FormDestroying(ui::TfrmMain& form) {
  // A window never shown has restored nothing: the store saves nothing (see FormStore).
  if (!store_) return;
  try {
    store_->SaveIfUnsaved();
  } catch (const std::exception& error) {
    Report(error);
  }
}

void MainWindowSettings::RebuildLanguageList(ui::TfrmMain& form) {
  const std::string folder = LanguageFolderOf(services_.executable_folder);
  settings::RebuildLanguageList(form.cbxLang(), FindLanguages(*services_.language_files, folder),
                                services_.language->current_language_index);
}

void MainWindowSettings::SyncSettingsPage(ui::TfrmMain& form) {
  SelectLanguage(form.cbxLang(), services_.language->current_language_index);
  // A change of the box's state runs its click handler, which rewrites the Run value.
  SyncAutoStartBox(*services_.registry, form.chkStartAuto());
}

void MainWindowSettings::LanguageChanged(ui::TfrmMain& form) {
  settings::LanguageChanged(form.cbxLang(), *services_.language);
}

void MainWindowSettings::ShowTranslationDetails(ui::TfrmMain& form) {
  const gui::TComboBox& list = form.cbxLang();
  // With nothing selected there is no file to describe.
  if (list.ItemIndex() < 0 || !services_.show_translation_details) return;
  const int current = services_.language->current_language_index;
  const std::string current_file =
      current >= 0 && current < list.Items().Count() ? list.Items().Value(current) : "";
  services_.show_translation_details(
      ReadTranslationDetails(*services_.language_files, list.SelectedValue(), current_file));
}

void MainWindowSettings::ApplyAutoStart(ui::TfrmMain& form) {
  settings::ApplyAutoStart(*services_.registry, form.chkStartAuto().Checked(),
                           services_.executable_path);
}

}  // namespace velmora::settings
