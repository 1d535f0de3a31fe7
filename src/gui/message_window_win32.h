// A hidden window that exists only to receive messages: the application window that carries
// the timers, the tray icon's window that the shell notifies, the single-instance guard's
// window that the other copies talk to.
//
// It is a top-level WS_POPUP window with WS_EX_TOOLWINDOW, never shown, and deliberately not
// a message-only window (parent HWND_MESSAGE): message-only windows receive no broadcasts
// (the tray needs "TaskbarCreated") and EnumWindows does not list them (other copies of the
// program find these windows by enumerating top-level windows and comparing class names).
// Each user names its window class, so those names stay what the other copies look for; a
// class is registered the first time a window of it is made.
#pragma once

#include <windows.h>

#include <functional>

namespace velmora::gui::win32 {

class MessageWindow {
 public:
  // Answers one message: true when it was handled, with the answer in `result`; false passes
  // it to the default window procedure. It must not let an exception out: exceptions cannot
  // cross the window procedure, which the system calls.
  using Handler = std::function<bool(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result)>;

  // No window.
  MessageWindow() = default;
  // Makes the window, of the class `window_class`. When it cannot be made, Handle() is null
  // and Error() says why; a class of that name registered by other code (with another window
  // procedure) is refused, since its windows would never reach the handler.
  MessageWindow(const wchar_t* window_class, Handler handler);
  ~MessageWindow();

  // Move-only: the window is bound to the object that holds it, and moving binds it anew.
  MessageWindow(MessageWindow&& other) noexcept;
  MessageWindow& operator=(MessageWindow&& other) noexcept;
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  // Null when there is no window (never made, or destroyed).
  HWND Handle() const { return hwnd_; }
  // The system's error code of a failed creation; 0 after a successful one.
  DWORD Error() const { return error_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static DWORD RegisterClassOnce(const wchar_t* window_class);
  void Bind();
  void Destroy();

  HWND hwnd_ = nullptr;
  Handler handler_;
  DWORD error_ = 0;
};

}  // namespace velmora::gui::win32
