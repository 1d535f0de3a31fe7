// Component translation: applies the component sections of the loaded language file to live
// components of the component layer, by class name, ancestor class and property path
// ("Label1.Caption", "Font.Name", "lvApps.Columns.(0).Caption"), and translates every new form
// while it is created when automatic translation is on.
#pragma once

#include <string_view>

#include "localizer/localizer.h"

namespace velmora::gui {
struct ClassInfo;
class TComponent;
class TObject;
class TStrings;
}  // namespace velmora::gui

namespace velmora::localizer {

// Applies the sections of the component's class and of its ancestors below TForm,
// TDataModule and TObject, the farthest ancestor first.
void TranslateComponent(TLocalizer& localizer, gui::TComponent& component);
// The same, for the sections of `cls` and its ancestors.
void TranslateComponentAs(TLocalizer& localizer, gui::TComponent& component,
                          const gui::ClassInfo& cls);
// Resolves `path` from `root` and sets the property it ends at. Problems are reported through
// the engine (in emRaise mode the report's exception leaves this function).
void TranslateProperty(TLocalizer& localizer, gui::TComponent& root, std::string_view path,
                       std::string_view value);
// Sets property `name` of `object` from text; a string list takes the lines of `value` and
// ignores `name`. Raises EParvekSilentError when the object has no such property.
void SetPropertyText(gui::TObject& object, std::string_view name, std::string_view value);
// Replaces the lines of `lines` with those of `value` split at CR.
void AssignLines(gui::TStrings& lines, std::string_view value);
// TranslateComponent for every form of the application, in its order.
void TranslateForms(TLocalizer& localizer);
// Switches the translation of new forms on or off: on, every form is translated once its
// designs are loaded and before its creation handler runs.
void SetAutoTranslate(TLocalizer& localizer, bool value);

}  // namespace velmora::localizer
