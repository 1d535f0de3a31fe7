#include "gui/window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"
#include "gui/application.h"
#include "gui/button.h"
#include "gui/enter_as_tab.h"
#include "gui/form.h"
#include "gui/win32.h"

namespace velmora::gui::win32 {
namespace {

constexpr wchar_t kPeerProperty[] = L"VelmoraPeer";
constexpr wchar_t kOwnClass[] = L"VelmoraControl";

// GetDpiForWindow exists from Windows 10 1607 on; before, all windows have the system dpi.
int WindowDpi(HWND hwnd) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = get_dpi ? get_dpi(hwnd) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

}  // namespace

HWND ParentHwnd(const TControl& control) {
  TWinControl* parent = control.Parent();
  return parent && parent->Peer() ? reinterpret_cast<HWND>(parent->Peer()->Handle()) : nullptr;
}

WindowPeer* WindowPeer::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<WindowPeer*>(GetPropW(hwnd, kPeerProperty)) : nullptr;
}

WindowPeer::~WindowPeer() {
  if (hwnd_) {
    HWND hwnd = hwnd_;
    DestroyWindow(hwnd);  // WM_NCDESTROY clears hwnd_ and the binding
  }
}

void WindowPeer::Adopt(HWND hwnd) {
  SetPropW(hwnd, kPeerProperty, this);
}

void WindowPeer::Create(const wchar_t* window_class, DWORD style, DWORD ex_style) {
  static const ATOM own_class = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &WindowPeer::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.lpszClassName = kOwnClass;
    return RegisterClassExW(&wc);
  }();
  (void)own_class;
  HWND parent = ParentHwnd(control_);
  if (parent) style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (control_.Visible() && parent) style |= WS_VISIBLE;
  dpi_ = ScreenDpi();
  const Rect b = control_.Bounds();
  const std::wstring text = Widen(control_.Caption());
  hwnd_ = CreateWindowExW(ex_style, window_class ? window_class : kOwnClass, text.c_str(), style,
                          Scale(b.left), Scale(b.top), Scale(b.width), Scale(b.height), parent,
                          nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    throw EGuiError("the window of '" + control_.Name() + "' could not be created (error " +
                    std::to_string(GetLastError()) + ")");
  }
  if (window_class) {
    SetPropW(hwnd_, kPeerProperty, this);
    SetWindowSubclass(hwnd_, &WindowPeer::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    subclassed_ = true;
  }
  // The monitor the window landed on decides (per-monitor awareness); the window was made
  // at the primary screen's dpi.
  dpi_ = WindowDpi(hwnd_);
  ApplyFont();
  ApplyBounds();
  // Later children lie on top of earlier ones, as the control's child order says.
  if (parent) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowPeer::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  ApplyFont();
  ApplyBounds();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void WindowPeer::ApplyBounds() {
  const Rect b = control_.Bounds();
  SetWindowPos(hwnd_, nullptr, Scale(b.left), Scale(b.top), Scale(b.width), Scale(b.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeer::ApplyFont() {
  const TFont& f = control_.Font();
  font_ = CreateGdiFont(f, Scale(f.Height()));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

HBRUSH WindowPeer::BackgroundBrush() {
  if (!background_.Get() || background_color_ != control_.Color()) {
    background_color_ = control_.Color();
    background_.Reset(CreateSolidBrush(ToColorRef(background_color_)));
  }
  return background_.Get();
}

HBRUSH WindowPeer::ParentBrush() {
  TWinControl* parent = control_.Parent();
  if (parent && parent->Peer()) return static_cast<WindowPeer*>(parent->Peer())->BackgroundBrush();
  return GetSysColorBrush(COLOR_BTNFACE);
}

void WindowPeer::Changed(Change what) {
  if (!hwnd_) return;
  syncing_ = true;
  switch (what) {
    case Change::kBounds:
      ApplyBounds();
      break;
    case Change::kText:
      SetWindowTextW(hwnd_, Widen(control_.Caption()).c_str());
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case Change::kVisible:
      ShowWindow(hwnd_, control_.Visible() ? (GetParent(hwnd_) ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
      break;
    case Change::kEnabled:
      EnableWindow(hwnd_, control_.Enabled());
      break;
    case Change::kFont:
      ApplyFont();
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case Change::kZOrder:
      SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case Change::kFocus:
      SetFocus(hwnd_);
      break;
    default:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
  }
  syncing_ = false;
}

HBRUSH WindowPeer::OnCtlColor(HDC dc) {
  return nullptr;
}

bool WindowPeer::Reflect(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (WindowPeer* child = FromHandle(reinterpret_cast<HWND>(lparam)); child && lparam) {
        child->OnCommand(HIWORD(wparam));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (WindowPeer* child = FromHandle(header->hwndFrom); child && child != this) {
        result = child->OnNotify(*header);
        return true;
      }
      return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (WindowPeer* child = FromHandle(reinterpret_cast<HWND>(lparam))) {
        if (HBRUSH brush = child->OnCtlColor(reinterpret_cast<HDC>(wparam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

bool WindowPeer::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_KEYUP:
      control_.KeyUp(static_cast<int>(wparam));
      return false;
    case WM_ERASEBKGND:
      if (subclassed_) return false;
      if (!PaintsItself()) {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wparam), &rc, BackgroundBrush());
      }
      result = 1;
      return true;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (subclassed_) return false;
      RECT rc;
      GetClientRect(hwnd_, &rc);
      if (message == WM_PRINTCLIENT) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        if (!PaintsItself()) FillRect(dc, &rc, BackgroundBrush());
        OnPaint(dc, rc);
      } else {
        PaintDc dc(hwnd_);
        OnPaint(dc.Get(), rc);
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

LRESULT WindowPeer::Dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                             bool subclassed) {
  LRESULT result = 0;
  bool handled = false;
  DispatchGuarded([&] {
    handled =
        Reflect(message, wparam, lparam, result) || OnMessage(message, wparam, lparam, result);
  });
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kPeerProperty);
    if (subclassed) RemoveWindowSubclass(hwnd, &WindowPeer::SubclassProc, 1);
    hwnd_ = nullptr;
  }
  if (handled) return result;
  return subclassed ? DefSubclassProc(hwnd, message, wparam, lparam)
                    : DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK WindowPeer::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowPeer*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetPropW(hwnd, kPeerProperty, self);
  }
  WindowPeer* self = FromHandle(hwnd);
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Dispatch(hwnd, message, wparam, lparam, false);
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR data) {
  return reinterpret_cast<WindowPeer*>(data)->Dispatch(hwnd, message, wparam, lparam, true);
}

// --- Keyboard navigation --------------------------------------------------------------------

namespace {

TControl* FocusedControl() {
  for (HWND h = GetFocus(); h; h = GetParent(h)) {
    if (WindowPeer* peer = WindowPeer::FromHandle(h)) return &peer->Control();
  }
  return nullptr;
}

TForm* FormOf(TControl* control) {
  for (TControl* c = control; c; c = c->Parent()) {
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  }
  return nullptr;
}

// An open combo box list takes Escape and Enter for itself (they close the list).
bool DropDownIsOpen(HWND focus) {
  wchar_t name[32] = {};
  GetClassNameW(focus, name, 32);
  return lstrcmpiW(name, WC_COMBOBOXW) == 0 && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0);
}

}  // namespace

bool CanFocus(TControl* c) {
  for (TControl* p = c; p; p = p->Parent()) {
    if (!p->Visible() || !p->Enabled()) return false;
  }
  return c->HandleAllocated();
}

namespace {

void MoveFocus(TForm& form, TControl* from, bool backwards) {
  std::vector<TControl*> stops = TabStops(form);
  stops.erase(std::remove_if(stops.begin(), stops.end(), [](TControl* c) { return !CanFocus(c); }),
              stops.end());
  if (stops.empty()) return;
  const auto it = std::find(stops.begin(), stops.end(), from);
  std::size_t next = 0;
  if (it != stops.end()) {
    const std::size_t at = static_cast<std::size_t>(it - stops.begin());
    next = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
  } else if (backwards) {
    next = stops.size() - 1;
  }
  SetFocus(reinterpret_cast<HWND>(stops[next]->Handle()));
}

TButton* FindButton(TWinControl& parent, bool want_default) {
  for (TControl* c : parent.Controls()) {
    if (auto* b = dynamic_cast<TButton*>(c)) {
      if ((want_default ? b->Default() : b->Cancel()) && CanFocus(b)) return b;
    }
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TButton* found = FindButton(*w, want_default)) return found;
    }
  }
  return nullptr;
}

// Arrow keys move through the option buttons of one parent and choose the one reached, as
// the dialog manager does for a group.
bool MoveInRadioGroup(TRadioButton& from, bool forward) {
  TWinControl* parent = from.Parent();
  if (!parent) return false;
  std::vector<TRadioButton*> group;
  for (TControl* c : parent->Controls()) {
    if (c->Is<TRadioButton>() && CanFocus(c)) group.push_back(static_cast<TRadioButton*>(c));
  }
  const auto it = std::find(group.begin(), group.end(), &from);
  if (it == group.end() || group.size() < 2) return false;
  const std::size_t at = static_cast<std::size_t>(it - group.begin());
  TRadioButton* next =
      group[forward ? (at + 1) % group.size() : (at + group.size() - 1) % group.size()];
  SetFocus(reinterpret_cast<HWND>(next->Handle()));
  next->SetChecked(true);
  return true;
}

}  // namespace

bool HandleNavigationKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR) return false;
  const auto key = static_cast<int>(msg.wParam);
  TControl* focused = FocusedControl();
  TForm* form = FormOf(focused);
  if (!form) return false;
  if (msg.message == WM_KEYDOWN && !DropDownIsOpen(msg.hwnd)) {
    bool handled = false;
    DispatchGuarded([&] { form->OnShortcut(*form, key, handled); });
    if (handled) return true;
  }
  const bool arrow = key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
  if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !arrow) return false;
  if (arrow) {
    auto* radio = msg.message == WM_KEYDOWN ? dynamic_cast<TRadioButton*>(focused) : nullptr;
    bool handled = false;
    if (radio) {
      DispatchGuarded(
          [&] { handled = MoveInRadioGroup(*radio, key == VK_DOWN || key == VK_RIGHT); });
    }
    return handled;
  }
  // The character that follows a handled key press would only beep.
  if (msg.message == WM_CHAR) return key == VK_TAB || key == VK_RETURN;
  bool handled = false;
  DispatchGuarded([&] {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (key == VK_TAB) {
      // A multi-line edit or a list keeps Tab only when it asks for it; none here do.
      MoveFocus(*form, focused, shift);
      handled = true;
    } else if (key == VK_RETURN) {
      if (auto* button = dynamic_cast<TButton*>(focused)) {
        button->Click();
        handled = true;
      } else if (TEnterAsTab* enter = FindEnterAsTab(*form); enter && enter->MovesFocus(focused)) {
        MoveFocus(*form, focused, shift);
        handled = true;
      } else if (!focused->HandlesEnterKey()) {
        if (TButton* def = FindButton(*form, true)) {
          def->Click();
          handled = true;
        }
      }
    } else if (TButton* cancel = FindButton(*form, false)) {
      cancel->Click();
      handled = true;
    }
  });
  return handled;
}

}  // namespace velmora::gui::win32
