#include "gui/button.h"

#include "gui/form.h"

namespace velmora::gui {

const ClassInfo& TButton::StaticClass() {
  using C = TButton;
  static const ClassInfo info =
      MakeClass<C>("TButton", TWinControl::StaticClass(),
                   {props::Boolean<C>("Default", &C::Default, &C::SetDefault),
                    props::Boolean<C>("Cancel", &C::Cancel, &C::SetCancel),
                    props::Integer<C>("ModalResult", &C::ModalResult, &C::SetModalResult)});
  return info;
}

const ClassInfo& TCheckBox::StaticClass() {
  using C = TCheckBox;
  static const ClassInfo info =
      MakeClass<C>("TCheckBox", TWinControl::StaticClass(),
                   {props::Boolean<C>("Checked", &C::Checked, &C::SetChecked)});
  return info;
}

const ClassInfo& TRadioButton::StaticClass() {
  using C = TRadioButton;
  static const ClassInfo info =
      MakeClass<C>("TRadioButton", TWinControl::StaticClass(),
                   {props::Boolean<C>("Checked", &C::Checked, &C::SetChecked)});
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed(Change::kState);
}

void TButton::Click() {
  if (modal_result_ != 0) {
    for (TWinControl* p = Parent(); p; p = p->Parent()) {
      if (auto* form = dynamic_cast<TForm*>(p)) {
        form->SetModalResult(modal_result_);
        break;
      }
    }
  }
  TWinControl::Click();
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Change::kState);
  Click();
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Change::kState);
  if (!checked_) return;
  if (TWinControl* parent = Parent()) {
    for (TControl* sibling : parent->Controls()) {
      if (sibling != this && sibling->Is<TRadioButton>()) {
        static_cast<TRadioButton*>(sibling)->SetChecked(false);
      }
    }
  }
  Click();
}

}  // namespace velmora::gui
