#include "ui/sys_tray_win32.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdint>
#include <new>

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
