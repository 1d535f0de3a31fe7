#include "tracking/usage_ledger.h"

#include <algorithm>

#include "core/text.h"

namespace velmora::tracking {

// Names are compared in their A-Z-lowered form, byte for byte. The comparison the ledger
// once used, case-insensitive under the user's locale, would make the identity of an
// entry depend on the locale the user happens to run (Turkish dotted and dotless i, for
// one) and could not be hashed; the Applications page and the running-process checks
// already match names by A-Z lowering and bytes, so the ledger now agrees with them. Names
// that differ only in the case of a non-ASCII letter are separate entries.
std::string UsageLedger::KeyOf(std::string_view name) {
  return AsciiLower(name);
}

std::optional<std::size_t> UsageLedger::IndexOf(std::string_view name) const {
  if (name.empty()) return std::nullopt;
  const auto it = index_.find(KeyOf(name));
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

void UsageLedger::AddProcessTime(std::string_view name, std::int64_t seconds) {
  if (name.empty()) return;
  std::string key = KeyOf(name);
  const auto it = index_.find(key);
  const std::int64_t before = it == index_.end() ? 0 : seconds_[it->second];
  // Saturate: a total beyond 32 bits would otherwise wrap to a negative time.
  const std::int64_t sum = before + std::clamp<std::int64_t>(seconds, -kMaxSeconds, kMaxSeconds);
  const auto total = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, kMaxSeconds));
  if (it != index_.end()) {
    seconds_[it->second] = total;
    return;
  }
  index_.emplace(key, names_.size());
  names_.push_back(std::move(key));
  seconds_.push_back(total);
}

std::int32_t UsageLedger::GetProcessTime(std::string_view name) const {
  const auto i = IndexOf(name);
  return i ? seconds_[*i] : 0;
}

}  // namespace velmora::tracking
