#include <cstdio>
#include <iostream>
#include <memory>

#include "localizer/platform.h"
#include "localizer/string_utils.h"

#include "core/text.h"

namespace velmora::localizer {

// Without system code pages the "current" code pages stand for UTF-8, the program's narrow
// form; other code pages keep what they can certainly represent (see string_utils.h).
std::string WideToAnsiCP(std::u16string_view Text, std::int32_t CodePage) {
  constexpr std::int32_t kAcp = 0, kOemCp = 1, kThreadAcp = 3, kUtf8 = 65001, kLatin1 = 28591;
  if (CodePage == kUtf8 || CodePage == kAcp || CodePage == kOemCp || CodePage == kThreadAcp) {
    return Utf16ToUtf8(Text);
  }
  const char16_t highest = CodePage == kLatin1 ? 0xFF : 0x7F;
  std::string out;
  out.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const char16_t c = Text[i];
    // A surrogate pair is one character and becomes one default character.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 &&
        Text[i + 1] <= 0xDFFF) {
      ++i;
    }
    out.push_back(c <= highest ? static_cast<char>(c) : '?');
  }
  return out;
}

namespace platform {

void ShowErrorMessageBox(const std::string& message) {
  std::cerr << "Parvek Error: " << message << std::endl;
}

void WriteDebugOutput(const std::string& message) {
  std::cerr << message << std::endl;
}

std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

}  // namespace platform
}  // namespace velmora::localizer
