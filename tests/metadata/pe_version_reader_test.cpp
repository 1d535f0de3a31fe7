// The portable PE reader's promises: it reads only the few parts of a file it needs, however
// large the file, and a damaged file ends in EVersionInfoError, never in a read outside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fixture_records.h"
#include "metadata/pe_version_reader.h"

namespace velmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CountingSource : public ByteSource {
 public:
  explicit CountingSource(ByteSource& inner) : inner_(inner) {}
  std::uint64_t Size() const override { return inner_.Size(); }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override {
    ++reads;
    bytes += size;
    return inner_.ReadAt(offset, buffer, size);
  }
  std::size_t reads = 0;
  std::size_t bytes = 0;

 private:
  ByteSource& inner_;
};

TEST(PeVersionReader, ReadsOnlyWhatItNeedsOfALargeFile) {
  const Bytes small = Load(FixturePath("two_translations.exe"));
  ASSERT_FALSE(small.empty());
  MemoryByteSource small_source(small);
  const Bytes expected = ReadPeVersionResource(small_source);

  // The same program with 32 MiB of appended data, as installers and self-extracting
  // archives carry.
  const std::filesystem::path large =
      std::filesystem::temp_directory_path() / "velmora_metadata_large_test.exe";
  {
    std::ofstream out(large, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(small.data()),
              static_cast<std::streamsize>(small.size()));
    const std::string chunk(1 << 20, '\x5A');
    for (int i = 0; i < 32; ++i)
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
  {
    FileByteSource file(large.string());
    CountingSource counting(file);
    EXPECT_EQ(ReadPeVersionResource(counting), expected);
    // Headers, section table, three directories and their entries, one data entry and the
    // resource itself.
    EXPECT_LE(counting.bytes, 1024 + expected.size()) << counting.reads << " reads";
  }
  std::filesystem::remove(large);
}

TEST(PeVersionReader, EveryPrefixOfAFileFailsCleanlyOrReadsTheWholeResource) {
  const Bytes full = Load(FixturePath("values.exe"));
  ASSERT_FALSE(full.empty());
  MemoryByteSource full_source(full);
  const Bytes expected = ReadPeVersionResource(full_source);
  std::size_t readable = 0;
  for (std::size_t size = 0; size <= full.size(); ++size) {
    MemoryByteSource prefix(std::span<const std::uint8_t>(full.data(), size));
    try {
      EXPECT_EQ(ReadPeVersionResource(prefix), expected) << size;
      ++readable;
    } catch (const EVersionInfoError&) {
      EXPECT_EQ(readable, 0u) << "a longer prefix failed after a shorter one was read: " << size;
    }
  }
  EXPECT_GT(readable, 0u);
}

// A 64-bit program's PE32+ optional header is 16 bytes longer before the data directories.
// Made here from a PE32 fixture by inserting those bytes, which moves the section table into
// the headers' padding.
TEST(PeVersionReader, ReadsThePe32PlusLayoutOf64BitPrograms) {
  const Bytes pe32 = Load(FixturePath("two_translations.exe"));
  ASSERT_FALSE(pe32.empty());
  MemoryByteSource pe32_source(pe32);
  const Bytes expected = ReadPeVersionResource(pe32_source);

  const std::size_t nt = pe32[0x3C] | (pe32[0x3D] << 8);
  const std::size_t optional = nt + 24;
  ASSERT_EQ(pe32[optional] | (pe32[optional + 1] << 8), 0x10B);
  Bytes pe64(pe32.begin(), pe32.begin() + optional + 92);
  pe64.insert(pe64.end(), 16, 0);
  pe64.insert(pe64.end(), pe32.begin() + optional + 92, pe32.end());
  pe64.erase(pe64.begin() + 0x3F0, pe64.begin() + 0x400);  // padding at the end of the headers
  ASSERT_EQ(pe64.size(), pe32.size());
  pe64[optional] = 0x0B;
  pe64[optional + 1] = 0x02;
  pe64[nt + 20] = 240;  // SizeOfOptionalHeader
  pe64[nt + 21] = 0;
  MemoryByteSource pe64_source(pe64);
  EXPECT_EQ(ReadPeVersionResource(pe64_source), expected);

  // Read as PE32, the same bytes put the resource directory somewhere else entirely.
  pe64[optional] = 0x0B;
  pe64[optional + 1] = 0x01;
  MemoryByteSource misread(pe64);
  EXPECT_THROW(ReadPeVersionResource(misread), EVersionInfoError);
}

TEST(PeVersionReader, ADirectoryIsNotAFile) {
  const PortableVersionSource portable;
  EXPECT_THROW(portable.ReadBlock(kFixtureDir), EVersionInfoError);
}

}  // namespace
}  // namespace velmora
