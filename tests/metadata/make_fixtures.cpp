// Build-time generator of the metadata fixtures that the resource compiler cannot make:
//   make_fixtures icon FILE.ico        a 16 x 16 monochrome icon for icon_only.exe
//   make_fixtures hostile GOOD.exe DIR damaged copies of a good executable, each broken in
//                                      one way a reader must survive
// It finds its way through the good file with plain offsets; it trusts the file because it
// comes from this build.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Get32(const Bytes& b, std::size_t at) {
  return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) |
         (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}
std::uint16_t Get16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b.at(at) = static_cast<std::uint8_t>(v);
  b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void Write(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

Bytes Icon() {
  Bytes ico(6 + 16, 0);
  Put16(ico, 2, 1);  // type: icon
  Put16(ico, 4, 1);  // one image
  Bytes dib(40 + 8 + 16 * 4 + 16 * 4, 0);
  Put32(dib, 0, 40);
  Put32(dib, 4, 16);
  Put32(dib, 8, 32);  // twice the height: the colour mask, then the transparency mask
  Put16(dib, 12, 1);
  Put16(dib, 14, 1);
  Put32(dib, 48 - 4, 0x00FFFFFF);  // palette: black, white
  for (int row = 0; row < 16; ++row) dib[48 + row * 4] = (row % 2) ? 0xAA : 0x55;
  ico[6] = 16;
  ico[7] = 16;
  Put16(ico, 6 + 4, 1);
  Put16(ico, 6 + 6, 1);
  Put32(ico, 6 + 8, static_cast<std::uint32_t>(dib.size()));
  Put32(ico, 6 + 12, 6 + 16);
  ico.insert(ico.end(), dib.begin(), dib.end());
  return ico;
}

struct Layout {
  std::size_t rsrc_section_header = 0;  // file offset of the .rsrc section header
  std::size_t rsrc_raw = 0;             // file offset of the resource directory
  std::size_t name_entry = 0;           // the RT_VERSION -> VS_VERSION_INFO directory entry
  std::size_t data_entry = 0;           // the version resource's data entry
};

Layout Find(const Bytes& exe) {
  Layout layout;
  const std::size_t pe = Get32(exe, 0x3C);
  const std::size_t sections = Get16(exe, pe + 6);
  const std::size_t optional = pe + 24;
  const std::uint32_t rsrc_rva = Get32(exe, optional + 96 + 2 * 8);
  const std::size_t table = optional + Get16(exe, pe + 20);
  for (std::size_t i = 0; i < sections; ++i) {
    const std::size_t h = table + i * 40;
    if (Get32(exe, h + 12) == rsrc_rva) {
      layout.rsrc_section_header = h;
      layout.rsrc_raw = Get32(exe, h + 20);
    }
  }
  const std::size_t root = layout.rsrc_raw;
  auto entry_with_id = [&](std::size_t dir, std::uint16_t id) -> std::size_t {
    const std::size_t count = Get16(exe, dir + 12) + Get16(exe, dir + 14);
    for (std::size_t e = 0; e < count; ++e) {
      const std::size_t at = dir + 16 + e * 8;
      if (Get32(exe, at) == id) return at;
    }
    std::fprintf(stderr, "no resource entry %u\n", id);
    std::exit(1);
  };
  const std::size_t type = entry_with_id(root, 16);
  const std::size_t names = root + (Get32(exe, type + 4) & 0x7FFFFFFF);
  layout.name_entry = entry_with_id(names, 1);
  const std::size_t languages = root + (Get32(exe, layout.name_entry + 4) & 0x7FFFFFFF);
  layout.data_entry = root + Get32(exe, languages + 16 + 4);
  return layout;
}

void Hostile(const Bytes& good, const std::string& dir) {
  const Layout at = Find(good);
  const std::string text = "This is a text file that merely ends in .exe.\r\n";
  Write(dir + "/not_pe.exe", Bytes(text.begin(), text.end()));

  // An MS-DOS program: the MZ header, but no PE header where it points.
  Bytes dos(good.begin(), good.begin() + 64);
  Put32(dos, 0x3C, 0);
  Write(dir + "/dos_only.exe", dos);

  // The file ends where its resources should begin.
  Write(dir + "/truncated.exe", Bytes(good.begin(), good.begin() + at.rsrc_raw));

  // The resource section's raw data lies far beyond the end of the file.
  Bytes section = good;
  Put32(section, at.rsrc_section_header + 20, 0x7FFFF000);
  Write(dir + "/outside_section.exe", section);

  // The version resource's address is in no section.
  Bytes data = good;
  Put32(data, at.data_entry, 0x7FFF0000);
  Write(dir + "/outside_data.exe", data);

  // RT_VERSION's name directory leads back to the root directory.
  Bytes loop = good;
  Put32(loop, at.name_entry + 4, 0x80000000);
  Write(dir + "/loop.exe", loop);

  // The version resource claims almost 4 GiB: offset + size overflows 32 bits.
  Bytes overflow = good;
  Put32(overflow, at.data_entry + 4, 0xFFFFFFF0);
  Write(dir + "/overflow.exe", overflow);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "icon" && argc == 3) {
    Write(argv[2], Icon());
    return 0;
  }
  if (mode == "hostile" && argc == 4) {
    std::ifstream in(argv[2], std::ios::binary);
    const Bytes good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (good.size() < 0x200) {
      std::fprintf(stderr, "cannot read %s\n", argv[2]);
      return 1;
    }
    Hostile(good, argv[3]);
    return 0;
  }
  std::fprintf(stderr, "usage: make_fixtures icon FILE.ico | hostile GOOD.exe DIR\n");
  return 2;
}
