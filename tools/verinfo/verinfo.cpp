// velmora-verinfo FILE: prints the version-information record Velmora reads from FILE, one
// field per line as "Name: value", or one line "error: <reason>" and exit code 1. It shows
// users and translators why an application is listed by its file name instead of its
// description.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "metadata/platform_version.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "core/text.h"
#endif

namespace {

// Control characters would break the one-line-per-field layout.
std::string Printable(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Hex(std::uint32_t value, int digits, bool prefix) {
  char text[16];
  std::snprintf(text, sizeof text, prefix ? "0x%0*X" : "%0*X", digits, value);
  return text;
}

// UTF-8 to the console as UTF-16, so that any text shows whatever the console's code page;
// to a pipe or file as UTF-8 bytes with plain line feeds.
void Print(const std::string& text) {
#ifdef _WIN32
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = velmora::Widen(text);
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
#endif
  std::fwrite(text.data(), 1, text.size(), stdout);
}

int Run(const std::string& file) {
  velmora::TDWFileInfo info;
  try {
    velmora::ReadFileInfo(file, info);
  } catch (const std::exception& error) {
    Print(std::string("error: ") + Printable(error.what()) + "\n");
    return 1;
  }
  const velmora::VsFixedFileInfo& f = info.FixedInfo;
  const struct {
    const char* name;
    std::uint32_t value;
  } fixed[] = {
      {"Signature", f.dwSignature},
      {"StrucVersion", f.dwStrucVersion},
      {"FileVersionMS", f.dwFileVersionMS},
      {"FileVersionLS", f.dwFileVersionLS},
      {"ProductVersionMS", f.dwProductVersionMS},
      {"ProductVersionLS", f.dwProductVersionLS},
      {"FileFlagsMask", f.dwFileFlagsMask},
      {"FileFlags", f.dwFileFlags},
      {"FileOS", f.dwFileOS},
      {"FileType", f.dwFileType},
      {"FileSubtype", f.dwFileSubtype},
      {"FileDateMS", f.dwFileDateMS},
      {"FileDateLS", f.dwFileDateLS},
  };
  std::string out;
  for (const auto& field : fixed) {
    out += std::string(field.name) + ": " + Hex(field.value, 8, true) + "\n";
  }
  out += "Language: " + Hex(info.Language, 4, false) + "\n";
  out += "CodePage: " + Hex(info.CodePage, 4, false) + "\n";
  for (const velmora::VersionTextField& field : velmora::kVersionTextFields) {
    out += std::string(field.name) + ": " + Printable(info.*field.field) + "\n";
  }
  Print(out);
  return 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc != 2) {
    std::fputs("usage: velmora-verinfo FILE\n", stderr);
    return 2;
  }
  return Run(velmora::Narrow(argv[1]));
}
#else
int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: velmora-verinfo FILE\n", stderr);
    return 2;
  }
  return Run(argv[1]);
}
#endif
