// TSysTray: the program's icon in the notification area, with its tooltip and mouse events.
//
// It owns a hidden window to which the shell sends the icon's notifications (message 1323)
// and which also hears the "TaskbarCreated" broadcast: when Explorer restarts, the new
// notification area knows nothing of our icon, so a shown icon is added again. The window is
// a gui::win32::MessageWindow, which is top-level for that reason (message-only windows hear
// no broadcasts).
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "gui/handles_win32.h"
#include "gui/message_window_win32.h"
#include "ui/tray_logic.h"

namespace velmora::ui {

class TSysTray {
 public:
  TSysTray();
  ~TSysTray();  // removes a shown icon
  TSysTray(const TSysTray&) = delete;
  TSysTray& operator=(const TSysTray&) = delete;

  bool Visible() const { return logic_->visible(); }
  void SetVisible(bool visible) { logic_->SetVisible(visible); }

  // A copy of the icon is kept, sized to the small-icon metrics; nullptr shows the
  // application's icon.
  void SetIcon(HICON icon);

  std::string Hint() const { return logic_->hint(); }
  void SetHint(const std::string& hint) { logic_->SetHint(hint); }

  // The menu opened on a right-button press (automatic popup), built by `build` each time
  // just before it opens, so that its texts follow the program's state and language; an
  // empty function opens none. The chosen entry runs once the menu has closed.
  void SetPopupMenu(std::function<TrayMenu()> build) { build_popup_menu_ = std::move(build); }

  TrayEvents& Events() { return logic_->events(); }

  HWND Handle() const { return window_.Handle(); }
  // The shell names an icon by its window and a number (uID), and sends that number back with
  // every notification. Each component has a window of its own, so one fixed number makes
  // the pair unique. Not the component's address: uID is 32 bits wide, and on 64-bit
  // Windows an address cut to 32 bits would never match the notifications again.
  static constexpr UINT kIconId = 1;

  // Errors escaping an event handler go here (the application's error handler); without
  // one they are swallowed so the icon keeps working.
  void SetErrorHandler(std::function<void(const std::exception&)> handler) {
    error_handler_ = std::move(handler);
  }

 private:
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void OpenPopup(int x, int y);

  class Shell;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<TrayIconLogic> logic_;
  gui::win32::OwnedIcon own_icon_;
  std::function<TrayMenu()> build_popup_menu_;
  UINT taskbar_created_ = 0;
  std::function<void(const std::exception&)> error_handler_;
  // Last: the window goes first, while everything its messages reach is still there.
  gui::win32::MessageWindow window_;
};

}  // namespace velmora::ui
