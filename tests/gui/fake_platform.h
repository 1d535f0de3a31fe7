// A platform for native tests: records message boxes, timers and clipboard writes, makes no
// windows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/platform.h"

namespace velmora::gui::testing {

class FakePlatform : public GuiPlatform {
 public:
  struct Box {
    std::string text, caption;
    unsigned flags;
  };
  struct TimerRecord {
    unsigned interval;
    std::function<void()> tick;
    bool alive = true;
  };

  FakePlatform() { SetPlatform(this); }
  ~FakePlatform() override { SetPlatform(nullptr); }

  int ShowMessageBox(std::string_view text, std::string_view caption, unsigned flags) override {
    boxes.push_back({std::string(text), std::string(caption), flags});
    return answer;
  }
  std::unique_ptr<Timer> StartTimer(unsigned interval, std::function<void()> tick) override {
    timers.push_back(std::make_shared<TimerRecord>(TimerRecord{interval, std::move(tick)}));
    struct Handle : Timer {
      std::shared_ptr<TimerRecord> record;
      ~Handle() override { record->alive = false; }
    };
    auto handle = std::make_unique<Handle>();
    handle->record = timers.back();
    return handle;
  }
  void OpenInShell(std::string_view target) override { opened.emplace_back(target); }
  bool SetClipboardText(std::string_view text) override {
    clipboard.emplace_back(text);
    return clipboard_works;
  }
  int CollateText(std::string_view a, std::string_view b) override {
    ++collations;
    return a.compare(b);
  }

  int LiveTimers() const {
    int n = 0;
    for (const auto& t : timers) n += t->alive;
    return n;
  }

  std::vector<Box> boxes;
  std::vector<std::shared_ptr<TimerRecord>> timers;
  std::vector<std::string> opened;
  std::vector<std::string> clipboard;  // every text written, in order
  bool clipboard_works = true;
  int answer = kIdOk;
  int collations = 0;
};

}  // namespace velmora::gui::testing
