// The hidden window of the application, the tray icon and the single-instance guard, under
// Wine: what it receives, where it stands among the windows, and who owns it.
#include "gui/message_window_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmora::gui::win32 {
namespace {

static_assert(!std::is_copy_constructible_v<MessageWindow>);
static_assert(!std::is_copy_assignable_v<MessageWindow>);
static_assert(std::is_nothrow_move_constructible_v<MessageWindow>);

constexpr wchar_t kClass[] = L"VelmoraMessageWindowTest";
constexpr UINT kAsk = WM_APP + 1;

// Answers kAsk with `answer` and records every message it sees.
struct Spy {
  LRESULT answer = 0;
  std::vector<UINT> seen;
  MessageWindow::Handler Handler() {
    return [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
      seen.push_back(message);
      if (message != kAsk) return false;
      result = answer;
      return true;
    };
  }
  bool Saw(UINT message) const {
    for (UINT m : seen) {
      if (m == message) return true;
    }
    return false;
  }
};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  GetClassNameW(hwnd, name, 128);
  return name;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
  return TRUE;
}

bool ListedByEnumWindows(HWND wanted) {
  std::vector<HWND> all;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND hwnd : all) {
    if (hwnd == wanted) return true;
  }
  return false;
}

TEST(MessageWindow, HandledMessagesAreAnsweredByTheHandlerTheRestByTheDefaultProcedure) {
  Spy spy;
  spy.answer = 42;
  MessageWindow window(kClass, spy.Handler());
  ASSERT_NE(window.Handle(), nullptr) << "error " << window.Error();
  EXPECT_EQ(window.Error(), 0u);
  EXPECT_EQ(SendMessageW(window.Handle(), kAsk, 0, 0), 42);
  // Only DefWindowProc keeps a window's text: the handler returned false for WM_SETTEXT.
  SendMessageW(window.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"default"));
  wchar_t text[16] = {};
  GetWindowTextW(window.Handle(), text, 16);
  EXPECT_EQ(std::wstring(text), L"default");
  EXPECT_TRUE(spy.Saw(WM_SETTEXT));
}

TEST(MessageWindow, TheHandlerHearsTheMessagesOfTheCreation) {
  Spy spy;
  MessageWindow window(kClass, spy.Handler());
  ASSERT_NE(window.Handle(), nullptr);
  // Bound at WM_NCCREATE, before CreateWindowExW returns.
  EXPECT_TRUE(spy.Saw(WM_NCCREATE));
  EXPECT_TRUE(spy.Saw(WM_CREATE));
}

TEST(MessageWindow, IsAHiddenTopLevelToolWindowOfTheClassItsUserNames) {
  Spy spy;
  MessageWindow window(kClass, spy.Handler());
  const HWND hwnd = window.Handle();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(ClassOf(hwnd), kClass) << "other copies find these windows by class name";
  EXPECT_FALSE(IsWindowVisible(hwnd));
  // A message-only window's parent is the message root, not the desktop.
  EXPECT_EQ(GetAncestor(hwnd, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
  EXPECT_TRUE(ListedByEnumWindows(hwnd)) << "EnumWindows lists no message-only window";
}

TEST(MessageWindow, HearsBroadcasts) {
  // What the tray relies on: the shell announces a restart with the "TaskbarCreated"
  // broadcast, which message-only windows never receive.
  const UINT broadcast = RegisterWindowMessageW(L"VelmoraMessageWindowTestBroadcast");
  ASSERT_NE(broadcast, 0u);
  Spy spy;
  MessageWindow window(kClass, spy.Handler());
  ASSERT_NE(window.Handle(), nullptr);
  PostMessageW(HWND_BROADCAST, broadcast, 0, 0);
  MSG msg;
  for (int i = 0; i < 100 && !spy.Saw(broadcast); ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (!spy.Saw(broadcast)) Sleep(10);
  }
  EXPECT_TRUE(spy.Saw(broadcast));
}

TEST(MessageWindow, WindowsOfOneClassEachReachTheirOwnHandler) {
  Spy first_spy, second_spy;
  first_spy.answer = 1;
  second_spy.answer = 2;
  MessageWindow first(kClass, first_spy.Handler());
  MessageWindow second(kClass, second_spy.Handler());
  ASSERT_NE(second.Handle(), nullptr) << "the class is registered once, and then reused";
  EXPECT_EQ(SendMessageW(first.Handle(), kAsk, 0, 0), 1);
  EXPECT_EQ(SendMessageW(second.Handle(), kAsk, 0, 0), 2);
}

TEST(MessageWindow, TheWindowGoesWithItsOwner) {
  HWND hwnd = nullptr;
  {
    Spy spy;
    MessageWindow window(kClass, spy.Handler());
    hwnd = window.Handle();
    ASSERT_TRUE(IsWindow(hwnd));
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MessageWindow, MovingHandsTheWindowAndItsHandlerOver) {
  Spy spy;
  spy.answer = 7;
  MessageWindow from(kClass, spy.Handler());
  const HWND hwnd = from.Handle();
  MessageWindow to(std::move(from));
  EXPECT_EQ(from.Handle(), nullptr);
  EXPECT_EQ(to.Handle(), hwnd);
  EXPECT_EQ(SendMessageW(hwnd, kAsk, 0, 0), 7);

  // Assigning over a holder that has a window destroys that window.
  Spy other_spy;
  MessageWindow holder(kClass, other_spy.Handler());
  const HWND replaced = holder.Handle();
  holder = std::move(to);
  EXPECT_FALSE(IsWindow(replaced));
  EXPECT_EQ(holder.Handle(), hwnd);
  EXPECT_EQ(SendMessageW(hwnd, kAsk, 0, 0), 7);
}

TEST(MessageWindow, AWindowDestroyedFromOutsideLeavesItsOwnerWithoutOne) {
  Spy spy;
  MessageWindow window(kClass, spy.Handler());
  ASSERT_TRUE(DestroyWindow(window.Handle()));
  EXPECT_EQ(window.Handle(), nullptr);
}

LRESULT CALLBACK ForeignProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST(MessageWindow, AClassNameRegisteredWithAnotherProcedureIsRefused) {
  constexpr wchar_t kForeign[] = L"VelmoraMessageWindowTestForeign";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &ForeignProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kForeign;
  ASSERT_NE(RegisterClassExW(&wc), 0);
  Spy spy;
  MessageWindow window(kForeign, spy.Handler());
  // Its windows would never reach the handler.
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_EQ(window.Error(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_TRUE(spy.seen.empty());
}

}  // namespace
}  // namespace velmora::gui::win32
