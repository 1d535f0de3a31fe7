#include "settings/ini_file.h"

#include "core/text.h"

namespace velmora::settings {

namespace {

// The system's profile functions hand out at most this many characters of a value.
constexpr std::size_t kMaxValueLength = 2047;

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::string IniSection::Get(std::string_view key, std::string_view fallback) const {
  for (const auto& [name, value] : entries_) {
    if (AsciiEqualNoCase(name, key)) return value;
  }
  return std::string(fallback);
}

void IniSection::Add(std::string key, std::string value) {
  entries_.emplace_back(std::move(key), std::move(value));
}

std::optional<IniSection> ReadIniSection(std::string_view content, std::string_view section) {
  if (content.find('\0') != std::string_view::npos) return std::nullopt;
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);

  IniSection values;
  enum class Where { kBefore, kInside, kAfter } where = Where::kBefore;
  while (!content.empty() && where != Where::kAfter) {
    const std::size_t end = content.find_first_of("\r\n");
    const std::string_view line = Trim(content.substr(0, end));
    if (end == std::string_view::npos) {
      content = {};
    } else {
      // CR LF is one line end.
      const std::size_t next = content.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
      content.remove_prefix(next);
    }

    if (line.starts_with('[')) {
      const std::size_t close = line.find(']');
      const std::string_view name =
          Trim(line.substr(1, close == std::string_view::npos ? close : close - 1));
      if (where == Where::kInside) {
        where = Where::kAfter;
      } else if (AsciiEqualNoCase(name, section)) {
        where = Where::kInside;
      }
      continue;
    }
    if (where != Where::kInside || line.empty() || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view value = Unquote(Trim(line.substr(equals + 1)));
    if (value.size() > kMaxValueLength) {
      // Cut on a character boundary: never half of a UTF-8 sequence.
      std::size_t cut = kMaxValueLength;
      while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
      value = value.substr(0, cut);
    }
    values.Add(std::string(Trim(line.substr(0, equals))), std::string(value));
  }
  return values;
}

}  // namespace velmora::settings
