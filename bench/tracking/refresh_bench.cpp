// What the tracking's part of a refresh tick costs in platform calls and time, in the steady
// state (every tracked application already has its row and series, no new process): take
// the tick's snapshot, then ask whether each of N tracked applications runs, against P
// running processes in a fake process table that counts the calls Windows would be asked.
//
// walk:      the snapshot as taken now, from one process walk (IDs and file names); image
//            paths are read only when a row or a series is made, which the steady state
//            never does.
// path_list: the snapshot as it used to be taken, from every process's image path: one
//            listing, then every process opened and asked for its path.
//
// Counters, per tick: calls/tick = platform calls (walks, opens, image-path queries);
// opens/tick = processes opened; running = tracked applications found running, which both
// ways must agree on.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "tracking/fake_process_inspector.h"
#include "tracking/usage_ledger.h"

namespace velmora::tracking {
namespace {

struct World {
  FakeProcessInspector inspector;
  UsageLedger ledger;

  World(int tracked, int processes) {
    for (int p = 0; p < processes; ++p) {
      inspector.AddProcess(
          static_cast<ProcessId>(1000 + 4 * p),
          "C:\\Program Files\\Vendor " + std::to_string(p) + "\\app" + std::to_string(p) + ".exe");
    }
    // Tracked applications: the first ones are running processes, the rest have ended.
    for (int t = 0; t < tracked; ++t) ledger.AddProcessTime("app" + std::to_string(t) + ".exe", 1);
  }
};

enum class Way { kWalk, kPathList };

ProcessSnapshot TakeSnapshot(World& world, Way way) {
  return way == Way::kWalk ? world.inspector.TakeSnapshot()
                           : ProcessSnapshot(world.inspector.GetRunningProcessList());
}

// The tracking's questions of one steady-state tick.
int Tick(World& world, Way way) {
  const ProcessSnapshot snapshot = TakeSnapshot(world, way);
  int running = 0;
  for (std::size_t i = 0; i < world.ledger.Count(); ++i) {
    running += snapshot.IsProcessRunning(world.ledger.Name(i));
  }
  return running;
}

template <Way kWay>
void BM_RefreshTick(benchmark::State& state) {
  const int tracked = static_cast<int>(state.range(0));
  const int processes = static_cast<int>(state.range(1));
  World world(tracked, processes);
  const InspectionCounters before = world.inspector.Counters();
  int running = 0;
  for (auto _ : state) {
    running = Tick(world, kWay);
    benchmark::DoNotOptimize(running);
  }
  const InspectionCounters after = world.inspector.Counters();
  const auto ticks = static_cast<double>(state.iterations());
  state.counters["calls/tick"] = static_cast<double>(after.Total() - before.Total()) / ticks;
  state.counters["opens/tick"] =
      static_cast<double>(after.process_opens - before.process_opens) / ticks;
  state.counters["running"] = running;
  if (running != std::min(tracked, processes)) state.SkipWithError("wrong running count");
}

}  // namespace
}  // namespace velmora::tracking

// Registered size by size, so that each way's figures print beside the other's.
int main(int argc, char** argv) {
  using velmora::tracking::BM_RefreshTick;
  using velmora::tracking::Way;
  for (int tracked : {10, 100, 500}) {
    for (int processes : {300, 1000}) {
      for (const auto& [name, run] :
           {std::pair{"RefreshTick/walk", &BM_RefreshTick<Way::kWalk>},
            std::pair{"RefreshTick/path_list", &BM_RefreshTick<Way::kPathList>}}) {
        benchmark::RegisterBenchmark(name, run)
            ->Args({tracked, processes})
            ->ArgNames({"tracked", "processes"})
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
