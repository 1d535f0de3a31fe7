#include "gui/graphics_win32.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/text.h"

namespace velmora::gui::win32 {

COLORREF ToColorRef(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

GdiObject<HFONT> CreateGdiFont(const TFont& font, int height) {
  return CreateGdiFont(font.Name(), height, (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL,
                       font.Style());
}

GdiObject<HFONT> CreateGdiFont(std::string_view face, int height, int weight, std::uint32_t style) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = (style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring wide_face = Widen(face);
  lstrcpynW(lf.lfFaceName, wide_face.c_str(), LF_FACESIZE);
  return GdiObject<HFONT>(CreateFontIndirectW(&lf));
}

int DibStride(int width, WORD bit_count) {
  return (width * bit_count + 31) / 32 * 4;
}

BITMAPINFOHEADER DibHeader(int width, int height, WORD bit_count) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = bit_count;
  header.biCompression = BI_RGB;
  header.biSizeImage =
      static_cast<DWORD>(DibStride(width, bit_count)) * static_cast<DWORD>(std::abs(height));
  return header;
}

BufferedPaint::BufferedPaint(HDC target, int width, int height)
    : target_(target),
      width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      bitmap_(CreateCompatibleBitmap(target, width_, height_)),
      dc_(target, bitmap_.Get()) {}

void BufferedPaint::Present() {
  BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
}

}  // namespace velmora::gui::win32
