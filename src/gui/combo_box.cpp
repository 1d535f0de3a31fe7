#include "gui/combo_box.h"

namespace velmora::gui {

const ClassInfo& TComboBox::StaticClass() {
  using C = TComboBox;
  static const ClassInfo info = MakeClass<C>(
      "TComboBox", TWinControl::StaticClass(),
      {props::Enum<C, TComboBoxStyle>(
           "Style", "TComboBoxStyle",
           {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"},
           &C::Style, &C::SetStyle),
       props::Boolean<C>("Sorted", &C::Sorted, &C::SetSorted),
       props::Integer<C>("ItemIndex", &C::ItemIndex, &C::SetItemIndex),
       props::Object<C>("Items", "TStrings", [](C& c) -> TPersistent* { return &c.Items(); }),
       props::Event("OnChange")});
  return info;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  items_.SetCompare(
      [](const std::string& a, const std::string& b) { return Platform().CollateText(a, b); });
  items_.SetOnChange([this] {
    if (item_index_ >= items_.Count()) item_index_ = -1;
    Changed(Change::kItems);
  });
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  if (HandleAllocated()) {
    // The style is fixed when the window is made, so the window is made again.
    DestroyHandle();
    Handle();
  }
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_.Count()) index = -1;
  if (index == item_index_) return;
  item_index_ = index;
  Changed(Change::kState);
}

std::string TComboBox::SelectedValue() const {
  return item_index_ >= 0 ? items_.Value(item_index_) : std::string();
}

void TComboBox::SelectByUser(int index) {
  SetItemIndex(index);
  OnChange(*this);
}

}  // namespace velmora::gui
