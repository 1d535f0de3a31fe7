// The one interface behind which the two version readers sit: the Windows version services
// (Win32VersionSource) and the portable PE parser (PortableVersionSource). Both hand out the
// raw version block of a file and answer the same sub-block queries on it, the way
// GetFileVersionInfoW and VerQueryValueW do, so everything above them gives the same results.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/version_info.h"

namespace velmora {

// A value found by a sub-block query. `data` points into the queried block; `length` is the
// value length as the version services report it: bytes for binary values ("\",
// "\VarFileInfo\Translation"), characters for texts.
struct VersionValue {
  const std::uint8_t* data = nullptr;
  std::uint32_t length = 0;
};

class VersionBlockSource {
 public:
  virtual ~VersionBlockSource() = default;

  // The whole version block of the file. Throws EVersionInfoError naming the file and the
  // reason when there is none or the file cannot be read.
  virtual std::vector<std::uint8_t> ReadBlock(const std::string& file_name) const = 0;

  // The value at `sub_block` ("\", "\VarFileInfo\Translation",
  // "\StringFileInfo\040904B0\ProductName") of a block returned by ReadBlock, or nullopt when
  // the path does not exist. Key comparison ignores ASCII case, as the platform's does.
  virtual std::optional<VersionValue> Query(std::span<const std::uint8_t> block,
                                            std::string_view sub_block) const = 0;
};

// Answers built on a source's queries, shared by ReadFileInfo and TKeltoVersionInfo. Each one
// reads only inside `block`, whatever lengths the block claims.

// The fixed block; zero where the block has none or a shorter one.
VsFixedFileInfo QueryFixedInfo(const VersionBlockSource& source,
                               std::span<const std::uint8_t> block);

// The translation table; empty when there is none.
std::vector<TranslationPair> QueryTranslations(const VersionBlockSource& source,
                                               std::span<const std::uint8_t> block);

// The text of "\StringFileInfo\<key>\<name>" up to its first zero character, or the empty
// string when the value is missing.
std::string QueryString(const VersionBlockSource& source, std::span<const std::uint8_t> block,
                        std::string_view key, std::string_view name);

}  // namespace velmora
