// Starts one of the helper programs of tests/helpers as a real child process and ends it.
#pragma once

#include <windows.h>

#include <string>

#include "tracking_helpers_dir.h"

namespace velmora::tracking::testing {

// The full Windows path of a helper executable, e.g. L"velmora-test-child.exe".
inline std::wstring HelperPath(const std::wstring& file) {
  return std::wstring(kHelpersDir) + L"\\" + file;
}

// A copy of a helper under a name no other test process uses, in the temporary folder, so
// that tests running at the same time cannot see each other's children. Deleted at the end.
class UniqueCopy {
 public:
  UniqueCopy(const std::wstring& helper, const std::wstring& tag) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    file_name_ = L"vlm-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    path_ = std::wstring(temp) + file_name_;
    copied_ = CopyFileW(HelperPath(helper).c_str(), path_.c_str(), FALSE) != FALSE;
  }
  ~UniqueCopy() {
    if (copied_) DeleteFileW(path_.c_str());
  }
  UniqueCopy(const UniqueCopy&) = delete;
  UniqueCopy& operator=(const UniqueCopy&) = delete;
  bool ok() const { return copied_; }
  const std::wstring& path() const { return path_; }
  const std::wstring& file_name() const { return file_name_; }

 private:
  std::wstring path_;
  std::wstring file_name_;
  bool copied_ = false;
};

class ChildProcess {
 public:
  // Starts `exe` and waits until it reports that it runs. With `window`, the child shows a
  // window and brings it to the front first.
  explicit ChildProcess(const std::wstring& exe, bool window = false) {
    static int serial = 0;
    const std::wstring name = L"velmora-child-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, (name + L"-ready").c_str());
    quit_ = CreateEventW(nullptr, TRUE, FALSE, (name + L"-quit").c_str());
    std::wstring command = L"\"" + exe + L"\" " + name + (window ? L" window" : L"");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
      return;
    }
    const HANDLE waits[] = {ready_, info_.hProcess};
    started_ = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
  }
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }

  // Asks the child to exit and waits until it has.
  void Stop() {
    if (info_.hProcess) {
      SetEvent(quit_);
      if (WaitForSingleObject(info_.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
      }
      CloseHandle(info_.hProcess);
      CloseHandle(info_.hThread);
      info_ = {};
    }
    if (ready_) CloseHandle(ready_);
    if (quit_) CloseHandle(quit_);
    ready_ = quit_ = nullptr;
  }

 private:
  HANDLE ready_ = nullptr;
  HANDLE quit_ = nullptr;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

}  // namespace velmora::tracking::testing
