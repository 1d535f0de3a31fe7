#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

#include "gui/graphics_win32.h"
#include "gui/win32.h"

namespace velmora::gui {

bool SaveBitmapFile(HBITMAP bitmap, const std::wstring& path, int& distinct_colours) {
  DIBSECTION dib{};
  if (!GetObjectW(bitmap, sizeof(dib), &dib) || !dib.dsBm.bmBits) return false;
  const int w = dib.dsBm.bmWidth, h = std::abs(dib.dsBm.bmHeight);
  const int stride = win32::DibStride(w, 24);
  std::vector<unsigned char> data(static_cast<std::size_t>(stride) * h);
  std::set<std::uint32_t> colours;
  const auto* src = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
  for (int y = 0; y < h; ++y) {
    // Top-down source, bottom-up file.
    unsigned char* row = &data[static_cast<std::size_t>(h - 1 - y) * stride];
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = src[static_cast<std::size_t>(y) * w + x];
      if (colours.size() < 64) colours.insert(p & 0xFFFFFF);
      row[x * 3] = p & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = (p >> 16) & 0xFF;
    }
  }
  distinct_colours = static_cast<int>(colours.size());
  BITMAPFILEHEADER file{};
  const BITMAPINFOHEADER info = win32::DibHeader(w, h, 24);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  const bool ok = fwrite(&file, sizeof(file), 1, out) == 1 &&
                  fwrite(&info, sizeof(info), 1, out) == 1 &&
                  fwrite(data.data(), 1, data.size(), out) == data.size();
  return fclose(out) == 0 && ok;
}

}  // namespace velmora::gui
