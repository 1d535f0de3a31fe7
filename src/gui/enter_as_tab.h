// TEnterAsTab: placed on a form, it makes Enter move the focus to the next control as Tab
// does, except on push buttons, check boxes and option buttons, where Enter keeps its
// usual meaning.
#pragma once

#include "gui/component.h"
#include "gui/control.h"

namespace velmora::gui {

class TEnterAsTab : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TEnterAsTab(TComponent* owner) : TComponent(owner) {}
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // Whether Enter pressed while `focused` has the focus moves the focus on.
  bool MovesFocus(const TControl* focused) const {
    return enabled_ && focused && !focused->HandlesEnterKey();
  }

 private:
  bool enabled_ = true;
};

// The TEnterAsTab that `form` owns, or null.
TEnterAsTab* FindEnterAsTab(const TComponent& form);

}  // namespace velmora::gui
