#include "gui/message_window_win32.h"

#include <utility>

namespace velmora::gui::win32 {

DWORD MessageWindow::RegisterClassOnce(const wchar_t* window_class) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW found{};
  found.cbSize = sizeof(found);
  if (!GetClassInfoExW(instance, window_class, &found)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MessageWindow::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = window_class;
    if (RegisterClassExW(&wc)) return 0;
    // Another thread may have registered it in between; then it is looked at as below.
    const DWORD error = GetLastError();
    if (error != ERROR_CLASS_ALREADY_EXISTS || !GetClassInfoExW(instance, window_class, &found)) {
      return error;
    }
  }
  return found.lpfnWndProc == &MessageWindow::WindowProc ? 0 : ERROR_CLASS_ALREADY_EXISTS;
}

MessageWindow::MessageWindow(const wchar_t* window_class, Handler handler)
    : handler_(std::move(handler)) {
  error_ = RegisterClassOnce(window_class);
  if (error_ != 0) return;
  // WM_NCCREATE binds the window to this object, so that even the messages of the creation
  // reach the handler.
  if (!CreateWindowExW(WS_EX_TOOLWINDOW, window_class, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                       GetModuleHandleW(nullptr), this)) {
    error_ = GetLastError();
  }
}

MessageWindow::~MessageWindow() {
  Destroy();
}

MessageWindow::MessageWindow(MessageWindow&& other) noexcept
    : hwnd_(std::exchange(other.hwnd_, nullptr)),
      handler_(std::move(other.handler_)),
      error_(other.error_) {
  Bind();
}

MessageWindow& MessageWindow::operator=(MessageWindow&& other) noexcept {
  if (this != &other) {
    Destroy();
    hwnd_ = std::exchange(other.hwnd_, nullptr);
    handler_ = std::move(other.handler_);
    error_ = other.error_;
    Bind();
  }
  return *this;
}

void MessageWindow::Bind() {
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void MessageWindow::Destroy() {
  if (!hwnd_) return;
  // WM_NCDESTROY clears hwnd_. Only the window's own thread may destroy it; from any other
  // the window stays, and is cut loose so that it never calls into this object again.
  if (!DestroyWindow(hwnd_) && hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
  }
}

LRESULT CALLBACK MessageWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<MessageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    self->Bind();
  }
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  const bool handled = self && self->handler_ && self->handler_(message, wparam, lparam, result);
  if (message == WM_NCDESTROY && self) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return handled ? result : DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace velmora::gui::win32
