#include "ui/version_texts.h"

#include <exception>

namespace velmora::ui {

std::optional<DetailsFields> ReadVersionTexts(const DetailsReader& read, const std::string& name,
                                              const tracking::ProcessSnapshot& snapshot) {
  if (!read) return std::nullopt;
  // A file that cannot be read is shown by name; it must never stop a page's refresh.
  try {
    const std::string path = snapshot.GetProcessPath(name);
    if (path.empty()) return std::nullopt;
    return read(path);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace velmora::ui
