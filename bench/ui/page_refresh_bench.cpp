// What one tick of the main window costs, pages included, in the steady state (every tracked
// application that runs already has its row and series, no process is new): TfrmMain's own
// tick (sample, the Applications page's time texts, the chart's shares) run headless for N
// tracked applications against P running processes in a fake process table.
//
// walk:  the window's tick as built: one process walk answers whether each tracked
//        application runs, no process is opened, rows are found through the page's index.
// today: the tick as it was before, kept here as the baseline: every process opened for its
//        image path, and each tracked application's row found by scanning the list.
//
// Counters per tick: calls = platform calls (walks, opens, path queries, foreground query,
// icons), opens = processes opened. Half the tracked applications run; the rest have ended.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/text.h"
#include "gui/application.h"
#include "gui/chart.h"
#include "gui/list_view.h"
#include "gui/timer.h"
#include "tracking/fake_process_inspector.h"
#include "ui/frm_main.h"
#include "ui/statistics_page.h"

namespace velmora::ui {
namespace {

DetailsFields FakeDetails(const std::string& path) {
  return DetailsFields{"Application " + path.substr(path.size() - 8), "Vendor", "Product", "1.0"};
}

struct World {
  tracking::FakeProcessInspector inspector;
  tracking::UsageLedger ledger;
  gui::TApplication app;
  TfrmMain* form = nullptr;
  // The baseline's own sampler and chart page, on the same ledger and chart.
  std::unique_ptr<tracking::UsageSampler> sampler;
  std::unique_ptr<StatisticsPage> chart;

  World(int tracked, int processes) {
    for (int p = 0; p < processes; ++p) {
      inspector.AddProcess(
          static_cast<tracking::ProcessId>(1000 + p),
          "C:\\Program Files\\Vendor " + std::to_string(p) + "\\app" + std::to_string(p) + ".exe");
    }
    // Every second tracked application is a running process; the others have ended.
    for (int t = 0; t < tracked; ++t) {
      const int p = t % 2 == 0 ? t / 2 : processes + t;
      ledger.AddProcessTime("app" + std::to_string(p) + ".exe", 1);
    }
    inspector.SetForeground(tracking::ForegroundWindow{1, 1000});
    TfrmMainServices services;
    services.ledger = &ledger;
    services.inspector = &inspector;
    services.read_details = FakeDetails;
    TfrmMain::SetServices(std::move(services));
    form = &app.CreateForm<TfrmMain>();
    form->tmrRefreshTimer();  // every row and series exists from here on
    sampler = std::make_unique<tracking::UsageSampler>(ledger, inspector);
    chart = std::make_unique<StatisticsPage>(form->chartApps(), FakeDetails);
  }
};

// The row of `name` as it used to be found: every row visited, the last match wins.
gui::TListItem* ScanForRow(const gui::TListView& list, std::string_view name) {
  gui::TListItem* found = nullptr;
  for (int i = 0; i < list.Count(); ++i) {
    gui::TListItem& row = list.Item(i);
    if (!row.Caption().empty() && AsciiEqualNoCase(row.Caption(), name)) found = &row;
  }
  return found;
}

void TodaysTick(World& world) {
  if (!world.sampler->Tick().refresh_pages) return;
  const tracking::ProcessSnapshot snapshot(world.inspector.GetRunningProcessList());
  for (std::size_t i = 0; i < world.ledger.Count(); ++i) {
    const std::string& name = world.ledger.Name(i);
    if (!snapshot.IsProcessRunning(name)) continue;
    if (gui::TListItem* row = ScanForRow(world.form->lvApps(), name)) {
      row->SubItems().Put(1, FormatTimeText(world.ledger.Seconds(i)));
    }
  }
  world.chart->Refresh(world.ledger, snapshot);
}

template <bool kWalk>
void Tick(World& world) {
  if constexpr (kWalk) {
    world.form->tmrRefreshTimer();
  } else {
    TodaysTick(world);
  }
}

template <bool kWalk>
void BM_PageTick(benchmark::State& state) {
  const int tracked = static_cast<int>(state.range(0));
  const int processes = static_cast<int>(state.range(1));
  World world(tracked, processes);
  const tracking::InspectionCounters before = world.inspector.Counters();
  for (auto _ : state) Tick<kWalk>(world);
  const tracking::InspectionCounters after = world.inspector.Counters();
  const auto per_tick = [&](std::uint64_t count) {
    return static_cast<double>(count) / static_cast<double>(state.iterations());
  };
  state.counters["calls/tick"] = per_tick(after.Total() - before.Total());
  state.counters["opens/tick"] = per_tick(after.process_opens - before.process_opens);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int processes : {300, 1000}) {
    for (int tracked : {10, 100, 500}) b->Args({tracked, processes});
  }
  b->ArgNames({"tracked", "processes"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_PageTick<true>)->Name("PageTick/walk")->Apply(Sizes);
BENCHMARK(BM_PageTick<false>)->Name("PageTick/today")->Apply(Sizes);

}  // namespace
}  // namespace velmora::ui

BENCHMARK_MAIN();
