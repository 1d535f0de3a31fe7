// The component layer's errors and their messages.
//
// The messages are resource strings (LoadResString), so a language file can translate them;
// the localization engine appends them to its own reports, as the framework it replaces did.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora::gui {

// Resource-string identifiers of the layer's messages.
enum ResId : int {
  kResInvalidPropertyElement = 65300,  // "Invalid property element: %s"
  kResInvalidInteger = 65301,          // "'%s' is not a valid integer value"
  kResInvalidPropertyType = 65302,     // "Invalid property type: %s"
  kResListIndexError = 65303,          // "List index out of bounds (%d)"
  kResDuplicateName = 65304,           // "A component named %s already exists"
  kResInvalidName = 65305,             // "''%s'' is not a valid component name"
  kResInvalidPropertyValue = 65306,    // "Invalid property value"
  kResUnknownProperty = 65307,         // "Property %s does not exist"
};

// Base of every error the layer raises.
class EGuiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// A text that does not convert to the property's type.
class EConvertError : public EGuiError {
 public:
  using EGuiError::EGuiError;
};
// A property that cannot be set this way (object-valued, event) or does not exist.
class EPropertyError : public EGuiError {
 public:
  using EGuiError::EGuiError;
};
// An index outside a list or collection.
class EListError : public EGuiError {
 public:
  using EGuiError::EGuiError;
};
// A component name that is invalid or already taken among the owner's components.
class EComponentError : public EGuiError {
 public:
  using EGuiError::EGuiError;
};

// The message `id` with its first "%s" (or "%d") replaced by `argument`, taken literally
// (a "%" inside the argument stays as it is).
std::string FormatResString(int id, std::string_view argument);
// The same with each "%s" / "%d" in turn replaced by the next argument.
std::string FormatResString(int id, std::initializer_list<std::string_view> arguments);

}  // namespace velmora::gui
