// Feeds arbitrary bytes to the portable version reader, as a whole PE file and as a bare
// version block, and reads a complete record from whatever it finds. The sanitizers catch any
// read outside the input; the checks below catch allocations larger than the input.
#include <cstddef>
#include <cstdint>
#include <span>

#include "metadata/pe_version_reader.h"
#include "metadata/version_source.h"

namespace {

void ReadRecord(std::span<const std::uint8_t> block) {
  static const velmora::PortableVersionSource source;
  velmora::QueryFixedInfo(source, block);
  const auto translations = velmora::QueryTranslations(source, block);
  if (translations.size() > block.size() / 4) __builtin_trap();
  // The first translation, as ReadFileInfo, and a fixed key, so that string tables are
  // reached even when the table is damaged.
  std::string keys[2] = {"040904B0", "040904B0"};
  if (!translations.empty()) {
    keys[0] = velmora::TranslationKey(translations[0].Language, translations[0].CodePage);
  }
  for (const std::string& key : keys) {
    for (const velmora::VersionTextField& field : velmora::kVersionTextFields) {
      const std::string text = velmora::QueryString(source, block, key, field.name);
      // At most three UTF-8 bytes for each UTF-16 unit of the block.
      if (text.size() > block.size() / 2 * 3) __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  velmora::MemoryByteSource file(input);
  try {
    const std::vector<std::uint8_t> block = velmora::ReadPeVersionResource(file);
    if (block.size() > size) __builtin_trap();
    ReadRecord(block);
  } catch (const velmora::EVersionInfoError&) {
  }
  ReadRecord(input);
  return 0;
}
