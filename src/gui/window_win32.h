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
#include "gui/platform.h"

namespace velmora::gui::win32 {

// GDI object owner: deletes the object when it goes.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  void Reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  H Get() const { return handle_; }

 private:
  H handle_ = nullptr;
};

// Selects an object into a DC for the guard's lifetime.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC with a bitmap of the given size: paint into it, then Present.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, int width, int height);
  ~BufferedPaint();
  HDC Dc() const { return dc_; }
  void Present();

 private:
  HDC target_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  int width_, height_;
};

COLORREF ToColorRef(TColor color);

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

// The message pump's keyboard navigation: Tab, Shift+Tab and, with TEnterAsTab, Enter.
bool HandleNavigationKey(const MSG& msg);

HWND ParentHwnd(const TControl& control);

}  // namespace velmora::gui::win32
