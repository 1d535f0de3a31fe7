// What one tick of the main window costs, pages included: TfrmMain's own tick (sample, the
// Applications page's rows and time texts, the chart's series) run headless for N tracked
// applications against P running processes in a fake process table.
//
// snapshot:     the window's tick as built: one running-process list answers every question.
// per_question: the same tick plus a fresh process list for every tracked application's
//               "is it running?" question, the cost a stateless inspection would add
//               (counted on top of the tick's own list, so the ratio is slightly generous
//               to the per-question way).
//
// Counters: calls/tick = platform calls per tick (snapshot, enumeration, opens, image-path
// queries, foreground query, icons); x_snapshot = per-question calls / snapshot calls.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "gui/application.h"
#include "gui/timer.h"
#include "tracking/fake_process_inspector.h"
#include "ui/frm_main.h"

namespace velmora::ui {
namespace {

struct World {
  tracking::FakeProcessInspector inspector;
  tracking::UsageLedger ledger;
  gui::TApplication app;
  TfrmMain* form = nullptr;

  World(int tracked, int processes) {
    for (int p = 0; p < processes; ++p) {
      inspector.AddProcess(
          static_cast<tracking::ProcessId>(1000 + p),
          "C:\\Program Files\\Vendor " + std::to_string(p) + "\\app" + std::to_string(p) + ".exe");
    }
    // The first tracked applications are running processes, the rest have ended.
    for (int t = 0; t < tracked; ++t) ledger.AddProcessTime("app" + std::to_string(t) + ".exe", 1);
    inspector.SetForeground(tracking::ForegroundWindow{1, 1000});
    TfrmMainServices services;
    services.ledger = &ledger;
    services.inspector = &inspector;
    services.read_details = [](const std::string& path) {
      return DetailsFields{"Application " + path.substr(path.size() - 8), "Vendor", "Product",
                           "1.0"};
    };
    TfrmMain::SetServices(std::move(services));
    form = &app.CreateForm<TfrmMain>();
    form->tmrRefreshTimer();  // every row and series exists from here on
  }
};

template <bool kSnapshot>
int Tick(World& world) {
  world.form->tmrRefreshTimer();
  int running = 0;
  if constexpr (!kSnapshot) {
    for (std::size_t i = 0; i < world.ledger.Count(); ++i) {
      running += tracking::ProcessSnapshot(world.inspector.GetRunningProcessList())
                     .IsProcessRunning(world.ledger.Name(i));
    }
  }
  return running;
}

template <bool kSnapshot>
std::uint64_t CallsPerTick(int tracked, int processes) {
  World world(tracked, processes);
  const auto before = world.inspector.Counters().Total();
  Tick<kSnapshot>(world);
  return world.inspector.Counters().Total() - before;
}

template <bool kSnapshot>
void BM_PageTick(benchmark::State& state) {
  const int tracked = static_cast<int>(state.range(0));
  const int processes = static_cast<int>(state.range(1));
  World world(tracked, processes);
  for (auto _ : state) benchmark::DoNotOptimize(Tick<kSnapshot>(world));
  const auto calls = static_cast<double>(CallsPerTick<kSnapshot>(tracked, processes));
  state.counters["calls/tick"] = calls;
  if (!kSnapshot) {
    state.counters["x_snapshot"] =
        calls / static_cast<double>(CallsPerTick<true>(tracked, processes));
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int tracked : {10, 100, 500}) {
    for (int processes : {300, 1000}) b->Args({tracked, processes});
  }
  b->ArgNames({"tracked", "processes"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_PageTick<true>)->Name("PageTick/snapshot")->Apply(Sizes);
BENCHMARK(BM_PageTick<false>)->Name("PageTick/per_question")->Apply(Sizes);

}  // namespace
}  // namespace velmora::ui

BENCHMARK_MAIN();
