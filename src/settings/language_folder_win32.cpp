#include "settings/language_folder_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "core/text.h"
#include "core/handles_win32.h"

namespace velmora::settings {
namespace {

struct CloseFind {
  void operator()(HANDLE find) const { FindClose(find); }
};
using FindHandle = UniqueHandle<HANDLE, CloseFind>;

// The search also matches each file's 8.3 short name: on volumes that make short names,
// "*.LNG" finds "x.lngx" too (short name "X~1.LNG"). Only a long name that itself
// ends in ".lng" is a language file.
bool HasLanguageExtension(std::string_view name) {
  constexpr std::string_view kExtension = ".lng";
  return name.size() >= kExtension.size() &&
         AsciiEqualNoCase(name.substr(name.size() - kExtension.size()), kExtension);
}

}  // namespace

std::vector<std::string> Win32LanguageFolder::FindLanguageFiles(const std::string& folder) const {
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += "*.LNG";  // the system matches names without regard to case

  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  // FindExInfoBasic: the short names are not needed, and not filling them in is cheaper.
  const FindHandle find(NullIfInvalid(FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic,
                                                       &found, FindExSearchNameMatch, nullptr, 0)));
  if (!find) return names;  // no such folder, or no file matches
  do {
    // Read-only, hidden, system and archived files are language files like any other.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string name = Narrow(found.cFileName);
    if (HasLanguageExtension(name)) names.push_back(std::move(name));
  } while (FindNextFileW(find.Get(), &found));
  return names;
}

std::optional<std::string> Win32LanguageFolder::ReadFile(const std::string& path,
                                                         std::size_t max_bytes) const {
  // Sharing everything: a language file open in an editor, or being replaced, is still read.
  const KernelHandle file(NullIfInvalid(CreateFileW(
      Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > max_bytes) {
    return std::nullopt;
  }
  // The size taken above bounds the read: a file that grows meanwhile is read no further, and
  // one that shrinks ends the read early.
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, wanted, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace velmora::settings
