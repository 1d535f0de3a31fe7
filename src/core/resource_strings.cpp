#include "core/resource_strings.h"

#include <map>

namespace velmora {
namespace {

// Function-local statics: registrars run during static initialisation, in an order the
// language does not fix, so the containers must come into being on first use.
std::map<int, const char*>& Builtins() {
  static std::map<int, const char*> builtins;
  return builtins;
}

ResourceStringTranslator& Translator() {
  static ResourceStringTranslator translator;
  return translator;
}

}  // namespace

void RegisterBuiltinStrings(std::span<const BuiltinString> table) {
  for (const BuiltinString& entry : table) Builtins().emplace(entry.id, entry.text);
}

std::string BuiltinResString(int id) {
  const auto it = Builtins().find(id);
  return it == Builtins().end() ? std::string() : std::string(it->second);
}

std::vector<BuiltinString> BuiltinResStrings() {
  std::vector<BuiltinString> strings;
  for (const auto& [id, text] : Builtins()) strings.push_back({id, text});
  return strings;
}

void SetResourceStringTranslator(ResourceStringTranslator translator) {
  Translator() = std::move(translator);
}

std::string LoadResString(int id) {
  if (const auto& translator = Translator()) {
    std::string text;
    if (translator(id, text)) return text;
  }
  return BuiltinResString(id);
}

}  // namespace velmora
