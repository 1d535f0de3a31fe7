// TTimer: raises OnTimer every Interval milliseconds while Enabled. Changing the interval
// restarts the count. Ticks run under the application's error handler.
#pragma once

#include <memory>

#include "gui/component.h"
#include "gui/event.h"
#include "gui/platform.h"

namespace velmora::gui {

class TTimer : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  int IntervalInt() const { return static_cast<int>(interval_); }
  void SetIntervalInt(int interval) {
    SetInterval(interval < 0 ? 0 : static_cast<unsigned>(interval));
  }
  bool Running() const { return running_ != nullptr; }
  // One tick: OnTimer (what the platform timer calls).
  void Tick() { OnTimer(*this); }

  TNotifyEvent OnTimer;

 private:
  void Update();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  std::unique_ptr<Timer> running_;
};

}  // namespace velmora::gui
