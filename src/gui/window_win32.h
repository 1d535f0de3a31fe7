// The base of every control's window (the peer): it owns the HWND, binds `this` to it, and
// hands each message to a small named handler. Windows of the layer's own classes get their
// messages through one static window procedure; windows of system classes (buttons, edits,
// list views) through SetWindowSubclass. Either way WM_COMMAND, WM_NOTIFY and the
// WM_CTLCOLOR* messages are sent back to the child's own peer, which raises the control's
// typed events: a parent never switches on control IDs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "gui/control.h"
#include "gui/graphics_win32.h"
#include "gui/handles_win32.h"
#include "gui/platform.h"

namespace velmora::gui::win32 {

class WindowPeer : public ControlPeer {
 public:
  explicit WindowPeer(TControl& control) : control_(control) {}
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }
  HWND Hwnd() const { return hwnd_; }
  TControl& Control() const { return control_; }
  void Changed(Change what) override;

  static WindowPeer* FromHandle(HWND hwnd);

  // Design pixels (96 dpi) to device pixels and back.
  int Scale(int value) const { return MulDiv(value, dpi_, 96); }
  int Unscale(int value) const { return MulDiv(value, 96, dpi_); }
  HFONT Font() const { return font_.Get(); }
  // Scales the window anew for `dpi` (fonts and bounds from the 96-dpi design values).
  void SetDpi(int dpi);
  // The brush of the control's background colour (for WM_CTLCOLOR* and painting).
  HBRUSH BackgroundBrush();
  // The background a transparent child shows: its parent's colour.
  HBRUSH ParentBrush();

 protected:
  // Makes the window: `window_class` null means the layer's own class with this peer's
  // window procedure; otherwise a system class, subclassed.
  void Create(const wchar_t* window_class, DWORD style, DWORD ex_style);
  virtual void ApplyBounds();
  virtual void ApplyFont();

  // Named handlers; return true when the message was handled (result in `result`).
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  virtual void OnCommand(WORD code) {}
  virtual LRESULT OnNotify(NMHDR& header) { return 0; }
  // WM_CTLCOLOR* for this child: a brush, or null for the default.
  virtual HBRUSH OnCtlColor(HDC dc);
  virtual void OnPaint(HDC dc, const RECT& rc) {}
  virtual bool PaintsItself() const { return false; }

  // Other windows that belong to this peer (the spin box's arrows) register here so that
  // their notifications reach it.
  void Adopt(HWND hwnd);

  TControl& control_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  bool syncing_ = false;  // set while the peer writes to its window, so echoes are ignored

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, bool subclassed);
  bool Reflect(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  GdiObject<HFONT> font_;
  GdiObject<HBRUSH> background_;
  TColor background_color_ = 0xFFFFFFFF;
  bool subclassed_ = false;
};

// Makes the peer of a control (null for classes without a window).
std::unique_ptr<ControlPeer> CreatePeerFor(TControl& control);

HWND ParentHwnd(const TControl& control);

// Whether the control and all its parents are visible and enabled and it has a window.
bool CanFocus(TControl* control);

}  // namespace velmora::gui::win32
