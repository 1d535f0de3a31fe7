#include "tracking/process_inspector.h"

#include "core/text.h"

namespace velmora::tracking {

std::optional<ForegroundProcess> ResolveForegroundProcess(ProcessInspector& inspector,
                                                          const ProcessSnapshot& processes) {
  const std::optional<ForegroundWindow> foreground = inspector.GetForegroundWindowOwner();
  if (!foreground) return std::nullopt;
  ForegroundProcess result{foreground->process_id,
                           processes.NameOf(foreground->process_id)};
  if (AsciiEqualNoCase(result.name, kApplicationFrameHost)) {
    if (const auto hosted = inspector.GetForeignChildProcess(foreground->window, result.id)) {
      std::string hosted_name = processes.NameOf(*hosted);
      if (!hosted_name.empty()) result = {*hosted, std::move(hosted_name)};
    }
  }
  return result;
}

}  // namespace velmora::tracking
