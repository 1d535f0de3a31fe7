#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <map>

#include "core/text.h"
#include "gui/application.h"
#include "gui/bevel.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/combo_box.h"
#include "gui/image.h"
#include "gui/link_label.h"
#include "gui/list_view.h"
#include "gui/message_window_win32.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/peers_win32.h"
#include "gui/spin_edit.h"
#include "gui/win32.h"
#include "gui/window_win32.h"

namespace velmora::gui {
namespace {

using win32::WindowPeer;

constexpr const wchar_t* kApplicationClass = win32::kApplicationWindowClass;

struct PeerMaker {
  const ClassInfo& cls;
  std::unique_ptr<ControlPeer> (*make)(TControl&);
};

struct DestroyImageList {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

class ImageListStore final : public ImageStore {
 public:
  ImageListStore(int width, int height)
      : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}
  void AddIcon(std::uintptr_t icon) override {
    ImageList_AddIcon(list_.Get(), reinterpret_cast<HICON>(icon));
  }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(list_.Get()); }

 private:
  UniqueHandle<HIMAGELIST, DestroyImageList> list_;
};

struct FreeGlobal {
  void operator()(void* memory) const { GlobalFree(memory); }
};

// The clipboard, open for the guard's lifetime: while one window has it open no other
// program can read or write it, so it is closed on every path.
class OpenClipboardGuard {
 public:
  explicit OpenClipboardGuard(HWND owner) {
    // Another program may hold it for a moment (a clipboard viewer reading our last copy).
    for (int attempt = 0; attempt < 10 && !opened_; ++attempt) {
      opened_ = OpenClipboard(owner) != FALSE;
      if (!opened_) Sleep(10);
    }
  }
  ~OpenClipboardGuard() {
    if (opened_) CloseClipboard();
  }
  OpenClipboardGuard(const OpenClipboardGuard&) = delete;
  OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
  bool Opened() const { return opened_; }

 private:
  bool opened_ = false;
};

class Win32Platform final : public GuiPlatform {
 public:
  std::unique_ptr<ControlPeer> CreatePeer(TControl& control) override {
    return win32::CreatePeerFor(control);
  }

  int ShowMessageBox(std::string_view text, std::string_view caption, unsigned flags) override {
    return ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), flags);
  }

  std::unique_ptr<Timer> StartTimer(unsigned interval_ms, std::function<void()> tick) override {
    const UINT_PTR id = next_timer_++;
    timers_[id] = std::move(tick);
    SetTimer(AppWindow(), id, interval_ms, nullptr);
    struct Running final : Timer {
      Win32Platform* platform;
      UINT_PTR id;
      ~Running() override {
        KillTimer(platform->AppWindow(), id);
        platform->timers_.erase(id);
      }
    };
    auto running = std::make_unique<Running>();
    running->platform = this;
    running->id = id;
    return running;
  }

  void RunMessageLoop(TApplication& application) override {
    MSG msg;
    while (!application.Terminated() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      Pump(msg);
    }
  }

  void Quit() override { PostMessageW(AppWindow(), WM_NULL, 0, 0); }

  void RunModal(TForm& form) override {
    // The other forms wait while the modal one is open, as a modal dialog's owner does.
    std::vector<HWND> disabled;
    if (TApplication* app = Application()) {
      for (TForm* other : app->Forms()) {
        if (other != &form && other->HandleAllocated() && other->Visible()) {
          HWND h = reinterpret_cast<HWND>(other->Handle());
          if (IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
          }
        }
      }
    }
    MSG msg;
    while (form.ModalResult() == 0 && form.Visible() &&
           !(Application() && Application()->Terminated()) &&
           GetMessageW(&msg, nullptr, 0, 0) > 0) {
      Pump(msg);
    }
    for (HWND h : disabled) EnableWindow(h, TRUE);
  }

  std::uintptr_t ApplicationWindow() override {
    return reinterpret_cast<std::uintptr_t>(AppWindow());
  }

  std::unique_ptr<ImageStore> CreateImageStore(int width, int height) override {
    return std::make_unique<ImageListStore>(width, height);
  }

  int CollateText(std::string_view a, std::string_view b) override {
    const std::wstring wa = Widen(a), wb = Widen(b);
    const int r = CompareStringW(LOCALE_USER_DEFAULT, 0, wa.c_str(), static_cast<int>(wa.size()),
                                 wb.c_str(), static_cast<int>(wb.size()));
    if (r == 0) return a.compare(b);
    return r - CSTR_EQUAL;
  }

  void OpenInShell(std::string_view target) override {
    // The result is not examined: a target that cannot be opened shows nothing of ours.
    ShellExecuteW(nullptr, L"open", Widen(target).c_str(), L"", L"", SW_SHOW);
  }

  bool SetClipboardText(std::string_view text) override {
    const std::wstring wide = Widen(text);
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    std::unique_ptr<void, FreeGlobal> memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    void* locked = GlobalLock(memory.get());
    if (!locked) return false;
    std::memcpy(locked, wide.c_str(), bytes);
    GlobalUnlock(memory.get());
    // An owner window is needed: after EmptyClipboard with no owner SetClipboardData fails.
    const OpenClipboardGuard clipboard(AppWindow());
    if (!clipboard.Opened() || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the system owns the memory once SetClipboardData took it
    return true;
  }

  HWND AppWindow() {
    if (!app_window_.Handle()) {
      // Hidden and without a caption: the main form carries the program's taskbar button.
      app_window_ = win32::MessageWindow(
          kApplicationClass, [this](UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
            if (message != WM_TIMER) return false;
            Tick(wparam);
            result = 0;
            return true;
          });
    }
    return app_window_.Handle();
  }

 private:
  static void Pump(MSG& msg) {
    if (win32::HandleNavigationKey(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  void Tick(UINT_PTR id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
      // A copy: the handler may stop (and so erase) its own timer.
      const std::function<void()> tick = it->second;
      tick();
    }
  }

 public:
  static Win32Platform& Instance() {
    static Win32Platform platform;
    return platform;
  }

 private:
  std::map<UINT_PTR, std::function<void()>> timers_;
  UINT_PTR next_timer_ = 1;
  win32::MessageWindow app_window_;  // last: goes first, while the timers it calls exist
};

void EnableDpiAwareness() {
  // Per-monitor v2 where the system has it (Windows 10 1703+), else system awareness. The
  // manifest says the same; this covers executables without one (tests, tools).
  using SetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto set_context = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (set_context && set_context(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)))) return;
  SetProcessDPIAware();
}

}  // namespace

void UseWin32Platform() {
  static const bool installed = [] {
    EnableDpiAwareness();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    SetPlatform(&Win32Platform::Instance());
    return true;
  }();
  (void)installed;
}

int ScreenDpi() {
  const win32::WindowDc screen;
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

TControl* ControlFromHandle(HWND hwnd) {
  WindowPeer* peer = WindowPeer::FromHandle(hwnd);
  return peer ? &peer->Control() : nullptr;
}

win32::GdiObject<HBITMAP> RenderToBitmap(TControl& control) {
  HWND hwnd = reinterpret_cast<HWND>(control.Handle());
  if (!hwnd) return {};
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  BITMAPINFO bi{};
  bi.bmiHeader = win32::DibHeader(width, -height, 32);
  void* bits = nullptr;
  const win32::WindowDc screen;
  win32::GdiObject<HBITMAP> bitmap(
      CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) {
    const win32::MemoryDc capture(screen.Get(), bitmap.Get());
    // What the display shows of the window, frame included, so the window must be shown
    // and uncovered. PrintWindow would not need that, but Wine's draws no child windows.
    BitBlt(capture.Get(), 0, 0, width, height, screen.Get(), rc.left, rc.top, SRCCOPY);
  }
  return bitmap;
}

namespace win32 {

std::unique_ptr<ControlPeer> CreatePeerFor(TControl& control) {
  // Most derived first: the first class in this list that the control inherits from wins.
  static const PeerMaker makers[] = {
      {TForm::StaticClass(), &MakeFormPeer},
      {TLinkLabel::StaticClass(), &MakeLinkLabelPeer},
      {TLabel::StaticClass(), &MakeLabelPeer},
      {TButton::StaticClass(), &MakeButtonPeer},
      {TCheckBox::StaticClass(), &MakeCheckBoxPeer},
      {TRadioButton::StaticClass(), &MakeRadioButtonPeer},
      {TComboBox::StaticClass(), &MakeComboBoxPeer},
      {TSpinEdit::StaticClass(), &MakeSpinEditPeer},
      {TListView::StaticClass(), &MakeListViewPeer},
      {TNavBar::StaticClass(), &MakeNavBarPeer},
      {TBevel::StaticClass(), &MakeBevelPeer},
      {TImage::StaticClass(), &MakeImagePeer},
      {TChart::StaticClass(), &MakeChartPeer},
      {TGroupBox::StaticClass(), &MakeGroupBoxPeer},
      {TPanel::StaticClass(), &MakePanelPeer},
  };
  for (const PeerMaker& m : makers) {
    if (control.InheritsFrom(m.cls)) return m.make(control);
  }
  return nullptr;
}

}  // namespace win32
}  // namespace velmora::gui
