#include "gui/enter_as_tab.h"

namespace velmora::gui {

const ClassInfo& TEnterAsTab::StaticClass() {
  using C = TEnterAsTab;
  static const ClassInfo info =
      MakeClass<C>("TEnterAsTab", TComponent::StaticClass(),
                   {props::Boolean<C>("Enabled", &C::Enabled, &C::SetEnabled)});
  return info;
}

TEnterAsTab* FindEnterAsTab(const TComponent& form) {
  for (TComponent* c : form.Components()) {
    if (c->Is<TEnterAsTab>()) return static_cast<TEnterAsTab*>(c);
  }
  return nullptr;
}

}  // namespace velmora::gui
