// The table of translated resource strings and its place in front of the built-in texts.
//
// TResStringer installs itself as the resource-string translator of src/core
// (SetResourceStringTranslator): while `Enabled` is true, every LoadResString(id) of the
// program consults TryGetString first and falls back to the built-in text. Nothing patches
// code; switching the interception off only makes the translator answer "no translation".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::localizer {

class TLocalizer;

class TResStringer {
 public:
  struct Entry {
    std::string Text;  // UTF-8
    std::int32_t Identifier;
  };

  // Installs the translator and enables it. Problems of the block are reported through
  // `owner.ReportError`.
  explicit TResStringer(TLocalizer& owner);
  // Removes the translator (the built-in texts come back), unless another TResStringer has
  // been installed since.
  ~TResStringer();
  TResStringer(const TResStringer&) = delete;
  TResStringer& operator=(const TResStringer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);

  // Reads a [RESOURCESTRINGS] block: `Index` is the first line after the header on entry
  // and the first line not consumed (the next section header, or the end) on return. The
  // table is replaced; afterwards the interception stays enabled only if it was enabled
  // before and the new table has entries, so a block without entries switches it off for
  // the rest of the run. An error while decoding a value leaves at once, with the
  // interception off.
  void ReadResourceStrings(std::span<const std::string_view> Lines, std::size_t& Index,
                           bool Humanized, std::u16string_view CRSubstitute,
                           std::u16string_view CRLFSubstitute);

  // Lower-bound search by halving over the table as the file ordered it (ascending
  // identifiers); with equal identifiers the first is found.
  bool TryGetString(std::int32_t Identifier, std::string& Text) const;

  // The table of the last block read; absent before the first one.
  const std::optional<std::vector<Entry>>& Table() const { return table_; }

  // What the installed translator answers for LoadResString(Identifier). Identifiers of
  // 65536 and more are not resource numbers (on Windows they can never name a string
  // resource), so they are never translated.
  bool Translate(std::int32_t Identifier, std::string& Text) const;

 private:
  TLocalizer& owner_;
  std::optional<std::vector<Entry>> table_;
  bool enabled_ = false;
  TResStringer* previous_ = nullptr;
};

}  // namespace velmora::localizer
