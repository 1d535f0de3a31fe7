// The version-information record of one executable and the reader that fills it.
//
// Texts are UTF-8. The record is read through a VersionBlockSource (version_source.h): the
// Windows version services in the program, the PE parser of pe_version_reader.h elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora {

class VersionBlockSource;

// VS_FIXEDFILEINFO: the thirteen 32-bit values of the fixed block, in the platform's order.
struct VsFixedFileInfo {
  std::uint32_t dwSignature = 0;
  std::uint32_t dwStrucVersion = 0;
  std::uint32_t dwFileVersionMS = 0;
  std::uint32_t dwFileVersionLS = 0;
  std::uint32_t dwProductVersionMS = 0;
  std::uint32_t dwProductVersionLS = 0;
  std::uint32_t dwFileFlagsMask = 0;
  std::uint32_t dwFileFlags = 0;
  std::uint32_t dwFileOS = 0;
  std::uint32_t dwFileType = 0;
  std::uint32_t dwFileSubtype = 0;
  std::uint32_t dwFileDateMS = 0;
  std::uint32_t dwFileDateLS = 0;

  bool operator==(const VsFixedFileInfo&) const = default;
};
static_assert(sizeof(VsFixedFileInfo) == 52, "VS_FIXEDFILEINFO is 52 bytes");

// One entry of the translation table "\VarFileInfo\Translation".
struct TranslationPair {
  std::uint16_t Language = 0;
  std::uint16_t CodePage = 0;

  bool operator==(const TranslationPair&) const = default;
};

struct TDWFileInfo {
  VsFixedFileInfo FixedInfo;
  std::uint16_t Language = 0;
  std::uint16_t CodePage = 0;
  std::string Comments;
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyright;
  std::string LegalTrademarks;
  std::string OriginalFilename;
  std::string PrivateBuild;
  std::string ProductName;
  std::string ProductVersion;
  std::string SpecialBuild;

  bool operator==(const TDWFileInfo&) const = default;
};

// The twelve string values of the record, in the record's order: the value name in the
// string table and the field that receives it.
struct VersionTextField {
  std::string_view name;
  std::string TDWFileInfo::*field;
};
inline constexpr std::array<VersionTextField, 12> kVersionTextFields = {{
    {"Comments", &TDWFileInfo::Comments},
    {"CompanyName", &TDWFileInfo::CompanyName},
    {"FileDescription", &TDWFileInfo::FileDescription},
    {"FileVersion", &TDWFileInfo::FileVersion},
    {"InternalName", &TDWFileInfo::InternalName},
    {"LegalCopyright", &TDWFileInfo::LegalCopyright},
    {"LegalTrademarks", &TDWFileInfo::LegalTrademarks},
    {"OriginalFilename", &TDWFileInfo::OriginalFilename},
    {"PrivateBuild", &TDWFileInfo::PrivateBuild},
    {"ProductName", &TDWFileInfo::ProductName},
    {"ProductVersion", &TDWFileInfo::ProductVersion},
    {"SpecialBuild", &TDWFileInfo::SpecialBuild},
}};

// A read of version information failed: the file is missing or unreadable, or carries no
// usable version resource. what() names the file and the reason.
class EVersionInfoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The name of one string table: language and code page as four upper-case hex digits each,
// e.g. 0x0409 + 0x04B0 -> "040904B0".
std::string TranslationKey(std::uint16_t language, std::uint16_t code_page);

// Fills Info from the version information of FileName. Throws EVersionInfoError when the file
// has no version information or cannot be read; Info is then left as it was. A file whose
// version information has no translation table reads successfully with Language and CodePage
// 0 and every text empty. Keeps nothing between calls.
void ReadFileInfo(const VersionBlockSource& source, const std::string& FileName, TDWFileInfo& Info);

}  // namespace velmora
