// The usage ledger: seconds spent per executable name, kept in memory for the life of the
// process and never written anywhere.
//
// Entries are only ever appended, so an entry's index is fixed for the whole run and the
// order of entries is the order in which names were first credited; the Statistics page
// pairs its chart series with entries by index and relies on that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::tracking {

class UsageLedger {
 public:
  // The largest total an entry can hold: totals are 32-bit signed seconds (about 68 years).
  static constexpr std::int32_t kMaxSeconds = INT32_MAX;

  // The stored form of an executable name: A-Z lowered to a-z, every other byte unchanged.
  static std::string KeyOf(std::string_view name);

  // Credits `seconds` to `name`. An empty name is ignored. A name not yet in the ledger is
  // appended even when `seconds` is 0. The total saturates at kMaxSeconds instead of
  // wrapping to a negative number, and never drops below 0.
  void AddProcessTime(std::string_view name, std::int64_t seconds);

  // The total of `name`; 0 for an empty name or a name not in the ledger.
  std::int32_t GetProcessTime(std::string_view name) const;

  // The index of `name`'s entry, if it has one.
  std::optional<std::size_t> IndexOf(std::string_view name) const;

  // Read access by index, 0 <= i < Count(), for the pages.
  std::size_t Count() const { return names_.size(); }
  const std::string& Name(std::size_t i) const { return names_.at(i); }
  std::int32_t Seconds(std::size_t i) const { return seconds_.at(i); }
  // The total as decimal text ("125"), the form the pages have always shown it in.
  std::string SecondsText(std::size_t i) const { return std::to_string(Seconds(i)); }

 private:
  // Two parallel lists, index i of one belonging to index i of the other.
  std::vector<std::string> names_;
  std::vector<std::int32_t> seconds_;
  // Key -> index, so a tick finds its entry without comparing against every name. Keys
  // are unique, so the first match of a linear search and the indexed match coincide.
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace velmora::tracking
