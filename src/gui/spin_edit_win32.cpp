// The window of a spin box: an edit with an up-down control beside it. Typed text goes to
// the object at once, which clamps it; the edit then shows the object's value again.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "core/text.h"
#include "gui/peers_win32.h"
#include "gui/spin_edit.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class SpinEditPeer final : public WindowPeer {
 public:
  explicit SpinEditPeer(TSpinEdit& spin) : WindowPeer(spin), spin_(spin) {
    Create(WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    arrows_.Reset(CreateWindowExW(
        0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
        GetParent(hwnd_), nullptr, GetModuleHandleW(nullptr), nullptr));
    Adopt(arrows_.Get());
    ApplyBounds();
    ShowValue();
    ApplyLimits();
  }
  void Changed(Change what) override {
    if (what == Change::kState) {
      ShowValue();
      ApplyLimits();
      return;
    }
    if (what == Change::kVisible && arrows_)
      ShowWindow(arrows_.Get(), spin_.Visible() ? SW_SHOWNA : SW_HIDE);
    if (what == Change::kEnabled && arrows_) EnableWindow(arrows_.Get(), spin_.Enabled());
    WindowPeer::Changed(what);
  }

 private:
  void ApplyBounds() override {
    const Rect b = control_.Bounds();
    const int arrows = arrows_ ? Scale(17) : 0;
    SetWindowPos(hwnd_, nullptr, Scale(b.left), Scale(b.top), Scale(b.width) - arrows,
                 Scale(b.height), SWP_NOZORDER | SWP_NOACTIVATE);
    if (arrows_) {
      SetWindowPos(arrows_.Get(), nullptr, Scale(b.left) + Scale(b.width) - arrows, Scale(b.top),
                   arrows, Scale(b.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  void ShowValue() {
    const std::wstring text = std::to_wstring(spin_.Value());
    wchar_t shown[32] = {};
    GetWindowTextW(hwnd_, shown, 32);
    if (text == shown) return;
    syncing_ = true;
    SetWindowTextW(hwnd_, text.c_str());
    SendMessageW(hwnd_, EM_SETSEL, text.size(), text.size());
    syncing_ = false;
  }

  // The edit takes digits only when no negative value is allowed (the system's "only
  // numbers" balloon explains a refused key), and the arrows report the real range and
  // position to other programs and accessibility tools. The object stays the one owner of
  // the value: the arrows only show it.
  void ApplyLimits() {
    const bool bounded = spin_.MaxValue() > spin_.MinValue();
    const bool digits_only = bounded && spin_.MinValue() >= 0;
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR wanted = digits_only ? (style | ES_NUMBER) : (style & ~LONG_PTR{ES_NUMBER});
    if (wanted != style) SetWindowLongPtrW(hwnd_, GWL_STYLE, wanted);
    if (!arrows_) return;
    SendMessageW(arrows_.Get(), UDM_SETRANGE32, bounded ? spin_.MinValue() : INT32_MIN,
                 bounded ? spin_.MaxValue() : INT32_MAX);
    SendMessageW(arrows_.Get(), UDM_SETPOS32, 0, spin_.Value());
  }

  void OnCommand(WORD code) override {
    if (code != EN_CHANGE || syncing_) return;
    wchar_t text[64] = {};
    GetWindowTextW(hwnd_, text, 64);
    // An empty edit or a lone minus sign is a number being typed; it is left alone.
    if (text[0] == 0 || (text[0] == L'-' && text[1] == 0)) return;
    spin_.SetValueFromText(Narrow(text));
  }

  LRESULT OnNotify(NMHDR& header) override {
    if (header.code == UDN_DELTAPOS) {
      const auto& change = reinterpret_cast<NMUPDOWN&>(header);
      // The arrows of an up-down control count the other way round: up is a negative delta.
      if (change.iDelta < 0)
        spin_.StepUp();
      else if (change.iDelta > 0)
        spin_.StepDown();
      return 1;  // the up-down control keeps no position of its own
    }
    return 0;
  }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    if (message == WM_KEYDOWN && (wparam == VK_UP || wparam == VK_DOWN)) {
      wparam == VK_UP ? spin_.StepUp() : spin_.StepDown();
      result = 0;
      return true;
    }
    if (message == WM_KILLFOCUS) ShowValue();
    return WindowPeer::OnMessage(message, wparam, lparam, result);
  }

  TSpinEdit& spin_;
  OwnedWindow arrows_;  // a sibling of the edit, so not destroyed with it
};

}  // namespace

std::unique_ptr<ControlPeer> MakeSpinEditPeer(TControl& c) {
  return std::make_unique<SpinEditPeer>(static_cast<TSpinEdit&>(c));
}

}  // namespace velmora::gui::win32
