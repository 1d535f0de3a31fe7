#include "ui/tray_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora::ui {
namespace {

struct RecordingShell : TrayShell {
  struct Sent {
    TrayCommand command;
    TrayRecord record;
  };
  std::vector<Sent> sent;
  void Send(TrayCommand command, const TrayRecord& record) override {
    sent.push_back({command, record});
  }
};

constexpr unsigned kId = 0x1234;
constexpr std::uintptr_t kAppIcon = 0x77, kOwnIcon = 0x99;

struct TrayTest : ::testing::Test {
  RecordingShell shell;
  TrayIconLogic tray{shell, kId, kAppIcon};
  std::vector<std::string> log;

  void RecordEvents() {
    auto& e = tray.events();
    const auto name = [](MouseButton b) {
      return b == MouseButton::Left ? "L" : b == MouseButton::Right ? "R" : "M";
    };
    e.on_mouse_down = [&, name](MouseButton b, ShiftState s, int, int) {
      log.push_back(std::string("down ") + name(b) + (s.double_click ? " double" : ""));
    };
    e.on_mouse_up = [&, name](MouseButton b, ShiftState, int, int) {
      log.push_back(std::string("up ") + name(b));
    };
    e.on_mouse_move = [&](ShiftState, int, int) { log.push_back("move"); };
    e.on_click = [&] { log.push_back("click"); };
    e.on_dbl_click = [&] { log.push_back("dblclick"); };
  }
};

TEST_F(TrayTest, VisibleAddsAndRemovesOnlyOnTransitions) {
  tray.SetVisible(true);
  tray.SetVisible(true);
  tray.SetVisible(false);
  tray.SetVisible(false);
  ASSERT_EQ(shell.sent.size(), 2u);
  EXPECT_EQ(shell.sent[0].command, TrayCommand::Add);
  EXPECT_EQ(shell.sent[0].record.id, kId);
  EXPECT_EQ(shell.sent[0].record.icon, kAppIcon);  // no own icon: the application's
  EXPECT_EQ(shell.sent[1].command, TrayCommand::Delete);
}

TEST_F(TrayTest, IconChangeUpdatesEvenWhenHiddenAndFallsBackToTheApplicationIcon) {
  tray.SetIcon(kOwnIcon);
  tray.SetIcon(0);
  ASSERT_EQ(shell.sent.size(), 2u);
  EXPECT_EQ(shell.sent[0].command, TrayCommand::Modify);
  EXPECT_EQ(shell.sent[0].record.icon, kOwnIcon);
  EXPECT_EQ(shell.sent[1].record.icon, kAppIcon);
}

TEST_F(TrayTest, HintIsReadBackAsAtMost63CharactersAndTheSameHintSendsNothing) {
  tray.SetHint("Velmora");
  tray.SetHint("Velmora");
  ASSERT_EQ(shell.sent.size(), 1u);
  EXPECT_EQ(shell.sent[0].record.tip, u"Velmora");

  const std::string long_hint(200, 'x');
  tray.SetHint(long_hint);
  EXPECT_EQ(tray.hint(), std::string(63, 'x'));
  EXPECT_EQ(shell.sent.back().record.tip.size(), 127u);  // the buffer keeps 127
  const auto count = shell.sent.size();
  tray.SetHint(std::string(63, 'x'));  // equals what reads back: nothing is sent
  EXPECT_EQ(shell.sent.size(), count);
}

TEST_F(TrayTest, ShellRestartAddsAShownIconAgain) {
  tray.ShellRestarted();
  EXPECT_TRUE(shell.sent.empty());
  tray.SetVisible(true);
  tray.SetHint("Velmora");
  tray.ShellRestarted();
  ASSERT_EQ(shell.sent.size(), 3u);
  EXPECT_EQ(shell.sent[2].command, TrayCommand::Add);
  EXPECT_EQ(shell.sent[2].record.tip, u"Velmora");
}

TEST_F(TrayTest, MouseNotificationsRaiseEventsInOrder) {
  RecordEvents();
  const struct {
    unsigned activity;
    std::vector<std::string> events;
  } cases[] = {
      {0x200, {"move"}},
      {0x201, {"down L"}},
      {0x202, {"click", "up L"}},
      {0x203, {"dblclick", "down L double"}},
      {0x204, {"down R"}},
      {0x205, {"up R"}},  // a right release is no click
      {0x206, {"down R double"}},
      {0x207, {"down M"}},
      {0x208, {"up M"}},
      {0x209, {"down M double"}},
      {0x2A3, {}},  // anything else is ignored
  };
  for (const auto& c : cases) {
    log.clear();
    EXPECT_TRUE(tray.HandleNotification(kId, c.activity, {}));
    EXPECT_EQ(log, c.events) << "activity 0x" << std::hex << c.activity;
  }
}

TEST_F(TrayTest, NotificationsForAnotherIconAreNotHandled) {
  RecordEvents();
  EXPECT_FALSE(tray.HandleNotification(kId + 1, 0x202, {}));
  EXPECT_TRUE(log.empty());
}

TEST_F(TrayTest, RightPressOpensThePopupOnlyWhenOneIsOffered) {
  int opened = 0;
  tray.HandleNotification(kId, 0x204, {10, 20, {}});
  tray.events().open_popup = [&](int x, int y) {
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    ++opened;
  };
  tray.HandleNotification(kId, 0x204, {10, 20, {}});
  EXPECT_EQ(opened, 1);
}

// The window system reports a menu choice by command number, 0 for none: each entry's
// number leads back to that entry, and nothing else leads to one.
TEST(TrayMenuChoice, ACommandNumberFindsItsEntryAndNothingElseFindsOne) {
  const TrayMenu menu = {{"Show Velmora", true, {}}, {}, {"Quit", false, {}}};
  const struct {
    unsigned command;
    const char* chosen;  // null: no entry
  } cases[] = {{0, nullptr},                     // the menu was closed without a choice
               {TrayMenuCommand(0), "Show Velmora"},
               {TrayMenuCommand(1), nullptr},    // a separator is never chosen
               {TrayMenuCommand(2), "Quit"},
               {TrayMenuCommand(3), nullptr},    // past the last entry
               {0xFFFFFFFFu, nullptr}};
  for (const auto& c : cases) {
    const TrayMenuItem* item = ChosenTrayMenuItem(menu, c.command);
    if (!c.chosen) {
      EXPECT_EQ(item, nullptr) << "command " << c.command << " chose " << item->text;
    } else {
      ASSERT_NE(item, nullptr) << "command " << c.command;
      EXPECT_EQ(item->text, c.chosen) << "command " << c.command;
    }
  }
  EXPECT_EQ(ChosenTrayMenuItem({}, 1), nullptr);
}

}  // namespace
}  // namespace velmora::ui
