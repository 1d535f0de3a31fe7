#include <gtest/gtest.h>

#include <cctype>
#include <tuple>

#include "fixture_records.h"
#include "metadata/pe_version_reader.h"
#include "metadata/platform_version.h"
#ifdef _WIN32
#include "metadata/version_source_win32.h"
#endif

namespace velmora {
namespace {

struct Reader {
  std::string name;
  const VersionBlockSource* source;
};

// Natively the portable parser; under Wine the version services and, on the same files, the
// portable parser, which must give the same records.
std::vector<Reader> Readers() {
  static const PortableVersionSource portable;
#ifdef _WIN32
  static const Win32VersionSource win32;
  return {{"Win32", &win32}, {"Portable", &portable}};
#else
  return {{"Portable", &portable}};
#endif
}

void PrintTo(const Reader& reader, std::ostream* os) {
  *os << reader.name;
}

class FixtureTable : public ::testing::TestWithParam<std::tuple<Reader, FixtureCase>> {};

TEST_P(FixtureTable, ReadsTheDeclaredRecordOrFails) {
  const auto& [reader, fixture] = GetParam();
  TDWFileInfo info;
  info.Comments = "left alone";
  if (fixture.expected) {
    ASSERT_NO_THROW(ReadFileInfo(*reader.source, fixture.path, info));
    EXPECT_EQ(info, *fixture.expected);
  } else {
    EXPECT_THROW(ReadFileInfo(*reader.source, fixture.path, info), EVersionInfoError);
    EXPECT_EQ(info.Comments, "left alone") << "a failed read must not touch the record";
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTable,
                         ::testing::Combine(::testing::ValuesIn(Readers()),
                                            ::testing::ValuesIn(FixtureCases())),
                         [](const ::testing::TestParamInfo<FixtureTable::ParamType>& info) {
                           std::string name =
                               std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(TranslationKey, WritesFourUpperCaseHexDigitsEach) {
  const struct {
    std::uint16_t language, code_page;
    const char* key;
  } cases[] = {
      {0x0409, 0x04B0, "040904B0"}, {0x0000, 0x0000, "00000000"}, {0x0007, 0x000A, "0007000A"},
      {0xFFFF, 0xABCD, "FFFFABCD"}, {0x0804, 0x03A8, "080403A8"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TranslationKey(c.language, c.code_page), c.key)
        << std::hex << c.language << ' ' << c.code_page;
  }
}

TEST(ReadFileInfo, ThePlatformReaderReadsTheFirstTranslation) {
  TDWFileInfo info;
  ReadFileInfo(FixturePath("two_translations.exe"), info);
  EXPECT_EQ(info, TwoTranslationsRecord());
}

TEST(ReadFileInfo, TheErrorNamesTheFile) {
  TDWFileInfo info;
  const std::string path = FixturePath("missing.exe");
  try {
    ReadFileInfo(path, info);
    FAIL() << "no error for a missing file";
  } catch (const EVersionInfoError& error) {
    EXPECT_EQ(std::string(error.what()).rfind(path + ": ", 0), 0u) << error.what();
  }
}

// The portable reader says what is wrong with a file; velmora-verinfo shows it to the user.
TEST(PortableVersionSource, NamesTheReasonOfAFailure) {
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"missing.exe", "cannot open the file"},
      {"not_pe.exe", "not an executable file"},
      {"dos_only.exe", "not a PE file"},
      {"no_version.exe", "no version information"},
      {"icon_only.exe", "no version information"},
      {"truncated.exe", "the resource directory lies outside the file"},
      {"outside_section.exe", "the resource directory lies outside the file"},
      {"outside_data.exe", "the version resource lies outside the file"},
      {"overflow.exe", "the version resource lies outside the file"},
      {"loop.exe", "the resource directory loops back on itself"},
  };
  const PortableVersionSource portable;
  for (const auto& c : cases) {
    try {
      portable.ReadBlock(FixturePath(c.file));
      ADD_FAILURE() << c.file << " was read";
    } catch (const EVersionInfoError& error) {
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos)
          << c.file << ": " << error.what();
    }
  }
}

}  // namespace
}  // namespace velmora
