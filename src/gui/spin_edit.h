// TSpinEdit: a whole number between limits, typed or stepped with up and down buttons.
//
// A value outside the limits, typed or set, is brought to the nearest limit at once; OnChange
// is raised only when the value differs from the previous one.
#pragma once

#include <string_view>

#include "gui/control.h"

namespace velmora::gui {

class TSpinEdit : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TSpinEdit(TComponent* owner);
  int Value() const { return value_; }
  void SetValue(int value);
  // Limits apply only when MaxValue is above MinValue (equal limits mean "no limits").
  int MinValue() const { return min_; }
  void SetMinValue(int value);
  int MaxValue() const { return max_; }
  void SetMaxValue(int value);
  int Increment() const { return increment_; }
  void SetIncrement(int step) { increment_ = step; }
  // Typed text: a whole decimal number becomes the (clamped) value; anything else leaves
  // the value as it is. The window shows the value again either way.
  void SetValueFromText(std::string_view text);
  void StepUp() { SetValue(value_ + increment_); }
  void StepDown() { SetValue(value_ - increment_); }
  int Clamp(int value) const;

  TNotifyEvent OnChange;

 private:
  int value_ = 0;
  int min_ = 0;
  int max_ = 0;
  int increment_ = 1;
};

}  // namespace velmora::gui
