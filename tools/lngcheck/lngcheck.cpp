// velmora-lngcheck FILE: loads a language file the way Velmora does and prints what a
// translator needs to see. The output format is described in README.md ("Checking a
// language file") and is kept stable:
//
//   file: <path as opened>
//   problems: <n>
//   <each reported message exactly as reported, CR and LF included, then LF>
//   loaded: yes|no
//   sections: <n>
//   [<class name>]
//   <path>=<value>                 one line per entry, in file order
//   resourcestrings: <n>|none
//   <identifier>=<text>            one line per entry, in file order
//   interception: on|off
//
// Everything taken from the file (class names, paths, values, texts) is written with "\"
// as "\\", CR as "\r" and LF as "\n", so that each item stays on one line. The output is
// UTF-8 with LF line ends on every platform. Exit status: 0 when nothing was reported,
// 1 when something was, 2 for a wrong command line.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "localizer/localizer.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "core/text.h"
#endif

namespace {

using velmora::localizer::TLocalizer;

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

int Check(const std::string& file_name, std::ostream& out) {
  TLocalizer engine;
  engine.ErrorMode = velmora::localizer::emCollect;
  engine.LoadLanguageFile(file_name);

  out << "file: " << engine.FullPath(file_name) << "\n";
  out << "problems: " << engine.Errors.size() << "\n";
  for (const std::string& message : engine.Errors) out << message << "\n";
  out << "loaded: " << (engine.LanguageFile().empty() ? "no" : "yes") << "\n";
  out << "sections: " << engine.Sections().size() << "\n";
  for (const velmora::localizer::TResForm& section : engine.Sections()) {
    out << "[" << Escaped(section.SectionName) << "]\n";
    for (std::size_t i = 0; i < section.Paths.size(); ++i) {
      out << Escaped(section.Paths[i]) << "=" << Escaped(section.Values[i]) << "\n";
    }
  }
  const auto& table = engine.ResStringer().Table();
  if (table) {
    out << "resourcestrings: " << table->size() << "\n";
    for (const auto& entry : *table) out << entry.Identifier << "=" << Escaped(entry.Text) << "\n";
  } else {
    out << "resourcestrings: none\n";
  }
  out << "interception: " << (engine.ResStringer().Enabled() ? "on" : "off") << "\n";
  out.flush();
  return engine.Errors.empty() ? 0 : 1;
}

int Run(int argc, const std::string& file_name) {
  if (argc != 2 || file_name.empty()) {
    std::cerr << "usage: velmora-lngcheck FILE\n"
                 "Loads a Velmora language file and prints its problems, sections and "
                 "resource strings.\n";
    return 2;
  }
  return Check(file_name, std::cout);
}

}  // namespace

#ifdef _WIN32
// Arguments arrive as UTF-16 so that any file name works; the output is written in binary
// mode, so that it is the same bytes as on other platforms (no LF to CR LF translation).
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  return Run(argc, argc > 1 ? velmora::Narrow(argv[1]) : std::string());
}
#else
int main(int argc, char** argv) {
  return Run(argc, argc > 1 ? argv[1] : "");
}
#endif
