#include "gui/errors.h"

#include "core/resource_strings.h"

namespace velmora::gui {
namespace {

constexpr BuiltinString kStrings[] = {
    {kResInvalidPropertyElement, "Invalid property element: %s"},
    {kResInvalidInteger, "'%s' is not a valid integer value"},
    {kResInvalidPropertyType, "Invalid property type: %s"},
    {kResListIndexError, "List index out of bounds (%d)"},
    {kResDuplicateName, "A component named %s already exists"},
    {kResInvalidName, "'%s' is not a valid component name"},
    {kResInvalidPropertyValue, "Invalid property value"},
    {kResUnknownProperty, "Property %s does not exist"},
};
VELMORA_BUILTIN_STRINGS(kStrings);

}  // namespace

std::string FormatResString(int id, std::string_view argument) {
  std::string text = LoadResString(id);
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && (text[i + 1] == 's' || text[i + 1] == 'd')) {
      text.replace(i, 2, argument);
      break;
    }
  }
  return text;
}

}  // namespace velmora::gui
