// The window of a drop-down list. The object keeps the lines (sorted by the user locale's
// collation) and their values; the window shows the lines in the object's order, so it is
// made without CBS_SORT.
#include <windows.h>

#include <commctrl.h>

#include "core/text.h"
#include "gui/combo_box.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class ComboBoxPeer final : public WindowPeer {
 public:
  explicit ComboBoxPeer(TComboBox& combo) : WindowPeer(combo), combo_(combo) {
    const DWORD kind = combo_.Style() == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST
                       : combo_.Style() == TComboBoxStyle::csSimple     ? CBS_SIMPLE
                                                                        : CBS_DROPDOWN;
    Create(WC_COMBOBOXW, kind | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL, 0);
    Fill();
  }

  void Changed(Change what) override {
    if (what == Change::kItems)
      Fill();
    else if (what == Change::kState)
      Select();
    else
      WindowPeer::Changed(what);
  }

 private:
  // The window's height includes the dropped-down list.
  void ApplyBounds() override {
    const Rect b = control_.Bounds();
    SetWindowPos(hwnd_, nullptr, Scale(b.left), Scale(b.top), Scale(b.width), Scale(b.height + 200),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void Fill() {
    syncing_ = true;
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < combo_.Items().Count(); ++i) {
      SendMessageW(hwnd_, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(Widen(combo_.Items()[i]).c_str()));
    }
    syncing_ = false;
    Select();
  }

  void Select() {
    syncing_ = true;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
    syncing_ = false;
  }

  void OnCommand(WORD code) override {
    if (code == CBN_SELCHANGE && !syncing_) {
      combo_.SelectByUser(static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)));
    }
  }

  TComboBox& combo_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeComboBoxPeer(TControl& c) {
  return std::make_unique<ComboBoxPeer>(static_cast<TComboBox&>(c));
}

}  // namespace velmora::gui::win32
