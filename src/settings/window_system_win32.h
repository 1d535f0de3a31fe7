// The window system of the form store on Windows: the main form's window placement, the
// application window's minimized state, and the screen and its monitors.
#pragma once

#include <cstdint>

#include "settings/form_store.h"

namespace velmora::settings {

class Win32WindowSystem final : public WindowSystem {
 public:
  // The windows as integers (HWND values), so that the header stays free of <windows.h>. The
  // application window may be 0: the form then stands for the application.
  Win32WindowSystem(std::uintptr_t form_window, std::uintptr_t application_window)
      : form_window_(form_window), application_window_(application_window) {}

  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& placement) override;
  bool ApplicationMinimized() const override;
  void MinimizeApplication() override;
  Point ScreenSize() const override;
  int PixelsPerInch() const override;
  // `rect` is in the workspace coordinates of a placement; see the source.
  bool OnSomeMonitor(const Rect& rect) const override;
  Rect NearestWorkArea(const Rect& rect) const override;

 private:
  std::uintptr_t form_window_;
  std::uintptr_t application_window_;
};

}  // namespace velmora::settings
