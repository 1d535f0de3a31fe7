#include "ui/app_instances_win32.h"

#include <shellapi.h>

#include <algorithm>

#include "core/text.h"

namespace velmora::ui {
namespace {

// How long one synchronous message to another copy may take, and how long the whole
// question may hold a starting copy up.
constexpr UINT kSendTimeoutMs = 1000;
constexpr DWORD kQuestionBudgetMs = 2500;
// How long a lock wait lasts before the holder is checked for being alive.
constexpr DWORD kLockPollMs = 250;

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string UpperCasePath(const std::wstring& path) {
  // Upper case by the user's locale, as the other copies do, so that paths differing only in
  // letter case give one key.
  std::wstring upper(path);
  if (!upper.empty()) {
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, path.c_str(), static_cast<int>(path.size()),
                 upper.data(), static_cast<int>(upper.size()));
  }
  return std::u16string(upper.begin(), upper.end());
}

std::wstring OwnExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::vector<std::wstring> OwnArguments() {
  std::vector<std::wstring> arguments;
  int count = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments.emplace_back(argv[i]);
    LocalFree(argv);
  }
  return arguments;
}

DWORD WindowThread(HWND window, DWORD* process_id = nullptr) {
  DWORD pid = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &pid);
  if (process_id) *process_id = pid;
  return thread;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lparam) {
  reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> ThreadWindows(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> TopLevelWindowsOfClass(const std::wstring& window_class) {
  std::vector<HWND> all, found;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND hwnd : all) {
    wchar_t name[256];
    const int n = GetClassNameW(hwnd, name, 256);
    if (n > 0 && window_class.compare(0, std::wstring::npos, name, n) == 0) found.push_back(hwnd);
  }
  return found;
}

std::vector<HWND> TopLevelWindowsOf(DWORD process_id) {
  std::vector<HWND> all, found;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND hwnd : all) {
    DWORD pid = 0;
    WindowThread(hwnd, &pid);
    if (pid == process_id) found.push_back(hwnd);
  }
  return found;
}

}  // namespace

bool IsProcessAlive(DWORD process_id) {
  if (process_id == GetCurrentProcessId()) return true;
  const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
  if (!process) {
    // Access denied means it exists (another user's copy); anything else means it is gone.
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

HWND FindProcessWindow(DWORD process_id, const std::wstring& window_class) {
  for (HWND hwnd : TopLevelWindowsOfClass(window_class)) {
    DWORD pid = 0;
    WindowThread(hwnd, &pid);
    if (pid == process_id) return hwnd;
  }
  return nullptr;
}

// --- InterProcessLock -----------------------------------------------------------------------

InterProcessLock::InterProcessLock(const std::u16string& event_name,
                                   const std::u16string& block_name) {
  // Auto-reset and initially signalled: the first waiter takes the lock, Release hands it on.
  event_.Reset(CreateEventW(nullptr, FALSE, TRUE, ToWide(event_name).c_str()));
  block_mapping_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16,
                                          ToWide(block_name).c_str()));
  if (block_mapping_) {
    block_view_.Reset(MapViewOfFile(block_mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 16));
  }
}

void InterProcessLock::Acquire() {
  volatile LONG* const block = this->block();
  if (!event_ || !block) return;  // no kernel objects: nothing to serialise against
  const LONG process = static_cast<LONG>(GetCurrentProcessId());
  const LONG thread = static_cast<LONG>(GetCurrentThreadId());
  if (block[0] == process && block[1] == thread) {
    InterlockedIncrement(&block[2]);
    return;
  }
  for (;;) {
    if (WaitForSingleObject(event_.Get(), kLockPollMs) == WAIT_OBJECT_0) break;
    // The holder may have been killed inside the lock; then nobody will ever signal the
    // event, and the lock passes to us.
    const DWORD holder = static_cast<DWORD>(block[0]);
    if (holder != 0 && !IsProcessAlive(holder)) {
      if (InterlockedCompareExchange(&block[0], process, static_cast<LONG>(holder)) ==
          static_cast<LONG>(holder)) {
        break;
      }
    }
  }
  block[0] = process;
  block[1] = thread;
  block[2] = 1;
}

void InterProcessLock::Release() {
  volatile LONG* const block = this->block();
  if (!event_ || !block) return;
  if (block[0] != static_cast<LONG>(GetCurrentProcessId()) ||
      block[1] != static_cast<LONG>(GetCurrentThreadId())) {
    return;  // not ours
  }
  if (InterlockedDecrement(&block[2]) > 0) return;
  block[1] = 0;
  block[0] = 0;
  SetEvent(event_.Get());
}

// --- TAppInstances --------------------------------------------------------------------------

template <typename Work>
auto TAppInstances::UnderLock(Work work) {
  struct Guard {
    InterProcessLock& lock;
    explicit Guard(InterProcessLock& l) : lock(l) { lock.Acquire(); }
    ~Guard() { lock.Release(); }
  } guard(lock_);
  InstanceTable table(std::span<std::uint8_t, InstanceTable::kSize>(table_memory(),
                                                                      InstanceTable::kSize));
  return work(table);
}

TAppInstances::TAppInstances(std::wstring application_window_class, std::wstring executable_path)
    : application_class_(std::move(application_window_class)),
      names_(DeriveInstanceNames(
          UpperCasePath(executable_path.empty() ? OwnExecutablePath() : executable_path))),
      lock_(names_.lock_event, names_.lock_block) {
  arguments_ = OwnArguments();
}

TAppInstances::~TAppInstances() {
  Unregister();
  window_ = {};
}

void TAppInstances::Register() {
  if (registered_) return;
  // Top-level, so that HandOverCommandLine of other copies finds it by its class.
  window_ = gui::win32::MessageWindow(
      kWindowClass, [this](UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
        return OnMessage(message, wparam, lparam, result);
      });
  message_ = RegisterWindowMessageW(ToWide(names_.message).c_str());

  // Created zero-filled by the first copy that opens it.
  table_mapping_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          InstanceTable::kSize, ToWide(names_.table).c_str()));
  if (table_mapping_) {
    table_view_.Reset(
        MapViewOfFile(table_mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, InstanceTable::kSize));
  }
  if (!table_view_) return;  // no shared memory: this copy runs unguarded

  const DWORD self = GetCurrentProcessId();
  const auto registration = UnderLock([&](InstanceTable& table) {
    // Copies that ended without unregistering (crashed or killed) would otherwise count for
    // ever and lock every later start out.
    table.RemoveIf([](std::uint32_t id) { return !IsProcessAlive(id); });
    return table.Register(self);
  });
  registered_ = registration.registered;
  if (registered_ && registration.count_before < 0xFFFF) Notify(kRegistered, self);
}

std::vector<std::uint32_t> TAppInstances::RegisteredIds() {
  if (!table_view_) return {};
  return UnderLock([](InstanceTable& table) { return table.ids(); });
}

bool TAppInstances::Check(const std::function<void(UINT)>& exit) {
  if (!active_ || max_instances_ <= 0 || !table_view_) return true;
  const std::size_t count = UnderLock([](InstanceTable& table) {
    table.RemoveIf([](std::uint32_t id) { return !IsProcessAlive(id); });
    return table.count();
  });
  if (count <= static_cast<std::size_t>(max_instances_)) return true;

  AskOthersWhetherActive();
  if (!active_) return true;

  if (auto_activate_) ActivateFirstCopy();
  if (send_cmd_line_) HandOverCommandLine();
  Unregister();
  exit(0);
  return false;
}

void TAppInstances::Unregister() {
  if (!registered_ || !table_view_) return;
  const DWORD self = GetCurrentProcessId();
  UnderLock([&](InstanceTable& table) { return table.Unregister(self); });
  registered_ = false;
  Notify(kUnregistered, self);
}

void TAppInstances::Notify(WPARAM code, std::uint32_t process_id) {
  for (const std::uint32_t id : RegisteredIds()) {
    HWND app = FindProcessWindow(id, application_class_);
    if (!app) continue;
    const DWORD thread = WindowThread(app);
    // The post is retried while the thread's queue is busy, but only briefly: a thread that
    // never takes posts must not hold this copy up.
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (PostThreadMessageW(thread, message_, code, process_id)) break;
      if (GetLastError() == ERROR_INVALID_THREAD_ID) break;
      Sleep(1);
    }
    for (HWND hwnd : ThreadWindows(thread)) SendNotifyMessageW(hwnd, message_, code, process_id);
  }
}

void TAppInstances::AskOthersWhetherActive() {
  const DWORD self = GetCurrentProcessId();
  const DWORD start = GetTickCount();
  for (const std::uint32_t id : RegisteredIds()) {
    if (id == self) continue;
    HWND app = FindProcessWindow(id, application_class_);
    if (!app) continue;
    for (HWND hwnd : ThreadWindows(WindowThread(app))) {
      if (!active_) return;
      const DWORD spent = GetTickCount() - start;
      if (spent >= kQuestionBudgetMs) return;
      DWORD_PTR ignored = 0;
      // Not SMTO_BLOCK: the answer arrives as a message sent to our window while we wait.
      SendMessageTimeoutW(hwnd, message_, kAreYouActive, reinterpret_cast<LPARAM>(Handle()),
                          SMTO_ABORTIFHUNG, std::min<DWORD>(kSendTimeoutMs, kQuestionBudgetMs - spent),
                          &ignored);
    }
  }
}

void TAppInstances::ActivateFirstCopy() {
  const auto ids = RegisteredIds();
  if (ids.empty()) return;
  const HWND application = FindProcessWindow(ids.front(), application_class_);
  if (!application) return;
  // The application window is hidden; when the first copy shows a window of its own (its
  // main window is open), that is what the user expects to come to the front. When it shows
  // none, nothing is brought forward: a hidden window in the foreground would take the
  // keyboard from the user's window and show nothing, and under Wine its late activation
  // could even overtake the window the running copy shows in answer to the hand-over. The
  // guard shows nothing itself: what the running copy shows is its own answer.
  HWND target = nullptr;
  for (HWND hwnd : TopLevelWindowsOf(ids.front())) {
    if (hwnd != application && IsWindowVisible(hwnd) &&
        !(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
      target = hwnd;
      break;
    }
  }
  if (!target) return;
  DWORD_PTR ignored = 0;
  if (IsIconic(target)) {
    SendMessageTimeoutW(target, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                        &ignored);
  }
  HWND foreground = GetForegroundWindow();
  if (foreground == target) return;
  const DWORD foreground_thread = foreground ? WindowThread(foreground) : 0;
  const DWORD target_thread = WindowThread(target);
  if (foreground_thread && foreground_thread != target_thread) {
    // Windows lets only the foreground thread hand the foreground on; sharing its input
    // state makes the request come from it.
    AttachThreadInput(foreground_thread, target_thread, TRUE);
    const BOOL done = SetForegroundWindow(target);
    AttachThreadInput(foreground_thread, target_thread, FALSE);
    if (!done) return;
  }
  SetForegroundWindow(target);
}

void TAppInstances::HandOverCommandLine() {
  std::vector<std::u16string> arguments;
  for (const auto& a : arguments_) arguments.emplace_back(a.begin(), a.end());
  const std::u16string data = JoinHandOverArguments(arguments);
  COPYDATASTRUCT copy{};
  copy.dwData = 1;
  copy.cbData = static_cast<DWORD>(data.size() * sizeof(char16_t));
  copy.lpData = const_cast<char16_t*>(data.data());
  const auto ids = RegisteredIds();
  for (HWND hwnd : TopLevelWindowsOfClass(kWindowClass)) {
    if (hwnd == Handle()) continue;
    DWORD pid = 0;
    WindowThread(hwnd, &pid);
    if (std::find(ids.begin(), ids.end(), pid) == ids.end()) continue;
    // This copy was just started by the user and may take the foreground; the running copy
    // may not unless allowed, and it answers the hand-over by coming to the front.
    AllowSetForegroundWindow(pid);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()),
                        reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                        &ignored);
  }
}

bool TAppInstances::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == message_ && message_ != 0) {
    if (wparam == kAreYouActive) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(reinterpret_cast<HWND>(lparam), message_, kActiveAnswer, active_ ? 1 : 0,
                          SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    } else if (wparam == kActiveAnswer) {
      active_ = lparam != 0;
    }
    result = 0;
    return true;
  }
  if (message == WM_COPYDATA && reinterpret_cast<HWND>(wparam) != Handle()) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (copy && copy->dwData == 1) {
      if (OnCmdLineReceived) {
        const auto* text = static_cast<const wchar_t*>(copy->lpData);
        OnCmdLineReceived(text ? std::wstring(text, copy->cbData / sizeof(wchar_t))
                               : std::wstring());
      }
      if (OnOtherCopyStarted) OnOtherCopyStarted();
    }
    result = 1;
    return true;
  }
  return false;
}

}  // namespace velmora::ui
