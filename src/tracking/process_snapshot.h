// Answers to "is an executable of this name running, and where is its image file" from one
// running-process list.
//
// The Applications page asks both questions for every tracked executable on every tick.
// Taking a fresh process list per question costs (tracked executables x processes) system
// calls per tick; a ProcessSnapshot is taken once per tick and answers every question of
// that tick from memory. Answers are exactly those of a fresh list taken at the moment the
// snapshot was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::tracking {

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
  ProcessSnapshot() = default;
  // `image_paths`: one entry per inspected process, in the platform's enumeration order,
  // as the platform reported them (not yet normalised).
  explicit ProcessSnapshot(std::vector<std::string> image_paths);

  // True if some process has the file name `name` (any A-Z case).
  bool IsProcessRunning(std::string_view name) const;

  // The normalised image path of a process with the file name `name`; when several
  // processes match, the one enumerated last. "" when none does.
  std::string GetProcessPath(std::string_view name) const;

  const std::vector<std::string>& ImagePaths() const { return image_paths_; }

 private:
  std::vector<std::string> image_paths_;
  // A-Z-lowered file name -> index of its last entry in enumeration order.
  std::unordered_map<std::string, std::size_t> last_by_file_name_;
};

}  // namespace velmora::tracking
