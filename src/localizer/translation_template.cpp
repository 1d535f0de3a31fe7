#include "localizer/translation_template.h"

#include <algorithm>
#include <functional>

#include "core/resource_strings.h"
#include "core/text.h"
#include "gui/collection.h"
#include "gui/component.h"
#include "gui/strings.h"
#include "localizer/component_translation.h"

namespace velmora::localizer {

namespace {

// Published text properties a translator translates; names, fonts, pictures and link
// targets are not texts of the language.
bool IsTranslatable(const gui::PropertyInfo& prop) {
  return prop.kind == gui::PropertyKind::kText &&
         (prop.name == "Caption" || prop.name == "Hint" || prop.name == "Title");
}

// Calls `visit` for every property of the object's class, the root class's first.
void ForEachProperty(const gui::TObject& object,
                     const std::function<void(const gui::PropertyInfo&)>& visit) {
  std::vector<const gui::ClassInfo*> chain;
  for (const gui::ClassInfo* c = &object.ClassType(); c; c = c->parent) chain.push_back(c);
  std::reverse(chain.begin(), chain.end());
  for (const gui::ClassInfo* c : chain) {
    for (const gui::PropertyInfo& prop : c->properties) visit(prop);
  }
}

std::string JoinLines(const gui::TStrings& lines) {
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i > 0) text += '\r';
    text += lines[i];
  }
  return text;
}

void CollectTexts(const gui::TObject& object, const std::string& prefix, int depth,
                  const std::string& section, std::vector<TranslatableText>& texts) {
  if (depth > 4) return;
  auto& mutable_object = const_cast<gui::TObject&>(object);
  ForEachProperty(object, [&](const gui::PropertyInfo& prop) {
    if (IsTranslatable(prop)) {
      std::string value = prop.get(object);
      // A caption that is the component's own name is a placeholder the program fills.
      const auto* component = dynamic_cast<const gui::TComponent*>(&object);
      const bool placeholder = component && value == component->Name();
      if (!value.empty() && !placeholder) {
        texts.push_back({section, prefix + prop.name, std::move(value)});
      }
      return;
    }
    if (prop.kind != gui::PropertyKind::kObject) return;
    gui::TPersistent* held = prop.object(mutable_object);
    if (!held) return;
    const std::string path = prefix + prop.name;
    if (held->Is<gui::TStrings>()) {
      std::string lines = JoinLines(static_cast<const gui::TStrings&>(*held));
      if (!lines.empty()) texts.push_back({section, path + ".Strings", std::move(lines)});
    } else if (held->Is<gui::TCollection>()) {
      const auto& collection = static_cast<const gui::TCollection&>(*held);
      for (int i = 0; i < collection.Count(); ++i) {
        CollectTexts(collection.Item(i), path + ".(" + std::to_string(i) + ").", depth + 1, section,
                     texts);
      }
    } else {
      CollectTexts(*held, path + ".", depth + 1, section, texts);
    }
  });
}

// A resource string's name in the template: its first words run together
// ("DoYouReallyWant"), format specifiers left out.
std::string NameOf(std::string_view text) {
  std::string name;
  int words = 0;
  for (std::size_t i = 0; i < text.size() && words < 4;) {
    const auto letter = [&](std::size_t at) {
      const char c = text[at];
      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    };
    if (!letter(i)) {
      ++i;
      continue;
    }
    const bool specifier = i > 0 && text[i - 1] == '%';
    const std::size_t start = i;
    while (i < text.size() && letter(i)) ++i;
    if (specifier) continue;
    std::string word(text.substr(start, i - start));
    if (word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 'a' + 'A');
    name += word;
    ++words;
  }
  return name;
}

// What stands for a line break in the template's values: a character no text of the
// program contains (the default, a backslash, is part of a registry message).
constexpr std::string_view kLineBreak = "\u00B6";  // the pilcrow sign

std::string Humanized(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\r') {
      text += kLineBreak;
      if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
    } else {
      text += value[i];
    }
  }
  return text;
}

}  // namespace

std::vector<TranslatableText> TranslatableTexts(const gui::TComponent& form) {
  std::vector<TranslatableText> texts;
  const std::string& section = form.ClassName();
  CollectTexts(form, "", 0, section, texts);
  for (const gui::TComponent* component : form.Components()) {
    if (!component->Name().empty()) {
      CollectTexts(*component, component->Name() + ".", 0, section, texts);
    }
  }
  return texts;
}

std::string LanguageTemplate(std::span<const gui::TComponent* const> forms) {
  std::string file = std::string(kLanguageFileSignature) + "\r\n";
  file +=
      "; Velmora language file. Translate the text after each \"=\"; keep everything before it.\r\n"
      "; A \u00B6 stands for a line break.\r\n"
      "Humanize=1\r\n"
      "HumanizeDivider=\u00B6\r\n\r\n"
      "[General]\r\n"
      "LangNameEng=\r\n"
      "LangNameNative=\r\n"
      "Tanslator=\r\n"
      "Email=\r\n";
  for (const gui::TComponent* form : forms) {
    file += "\r\n[" + form->ClassName() + "]\r\n";
    for (const TranslatableText& text : TranslatableTexts(*form)) {
      file += text.path + "=" + Humanized(text.value) + "\r\n";
    }
  }
  file += "\r\n[RESOURCESTRINGS]\r\n";
  for (const BuiltinString& entry : BuiltinResStrings()) {
    file +=
        std::to_string(entry.id) + "_" + NameOf(entry.text) + "=" + Humanized(entry.text) + "\r\n";
  }
  return file;
}

Coverage CheckCoverage(TLocalizer& engine, std::span<gui::TComponent* const> forms) {
  Coverage coverage;
  const auto has_path = [&](const std::string& section, const std::string& path) {
    for (const TResForm& s : engine.Sections()) {
      if (s.SectionName != section) continue;
      for (const std::string& p : s.Paths) {
        if (AsciiEqualNoCase(p, path)) return true;
      }
    }
    return false;
  };
  for (gui::TComponent* form : forms) {
    for (const TranslatableText& text : TranslatableTexts(*form)) {
      if (!has_path(text.section, text.path)) {
        coverage.untranslated.push_back("[" + text.section + "] " + text.path);
      }
    }
  }
  const auto& table = engine.ResStringer().Table();
  for (const BuiltinString& entry : BuiltinResStrings()) {
    const bool translated =
        table && std::any_of(table->begin(), table->end(),
                             [&](const auto& row) { return row.Identifier == entry.id; });
    if (!translated) coverage.untranslated.push_back(std::to_string(entry.id));
  }

  const TErrorMode mode = engine.ErrorMode;
  const std::size_t reported = engine.Errors.size();
  engine.ErrorMode = emCollect;
  for (gui::TComponent* form : forms) TranslateComponent(engine, *form);
  engine.ErrorMode = mode;
  coverage.problems.assign(engine.Errors.begin() + static_cast<std::ptrdiff_t>(reported),
                           engine.Errors.end());
  engine.Errors.resize(reported);
  return coverage;
}

}  // namespace velmora::localizer
