// What a translator works from: every text of the program's forms with its property path,
// and every resource string, written as a language file; and the check of a language file
// against them (what it leaves untranslated, what it addresses wrongly).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "localizer/localizer.h"

namespace velmora::gui {
class TComponent;
}

namespace velmora::localizer {

struct TranslatableText {
  std::string section;  // the form's class name
  std::string path;     // "btnQuit.Caption", "lvApps.Columns.(0).Caption"
  std::string value;    // the English text; lines of a string list joined by CR
};

// The non-empty captions, hints and titles of a form, of the components it owns and of their
// collection items, and its string lists, in creation order.
std::vector<TranslatableText> TranslatableTexts(const gui::TComponent& form);

// A complete language file in the humanized notation: the signature, a [General] section to
// fill in, one section per form with every translatable text, and every resource string.
std::string LanguageTemplate(std::span<const gui::TComponent* const> forms);

struct Coverage {
  std::vector<std::string> untranslated;  // "[TfrmMain] btnQuit.Caption", "65066"
  std::vector<std::string> problems;      // reports of paths and values that do not apply
};

// Applies the loaded sections of `engine` to `forms` (fresh instances, changed by this) and
// lists what the file leaves out and what does not apply.
Coverage CheckCoverage(TLocalizer& engine, std::span<gui::TComponent* const> forms);

}  // namespace velmora::localizer
