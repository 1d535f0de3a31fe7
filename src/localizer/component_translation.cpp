#include "localizer/component_translation.h"

#include <stdexcept>
#include <string>

#include "core/text.h"
#include "gui/application.h"
#include "gui/collection.h"
#include "gui/errors.h"
#include "gui/form.h"
#include "gui/link_label.h"
#include "gui/strings.h"

namespace velmora::localizer {

namespace {

// A link target that is not opened; reported with its own message.
class ERefusedLink : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Replace2(std::string_view format, std::string_view first, std::string_view second) {
  std::string text(format);
  const std::size_t a = text.find("%s");
  text.replace(a, 2, first);
  const std::size_t b = text.find("%s", a + first.size());
  text.replace(b, 2, second);
  return text;
}

// The object a published property of `object` holds; null when `object` has no such
// object-valued property.
gui::TPersistent* ObjectProperty(gui::TObject& object, std::string_view name) {
  if (!object.Is<gui::TPersistent>()) return nullptr;
  const gui::PropertyInfo* prop = gui::FindProperty(object, name);
  if (!prop || prop->kind != gui::PropertyKind::kObject) return nullptr;
  return prop->object(object);
}

// The item "(n)" of a collection; null when `head` is no such index. An index outside the
// collection raises the collection's error.
gui::TCollectionItem* CollectionItem(gui::TObject& object, std::string_view head) {
  if (!object.Is<gui::TCollection>() || head.size() < 3 || head.front() != '(' ||
      head.back() != ')') {
    return nullptr;
  }
  std::int32_t index = 0;
  try {
    index = gui::IntegerFromText(head.substr(1, head.size() - 2));
  } catch (const gui::EConvertError&) {
    return nullptr;
  }
  return &static_cast<gui::TCollection&>(object).Item(index);
}

// Resolves `path` from `root` and sets the value; EParvekSilentError when the path leads
// nowhere.
void ResolveAndSet(gui::TComponent& root, std::string_view path, std::string_view value) {
  gui::TComponent* comp = &root;
  std::string rest(path);
  std::string head = SplitHead(rest, ".");
  for (;;) {
    // A component path: the element names a property of the current component, or one of
    // the components it owns.
    if (rest.empty()) {
      localizer::SetPropertyText(*comp, head, value);
      return;
    }
    if (gui::TComponent* owned = comp->FindComponent(head)) {
      comp = owned;
      head = SplitHead(rest, ".");
      continue;
    }
    // An object path: object-valued properties and collection items down to the property.
    gui::TObject* obj = comp;
    bool resolved = false;
    for (;;) {
      gui::TObject* next = ObjectProperty(*obj, head);
      if (!next) next = CollectionItem(*obj, head);
      if (!next) break;
      obj = next;
      head = SplitHead(rest, ".");
      if (rest.empty()) {
        localizer::SetPropertyText(*obj, head, value);
        resolved = true;
        break;
      }
    }
    if (resolved) return;
    // A control that lies on a panel is owned by the form, not by the panel: the element is
    // looked for once more among the root's components.
    if (comp == &root) throw EParvekSilentError();
    comp = &root;
  }
}

void RefuseUnsafeLink(const gui::TComponent& root, std::string_view path, std::string_view value) {
  // Only a link label's target is opened through the shell.
  std::string rest(path);
  std::string last;
  while (!rest.empty()) last = SplitHead(rest, ".");
  if (!AsciiEqualNoCase(last, "HREF") || gui::IsSafeLinkTarget(value)) return;
  throw ERefusedLink("Refused link target \"" + std::string(value) + "\" of property \"" +
                     std::string(path) + "\" in component \"" + root.Name() +
                     "\": only http:, https: and mailto: links are allowed");
}

}  // namespace

void AssignLines(gui::TStrings& lines, std::string_view value) {
  lines.BeginUpdate();
  try {
    std::string rest(value);
    int i = 0;
    while (!rest.empty()) {
      std::string line = SplitHead(rest, "\r");
      if (i < lines.Count()) {
        lines.Put(i, std::move(line));
      } else {
        lines.Add(std::move(line));
      }
      ++i;
    }
    while (lines.Count() > i) lines.Delete(lines.Count() - 1);
  } catch (...) {
    lines.EndUpdate();
    throw;
  }
  lines.EndUpdate();
}

void SetPropertyText(gui::TObject& object, std::string_view name, std::string_view value) {
  if (object.Is<gui::TStrings>()) {
    AssignLines(static_cast<gui::TStrings&>(object), value);
    return;
  }
  if (!gui::FindProperty(object, name)) throw EParvekSilentError();
  gui::SetPropertyText(object, name, value);
}

void TranslateProperty(TLocalizer& localizer, gui::TComponent& root, std::string_view path,
                       std::string_view value) {
  try {
    RefuseUnsafeLink(root, path, value);
    ResolveAndSet(root, path, value);
  } catch (const EParvekSilentError&) {
    localizer.ReportError(
        Replace2("Unknown property \"%s\" found in component \"%s\".\r\nRemove it from language "
                 "file",
                 path, root.Name()));
  } catch (const ERefusedLink& refused) {
    localizer.ReportError(refused.what());
  } catch (const EParvekError&) {
    throw;
  } catch (const std::exception& error) {
    localizer.ReportError(Replace2("Translation error of property \"%s\" in component \"%s\"\r\n",
                                   path, root.Name()) +
                          error.what());
  }
}

void TranslateComponentAs(TLocalizer& localizer, gui::TComponent& component,
                          const gui::ClassInfo& cls) {
  const gui::ClassInfo* parent = cls.parent;
  if (parent && parent != &gui::TForm::StaticClass() &&
      parent != &gui::TDataModule::StaticClass() && parent != &gui::TObject::StaticClass()) {
    TranslateComponentAs(localizer, component, *parent);
  }
  for (const TResForm& section : localizer.Sections()) {
    if (section.SectionName != cls.name) continue;
    for (std::size_t j = 0; j < section.Paths.size(); ++j) {
      TranslateProperty(localizer, component, section.Paths[j], section.Values[j]);
    }
    return;  // the first matching section only
  }
}

void TranslateComponent(TLocalizer& localizer, gui::TComponent& component) {
  TranslateComponentAs(localizer, component, component.ClassType());
}

void TranslateForms(TLocalizer& localizer) {
  gui::TApplication* app = gui::Application();
  if (!app) return;
  // A copy: a translation could, in principle, create or close forms.
  const std::vector<gui::TForm*> forms = app->Forms();
  for (gui::TForm* form : forms) TranslateComponent(localizer, *form);
}

void SetAutoTranslate(TLocalizer& localizer, bool value) {
  static gui::DesignHook previous;
  if (value == localizer.AutoTranslate) return;
  if (value) {
    previous = gui::SetDesignHook([&localizer](gui::TComponent& instance,
                                               const gui::ClassInfo& root_ancestor,
                                               const gui::DesignLoader& load) {
      // The loader reads every design of the instance's class chain in one call, so the
      // form is translated once, after all of them and before its creation handler.
      const bool loaded = load(instance, root_ancestor);
      TranslateComponent(localizer, instance);
      return loaded;
    });
    localizer.TranslateForms = [](TLocalizer& l) { TranslateForms(l); };
  } else {
    gui::SetDesignHook(std::move(previous));
    previous = nullptr;
    localizer.TranslateForms = nullptr;
  }
  localizer.AutoTranslate = value;
}

}  // namespace velmora::localizer
