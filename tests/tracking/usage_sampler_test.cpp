#include "tracking/usage_sampler.h"

#include <gtest/gtest.h>

#include "tracking/fake_process_inspector.h"

namespace velmora::tracking {
namespace {

using Outcome = TickResult::Outcome;

class UsageSamplerTest : public ::testing::Test {
 protected:
  void Foreground(ProcessId pid, WindowId window = 0x100) {
    inspector_.SetForeground(ForegroundWindow{window, pid});
  }

  UsageLedger ledger_;
  FakeProcessInspector inspector_;
  UsageSampler sampler_{ledger_, inspector_};
};

TEST_F(UsageSamplerTest, FirstTickCreditsTheLowerCasedNameWithOneSecond) {
  inspector_.AddProcess(42, "C:\\Windows\\Notepad.EXE");
  Foreground(42);
  const TickResult result = sampler_.Tick();
  EXPECT_EQ(result.outcome, Outcome::kCredited);
  EXPECT_EQ(result.name, "Notepad.EXE");
  EXPECT_EQ(result.seconds, 1);
  EXPECT_TRUE(result.refresh_pages);
  ASSERT_EQ(ledger_.Count(), 1u);
  EXPECT_EQ(ledger_.Name(0), "notepad.exe");
  EXPECT_EQ(ledger_.SecondsText(0), "1");
}

// What each kind of foreground does to the ledger and the pages.
TEST_F(UsageSamplerTest, ForegroundCasesTable) {
  struct Case {
    std::optional<ProcessId> foreground;  // nullopt: no foreground window
    const char* exe_name;                 // the snapshot's name of process 7; null: none
    Outcome outcome;
    bool refresh_pages;
    std::size_t entries;
  };
  const Case cases[] = {
      {7, "app.exe", Outcome::kCredited, true, 1},
      {7, nullptr, Outcome::kNoProcessName, true, 0},    // no process has the ID
      {8, "app.exe", Outcome::kNoProcessName, true, 0},  // the ID belongs to nobody
      {7, "[System Process]", Outcome::kSystemProcess, false, 0},
      {7, "[SYSTEM PROCESS]", Outcome::kCredited, true, 1},  // only the exact text is skipped
      {7, "[System Process] ", Outcome::kCredited, true, 1},
      {std::nullopt, "app.exe", Outcome::kNoForegroundWindow, true, 0},
  };
  for (const Case& c : cases) {
    UsageLedger ledger;
    FakeProcessInspector inspector;
    if (c.exe_name) inspector.AddProcess(7, "", c.exe_name);
    if (c.foreground) inspector.SetForeground(ForegroundWindow{1, *c.foreground});
    UsageSampler sampler(ledger, inspector);
    const TickResult result = sampler.Tick();
    const char* label = c.exe_name ? c.exe_name : "(none)";
    EXPECT_EQ(result.outcome, c.outcome) << label;
    EXPECT_EQ(result.refresh_pages, c.refresh_pages) << label;
    EXPECT_EQ(ledger.Count(), c.entries) << label;
  }
}

TEST_F(UsageSamplerTest, EachTickCreditsTheIntervalInWholeSecondsAndChangesKeepTotals) {
  inspector_.AddProcess(5, "C:\\app.exe");
  Foreground(5);
  EXPECT_TRUE(sampler_.SetIntervalSeconds(5));
  EXPECT_EQ(sampler_.IntervalMs(), 5000u);
  sampler_.Tick();
  sampler_.Tick();
  EXPECT_EQ(ledger_.GetProcessTime("app.exe"), 10);
  EXPECT_TRUE(sampler_.SetIntervalSeconds(2));
  sampler_.Tick();
  EXPECT_EQ(ledger_.GetProcessTime("app.exe"), 12);
}

TEST_F(UsageSamplerTest, IntervalChangeRule) {
  struct Case {
    std::int64_t value;
    std::uint32_t interval_ms;
    bool changed;
  };
  // Starting from the default of 1000 ms each time.
  const Case cases[] = {
      {1, 1000, false},  // the same interval: the timer is not restarted
      {2, 2000, true},
      {100, 100000, true},
      {0, 1000, false},
      {-5, 1000, false},
      {2147483, 2147483000u, true},
      {2147484, UsageSampler::kMaxIntervalMs, true},  // capped to what a timer accepts
      {INT64_MAX, UsageSampler::kMaxIntervalMs, true},
  };
  for (const Case& c : cases) {
    UsageLedger ledger;
    FakeProcessInspector inspector;
    UsageSampler sampler(ledger, inspector);
    EXPECT_EQ(sampler.SetIntervalSeconds(c.value), c.changed) << c.value;
    EXPECT_EQ(sampler.IntervalMs(), c.interval_ms) << c.value;
  }
}

TEST_F(UsageSamplerTest, TheLongestIntervalCreditsItsWholeSecondsOnly) {
  inspector_.AddProcess(5, "C:\\app.exe");
  Foreground(5);
  sampler_.SetIntervalSeconds(INT64_MAX);
  EXPECT_EQ(sampler_.Tick().seconds, 2147483);  // 2147483647 ms div 1000
}

TEST_F(UsageSamplerTest, CasesOfOneNameShareAnEntryInFirstCreditOrder) {
  inspector_.AddProcess(1, "C:\\Office\\WINWORD.EXE");
  inspector_.AddProcess(2, "C:\\x\\calc.exe");
  inspector_.AddProcess(3, "C:\\y\\winword.exe");
  for (ProcessId pid : {2u, 1u, 3u, 1u}) {
    Foreground(pid);
    sampler_.Tick();
  }
  ASSERT_EQ(ledger_.Count(), 2u);
  EXPECT_EQ(ledger_.Name(0), "calc.exe");
  EXPECT_EQ(ledger_.Name(1), "winword.exe");
  EXPECT_EQ(ledger_.Seconds(1), 3);
}

// Store applications: the frame belongs to ApplicationFrameHost.exe, the content to the app.
TEST_F(UsageSamplerTest, ApplicationFrameHostCreditsTheHostedApplication) {
  struct Case {
    const char* host_name;
    std::vector<ProcessId> children;  // owners of the frame's child windows
    const char* credited;
  };
  const Case cases[] = {
      {"ApplicationFrameHost.exe", {10, 20}, "calculator.exe"},
      {"APPLICATIONFRAMEHOST.EXE", {20}, "calculator.exe"},
      {"ApplicationFrameHost.exe", {10}, "applicationframehost.exe"},  // only its own children
      {"ApplicationFrameHost.exe", {}, "applicationframehost.exe"},
      {"ApplicationFrameHost.exe", {30}, "applicationframehost.exe"},  // child owner unnamed
      {"other.exe", {20}, "other.exe"},  // only the frame host is looked through
  };
  for (const Case& c : cases) {
    UsageLedger ledger;
    FakeProcessInspector inspector;
    inspector.AddProcess(10, "", c.host_name);
    inspector.AddProcess(20, "C:\\apps\\Calculator.exe");
    inspector.SetForeground(ForegroundWindow{0x500, 10});
    for (ProcessId child : c.children) inspector.AddChildWindow(0x500, child);
    UsageSampler sampler(ledger, inspector);
    EXPECT_EQ(sampler.Tick().outcome, Outcome::kCredited) << c.host_name;
    ASSERT_EQ(ledger.Count(), 1u) << c.host_name;
    EXPECT_EQ(ledger.Name(0), c.credited) << c.host_name;
  }
}

// A tick resolves one name: it never lists every running process's image path.
TEST_F(UsageSamplerTest, ATickTakesOneProcessSnapshotAndNoProcessList) {
  inspector_.AddProcess(5, "C:\\app.exe");
  Foreground(5);
  sampler_.Tick();
  const InspectionCounters counters = inspector_.Counters();
  EXPECT_EQ(counters.foreground_queries, 1u);
  EXPECT_EQ(counters.process_snapshots, 1u);
  EXPECT_EQ(counters.process_opens, 0u);
  EXPECT_EQ(counters.image_path_queries, 0u);
  EXPECT_EQ(counters.child_window_walks, 0u);
}

}  // namespace
}  // namespace velmora::tracking
