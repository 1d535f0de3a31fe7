// Forms and data modules, and the design they are built from.
//
// A design is a declarative table: the form's own property values and, in creation order,
// its components with their class, name, parent and property values (as text, through the
// published properties, like a language file). Designs belong to classes (MakeClass's last
// argument); a form class derived from another form class has the ancestor's design loaded
// first. Creating a form runs, in this order: the constructor (the instance exists), the
// design loader for the instance (through the process-wide design hook when one is
// installed), then the creation handler DoCreate.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/control.h"

namespace velmora::gui {

struct DesignProperty {
  std::string path;   // a property name, or a dotted path through object-valued properties
                      // and collection items: "Font.Style", "Columns.(0).Caption"; an item
                      // index equal to the collection's count appends an item; a path into
                      // a string list ("Title.Text.Strings") sets its lines
  std::string value;  // as text
};

struct DesignComponent {
  const ClassInfo* cls;
  std::string name;
  std::string parent;  // a control named earlier in the design; empty: the form itself
  std::vector<DesignProperty> properties;
};

struct FormDesign {
  std::vector<DesignProperty> properties;
  std::vector<DesignComponent> components;
};

// The class of T as a design table names it: {DesignClass<TButton>(), "btnQuit", "", {...}}.
template <class T>
const ClassInfo* DesignClass() {
  return &T::StaticClass();
}

// Sets one design entry on `target` (EPropertyError/EConvertError/EListError on failure).
void ApplyDesignProperty(TObject& target, std::string_view path, std::string_view value);

// The framework's design loader: loads the designs of the instance's class and of its
// ancestors below `root_ancestor`, the farthest ancestor first. True when any was found.
bool LoadComponentDesign(TComponent& instance, const ClassInfo& root_ancestor);

using DesignLoader = std::function<bool(TComponent& instance, const ClassInfo& root_ancestor)>;
// A hook around the loader: it is handed the instance and the loader and decides when to
// call it (the localization engine calls it, then translates the instance).
using DesignHook = std::function<bool(TComponent& instance, const ClassInfo& root_ancestor,
                                      const DesignLoader& load)>;
// Installs the process-wide hook; an empty one removes it. Returns the previous one.
DesignHook SetDesignHook(DesignHook hook);
// Loads the instance's design through the hook (or directly without one).
bool InitComponentDesign(TComponent& instance, const ClassInfo& root_ancestor);

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : std::uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TForm : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // A form's Width and Height are its client area's, as the designs give them.
  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  void SetClientWidth(int w) { SetWidth(w); }
  void SetClientHeight(int h) { SetHeight(h); }
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  std::uint32_t BorderIcons() const { return border_icons_; }
  void SetBorderIcons(std::uint32_t icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  // The state the window has, or takes when it is next shown.
  TWindowState WindowState() const { return window_state_; }
  void SetWindowState(TWindowState state);

  // Asks to close: OnCloseQuery decides; a granted close hides the form and, for the main
  // form, ends the application's message loop. True when granted.
  bool Close();
  // Shows the form and runs a message loop until ModalResult is set; the form is hidden
  // again and ModalResult returned.
  int ShowModal();
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }

  // The creation handler, run once after the design has been loaded: OnCreate by default.
  virtual void DoCreate() { OnCreate(*this); }
  // Runs every time the form is about to become visible, before its window shows.
  virtual void DoShow() { OnShow(*this); }

  // Platform messages to the form's window before the form handles them (WM_QUERYENDSESSION
  // for a program that must answer the end of the session). Return true to take the message
  // and give its result.
  std::function<bool(unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                     std::intptr_t& result)>
      OnWindowMessage;

  // Where the keyboard focus goes each time the form is shown: the first tab stop by default.
  // The window's own frame never keeps the focus while a control could take it.
  virtual TControl* ControlToFocusOnShow();

  // Key presses (virtual-key codes) anywhere in the form are offered here before the focused
  // control sees them; a handler that sets `handled` keeps the key from the control. This is
  // where keys of the whole window live (Escape, F1).
  Event<TObject&, int, bool&> OnShortcut;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

 protected:
  void BeforeShow() override { DoShow(); }

 public:
  TNotifyEvent OnShow;
  Event<TObject&, bool&> OnCloseQuery;

 private:
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  std::uint32_t border_icons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = TPosition::poDesigned;
  TWindowState window_state_ = TWindowState::wsNormal;
  int modal_result_ = 0;
};

class TDataModule : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
  virtual void DoCreate() { OnCreate(*this); }
  TNotifyEvent OnCreate;
};

// Creates a form (or data module) of class F owned by `owner`: constructor, design load
// (through the hook), creation handler. If any step raises, the instance is deleted.
template <class F>
F& CreateForm(TComponent* owner) {
  auto form = std::make_unique<F>(owner);
  if constexpr (std::is_base_of_v<TForm, F>) {
    InitComponentDesign(*form, TForm::StaticClass());
  } else {
    InitComponentDesign(*form, TDataModule::StaticClass());
  }
  form->DoCreate();
  return *form.release();
}

}  // namespace velmora::gui
