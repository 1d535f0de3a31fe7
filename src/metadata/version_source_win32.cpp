#include "metadata/version_source_win32.h"

#include <windows.h>

#include "core/text.h"
#include "core/wow64_win32.h"
#include "metadata/pe_version_reader.h"

namespace velmora {
namespace {

std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  if (message.empty()) return "system error " + std::to_string(code);
  return Narrow(message);
}

[[noreturn]] void Fail(const std::string& file_name, const std::string& reason) {
  throw EVersionInfoError(file_name + ": " + reason);
}

}  // namespace

std::vector<std::uint8_t> Win32VersionSource::ReadBlock(const std::string& file_name) const {
  const std::wstring wide = Widen(file_name);
  ScopedWow64RedirectionOff redirection_off;
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (file_name.empty()) Fail(file_name, "no file name");
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes)) {
    Fail(file_name, SystemMessage(GetLastError()));
  }
  // Wine's version services (and perhaps others) copy the resource through the address its
  // directory entry gives, unchecked, and fault on a damaged file. The portable parser checks
  // exactly that with a few bounded reads, so a damaged PE file is refused before they see
  // it; files it merely does not understand (16-bit executables) are left to them.
  try {
    FileByteSource file(file_name);
    ReadPeVersionResource(file);
  } catch (const EDamagedPeFile& damaged) {
    Fail(file_name, damaged.what());
  } catch (const EVersionInfoError&) {
  }
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &handle);
  if (size == 0) Fail(file_name, SystemMessage(GetLastError()));
  // The services report about twice the resource's size (they make room for converting the
  // block). A resource entry with an absurd size makes them report more than any block of
  // this file could need; allocating that would fail or exhaust a 32-bit address space.
  const ULONGLONG file_size = (ULONGLONG{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
  if (size > 2 * file_size + 16) Fail(file_name, "the version resource is larger than the file");
  std::vector<std::uint8_t> block(size);
  if (!GetFileVersionInfoW(wide.c_str(), handle, size, block.data())) {
    Fail(file_name, SystemMessage(GetLastError()));
  }
  return block;
}

std::optional<VersionValue> Win32VersionSource::Query(std::span<const std::uint8_t> block,
                                                      std::string_view sub_block) const {
  if (block.empty()) return std::nullopt;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), Widen(sub_block).c_str(), &value, &length) || !value) {
    return std::nullopt;
  }
  // The services answer with a pointer into the block; one outside it is not to be read.
  const auto* data = static_cast<const std::uint8_t*>(value);
  if (data < block.data() || data > block.data() + block.size()) return std::nullopt;
  return VersionValue{data, length};
}

std::string Win32ModuleLocator::OwnExecutablePath() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string Win32ModuleLocator::ResolveModuleName(const std::string& name) const {
  if (name.empty() || name.find_first_of("\\/:") != std::string::npos) return name;
  const std::wstring wide = Widen(name);
  ScopedWow64RedirectionOff redirection_off;
  std::wstring found(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = SearchPathW(nullptr, wide.c_str(), nullptr,
                                     static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0) return name;
    if (length < found.size()) {
      found.resize(length);
      return Narrow(found);
    }
    found.resize(length);
  }
}

}  // namespace velmora
