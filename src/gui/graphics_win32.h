// GDI for the component layer's colours, fonts and bitmaps: what the controls' windows, the
// capture of a window and the BMP writer share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "gui/graphics.h"
#include "gui/handles_win32.h"

namespace velmora::gui::win32 {

// A plain colour as is; a system colour (0xFF0000nn) as the system's colour nn now.
COLORREF ToColorRef(TColor color);

// The GDI font of a design font, `height` device pixels high (LOGFONT's lfHeight: negative
// for the characters' height, positive for the cell's), bold and the other styles as the font
// says.
GdiObject<HFONT> CreateGdiFont(const TFont& font, int height);
// The same with an explicit weight (FW_*); of `style` only italic, underline and strike-out
// count.
GdiObject<HFONT> CreateGdiFont(std::string_view face, int height, int weight, std::uint32_t style);

// The header of an uncompressed (BI_RGB) device-independent bitmap of `bit_count` bits per
// pixel: rows bottom-up for a positive `height`, as a BMP file stores them, top-down for a
// negative one.
BITMAPINFOHEADER DibHeader(int width, int height, WORD bit_count);
// The bytes of one row: the rows of a DIB are padded to whole 32-bit words.
int DibStride(int width, WORD bit_count);

// A memory DC with a bitmap of the given size: paint into it, then Present, so that the
// window never shows a half-painted frame. Not copyable: the buffer is given back once.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, int width, int height);
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;

  HDC Dc() const { return dc_.Get(); }
  void Present();

 private:
  HDC target_;
  int width_, height_;
  GdiObject<HBITMAP> bitmap_;
  MemoryDc dc_;  // after the bitmap: deselects it before the bitmap is deleted
};

}  // namespace velmora::gui::win32
