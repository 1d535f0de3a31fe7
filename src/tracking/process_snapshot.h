// Answers to "is an executable of this name running, and where is its image file" from one
// look at the process table.
//
// The Applications page asks whether every tracked executable runs on every tick, and
// where its image file is only when it makes a row or a chart series (for the icon and the
// version texts). A ProcessSnapshot is taken once per tick from one process walk, which
// gives every process's ID and executable file name without opening any process; it answers
// the running question from those names and opens processes only for a path that is asked
// for, and then only the processes of that name. Nothing outlives the snapshot: the next
// tick takes a new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace velmora::tracking {

using ProcessId = std::uint32_t;

// One entry of the process walk.
struct ProcessEntry {
  ProcessId id = 0;
  std::string exe_name;  // the executable's file name as the walk reports it

  bool operator==(const ProcessEntry&) const = default;
};

// Turns the forms the platform may report for system processes, an object-manager prefix
// such as \??\ in front of a drive path, into an ordinary path: a path whose first
// character is not an ASCII letter loses its first four characters. Paths of four
// characters or fewer give "". Characters are Unicode characters, not UTF-8 bytes.
//   \??\C:\WINDOWS\system32\csrss.exe -> C:\WINDOWS\system32\csrss.exe
//   \SystemRoot\System32\smss.exe     -> temRoot\System32\smss.exe  (file name still smss.exe)
std::string NormalizeProcessPath(std::string_view path);

// The part of a path after its last backslash or colon; the whole text if it has neither.
std::string_view ProcessFileName(std::string_view path);

// True when the file name of `path` (normalised first) is `name`, both A-Z-lowered and
// compared byte for byte; letters outside A-Z must match exactly.
bool ProcessFileNameMatches(std::string_view path, std::string_view name);

class ProcessSnapshot {
 public:
  // Reads the image path of one process as the platform reports it (not yet normalised);
  // nullopt when the process cannot be opened or its path cannot be read.
  using ImagePathReader = std::function<std::optional<std::string>(ProcessId)>;

  ProcessSnapshot() = default;

  // `processes`: the walk's entries in its order. `read_image_path` is called only by
  // GetProcessPath and must stay valid as long as the snapshot is asked.
  ProcessSnapshot(std::vector<ProcessEntry> processes, ImagePathReader read_image_path);

  // A snapshot of processes whose image paths are already known (every process opened
  // beforehand), one path per process in enumeration order, not yet normalised. Each
  // process's name is the file name of its normalised path. The benchmarks compare the
  // walk with this, the way a tick used to look at the process table.
  explicit ProcessSnapshot(std::vector<std::string> image_paths);

  // True if some process has the file name `name` (any A-Z case), whether or not it can
  // be opened.
  bool IsProcessRunning(std::string_view name) const;

  // The normalised image path of a process with the file name `name`: of the processes of
  // that name, the one enumerated last whose path can be read and has that file name. ""
  // when no process of that name runs or none of them can be opened. Only processes of that
  // name are opened, and the answer is remembered for the rest of this snapshot's life, so
  // asking again opens nothing.
  std::string GetProcessPath(std::string_view name) const;

  // The executable file name of the process `pid` as the walk gave it; "" when the walk did
  // not list that ID.
  std::string NameOf(ProcessId pid) const;

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void IndexNames();
  std::optional<std::string> ImagePathOf(std::size_t index) const;

  std::vector<ProcessEntry> processes_;
  // Parallel to processes_ when the paths were known up front; empty otherwise.
  std::vector<std::string> image_paths_;
  ImagePathReader read_image_path_;
  // File name (A-Z case ignored) -> index of its last process in enumeration order, and for each
  // process the index of the previous one of the same name (kNone for the first), so that
  // GetProcessPath visits the processes of one name from the last backwards.
  AsciiNoCaseMap<std::size_t> last_by_file_name_;
  std::vector<std::size_t> previous_of_same_name_;
  // File name (A-Z case ignored) -> the answer GetProcessPath gave. A snapshot belongs to one
  // tick on the user-interface thread, so this needs no lock.
  mutable AsciiNoCaseMap<std::string> path_by_file_name_;
};

}  // namespace velmora::tracking
