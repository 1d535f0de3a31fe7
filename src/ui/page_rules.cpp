#include "ui/page_rules.h"

#include "core/text.h"

namespace velmora::ui {
namespace {

void AppendTwoDigits(std::string& out, std::int64_t value) {
  if (value < 10) out.push_back('0');
  out += std::to_string(value);
}

}  // namespace

std::string FormatTimeText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  std::string text;
  AppendTwoDigits(text, seconds / 3600);
  text.push_back(':');
  AppendTwoDigits(text, seconds % 3600 / 60);
  text.push_back(':');
  AppendTwoDigits(text, seconds % 60);
  return text;
}

std::optional<std::string> ComposeDetailsText(DetailsMode mode, const DetailsFields& fields) {
  switch (mode) {
    case DetailsMode::ExeDescription:
      return fields.file_description;
    case DetailsMode::ProductName:
      return fields.product_name;
    case DetailsMode::Company:
      return fields.company_name;
    case DetailsMode::Version:
      return fields.product_version;
    case DetailsMode::All:
      // The company comes before the product name here, unlike the order of the choices.
      return fields.file_description + " | " + fields.company_name + " | " + fields.product_name +
             " " + fields.product_version;
    case DetailsMode::None:
      break;
  }
  return std::nullopt;
}

int CompareBytes(std::string_view a, std::string_view b) {
  // std::string_view compares with char_traits<char>, which compares as unsigned char.
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int HeaderClickCompare(std::string_view key_a, std::string_view key_b, bool descending) {
  const bool greater = CompareBytes(key_a, key_b) > 0;
  if (descending) return greater ? -1 : 1;
  return greater ? 1 : -1;
}

int AutoSortCompare(std::string_view time_a, std::string_view time_b) {
  return -CompareBytes(time_a, time_b);
}

std::string ChartSeriesTitle(std::string_view description) {
  constexpr std::size_t kMaxCharacters = 15;
  if (Utf8Length(description) <= kMaxCharacters) return std::string(description);
  return Utf8Prefix(description, kMaxCharacters) + "...";
}

std::vector<double> SharesInPercent(const std::vector<std::int64_t>& seconds) {
  std::int64_t total = 0;
  for (const std::int64_t s : seconds) total += s;
  if (total <= 0) return {};
  std::vector<double> shares;
  shares.reserve(seconds.size());
  for (const std::int64_t s : seconds) {
    shares.push_back(static_cast<double>(s) / static_cast<double>(total) * 100.0);
  }
  return shares;
}

}  // namespace velmora::ui
