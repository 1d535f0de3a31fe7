// The windows of labels (STATIC controls drawn on their parent's background) and of link
// labels (drawn by the layer).
#include <windows.h>

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "core/text.h"
#include "gui/label.h"
#include "gui/link_label.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class LabelPeer : public WindowPeer {
 public:
  explicit LabelPeer(TLabel& label, DWORD extra = 0) : WindowPeer(label), label_(label) {
    Create(L"STATIC", Style() | extra, 0);
  }

  void Changed(Change what) override {
    if (what == Change::kState) {
      SetWindowLongPtrW(hwnd_, GWL_STYLE,
                        (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~0xFFL) | (Style() & 0xFF));
    }
    WindowPeer::Changed(what);
  }

 protected:
  DWORD Style() const {
    switch (label_.Alignment()) {
      case TAlignment::taCenter:
        return SS_CENTER;
      case TAlignment::taRightJustify:
        return SS_RIGHT;
      default:
        return label_.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
    }
  }

  virtual COLORREF TextColor() const { return ToColorRef(label_.Font().Color()); }

  HBRUSH OnCtlColor(HDC dc) override {
    SetTextColor(dc, TextColor());
    SetBkMode(dc, TRANSPARENT);
    return label_.Transparent() ? ParentBrush() : BackgroundBrush();
  }

  TLabel& label_;
};

// A link draws itself: only its text is underlined and only the text answers the mouse (the
// hand cursor, the press), not the empty rest of the label; with the keyboard focus it shows
// a focus rectangle around the text, and Enter or Space open it.
class LinkLabelPeer final : public WindowPeer {
 public:
  explicit LinkLabelPeer(TLinkLabel& link) : WindowPeer(link), link_(link) {
    Create(nullptr, 0, 0);
  }

 private:
  bool PaintsItself() const override { return true; }

  // Always underlined, whatever the font says.
  void ApplyFont() override {
    TFont underlined;
    underlined.Assign(link_.Font());
    underlined.SetStyle(link_.Font().Style() | fsUnderline);
    underlined_ = CreateGdiFont(underlined, Scale(underlined.Height()));
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  UINT TextFormat() const {
    UINT format = DT_NOPREFIX | (link_.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE);
    switch (link_.Alignment()) {
      case TAlignment::taCenter:
        return format | DT_CENTER;
      case TAlignment::taRightJustify:
        return format | DT_RIGHT;
      default:
        return format | DT_LEFT;
    }
  }

  // Where the text lies in the client area.
  RECT TextRect(HDC dc) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    const std::wstring text = Widen(link_.Caption());
    RECT r = client;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat() | DT_CALCRECT);
    const int width = std::min(r.right - r.left, client.right - client.left);
    if (link_.Alignment() == TAlignment::taCenter) {
      r.left = client.left + (client.right - client.left - width) / 2;
    } else if (link_.Alignment() == TAlignment::taRightJustify) {
      r.left = client.right - width;
    }
    r.right = r.left + width;
    r.bottom = std::min(r.bottom, client.bottom);
    return r;
  }

  bool OverText(LPARAM lparam) const {
    WindowDc dc(hwnd_);
    SelectGuard font(dc.Get(), underlined_.Get());
    const RECT r = TextRect(dc.Get());
    const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    return PtInRect(&r, p) != FALSE;
  }

  void OnPaint(HDC dc, const RECT& rc) override {
    FillRect(dc, &rc, link_.Transparent() ? ParentBrush() : BackgroundBrush());
    SelectGuard font(dc, underlined_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(link_.LinkColor()));
    RECT r = TextRect(dc);
    const std::wstring text = Widen(link_.Caption());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat());
    if (GetFocus() == hwnd_) {
      InflateRect(&r, 1, 0);
      SetTextColor(dc, RGB(0, 0, 0));
      DrawFocusRect(dc, &r);
    }
  }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    switch (message) {
      case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        if (!OverText(MAKELPARAM(p.x, p.y))) return false;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
        result = TRUE;
        return true;
      }
      case WM_LBUTTONDOWN:
        if (OverText(lparam)) link_.Press();
        return false;
      case WM_LBUTTONUP:
        if (OverText(lparam)) link_.Click();
        return false;
      case WM_GETFONT:  // for tools that read the text as drawn
        result = reinterpret_cast<LRESULT>(underlined_.Get());
        return true;
      case WM_GETDLGCODE:
        result = DLGC_WANTCHARS;
        return true;
      case WM_KEYDOWN:
        if (wparam != VK_RETURN && wparam != VK_SPACE) break;
        link_.Open();
        result = 0;
        return true;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(hwnd_, nullptr, FALSE);
        return false;
      case WM_SETTEXT:
        InvalidateRect(hwnd_, nullptr, TRUE);
        return false;
      default:
        break;
    }
    return WindowPeer::OnMessage(message, wparam, lparam, result);
  }

  TLinkLabel& link_;
  GdiObject<HFONT> underlined_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeLabelPeer(TControl& c) {
  return std::make_unique<LabelPeer>(static_cast<TLabel&>(c));
}
std::unique_ptr<ControlPeer> MakeLinkLabelPeer(TControl& c) {
  return std::make_unique<LinkLabelPeer>(static_cast<TLinkLabel&>(c));
}

}  // namespace velmora::gui::win32
