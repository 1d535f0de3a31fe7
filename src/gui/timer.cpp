#include "gui/timer.h"

#include "gui/application.h"

namespace velmora::gui {

const ClassInfo& TTimer::StaticClass() {
  using C = TTimer;
  static const ClassInfo info =
      MakeClass<C>("TTimer", TComponent::StaticClass(),
                   {props::Boolean<C>("Enabled", &C::Enabled, &C::SetEnabled),
                    props::Integer<C>("Interval", &C::IntervalInt, &C::SetIntervalInt),
                    props::Event("OnTimer")});
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  Update();
}

TTimer::~TTimer() {
  running_.reset();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::Update() {
  // The old platform timer goes first, so a new interval counts from now.
  running_.reset();
  if (enabled_ && interval_ > 0) {
    running_ = Platform().StartTimer(interval_, [this] { DispatchGuarded([this] { Tick(); }); });
  }
}

}  // namespace velmora::gui
