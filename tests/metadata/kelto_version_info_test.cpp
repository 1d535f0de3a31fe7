#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"

#include "fixture_records.h"
#include "metadata/kelto_version_info.h"
#include "metadata/platform_version.h"

namespace velmora {
namespace {

TKeltoVersionInfo Make() {
  return TKeltoVersionInfo(PlatformVersionSource(), PlatformModuleLocator());
}

TEST(TKeltoVersionInfo, HoldsTheFirstTranslationOfTheFileItWasGiven) {
  TKeltoVersionInfo info = Make();
  info.SetFileName(FixturePath("two_translations.exe"));
  ASSERT_TRUE(info.HasInfo());
  EXPECT_EQ(info.FixedInfo(), TwoTranslationsRecord().FixedInfo);
  EXPECT_EQ(info.Translations(),
            (std::vector<TranslationPair>{{0x0409, 0x04B0}, {0x0407, 0x04B0}}));
  EXPECT_EQ(info.TranslationCount(), 2);
  EXPECT_EQ(info.CurrentTranslation(), 0);
  EXPECT_FALSE(info.Block().empty());
  EXPECT_EQ(info.GetString("ProductName"), "Fixture product");
  EXPECT_EQ(info.GetString("LegalCopyright"), "Copyright \u00A9 2026 Orindel");
  EXPECT_EQ(info.GetString("NoSuchValue"), "");
}

TEST(TKeltoVersionInfo, WithoutATranslationEveryLookupIsEmpty) {
  TKeltoVersionInfo info = Make();
  info.SetFileName(FixturePath("no_translation.exe"));
  ASSERT_TRUE(info.HasInfo());
  EXPECT_EQ(info.FixedInfo(), NoTranslationRecord().FixedInfo);
  EXPECT_EQ(info.TranslationCount(), 0);
  EXPECT_EQ(info.CurrentTranslation(), -1);
  EXPECT_EQ(info.GetString("FileDescription"), "");
}

TEST(TKeltoVersionInfo, AFileWithoutVersionInformationClearsWhatWasHeld) {
  TKeltoVersionInfo info = Make();
  info.SetFileName(FixturePath("two_translations.exe"));
  ASSERT_TRUE(info.HasInfo());
  for (const char* file : {"no_version.exe", "loop.exe", "missing.exe"}) {
    info.SetFileName(FixturePath(file));
    EXPECT_EQ(info.FileName(), FixturePath(file));
    EXPECT_FALSE(info.HasInfo()) << file;
    EXPECT_EQ(info.FixedInfo(), VsFixedFileInfo{}) << file;
    EXPECT_TRUE(info.Block().empty()) << file;
    EXPECT_EQ(info.TranslationCount(), 0) << file;
    EXPECT_EQ(info.CurrentTranslation(), -1) << file;
    EXPECT_EQ(info.GetString("ProductName"), "") << file;
  }
}

TEST(TKeltoVersionInfo, ABareNameIsFoundInTheProgramsFolder) {
  // The build puts a copy of values.exe named Velmora.exe beside this test program; the
  // fixture folder, made current here, has none.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(kFixtureDir));
  TKeltoVersionInfo info = Make();
  info.SetFileName("Velmora.exe");
  std::filesystem::current_path(previous);

  EXPECT_EQ(info.FileName(), "Velmora.exe");
  const std::string own = PlatformModuleLocator().OwnExecutablePath();
  const std::string expected = own.substr(0, own.find_last_of("/\\") + 1) + "Velmora.exe";
  EXPECT_TRUE(AsciiEqualNoCase(info.ResolvedFileName(), expected))
      << info.ResolvedFileName() << " instead of " << expected;
  ASSERT_TRUE(info.HasInfo());
  EXPECT_EQ(info.GetString("FileDescription"), "Values fixture");

  info.SetFileName("velmora-no-such-module.exe");
  EXPECT_EQ(info.ResolvedFileName(), "velmora-no-such-module.exe");
  EXPECT_FALSE(info.HasInfo());
}

TEST(TKeltoVersionInfo, AnEmptyNameStandsForTheProgramItself) {
  TKeltoVersionInfo info = Make();
  EXPECT_EQ(info.FileName(), "");
  EXPECT_EQ(info.ResolvedFileName(), PlatformModuleLocator().OwnExecutablePath());
  EXPECT_FALSE(info.ResolvedFileName().empty());
#ifdef _WIN32
  // test_version.rc
  ASSERT_TRUE(info.HasInfo());
  EXPECT_EQ(info.GetString("ProductName"), "Velmora metadata tests");
  EXPECT_EQ(info.FixedInfo().dwFileVersionMS, 0x00040003u);
#else
  // A native test program is no PE file.
  EXPECT_FALSE(info.HasInfo());
#endif
}

}  // namespace
}  // namespace velmora
