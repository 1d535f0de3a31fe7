#include "metadata/platform_version.h"

#include <filesystem>
#include <system_error>

#include "metadata/pe_version_reader.h"

namespace velmora {
namespace {

class NativeModuleLocator : public ModuleLocator {
 public:
  std::string OwnExecutablePath() const override {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
  }

  // Without a module loader of the Windows kind, the program's folder and then the current
  // folder stand for its search order.
  std::string ResolveModuleName(const std::string& name) const override {
    if (name.empty() || name.find('/') != std::string::npos) return name;
    std::error_code error;
    const std::filesystem::path own = OwnExecutablePath();
    for (const std::filesystem::path& folder :
         {own.parent_path(), std::filesystem::current_path(error)}) {
      if (folder.empty()) continue;
      const std::filesystem::path candidate = folder / name;
      if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
    }
    return name;
  }
};

}  // namespace

const VersionBlockSource& PlatformVersionSource() {
  static const PortableVersionSource source;
  return source;
}

const ModuleLocator& PlatformModuleLocator() {
  static const NativeModuleLocator locator;
  return locator;
}

void ReadFileInfo(const std::string& FileName, TDWFileInfo& Info) {
  ReadFileInfo(PlatformVersionSource(), FileName, Info);
}

}  // namespace velmora
