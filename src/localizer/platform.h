// What the localization engine needs of the operating system: a modal error box, the
// debugger output and reading a file by its UTF-8 path. Windows (platform_win32.cpp) uses the
// system's own; elsewhere (platform_native.cpp) the first two write to standard error.
#pragma once

#include <cstdio>
#include <string>

namespace velmora::localizer::platform {

// A modal message box with the caption "Parvek Error", the error icon and an OK button.
void ShowErrorMessageBox(const std::string& message);

// The system debugger output (OutputDebugStringW on Windows).
void WriteDebugOutput(const std::string& message);

// Opens the file at `path` (UTF-8) for reading in binary mode; null when it cannot be opened.
std::FILE* OpenForReading(const std::string& path);

}  // namespace velmora::localizer::platform

namespace velmora::localizer::platform {

// What LanguageDir is joined to a file name with when it does not end in a separator.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace velmora::localizer::platform
