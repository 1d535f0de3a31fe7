#include "metadata/pe_version_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>

#include "core/text.h"
#include "metadata/version_block.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace velmora {
namespace {

constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint16_t kVsVersionInfo = 1;
constexpr std::uint16_t kLangEnglishUs = 0x0409;
constexpr std::uint16_t kLangNeutral = 0;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kNameIsStringFlag = 0x80000000u;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kNodeHeader = 6;

std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Dword(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

[[noreturn]] void Fail(const char* reason) {
  throw EVersionInfoError(reason);
}
[[noreturn]] void Damaged(const char* reason) {
  throw EDamagedPeFile(reason);
}

struct Section {
  std::uint32_t virtual_address = 0;
  std::uint32_t raw_size = 0;
  std::uint32_t raw_offset = 0;
};

struct DirectoryEntry {
  std::uint32_t name = 0;    // an ID unless kNameIsStringFlag is set
  std::uint32_t target = 0;  // offset from the resource root; kSubdirectoryFlag for directories
};

struct Directory {
  std::uint32_t offset = 0;
  std::size_t named_count = 0;
  std::vector<DirectoryEntry> entries;
};

class PeImage {
 public:
  explicit PeImage(ByteSource& file) : file_(file) { ReadHeaders(); }

  std::vector<std::uint8_t> VersionResource() {
    if (resource_rva_ == 0) Fail("no version information (the file has no resources)");
    const std::optional<std::uint64_t> root = DirectoryRvaToOffset(resource_rva_);
    if (!root || *root >= file_.Size()) Damaged("the resource directory lies outside the file");
    root_ = *root;

    const Directory types = ReadDirectory(0);
    const DirectoryEntry* type = FindById(types, kRtVersion, true);
    if (!type) Fail("no version information");
    const Directory names = ReadDirectory(type->target & ~kSubdirectoryFlag);
    const DirectoryEntry* name = FindById(names, kVsVersionInfo, true);
    if (!name) Fail("no version information");
    const Directory languages = ReadDirectory(name->target & ~kSubdirectoryFlag);
    const DirectoryEntry* language = FindById(languages, kLangEnglishUs, false);
    if (!language) language = FindById(languages, kLangNeutral, false);
    if (!language) language = FirstEntry(languages, false);
    if (!language) Fail("no version information");
    return ReadData(language->target);
  }

 private:
  void Read(std::uint64_t offset, void* buffer, std::size_t size, const char* reason) {
    if (!file_.ReadAt(offset, buffer, size)) Damaged(reason);
  }

  void ReadHeaders() {
    std::uint8_t dos[64];
    if (!file_.ReadAt(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') {
      Fail("not an executable file");
    }
    const std::uint32_t pe_offset = Dword(dos + 0x3C);
    std::uint8_t nt[24];
    if (!file_.ReadAt(pe_offset, nt, sizeof nt) || std::memcmp(nt, "PE\0\0", 4) != 0) {
      Fail("not a PE file");
    }
    const std::uint16_t section_count = Word(nt + 6);
    const std::uint16_t optional_size = Word(nt + 20);

    // Only the fields up to the resource directory entry matter; PE32+ (64-bit programs)
    // moves them 16 bytes on.
    std::uint8_t optional[112 + 3 * 8] = {};
    const std::size_t optional_read = std::min<std::size_t>(optional_size, sizeof optional);
    Read(std::uint64_t{pe_offset} + 24, optional, optional_read, "the file is truncated");
    std::size_t directories;
    if (optional_read >= 2 && Word(optional) == 0x10B) {
      directories = 96;
    } else if (optional_read >= 2 && Word(optional) == 0x20B) {
      directories = 112;
    } else {
      Fail("not a PE file (unknown optional header)");
    }
    const std::size_t resource_entry = directories + 2 * 8;
    if (optional_read >= resource_entry + 8 && Dword(optional + directories - 4) > 2) {
      resource_rva_ = Dword(optional + resource_entry);
    }
    size_of_headers_ = Dword(optional + 60);

    const std::uint64_t table = std::uint64_t{pe_offset} + 24 + optional_size;
    const std::size_t table_size = std::size_t{section_count} * kSectionHeaderSize;
    if (table > file_.Size() || file_.Size() - table < table_size) Damaged("the file is truncated");
    std::vector<std::uint8_t> headers(table_size);
    Read(table, headers.data(), headers.size(), "the file is truncated");
    sections_.reserve(section_count);
    for (std::size_t i = 0; i < section_count; ++i) {
      const std::uint8_t* h = headers.data() + i * kSectionHeaderSize;
      sections_.push_back({Dword(h + 12), Dword(h + 16), Dword(h + 20)});
    }
  }

  // Where a relative virtual address lies in the file, for a file read as data rather than
  // loaded as an image: inside the raw data of the section that contains it.
  std::optional<std::uint64_t> RvaToOffset(std::uint32_t rva) const {
    for (const Section& s : sections_) {
      if (rva >= s.virtual_address &&
          std::uint64_t{rva} < std::uint64_t{s.virtual_address} + s.raw_size) {
        return std::uint64_t{s.raw_offset} + (rva - s.virtual_address);
      }
    }
    return std::nullopt;
  }

  // The resource directory may also lie in the headers, which a data view maps one to one.
  std::optional<std::uint64_t> DirectoryRvaToOffset(std::uint32_t rva) const {
    if (rva < size_of_headers_) return rva;
    return RvaToOffset(rva);
  }

  Directory ReadDirectory(std::uint32_t offset) {
    // The walk goes exactly three levels down, so a loop cannot make it run forever; it is
    // still reported as what it is.
    if (!visited_.insert(offset).second) Damaged("the resource directory loops back on itself");
    const std::uint64_t start = root_ + offset;
    std::uint8_t header[16];
    Read(start, header, sizeof header, "the resource directory lies outside the file");
    Directory dir;
    dir.offset = offset;
    dir.named_count = Word(header + 12);
    const std::size_t count = dir.named_count + Word(header + 14);
    const std::uint64_t size = std::uint64_t{count} * 8;
    if (start + 16 > file_.Size() || file_.Size() - (start + 16) < size) {
      Damaged("the resource directory lies outside the file");
    }
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(size));
    Read(start + 16, raw.data(), raw.size(), "the resource directory lies outside the file");
    dir.entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      dir.entries.push_back({Dword(raw.data() + 8 * i), Dword(raw.data() + 8 * i + 4)});
    }
    return dir;
  }

  // Binary search over the ID entries, which follow the named ones in ascending order - the
  // search the system's resource lookup does, so an unsorted directory finds the same entry.
  static const DirectoryEntry* FindById(const Directory& dir, std::uint16_t id, bool want_dir) {
    std::ptrdiff_t low = static_cast<std::ptrdiff_t>(dir.named_count);
    std::ptrdiff_t high = static_cast<std::ptrdiff_t>(dir.entries.size()) - 1;
    while (low <= high) {
      const std::ptrdiff_t middle = (low + high) / 2;
      const DirectoryEntry& entry = dir.entries[static_cast<std::size_t>(middle)];
      const std::uint32_t entry_id = entry.name & 0xFFFF;
      if ((entry.name & kNameIsStringFlag) == 0 && entry_id == id) {
        return ((entry.target & kSubdirectoryFlag) != 0) == want_dir ? &entry : nullptr;
      }
      if (entry_id > id) {
        high = middle - 1;
      } else {
        low = middle + 1;
      }
    }
    return nullptr;
  }

  static const DirectoryEntry* FirstEntry(const Directory& dir, bool want_dir) {
    for (const DirectoryEntry& entry : dir.entries) {
      if (((entry.target & kSubdirectoryFlag) != 0) == want_dir) return &entry;
    }
    return nullptr;
  }

  std::vector<std::uint8_t> ReadData(std::uint32_t entry_offset) {
    std::uint8_t entry[16];
    Read(root_ + entry_offset, entry, sizeof entry, "the resource directory lies outside the file");
    const std::uint32_t rva = Dword(entry);
    const std::uint32_t size = Dword(entry + 4);
    const std::optional<std::uint64_t> offset = RvaToOffset(rva);
    if (!offset || *offset > file_.Size() || file_.Size() - *offset < size) {
      Damaged("the version resource lies outside the file");
    }
    if (size < kNodeHeader) Damaged("the version resource is too small");
    std::vector<std::uint8_t> data(size);
    Read(*offset, data.data(), data.size(), "the version resource lies outside the file");
    return data;
  }

  ByteSource& file_;
  std::vector<Section> sections_;
  std::uint32_t resource_rva_ = 0;
  std::uint32_t size_of_headers_ = 0;
  std::uint64_t root_ = 0;
  std::set<std::uint32_t> visited_;
};

}  // namespace

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
  if (offset > bytes_.size() || bytes_.size() - offset < size) return false;
  if (size != 0) std::memcpy(buffer, bytes_.data() + offset, size);
  return true;
}

FileByteSource::FileByteSource(const std::string& file_name) {
#ifdef _WIN32
  file_ = _wfopen(Widen(file_name).c_str(), L"rb");
  if (file_ && _fseeki64(file_, 0, SEEK_END) == 0) {
    const long long end = _ftelli64(file_);
    size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
  }
#else
  file_ = file_name.empty() ? nullptr : std::fopen(file_name.c_str(), "rb");
  struct stat status {};
  // A directory opens for reading on POSIX systems; it is no executable.
  if (file_ && (fstat(fileno(file_), &status) != 0 || !S_ISREG(status.st_mode))) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (file_) size_ = static_cast<std::uint64_t>(status.st_size);
#endif
  if (!file_) throw EVersionInfoError("cannot open the file");
}

FileByteSource::~FileByteSource() {
  if (file_) std::fclose(file_);
}

bool FileByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
  if (offset > size_ || size_ - offset < size) return false;
#ifdef _WIN32
  if (_fseeki64(file_, static_cast<long long>(offset), SEEK_SET) != 0) return false;
#else
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
  return std::fread(buffer, 1, size, file_) == size;
}

std::vector<std::uint8_t> ReadPeVersionResource(ByteSource& file) {
  PeImage image(file);
  return image.VersionResource();
}

std::vector<std::uint8_t> PortableVersionSource::ReadBlock(const std::string& file_name) const {
  if (file_name.empty()) throw EVersionInfoError(": no file name");
  try {
    FileByteSource file(file_name);
    return ReadPeVersionResource(file);
  } catch (const EDamagedPeFile& error) {
    throw EDamagedPeFile(file_name + ": " + error.what());
  } catch (const EVersionInfoError& error) {
    throw EVersionInfoError(file_name + ": " + error.what());
  }
}

std::optional<VersionValue> PortableVersionSource::Query(std::span<const std::uint8_t> block,
                                                         std::string_view sub_block) const {
  return QueryVersionBlock(block, sub_block);
}

}  // namespace velmora
