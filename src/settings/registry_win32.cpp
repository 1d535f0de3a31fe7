#include "settings/registry_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/text.h"
#include "core/handles_win32.h"

namespace velmora::settings {
namespace {

struct CloseKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = UniqueHandle<HKEY, CloseKey>;

// The settings only read and write values; they never enumerate or make sub-keys through an
// open key, so they ask for no more than that (a key of a policy-restricted user may allow
// no more).
constexpr REGSAM kAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

// The text of a REG_SZ or REG_EXPAND_SZ value. The registry stores whatever bytes the writer
// gave: the terminator may be missing, the byte count odd, and text may follow a NUL. The
// text ends at the first NUL or at the last whole UTF-16 unit. An expandable string is not
// expanded: the settings store only plain text, and this one is returned as written.
std::string TextOf(const std::vector<std::uint8_t>& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  text.resize(std::wstring_view(text.c_str()).size());
  return Narrow(text);
}

ValueType TypeOf(DWORD type) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return ValueType::kString;
    case REG_DWORD:
      return ValueType::kDword;
    case REG_BINARY:
      return ValueType::kBinary;
    default:
      return ValueType::kOther;
  }
}

class Win32Key final : public RegistryKey {
 public:
  explicit Win32Key(OwnedKey key) : key_(std::move(key)) {}

  bool HasValue(std::string_view name) const override {
    return RegQueryValueExW(key_.Get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  std::optional<RegistryValue> Read(std::string_view name) const override {
    const std::wstring wide = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key_.Get(), wide.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    // Another program may rewrite the value between asking its size and reading it; a value
    // that grew meanwhile answers ERROR_MORE_DATA with its new size. The buffer is never
    // empty, so that a value that was empty when measured cannot be "read" into no buffer
    // (which only measures it again).
    std::vector<std::uint8_t> bytes;
    LSTATUS status;
    do {
      bytes.resize(std::max<DWORD>(size, 1));
      size = static_cast<DWORD>(bytes.size());
      status = RegQueryValueExW(key_.Get(), wide.c_str(), nullptr, &type, bytes.data(), &size);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);

    RegistryValue value;
    value.type = TypeOf(type);
    if (value.type == ValueType::kString) {
      value.text = TextOf(bytes);
    } else {
      value.data = std::move(bytes);
    }
    return value;
  }

  bool WriteString(std::string_view name, std::string_view text) override {
    // REG_SZ with its terminator, as readers that trust the stored size expect.
    const std::wstring wide = Widen(text);
    return Set(name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  }

  bool WriteDword(std::string_view name, std::uint32_t value) override {
    const RegistryValue dword = DwordValue(value);
    return Set(name, REG_DWORD, dword.data.data(), dword.data.size());
  }

  bool WriteBinary(std::string_view name, std::span<const std::uint8_t> bytes) override {
    return Set(name, REG_BINARY, bytes.data(), bytes.size());
  }

  bool DeleteValue(std::string_view name) override {
    return RegDeleteValueW(key_.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  bool Set(std::string_view name, DWORD type, const void* data, std::size_t size) {
    if (size > std::numeric_limits<DWORD>::max()) return false;
    return RegSetValueExW(key_.Get(), Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }

  OwnedKey key_;
};

// The key a RegCreateKeyExW or RegOpenKeyExW gave, or null when it failed.
std::unique_ptr<RegistryKey> Opened(LSTATUS status, HKEY key) {
  if (status != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32Key>(OwnedKey(key));
}

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(std::string_view path) {
  HKEY key = nullptr;
  // RegCreateKeyExW makes every missing level of the path, not just the last.
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, kAccess, nullptr, &key, nullptr);
  return Opened(status, key);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(std::string_view path) {
  HKEY key = nullptr;
  const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, kAccess, &key);
  return Opened(status, key);
}

}  // namespace velmora::settings
