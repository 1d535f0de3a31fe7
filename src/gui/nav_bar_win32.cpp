// The window of the navigation bar, drawn by the layer itself: a light column with large
// caption buttons; the pressed one is filled with the accent colour, the one under the
// mouse is shaded. Arrow keys, Home and End move a focus mark (drawn while the bar has the
// focus), Space or Enter click the marked button.
#include <windows.h>

#include <windowsx.h>

#include <algorithm>

#include "core/text.h"
#include "gui/nav_bar.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

constexpr COLORREF kBackground = RGB(243, 245, 248);
constexpr COLORREF kBorder = RGB(222, 226, 232);
constexpr COLORREF kText = RGB(38, 45, 56);
constexpr COLORREF kHover = RGB(228, 233, 240);
constexpr COLORREF kAccent = RGB(37, 99, 235);
constexpr COLORREF kAccentText = RGB(255, 255, 255);

class NavBarPeer final : public WindowPeer {
 public:
  explicit NavBarPeer(TNavBar& bar) : WindowPeer(bar), bar_(bar) { Create(nullptr, WS_TABSTOP, 0); }

 private:
  bool PaintsItself() const override { return true; }

  TCollectionOf<TNavBarButton>* Buttons() const {
    return bar_.Pages().Count() > 0 ? &bar_.Pages()[0].Buttons() : nullptr;
  }

  RECT ButtonRect(int index) const {
    const int top = Scale(TNavBar::kTopPadding + index * bar_.ButtonHeight());
    RECT rc;
    GetClientRect(hwnd_, &rc);
    return {Scale(8), top + Scale(3), rc.right - Scale(9),
            top + Scale(bar_.ButtonHeight()) - Scale(3)};
  }

  void ApplyFont() override {
    WindowPeer::ApplyFont();
    const TFont& f = control_.Font();
    // Large buttons: the caption a little larger than the form's text, semibold.
    caption_font_ = CreateGdiFont(f.Name(), Scale(f.Height() < 0 ? f.Height() - 2 : f.Height() + 2),
                                  FW_SEMIBOLD, 0);
  }

  void OnPaint(HDC target, const RECT& rc) override {
    BufferedPaint buffer(target, rc.right, rc.bottom);
    HDC dc = buffer.Dc();
    GdiObject<HBRUSH> background(CreateSolidBrush(kBackground));
    FillRect(dc, &rc, background.Get());
    RECT border{rc.right - 1, 0, rc.right, rc.bottom};
    GdiObject<HBRUSH> border_brush(CreateSolidBrush(kBorder));
    FillRect(dc, &border, border_brush.Get());
    if (auto* buttons = Buttons()) {
      SelectGuard font(dc, caption_font_.Get());
      SetBkMode(dc, TRANSPARENT);
      for (int i = 0; i < buttons->Count(); ++i) {
        const TNavBarButton& button = (*buttons)[i];
        RECT r = ButtonRect(i);
        const bool down = button.Down();
        if (down || i == hover_) {
          const COLORREF fill = down ? kAccent : kHover;
          GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
          GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, fill));
          SelectGuard b(dc, brush.Get());
          SelectGuard p(dc, pen.Get());
          RoundRect(dc, r.left, r.top, r.right, r.bottom, Scale(10), Scale(10));
        }
        if (i == focus_ && GetFocus() == hwnd_) {
          RECT f = r;
          InflateRect(&f, -Scale(3), -Scale(3));
          SetTextColor(dc, down ? kAccentText : kText);
          DrawFocusRect(dc, &f);
        }
        SetTextColor(dc, down ? kAccentText : kText);
        RECT text = r;
        text.left += Scale(14);
        const std::wstring caption = Widen(button.Caption());
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
      }
    }
    buffer.Present();
  }

  int IndexAt(LPARAM lparam) const {
    TNavBarButton* b = bar_.ButtonAt(Unscale(GET_X_LPARAM(lparam)), Unscale(GET_Y_LPARAM(lparam)));
    return b ? b->Index() : -1;
  }

  void MoveFocusMark(int index) {
    focus_ = index;
    InvalidateRect(hwnd_, nullptr, FALSE);
  }

  void ClickAt(int index) {
    auto* buttons = Buttons();
    if (buttons && index >= 0 && index < buttons->Count()) (*buttons)[index].Click();
  }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    switch (message) {
      case WM_MOUSEMOVE: {
        const int index = IndexAt(lparam);
        if (index != hover_) {
          hover_ = index;
          InvalidateRect(hwnd_, nullptr, FALSE);
        }
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
        return true;
      }
      case WM_MOUSELEAVE:
        hover_ = -1;
        InvalidateRect(hwnd_, nullptr, FALSE);
        return true;
      case WM_LBUTTONDOWN:
        SetFocus(hwnd_);
        pressed_ = IndexAt(lparam);
        SetCapture(hwnd_);
        return true;
      case WM_LBUTTONUP: {
        ReleaseCapture();
        const int index = IndexAt(lparam);
        if (index >= 0 && index == pressed_) {
          focus_ = index;
          ClickAt(index);
        }
        pressed_ = -1;
        return true;
      }
      case WM_GETDLGCODE:
        result = DLGC_WANTARROWS;
        return true;
      case WM_KEYDOWN: {
        auto* buttons = Buttons();
        const int count = buttons ? buttons->Count() : 0;
        if (count == 0) return false;
        const int from = std::clamp(focus_, 0, count - 1);
        switch (wparam) {
          case VK_DOWN:
            MoveFocusMark((from + 1) % count);
            return true;
          case VK_UP:
            MoveFocusMark((from + count - 1) % count);
            return true;
          case VK_HOME:
            MoveFocusMark(0);
            return true;
          case VK_END:
            MoveFocusMark(count - 1);
            return true;
          case VK_SPACE:
          case VK_RETURN:
            ClickAt(from);
            return true;
          default:
            return false;
        }
      }
      case WM_SETFOCUS:
        // The focus mark starts on the page that is shown.
        if (auto* buttons = Buttons()) {
          for (int i = 0; i < buttons->Count(); ++i) {
            if ((*buttons)[i].Down()) focus_ = i;
          }
        }
        InvalidateRect(hwnd_, nullptr, FALSE);
        return false;
      case WM_KILLFOCUS:
        InvalidateRect(hwnd_, nullptr, FALSE);
        return false;
      default:
        return WindowPeer::OnMessage(message, wparam, lparam, result);
    }
  }

  TNavBar& bar_;
  GdiObject<HFONT> caption_font_;
  int hover_ = -1;
  int pressed_ = -1;
  int focus_ = 0;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeNavBarPeer(TControl& c) {
  return std::make_unique<NavBarPeer>(static_cast<TNavBar&>(c));
}

}  // namespace velmora::gui::win32
