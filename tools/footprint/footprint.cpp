// velmora-footprint: watches a program for a while and prints, at every sample, its private
// memory, handle count, GDI and USER object counts and CPU time. Used to show that Velmora's
// footprint stays flat while its refresh timer ticks (no icon, handle or GDI leak per tick).
//
//   velmora-footprint SECONDS INTERVAL PROGRAM [ARGS...]
//
// Starts PROGRAM, samples every INTERVAL seconds for SECONDS seconds, then ends it (WM_CLOSE
// to its windows is not enough for a tray program that only hides, so it is terminated).
// The last line sums up: growth of each figure between the first and the last sample after
// warm-up, and CPU milliseconds per second of run time (one tick per second by default).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Sample {
  double seconds;
  SIZE_T private_bytes;
  DWORD handles;
  DWORD gdi;
  DWORD user;
  double cpu_ms;
};

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 10000.0;
}

Sample Take(HANDLE process, double seconds) {
  Sample s{seconds, 0, 0, 0, 0, 0};
  // PagefileUsage is the committed private memory (what Task Manager calls the commit size).
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(process, &memory, sizeof(memory))) s.private_bytes = memory.PagefileUsage;
  GetProcessHandleCount(process, &s.handles);
  s.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  s.user = GetGuiResources(process, GR_USEROBJECTS);
  FILETIME created, exited, kernel, user;
  if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
    s.cpu_ms = FileTimeMs(kernel) + FileTimeMs(user);
  }
  return s;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: velmora-footprint SECONDS INTERVAL PROGRAM [ARGS...]\n");
    return 2;
  }
  const double total = _wtof(argv[1]);
  const double interval = _wtof(argv[2]);
  std::wstring command = L"\"" + std::wstring(argv[3]) + L"\"";
  for (int i = 4; i < argc; ++i) command += L" " + std::wstring(argv[i]);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::fprintf(stderr, "error: cannot start the program (%lu)\n", GetLastError());
    return 1;
  }
  std::printf("%8s %12s %8s %6s %6s %10s\n", "seconds", "private_kb", "handles", "gdi", "user",
              "cpu_ms");
  std::vector<Sample> samples;
  const DWORD start = GetTickCount();
  for (double t = 0; t <= total; t += interval) {
    const DWORD due = start + static_cast<DWORD>(t * 1000);
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(due - now) > 0) {
      if (WaitForSingleObject(info.hProcess, due - now) == WAIT_OBJECT_0) break;
    }
    const Sample s = Take(info.hProcess, (GetTickCount() - start) / 1000.0);
    samples.push_back(s);
    std::printf("%8.0f %12lu %8lu %6lu %6lu %10.0f\n", s.seconds, static_cast<unsigned long>(s.private_bytes / 1024),
                s.handles, s.gdi, s.user, s.cpu_ms);
    std::fflush(stdout);
  }
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info.hProcess, &code);
  TerminateProcess(info.hProcess, 0);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (code != STILL_ACTIVE) {
    std::fprintf(stderr, "error: the program ended early (exit code %lu)\n", code);
    return 1;
  }
  if (samples.size() < 3) return 0;
  // The first samples cover start-up; growth is measured from the second sample on.
  const Sample& a = samples[1];
  const Sample& b = samples.back();
  const double span = b.seconds - a.seconds;
  std::printf("growth over %.0f s: private %+lld KB, handles %+ld, gdi %+ld, user %+ld; "
              "cpu %.2f ms per second\n",
              span, (static_cast<long long>(b.private_bytes) - static_cast<long long>(a.private_bytes)) / 1024,
              static_cast<long>(b.handles) - static_cast<long>(a.handles),
              static_cast<long>(b.gdi) - static_cast<long>(a.gdi),
              static_cast<long>(b.user) - static_cast<long>(a.user),
              span > 0 ? (b.cpu_ms - a.cpu_ms) / span : 0.0);
  return 0;
}
