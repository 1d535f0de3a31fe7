// The keys of one section of an INI file, looked up as the system's profile functions do:
// section and key names without regard to ASCII case, blanks around names and values
// dropped, one pair of matching quotes around a value removed, the first of repeated keys
// winning, values at most 2047 bytes long and passed on without any character-set
// conversion (language files are UTF-8, and so is the program's text).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::settings {

class IniSection {
 public:
  // The value of `key`; `fallback` when the key is not there. A key present with an empty
  // value gives empty text.
  std::string Get(std::string_view key, std::string_view fallback) const;

  void Add(std::string key, std::string value);

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

// The values of the (first) section `section` of the INI text `content`: an empty section
// when there is none. Nothing when the content is not text (it holds NUL bytes), so that a
// binary file is never taken for a language file. A UTF-8 byte-order mark is skipped; lines
// end with CR LF, LF or CR.
std::optional<IniSection> ReadIniSection(std::string_view content, std::string_view section);

}  // namespace velmora::settings
