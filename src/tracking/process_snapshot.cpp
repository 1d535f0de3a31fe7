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
  return AsciiLower(ProcessFileName(NormalizeProcessPath(path))) == AsciiLower(name);
}

ProcessSnapshot::ProcessSnapshot(std::vector<std::string> image_paths)
    : image_paths_(std::move(image_paths)) {
  last_by_file_name_.reserve(image_paths_.size());
  for (std::size_t i = 0; i < image_paths_.size(); ++i) {
    last_by_file_name_[AsciiLower(ProcessFileName(NormalizeProcessPath(image_paths_[i])))] = i;
  }
}

bool ProcessSnapshot::IsProcessRunning(std::string_view name) const {
  return last_by_file_name_.count(AsciiLower(name)) != 0;
}

std::string ProcessSnapshot::GetProcessPath(std::string_view name) const {
  const auto it = last_by_file_name_.find(AsciiLower(name));
  return it == last_by_file_name_.end() ? std::string()
                                        : NormalizeProcessPath(image_paths_[it->second]);
}

}  // namespace velmora::tracking
