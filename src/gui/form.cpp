#include "gui/form.h"

#include <charconv>

#include "gui/application.h"
#include "gui/collection.h"
#include "gui/errors.h"
#include "gui/strings.h"

namespace velmora::gui {

const ClassInfo& TForm::StaticClass() {
  using C = TForm;
  static const ClassInfo info = MakeClass<C>(
      "TForm", TWinControl::StaticClass(),
      {props::Integer<C>("ClientWidth", &C::ClientWidth, &C::SetClientWidth),
       props::Integer<C>("ClientHeight", &C::ClientHeight, &C::SetClientHeight),
       props::Enum<C, TFormBorderStyle>(
           "BorderStyle", "TFormBorderStyle",
           {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
           &C::BorderStyle, &C::SetBorderStyle),
       props::Set<C>("BorderIcons", "TBorderIcons",
                     {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &C::BorderIcons,
                     &C::SetBorderIcons),
       props::Enum<C, TPosition>(
           "Position", "TPosition",
           {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
            "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
           &C::Position, &C::SetPosition),
       props::Enum<C, TWindowState>("WindowState", "TWindowState",
                                    {"wsNormal", "wsMinimized", "wsMaximized"}, &C::WindowState,
                                    &C::SetWindowState),
       props::Event("OnCreate"), props::Event("OnDestroy"), props::Event("OnShow"),
       props::Event("OnCloseQuery", "TCloseQueryEvent")});
  return info;
}

const ClassInfo& TDataModule::StaticClass() {
  static const ClassInfo info =
      MakeClass<TDataModule>("TDataModule", TComponent::StaticClass(), {props::Event("OnCreate")});
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  if (TApplication* app = Application()) app->AddForm(this);
}

TForm::~TForm() {
  OnDestroy(*this);
  // Components go while the form is still whole, so their windows go before the form's.
  DestroyComponents();
  if (TApplication* app = Application()) app->RemoveForm(this);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  Changed(Change::kState);
}

void TForm::SetBorderIcons(std::uint32_t icons) {
  if (icons == border_icons_) return;
  border_icons_ = icons;
  Changed(Change::kState);
}

void TForm::SetWindowState(TWindowState state) {
  if (state == window_state_) return;
  window_state_ = state;
  Changed(Change::kState);
}

TControl* TForm::ControlToFocusOnShow() {
  const std::vector<TControl*> stops = TabStops(*this);
  return stops.empty() ? nullptr : stops.front();
}

bool TForm::Close() {
  bool can_close = true;
  OnCloseQuery(*this, can_close);
  if (!can_close) return false;
  Hide();
  TApplication* app = Application();
  if (app && app->MainForm() == this) app->Terminate();
  return true;
}

int TForm::ShowModal() {
  modal_result_ = 0;
  Show();
  Platform().RunModal(*this);
  Hide();
  return modal_result_;
}

// --- Design loading ---------------------------------------------------------------------------

namespace {

std::string_view NextElement(std::string_view& rest) {
  const std::size_t dot = rest.find('.');
  const std::string_view head = rest.substr(0, dot);
  rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
  return head;
}

bool ParseItemIndex(std::string_view element, int& index) {
  if (element.size() < 3 || element.front() != '(' || element.back() != ')') return false;
  const char* first = element.data() + 1;
  const char* last = element.data() + element.size() - 1;
  const auto [end, error] = std::from_chars(first, last, index);
  return error == std::errc() && end == last;
}

DesignHook& Hook() {
  static DesignHook hook;
  return hook;
}

}  // namespace

void ApplyDesignProperty(TObject& target, std::string_view path, std::string_view value) {
  TObject* object = &target;
  std::string_view rest = path;
  std::string_view head = NextElement(rest);
  while (!rest.empty()) {
    int index = 0;
    if (object->Is<TCollection>() && ParseItemIndex(head, index)) {
      auto& collection = static_cast<TCollection&>(*object);
      object = index == collection.Count() ? &collection.Add() : &collection.Item(index);
    } else {
      object = GetObjectProperty(*object, head);
      if (!object) throw EPropertyError(FormatResString(kResUnknownProperty, path));
    }
    head = NextElement(rest);
  }
  // A path ending inside a string list ("Title.Text.Strings") gives the list's lines,
  // separated by line breaks; the last element only names the lines.
  if (object->Is<TStrings>()) {
    auto& lines = static_cast<TStrings&>(*object);
    lines.BeginUpdate();
    lines.Clear();
    std::string_view text = value;
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines.Add(std::string(line));
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    if (value.empty()) lines.Add("");
    lines.EndUpdate();
    return;
  }
  SetPropertyText(*object, head, value);
}

bool LoadComponentDesign(TComponent& instance, const ClassInfo& root_ancestor) {
  std::vector<const FormDesign*> designs;
  for (const ClassInfo* c = &instance.ClassType(); c && c != &root_ancestor; c = c->parent) {
    if (c->design) designs.push_back(c->design);
  }
  for (auto it = designs.rbegin(); it != designs.rend(); ++it) {
    const FormDesign& design = **it;
    for (const DesignProperty& p : design.properties)
      ApplyDesignProperty(instance, p.path, p.value);
    for (const DesignComponent& d : design.components) {
      TComponent* component = instance.FindComponent(d.name);
      if (!component) {
        if (!d.cls || !d.cls->create) {
          throw EComponentError("cannot create '" + d.name + "'");
        }
        component = d.cls->create(&instance);
        component->SetName(d.name);
      }
      if (auto* control = dynamic_cast<TControl*>(component)) {
        TComponent* parent = d.parent.empty() ? &instance : instance.FindComponent(d.parent);
        auto* win = dynamic_cast<TWinControl*>(parent);
        if (!win) throw EComponentError("'" + d.parent + "' is not a parent for '" + d.name + "'");
        control->SetParent(win);
      }
      for (const DesignProperty& p : d.properties) ApplyDesignProperty(*component, p.path, p.value);
    }
  }
  return !designs.empty();
}

DesignHook SetDesignHook(DesignHook hook) {
  DesignHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

bool InitComponentDesign(TComponent& instance, const ClassInfo& root_ancestor) {
  static const DesignLoader loader = &LoadComponentDesign;
  if (const DesignHook hook = Hook()) return hook(instance, root_ancestor, loader);
  return loader(instance, root_ancestor);
}

}  // namespace velmora::gui
