// Owners of GDI and USER handles. Each gives its handle back to the system exactly once, when
// it goes: none can be copied (a copy would free the handle twice), and those that may change
// hands are move-only. `UniqueHandle` is the one of core/handles_win32.h.
#pragma once

#include <windows.h>

#include "core/handles_win32.h"

namespace velmora::gui::win32 {

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyWindowHandle {
  void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};

// A font, brush, pen or bitmap.
template <class H>
using GdiObject = UniqueHandle<H, DeleteGdiObject>;

// An icon made by the program (CopyImage, CreateIconIndirect, ExtractIconEx): destroyed with
// DestroyIcon. Icons loaded as shared resources (LoadIcon, LR_SHARED) are the system's and
// must not be put in one.
using OwnedIcon = UniqueHandle<HICON, DestroyIconHandle>;

// A window made beside a control's own (the spin box's arrows), destroyed with the object that
// holds it. A child window's holder must go before the parent window, or the handle is stale
// by then: the peers of a control's children go before its own.
using OwnedWindow = UniqueHandle<HWND, DestroyWindowHandle>;

// A popup menu made for one opening (CreatePopupMenu), destroyed when it has closed.
using OwnedMenu = UniqueHandle<HMENU, DestroyMenuHandle>;

// Selects an object into a DC for the guard's lifetime, then puts the DC's previous object
// back: a DC must not be deleted, nor the object deleted, while the object is selected.
class SelectGuard {
 public:
  // Selects nothing when either is null.
  SelectGuard(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The DC of a window's client area, or of the whole screen for a null window: a common DC
// from GetDC, which must be given back with ReleaseDC by the thread that took it.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// The DC of a WM_PAINT: BeginPaint validates the update region and hides the caret, and
// EndPaint must follow even when the painting fails, or the caret stays hidden.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintDc() { EndPaint(hwnd_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

struct DeleteDcHandle {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

// A memory DC compatible with `like` (null: the screen), with `selected` (a bitmap, usually)
// selected into it until the DC is deleted. A bitmap can be selected into one DC at a time, so
// it is put back out before the DC goes, and is free for another DC afterwards.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like, HGDIOBJ selected = nullptr)
      : dc_(CreateCompatibleDC(like)), selected_(dc_.Get(), selected) {}

  HDC Get() const { return dc_.Get(); }

 private:
  UniqueHandle<HDC, DeleteDcHandle> dc_;
  SelectGuard selected_;  // after the DC, so it goes first
};

}  // namespace velmora::gui::win32
