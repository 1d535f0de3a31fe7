#include "gui/bevel.h"

namespace velmora::gui {

const ClassInfo& TBevel::StaticClass() {
  using C = TBevel;
  static const ClassInfo info =
      MakeClass<C>("TBevel", TControl::StaticClass(),
                   {props::Enum<C, TBevelShape>("Shape", "TBevelShape",
                                                {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine",
                                                 "bsLeftLine", "bsRightLine", "bsSpacer"},
                                                &C::Shape, &C::SetShape),
                    props::Enum<C, TBevelStyle>("Style", "TBevelStyle", {"bsLowered", "bsRaised"},
                                                &C::Style, &C::SetStyle)});
  return info;
}

void TBevel::SetShape(TBevelShape shape) {
  shape_ = shape;
  Changed(Change::kState);
}

void TBevel::SetStyle(TBevelStyle style) {
  style_ = style;
  Changed(Change::kState);
}

}  // namespace velmora::gui
