// The localization engine (uLocalizer): reads a language file, keeps its component
// sections, hands its [RESOURCESTRINGS] block to the resource-string table and reports the
// problems it finds in one of five error modes.
//
// Language files come from translators, not from us: any file gives reports, never a crash,
// and a file longer than kMaxLanguageFileSize is reported as unreadable instead of loaded.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "localizer/res_stringer.h"
#include "localizer/string_utils.h"

namespace velmora::localizer {

// Raised by ReportError in emRaise mode (and by the loader's wrapping of it).
class EParvekError : public Exception {
 public:
  using Exception::Exception;
};

// Signals, inside component translation, a path that names no property. Never leaves the
// engine.
class EParvekSilentError : public EParvekError {
 public:
  EParvekSilentError() : EParvekError("") {}
};

enum TErrorMode { emIgnore = 0, emMessageBox = 1, emRaise = 2, emDebugOutput = 3, emCollect = 4 };

// One component section: the class name from its header and its entries in file order
// (Paths[i] and Values[i] form one entry; values are decoded UTF-8 text).
struct TResForm {
  std::string SectionName;
  std::vector<std::string> Paths;
  std::vector<std::string> Values;
};

// Far beyond any real language file (a few hundred kilobytes), small enough that the lines,
// their sections and the collected reports of a hostile file fit a 32-bit process.
inline constexpr std::size_t kMaxLanguageFileSize = 4 * 1024 * 1024;

inline constexpr std::string_view kLanguageFileSignature = "; Tobrash's Localizer Language File.";

// A file's text split into lines at CR LF, CR or LF; a break at the very end does not start
// another line. The views point into `text`.
std::vector<std::string_view> SplitLines(std::string_view text);

class TLocalizer {
 public:
  using BeforeLoadEvent = std::function<void(TLocalizer& Sender, const std::string& OldLanguageFile,
                                             const std::string& NewLanguageFile)>;
  using AfterLoadEvent = std::function<void(TLocalizer& Sender, const std::string& LanguageFile)>;
  using MessageSink = std::function<void(const std::string& Message)>;

  // Creates the resource-string table, which intercepts resource strings from now on.
  TLocalizer();
  ~TLocalizer();
  TLocalizer(const TLocalizer&) = delete;
  TLocalizer& operator=(const TLocalizer&) = delete;

  // Loads a language file: `FileName` is put after LanguageDir and gets ".lng" when it has
  // no such extension. Results are reported (ReportError), not returned; in emRaise mode the
  // first problem comes back as EParvekError "Error while loading language file ...".
  void LoadLanguageFile(const std::string& FileName);

  void ReportError(const std::string& Message);

  // LanguageDir + FileName + ".lng" as the loader opens it.
  std::string FullPath(const std::string& FileName) const;

  // The file name passed to the last successful load, exactly as passed.
  const std::string& LanguageFile() const { return language_file_; }
  const std::vector<TResForm>& Sections() const { return sections_; }
  TResStringer& ResStringer() { return *res_stringer_; }
  const TResStringer& ResStringer() const { return *res_stringer_; }

  std::string LanguageDir;
  TErrorMode ErrorMode = emIgnore;
  std::vector<std::string> Errors;  // emCollect; never cleared by the engine
  BeforeLoadEvent OnBeforeLoad;
  AfterLoadEvent OnAfterLoad;

  // Whether forms are translated as they are created. Component translation lives on the
  // component layer: it installs TranslateForms, which a successful load calls while
  // AutoTranslate is on, to translate every existing form with the new entries.
  bool AutoTranslate = false;
  std::function<void(TLocalizer&)> TranslateForms;

  // Where emMessageBox and emDebugOutput send a message; the system's message box and
  // debugger output by default. The application may route the box to its own.
  MessageSink ShowMessageBox;
  MessageSink DebugOutput;

 private:
  // Steps over the lines of a read file; false when loading stopped at a fatal problem.
  bool LoadLines(std::span<const std::string_view> lines, const std::string& path);

  std::string language_file_;
  std::vector<TResForm> sections_;
  std::unique_ptr<TResStringer> res_stringer_;
};

// The program's engine, created on first use (at start-up, before any resource string is
// fetched) and destroyed when the program ends.
TLocalizer& Localizer();

}  // namespace velmora::localizer
