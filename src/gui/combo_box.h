// TComboBox: a drop-down list whose lines may each carry a value (a file path).
//
// OnChange is raised for the user's choice only (SelectByUser); setting ItemIndex from code
// is not a change, as the language list requires.
#pragma once

#include "gui/control.h"
#include "gui/strings.h"

namespace velmora::gui {

enum class TComboBoxStyle {
  csDropDown,
  csSimple,
  csDropDownList,
  csOwnerDrawFixed,
  csOwnerDrawVariable
};

class TComboBox : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TComboBox(TComponent* owner);
  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  // Sorted lists order their lines by the user locale's collation.
  bool Sorted() const { return items_.Sorted(); }
  void SetSorted(bool sorted) { items_.SetSorted(sorted); }
  // -1 when nothing is selected; an index outside the list selects nothing.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  // The value carried by the selected line; empty when nothing is selected.
  std::string SelectedValue() const;
  // The user chose line `index`: select it and raise OnChange.
  void SelectByUser(int index);

  TNotifyEvent OnChange;

 private:
  TStringList items_;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int item_index_ = -1;
};

}  // namespace velmora::gui
