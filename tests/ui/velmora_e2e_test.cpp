// Drives the real Velmora.exe as a child process, the way a user and the session manager
// do: through its tray icon's callback message, its main window's close box and buttons,
// the quit question's buttons and the end-of-session query.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "velmora_exe_path.h"

namespace {

constexpr UINT kTrayCallback = WM_USER + 299;  // 1323
constexpr UINT kTrayIconId = 1;                 // the icon's uID on the tray window
constexpr wchar_t kQuitQuestion[] = L"Do you really want to exit Velmora?";

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  GetClassNameW(hwnd, name, 128);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  // Cross-process WM_GETTEXT through the window manager, with a bound on the wait.
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return text;
}

// Polls `condition` for up to `seconds`.
bool WaitFor(const std::function<bool()>& condition, double seconds = 10) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == s->pid) s->found.push_back(hwnd);
  return TRUE;
}

struct ChildSearch {
  std::wstring cls, text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ChildSearch*>(param);
  if (ClassOf(hwnd) == s->cls && (s->text.empty() || TextOf(hwnd) == s->text)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

class Velmora {
 public:
  explicit Velmora(const std::wstring& arguments = L"", const std::wstring& exe = kVelmoraExe) {
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started_ = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi_) != FALSE;
    if (started_) WaitForInputIdle(pi_.hProcess, 10000);
  }
  ~Velmora() {
    if (!started_) return;
    if (Running()) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool Started() const { return started_; }
  bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitExit(DWORD& code, DWORD ms = 10000) const {
    if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(pi_.hProcess, &code) != FALSE;
  }
  HANDLE Process() const { return pi_.hProcess; }

  // The top-level windows of the process.
  std::vector<HWND> Windows() const {
    WindowSearch search{pi_.dwProcessId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND Find(const std::wstring& cls, const std::wstring& text = L"") const {
    for (HWND h : Windows()) {
      if (ClassOf(h) == cls && (text.empty() || TextOf(h) == text)) return h;
    }
    return nullptr;
  }
  bool AnyVisible() const {
    for (HWND h : Windows())
      if (IsWindowVisible(h)) return true;
    return false;
  }
  HWND Tray() const { return Find(L"VelmoraSysTrayWindow"); }
  HWND Main() const { return Find(L"VelmoraControl", L"Velmora"); }
  // Whether the shell knows the icon: an update of an icon it does not have fails.
  bool TrayIconPresent() const {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = Tray();
    data.uID = kTrayIconId;
    return data.hWnd && Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }
  void ClickTray() const { PostMessageW(Tray(), kTrayCallback, kTrayIconId, WM_LBUTTONUP); }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

HWND FindChild(HWND parent, const std::wstring& cls, const std::wstring& text = L"") {
  ChildSearch search{cls, text, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Reads the rows of another process's list view: the item record and the text buffer must
// live in that process, so they are allocated there and read back.
std::vector<std::vector<std::wstring>> ReadListView(HANDLE process, HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  constexpr SIZE_T kChars = 260;
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(
      process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return rows;
  auto* remote_text = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
  for (int i = 0; i < count; ++i) {
    std::vector<std::wstring> row;
    for (int c = 0; c < columns; ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = remote_text;
      item.cchTextMax = kChars;
      WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
      SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote));
      wchar_t text[kChars] = {};
      ReadProcessMemory(process, remote_text, text, sizeof(text) - sizeof(wchar_t), nullptr);
      row.push_back(text);
    }
    rows.push_back(row);
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return rows;
}

// Answers the quit question of `app` with `button` (IDYES or IDNO).
void AnswerQuitQuestion(const Velmora& app, int button) {
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    box = app.Find(L"#32770", kQuitQuestion);
    return box && IsWindowVisible(box);
  })) << "the quit question did not appear";
  HWND b = GetDlgItem(box, button);
  ASSERT_NE(b, nullptr);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

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

// A copy of Velmora.exe in a folder of its own (another path, another identity).
std::wstring CopyOfVelmora(const std::wstring& folder_name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + folder_name;
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring exe = folder + L"\\Velmora.exe";
  CopyFileW(kVelmoraExe, exe.c_str(), FALSE);
  return exe;
}

bool ShowsAWindow(const Velmora& app) { return app.Main() && IsWindowVisible(app.Main()); }

TEST(VelmoraExe, SecondStartFromTheSamePathEndsWithCodeZeroAndTheFirstGoesOn) {
  Velmora first(L"notray");
  ASSERT_TRUE(WaitFor([&] { return ShowsAWindow(first) && first.TrayIconPresent(); }));

  // Another window has the foreground when the second copy starts.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
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

TEST(VelmoraExe, SecondStartWithNotrayLeavesAHiddenFirstCopyHidden) {
  Velmora first;
  ASSERT_TRUE(WaitFor([&] { return first.TrayIconPresent(); }));
  Velmora second(L"notray");
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(first.Running());
  EXPECT_FALSE(first.AnyVisible()) << "the second start showed the first copy's window";
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
