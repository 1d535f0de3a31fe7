#include "metadata/platform_version.h"
#include "metadata/version_source_win32.h"

namespace velmora {

const VersionBlockSource& PlatformVersionSource() {
  static const Win32VersionSource source;
  return source;
}

const ModuleLocator& PlatformModuleLocator() {
  static const Win32ModuleLocator locator;
  return locator;
}

void ReadFileInfo(const std::string& FileName, TDWFileInfo& Info) {
  ReadFileInfo(PlatformVersionSource(), FileName, Info);
}

}  // namespace velmora
