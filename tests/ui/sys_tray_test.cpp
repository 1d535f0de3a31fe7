#include "ui/sys_tray_win32.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "gui/message_window_win32.h"

namespace velmora::ui {
namespace {

// Asks the shell to update the icon; it answers TRUE only for an icon it knows.
bool ShellKnowsIcon(const TSysTray& tray) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = tray.Handle();
  data.uID = TSysTray::kIconId;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

TEST(SysTray, ShowingAddsTheIconAndHidingRemovesIt) {
  TSysTray tray;
  ASSERT_NE(tray.Handle(), nullptr);
  EXPECT_FALSE(ShellKnowsIcon(tray));
  tray.SetVisible(true);
  EXPECT_TRUE(ShellKnowsIcon(tray));
  tray.SetVisible(false);
  EXPECT_FALSE(ShellKnowsIcon(tray));
}

TEST(SysTray, DestroyingAShownIconRemovesItFromTheNotificationArea) {
  HWND window = nullptr;
  UINT id = 0;
  {
    TSysTray tray;
    tray.SetVisible(true);
    tray.SetHint("Velmora");
    window = tray.Handle();
    id = TSysTray::kIconId;
  }
  EXPECT_FALSE(IsWindow(window));
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = window;
  data.uID = id;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));
}

TEST(SysTray, CallbackMessageRaisesClickThenMouseUp) {
  TSysTray tray;
  tray.SetVisible(true);
  std::string log;
  tray.Events().on_click = [&] { log += "click;"; };
  tray.Events().on_mouse_up = [&](MouseButton, ShiftState, int, int) { log += "up;"; };
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, TSysTray::kIconId, WM_LBUTTONUP);
  EXPECT_EQ(log, "click;up;");
  // A notification carrying another icon's id is not ours.
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, TSysTray::kIconId + 1,
               WM_LBUTTONUP);
  EXPECT_EQ(log, "click;up;");
}

TEST(SysTray, ErrorInAnEventHandlerGoesToTheErrorHandlerAndTheIconKeepsWorking) {
  TSysTray tray;
  std::string reported;
  int clicks = 0;
  tray.SetErrorHandler([&](const std::exception& e) { reported = e.what(); });
  tray.Events().on_click = [&] {
    if (++clicks == 1) throw std::runtime_error("handler failed");
  };
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, TSysTray::kIconId, WM_LBUTTONUP);
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, TSysTray::kIconId, WM_LBUTTONUP);
  EXPECT_EQ(reported, "handler failed");
  EXPECT_EQ(clicks, 2);
}

TEST(SysTray, TaskbarCreatedBroadcastAddsTheIconAgain) {
  TSysTray tray;
  tray.SetVisible(true);
  // Simulate a restarted shell that has forgotten the icon.
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = tray.Handle();
  data.uID = TSysTray::kIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_FALSE(ShellKnowsIcon(tray));
  SendMessageW(tray.Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(ShellKnowsIcon(tray));
}

BOOL CALLBACK KeepOpenMenu(HWND hwnd, LPARAM param) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (std::wstring(name) != L"#32768" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(param) = hwnd;
  return FALSE;
}

HWND OpenMenuOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), KeepOpenMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The right press opens the menu built at that moment; a picker that the menu's modal loop
// dispatches once the menu is open reads its entries and presses keys in it, as a user would.
TEST(SysTray, RightPressOpensTheMenuBuiltThenAndRunsTheChosenEntryAfterItCloses) {
  TSysTray tray;
  tray.SetVisible(true);
  std::string chosen;
  bool menu_open_while_chosen = false;
  int builds = 0;
  tray.SetPopupMenu([&] {
    ++builds;
    const auto choose = [&](const char* name) {
      return [&, name] {
        chosen = name;
        menu_open_while_chosen = OpenMenuOfThisThread() != nullptr;
      };
    };
    return TrayMenu{{"Show Velmora", true, choose("show")}, {}, {"Quit", false, choose("quit")}};
  });

  std::vector<UINT> keys;
  std::vector<std::wstring> entries;
  UINT default_position = 0;
  gui::win32::MessageWindow picker(
      L"VelmoraTrayMenuPicker", [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_APP) return false;
        result = 0;
        const HWND menu_window = OpenMenuOfThisThread();
        if (!menu_window) return true;
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(menu_window, MN_GETHMENU, 0, 0));
        entries.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
          wchar_t text[64] = {};
          GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
          entries.push_back(text);
        }
        default_position = GetMenuDefaultItem(menu, TRUE, 0);
        for (UINT key : keys) PostMessageW(menu_window, WM_KEYDOWN, key, 0);
        return true;
      });

  const struct {
    std::vector<UINT> keys;
    const char* chosen;
  } cases[] = {{{VK_DOWN, VK_RETURN}, "show"}, {{VK_UP, VK_RETURN}, "quit"}, {{VK_ESCAPE}, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    keys = c.keys;
    chosen.clear();
    entries.clear();
    PostMessageW(picker.Handle(), WM_APP, 0, 0);
    SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, TSysTray::kIconId, WM_RBUTTONDOWN);
    EXPECT_EQ(chosen, c.chosen);
    EXPECT_FALSE(menu_open_while_chosen) << "the entry ran while the menu was still open";
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"Show Velmora", L"", L"Quit"}));
    EXPECT_EQ(default_position, 0u);
  }
  EXPECT_EQ(builds, 3);
  // Without a menu a right press opens none.
  tray.SetPopupMenu(nullptr);
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, TSysTray::kIconId, WM_RBUTTONDOWN);
  EXPECT_EQ(builds, 3);
}

#ifdef _WIN64
// Reserves and commits `size` bytes at the first free address at or above 4 GiB.
void* AllocateAbove4GiB(std::size_t size) {
  for (std::uintptr_t at = std::uintptr_t{1} << 32; at < (std::uintptr_t{1} << 40);
       at += std::uintptr_t{1} << 32) {
    if (void* memory = VirtualAlloc(reinterpret_cast<void*>(at), size, MEM_RESERVE | MEM_COMMIT,
                                    PAGE_READWRITE)) {
      return memory;
    }
  }
  return nullptr;
}

// On 64-bit Windows heap objects often lie above 4 GiB, where an address no longer fits the
// 32-bit uID the shell sends back: a tray object there must still hear its clicks.
TEST(SysTray, AnIconWhoseObjectLiesAbove4GiBStillReceivesItsClicks) {
  void* memory = AllocateAbove4GiB(sizeof(TSysTray));
  ASSERT_NE(memory, nullptr) << "no free address above 4 GiB";
  ASSERT_GT(reinterpret_cast<std::uintptr_t>(memory), std::uintptr_t{0xFFFFFFFF});
  auto* tray = new (memory) TSysTray;
  tray->SetVisible(true);
  EXPECT_TRUE(ShellKnowsIcon(*tray));
  int clicks = 0;
  tray->Events().on_click = [&] { ++clicks; };
  // What the shell sends: the uID it was given, a UINT, widened to WPARAM.
  const UINT uid = TSysTray::kIconId;
  SendMessageW(tray->Handle(), TrayIconLogic::kCallbackMessage, uid, WM_LBUTTONUP);
  EXPECT_EQ(clicks, 1);
  tray->~TSysTray();
  VirtualFree(memory, 0, MEM_RELEASE);
}
#endif

}  // namespace
}  // namespace velmora::ui
