// The refresh tick: once per refresh interval the process that owns the foreground window
// is credited with the whole interval, in seconds. Measurement is by sampling: whatever is
// in the foreground at the tick gets the interval, whatever was there between ticks does
// not. The timer itself belongs to whoever drives the sampler (the main window, the console
// tool); the sampler keeps its interval and tells the driver when to restart it.
#pragma once

#include <cstdint>
#include <string>

#include "tracking/process_inspector.h"
#include "tracking/usage_ledger.h"

namespace velmora::tracking {

// The pseudo-process that the snapshot reports for process ID 0 (the idle loop).
inline constexpr std::string_view kSystemProcessName = "[System Process]";

struct TickResult {
  enum class Outcome {
    kCredited,            // a named process was credited
    kNoProcessName,       // no process has the foreground ID, or none could be listed
    kNoForegroundWindow,  // no window has the foreground, or its owner is unknown
    kSystemProcess,       // the idle pseudo-process: the tick is skipped entirely
  };
  Outcome outcome = Outcome::kNoForegroundWindow;
  std::string name;           // the name as the process snapshot gave it
  std::int32_t seconds = 0;   // what was credited (interval div 1000)
  bool refresh_pages = true;  // whether the Applications and Statistics pages refresh now
};

class UsageSampler {
 public:
  static constexpr std::uint32_t kDefaultIntervalMs = 1000;
  // The longest interval a message-loop timer accepts (USER_TIMER_MAXIMUM).
  static constexpr std::uint32_t kMaxIntervalMs = 0x7FFFFFFF;

  UsageSampler(UsageLedger& ledger, ProcessInspector& inspector)
      : ledger_(ledger), inspector_(inspector) {}

  std::uint32_t IntervalMs() const { return interval_ms_; }

  // The refresh-interval control's rule: a value v > 0, in whole seconds, sets the interval
  // to v x 1000 ms (capped at kMaxIntervalMs); 0 or less leaves it unchanged. Returns true
  // when the interval changed, in which case the driver restarts its timer so that the
  // next tick comes one full new interval later.
  bool SetIntervalSeconds(std::int64_t seconds);

  // One tick: credits the foreground process with IntervalMs() div 1000 seconds and says
  // whether the pages refresh. The pages refresh after every tick except one whose
  // foreground is "[System Process]" (exact, case-sensitive), including a tick with no
  // foreground window: what the pages show of running applications changes whether or not
  // anything was credited (a locked workstation has no foreground window, yet applications
  // start and stop). Names come from `processes`, a walk the caller took for this tick and
  // hands on to the pages, so that a tick walks the process table once.
  TickResult Tick(const ProcessSnapshot& processes);
  // The same with a walk of its own, for a driver that has no pages.
  TickResult Tick() { return Tick(inspector_.TakeSnapshot()); }

 private:
  UsageLedger& ledger_;
  ProcessInspector& inspector_;
  std::uint32_t interval_ms_ = kDefaultIntervalMs;
};

}  // namespace velmora::tracking
