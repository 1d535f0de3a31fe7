// The rules of the Applications and Statistics pages that do not depend on any window:
// how times and details read, how rows sort, and what the chart shows. The pages apply them
// to their controls; tests apply them to plain values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::ui {

// hours:minutes:seconds, every field at least two digits, hours unbounded:
// 0 -> 00:00:00, 3661 -> 01:01:01, 360000 -> 100:00:00.
std::string FormatTimeText(std::int64_t seconds);

// What the details column of the Applications page shows. `None` is the state in which no
// option button is chosen (only stored settings can bring it about).
enum class DetailsMode { ExeDescription, ProductName, Company, Version, All, None };

// The four version texts the details column uses.
struct DetailsFields {
  std::string file_description;
  std::string company_name;
  std::string product_name;
  std::string product_version;
};

// The details text for a mode; nullopt for DetailsMode::None (no text is composed).
// All: "Description | Company | Product Version".
std::optional<std::string> ComposeDetailsText(DetailsMode mode, const DetailsFields& fields);

// Byte-string order: unsigned bytes, a proper prefix sorts first. -1, 0 or +1.
int CompareBytes(std::string_view a, std::string_view b);

// The header-click comparison: never reports equality. Ascending: +1 when a's key is
// greater (a goes after b), -1 otherwise; descending the other way round.
int HeaderClickCompare(std::string_view key_a, std::string_view key_b, bool descending);

// The automatic order by time text, descending: -1 when a's text is greater, +1 when
// smaller, 0 when equal. Compares text, so 100:00:00 sorts below 99:59:59.
int AutoSortCompare(std::string_view time_a, std::string_view time_b);

// The title of a chart series: at most 15 characters, longer ones cut to 15 and "..."
// appended. Counts characters, not UTF-8 bytes.
std::string ChartSeriesTitle(std::string_view description);

// Each entry's share of the total in percent, in ledger order. An empty vector when the
// total is 0 (nothing to draw; a share of nothing is undefined).
std::vector<double> SharesInPercent(const std::vector<std::int64_t>& seconds);

}  // namespace velmora::ui
