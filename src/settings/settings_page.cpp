#include "settings/settings_page.h"

#include "core/text.h"
#include "gui/button.h"
#include "gui/combo_box.h"
#include "gui/errors.h"
#include "settings/form_store.h"
#include "settings/ini_file.h"

namespace velmora::settings {

namespace {

constexpr std::string_view kGeneral = "General";
constexpr std::string_view kUnknown = "UNKNOWN";

std::optional<IniSection> ReadGeneralSection(const LanguageFolder& files, const std::string& path) {
  const std::optional<std::string> content = files.ReadFile(path, kMaxLanguageFileSize);
  if (!content) return std::nullopt;
  return ReadIniSection(*content, kGeneral);
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string LanguageDisplayName(std::string_view english, std::string_view native) {
  if (native.empty() || AsciiEqualNoCase(english, native)) return std::string(english);
  return std::string(english) + " / " + std::string(native);
}

std::string LanguageFolderOf(std::string_view executable_folder) {
  std::string folder(executable_folder);
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder + "Language\\";
}

std::vector<LanguageEntry> FindLanguages(const LanguageFolder& files, const std::string& folder) {
  std::vector<LanguageEntry> entries;
  for (const std::string& name : files.FindLanguageFiles(folder)) {
    const std::string path = folder + name;
    const std::optional<IniSection> general = ReadGeneralSection(files, path);
    if (!general) continue;
    const std::string english = general->Get("LangNameEng", "");
    if (english.empty()) continue;
    entries.push_back({LanguageDisplayName(english, general->Get("LangNameNative", "")), path});
  }
  return entries;
}

void RebuildLanguageList(gui::TComboBox& list, const std::vector<LanguageEntry>& entries,
                         int current_index) {
  gui::TStrings& items = list.Items();
  items.BeginUpdate();
  items.Clear();
  for (const LanguageEntry& entry : entries) items.Add(entry.display_name, entry.path);
  items.EndUpdate();
  SelectLanguage(list, current_index);
}

void SelectLanguage(gui::TComboBox& list, int index) {
  list.SetItemIndex(index >= 0 && index < list.Items().Count() ? index : -1);
}

void LanguageChanged(const gui::TComboBox& list, LanguageSettings& settings) {
  if (list.ItemIndex() < 0) return;
  settings.current_language_file = list.SelectedValue();
  settings.current_language_index = list.ItemIndex();
}

std::string AutoStartCommand(std::string_view executable_path) {
  return "\"" + std::string(executable_path) + "\"";
}

bool AutoStartRegistered(Registry& registry) {
  const std::unique_ptr<RegistryKey> key = registry.CreateKey(kRunKey);
  return key && key->HasValue(kRunValue);
}

void ApplyAutoStart(Registry& registry, bool on, std::string_view executable_path) {
  const std::unique_ptr<RegistryKey> key = registry.CreateKey(kRunKey);
  if (!key) return;
  if (!on) {
    if (key->HasValue(kRunValue)) key->DeleteValue(kRunValue);
    return;
  }
  if (!key->WriteString(kRunValue, AutoStartCommand(executable_path))) {
    throw ERegistryError(gui::FormatResString(kResFailedToSetData, kRunValue));
  }
}

void SyncAutoStartBox(Registry& registry, gui::TCheckBox& box) {
  box.SetChecked(AutoStartRegistered(registry));
}

TranslationDetails ReadTranslationDetails(const LanguageFolder& files, const std::string& path,
                                          std::string_view current_file) {
  const IniSection general = ReadGeneralSection(files, path).value_or(IniSection{});
  TranslationDetails details;
  details.native_name = general.Get("LangNameNative", kUnknown);
  details.translator = general.Get("Tanslator", kUnknown);
  details.email = general.Get("Email", kUnknown);
  const std::string default_address =
      std::string(kSupportEmail) + "?subject=Language" + std::string(FileNameOf(current_file));
  details.mail_target = "mailto:" + general.Get("Email", default_address);
  return details;
}

}  // namespace velmora::settings
