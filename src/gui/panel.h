// TPanel: a container; page panels are stacked and brought to the front.
#pragma once

#include "gui/control.h"

namespace velmora::gui {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut bevel);

 private:
  TBevelCut bevel_outer_ = TBevelCut::bvRaised;
};

// A frame with a caption around a group of controls (it does not group option buttons:
// they are grouped by their parent).
class TGroupBox : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }
};

}  // namespace velmora::gui
