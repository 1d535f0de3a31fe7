#include <windows.h>

#include <cstdio>
#include <memory>

#include "core/text.h"
#include "localizer/platform.h"
#include "localizer/string_utils.h"

namespace velmora::localizer {

std::string WideToAnsiCP(std::u16string_view Text, std::int32_t CodePage) {
  if (Text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(Text.data());
  const int size = static_cast<int>(Text.size());
  const auto code_page = static_cast<UINT>(CodePage);
  const int length = WideCharToMultiByte(code_page, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide, size, out.data(), length, nullptr, nullptr);
  return out;
}

namespace platform {

void ShowErrorMessageBox(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), L"Parvek Error", MB_ICONERROR | MB_OK);
}

void WriteDebugOutput(const std::string& message) {
  OutputDebugStringW(Widen(message).c_str());
}

// The wide open function, so that a path outside the ANSI code page opens too.
std::FILE* OpenForReading(const std::string& path) { return _wfopen(Widen(path).c_str(), L"rb"); }

}  // namespace platform
}  // namespace velmora::localizer
