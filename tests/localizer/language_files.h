// A temporary folder of language files for one test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "localizer/localizer.h"

namespace velmora::localizer {

inline std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("velmora-loc-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Writes `bytes` as they are; returns the file's full path (UTF-8).
  std::string WriteRaw(std::string_view name, std::string_view bytes) {
    const std::filesystem::path path = folder_ / PathFromUtf8(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return PathToUtf8(path);
  }
  // A language file: the signature line, then `body`.
  std::string Write(std::string_view name, std::string_view body) {
    return WriteRaw(name, std::string(kLanguageFileSignature) + "\r\n" + std::string(body));
  }

  std::filesystem::path folder_;
};

}  // namespace velmora::localizer
