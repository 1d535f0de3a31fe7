// The notification-area icon's behaviour, apart from the shell and the window system, so
// it can be checked without either: which shell command each change sends, how the tooltip
// is kept, and which events each mouse notification raises, in which order.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::ui {

enum class TrayCommand { Add, Modify, Delete };

// What the shell is handed; the Win32 side turns it into NOTIFYICONDATAW.
struct TrayRecord {
  unsigned id = 0;              // the icon's number among its window's icons (the shell's uID)
  std::uintptr_t icon = 0;      // icon handle shown
  std::u16string tip;           // at most 127 UTF-16 units
};

class TrayShell {
 public:
  virtual ~TrayShell() = default;
  virtual void Send(TrayCommand command, const TrayRecord& record) = 0;
};

enum class MouseButton { Left, Right, Middle };

// Shift state of a mouse event; `double_click` marks the press that belongs to a double-click.
struct ShiftState {
  bool shift = false, alt = false, ctrl = false;
  bool left = false, right = false, middle = false;
  bool double_click = false;
};

struct TrayEvents {
  std::function<void(MouseButton, ShiftState, int x, int y)> on_mouse_down;
  std::function<void(ShiftState, int x, int y)> on_mouse_move;
  std::function<void(MouseButton, ShiftState, int x, int y)> on_mouse_up;
  std::function<void()> on_click;
  std::function<void()> on_dbl_click;
  // Opens the popup menu at the cursor (automatic popup, on a right-button press).
  std::function<void(int x, int y)> open_popup;
};

// One entry of the icon's popup menu; an entry without text is a separator.
struct TrayMenuItem {
  std::string text;         // UTF-8
  bool is_default = false;  // shown in bold, as the entry a click on the icon stands for
  std::function<void()> on_choose;
};
using TrayMenu = std::vector<TrayMenuItem>;

// The command number of the entry at `index`: the window system reports the choice by that
// number, and 0 means nothing was chosen, so the numbers start at 1.
constexpr unsigned TrayMenuCommand(std::size_t index) { return static_cast<unsigned>(index) + 1; }
// The entry that `command` chose, or null: nothing chosen, a number of no entry, a separator.
const TrayMenuItem* ChosenTrayMenuItem(const TrayMenu& menu, unsigned command);

// Where the mouse is and which keys are down when a notification arrives (the callback
// message carries no position).
struct PointerState {
  int x = 0, y = 0;
  ShiftState keys;
};

class TrayIconLogic {
 public:
  // The callback message the shell sends with mouse activity (WM_USER + 299).
  static constexpr unsigned kCallbackMessage = 1323;
  static constexpr std::size_t kMaxHintCharacters = 63;

  TrayIconLogic(TrayShell& shell, unsigned id, std::uintptr_t application_icon);

  bool visible() const { return visible_; }
  // Adds the icon on false -> true, removes it on true -> false; the same value sends nothing.
  void SetVisible(bool visible);

  // Own icon handle, 0 for none (the application's icon is shown instead). Always sends an
  // update, shown or not.
  void SetIcon(std::uintptr_t icon);

  std::string hint() const;
  // Tooltip text (UTF-8); the same text as now sends nothing.
  void SetHint(std::string_view hint);

  // The shell has been restarted (the "TaskbarCreated" broadcast): a shown icon is added again,
  // since the new notification area knows nothing of it.
  void ShellRestarted();

  // One notification of the callback message: `id` is its first parameter (the icon's uID,
  // widened to the parameter's size), `activity` the mouse message in its second. Returns
  // false when it is not this icon's.
  bool HandleNotification(std::uintptr_t id, unsigned activity, const PointerState& pointer);

  TrayEvents& events() { return events_; }
  const TrayRecord& record() const { return record_; }

 private:
  TrayShell& shell_;
  TrayRecord record_;
  std::uintptr_t application_icon_;
  std::uintptr_t own_icon_ = 0;
  bool visible_ = false;
  TrayEvents events_;
};

}  // namespace velmora::ui
