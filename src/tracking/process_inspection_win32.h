// Process inspection on Windows: the W functions, with UTF-8 results.
//
// The process functions are looked up at run time (ProcessApi), so that Velmora starts on
// systems that lack some of them; an operation whose functions are missing returns an
// empty result. Win32ProcessInspector implements ProcessInspector for the tick and the
// pages; the free functions below are the single-question forms, each taking a fresh look
// at the process table.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include "tracking/process_inspector.h"

namespace velmora::tracking {

// The process functions Velmora uses, null where the system does not have them.
struct ProcessApi {
  HANDLE(WINAPI* create_snapshot)(DWORD flags, DWORD pid) = nullptr;
  BOOL(WINAPI* process_first)(HANDLE snapshot, PROCESSENTRY32W* entry) = nullptr;
  BOOL(WINAPI* process_next)(HANDLE snapshot, PROCESSENTRY32W* entry) = nullptr;
  BOOL(WINAPI* enum_process_modules)
  (HANDLE process, HMODULE* modules, DWORD bytes, DWORD* bytes_needed) = nullptr;
  DWORD(WINAPI* get_module_file_name_ex)
  (HANDLE process, HMODULE module, LPWSTR name, DWORD size) = nullptr;
  BOOL(WINAPI* query_full_process_image_name)
  (HANDLE process, DWORD flags, LPWSTR name, PDWORD size) = nullptr;
};

// The system's functions, looked up once on first use: the toolhelp functions and
// QueryFullProcessImageNameW in kernel32.dll; EnumProcessModules and GetModuleFileNameExW
// as K32* in kernel32.dll (Windows 7 and later), else in PSAPI.dll.
const ProcessApi& SystemProcessApi();

class Win32ProcessInspector : public ProcessInspector {
 public:
  // `instance` is passed to ExtractIconW; the program's own module by default.
  explicit Win32ProcessInspector(const ProcessApi& api = SystemProcessApi(),
                                 HINSTANCE instance = nullptr);

  std::optional<ForegroundWindow> GetForegroundWindowOwner() override;
  std::optional<ProcessId> GetForeignChildProcess(WindowId window, ProcessId owner) override;
  std::string GetProcessNameByPID(ProcessId pid) override;
  std::vector<ProcessEntry> ListProcesses() override;
  std::optional<std::string> GetProcessImagePath(ProcessId pid) override;
  ProcessIcon ExtractProcessIcon(std::string_view image_path) override;
  InspectionCounters Counters() const override { return counters_; }

 private:
  // Calls `visit` with every entry of one toolhelp walk, in its order, until it returns
  // false.
  template <typename Visit>
  void WalkProcesses(Visit visit);

  ProcessApi api_;
  HINSTANCE instance_;
  InspectionCounters counters_;
};

// The executable name of a process from the toolhelp snapshot; "" if no process has it.
std::string GetProcessNameByPID(DWORD pid);
// True if a running process has the file name `name` (any A-Z case).
bool IsProcessRunning(std::string_view name);
// The normalised image path of the last-enumerated running process named `name`, or "".
std::string GetProcessPath(std::string_view name);
// The first icon of the executable at `image_path`, or nullptr; the caller destroys it.
HICON ExtractProcessIcon(HINSTANCE instance, std::string_view image_path);
// The process to credit for the foreground window (see ResolveForegroundProcess);
// nullopt when no window has the foreground.
std::optional<DWORD> GetForegroundProcessId();

}  // namespace velmora::tracking
