// The questions the tracking asks of the operating system about processes and windows,
// behind one interface: the Windows implementation (process_inspection_win32.h) answers
// them with the process and window functions, tests and benchmarks with a process table of
// their own (fake_process_inspector.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tracking/process_snapshot.h"

namespace velmora::tracking {

// A window handle, opaque to portable code.
using WindowId = std::uintptr_t;

// An icon handle owned by whoever holds it; the deleter releases it the way its source
// requires (DestroyIcon on Windows). Empty when the file has no icon.
using ProcessIcon = std::unique_ptr<void, void (*)(void*)>;
inline ProcessIcon NoProcessIcon() {
  return ProcessIcon(nullptr, [](void*) {});
}

// The foreground window and the process that owns it.
struct ForegroundWindow {
  WindowId window = 0;
  ProcessId process_id = 0;
};

// How many platform calls the inspection has made, so that a benchmark or a test can show
// what a tick costs. Each counter counts one kind of call, successful or not.
struct InspectionCounters {
  std::uint64_t process_snapshots = 0;   // CreateToolhelp32Snapshot: one process walk
  std::uint64_t process_opens = 0;       // OpenProcess
  std::uint64_t image_path_queries = 0;  // QueryFullProcessImageNameW or the module calls
  std::uint64_t foreground_queries = 0;  // GetForegroundWindow
  std::uint64_t child_window_walks = 0;  // EnumChildWindows
  std::uint64_t icon_extractions = 0;    // ExtractIconW

  std::uint64_t Total() const {
    return process_snapshots + process_opens + image_path_queries + foreground_queries +
           child_window_walks + icon_extractions;
  }
};

class ProcessInspector {
 public:
  virtual ~ProcessInspector() = default;

  // The foreground window and its owner; nullopt when no window has the foreground or
  // the owner cannot be determined.
  virtual std::optional<ForegroundWindow> GetForegroundWindowOwner() = 0;

  // The process of a child window of `window` that belongs to a process other than
  // `owner`, the first one found; nullopt when there is none.
  virtual std::optional<ProcessId> GetForeignChildProcess(WindowId window, ProcessId owner) = 0;

  // The executable file name of a process (bare file name on the NT family; process 0 is
  // "[System Process]"); "" when no process has that ID or processes cannot be listed.
  virtual std::string GetProcessNameByPID(ProcessId pid) = 0;

  // One walk of the process table: every process's ID and executable file name, in the
  // walk's order, without opening any process; two processes of one executable give two
  // entries. Empty when the process functions are unavailable.
  virtual std::vector<ProcessEntry> ListProcesses() = 0;

  // The image path of one process as the platform reports it (not normalised), which
  // takes opening the process; nullopt when it cannot be opened (a protected process, one
  // that has ended) or its path cannot be read.
  virtual std::optional<std::string> GetProcessImagePath(ProcessId pid) = 0;

  // The first icon of the executable at `image_path` (normalised first); empty when the
  // file has none or cannot be read.
  virtual ProcessIcon ExtractProcessIcon(std::string_view image_path) = 0;

  virtual InspectionCounters Counters() const = 0;

  // One process walk, taken now, answering every name and path question of a tick; it
  // asks this inspector for image paths, so it must not outlive it.
  ProcessSnapshot TakeSnapshot() {
    return ProcessSnapshot(ListProcesses(),
                           [this](ProcessId pid) { return GetProcessImagePath(pid); });
  }
};

// The process to credit for the foreground window, with its executable name.
struct ForegroundProcess {
  ProcessId id = 0;
  std::string name;
};

// The executable that hosts every Windows Store application's frame window.
inline constexpr std::string_view kApplicationFrameHost = "ApplicationFrameHost.exe";

// The process that owns the foreground window, and its name ("" when no process has that
// ID). Windows Store applications draw into a frame owned by ApplicationFrameHost.exe;
// crediting that name would lump every such application together, so when the owner is
// that host (any A-Z case) and a child window of the frame belongs to another process
// with a name, that process (the hosted application) is credited instead. nullopt when no
// window has the foreground or its owner cannot be determined. The names come from
// `processes`, the tick's one walk of the process table.
std::optional<ForegroundProcess> ResolveForegroundProcess(ProcessInspector& inspector,
                                                          const ProcessSnapshot& processes);

}  // namespace velmora::tracking
