// velmora-lngcheck FILE: loads a language file the way Velmora does and prints what a
// translator needs to see.
// velmora-lngcheck --template: prints a complete language file to start a translation from.
// velmora-lngcheck --coverage FILE: names what FILE leaves untranslated and what of it does
// not apply to the program's forms (exit status 0 when nothing, 1 otherwise).
//
// The output format of the first form is described in README.md ("Checking a language
// file") and is kept stable:
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
#include <vector>

#include "gui/application.h"
#include "localizer/localizer.h"
#include "localizer/translation_template.h"
#include "settings/frm_translation_details.h"
#include "tracking/fake_process_inspector.h"
#include "tracking/usage_ledger.h"
#include "ui/frm_main.h"

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

// The program's two forms as they are designed, without windows.
class DesignedForms {
 public:
  DesignedForms() {
    velmora::ui::TfrmMainServices services;
    services.ledger = &ledger_;
    services.inspector = &inspector_;
    velmora::ui::TfrmMain::SetServices(std::move(services));
    forms_ = {&application_.CreateForm<velmora::ui::TfrmMain>(),
              &application_.CreateForm<velmora::settings::TfrmTranslationDetails>()};
  }
  ~DesignedForms() { velmora::ui::TfrmMain::SetServices({}); }
  std::span<velmora::gui::TComponent* const> Forms() const { return forms_; }

 private:
  velmora::tracking::UsageLedger ledger_;
  velmora::tracking::FakeProcessInspector inspector_;
  velmora::gui::TApplication application_;
  std::vector<velmora::gui::TComponent*> forms_;
};

int PrintTemplate(std::ostream& out) {
  const DesignedForms designed;
  const std::vector<const velmora::gui::TComponent*> forms(designed.Forms().begin(),
                                                           designed.Forms().end());
  out << velmora::localizer::LanguageTemplate(forms);
  out.flush();
  return 0;
}

int CheckCoverage(const std::string& file_name, std::ostream& out) {
  TLocalizer engine;
  engine.ErrorMode = velmora::localizer::emCollect;
  engine.LoadLanguageFile(file_name);
  out << "file: " << engine.FullPath(file_name) << "\n";
  if (engine.LanguageFile().empty()) {
    out << "loaded: no\n";
    for (const std::string& message : engine.Errors) out << Escaped(message) << "\n";
    return 1;
  }
  const DesignedForms designed;
  const velmora::localizer::Coverage coverage =
      velmora::localizer::CheckCoverage(engine, designed.Forms());
  out << "untranslated: " << coverage.untranslated.size() << "\n";
  for (const std::string& item : coverage.untranslated) out << item << "\n";
  const std::size_t problems = engine.Errors.size() + coverage.problems.size();
  out << "problems: " << problems << "\n";
  for (const std::string& message : engine.Errors) out << Escaped(message) << "\n";
  for (const std::string& message : coverage.problems) out << Escaped(message) << "\n";
  out.flush();
  return coverage.untranslated.empty() && problems == 0 ? 0 : 1;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--template") return PrintTemplate(std::cout);
  if (args.size() == 2 && args[0] == "--coverage" && !args[1].empty()) {
    return CheckCoverage(args[1], std::cout);
  }
  if (args.size() == 1 && !args[0].empty() && !args[0].starts_with("--")) {
    return Check(args[0], std::cout);
  }
  std::cerr << "usage: velmora-lngcheck FILE\n"
               "       velmora-lngcheck --template\n"
               "       velmora-lngcheck --coverage FILE\n"
               "Loads a Velmora language file and prints its problems, sections and "
               "resource strings;\nprints a template for a new language; or names what a "
               "file leaves untranslated.\n";
  return 2;
}

}  // namespace

#ifdef _WIN32
// Arguments arrive as UTF-16 so that any file name works; the output is written in binary
// mode, so that it is the same bytes as on other platforms (no LF to CR LF translation).
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(velmora::Narrow(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) {
  return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
