#include "ui/sys_tray_win32.h"

#include <shellapi.h>

#include <cstring>

namespace velmora::ui {
namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraSysTrayWindow";

HICON ApplicationIcon() {
  // The first icon resource of the executable; the system's default application icon when
  // the program has none.
  static const HICON icon = [] {
    HICON own = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    return own ? own : LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */);
  }();
  return icon;
}

}  // namespace

// Hands the record to Shell_NotifyIconW. The record is the shell-5.0 layout (balloon fields
// included), which every shell from Windows 2000 on accepts. Results are not examined:
// a refused change leaves the component's own state as set.
class TSysTray::Shell final : public TrayShell {
 public:
  explicit Shell(TSysTray& owner) : owner_(owner) {}
  void Send(TrayCommand command, const TrayRecord& record) override {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = owner_.window_;
    data.uID = record.id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayIconLogic::kCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.icon);
    const std::size_t units = std::min(record.tip.size(), std::size(data.szTip) - 1);
    std::memcpy(data.szTip, record.tip.data(), units * sizeof(wchar_t));
    const DWORD message = command == TrayCommand::Add      ? NIM_ADD
                          : command == TrayCommand::Modify ? NIM_MODIFY
                                                           : NIM_DELETE;
    Shell_NotifyIconW(message, &data);
  }

 private:
  TSysTray& owner_;
};

TSysTray::TSysTray() : shell_(std::make_unique<Shell>(*this)) {
  logic_ = std::make_unique<TrayIconLogic>(*shell_, kIconId,
                                           reinterpret_cast<std::uintptr_t>(ApplicationIcon()));
  logic_->events().open_popup = [this](int x, int y) { OpenPopup(x, y); };

  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TSysTray::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  // A top-level (not message-only) window: message-only windows do not receive broadcasts,
  // and "TaskbarCreated" is one.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
}

TSysTray::~TSysTray() {
  logic_->SetVisible(false);
  if (window_) DestroyWindow(window_);
  if (own_icon_) DestroyIcon(own_icon_);
}

void TSysTray::SetIcon(HICON icon) {
  HICON copy = nullptr;
  if (icon) {
    copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), 0));
  }
  logic_->SetIcon(reinterpret_cast<std::uintptr_t>(copy));
  if (own_icon_) DestroyIcon(own_icon_);
  own_icon_ = copy;
}

void TSysTray::OpenPopup(int x, int y) {
  if (!popup_menu_) return;
  // The owner must be the foreground window, or the menu does not close when the user
  // clicks elsewhere.
  SetForegroundWindow(window_);
  TrackPopupMenuEx(popup_menu_, TPM_RIGHTBUTTON, x, y, window_, nullptr);
  PostMessageW(window_, WM_NULL, 0, 0);
}

LRESULT CALLBACK TSysTray::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TSysTray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && self->window_ == hwnd) return self->OnMessage(message, wparam, lparam);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT TSysTray::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == taskbar_created_ && taskbar_created_ != 0) {
    logic_->ShellRestarted();
    return 0;
  }
  if (message == TrayIconLogic::kCallbackMessage) {
    POINT cursor{};
    GetCursorPos(&cursor);
    PointerState pointer;
    pointer.x = cursor.x;
    pointer.y = cursor.y;
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    pointer.keys.shift = down(VK_SHIFT);
    pointer.keys.ctrl = down(VK_CONTROL);
    pointer.keys.alt = down(VK_MENU);
    pointer.keys.left = down(VK_LBUTTON);
    pointer.keys.right = down(VK_RBUTTON);
    pointer.keys.middle = down(VK_MBUTTON);
    try {
      if (logic_->HandleNotification(static_cast<std::uintptr_t>(wparam),
                                     static_cast<unsigned>(lparam), pointer)) {
        return 0;
      }
    } catch (const std::exception& error) {
      if (error_handler_) error_handler_(error);
      return 0;
    }
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace velmora::ui
