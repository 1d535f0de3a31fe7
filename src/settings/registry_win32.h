// The settings' registry on Windows: keys below HKEY_CURRENT_USER through the W functions,
// text converted between the registry's UTF-16 and the program's UTF-8 at this boundary.
#pragma once

#include "settings/registry.h"

namespace velmora::settings {

class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> CreateKey(std::string_view path) override;
  std::unique_ptr<RegistryKey> OpenKey(std::string_view path) override;
};

}  // namespace velmora::settings
