#include "ui/sys_tray_win32.h"

#include <shellapi.h>

#include <cstring>

#include "core/text.h"

namespace velmora::ui {
namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraSysTrayWindow";

gui::win32::OwnedMenu MakePopupMenu(const TrayMenu& items) {
  gui::win32::OwnedMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TrayMenuItem& item = items[i];
    if (item.text.empty()) {
      AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu.Get(), MF_STRING, TrayMenuCommand(i), Widen(item.text).c_str());
    if (item.is_default) SetMenuDefaultItem(menu.Get(), TrayMenuCommand(i), FALSE);
  }
  return menu;
}

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
    data.hWnd = owner_.Handle();
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

TSysTray::TSysTray()
    : shell_(std::make_unique<Shell>(*this)),
      logic_(std::make_unique<TrayIconLogic>(*shell_, kIconId,
                                             reinterpret_cast<std::uintptr_t>(ApplicationIcon()))),
      taskbar_created_(RegisterWindowMessageW(L"TaskbarCreated")),
      window_(kWindowClass, [this](UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
        return OnMessage(message, wparam, lparam, result);
      }) {
  logic_->events().open_popup = [this](int x, int y) { OpenPopup(x, y); };
}

TSysTray::~TSysTray() {
  logic_->SetVisible(false);
}

void TSysTray::SetIcon(HICON icon) {
  gui::win32::OwnedIcon copy;
  if (icon) {
    copy.Reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), 0)));
  }
  // The shell is handed the new icon before the old one is destroyed.
  logic_->SetIcon(reinterpret_cast<std::uintptr_t>(copy.Get()));
  own_icon_ = std::move(copy);
}

void TSysTray::OpenPopup(int x, int y) {
  if (!build_popup_menu_) return;
  const TrayMenu items = build_popup_menu_();
  const gui::win32::OwnedMenu menu = MakePopupMenu(items);
  if (!menu) return;
  // A notification-area menu must be owned by the foreground window, or it does not close
  // when the user clicks elsewhere; the null message posted after it makes the next opening
  // work (both as the TrackPopupMenu documentation asks for such menus).
  SetForegroundWindow(Handle());
  const auto command = static_cast<unsigned>(
      TrackPopupMenuEx(menu.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y,
                       Handle(), nullptr));
  PostMessageW(Handle(), WM_NULL, 0, 0);
  // With TPM_RETURNCMD the choice comes back after the menu has closed and left its modal
  // loop, so an entry may open a modal window of its own (the quit question).
  const TrayMenuItem* chosen = ChosenTrayMenuItem(items, command);
  if (chosen && chosen->on_choose) chosen->on_choose();
}

bool TSysTray::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == taskbar_created_ && taskbar_created_ != 0) {
    logic_->ShellRestarted();
    result = 0;
    return true;
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
    result = 0;
    try {
      if (logic_->HandleNotification(static_cast<std::uintptr_t>(wparam),
                                     static_cast<unsigned>(lparam), pointer)) {
        return true;
      }
    } catch (const std::exception& error) {
      if (error_handler_) error_handler_(error);
      return true;
    }
  }
  return false;
}

}  // namespace velmora::ui
