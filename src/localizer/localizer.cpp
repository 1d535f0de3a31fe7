#include "localizer/localizer.h"

#include <cstdio>
#include <memory>

#include <exception>
#include <optional>

#include "core/text.h"
#include "localizer/platform.h"

namespace velmora::localizer {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// The four header options, each taken from the first line of the whole file (sections do
// not matter) whose text before its first "=" is the key in any letter case.
struct HeaderOptions {
  bool humanized = false;
  std::u16string cr_substitute = u"\\";
  std::u16string crlf_substitute = u"\\";
};

HeaderOptions ReadHeaderOptions(std::span<const std::string_view> lines) {
  constexpr std::string_view kKeys[] = {"Humanize", "HumanizeDivider", "HumanizedCR",
                                        "HumanizedCRLF"};
  std::optional<std::string_view> values[std::size(kKeys)];
  for (const std::string_view line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, equals);
    for (std::size_t k = 0; k < std::size(kKeys); ++k) {
      if (!values[k] && AsciiEqualNoCase(name, kKeys[k])) values[k] = line.substr(equals + 1);
    }
  }
  HeaderOptions options;
  options.humanized = values[0] == "1";
  if (values[1]) options.cr_substitute = options.crlf_substitute = Utf8ToUtf16(*values[1]);
  if (values[2]) options.cr_substitute = Utf8ToUtf16(*values[2]);
  if (values[3]) options.crlf_substitute = Utf8ToUtf16(*values[3]);
  return options;
}

bool IsSignature(std::string_view line) {
  if (line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
  return line == kLanguageFileSignature;
}

bool EndsWithLngExtension(std::string_view name) {
  return name.size() >= 4 && AsciiEqualNoCase(name.substr(name.size() - 4), ".lng");
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

TLocalizer::TLocalizer()
    : ShowMessageBox(&platform::ShowErrorMessageBox),
      DebugOutput(&platform::WriteDebugOutput),
      res_stringer_(std::make_unique<TResStringer>(*this)) {}

TLocalizer::~TLocalizer() {
  AutoTranslate = false;
  res_stringer_.reset();
}

void TLocalizer::ReportError(const std::string& Message) {
  switch (ErrorMode) {
    case emIgnore:
      break;
    case emMessageBox:
      if (ShowMessageBox) ShowMessageBox(Message);
      break;
    case emRaise:
      throw EParvekError(Message);
    case emDebugOutput:
      if (DebugOutput) DebugOutput(Message);
      break;
    case emCollect:
      Errors.push_back(Message);
      break;
  }
}

std::string TLocalizer::FullPath(const std::string& FileName) const {
  std::string path = LanguageDir;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') {
    path.push_back(platform::kPathSeparator);
  }
  path += FileName;
  if (!EndsWithLngExtension(path)) path += ".lng";
  return path;
}

namespace {

// The whole file, at most kMaxLanguageFileSize bytes. The size is checked while reading, so a
// device or pipe without a size cannot fill the memory.
std::string ReadLanguageFileBytes(const std::string& path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(platform::OpenForReading(path),
                                                             &std::fclose);
  if (!file) throw Exception("Cannot open file " + Quoted(path) + ".");
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    if (got == 0) break;
    if (bytes.size() + got > kMaxLanguageFileSize) {
      throw Exception("Cannot read file " + Quoted(path) + ": it is larger than " +
                      std::to_string(kMaxLanguageFileSize / (1024 * 1024)) + " MiB.");
    }
    bytes.append(buffer, got);
  }
  if (std::ferror(file.get())) throw Exception("Cannot read file " + Quoted(path) + ".");
  return bytes;
}

}  // namespace

// The narrow form of every value is UTF-8, whatever the system's ANSI code page is, so the
// refusal to load under a UTF-8 code page and the choice between two conversions that the
// engine needs where narrow text follows the code page have no place here.
void TLocalizer::LoadLanguageFile(const std::string& FileName) {
  if (OnBeforeLoad) OnBeforeLoad(*this, language_file_, FileName);
  const std::string path = FullPath(FileName);
  try {
    sections_.clear();
    const std::string bytes = ReadLanguageFileBytes(path);
    const std::vector<std::string_view> lines = SplitLines(bytes);
    if (!LoadLines(lines, path)) return;
    language_file_ = FileName;
    if (AutoTranslate && TranslateForms) TranslateForms(*this);
    if (OnAfterLoad) OnAfterLoad(*this, language_file_);
  } catch (const std::exception& error) {
    ReportError("Error while loading language file " + Quoted(path) + "\r\n" + error.what());
  }
}

bool TLocalizer::LoadLines(std::span<const std::string_view> lines, const std::string& path) {
  if (lines.empty() || !IsSignature(lines[0])) {
    ReportError("Bad signature in language file " + Quoted(path));
    return false;
  }
  const HeaderOptions options = ReadHeaderOptions(lines);
  TResForm* section = nullptr;
  std::size_t index = 1;
  while (index < lines.size()) {
    const std::string_view line = lines[index];
    if (line.empty() || line.front() == ';') {
      ++index;
      continue;
    }
    if (line.front() == '[') {
      if (AsciiUpper(line) == "[RESOURCESTRINGS]") {
        ++index;
        res_stringer_->ReadResourceStrings(lines, index, options.humanized, options.cr_substitute,
                                           options.crlf_substitute);
        continue;
      }
      if (line.substr(1, 3) == "(x)") {
        ReportError("Deleted component in language file:\r\n" + Quoted(line) +
                    "\r\nYou have to remove it!");
        return false;
      }
      TResForm& added = sections_.emplace_back();
      if (line.size() >= 2) added.SectionName = std::string(line.substr(1, line.size() - 2));
      section = &added;
      ++index;
      continue;
    }
    ++index;
    if (section == nullptr) continue;
    std::optional<std::u16string> decoded = Utf8ToUtf16Strict(line);
    if (!decoded) {
      ReportError("Bad UTF-8 line in language file:\r\n" + Quoted(line) +
                  "\r\nCheck file encoding!");
      continue;
    }
    std::u16string text = std::move(*decoded);
    if (text.front() == u'(') {
      if (text.starts_with(u"(x)")) {
        ReportError("Obsolete line in language file:\r\n" + Quoted(line) +
                    "\r\nYou have to remove it!");
      } else if (text.starts_with(u"(!)")) {
        ReportError("Untranslated line in language file:\r\n" + Quoted(line) +
                    "\r\nYou have to translate it!");
      }
      continue;
    }
    std::u16string name = SplitHeadW(text, u"=");
    const std::u16string value =
        DecodeValue(text, options.humanized, options.cr_substitute, options.crlf_substitute, u"\r");
    const std::u16string property_path = SplitHeadW(name, u"{");
    if (property_path.empty()) {
      ReportError("Bad line in language file: " + Quoted(line));
      return false;
    }
    // Path and value go in together, so the two lists stay parallel even when loading
    // stops at this line.
    section->Paths.push_back(Utf16ToUtf8(property_path));
    section->Values.push_back(Utf16ToUtf8(value));
  }
  return true;
}

TLocalizer& Localizer() {
  static TLocalizer engine;
  return engine;
}

}  // namespace velmora::localizer
