#include "gui/spin_edit.h"

#include <algorithm>
#include <charconv>

namespace velmora::gui {

const ClassInfo& TSpinEdit::StaticClass() {
  using C = TSpinEdit;
  static const ClassInfo info = MakeClass<C>(
      "TSpinEdit", TWinControl::StaticClass(),
      {props::Integer<C>("Value", &C::Value, &C::SetValue),
       props::Integer<C>("MinValue", &C::MinValue, &C::SetMinValue),
       props::Integer<C>("MaxValue", &C::MaxValue, &C::SetMaxValue),
       props::Integer<C>("Increment", &C::Increment, &C::SetIncrement), props::Event("OnChange")});
  return info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 22);
  SetTabStop(true);
}

int TSpinEdit::Clamp(int value) const {
  return max_ > min_ ? std::clamp(value, min_, max_) : value;
}

void TSpinEdit::SetValue(int value) {
  value = Clamp(value);
  if (value == value_) {
    Changed(Change::kState);  // the window may show a typed text that was clamped away
    return;
  }
  value_ = value;
  Changed(Change::kState);
  OnChange(*this);
}

void TSpinEdit::SetMinValue(int value) {
  min_ = value;
  SetValue(value_);
}

void TSpinEdit::SetMaxValue(int value) {
  max_ = value;
  SetValue(value_);
}

void TSpinEdit::SetValueFromText(std::string_view text) {
  long long parsed = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, parsed);
  if (text.empty() || end != last || error == std::errc::invalid_argument) {
    Changed(Change::kState);
    return;
  }
  // A number too large for an int is still a number above the upper limit.
  if (error == std::errc::result_out_of_range) parsed = text.front() == '-' ? INT32_MIN : INT32_MAX;
  parsed = std::clamp<long long>(parsed, INT32_MIN, INT32_MAX);
  SetValue(static_cast<int>(parsed));
}

}  // namespace velmora::gui
