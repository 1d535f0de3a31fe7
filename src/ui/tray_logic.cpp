#include "ui/tray_logic.h"

#include "core/text.h"

namespace velmora::ui {
namespace {

// Mouse messages as the shell reports them in the callback's second parameter.
constexpr unsigned kMouseMove = 0x200, kLButtonDown = 0x201, kLButtonUp = 0x202,
                   kLButtonDblClk = 0x203, kRButtonDown = 0x204, kRButtonUp = 0x205,
                   kRButtonDblClk = 0x206, kMButtonDown = 0x207, kMButtonUp = 0x208,
                   kMButtonDblClk = 0x209;

constexpr std::size_t kTipCapacity = 127;  // 128 units with the terminating zero

ShiftState WithDouble(ShiftState s) {
  s.double_click = true;
  return s;
}

}  // namespace

const TrayMenuItem* ChosenTrayMenuItem(const TrayMenu& menu, unsigned command) {
  if (command == 0 || command > menu.size()) return nullptr;
  const TrayMenuItem& item = menu[command - 1];
  return item.text.empty() ? nullptr : &item;
}

TrayIconLogic::TrayIconLogic(TrayShell& shell, unsigned id, std::uintptr_t application_icon)
    : shell_(shell), application_icon_(application_icon) {
  record_.id = id;
  record_.icon = application_icon;
}

void TrayIconLogic::SetVisible(bool visible) {
  if (visible != visible_) {
    if (visible) {
      record_.icon = own_icon_ ? own_icon_ : application_icon_;
      shell_.Send(TrayCommand::Add, record_);
    } else {
      shell_.Send(TrayCommand::Delete, record_);
    }
  }
  visible_ = visible;
}

void TrayIconLogic::SetIcon(std::uintptr_t icon) {
  own_icon_ = icon;
  record_.icon = own_icon_ ? own_icon_ : application_icon_;
  shell_.Send(TrayCommand::Modify, record_);
}

std::string TrayIconLogic::hint() const {
  std::u16string_view tip = record_.tip;
  // The tooltip as read back is at most 63 characters, though up to 127 are kept and shown.
  if (tip.size() > kMaxHintCharacters) tip = tip.substr(0, kMaxHintCharacters);
  return Utf16ToUtf8(tip);
}

void TrayIconLogic::SetHint(std::string_view hint) {
  if (hint == this->hint()) return;
  std::u16string tip = Utf8ToUtf16(hint);
  if (tip.size() > kTipCapacity) {
    tip.resize(kTipCapacity);
    // Never leave half of a surrogate pair at the end.
    if (!tip.empty() && tip.back() >= 0xD800 && tip.back() <= 0xDBFF) tip.pop_back();
  }
  record_.tip = std::move(tip);
  shell_.Send(TrayCommand::Modify, record_);
}

void TrayIconLogic::ShellRestarted() {
  if (visible_) shell_.Send(TrayCommand::Add, record_);
}

bool TrayIconLogic::HandleNotification(std::uintptr_t id, unsigned activity,
                                       const PointerState& pointer) {
  if (id != record_.id) return false;
  const int x = pointer.x, y = pointer.y;
  const ShiftState keys = pointer.keys;
  const auto down = [&](MouseButton b, ShiftState s) {
    if (events_.on_mouse_down) events_.on_mouse_down(b, s, x, y);
  };
  const auto up = [&](MouseButton b) {
    if (events_.on_mouse_up) events_.on_mouse_up(b, keys, x, y);
  };
  switch (activity) {
    case kMouseMove:
      if (events_.on_mouse_move) events_.on_mouse_move(keys, x, y);
      break;
    case kLButtonDown:
      down(MouseButton::Left, keys);
      break;
    case kLButtonUp:
      // Every release of the left button is a click, those of a double-click included.
      if (events_.on_click) events_.on_click();
      up(MouseButton::Left);
      break;
    case kLButtonDblClk:
      if (events_.on_dbl_click) events_.on_dbl_click();
      down(MouseButton::Left, WithDouble(keys));
      break;
    case kRButtonDown:
      down(MouseButton::Right, keys);
      if (events_.open_popup) events_.open_popup(x, y);
      break;
    case kRButtonUp:
      up(MouseButton::Right);
      break;
    case kRButtonDblClk:
      down(MouseButton::Right, WithDouble(keys));
      break;
    case kMButtonDown:
      down(MouseButton::Middle, keys);
      break;
    case kMButtonUp:
      up(MouseButton::Middle);
      break;
    case kMButtonDblClk:
      down(MouseButton::Middle, WithDouble(keys));
      break;
    default:
      break;
  }
  return true;
}

}  // namespace velmora::ui
