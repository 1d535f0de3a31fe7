#include "gui/panel.h"

namespace velmora::gui {

const ClassInfo& TPanel::StaticClass() {
  using C = TPanel;
  static const ClassInfo info =
      MakeClass<C>("TPanel", TWinControl::StaticClass(),
                   {props::Enum<C, TBevelCut>("BevelOuter", "TBevelCut",
                                              {"bvNone", "bvLowered", "bvRaised", "bvSpace"},
                                              &C::BevelOuter, &C::SetBevelOuter)});
  return info;
}

const ClassInfo& TGroupBox::StaticClass() {
  static const ClassInfo info = MakeClass<TGroupBox>("TGroupBox", TWinControl::StaticClass(), {});
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
  if (bevel == bevel_outer_) return;
  bevel_outer_ = bevel;
  Changed(Change::kState);
}

}  // namespace velmora::gui
