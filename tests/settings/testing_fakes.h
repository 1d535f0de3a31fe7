// What the settings tests stand in for the system: the window system of one window, a folder
// of language files, and the main window itself, headless.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/fake_platform.h"
#include "settings/form_store.h"
#include "settings/settings_page.h"
#include "tracking/fake_process_inspector.h"
#include "tracking/usage_ledger.h"
#include "ui/frm_main.h"

namespace velmora::settings::testing {

class FakeWindowSystem final : public WindowSystem {
 public:
  WindowPlacement Placement() const override { return placement; }
  void SetPlacement(const WindowPlacement& p) override {
    placement = p;
    ++placements_set;
  }
  bool ApplicationMinimized() const override { return application_minimized; }
  void MinimizeApplication() override { ++minimize_requests; }
  Point ScreenSize() const override { return screen; }
  int PixelsPerInch() const override { return ppi; }
  bool OnSomeMonitor(const Rect& r) const override {
    return std::any_of(monitors.begin(), monitors.end(), [&](const Rect& m) {
      return r.left < m.right && m.left < r.right && r.top < m.bottom && m.top < r.bottom;
    });
  }
  Rect NearestWorkArea(const Rect& r) const override {
    const auto distance = [&](const Rect& m) {
      const std::int64_t dx = std::max<std::int64_t>(
          {m.left - std::int64_t{r.right}, 0, std::int64_t{r.left} - m.right});
      const std::int64_t dy = std::max<std::int64_t>(
          {m.top - std::int64_t{r.bottom}, 0, std::int64_t{r.top} - m.bottom});
      return dx * dx + dy * dy;
    };
    return *std::min_element(monitors.begin(), monitors.end(), [&](const Rect& a, const Rect& b) {
      return distance(a) < distance(b);
    });
  }

  // A 604 x 400 window centred on a 1280 x 1024 screen, never moved.
  WindowPlacement placement{1, 0, {-1, -1}, {-1, -1}, {338, 312, 942, 712}};
  bool application_minimized = false;
  Point screen{1280, 1024};
  int ppi = 96;
  std::vector<Rect> monitors{{0, 0, 1280, 1024}};
  int placements_set = 0;
  int minimize_requests = 0;
};

class FakeLanguageFolder final : public LanguageFolder {
 public:
  std::vector<std::string> FindLanguageFiles(const std::string& folder) const override {
    ++searches;
    std::vector<std::string> names;
    for (const auto& [path, content] : files) {
      if (path.starts_with(folder)) names.push_back(path.substr(folder.size()));
    }
    if (reversed) std::reverse(names.begin(), names.end());
    return names;
  }
  std::optional<std::string> ReadFile(const std::string& path,
                                      std::size_t max_bytes) const override {
    for (const auto& [name, content] : files) {
      if (name == path) {
        if (content.size() > max_bytes) return std::nullopt;
        return content;
      }
    }
    return std::nullopt;
  }

  // In the order the "file system" returns them (or the reverse).
  std::vector<std::pair<std::string, std::string>> files;
  bool reversed = false;
  mutable int searches = 0;
};

// A headless main window with a fake process table and message boxes.
struct HeadlessMainWindow {
  explicit HeadlessMainWindow(ui::SettingsPageHooks hooks = {}) {
    ui::TfrmMainServices services;
    services.ledger = &ledger;
    services.inspector = &inspector;
    services.read_details = [](const std::string&) -> ui::DetailsFields {
      return {"Description", "Company", "Product", "1.0"};
    };
    services.settings = std::move(hooks);
    ui::TfrmMain::SetServices(std::move(services));
    form = &app->CreateForm<ui::TfrmMain>();
  }
  ~HeadlessMainWindow() {
    app.reset();
    ui::TfrmMain::SetServices({});
  }
  // Ends the window (and the application) as the program's end does.
  void Destroy() {
    app.reset();
    form = nullptr;
  }

  gui::testing::FakePlatform platform;
  tracking::UsageLedger ledger;
  tracking::FakeProcessInspector inspector;
  std::unique_ptr<gui::TApplication> app = std::make_unique<gui::TApplication>();
  ui::TfrmMain* form = nullptr;
};

}  // namespace velmora::settings::testing
