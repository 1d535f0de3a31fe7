#include "tracking/process_snapshot.h"

#include "core/text.h"

namespace velmora::tracking {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string NormalizeProcessPath(std::string_view path) {
  if (Utf8Length(path) <= 4) return {};
  if (IsAsciiLetter(path.front())) return std::string(path);
  return std::string(path.substr(Utf8Prefix(path, 4).size()));
}

std::string_view ProcessFileName(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\:");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool ProcessFileNameMatches(std::string_view path, std::string_view name) {
  return AsciiEqualNoCase(ProcessFileName(NormalizeProcessPath(path)), name);
}

ProcessSnapshot::ProcessSnapshot(std::vector<ProcessEntry> processes,
                                 ImagePathReader read_image_path)
    : processes_(std::move(processes)), read_image_path_(std::move(read_image_path)) {
  IndexNames();
}

ProcessSnapshot::ProcessSnapshot(std::vector<std::string> image_paths)
    : image_paths_(std::move(image_paths)) {
  processes_.reserve(image_paths_.size());
  for (const std::string& path : image_paths_) {
    processes_.push_back({0, std::string(ProcessFileName(NormalizeProcessPath(path)))});
  }
  IndexNames();
}

void ProcessSnapshot::IndexNames() {
  last_by_file_name_.reserve(processes_.size());
  previous_of_same_name_.resize(processes_.size(), kNone);
  for (std::size_t i = 0; i < processes_.size(); ++i) {
    const auto [it, first] = last_by_file_name_.try_emplace(processes_[i].exe_name, i);
    if (!first) {
      previous_of_same_name_[i] = it->second;
      it->second = i;
    }
  }
}

std::optional<std::string> ProcessSnapshot::ImagePathOf(std::size_t index) const {
  if (!image_paths_.empty()) return image_paths_[index];
  if (!read_image_path_) return std::nullopt;
  return read_image_path_(processes_[index].id);
}

bool ProcessSnapshot::IsProcessRunning(std::string_view name) const {
  return last_by_file_name_.find(name) != last_by_file_name_.end();
}

std::string ProcessSnapshot::NameOf(ProcessId pid) const {
  // Asked once or twice a tick: a search of the walk costs less than an index of it.
  for (const ProcessEntry& process : processes_) {
    if (process.id == pid) return process.exe_name;
  }
  return {};
}

std::string ProcessSnapshot::GetProcessPath(std::string_view name) const {
  const auto last = last_by_file_name_.find(name);
  if (last == last_by_file_name_.end()) return {};
  const auto known = path_by_file_name_.find(name);
  if (known != path_by_file_name_.end()) return known->second;
  // A process that cannot be opened (a protected one, or one that ended since the walk)
  // gives way to the one of the same name enumerated before it. So does one whose path has
  // another file name: its ID was handed to a new process after the walk.
  std::string path;
  for (std::size_t i = last->second; i != kNone; i = previous_of_same_name_[i]) {
    const std::optional<std::string> image_path = ImagePathOf(i);
    if (image_path && ProcessFileNameMatches(*image_path, name)) {
      path = NormalizeProcessPath(*image_path);
      break;
    }
  }
  path_by_file_name_.emplace(std::string(name), path);
  return path;
}

}  // namespace velmora::tracking
