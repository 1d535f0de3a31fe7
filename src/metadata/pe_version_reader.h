// The portable version reader: finds the VS_VERSIONINFO resource in a PE file itself (DOS
// header, PE header, section table, resource directory) and answers queries with
// QueryVersionBlock. It is what the native build uses, and it can be checked against the
// Windows version services under Wine.
//
// It reads only what it needs with bounded reads - the headers, the section table, the
// resource directory entries on the way to the version resource, and that resource - never
// the whole file, and it never allocates more than the file's size, whatever the file claims.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "metadata/version_source.h"

namespace velmora {

// Random access to the bytes of a file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads exactly `size` bytes at `offset`; false when they are not all there.
  virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) = 0;
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// A file opened for reading (UTF-8 name). Throws EVersionInfoError when it cannot be opened.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::string& file_name);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
};

// The file is a PE image whose headers or resource directory are damaged: they point outside
// the file, loop, or claim impossible sizes.
class EDamagedPeFile : public EVersionInfoError {
 public:
  using EVersionInfoError::EVersionInfoError;
};

// The bytes of the version resource (type RT_VERSION, name VS_VERSION_INFO = 1; language
// English (US), else neutral, else the first one - the order Windows tries). Throws
// EVersionInfoError with the reason when the file is not a PE image or has no version
// resource, EDamagedPeFile when it is damaged.
std::vector<std::uint8_t> ReadPeVersionResource(ByteSource& file);

class PortableVersionSource : public VersionBlockSource {
 public:
  std::vector<std::uint8_t> ReadBlock(const std::string& file_name) const override;
  std::optional<VersionValue> Query(std::span<const std::uint8_t> block,
                                    std::string_view sub_block) const override;
};

}  // namespace velmora
