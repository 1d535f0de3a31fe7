// The metadata fixtures and the records their resource scripts declare (fixtures/*.rc).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/version_info.h"
#include "metadata_fixture_dir.h"

namespace velmora {

inline std::string FixturePath(std::string_view name) {
  return std::string(kFixtureDir) + kPathSeparator + std::string(name);
}

inline VsFixedFileInfo FixedBlock(std::uint32_t file_ms, std::uint32_t file_ls,
                                  std::uint32_t product_ms, std::uint32_t product_ls,
                                  std::uint32_t flags, std::uint32_t os, std::uint32_t type,
                                  std::uint32_t date_ms = 0, std::uint32_t date_ls = 0) {
  return {0xFEEF04BD, 0x00010000, file_ms, file_ls, product_ms, product_ls, 0x3F,
          flags,      os,         type,    0,       date_ms,    date_ls};
}

// two_translations.rc: the English table, whose translation is listed first.
inline TDWFileInfo TwoTranslationsRecord() {
  TDWFileInfo r;
  r.FixedInfo = FixedBlock(0x00010002, 0x00030004, 0x00050006, 0x00070008, 0x2, 0x40004, 0x1);
  r.Language = 0x0409;
  r.CodePage = 0x04B0;
  r.Comments = "A comment";
  r.CompanyName = "Orindel";
  r.FileDescription = "Two translations";
  r.FileVersion = "1.2.3.4";
  r.InternalName = "two_translations";
  r.LegalCopyright = "Copyright \u00A9 2026 Orindel";
  r.LegalTrademarks = "Velmora\u2122";
  r.OriginalFilename = "two_translations.exe";
  r.PrivateBuild = "private";
  r.ProductName = "Fixture product";
  r.ProductVersion = "5.6.7.8";
  r.SpecialBuild = "special";
  return r;
}

// values.rc: the text is cut at its zero character; empty and missing values are empty.
inline TDWFileInfo ValuesRecord() {
  TDWFileInfo r;
  r.FixedInfo = FixedBlock(0x00090008, 0x00070006, 0x00010000, 0x00000002, 0x0, 0x40004, 0x1,
                           0x01D2C3B4, 0x5A6B7C8D);
  r.Language = 0x0409;
  r.CodePage = 0x04B0;
  r.Comments = "Before";
  r.CompanyName = "Acme";
  r.FileDescription = "Values fixture";
  r.ProductName = "Gr\u00FC\u00DFe";
  return r;
}

// key_mismatch.rc: the translation names a table the file does not have.
inline TDWFileInfo KeyMismatchRecord() {
  TDWFileInfo r;
  r.FixedInfo = FixedBlock(0x00020000, 0x00000001, 0x00020000, 0x00000000, 0x0, 0x4, 0x2);
  r.Language = 0x0409;
  r.CodePage = 0x04E4;
  return r;
}

// no_translation.rc: no translation table, so no string table is looked at.
inline TDWFileInfo NoTranslationRecord() {
  TDWFileInfo r;
  r.FixedInfo = FixedBlock(0x00030001, 0x00000000, 0x00030001, 0x00000000, 0x0, 0x40004, 0x1);
  return r;
}

struct FixtureCase {
  std::string name;                     // file name in the fixture folder, or a label
  std::string path;                     // what the reader is given
  std::optional<TDWFileInfo> expected;  // nullopt: the read fails
};

inline std::vector<FixtureCase> FixtureCases() {
  auto good = [](std::string file, TDWFileInfo record) {
    return FixtureCase{file, FixturePath(file), std::move(record)};
  };
  auto bad = [](std::string file) { return FixtureCase{file, FixturePath(file), std::nullopt}; };
  return {
      good("two_translations.exe", TwoTranslationsRecord()),
      good("values.exe", ValuesRecord()),
      good("key_mismatch.exe", KeyMismatchRecord()),
      good("no_translation.exe", NoTranslationRecord()),
      bad("no_version.exe"),
      bad("icon_only.exe"),
      bad("not_pe.exe"),
      bad("dos_only.exe"),
      bad("truncated.exe"),
      bad("outside_section.exe"),
      bad("outside_data.exe"),
      bad("loop.exe"),
      bad("overflow.exe"),
      bad("missing.exe"),
      FixtureCase{"empty_name", "", std::nullopt},
  };
}

inline void PrintTo(const FixtureCase& fixture, std::ostream* os) {
  *os << fixture.name;
}

// Readable failure messages for whole records.
inline void PrintTo(const TDWFileInfo& r, std::ostream* os) {
  const VsFixedFileInfo& f = r.FixedInfo;
  *os << std::hex << "{fixed " << f.dwSignature << ' ' << f.dwStrucVersion << ' '
      << f.dwFileVersionMS << ' ' << f.dwFileVersionLS << ' ' << f.dwProductVersionMS << ' '
      << f.dwProductVersionLS << ' ' << f.dwFileFlagsMask << ' ' << f.dwFileFlags << ' '
      << f.dwFileOS << ' ' << f.dwFileType << ' ' << f.dwFileSubtype << ' ' << f.dwFileDateMS << ' '
      << f.dwFileDateLS << ", lang " << r.Language << ", cp " << r.CodePage << std::dec;
  for (const VersionTextField& field : kVersionTextFields) {
    *os << ", " << field.name << "=\"" << r.*field.field << '"';
  }
  *os << '}';
}

}  // namespace velmora
