// The single-instance guard's shared data, apart from the kernel objects that hold it:
// the identity key of an executable path, the names derived from it, and the instance table
// that all copies of one executable share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora::ui {

// Names of the guard's objects for one executable. Every copy started from the same path
// (in any letter case) derives the same names.
struct InstanceNames {
  std::u16string key;         // "Vlm" + upper-cased path, backslashes as underscores
  std::u16string table;       // key + "_Map": the shared instance table
  std::u16string lock;        // key + "_Otx": the inter-process lock's name
  std::u16string lock_event;  // "Lock_Event_" + lock
  std::u16string lock_block;  // "Lock_MMF_" + lock
  std::u16string message;     // key + "_Msg": the registered window message
};

// Kernel object names are limited to MAX_PATH characters.
inline constexpr std::size_t kMaxObjectName = 260;

// Derives the names from the executable's full path, already upper-cased (by the user's
// locale, which only Windows knows). When the longest name would exceed the limit, the key
// keeps "Vlm", the path's last characters for readability, and a 128-bit SHA-256 digest of
// the whole upper-cased path, so that distinct paths still get distinct names.
InstanceNames DeriveInstanceNames(std::u16string_view upper_case_path);

// The instance table: 1032 bytes, little-endian.
//   u16 maximum   set to 65535 by the first copy that registers while it is 0
//   u16 count     registered copies
//   u32 ids[257]  their process identifiers in order of registration, without gaps
class InstanceTable {
 public:
  static constexpr std::size_t kSize = 1032;
  static constexpr std::size_t kSlots = 257;

  // Works on the caller's memory (the shared block), which must be kSize bytes.
  explicit InstanceTable(std::span<std::uint8_t, kSize> memory) : memory_(memory) {}

  std::uint16_t maximum() const { return Read16(0); }
  // The number of valid entries: the stored count, never more than there are slots (a
  // damaged or hostile count must not lead reads out of the block).
  std::size_t count() const;
  std::uint32_t id(std::size_t index) const { return Read32(4 + 4 * index); }
  std::vector<std::uint32_t> ids() const;

  struct Registration {
    bool registered;           // false when every slot was taken
    std::size_t count_before;  // the count seen before this registration
  };
  // Sets the maximum on first use, appends `process_id`.
  Registration Register(std::uint32_t process_id);

  // Removes every entry of `process_id` and closes the gap. Returns whether one was found.
  bool Unregister(std::uint32_t process_id);

  // Removes the entries for which `remove` answers true (used for copies that ended
  // without unregistering: a crash or a kill) and closes the gaps. Returns how many went.
  template <typename Predicate>
  std::size_t RemoveIf(Predicate remove);

 private:
  std::uint16_t Read16(std::size_t at) const;
  std::uint32_t Read32(std::size_t at) const;
  void Write16(std::size_t at, std::uint16_t value);
  void Write32(std::size_t at, std::uint32_t value);
  void Store(const std::vector<std::uint32_t>& ids);

  std::span<std::uint8_t, kSize> memory_;
};

template <typename Predicate>
std::size_t InstanceTable::RemoveIf(Predicate remove) {
  std::vector<std::uint32_t> kept;
  const auto all = ids();
  for (const std::uint32_t id : all) {
    if (!remove(id)) kept.push_back(id);
  }
  if (kept.size() != all.size()) Store(kept);
  return all.size() - kept.size();
}

// The command-line hand-over's data: each argument followed by CR LF, as UTF-16.
std::u16string JoinHandOverArguments(const std::vector<std::u16string>& arguments);

}  // namespace velmora::ui
