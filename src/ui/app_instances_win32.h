// TAppInstances: one copy of the program per executable path.
//
// Every copy registers its process identifier in a table in named shared memory, keyed by
// its executable path. A copy that finds more copies registered than allowed asks the others
// whether their guards are active; if so it brings the first copy's application window to
// the front, hands its command-line arguments over (letting the running copy take the
// foreground, which it may then do to show itself), unregisters and ends with exit code 0,
// before it has shown anything or written any setting.
//
// Faults a user must never be locked out by: a copy that crashed leaves its identifier in the
// table (entries of processes that no longer run are dropped before counting), and a copy
// that does not answer its messages holds a starting copy up only for a bounded time (every
// synchronous send has a timeout).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/handles_win32.h"
#include "gui/message_window_win32.h"
#include "ui/instance_table.h"

namespace velmora::ui {

// The lock around the instance table, shared by all copies of one executable: a named
// auto-reset event and a 16-byte named block recording the holder (process, thread, depth),
// so that the holding thread may take it again. A holder that ended without releasing it
// (killed inside the lock) is detected and the lock taken over.
class InterProcessLock {
 public:
  InterProcessLock(const std::u16string& event_name, const std::u16string& block_name);
  InterProcessLock(const InterProcessLock&) = delete;
  InterProcessLock& operator=(const InterProcessLock&) = delete;

  void Acquire();
  void Release();

 private:
  // The holder's record: [0] process, [1] thread, [2] depth, [3] unused.
  volatile LONG* block() const { return static_cast<volatile LONG*>(block_view_.Get()); }

  KernelHandle event_;
  KernelHandle block_mapping_;
  MappedView block_view_;
};

class TAppInstances {
 public:
  // Message codes of the registered message (first parameter).
  enum Code : WPARAM {
    kRegistered = 1,
    kUnregistered = 2,
    kUserNotification = 3,
    kAreYouActive = 4,
    kActiveAnswer = 5,
  };
  // The class of the guard's own window: a refused copy finds the running copies' guard
  // windows by it to hand its arguments over, so every version must keep this name.
  static constexpr wchar_t kWindowClass[] = L"AppInstances_WindowClass";

  // `application_window_class`: the class of each copy's application-level window, the
  // target of the activation request. An empty path means this program's executable.
  explicit TAppInstances(std::wstring application_window_class, std::wstring executable_path = {});
  ~TAppInstances();  // unregisters when still registered
  TAppInstances(const TAppInstances&) = delete;
  TAppInstances& operator=(const TAppInstances&) = delete;

  // An inactive guard lets its copy run whatever the count, and a starting copy also runs
  // when a running copy answers that its guard is inactive.
  bool active() const { return active_; }
  void SetActive(bool active) { active_ = active; }
  // How many copies may run at once; 0 or less: any number.
  int max_instances() const { return max_instances_; }
  void SetMaxInstances(int count) { max_instances_ = count; }
  // Whether a refused copy brings the first copy's window to the front.
  bool auto_activate() const { return auto_activate_; }
  void SetAutoActivate(bool activate) { auto_activate_ = activate; }
  // Whether a refused copy hands its arguments over to the running copies.
  bool send_cmd_line() const { return send_cmd_line_; }
  void SetSendCmdLine(bool send) { send_cmd_line_ = send; }

  // The arguments handed over when refused; by default this process's own (without the
  // program path).
  const std::vector<std::wstring>& arguments() const { return arguments_; }
  void SetArguments(std::vector<std::wstring> arguments) { arguments_ = std::move(arguments); }

  // Creates the guard window and enters this process in the table.
  void Register();

  // Decides whether this copy may run. When it may not, the refusal is carried out
  // (activation, hand-over, unregistering) and `exit` is called with 0; the program passes
  // ExitProcess, so nothing after it runs. Returns true when this copy runs.
  bool Check(const std::function<void(UINT)>& exit = ExitProcess);

  // Leaves the table and tells the other copies. Safe to call more than once.
  void Unregister();

  HWND Handle() const { return window_.Handle(); }
  const InstanceNames& Names() const { return names_; }
  UINT Message() const { return message_; }
  std::vector<std::uint32_t> RegisteredIds();

  // Raised when another copy hands its arguments over (each followed by CR LF). The
  // program ignores them; tests look.
  std::function<void(const std::wstring&)> OnCmdLineReceived;
  // Raised after OnCmdLineReceived for every hand-over: another copy was started and
  // refused. The program shows its window, since the user who started it again wants to
  // see it. Runs inside the other copy's (time-limited) send; it must not throw.
  std::function<void()> OnOtherCopyStarted;

 private:
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void Notify(WPARAM code, std::uint32_t process_id);
  void AskOthersWhetherActive();
  void ActivateFirstCopy();
  void HandOverCommandLine();

  template <typename Work>
  auto UnderLock(Work work);
  std::uint8_t* table_memory() const { return static_cast<std::uint8_t*>(table_view_.Get()); }

  bool active_ = true;
  int max_instances_ = 1;
  bool auto_activate_ = true;
  bool send_cmd_line_ = true;
  std::vector<std::wstring> arguments_;
  std::wstring application_class_;
  InstanceNames names_;
  InterProcessLock lock_;
  KernelHandle table_mapping_;
  MappedView table_view_;
  UINT message_ = 0;
  bool registered_ = false;
  // Last: the window goes first, while everything its messages reach is still there.
  gui::win32::MessageWindow window_;
};

// The application-level window of a process (found by class), or nullptr.
HWND FindProcessWindow(DWORD process_id, const std::wstring& window_class);

// Whether a process with this identifier still runs.
bool IsProcessAlive(DWORD process_id);

}  // namespace velmora::ui
