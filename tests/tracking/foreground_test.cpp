// The foreground window's process, and the Windows Store frame host looked through. These
// tests move the foreground, so CTest runs them alone.
#include <gtest/gtest.h>

#include "child_process_win32.h"
#include "core/text.h"
#include "tracking/process_inspection_win32.h"
#include "tracking/usage_sampler.h"

namespace velmora::tracking {
namespace {

using testing::ChildProcess;
using testing::HelperPath;

class Window {
 public:
  Window(HWND parent, DWORD style) {
    handle_ = CreateWindowExW(0, L"STATIC", L"velmora test", style, 0, 0, 120, 60, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~Window() {
    if (handle_) DestroyWindow(handle_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND get() const { return handle_; }

 private:
  HWND handle_ = nullptr;
};

// Lets pending window messages through, as the message loop between ticks would.
void Pump() {
  MSG msg;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
}

struct WindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisibleWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND TopWindowOf(DWORD pid) {
  WindowSearch search{pid, nullptr};
  EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Foreground, AWindowBroughtToTheFrontGivesItsProcess) {
  Window window(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(window.get(), nullptr);
  SetForegroundWindow(window.get());
  Pump();
  ASSERT_EQ(GetForegroundWindow(), window.get());
  EXPECT_EQ(GetForegroundProcessId(), GetCurrentProcessId());

  UsageLedger ledger;
  Win32ProcessInspector inspector;
  UsageSampler sampler(ledger, inspector);
  const TickResult tick = sampler.Tick();
  EXPECT_EQ(tick.outcome, TickResult::Outcome::kCredited);
  EXPECT_EQ(ledger.GetProcessTime("TRACKING_FOREGROUND_TEST.EXE"), 1);
}

// The frame host's window is in front; the content inside it is a child window of another
// process (here this test's), which is the application the user is looking at.
TEST(Foreground, ApplicationFrameHostIsLookedThroughToTheHostedProcess) {
  ChildProcess host(HelperPath(L"framehost\\ApplicationFrameHost.exe"), true);
  ASSERT_TRUE(host.started());
  HWND frame = TopWindowOf(host.id());
  ASSERT_NE(frame, nullptr);
  SetForegroundWindow(frame);
  Pump();
  ASSERT_EQ(GetForegroundWindow(), frame);

  // A frame with no content of another process: the frame host itself is credited.
  EXPECT_EQ(GetForegroundProcessId(), host.id());
  {
    Window content(frame, WS_CHILD | WS_VISIBLE);
    ASSERT_NE(content.get(), nullptr);
    Pump();
    EXPECT_EQ(GetForegroundProcessId(), GetCurrentProcessId());

    UsageLedger ledger;
    Win32ProcessInspector inspector;
    UsageSampler sampler(ledger, inspector);
    sampler.Tick();
    ASSERT_EQ(ledger.Count(), 1u);
    EXPECT_EQ(ledger.Name(0), "tracking_foreground_test.exe");
    EXPECT_EQ(inspector.Counters().child_window_walks, 1u);
  }
}

}  // namespace
}  // namespace velmora::tracking
