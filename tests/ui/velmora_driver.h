// Drives the real Velmora.exe as a child process, the way a user and the session manager
// do: through its tray icon's callback message, its windows and controls, the quit
// question's buttons and the end-of-session query.
#pragma once

#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "velmora_exe_path.h"

namespace velmora::e2e {

inline constexpr UINT kTrayCallback = WM_USER + 299;  // 1323
inline constexpr UINT kTrayIconId = 1;                // the icon's uID on the tray window
inline constexpr wchar_t kQuitQuestion[] = L"Do you really want to exit Velmora?";

inline std::wstring ClassOf(HWND hwnd) {
  wchar_t name[128] = {};
  GetClassNameW(hwnd, name, 128);
  return name;
}

inline std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  // Cross-process WM_GETTEXT through the window manager, with a bound on the wait.
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return text;
}

// Polls `condition` for up to `seconds`.
inline bool WaitFor(const std::function<bool()>& condition, double seconds = 10) {
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

inline BOOL CALLBACK CollectWindowOfProcess(HWND hwnd, LPARAM param) {
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

inline BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
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
  // Posts what the shell posts for mouse activity on the icon.
  void NotifyTray(UINT activity) const {
    PostMessageW(Tray(), kTrayCallback, kTrayIconId, activity);
  }
  void ClickTray() const { NotifyTray(WM_LBUTTONUP); }
  // What the shell sends for a double-click: press, release, double-click, release.
  void DoubleClickTray() const {
    for (UINT activity : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      NotifyTray(activity);
    }
  }
  // The popup menu window the process has open (class "#32768"), or null.
  HWND OpenMenu() const {
    for (HWND h : Windows())
      if (ClassOf(h) == L"#32768" && IsWindowVisible(h)) return h;
    return nullptr;
  }
  // Right-clicks the icon and waits for its menu; null when none opened. Notifications are
  // handled in the order posted, so once the menu is open every earlier one has been too.
  HWND OpenTrayMenu() const {
    NotifyTray(WM_RBUTTONDOWN);
    NotifyTray(WM_RBUTTONUP);
    HWND menu = nullptr;
    WaitFor([&] { return (menu = OpenMenu()) != nullptr; });
    return menu;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

inline HWND FindChild(HWND parent, const std::wstring& cls, const std::wstring& text = L"") {
  ChildSearch search{cls, text, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A list-view record of type Record followed by a text buffer, in another process: the
// list view reads and writes them there, so they are sent from here and read back.
template <class Record>
class RemoteRecord {
 public:
  static constexpr int kChars = 260;
  RemoteRecord(HANDLE process, Record record) : process_(process) {
    memory_ = static_cast<BYTE*>(VirtualAllocEx(
        process, nullptr, sizeof(Record) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (!memory_) return;
    record.pszText = reinterpret_cast<wchar_t*>(memory_ + sizeof(Record));
    record.cchTextMax = kChars;
    WriteProcessMemory(process, memory_, &record, sizeof(record), nullptr);
  }
  ~RemoteRecord() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  }
  RemoteRecord(const RemoteRecord&) = delete;
  RemoteRecord& operator=(const RemoteRecord&) = delete;

  explicit operator bool() const { return memory_ != nullptr; }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(memory_); }
  std::wstring Text() const {
    wchar_t text[kChars] = {};
    ReadProcessMemory(process_, memory_ + sizeof(Record), text, sizeof(text) - sizeof(wchar_t),
                      nullptr);
    return text;
  }

 private:
  HANDLE process_;
  BYTE* memory_ = nullptr;
};

// Reads the rows of another process's list view.
inline std::vector<std::vector<std::wstring>> ReadListView(HANDLE process, HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::vector<std::wstring> row;
    for (int c = 0; c < columns; ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      const RemoteRecord<LVITEMW> remote(process, item);
      if (!remote) return rows;
      SendMessageW(list, LVM_GETITEMTEXTW, i, remote.Address());
      row.push_back(remote.Text());
    }
    rows.push_back(row);
  }
  return rows;
}

// The caption of column `index` of another process's list view.
inline std::wstring ReadListViewColumn(HANDLE process, HWND list, int index) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  const RemoteRecord<LVCOLUMNW> remote(process, column);
  if (!remote) return L"";
  SendMessageW(list, LVM_GETCOLUMNW, index, remote.Address());
  return remote.Text();
}

// Presses `keys` in an open menu, the way a user picks an entry with the keyboard (the
// menu's modal loop reads the keyboard messages of its thread), and waits for it to close.
inline bool PressInMenu(const Velmora& app, HWND menu, std::initializer_list<UINT> keys) {
  for (UINT key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
  return WaitFor([&] { return app.OpenMenu() == nullptr; });
}

struct MenuEntry {
  std::wstring text;  // empty for a separator
  bool is_default = false;
  bool operator==(const MenuEntry&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const MenuEntry& entry) {
  std::string text;
  for (wchar_t c : entry.text) text.push_back(c < 128 ? static_cast<char>(c) : '?');
  return out << '"' << text << '"' << (entry.is_default ? " (default)" : "");
}

// The entries of another process's open popup menu, or nothing when its menu cannot be
// read from here: Wine keeps a menu in the memory of the process that made it, so there
// the menu functions refuse another process's handle (a known difference from Windows,
// where menus are window-system objects of the session).
inline std::optional<std::vector<MenuEntry>> ReadMenu(HWND menu_window) {
  DWORD_PTR handle = 0;
  SendMessageTimeoutW(menu_window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle);
  const auto menu = reinterpret_cast<HMENU>(handle);
  const int count = menu ? GetMenuItemCount(menu) : -1;
  if (count < 0) return std::nullopt;
  std::vector<MenuEntry> entries;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    wchar_t text[128] = {};
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    entries.push_back({(info.fType & MFT_SEPARATOR) ? L"" : text, (info.fState & MFS_DEFAULT) != 0});
  }
  return entries;
}

// Answers the quit question of `app` with `button` (IDYES or IDNO).
inline void AnswerQuitQuestion(const Velmora& app, int button) {
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    box = app.Find(L"#32770", kQuitQuestion);
    return box && IsWindowVisible(box);
  })) << "the quit question did not appear";
  HWND b = GetDlgItem(box, button);
  ASSERT_NE(b, nullptr);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

// A copy of Velmora.exe in a folder of its own (another path, another identity).
inline std::wstring CopyOfVelmora(const std::wstring& folder_name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + folder_name;
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring exe = folder + L"\\Velmora.exe";
  CopyFileW(kVelmoraExe, exe.c_str(), FALSE);
  return exe;
}

// Names a window for a failure message: its class, text and process.
inline std::string Describe(HWND hwnd) {
  if (!hwnd) return "no window";
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  std::string text;
  for (wchar_t c : ClassOf(hwnd) + L" \"" + TextOf(hwnd) + L"\"") text += c < 128 ? char(c) : '?';
  return text + " of process " + std::to_string(pid);
}

inline bool ShowsAWindow(const Velmora& app) {
  return app.Main() && IsWindowVisible(app.Main());
}

}  // namespace velmora::e2e
