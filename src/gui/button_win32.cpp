// The windows of push buttons, check boxes and option buttons. The check mark is kept by
// the object: the buttons are not "auto" styles, a click asks the object, which answers by
// setting the mark.
#include "gui/button.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class ButtonPeer final : public WindowPeer {
 public:
  explicit ButtonPeer(TButton& button) : WindowPeer(button), button_(button) {
    Create(L"BUTTON", Style(), 0);
  }
  void Changed(Change what) override {
    if (what == Change::kState) {
      SendMessageW(hwnd_, BM_SETSTYLE, Style(), TRUE);
      return;
    }
    WindowPeer::Changed(what);
  }

 private:
  DWORD Style() const {
    return (button_.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
  }
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) button_.Click();
  }
  TButton& button_;
};

// Check boxes and option buttons draw their text on the parent's background.
class MarkPeer : public WindowPeer {
 public:
  using WindowPeer::WindowPeer;

 protected:
  HBRUSH OnCtlColor(HDC dc) override {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(control_.Font().Color()));
    return ParentBrush();
  }
  void ShowMark(bool checked) {
    syncing_ = true;
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    syncing_ = false;
  }
};

class CheckBoxPeer final : public MarkPeer {
 public:
  explicit CheckBoxPeer(TCheckBox& box) : MarkPeer(box), box_(box) {
    Create(L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0);
    ShowMark(box_.Checked());
  }
  void Changed(Change what) override {
    if (what == Change::kState)
      ShowMark(box_.Checked());
    else
      WindowPeer::Changed(what);
  }

 private:
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED && !syncing_) box_.Toggle();
  }
  TCheckBox& box_;
};

class RadioButtonPeer final : public MarkPeer {
 public:
  explicit RadioButtonPeer(TRadioButton& radio) : MarkPeer(radio), radio_(radio) {
    Create(L"BUTTON", BS_RADIOBUTTON, 0);
    ShowMark(radio_.Checked());
  }
  void Changed(Change what) override {
    if (what == Change::kState)
      ShowMark(radio_.Checked());
    else
      WindowPeer::Changed(what);
  }

 private:
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED && !syncing_) {
      if (radio_.Checked())
        radio_.Click();  // a click on the chosen one is still a click
      else
        radio_.SetChecked(true);
    }
  }
  TRadioButton& radio_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeButtonPeer(TControl& c) {
  return std::make_unique<ButtonPeer>(static_cast<TButton&>(c));
}
std::unique_ptr<ControlPeer> MakeCheckBoxPeer(TControl& c) {
  return std::make_unique<CheckBoxPeer>(static_cast<TCheckBox&>(c));
}
std::unique_ptr<ControlPeer> MakeRadioButtonPeer(TControl& c) {
  return std::make_unique<RadioButtonPeer>(static_cast<TRadioButton&>(c));
}

}  // namespace velmora::gui::win32
