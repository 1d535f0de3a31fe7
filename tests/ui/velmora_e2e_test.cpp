// The real Velmora.exe from outside: its tray icon (clicks, double-click, menu), close box,
// Quit, the end of the session and the guard against a second copy.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "velmora_driver.h"

namespace {

using namespace velmora::e2e;

TEST(VelmoraExe, HiddenStartTrayToggleCreditingCloseBoxAndQuit) {
  Velmora app;
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Tray() && app.TrayIconPresent(); }))
      << "no tray icon was added";
  EXPECT_FALSE(app.AnyVisible()) << "started hidden, yet a window is visible";

  // A tray click shows the main window; it takes the foreground, so Velmora itself is the
  // foreground application and is credited on the following ticks.
  app.ClickTray();
  ASSERT_TRUE(WaitFor([&] { return app.Main() && IsWindowVisible(app.Main()); }));
  const HWND main = app.Main();
  const HWND list = FindChild(main, WC_LISTVIEWW);
  ASSERT_NE(list, nullptr);
  std::vector<std::vector<std::wstring>> rows;
  const bool credited = WaitFor(
      [&] {
        rows = ReadListView(app.Process(), list, 3);
        for (const auto& row : rows)
          if (row[0] == L"velmora.exe" && row[2] != L"00:00:00") return true;
        return false;
      },
      15);
  EXPECT_TRUE(credited) << "velmora.exe was not credited; rows: " << rows.size();
  for (const auto& row : rows) {
    EXPECT_TRUE(std::regex_match(row[2], std::wregex(LR"(\d\d+:\d\d:\d\d)")))
        << "time text of row " << rows.size();
  }

  app.ClickTray();
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); })) << "second click did not hide";

  // The close box only hides.
  app.ClickTray();
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main); }));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(app.Running());
  EXPECT_TRUE(app.TrayIconPresent());

  // Quit answered No keeps it running, Yes ends it with exit code 0.
  app.ClickTray();
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main); }));
  const HWND quit = FindChild(main, L"Button", L"Quit");
  ASSERT_NE(quit, nullptr);
  PostMessageW(quit, BM_CLICK, 0, 0);
  AnswerQuitQuestion(app, IDNO);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(app.Running());
  EXPECT_TRUE(IsWindowVisible(main));

  NOTIFYICONDATAW icon{};
  icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
  icon.hWnd = app.Tray();
  icon.uID = kTrayIconId;
  PostMessageW(quit, BM_CLICK, 0, 0);
  AnswerQuitQuestion(app, IDYES);
  DWORD code = 1234;
  ASSERT_TRUE(app.WaitExit(code)) << "Quit answered Yes did not end the program";
  EXPECT_EQ(code, 0u);
  // The shutdown removed the icon: the shell no longer knows it.
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
}

TEST(VelmoraExe, ATrayDoubleClickLeavesTheWindowShown) {
  Velmora app;
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Tray() && app.TrayIconPresent(); }));
  for (const bool shown_before : {false, true}) {
    SCOPED_TRACE(shown_before ? "shown before" : "hidden before");
    if (shown_before) {
      app.ClickTray();
      ASSERT_TRUE(WaitFor([&] { return ShowsAWindow(app); }));
    }
    app.DoubleClickTray();
    // The menu opens after the double-click's notifications have all been handled.
    const HWND menu = app.OpenTrayMenu();
    ASSERT_NE(menu, nullptr) << "the right click opened no menu";
    EXPECT_TRUE(ShowsAWindow(app)) << "the double-click left the window hidden";
    EXPECT_TRUE(PressInMenu(app, menu, {VK_ESCAPE}));
    app.ClickTray();
    ASSERT_TRUE(WaitFor([&] { return !ShowsAWindow(app); }));
  }
}

TEST(VelmoraExe, TrayMenuShowsHidesAndQuits) {
  Velmora app;
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Tray() && app.TrayIconPresent(); }));
  const auto expect_entries = [](HWND menu, const wchar_t* first) {
    const std::optional<std::vector<MenuEntry>> entries = ReadMenu(menu);
    if (!entries) {
      std::printf("known Wine difference: another process's menu cannot be read\n");
      return;
    }
    EXPECT_EQ(*entries,
              (std::vector<MenuEntry>{{first, true}, {L"", false}, {L"Quit", false}}));
  };

  HWND menu = app.OpenTrayMenu();
  ASSERT_NE(menu, nullptr) << "the right click opened no menu";
  expect_entries(menu, L"Show Velmora");
  ASSERT_TRUE(PressInMenu(app, menu, {VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(WaitFor([&] { return ShowsAWindow(app); })) << "\"Show Velmora\" did not show it";
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Main(); }, 5));

  menu = app.OpenTrayMenu();
  ASSERT_NE(menu, nullptr);
  expect_entries(menu, L"Hide Velmora");
  ASSERT_TRUE(PressInMenu(app, menu, {VK_DOWN, VK_RETURN}));
  ASSERT_TRUE(WaitFor([&] { return !ShowsAWindow(app); })) << "\"Hide Velmora\" did not hide it";

  menu = app.OpenTrayMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(PressInMenu(app, menu, {VK_UP, VK_RETURN}));  // the last entry: Quit
  AnswerQuitQuestion(app, IDYES);
  DWORD code = 1234;
  ASSERT_TRUE(app.WaitExit(code)) << "Quit from the tray menu answered Yes did not end it";
  EXPECT_EQ(code, 0u);
}

TEST(VelmoraExe, EndOfSessionEndsItWithoutAQuestion) {
  Velmora app;
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Main() != nullptr && app.Tray() != nullptr; }));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(
      SendMessageTimeoutW(app.Main(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 1u);
  DWORD code = 1234;
  ASSERT_TRUE(app.WaitExit(code));
  EXPECT_EQ(code, 0u);
}

TEST(VelmoraExe, OnlyTheExactFirstArgumentNotrayShowsTheWindow) {
  const struct {
    const wchar_t* arguments;
    bool shown;
  } cases[] = {{L"notray", true}, {L"NoTray", false}, {L"x notray", false}};
  for (const auto& c : cases) {
    Velmora app(c.arguments);
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([&] { return app.Main() && app.Tray(); }));
    if (c.shown) {
      EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(app.Main()) != FALSE; }));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(700));
      EXPECT_FALSE(app.AnyVisible()) << "arguments: " << c.arguments;
    }
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(app.Main(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    DWORD code = 1234;
    EXPECT_TRUE(app.WaitExit(code));
    EXPECT_EQ(code, 0u);
  }
}

// --- One copy per executable path ------------------------------------------------------

TEST(VelmoraExe, SecondStartFromTheSamePathEndsWithCodeZeroAndTheFirstGoesOn) {
  Velmora first(L"notray");
  ASSERT_TRUE(WaitFor([&] { return ShowsAWindow(first) && first.TrayIconPresent(); }));

  // Another window has the foreground when the second copy starts.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == other; }));

  const auto started = std::chrono::steady_clock::now();
  Velmora second(L"notray");
  ASSERT_TRUE(second.Started());
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(code)) << "the second copy did not end";
  std::printf("refused second start ended after %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - started)
                                         .count()));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(ShowsAWindow(first));
  EXPECT_TRUE(first.TrayIconPresent());
  // The refused copy brought the first copy's open window to the front.
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == first.Main(); }, 5));
  DestroyWindow(other);
}

// Starting the program again is how a user asks for its window: the running copy shows it,
// restored when minimized, in front of the window that had the foreground.
TEST(VelmoraExe, SecondStartShowsTheRunningCopysWindowInTheForeground) {
  for (const bool minimized : {false, true}) {
    SCOPED_TRACE(minimized ? "minimized" : "hidden");
    Velmora first;
    ASSERT_TRUE(WaitFor([&] { return first.Main() && first.TrayIconPresent(); }));
    const HWND main = first.Main();
    if (minimized) {
      first.ClickTray();
      ASSERT_TRUE(WaitFor([&] { return ShowsAWindow(first); }));
      ShowWindow(main, SW_MINIMIZE);
      ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }));
    } else {
      EXPECT_FALSE(first.AnyVisible());
    }
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == other; }));

    Velmora second;
    ASSERT_TRUE(second.Started());
    DWORD code = 99;
    ASSERT_TRUE(second.WaitExit(code)) << "the second copy did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(WaitFor([&] { return ShowsAWindow(first) && !IsIconic(main); }))
        << "the running copy's window was not shown";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 5))
        << "the running copy's window is not in the foreground, "
        << Describe(GetForegroundWindow()) << " is; the test is process " << GetCurrentProcessId()
        << ", the running copy " << GetProcessId(first.Process());
    DestroyWindow(other);
  }
}

TEST(VelmoraExe, SamePathInAnotherLetterCaseIsTheSameCopy) {
  Velmora first;
  ASSERT_TRUE(WaitFor([&] { return first.TrayIconPresent(); }));
  std::wstring upper = kVelmoraExe;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  Velmora second(L"", upper);
  ASSERT_TRUE(second.Started());
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(first.Running());
}

TEST(VelmoraExe, CopyFromAnotherFolderRunsBesideTheFirst) {
  Velmora first;
  ASSERT_TRUE(WaitFor([&] { return first.TrayIconPresent(); }));
  Velmora other(L"", CopyOfVelmora(L"velmora-e2e-other"));
  ASSERT_TRUE(other.Started());
  EXPECT_TRUE(WaitFor([&] { return other.TrayIconPresent(); })) << "the other copy did not start";
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(other.Running());
}

TEST(VelmoraExe, AfterTheFirstCopyIsKilledANewStartRuns) {
  {
    Velmora first;
    ASSERT_TRUE(WaitFor([&] { return first.TrayIconPresent(); }));
    TerminateProcess(first.Process(), 1);  // no clean end: it never leaves the table
    DWORD code = 0;
    first.WaitExit(code);
  }
  Velmora next;
  EXPECT_TRUE(WaitFor([&] { return next.TrayIconPresent(); })) << "the new start did not run";
  EXPECT_TRUE(next.Running());
}

}  // namespace
