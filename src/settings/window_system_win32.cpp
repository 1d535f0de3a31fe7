#include "settings/window_system_win32.h"

#include <windows.h>

#include <optional>

#include "gui/handles_win32.h"

namespace velmora::settings {
namespace {

HWND Hwnd(std::uintptr_t window) {
  return reinterpret_cast<HWND>(window);
}

POINT ToPoint(const Point& p) {
  return {p.x, p.y};
}
Point FromPoint(const POINT& p) {
  return {p.x, p.y};
}
RECT ToRect(const Rect& r) {
  return {r.left, r.top, r.right, r.bottom};
}
Rect FromRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

std::optional<MONITORINFO> NearestMonitor(const RECT& screen) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromRect(&screen, MONITOR_DEFAULTTONEAREST), &info)) {
    return std::nullopt;
  }
  return info;
}

// A placement's rectangles are in workspace coordinates, whose origin is the top-left corner
// of the work area: with the taskbar along the top or left edge, the workspace point (0,0) is
// the screen point below or beside the taskbar. The monitor functions take screen
// coordinates. This is where a monitor's workspace origin lies on the screen.
POINT WorkspaceOffset(const MONITORINFO& monitor) {
  return {monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
}

// The monitor whose offset applies is the one nearest to the rectangle taken as it is: the
// offset is at most a taskbar's thickness.
RECT WorkspaceToScreen(const Rect& workspace) {
  RECT rect = ToRect(workspace);
  if (const auto monitor = NearestMonitor(rect)) {
    const POINT offset = WorkspaceOffset(*monitor);
    OffsetRect(&rect, offset.x, offset.y);
  }
  return rect;
}

}  // namespace

WindowPlacement Win32WindowSystem::Placement() const {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  // Fails only for a window that is gone; the store then sees the default record.
  if (!GetWindowPlacement(Hwnd(form_window_), &wp)) return {};
  return {wp.showCmd, wp.flags, FromPoint(wp.ptMinPosition), FromPoint(wp.ptMaxPosition),
          FromRect(wp.rcNormalPosition)};
}

void Win32WindowSystem::SetPlacement(const WindowPlacement& placement) {
  const HWND hwnd = Hwnd(form_window_);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!GetWindowPlacement(hwnd, &wp)) return;
  // SetWindowPlacement also shows the window with its show command. The store restores
  // before the form is first shown, and showing it is the form's business: a hidden window
  // stays hidden, a visible one keeps its state; the state stored with the placement is
  // applied through the form's WindowState.
  if (!IsWindowVisible(hwnd)) wp.showCmd = SW_HIDE;
  wp.flags = placement.flags;
  wp.ptMinPosition = ToPoint(placement.min_position);
  wp.ptMaxPosition = ToPoint(placement.max_position);
  wp.rcNormalPosition = ToRect(placement.normal);
  SetWindowPlacement(hwnd, &wp);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool Win32WindowSystem::ApplicationMinimized() const {
  return application_window_ != 0 && IsIconic(Hwnd(application_window_));
}

void Win32WindowSystem::MinimizeApplication() {
  // Posted, not sent: the restore runs while the form is being made, and the minimizing
  // happens once the message loop runs.
  const std::uintptr_t target = application_window_ ? application_window_ : form_window_;
  PostMessageW(Hwnd(target), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

Point Win32WindowSystem::ScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int Win32WindowSystem::PixelsPerInch() const {
  const gui::win32::WindowDc screen;
  return screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
}

bool Win32WindowSystem::OnSomeMonitor(const Rect& rect) const {
  const RECT screen = WorkspaceToScreen(rect);
  return MonitorFromRect(&screen, MONITOR_DEFAULTTONULL) != nullptr;
}

// In workspace coordinates, like `rect`, since the store moves the placement inside it.
Rect Win32WindowSystem::NearestWorkArea(const Rect& rect) const {
  const auto monitor = NearestMonitor(WorkspaceToScreen(rect));
  if (!monitor) return rect;
  RECT work = monitor->rcWork;
  const POINT offset = WorkspaceOffset(*monitor);
  OffsetRect(&work, -offset.x, -offset.y);
  return FromRect(work);
}

}  // namespace velmora::settings
