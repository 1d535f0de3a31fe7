#include "app/diagnostics.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace velmora::app {
namespace {

// Kernel handles counted by probing every handle value up to a bound: Wine's
// GetProcessHandleCount always answers 0, while GetHandleInformation answers truthfully for
// each value. Handle values are multiples of 4 and allocated from the bottom, so the bound
// covers tens of thousands of handles.
unsigned long ProbeHandleCount() {
  unsigned long count = 0;
  for (std::uintptr_t value = 4; value < 0x40000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

}  // namespace

std::unique_ptr<DiagnosticsLog> DiagnosticsLog::FromEnvironment() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"VELMORA_DIAG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  int every = 60;
  wchar_t text[16];
  const DWORD m = GetEnvironmentVariableW(L"VELMORA_DIAG_EVERY", text, 16);
  if (m > 0 && m < 16) {
    const long value = std::wcstol(text, nullptr, 10);
    if (value > 0 && value <= 1000000) every = static_cast<int>(value);
  }
  return std::make_unique<DiagnosticsLog>(path, every);
}

DiagnosticsLog::DiagnosticsLog(std::wstring path, int every)
    : path_(std::move(path)), every_(every) {}

void DiagnosticsLog::TickDone(std::chrono::steady_clock::duration took, int images, int rows) {
  ++ticks_;
  total_ += took;
  if (took > longest_) longest_ = took;
  if (ticks_ % static_cast<std::uint64_t>(every_) == 0) Write(images, rows);
}

void DiagnosticsLog::Write(int images, int rows) {
  using std::chrono::duration_cast;
  using std::chrono::microseconds;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                       sizeof(memory));
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  const unsigned long probed_handles = ProbeHandleCount();
  // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge.
  const SIZE_T private_bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  FILE* file = _wfopen(path_.c_str(), L"a");
  if (!file) return;
  std::fprintf(file,
               "ticks=%llu mean_tick_us=%lld longest_tick_us=%lld private_kb=%lu handles=%lu "
               "probed_handles=%lu gdi=%lu user=%lu images=%d rows=%d\n",
               static_cast<unsigned long long>(ticks_),
               static_cast<long long>(duration_cast<microseconds>(total_).count() /
                                      static_cast<long long>(ticks_)),
               static_cast<long long>(duration_cast<microseconds>(longest_).count()),
               static_cast<unsigned long>(private_bytes / 1024),
               static_cast<unsigned long>(handles), probed_handles, static_cast<unsigned long>(gdi),
               static_cast<unsigned long>(user), images, rows);
  std::fclose(file);
}

}  // namespace velmora::app
