#include "localizer/res_stringer.h"

#include <limits>

#include "core/resource_strings.h"
#include "core/text.h"
#include "localizer/localizer.h"
#include "localizer/string_utils.h"

namespace velmora::localizer {
namespace {

// The table the program's LoadResString consults. Each new TResStringer stands in front of
// the one before it (tests create several engines; the program has one).
TResStringer* g_installed = nullptr;

bool InstalledTranslator(int id, std::string& text) {
  return g_installed != nullptr && g_installed->Translate(id, text);
}

// Decimal text to a signed 32-bit number: optional sign, digits, nothing else.
bool ParseIdentifier(std::u16string_view text, std::int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return false;
  std::int64_t number = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    number = number * 10 + (text[i] - u'0');
    if (number > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  if (negative) number = -number;
  if (number > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

std::string Quoted(std::string_view line) {
  return "\"" + std::string(line) + "\"";
}

}  // namespace

TResStringer::TResStringer(TLocalizer& owner) : owner_(owner), previous_(g_installed) {
  g_installed = this;
  SetResourceStringTranslator(&InstalledTranslator);
  SetEnabled(true);
}

TResStringer::~TResStringer() {
  SetEnabled(false);
  if (g_installed == this) {
    g_installed = previous_;
    if (g_installed == nullptr) SetResourceStringTranslator({});
    return;
  }
  for (TResStringer* later = g_installed; later != nullptr; later = later->previous_) {
    if (later->previous_ == this) {
      later->previous_ = previous_;
      break;
    }
  }
}

void TResStringer::SetEnabled(bool Value) {
  enabled_ = Value;
}

void TResStringer::ReadResourceStrings(std::span<const std::string_view> Lines, std::size_t& Index,
                                       bool Humanized, std::u16string_view CRSubstitute,
                                       std::u16string_view CRLFSubstitute) {
  const bool was_enabled = enabled_;
  SetEnabled(false);
  if (table_) {
    table_->clear();
  } else {
    table_.emplace();
  }
  for (; Index < Lines.size(); ++Index) {
    const std::string_view line = Lines[Index];
    if (line.empty() || line.front() == ';') continue;
    std::optional<std::u16string> decoded = Utf8ToUtf16Strict(line);
    if (!decoded) {
      owner_.ReportError("Bad UTF-8 line in language file:\r\n" + Quoted(line) +
                         "\r\nCheck file encoding!");
      continue;
    }
    std::u16string text = std::move(*decoded);
    if (text.front() == u'(') {
      if (text.starts_with(u"(x)")) {
        owner_.ReportError("Obsolete line in language file:\r\n" + Quoted(line) +
                           "\r\nYou have to delete it!");
      } else if (text.starts_with(u"(!)")) {
        owner_.ReportError("Untranslated line in language file:\r\n" + Quoted(line) +
                           "\r\nYou have to translate it!");
      }
      continue;
    }
    if (text.front() == u'[') break;
    const std::u16string id_text = SplitHeadW(text, u"_");
    std::int32_t identifier = 0;
    // A line whose identifier does not convert is skipped: stored under a number made up
    // from its digits it could also break the ascending order the search relies on.
    if (!ParseIdentifier(id_text, identifier)) {
      owner_.ReportError("Bad resource ID in language file: " + Quoted(Utf16ToUtf8(id_text)));
      continue;
    }
    SplitHeadW(text, u"=");
    const std::u16string value =
        DecodeValue(text, Humanized, CRSubstitute, CRLFSubstitute, u"\r\n");
    table_->push_back(Entry{Utf16ToUtf8(value), identifier});
  }
  SetEnabled(was_enabled && !table_->empty());
}

bool TResStringer::TryGetString(std::int32_t Identifier, std::string& Text) const {
  if (!table_ || table_->empty()) return false;
  const std::vector<Entry>& table = *table_;
  std::size_t low = 0;
  std::size_t high = table.size() - 1;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (table[middle].Identifier < Identifier) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (table[low].Identifier != Identifier) return false;
  Text = table[low].Text;
  return true;
}

bool TResStringer::Translate(std::int32_t Identifier, std::string& Text) const {
  if (!enabled_ || Identifier >= 0x10000) return false;
  return TryGetString(Identifier, Text);
}

}  // namespace velmora::localizer
