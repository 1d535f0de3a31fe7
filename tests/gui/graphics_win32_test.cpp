// The GDI owners and helpers under Wine: each owner frees its handle once and at the right
// time, and the fonts and bitmap headers say what the design asks for.
#include "gui/graphics_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "core/text.h"

namespace velmora::gui::win32 {
namespace {

static_assert(!std::is_copy_constructible_v<GdiObject<HBITMAP>>);
static_assert(!std::is_copy_assignable_v<GdiObject<HBITMAP>>);
static_assert(std::is_nothrow_move_constructible_v<GdiObject<HBITMAP>>);
static_assert(!std::is_copy_constructible_v<OwnedIcon>);
static_assert(!std::is_copy_constructible_v<SelectGuard>);
static_assert(!std::is_copy_constructible_v<WindowDc>);
static_assert(!std::is_copy_constructible_v<PaintDc>);
static_assert(!std::is_copy_constructible_v<MemoryDc>);
static_assert(!std::is_copy_constructible_v<BufferedPaint>);
static_assert(!std::is_copy_assignable_v<BufferedPaint>);

TEST(GdiObject, MovingHandsTheObjectOverAndTheLastOwnerDeletesIt) {
  GdiObject<HBRUSH> first(CreateSolidBrush(RGB(1, 2, 3)));
  const HBRUSH brush = first.Get();
  ASSERT_NE(brush, nullptr);
  GdiObject<HBRUSH> second(std::move(first));
  EXPECT_EQ(first.Get(), nullptr);
  EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH)) << "a move deletes nothing";
  second.Reset();
  // A deleted object has no type.
  EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(OwnedIcon, DestroysTheIconItOwns) {
  const HICON shared = LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */);
  HICON copy = nullptr;
  {
    OwnedIcon icon(static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 16, 16, 0)));
    copy = icon.Get();
    ASSERT_NE(copy, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(copy, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(copy, &info)) << "a destroyed icon has no bitmaps";
}

TEST(MemoryDc, HoldsItsBitmapUntilItGoes) {
  const WindowDc screen;
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), 4, 4));
  ASSERT_TRUE(bitmap);
  {
    const MemoryDc holder(screen.Get(), bitmap.Get());
    EXPECT_EQ(GetCurrentObject(holder.Get(), OBJ_BITMAP), bitmap.Get());
    // A bitmap can be selected into one DC at a time.
    const MemoryDc other(screen.Get());
    EXPECT_EQ(SelectObject(other.Get(), bitmap.Get()), nullptr);
  }
  const MemoryDc next(screen.Get(), bitmap.Get());
  EXPECT_EQ(GetCurrentObject(next.Get(), OBJ_BITMAP), bitmap.Get()) << "free again";
}

TEST(BufferedPaint, ShowsNothingUntilPresented) {
  const WindowDc screen;
  GdiObject<HBITMAP> target_bitmap(CreateCompatibleBitmap(screen.Get(), 8, 8));
  const MemoryDc target(screen.Get(), target_bitmap.Get());
  RECT all{0, 0, 8, 8};
  FillRect(target.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  BufferedPaint buffer(target.Get(), 8, 8);
  FillRect(buffer.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetPixel(target.Get(), 3, 3), RGB(255, 255, 255));
  buffer.Present();
  EXPECT_EQ(GetPixel(target.Get(), 3, 3), RGB(0, 0, 0));
}

LOGFONTW Describe(const GdiObject<HFONT>& font) {
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(font.Get(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  return lf;
}

TEST(CreateGdiFont, TakesFaceHeightAndEveryStyleOfTheDesignFont) {
  const struct {
    std::uint32_t style;
    LONG weight;
    bool italic, underline, strike_out;
  } cases[] = {
      {0, FW_NORMAL, false, false, false},
      {fsBold, FW_BOLD, false, false, false},
      {fsItalic, FW_NORMAL, true, false, false},
      {fsUnderline, FW_NORMAL, false, true, false},
      {fsStrikeOut, FW_NORMAL, false, false, true},
      {fsBold | fsItalic | fsUnderline | fsStrikeOut, FW_BOLD, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    TFont design;
    design.SetName("Tahoma");
    design.SetStyle(c.style);
    const LOGFONTW lf = Describe(CreateGdiFont(design, -17));
    EXPECT_EQ(Narrow(lf.lfFaceName), "Tahoma");
    EXPECT_EQ(lf.lfHeight, -17);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfItalic != 0, c.italic);
    EXPECT_EQ(lf.lfUnderline != 0, c.underline);
    EXPECT_EQ(lf.lfStrikeOut != 0, c.strike_out);
  }
}

TEST(CreateGdiFont, AnExplicitWeightOverridesTheBoldStyle) {
  const LOGFONTW lf = Describe(CreateGdiFont("Segoe UI", -15, FW_SEMIBOLD, fsBold | fsItalic));
  EXPECT_EQ(Narrow(lf.lfFaceName), "Segoe UI");
  EXPECT_EQ(lf.lfWeight, FW_SEMIBOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(lf.lfUnderline);
}

TEST(DibHeader, RowsArePaddedToWholeWordsAndTheHeightSignSaysTheRowOrder) {
  const struct {
    int width, height;
    WORD bits;
    int stride;
    DWORD image_size;
  } cases[] = {
      {1, 1, 24, 4, 4},     // 3 bytes padded to 4
      {3, 2, 24, 12, 24},   // 9 bytes padded to 12
      {4, 3, 24, 12, 36},   // 12 bytes, no padding
      {5, -2, 32, 20, 40},  // top-down: the size counts the rows all the same
      {640, -480, 32, 2560, 1228800},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                 std::to_string(c.bits));
    EXPECT_EQ(DibStride(c.width, c.bits), c.stride);
    const BITMAPINFOHEADER h = DibHeader(c.width, c.height, c.bits);
    EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(h.biWidth, c.width);
    EXPECT_EQ(h.biHeight, c.height);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, c.bits);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(h.biSizeImage, c.image_size);
  }
}

}  // namespace
}  // namespace velmora::gui::win32
