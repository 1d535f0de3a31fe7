// The registry as the settings need it: keys under HKEY_CURRENT_USER, opened (and created
// when missing) by path, and values read and written by name. Two implementations: the real
// registry (registry_win32.h) and MemoryRegistry, which the native tests use and which can be
// told to fail, so that every rule of the settings store is tested without Windows.
//
// Text is UTF-8 here; the Windows implementation converts at its boundary. Value names are
// matched without regard to ASCII case, as the registry does.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::settings {

enum class ValueType { kString, kDword, kBinary, kOther };

struct RegistryValue {
  ValueType type = ValueType::kOther;
  std::string text;                // kString: the text (UTF-8), without its terminator
  std::vector<std::uint8_t> data;  // every other type: the bytes as stored
};

// A REG_DWORD value: four bytes, little-endian.
RegistryValue DwordValue(std::uint32_t value);

// An open key; destroying it closes the key.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool HasValue(std::string_view name) const = 0;
  // Nothing when the value does not exist or cannot be read.
  virtual std::optional<RegistryValue> Read(std::string_view name) const = 0;
  // False when the value could not be written.
  virtual bool WriteString(std::string_view name, std::string_view text) = 0;
  virtual bool WriteDword(std::string_view name, std::uint32_t value) = 0;
  virtual bool WriteBinary(std::string_view name, std::span<const std::uint8_t> bytes) = 0;
  // False when the value could not be deleted (also when it does not exist).
  virtual bool DeleteValue(std::string_view name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key at `path` (below HKEY_CURRENT_USER, levels separated by '\'), creating it
  // and its missing parents; null when that fails.
  virtual std::unique_ptr<RegistryKey> CreateKey(std::string_view path) = 0;
  // Opens an existing key; null when it does not exist or cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenKey(std::string_view path) = 0;
  // The root's name as messages show it.
  static constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
};

// --- MemoryRegistry -----------------------------------------------------------------------------

// An in-memory registry. Keys and value names compare without regard to ASCII case; values
// keep the order in which they were first written. It records every write, in order, and can
// be told to refuse creating a key or writing a value.
class MemoryRegistry final : public Registry {
 public:
  struct Write {
    std::string key;
    std::string name;
    bool operator==(const Write&) const = default;
  };
  struct Key {
    std::vector<std::pair<std::string, RegistryValue>> values;
    const RegistryValue* Find(std::string_view name) const;
    RegistryValue* Find(std::string_view name);
  };

  std::unique_ptr<RegistryKey> CreateKey(std::string_view path) override;
  std::unique_ptr<RegistryKey> OpenKey(std::string_view path) override;

  // Direct access for tests.
  void Set(std::string_view key, std::string_view name, RegistryValue value);
  void SetString(std::string_view key, std::string_view name, std::string_view text);
  void SetDword(std::string_view key, std::string_view name, std::uint32_t value);
  void SetBinary(std::string_view key, std::string_view name, std::vector<std::uint8_t> bytes);
  const RegistryValue* Get(std::string_view key, std::string_view name) const;
  bool KeyExists(std::string_view key) const;
  // The value names of `key` in the order of their first writing.
  std::vector<std::string> ValueNames(std::string_view key) const;
  const std::vector<Write>& Writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }

  // Failures to simulate: creating (or opening) this key, writing this value name.
  void FailCreating(std::string_view key) { failing_keys_.insert(Fold(key)); }
  void FailWriting(std::string_view name) { failing_names_.insert(Fold(name)); }

 private:
  class OpenedKey;
  static std::string Fold(std::string_view text);
  Key* FindKey(std::string_view path);
  const Key* FindKey(std::string_view path) const;

  std::map<std::string, Key> keys_;  // by folded path
  std::vector<Write> writes_;
  std::set<std::string> failing_keys_;
  std::set<std::string> failing_names_;
};

}  // namespace velmora::settings
