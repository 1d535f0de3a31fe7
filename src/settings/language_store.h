// The language store: which language file the user chose on the Settings page. Read once at
// start-up, before any window exists, and written once at the very end of the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/registry.h"

namespace velmora::settings {

// The product key and its subkeys, below HKEY_CURRENT_USER.
inline constexpr std::string_view kProductKey = "Software\\Orindel\\Velmora";
inline constexpr std::string_view kLanguageIndexValue = "Currently Used Language";
inline constexpr std::string_view kLanguageFileValue = "fCurrentLanguageFile";

struct LanguageSettings {
  // Position of the chosen language in the Settings page's sorted list.
  std::int32_t current_language_index = 0;
  // Full path of the chosen language file; empty when none was chosen.
  std::string current_language_file;
};

// Reads both values from the product key, creating the key when it is missing. An absent
// value, or one of another type, keeps its default (0, empty text).
LanguageSettings ReadLanguageSettings(Registry& registry);
// Writes both values, changed or not. False when the key or a value could not be written;
// the caller is the program's last act and has nobody to tell.
bool WriteLanguageSettings(Registry& registry, const LanguageSettings& settings);

}  // namespace velmora::settings
