// The windows of forms, panels and group boxes.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "core/text.h"
#include "gui/form.h"
#include "gui/panel.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

void Rescale(TControl& control, int dpi) {
  if (auto* peer = static_cast<WindowPeer*>(control.Peer())) peer->SetDpi(dpi);
  if (auto* parent = dynamic_cast<TWinControl*>(&control)) {
    for (TControl* child : parent->Controls()) Rescale(*child, dpi);
  }
}

class FormPeer final : public WindowPeer {
 public:
  explicit FormPeer(TForm& form) : WindowPeer(form), form_(form) {
    Create(nullptr, Style(), ExStyle());
    if (form_.Position() == TPosition::poScreenCenter ||
        form_.Position() == TPosition::poDesktopCenter ||
        form_.Position() == TPosition::poMainFormCenter) {
      Center();
    }
  }

  void Changed(Change what) override {
    if (what == Change::kVisible && form_.Visible()) {
      focus_on_show_ = true;
      ShowWindow(hwnd_, ShowCommand());
      SetForegroundWindow(hwnd_);
      return;
    }
    if (what == Change::kState) {
      const bool visible = IsWindowVisible(hwnd_) != FALSE;
      SetWindowLongPtrW(hwnd_, GWL_STYLE,
                        Style() | (visible ? WS_VISIBLE : 0) |
                            (GetWindowLongPtrW(hwnd_, GWL_STYLE) & (WS_MINIMIZE | WS_MAXIMIZE)));
      SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ExStyle());
      // A hidden window takes its state when it is shown (ShowCommand).
      if (visible && ShowingState() != form_.WindowState()) ShowWindow(hwnd_, ShowCommand());
      if (!IsIconic(hwnd_) && !IsZoomed(hwnd_)) ApplyBounds();
      return;
    }
    WindowPeer::Changed(what);
  }

 private:
  DWORD Style() const {
    DWORD style = WS_CLIPCHILDREN;
    const std::uint32_t icons = form_.BorderIcons();
    switch (form_.BorderStyle()) {
      case TFormBorderStyle::bsNone:
        return style | WS_POPUP;
      case TFormBorderStyle::bsSingle:
      case TFormBorderStyle::bsToolWindow:
        style |= WS_CAPTION | WS_BORDER;
        break;
      case TFormBorderStyle::bsDialog:
        style |= WS_CAPTION | DS_MODALFRAME;
        break;
      default:
        style |= WS_CAPTION | WS_THICKFRAME;
        break;
    }
    if (icons & biSystemMenu) {
      style |= WS_SYSMENU;
      // A dialog border carries only the close box, whatever the other icons say.
      if (form_.BorderStyle() != TFormBorderStyle::bsDialog) {
        if (icons & biMinimize) style |= WS_MINIMIZEBOX;
        if (icons & biMaximize) style |= WS_MAXIMIZEBOX;
      }
    }
    return style;
  }

  int ShowCommand() const {
    switch (form_.WindowState()) {
      case TWindowState::wsMaximized:
        return SW_SHOWMAXIMIZED;
      case TWindowState::wsMinimized:
        return SW_SHOWMINIMIZED;
      default:
        return IsIconic(hwnd_) || IsZoomed(hwnd_) ? SW_RESTORE : SW_SHOW;
    }
  }

  TWindowState ShowingState() const {
    if (IsIconic(hwnd_)) return TWindowState::wsMinimized;
    if (IsZoomed(hwnd_)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
  }

  DWORD ExStyle() const {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (form_.BorderStyle() == TFormBorderStyle::bsDialog) ex |= WS_EX_DLGMODALFRAME;
    if (form_.BorderStyle() == TFormBorderStyle::bsToolWindow) ex |= WS_EX_TOOLWINDOW;
    return ex;
  }

  // The design's size is the client area's; the window is made as large as its frame needs.
  void ApplyBounds() override {
    RECT rc{0, 0, Scale(form_.ClientWidth()), Scale(form_.ClientHeight())};
    AdjustWindowRectEx(&rc, Style(), FALSE, ExStyle());
    SetWindowPos(hwnd_, nullptr, Scale(form_.Left()), Scale(form_.Top()), rc.right - rc.left,
                 rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void Center() {
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - (rc.right - rc.left)) / 2;
    const int y = work.top + ((work.bottom - work.top) - (rc.bottom - rc.top)) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    if (form_.OnWindowMessage) {
      std::intptr_t answer = 0;
      if (form_.OnWindowMessage(message, wparam, lparam, answer)) {
        result = answer;
        return true;
      }
    }
    switch (message) {
      case WM_DPICHANGED: {
        // Per-monitor awareness: the form moved to a monitor of another dpi; every window
        // is scaled again from the design's 96-dpi values, and the form takes the
        // rectangle the system suggests.
        Rescale(form_, HIWORD(wparam));
        const RECT* r = reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        result = 0;
        return true;
      }
      case WM_ACTIVATE:
        if (LOWORD(wparam) == WA_INACTIVE) {
          if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) last_focus_ = focus;
          return false;
        }
        if (HIWORD(wparam)) return false;  // activated while minimized: no focus to give
        if (HWND target = FocusOnActivation()) {
          SetFocus(target);
          result = 0;
          return true;
        }
        return false;
      case WM_CLOSE:
        // The form decides (OnCloseQuery); the window is never destroyed by closing.
        form_.Close();
        result = 0;
        return true;
      case WM_SIZE:
        if (wparam != SIZE_MINIMIZED && !syncing_) {
          syncing_ = true;
          form_.SetBounds(form_.Left(), form_.Top(), Unscale(LOWORD(lparam)),
                          Unscale(HIWORD(lparam)));
          syncing_ = false;
        }
        return false;
      default:
        return WindowPeer::OnMessage(message, wparam, lparam, result);
    }
  }

  // A form that is shown puts the focus where the form says (ControlToFocusOnShow); one that
  // is merely activated again (Alt+Tab, a click) gets back the control that had the focus,
  // as dialog boxes do. Null leaves the focus to the system.
  HWND FocusOnActivation() {
    if (focus_on_show_) {
      focus_on_show_ = false;
      TControl* wanted = form_.ControlToFocusOnShow();
      if (wanted && CanFocus(wanted)) return reinterpret_cast<HWND>(wanted->Handle());
    }
    if (last_focus_ && IsChild(hwnd_, last_focus_) && IsWindowVisible(last_focus_) &&
        IsWindowEnabled(last_focus_)) {
      return last_focus_;
    }
    TControl* first = form_.ControlToFocusOnShow();
    return first && CanFocus(first) ? reinterpret_cast<HWND>(first->Handle()) : nullptr;
  }

  TForm& form_;
  bool focus_on_show_ = false;
  HWND last_focus_ = nullptr;  // a child window, not owned
};

class PanelPeer final : public WindowPeer {
 public:
  explicit PanelPeer(TPanel& panel) : WindowPeer(panel), panel_(panel) {
    Create(nullptr, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
  }

 private:
  void OnPaint(HDC dc, const RECT& rc) override {
    RECT r = rc;
    if (panel_.BevelOuter() == TBevelCut::bvRaised)
      DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
    if (panel_.BevelOuter() == TBevelCut::bvLowered)
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (!panel_.Caption().empty()) {
      SelectGuard font(dc, Font());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ToColorRef(panel_.Font().Color()));
      std::wstring text = Widen(panel_.Caption());
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }

  TPanel& panel_;
};

// The group frame is drawn here rather than by the system's group box: Wine's leaves a gap
// in the frame narrower than a long caption (the end of "Anzeige der Anwendungsdetails" lay
// under the line), and translations make captions long.
class GroupBoxPeer final : public WindowPeer {
 public:
  explicit GroupBoxPeer(TGroupBox& box) : WindowPeer(box), box_(box) {
    Create(nullptr, 0, WS_EX_CONTROLPARENT | WS_EX_TRANSPARENT);
  }

 private:
  // Only the frame and the caption are drawn: the option buttons inside the frame are
  // siblings, not children, and an erased interior would cover them.
  bool PaintsItself() const override { return true; }

  void OnPaint(HDC dc, const RECT& rc) override {
    SelectGuard font(dc, Font());
    const std::wstring text = Widen(box_.Caption());
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"Ag", 2, &extent);
    // The frame's top line runs through the middle of the caption's line.
    RECT frame = rc;
    frame.top += extent.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (text.empty()) return;
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int gap = Scale(2);
    RECT caption{rc.left + Scale(8), rc.top, rc.left + Scale(8) + extent.cx + 2 * gap,
                 rc.top + extent.cy};
    caption.right = std::min(caption.right, rc.right - Scale(2));
    FillRect(dc, &caption, ParentBrush());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(box_.Font().Color()));
    caption.left += gap;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }

  TGroupBox& box_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeFormPeer(TControl& c) {
  return std::make_unique<FormPeer>(static_cast<TForm&>(c));
}
std::unique_ptr<ControlPeer> MakePanelPeer(TControl& c) {
  return std::make_unique<PanelPeer>(static_cast<TPanel&>(c));
}
std::unique_ptr<ControlPeer> MakeGroupBoxPeer(TControl& c) {
  return std::make_unique<GroupBoxPeer>(static_cast<TGroupBox&>(c));
}

}  // namespace velmora::gui::win32
