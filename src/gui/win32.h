// The Windows side of the component layer.
//
// UseWin32Platform() installs the platform that gives controls real windows (ComCtl32 v6
// controls with visual styles, high-dpi aware: designs at 96 dpi are scaled by the dpi of
// the monitor), message boxes, timers, the message loop with Tab and Enter navigation, the
// user locale's collation and the shell.
#pragma once

#include <windows.h>

#include <string>

#include "gui/handles_win32.h"
#include "gui/platform.h"

namespace velmora::gui {

class TControl;

// Installs the Win32 platform (once per process; later calls do nothing).
void UseWin32Platform();

// The control whose window is `hwnd`, or null.
TControl* ControlFromHandle(HWND hwnd);

// Pixels per inch of the screen the windows are made for (96 at 100 %).
int ScreenDpi();

// Captures `control`'s window with its frame and children, as the display shows it, into a
// 32-bit top-down DIB section (the window is put on top first). Empty on failure.
win32::GdiObject<HBITMAP> RenderToBitmap(TControl& control);

// Writes a 32-bit DIB section (as RenderToBitmap makes) to `path` as a 24-bit BMP file and
// counts its distinct colours, up to 64: a blank capture has one or two. False on failure.
bool SaveBitmapFile(HBITMAP bitmap, const std::wstring& path, int& distinct_colours);

namespace win32 {
// The window class of the hidden application-level window: other copies of the program find
// this copy's application window by it (the single-instance guard's activation request).
inline constexpr wchar_t kApplicationWindowClass[] = L"VelmoraApplication";

// What the message loop does with a key before dispatching it: Tab and Shift+Tab move the
// focus in tab order, Enter clicks a focused push button or, on a form with TEnterAsTab,
// moves the focus like Tab; Escape clicks the Cancel button. True when the key was used.
bool HandleNavigationKey(const MSG& msg);
}  // namespace win32

}  // namespace velmora::gui
