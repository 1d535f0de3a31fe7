// The windows of labels and link labels: STATIC controls drawn on their parent's background.
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

class LinkLabelPeer final : public LabelPeer {
 public:
  explicit LinkLabelPeer(TLinkLabel& link) : LabelPeer(link, SS_NOTIFY), link_(link) {
    ApplyFont();  // the base made the window with the plain font
  }

 private:
  // Always underlined, whatever the font says.
  void ApplyFont() override {
    const TFont& f = link_.Font();
    if (!(f.Style() & fsUnderline)) {
      TFont underlined;
      underlined.Assign(f);
      underlined.SetStyle(f.Style() | fsUnderline);
      underlined_ = CreateGdiFont(underlined, Scale(underlined.Height()));
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.Get()), TRUE);
      return;
    }
    LabelPeer::ApplyFont();
  }

  COLORREF TextColor() const override { return ToColorRef(link_.LinkColor()); }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    switch (message) {
      case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
        result = TRUE;
        return true;
      case WM_LBUTTONDOWN:
        link_.Press();
        return false;
      case WM_LBUTTONUP:
        link_.Click();
        return false;
      default:
        return LabelPeer::OnMessage(message, wparam, lparam, result);
    }
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
