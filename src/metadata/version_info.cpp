#include "metadata/version_info.h"

#include <algorithm>
#include <cstring>

#include "core/text.h"
#include "metadata/version_source.h"

namespace velmora {
namespace {

// The bytes of a queried value that lie inside the block: the reported length is only a
// claim, and a hostile block may point anywhere up to its end.
std::span<const std::uint8_t> ValueBytes(std::span<const std::uint8_t> block,
                                         const VersionValue& value, std::size_t claimed) {
  const std::uint8_t* begin = block.data();
  const std::uint8_t* end = begin + block.size();
  if (value.data < begin || value.data > end) return {};
  return {value.data, std::min(claimed, static_cast<std::size_t>(end - value.data))};
}

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

std::string TranslationKey(std::uint16_t language, std::uint16_t code_page) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string key(8, '0');
  const std::uint32_t both = (std::uint32_t{language} << 16) | code_page;
  for (int i = 0; i < 8; ++i) key[7 - i] = kDigits[(both >> (4 * i)) & 0xF];
  return key;
}

VsFixedFileInfo QueryFixedInfo(const VersionBlockSource& source,
                               std::span<const std::uint8_t> block) {
  VsFixedFileInfo info;
  const std::optional<VersionValue> value = source.Query(block, "\\");
  if (!value) return info;
  const auto bytes = ValueBytes(block, *value, std::min<std::size_t>(value->length, sizeof info));
  // Little-endian on every platform Windows and this program run on.
  std::memcpy(&info, bytes.data(), bytes.size());
  return info;
}

std::vector<TranslationPair> QueryTranslations(const VersionBlockSource& source,
                                               std::span<const std::uint8_t> block) {
  std::vector<TranslationPair> table;
  const std::optional<VersionValue> value = source.Query(block, "\\VarFileInfo\\Translation");
  if (!value) return table;
  const auto bytes = ValueBytes(block, *value, value->length);
  table.reserve(bytes.size() / 4);
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    table.push_back({Word(bytes.data() + i), Word(bytes.data() + i + 2)});
  }
  return table;
}

std::string QueryString(const VersionBlockSource& source, std::span<const std::uint8_t> block,
                        std::string_view key, std::string_view name) {
  std::string path = "\\StringFileInfo\\";
  path.append(key).append("\\").append(name);
  const std::optional<VersionValue> value = source.Query(block, path);
  if (!value) return {};
  // The text ends at its first zero character. It is also bounded by the reported length:
  // for an empty value the platform reports length 0 and points at whatever follows the key,
  // often the next entry's header, which is not text.
  const auto bytes = ValueBytes(block, *value, std::size_t{value->length} * 2);
  std::u16string text;
  for (std::size_t i = 0; i + 2 <= bytes.size(); i += 2) {
    const char16_t c = Word(bytes.data() + i);
    if (c == 0) break;
    text.push_back(c);
  }
  return Utf16ToUtf8(text);
}

void ReadFileInfo(const VersionBlockSource& source, const std::string& FileName,
                  TDWFileInfo& Info) {
  const std::vector<std::uint8_t> block = source.ReadBlock(FileName);
  TDWFileInfo read;
  read.FixedInfo = QueryFixedInfo(source, block);
  const std::vector<TranslationPair> translations = QueryTranslations(source, block);
  // Only the first translation counts, whatever the user's language: it is the one the
  // file's author listed first.
  if (!translations.empty()) {
    read.Language = translations.front().Language;
    read.CodePage = translations.front().CodePage;
    const std::string key = TranslationKey(read.Language, read.CodePage);
    for (const VersionTextField& field : kVersionTextFields) {
      read.*field.field = QueryString(source, block, key, field.name);
    }
  }
  Info = std::move(read);
}

}  // namespace velmora
