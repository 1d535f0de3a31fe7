// The Windows version reader: GetFileVersionInfoSizeW / GetFileVersionInfoW / VerQueryValueW,
// with WOW64 file-system redirection off so that a 32-bit Velmora reads the real file of a
// 64-bit program under System32.
#pragma once

#include "metadata/kelto_version_info.h"
#include "metadata/version_source.h"

namespace velmora {

class Win32VersionSource : public VersionBlockSource {
 public:
  std::vector<std::uint8_t> ReadBlock(const std::string& file_name) const override;
  std::optional<VersionValue> Query(std::span<const std::uint8_t> block,
                                    std::string_view sub_block) const override;
};

// GetModuleFileNameW for the program's own path; SearchPathW, whose order for a bare name
// starts with the program's folder like the module loader's, for names without a folder.
class Win32ModuleLocator : public ModuleLocator {
 public:
  std::string OwnExecutablePath() const override;
  std::string ResolveModuleName(const std::string& name) const override;
};

}  // namespace velmora
