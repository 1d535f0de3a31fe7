// The window of a picture: a bitmap resource of the executable or pixels given by code,
// drawn at its size (or stretched, or centred) on the parent's background.
#include <vector>

#include "core/text.h"
#include "gui/image.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class ImagePeer final : public WindowPeer {
 public:
  explicit ImagePeer(TImage& image) : WindowPeer(image), image_(image) {
    Create(nullptr, WS_DISABLED, 0);
    Load();
  }
  void Changed(Change what) override {
    if (what == Change::kState) Load();
    WindowPeer::Changed(what);
  }

 private:
  bool PaintsItself() const override { return true; }

  void Load() {
    resource_.Reset();
    const TPicture& picture = image_.Picture();
    if (!picture.ResourceName().empty()) {
      resource_.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                      Widen(picture.ResourceName()).c_str(),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
  }

  void OnPaint(HDC target, const RECT& rc) override {
    BufferedPaint buffer(target, rc.right, rc.bottom);
    HDC dc = buffer.Dc();
    FillRect(dc, &rc, ParentBrush());
    const TPicture& picture = image_.Picture();
    int w = picture.Width(), h = picture.Height();
    BITMAP info{};
    if (resource_.Get() && GetObjectW(resource_.Get(), sizeof(info), &info)) {
      w = info.bmWidth;
      h = std::abs(info.bmHeight);
    }
    if (w > 0 && h > 0) {
      int dw = Scale(w), dh = Scale(h), x = 0, y = 0;
      if (image_.Stretch()) {
        dw = rc.right;
        dh = rc.bottom;
      } else if (image_.Center()) {
        x = (rc.right - dw) / 2;
        y = (rc.bottom - dh) / 2;
      }
      SetStretchBltMode(dc, HALFTONE);
      if (resource_.Get()) {
        MemoryDc source(dc, resource_.Get());
        StretchBlt(dc, x, y, dw, dh, source.Get(), 0, 0, w, h, SRCCOPY);
      } else {
        // Alpha is blended over the background by hand: StretchDIBits copies it as is.
        COLORREF back = ToColorRef(image_.Parent() ? image_.Parent()->Color() : clBtnFace);
        std::vector<std::uint32_t> pixels(picture.Pixels());
        for (auto& p : pixels) {
          const std::uint32_t a = p >> 24;
          const auto mix = [&](int shift, std::uint32_t bg) {
            return (((p >> shift) & 0xFF) * a + bg * (255 - a)) / 255;
          };
          p = (mix(16, GetRValue(back)) << 16) | (mix(8, GetGValue(back)) << 8) |
              mix(0, GetBValue(back));
        }
        BITMAPINFO bi{};
        bi.bmiHeader = DibHeader(w, -h, 32);
        StretchDIBits(dc, x, y, dw, dh, 0, 0, w, h, pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
      }
    }
    buffer.Present();
  }

  TImage& image_;
  GdiObject<HBITMAP> resource_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeImagePeer(TControl& c) {
  return std::make_unique<ImagePeer>(static_cast<TImage&>(c));
}

}  // namespace velmora::gui::win32
