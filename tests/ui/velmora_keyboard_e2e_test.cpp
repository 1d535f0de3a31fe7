// The real Velmora.exe at the keyboard: which controls Tab reaches on each page, where the
// focus is when the window appears, Escape, and the refresh-interval box.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "velmora_driver.h"

namespace {

using namespace velmora::e2e;

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                            : nullptr;
}

// A key press as the keyboard delivers it: to the window with the focus.
void PressKey(HWND window, WPARAM key) {
  const HWND focus = FocusOf(window);
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

// The navigation bar: the window's child at its left edge, above the page area.
HWND NavigationBar(HWND main) {
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    if (ClassOf(child) == L"VelmoraControl" && r.left == 0 && r.top < 0) return child;
  }
  return nullptr;
}

// Clicks the navigation bar's button `index` (Applications, Statistics, Settings, About).
void ClickPage(HWND main, int index) {
  const HWND bar = NavigationBar(main);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int y = MulDiv(10 + index * 44 + 22, dpi, 96);
  const int x = MulDiv(40, dpi, 96);
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The controls Tab visits from the navigation bar until it comes back to it.
std::vector<HWND> TabCycle(HWND main) {
  const HWND start = FocusOf(main);
  std::vector<HWND> cycle{start};
  for (int i = 0; i < 30; ++i) {
    const HWND before = FocusOf(main);
    PressKey(main, VK_TAB);
    if (!WaitFor([&] { return FocusOf(main) != before; }, 3)) break;
    if (FocusOf(main) == start) return cycle;
    cycle.push_back(FocusOf(main));
  }
  ADD_FAILURE() << "Tab did not come back to where it started";
  return cycle;
}

TEST(VelmoraKeyboard, TabWalksThePageInFrontOnlyAndFocusFollowsTheWindow) {
  Velmora app(L"notray");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Main() && IsWindowVisible(app.Main()); }));
  const HWND main = app.Main();
  // Shown for the first time, the Settings page is in front and its first control has the
  // focus, not the window's frame.
  ASSERT_TRUE(WaitFor([&] { return FocusOf(main) != nullptr; }));
  EXPECT_EQ(ClassOf(FocusOf(main)), L"ComboBox");

  const struct {
    const wchar_t* page;
    std::size_t stops;  // the navigation bar, the page's own controls, Hide, Help and Quit
  } pages[] = {{L"Applications", 5}, {L"Statistics", 4}, {L"Settings", 11}, {L"About", 6}};
  for (int index = 0; index < 4; ++index) {
    SCOPED_TRACE(pages[index].page);
    ClickPage(main, index);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == NavigationBar(main); }));
    const std::vector<HWND> cycle = TabCycle(main);
    EXPECT_EQ(cycle.size(), pages[index].stops);
    for (HWND stop : cycle) {
      EXPECT_TRUE(IsWindowVisible(stop)) << "Tab reached a hidden control of class "
                                         << std::string(ClassOf(stop).begin(), ClassOf(stop).end());
    }
  }
  // The About page's links are reached with Tab.
  std::vector<std::wstring> texts;
  for (HWND stop : TabCycle(main)) texts.push_back(TextOf(stop));
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"velmora.orindel.example"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"support@orindel.example"), texts.end());

  // Escape hides the window; the program goes on in the tray. Shown again, the focus is on
  // the page in front (About: its first link).
  PressKey(main, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(main); })) << "Escape did not hide";
  EXPECT_TRUE(app.Running());
  app.ClickTray();
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main); }));
  EXPECT_TRUE(WaitFor([&] { return TextOf(FocusOf(main)) == L"velmora.orindel.example"; }));
}

TEST(VelmoraKeyboard, TheIntervalBoxTakesDigitsAndItsArrowsTellTheRealRange) {
  Velmora app(L"notray");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Main() && IsWindowVisible(app.Main()); }));
  const HWND edit = FindChild(app.Main(), L"Edit");
  const HWND arrows = FindChild(app.Main(), UPDOWN_CLASSW);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(arrows, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_NUMBER)
      << "letters would be dropped silently";
  const LRESULT range = SendMessageW(arrows, UDM_GETRANGE, 0, 0);
  EXPECT_EQ(HIWORD(range), 1) << "lower end";
  EXPECT_EQ(LOWORD(range), 100) << "upper end";
  EXPECT_EQ(SendMessageW(arrows, UDM_GETPOS32, 0, 0), 1);
}

}  // namespace
