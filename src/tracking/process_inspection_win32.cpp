#include "tracking/process_inspection_win32.h"

#include <shellapi.h>

#include "core/handles_win32.h"
#include "core/text.h"
#include "core/wow64_win32.h"

namespace velmora::tracking {
namespace {

template <typename Fn>
void Lookup(HMODULE module, const char* name, Fn& fn) {
  if (module && !fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
}

ProcessApi LoadProcessApi() {
  ProcessApi api;
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  Lookup(kernel, "CreateToolhelp32Snapshot", api.create_snapshot);
  Lookup(kernel, "Process32FirstW", api.process_first);
  Lookup(kernel, "Process32NextW", api.process_next);
  Lookup(kernel, "QueryFullProcessImageNameW", api.query_full_process_image_name);
  Lookup(kernel, "K32EnumProcessModules", api.enum_process_modules);
  Lookup(kernel, "K32GetModuleFileNameExW", api.get_module_file_name_ex);
  if (!api.enum_process_modules || !api.get_module_file_name_ex) {
    // Before Windows 7 the same functions live only in PSAPI.dll, a known DLL, so loading
    // it by name cannot pick up a planted copy.
    HMODULE psapi = LoadLibraryW(L"psapi.dll");
    Lookup(psapi, "EnumProcessModules", api.enum_process_modules);
    Lookup(psapi, "GetModuleFileNameExW", api.get_module_file_name_ex);
  }
  return api;
}

// Longest path the system can report (extended-length paths).
constexpr DWORD kPathBufferChars = 32768;

std::string TextBeforeNul(const wchar_t* text, std::size_t capacity) {
  std::size_t n = 0;
  while (n < capacity && text[n] != L'\0') ++n;
  return Narrow(std::wstring_view(text, n));
}

struct ChildSearch {
  DWORD owner = 0;
  DWORD found = 0;
};

BOOL CALLBACK FindForeignChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  DWORD pid = 0;
  if (GetWindowThreadProcessId(child, &pid) && pid != 0 && pid != search->owner) {
    search->found = pid;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

const ProcessApi& SystemProcessApi() {
  static const ProcessApi api = LoadProcessApi();
  return api;
}

Win32ProcessInspector::Win32ProcessInspector(const ProcessApi& api, HINSTANCE instance)
    : api_(api), instance_(instance ? instance : GetModuleHandleW(nullptr)) {}

std::optional<ForegroundWindow> Win32ProcessInspector::GetForegroundWindowOwner() {
  ++counters_.foreground_queries;
  HWND window = GetForegroundWindow();
  if (!window) return std::nullopt;
  DWORD pid = 0;
  if (GetWindowThreadProcessId(window, &pid) == 0) return std::nullopt;
  return ForegroundWindow{reinterpret_cast<WindowId>(window), pid};
}

std::optional<ProcessId> Win32ProcessInspector::GetForeignChildProcess(WindowId window,
                                                                       ProcessId owner) {
  ++counters_.child_window_walks;
  ChildSearch search{owner, 0};
  EnumChildWindows(reinterpret_cast<HWND>(window), FindForeignChild,
                   reinterpret_cast<LPARAM>(&search));
  if (search.found == 0) return std::nullopt;
  return search.found;
}

template <typename Visit>
void Win32ProcessInspector::WalkProcesses(Visit visit) {
  if (!api_.create_snapshot || !api_.process_first || !api_.process_next) return;
  ++counters_.process_snapshots;
  const KernelHandle snapshot(NullIfInvalid(api_.create_snapshot(TH32CS_SNAPPROCESS, 0)));
  if (!snapshot) return;
  // The record's size tells the system which layout the caller has; it differs between
  // 32-bit and 64-bit processes, so it is always the compiler's own.
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(PROCESSENTRY32W);
  for (BOOL read = api_.process_first(snapshot.Get(), &entry); read;
       read = api_.process_next(snapshot.Get(), &entry)) {
    if (!visit(entry)) return;
  }
}

std::string Win32ProcessInspector::GetProcessNameByPID(ProcessId pid) {
  std::string result;
  WalkProcesses([&](const PROCESSENTRY32W& entry) {
    if (entry.th32ProcessID != pid) return true;
    result = TextBeforeNul(entry.szExeFile, MAX_PATH);
    return false;
  });
  return result;
}

// szExeFile is the bare file name of the image on the NT family, which is all the running
// check compares; the walk opens no process, so it lists protected processes too.
std::vector<ProcessEntry> Win32ProcessInspector::ListProcesses() {
  std::vector<ProcessEntry> list;
  WalkProcesses([&](const PROCESSENTRY32W& entry) {
    list.push_back({entry.th32ProcessID, TextBeforeNul(entry.szExeFile, MAX_PATH)});
    return true;
  });
  return list;
}

// QueryFullProcessImageNameW needs only limited query access, which Windows grants for
// other users' and elevated processes, and works from a 32-bit process on 64-bit ones; the
// module functions need 0x0410 and fail on 64-bit processes from a 32-bit one, so they serve
// only where the first does not exist.
std::optional<std::string> Win32ProcessInspector::GetProcessImagePath(ProcessId pid) {
  std::wstring buffer(kPathBufferChars, L'\0');
  DWORD size = kPathBufferChars;
  if (api_.query_full_process_image_name) {
    ++counters_.process_opens;
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return std::nullopt;
    ++counters_.image_path_queries;
    if (!api_.query_full_process_image_name(process.Get(), 0, buffer.data(), &size) || size == 0) {
      return std::nullopt;
    }
    return Narrow(std::wstring_view(buffer.data(), size));
  }
  if (!api_.enum_process_modules || !api_.get_module_file_name_ex) return std::nullopt;
  ++counters_.process_opens;
  const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return std::nullopt;
  HMODULE module = nullptr;
  DWORD needed = 0;
  ++counters_.image_path_queries;
  if (!api_.enum_process_modules(process.Get(), &module, sizeof(module), &needed)) {
    return std::nullopt;
  }
  ++counters_.image_path_queries;
  const DWORD length = api_.get_module_file_name_ex(process.Get(), module, buffer.data(), size);
  if (length == 0) return std::nullopt;
  return Narrow(std::wstring_view(buffer.data(), length));
}

ProcessIcon Win32ProcessInspector::ExtractProcessIcon(std::string_view image_path) {
  const std::string path = NormalizeProcessPath(image_path);
  if (path.empty()) return NoProcessIcon();
  ++counters_.icon_extractions;
  HICON icon = nullptr;
  {
    // The image of a 64-bit program under System32 must be read from System32 itself,
    // not from the SysWOW64 folder WOW64 would silently substitute.
    ScopedWow64RedirectionOff redirection_off;
    icon = ExtractIconW(instance_, Widen(path).c_str(), 0);
  }
  // ExtractIconW answers 1, not a handle, for a file that is not an executable, a DLL or an
  // icon file.
  if (icon == nullptr || icon == reinterpret_cast<HICON>(1)) return NoProcessIcon();
  return ProcessIcon(icon, [](void* handle) { DestroyIcon(static_cast<HICON>(handle)); });
}

std::string GetProcessNameByPID(DWORD pid) {
  return Win32ProcessInspector().GetProcessNameByPID(pid);
}

bool IsProcessRunning(std::string_view name) {
  return Win32ProcessInspector().TakeSnapshot().IsProcessRunning(name);
}

std::string GetProcessPath(std::string_view name) {
  return Win32ProcessInspector().TakeSnapshot().GetProcessPath(name);
}

HICON ExtractProcessIcon(HINSTANCE instance, std::string_view image_path) {
  return static_cast<HICON>(
      Win32ProcessInspector(SystemProcessApi(), instance).ExtractProcessIcon(image_path).release());
}

std::optional<DWORD> GetForegroundProcessId() {
  Win32ProcessInspector inspector;
  const auto foreground = ResolveForegroundProcess(inspector, inspector.TakeSnapshot());
  if (!foreground) return std::nullopt;
  return foreground->id;
}

}  // namespace velmora::tracking
