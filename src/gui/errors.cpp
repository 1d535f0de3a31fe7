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
  return FormatResString(id, {argument});
}

std::string FormatResString(int id, std::initializer_list<std::string_view> arguments) {
  std::string text = LoadResString(id);
  std::size_t at = 0;
  for (const std::string_view argument : arguments) {
    for (; at + 1 < text.size(); ++at) {
      if (text[at] == '%' && (text[at + 1] == 's' || text[at + 1] == 'd')) break;
    }
    if (at + 1 >= text.size()) break;
    text.replace(at, 2, argument);
    // Go on after the argument, so that a "%s" inside it stays as it is.
    at += argument.size();
  }
  return text;
}

}  // namespace velmora::gui
