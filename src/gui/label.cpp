#include "gui/label.h"

namespace velmora::gui {

const ClassInfo& TLabel::StaticClass() {
  using C = TLabel;
  static const ClassInfo info =
      MakeClass<C>("TLabel", TControl::StaticClass(),
                   {props::Boolean<C>("WordWrap", &C::WordWrap, &C::SetWordWrap),
                    props::Boolean<C>("AutoSize", &C::AutoSize, &C::SetAutoSize),
                    props::Boolean<C>("Transparent", &C::Transparent, &C::SetTransparent),
                    props::Enum<C, TAlignment>("Alignment", "TAlignment",
                                               {"taLeftJustify", "taRightJustify", "taCenter"},
                                               &C::Alignment, &C::SetAlignment)});
  return info;
}

TLabel::TLabel(TComponent* owner) : TControl(owner) {
  SetBounds(0, 0, 65, 13);
}

void TLabel::SetWordWrap(bool wrap) {
  if (wrap == word_wrap_) return;
  word_wrap_ = wrap;
  Changed(Change::kState);
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed(Change::kColor);
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed(Change::kState);
}

}  // namespace velmora::gui
