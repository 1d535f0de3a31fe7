#include "tracking/usage_sampler.h"

namespace velmora::tracking {

bool UsageSampler::SetIntervalSeconds(std::int64_t seconds) {
  if (seconds <= 0) return false;
  const std::uint32_t ms =
      seconds > kMaxIntervalMs / 1000 ? kMaxIntervalMs : static_cast<std::uint32_t>(seconds * 1000);
  if (ms == interval_ms_) return false;
  interval_ms_ = ms;
  return true;
}

TickResult UsageSampler::Tick(const ProcessSnapshot& processes) {
  TickResult result;
  const std::optional<ForegroundProcess> foreground =
      ResolveForegroundProcess(inspector_, processes);
  if (!foreground) {
    result.outcome = TickResult::Outcome::kNoForegroundWindow;
    return result;
  }
  result.name = foreground->name;
  if (result.name == kSystemProcessName) {
    result.outcome = TickResult::Outcome::kSystemProcess;
    result.refresh_pages = false;
    return result;
  }
  if (result.name.empty()) {
    result.outcome = TickResult::Outcome::kNoProcessName;
    return result;
  }
  result.seconds = static_cast<std::int32_t>(interval_ms_ / 1000);
  ledger_.AddProcessTime(result.name, result.seconds);
  result.outcome = TickResult::Outcome::kCredited;
  return result;
}

}  // namespace velmora::tracking
