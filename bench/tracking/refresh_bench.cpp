// What one refresh tick costs in platform calls and time, for a ledger of N tracked
// applications against P running processes (a fake process table), taking one running-process
// list per tick (the snapshot) or a fresh list per question (IsProcessRunning asked of the
// platform for every tracked application, as a stateless inspection would).
//
// Counters: calls/tick is the number of platform calls one tick makes (process snapshot,
// enumeration, opens, image-path queries, foreground query); the per-question rows also show
// their ratio to the snapshot's calls.
#include <benchmark/benchmark.h>

#include <string>

#include "tracking/fake_process_inspector.h"
#include "tracking/usage_ledger.h"
#include "tracking/usage_sampler.h"

namespace velmora::tracking {
namespace {

struct World {
  FakeProcessInspector inspector;
  UsageLedger ledger;

  World(int tracked, int processes) {
    for (int p = 0; p < processes; ++p) {
      inspector.AddProcess(static_cast<ProcessId>(1000 + p),
                           "C:\\Program Files\\Vendor " + std::to_string(p) + "\\app" +
                               std::to_string(p) + ".exe");
    }
    // Tracked applications: the first ones are running processes, the rest have ended.
    for (int t = 0; t < tracked; ++t) ledger.AddProcessTime("app" + std::to_string(t) + ".exe", 1);
    inspector.SetForeground(ForegroundWindow{1, 1000});
  }
};

// The questions the pages ask of the inspection on a tick, once every row exists:
// is each tracked application running (the Applications page), after the sample itself.
template <bool kSnapshot>
int Tick(World& world, UsageSampler& sampler) {
  sampler.Tick();
  int running = 0;
  if constexpr (kSnapshot) {
    const ProcessSnapshot snapshot = world.inspector.TakeSnapshot();
    for (std::size_t i = 0; i < world.ledger.Count(); ++i) {
      running += snapshot.IsProcessRunning(world.ledger.Name(i));
    }
  } else {
    for (std::size_t i = 0; i < world.ledger.Count(); ++i) {
      running += ProcessSnapshot(world.inspector.GetRunningProcessList())
                     .IsProcessRunning(world.ledger.Name(i));
    }
  }
  return running;
}

template <bool kSnapshot>
std::uint64_t CallsPerTick(int tracked, int processes) {
  World world(tracked, processes);
  UsageSampler sampler(world.ledger, world.inspector);
  const auto before = world.inspector.Counters().Total();
  Tick<kSnapshot>(world, sampler);
  return world.inspector.Counters().Total() - before;
}

template <bool kSnapshot>
void BM_RefreshTick(benchmark::State& state) {
  const int tracked = static_cast<int>(state.range(0));
  const int processes = static_cast<int>(state.range(1));
  World world(tracked, processes);
  UsageSampler sampler(world.ledger, world.inspector);
  for (auto _ : state) benchmark::DoNotOptimize(Tick<kSnapshot>(world, sampler));
  const auto calls = static_cast<double>(CallsPerTick<kSnapshot>(tracked, processes));
  state.counters["calls/tick"] = calls;
  if (!kSnapshot) {
    state.counters["x_snapshot"] = calls / static_cast<double>(CallsPerTick<true>(tracked, processes));
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int tracked : {10, 100, 500}) {
    for (int processes : {300, 1000}) b->Args({tracked, processes});
  }
  b->ArgNames({"tracked", "processes"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_RefreshTick<true>)->Name("RefreshTick/snapshot")->Apply(Sizes);
BENCHMARK(BM_RefreshTick<false>)->Name("RefreshTick/per_question")->Apply(Sizes);

}  // namespace
}  // namespace velmora::tracking

BENCHMARK_MAIN();
