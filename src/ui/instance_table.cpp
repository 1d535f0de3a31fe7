#include "ui/instance_table.h"

#include "core/sha256.h"

namespace velmora::ui {

InstanceNames DeriveInstanceNames(std::u16string_view upper_case_path) {
  std::u16string path(upper_case_path);
  for (char16_t& c : path) {
    if (c == u'\\') c = u'_';
  }
  static constexpr std::u16string_view kLongestPrefix = u"Lock_Event_";
  static constexpr std::u16string_view kLongestSuffix = u"_Otx";
  std::u16string key = u"Vlm" + path;
  if (kLongestPrefix.size() + key.size() + kLongestSuffix.size() > kMaxObjectName) {
    // The digest is over the UTF-16 bytes of the path as the key holds it.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(path.data());
    std::u16string digest;
    for (const char c : Sha256Hex({bytes, path.size() * sizeof(char16_t)}, 16)) {
      digest.push_back(static_cast<char16_t>(c));
    }
    const std::size_t room =
        kMaxObjectName - kLongestPrefix.size() - kLongestSuffix.size() - 3 - 1 - digest.size();
    std::u16string tail = path.substr(path.size() - room);
    // Keep whole UTF-16 characters.
    if (!tail.empty() && tail.front() >= 0xDC00 && tail.front() <= 0xDFFF) tail.erase(0, 1);
    key = u"Vlm" + digest + u"_" + tail;
  }
  InstanceNames names;
  names.key = key;
  names.table = key + u"_Map";
  names.lock = key + u"_Otx";
  names.lock_event = u"Lock_Event_" + names.lock;
  names.lock_block = u"Lock_MMF_" + names.lock;
  names.message = key + u"_Msg";
  return names;
}

std::uint16_t InstanceTable::Read16(std::size_t at) const {
  return static_cast<std::uint16_t>(memory_[at] | memory_[at + 1] << 8);
}

std::uint32_t InstanceTable::Read32(std::size_t at) const {
  return std::uint32_t{memory_[at]} | std::uint32_t{memory_[at + 1]} << 8 |
         std::uint32_t{memory_[at + 2]} << 16 | std::uint32_t{memory_[at + 3]} << 24;
}

void InstanceTable::Write16(std::size_t at, std::uint16_t value) {
  memory_[at] = static_cast<std::uint8_t>(value);
  memory_[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void InstanceTable::Write32(std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) memory_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::size_t InstanceTable::count() const {
  const std::size_t stored = Read16(2);
  return stored < kSlots ? stored : kSlots;
}

std::vector<std::uint32_t> InstanceTable::ids() const {
  std::vector<std::uint32_t> result;
  const std::size_t n = count();
  result.reserve(n);
  for (std::size_t i = 0; i < n; ++i) result.push_back(id(i));
  return result;
}

void InstanceTable::Store(const std::vector<std::uint32_t>& ids) {
  for (std::size_t i = 0; i < kSlots; ++i) Write32(4 + 4 * i, i < ids.size() ? ids[i] : 0);
  Write16(2, static_cast<std::uint16_t>(ids.size()));
}

InstanceTable::Registration InstanceTable::Register(std::uint32_t process_id) {
  if (maximum() == 0) Write16(0, 0xFFFF);
  const std::size_t before = count();
  if (before >= kSlots) return {false, before};
  Write32(4 + 4 * before, process_id);
  Write16(2, static_cast<std::uint16_t>(before + 1));
  return {true, before};
}

bool InstanceTable::Unregister(std::uint32_t process_id) {
  return RemoveIf([process_id](std::uint32_t id) { return id == process_id; }) > 0;
}

std::u16string JoinHandOverArguments(const std::vector<std::u16string>& arguments) {
  std::u16string data;
  for (const auto& argument : arguments) data += argument + u"\r\n";
  return data;
}

}  // namespace velmora::ui
