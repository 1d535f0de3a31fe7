// How the pages read a tracked executable's version texts: the Applications page for a new
// row's details, the Statistics page for a new series' title.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "tracking/process_snapshot.h"
#include "ui/page_rules.h"

namespace velmora::ui {

// Reads the four version texts of the image file at a path; throws when the file has no
// readable version information (or the path is empty).
using DetailsReader = std::function<DetailsFields(const std::string& image_path)>;

// The version texts of the executable `name`, read from the image file of its running
// process. nullopt when they cannot be read: no process of that name has an image path in
// the snapshot (it has exited, or it cannot be opened), there is no reader, or the file has
// no readable version information. The pages then show the file name instead.
std::optional<DetailsFields> ReadVersionTexts(const DetailsReader& read, const std::string& name,
                                              const tracking::ProcessSnapshot& snapshot);

}  // namespace velmora::ui
