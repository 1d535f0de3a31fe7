// Self-measurement for footprint runs: with the environment variable VELMORA_DIAG set to a
// file path, Velmora appends one line of its own figures every VELMORA_DIAG_EVERY ticks
// (60 by default): ticks so far, mean and longest tick time, private memory, the handle
// count (as the system reports it, and counted by probing handle values, which is what
// works under Wine), GDI and USER objects, images in the icon list and rows on the
// Applications page.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace velmora::app {

class DiagnosticsLog {
 public:
  // Null when VELMORA_DIAG is not set.
  static std::unique_ptr<DiagnosticsLog> FromEnvironment();
  DiagnosticsLog(std::wstring path, int every);

  void TickDone(std::chrono::steady_clock::duration took, int images, int rows);

 private:
  void Write(int images, int rows);

  std::wstring path_;
  int every_;
  std::uint64_t ticks_ = 0;
  std::chrono::steady_clock::duration total_{};
  std::chrono::steady_clock::duration longest_{};
};

}  // namespace velmora::app
