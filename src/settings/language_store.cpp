#include "settings/language_store.h"

#include "settings/stored_values.h"

namespace velmora::settings {

LanguageSettings ReadLanguageSettings(Registry& registry) {
  LanguageSettings settings;
  const std::unique_ptr<RegistryKey> key = registry.CreateKey(kProductKey);
  if (!key) return settings;
  if (const auto value = key->Read(kLanguageIndexValue)) {
    // Only a REG_DWORD is the index; a value of another type is ignored.
    if (value->type == ValueType::kDword) {
      settings.current_language_index = ReadInteger(*value).value_or(0);
    }
  }
  if (const auto value = key->Read(kLanguageFileValue);
      value && value->type == ValueType::kString) {
    settings.current_language_file = value->text;
  }
  return settings;
}

bool WriteLanguageSettings(Registry& registry, const LanguageSettings& settings) {
  const std::unique_ptr<RegistryKey> key = registry.CreateKey(kProductKey);
  if (!key) return false;
  const bool index_written = key->WriteDword(
      kLanguageIndexValue, static_cast<std::uint32_t>(settings.current_language_index));
  const bool file_written = key->WriteString(kLanguageFileValue, settings.current_language_file);
  return index_written && file_written;
}

}  // namespace velmora::settings
