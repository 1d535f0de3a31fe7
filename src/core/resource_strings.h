// Built-in resource strings and the one function through which the program fetches them.
//
// Every text that the program shows and that a language file may translate without being
// a property of a component (messages, questions, the component layer's own error texts)
// is a numbered resource string. Code never uses such a text directly: it calls
// LoadResString(id), which asks the installed translator first (the localization engine's
// table of translated strings) and falls back to the built-in text.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace velmora {

struct BuiltinString {
  int id;
  const char* text;  // UTF-8, static storage
};

// Adds a table of built-in strings. Tables are registered at start-up by the modules that
// own them (see VELMORA_BUILTIN_STRINGS); an identifier registered twice keeps its first text.
void RegisterBuiltinStrings(std::span<const BuiltinString> table);

// The built-in text of an identifier, or empty text when none is registered.
std::string BuiltinResString(int id);
// Every registered built-in string, by ascending identifier (a translator's template).
std::vector<BuiltinString> BuiltinResStrings();

// The translator answers true and fills `text` when it has a translation for `id`.
using ResourceStringTranslator = std::function<bool(int id, std::string& text)>;

// Installs (or, with an empty function, removes) the translator.
void SetResourceStringTranslator(ResourceStringTranslator translator);

// The text of resource string `id`: the translator's, else the built-in one.
std::string LoadResString(int id);

namespace detail {
struct BuiltinStringRegistrar {
  explicit BuiltinStringRegistrar(std::span<const BuiltinString> table) {
    RegisterBuiltinStrings(table);
  }
};
}  // namespace detail

}  // namespace velmora

// Registers a module's table of built-in strings before main() runs:
//   constexpr velmora::BuiltinString kStrings[] = {{65066, "Do you really want ..."}};
//   VELMORA_BUILTIN_STRINGS(kStrings);
// Put it in a source file that is linked for another reason too (a static library drops
// object files nothing refers to).
#define VELMORA_BUILTIN_STRINGS(table)                                                        \
  static const ::velmora::detail::BuiltinStringRegistrar velmora_builtin_strings_registrar_ { \
    table                                                                                     \
  }
