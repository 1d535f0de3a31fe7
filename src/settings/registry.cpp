#include "settings/registry.h"

#include <utility>

#include "core/text.h"

namespace velmora::settings {

RegistryValue DwordValue(std::uint32_t value) {
  return {ValueType::kDword,
          {},
          {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
           static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

const RegistryValue* MemoryRegistry::Key::Find(std::string_view name) const {
  for (const auto& [value_name, value] : values) {
    if (AsciiEqualNoCase(value_name, name)) return &value;
  }
  return nullptr;
}

RegistryValue* MemoryRegistry::Key::Find(std::string_view name) {
  return const_cast<RegistryValue*>(std::as_const(*this).Find(name));
}

std::string MemoryRegistry::Fold(std::string_view text) {
  return AsciiLower(text);
}

MemoryRegistry::Key* MemoryRegistry::FindKey(std::string_view path) {
  const auto it = keys_.find(Fold(path));
  return it == keys_.end() ? nullptr : &it->second;
}

const MemoryRegistry::Key* MemoryRegistry::FindKey(std::string_view path) const {
  const auto it = keys_.find(Fold(path));
  return it == keys_.end() ? nullptr : &it->second;
}

class MemoryRegistry::OpenedKey final : public RegistryKey {
 public:
  OpenedKey(MemoryRegistry& registry, std::string path)
      : registry_(registry), path_(std::move(path)) {}

  bool HasValue(std::string_view name) const override { return Key().Find(name) != nullptr; }

  std::optional<RegistryValue> Read(std::string_view name) const override {
    const RegistryValue* value = Key().Find(name);
    if (!value) return std::nullopt;
    return *value;
  }

  bool WriteString(std::string_view name, std::string_view text) override {
    return Store(name, {ValueType::kString, std::string(text), {}});
  }
  bool WriteDword(std::string_view name, std::uint32_t value) override {
    return Store(name, DwordValue(value));
  }
  bool WriteBinary(std::string_view name, std::span<const std::uint8_t> bytes) override {
    return Store(name, {ValueType::kBinary, {}, {bytes.begin(), bytes.end()}});
  }

  bool DeleteValue(std::string_view name) override {
    auto& values = Key().values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (AsciiEqualNoCase(it->first, name)) {
        values.erase(it);
        return true;
      }
    }
    return false;
  }

 private:
  MemoryRegistry::Key& Key() const { return registry_.keys_[Fold(path_)]; }

  bool Store(std::string_view name, RegistryValue value) {
    if (registry_.failing_names_.contains(Fold(name))) return false;
    registry_.Set(path_, name, std::move(value));
    return true;
  }

  MemoryRegistry& registry_;
  std::string path_;
};

std::unique_ptr<RegistryKey> MemoryRegistry::CreateKey(std::string_view path) {
  if (failing_keys_.contains(Fold(path))) return nullptr;
  // Every level of the path exists afterwards, as RegCreateKeyEx leaves it.
  for (std::size_t at = path.find('\\'); at != std::string_view::npos;
       at = path.find('\\', at + 1)) {
    keys_[Fold(path.substr(0, at))];
  }
  keys_[Fold(path)];
  return std::make_unique<OpenedKey>(*this, std::string(path));
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(std::string_view path) {
  if (failing_keys_.contains(Fold(path)) || !FindKey(path)) return nullptr;
  return std::make_unique<OpenedKey>(*this, std::string(path));
}

void MemoryRegistry::Set(std::string_view key, std::string_view name, RegistryValue value) {
  Key& k = keys_[Fold(key)];
  writes_.push_back({std::string(key), std::string(name)});
  if (RegistryValue* existing = k.Find(name)) {
    *existing = std::move(value);
  } else {
    k.values.emplace_back(std::string(name), std::move(value));
  }
}

void MemoryRegistry::SetString(std::string_view key, std::string_view name, std::string_view text) {
  Set(key, name, {ValueType::kString, std::string(text), {}});
}

void MemoryRegistry::SetDword(std::string_view key, std::string_view name, std::uint32_t value) {
  Set(key, name, DwordValue(value));
}

void MemoryRegistry::SetBinary(std::string_view key, std::string_view name,
                               std::vector<std::uint8_t> bytes) {
  Set(key, name, {ValueType::kBinary, {}, std::move(bytes)});
}

const RegistryValue* MemoryRegistry::Get(std::string_view key, std::string_view name) const {
  const Key* k = FindKey(key);
  return k ? k->Find(name) : nullptr;
}

bool MemoryRegistry::KeyExists(std::string_view key) const {
  return FindKey(key) != nullptr;
}

std::vector<std::string> MemoryRegistry::ValueNames(std::string_view key) const {
  std::vector<std::string> names;
  if (const Key* k = FindKey(key)) {
    for (const auto& [name, value] : k->values) names.push_back(name);
  }
  return names;
}

}  // namespace velmora::settings
