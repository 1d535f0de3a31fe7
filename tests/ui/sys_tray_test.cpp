#include "ui/sys_tray.h"

#include <gtest/gtest.h>
#include <shellapi.h>

namespace velmora::ui {
namespace {

// Asks the shell to update the icon; it answers TRUE only for an icon it knows.
bool ShellKnowsIcon(const TSysTray& tray) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = tray.Handle();
  data.uID = static_cast<UINT>(tray.Id());
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
    id = static_cast<UINT>(tray.Id());
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
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, tray.Id(), WM_LBUTTONUP);
  EXPECT_EQ(log, "click;up;");
  // A notification carrying another icon's id is not ours.
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, tray.Id() + 1, WM_LBUTTONUP);
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
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, tray.Id(), WM_LBUTTONUP);
  SendMessageW(tray.Handle(), TrayIconLogic::kCallbackMessage, tray.Id(), WM_LBUTTONUP);
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
  data.uID = static_cast<UINT>(tray.Id());
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_FALSE(ShellKnowsIcon(tray));
  SendMessageW(tray.Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(ShellKnowsIcon(tray));
}

}  // namespace
}  // namespace velmora::ui
