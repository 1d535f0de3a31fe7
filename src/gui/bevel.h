// TBevel: a line or frame drawn with the system's 3-D edge.
#pragma once

#include "gui/control.h"

namespace velmora::gui {

enum class TBevelShape {
  bsBox,
  bsFrame,
  bsTopLine,
  bsBottomLine,
  bsLeftLine,
  bsRightLine,
  bsSpacer
};
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TControl {
  VELMORA_CLASS()

 public:
  explicit TBevel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 50, 50); }
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style);

 private:
  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

}  // namespace velmora::gui
