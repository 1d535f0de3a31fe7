// The language files on Windows: the folder searched with FindFirstFileExW, a file read whole
// with CreateFileW and ReadFile. Names and paths are UTF-8.
#pragma once

#include "settings/settings_page.h"

namespace velmora::settings {

class Win32LanguageFolder final : public LanguageFolder {
 public:
  std::vector<std::string> FindLanguageFiles(const std::string& folder) const override;
  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t max_bytes) const override;
};

}  // namespace velmora::settings
