// The window of a bevel. A line shape gets a window only as large as the line (two pixels),
// so it never covers the controls beside it; boxes and frames paint only their edges.
#include "gui/bevel.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class BevelPeer final : public WindowPeer {
 public:
  explicit BevelPeer(TBevel& bevel) : WindowPeer(bevel), bevel_(bevel) {
    Create(nullptr, WS_DISABLED, 0);
  }
  void Changed(Change what) override {
    if (what == Change::kState) ApplyBounds();
    WindowPeer::Changed(what);
  }

 private:
  bool PaintsItself() const override { return true; }

  void ApplyBounds() override {
    const Rect b = control_.Bounds();
    int x = Scale(b.left), y = Scale(b.top), w = Scale(b.width), h = Scale(b.height);
    const int line = 2;
    switch (bevel_.Shape()) {
      case TBevelShape::bsTopLine:
        h = line;
        break;
      case TBevelShape::bsBottomLine:
        y += h - line;
        h = line;
        break;
      case TBevelShape::bsLeftLine:
        w = line;
        break;
      case TBevelShape::bsRightLine:
        x += w - line;
        w = line;
        break;
      default:
        break;
    }
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void OnPaint(HDC dc, const RECT& rc) override {
    FillRect(dc, &rc, ParentBrush());
    const bool lowered = bevel_.Style() == TBevelStyle::bsLowered;
    const COLORREF first = GetSysColor(lowered ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    const COLORREF second = GetSysColor(lowered ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    GdiObject<HBRUSH> a(CreateSolidBrush(first)), b(CreateSolidBrush(second));
    const auto fill = [&](int l, int t, int r, int bt, HBRUSH brush) {
      RECT x{l, t, r, bt};
      FillRect(dc, &x, brush);
    };
    switch (bevel_.Shape()) {
      case TBevelShape::bsTopLine:
      case TBevelShape::bsBottomLine:
        fill(0, 0, rc.right, 1, a.Get());
        fill(0, 1, rc.right, 2, b.Get());
        break;
      case TBevelShape::bsLeftLine:
      case TBevelShape::bsRightLine:
        fill(0, 0, 1, rc.bottom, a.Get());
        fill(1, 0, 2, rc.bottom, b.Get());
        break;
      case TBevelShape::bsSpacer:
        break;
      default: {
        RECT r = rc;
        DrawEdge(dc, &r,
                 bevel_.Shape() == TBevelShape::bsFrame ? EDGE_ETCHED
                 : lowered                              ? BDR_SUNKENOUTER
                                                        : BDR_RAISEDOUTER,
                 BF_RECT);
      }
    }
  }

  TBevel& bevel_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeBevelPeer(TControl& c) {
  return std::make_unique<BevelPeer>(static_cast<TBevel&>(c));
}

}  // namespace velmora::gui::win32
