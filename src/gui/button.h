// Push buttons, check boxes and option buttons.
//
// The check mark is the object's state: a click toggles it through SetChecked, and setting
// Checked (by code or by the user) raises OnClick when the state changes, as the settings
// page relies on ("a change of the check box's state made by SyncSettingsPage").
#pragma once

#include "gui/control.h"

namespace velmora::gui {

class TButton : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Set on the parent form when the button is clicked (closes a modal form).
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }
  bool HandlesEnterKey() const override { return true; }
  void Click() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modal_result_ = 0;
};

class TCheckBox : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TCheckBox(TComponent* owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // What the user's click does: toggles the mark (raising OnClick).
  void Toggle() { SetChecked(!checked_); }
  bool HandlesEnterKey() const override { return true; }

 private:
  bool checked_ = false;
};

class TRadioButton : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return checked_; }
  // Checking one unchecks the option buttons that share its parent, then raises OnClick.
  void SetChecked(bool checked);
  bool HandlesEnterKey() const override { return true; }
  // Tab enters a group of option buttons at its checked one; the arrow keys move within it.
  bool IsTabStop() const override { return checked_; }

 private:
  bool checked_ = false;
};

}  // namespace velmora::gui
