// The version readers this platform's program uses: the Windows version services on Windows
// (velmora_metadata_win32), the portable PE parser elsewhere (velmora_metadata).
#pragma once

#include <string>

#include "metadata/kelto_version_info.h"
#include "metadata/version_info.h"
#include "metadata/version_source.h"

namespace velmora {

const VersionBlockSource& PlatformVersionSource();
const ModuleLocator& PlatformModuleLocator();

// ReadFileInfo through PlatformVersionSource().
void ReadFileInfo(const std::string& FileName, TDWFileInfo& Info);

}  // namespace velmora
