// The Settings page's rules: the language list built from the language files beside the
// program, the language choice, the logon entry of "Start automatically" and what the
// translation-details dialog shows. Portable: the files come through LanguageFolder and the
// registry through Registry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/language_store.h"
#include "settings/registry.h"

namespace velmora::gui {
class TCheckBox;
class TComboBox;
}  // namespace velmora::gui

namespace velmora::settings {

// The system's list of programs started at the user's logon, and Velmora's value in it.
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "Velmora";
// Where mail about a translation goes when its file names nobody.
inline constexpr std::string_view kSupportEmail = "support@orindel.example";
// Language files larger than this are not language files (the largest real one is a few
// dozen KiB); they are not listed rather than read into memory.
inline constexpr std::size_t kMaxLanguageFileSize = 4 * 1024 * 1024;

// The file system as the language list needs it.
class LanguageFolder {
 public:
  virtual ~LanguageFolder() = default;
  // The names (without folder) of the plain files in `folder` that match "*.LNG", letter
  // case ignored, in the order the file system returns them; none for a missing folder.
  virtual std::vector<std::string> FindLanguageFiles(const std::string& folder) const = 0;
  // The file's bytes; nothing when it cannot be read or is larger than `max_bytes`.
  virtual std::optional<std::string> ReadFile(const std::string& path,
                                              std::size_t max_bytes) const = 0;
};

struct LanguageEntry {
  std::string display_name;
  std::string path;  // full path of the file
  bool operator==(const LanguageEntry&) const = default;
};

// "English / Native" when the native name is given and differs (A-Z case ignored), else the
// English name alone.
std::string LanguageDisplayName(std::string_view english, std::string_view native);

// The folder of the language files: the executable's folder and "Language\".
std::string LanguageFolderOf(std::string_view executable_folder);

// One entry per language file in `folder` ("...\" terminated) that names its language in
// English, in the order the file system returns them. A file that cannot be read, is not
// text, is too large or lacks "LangNameEng" is left out.
std::vector<LanguageEntry> FindLanguages(const LanguageFolder& files, const std::string& folder);

// Empties the list and fills it with `entries` (the list sorts them), then selects
// `current_index` (nothing when it lies outside). Not a language change.
void RebuildLanguageList(gui::TComboBox& list, const std::vector<LanguageEntry>& entries,
                         int current_index);
// Selects `index` (nothing when it lies outside the list). Not a language change.
void SelectLanguage(gui::TComboBox& list, int index);
// The user chose the selected entry: it becomes the current language.
void LanguageChanged(const gui::TComboBox& list, LanguageSettings& settings);

// --- Start at logon -----------------------------------------------------------------------------

// The Run value's text: the executable's path in double quotes, so that Windows does not run
// "C:\Program.exe" for a path with blanks.
std::string AutoStartCommand(std::string_view executable_path);
// Whether the Run value exists (false when the Run key cannot be opened).
bool AutoStartRegistered(Registry& registry);
// Writes the Run value when `on`, deletes it (if there) when not. Raises ERegistryError
// "Failed to set data for 'Velmora'" when the value cannot be written; a key that cannot be
// opened and a value that cannot be deleted are not reported.
void ApplyAutoStart(Registry& registry, bool on, std::string_view executable_path);
// Sets the check box from the Run value; a change of its state runs its click handler.
void SyncAutoStartBox(Registry& registry, gui::TCheckBox& box);

// --- Translation details ------------------------------------------------------------------------

struct TranslationDetails {
  std::string native_name;  // "LangNameNative", "UNKNOWN" when missing
  std::string translator;   // "Tanslator" (sic), "UNKNOWN" when missing
  std::string email;        // "Email", "UNKNOWN" when missing
  std::string mail_target;  // "mailto:" and the address, with a subject when there is none
  bool operator==(const TranslationDetails&) const = default;
};

// What the dialog shows for the language file `path`; `current_file` is the file of the entry
// at the current language index, whose name goes into the default mail's subject.
TranslationDetails ReadTranslationDetails(const LanguageFolder& files, const std::string& path,
                                          std::string_view current_file);

}  // namespace velmora::settings
