// TKeltoVersionInfo: the version information of one file, kept for repeated lookups - the
// program's own for the About page. It reads when FileName is set and never fails: without
// version information every lookup gives the empty string.
//
// A plain class for now; the component layer wraps it as the main window's `VerInfo`.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/version_info.h"
#include "metadata/version_source.h"

namespace velmora {

// Where the program's files are: its own executable, and the file a bare module name such as
// "Velmora.exe" stands for.
class ModuleLocator {
 public:
  virtual ~ModuleLocator() = default;
  // Full path of the running program's executable.
  virtual std::string OwnExecutablePath() const = 0;
  // A name without a folder resolved the way the platform searches for modules, the
  // program's own folder first; any other name, or one not found, comes back unchanged.
  virtual std::string ResolveModuleName(const std::string& name) const = 0;
};

class TKeltoVersionInfo {
 public:
  // Starts with an empty FileName, so it holds the program's own version information.
  TKeltoVersionInfo(const VersionBlockSource& source, const ModuleLocator& locator);

  const std::string& FileName() const { return file_name_; }
  // Reads the named file at once, replacing what was held. Empty means the program's own
  // executable; a bare name is searched for like a module.
  void SetFileName(const std::string& file_name);

  // The file actually read for the current FileName.
  const std::string& ResolvedFileName() const { return resolved_; }
  // Whether version information was read.
  bool HasInfo() const { return has_info_; }
  // Zero while there is none.
  const VsFixedFileInfo& FixedInfo() const { return fixed_; }
  // The whole version block as read, kept until the next read.
  std::span<const std::uint8_t> Block() const { return block_; }
  const std::vector<TranslationPair>& Translations() const { return translations_; }
  int TranslationCount() const { return static_cast<int>(translations_.size()); }
  // 0 when the table has an entry, -1 when there is none.
  int CurrentTranslation() const { return current_; }

  // The text of a value ("ProductName", "LegalCopyright" ...) in the current translation's
  // string table, or the empty string.
  std::string GetString(std::string_view name) const;

 private:
  void Read();

  const VersionBlockSource& source_;
  const ModuleLocator& locator_;
  std::string file_name_;
  std::string resolved_;
  bool has_info_ = false;
  VsFixedFileInfo fixed_;
  std::vector<std::uint8_t> block_;
  std::vector<TranslationPair> translations_;
  int current_ = -1;
};

}  // namespace velmora
