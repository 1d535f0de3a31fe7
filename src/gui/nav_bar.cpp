#include "gui/nav_bar.h"

namespace velmora::gui {

const ClassInfo& TNavBarButton::StaticClass() {
  using C = TNavBarButton;
  static const ClassInfo info =
      MakeClass<C>("TNavBarButton", TCollectionItem::StaticClass(),
                   {props::Text<C>("Caption", &C::Caption, &C::SetCaption),
                    props::Boolean<C>("Down", &C::Down, &C::SetDown), props::Event("OnClick")});
  return info;
}

const ClassInfo& TNavBarPage::StaticClass() {
  using C = TNavBarPage;
  static const ClassInfo info =
      MakeClass<C>("TNavBarPage", TCollectionItem::StaticClass(),
                   {props::Text<C>("Caption", &C::Caption, &C::SetCaption),
                    props::Object<C>("Buttons", "TNavBarButtons",
                                     [](C& c) -> TPersistent* { return &c.Buttons(); })});
  return info;
}

const ClassInfo& TNavBar::StaticClass() {
  using C = TNavBar;
  static const ClassInfo info = MakeClass<C>(
      "TNavBar", TWinControl::StaticClass(),
      {props::Object<C>("Pages", "TNavBarPages", [](C& c) -> TPersistent* { return &c.Pages(); }),
       props::Integer<C>("ButtonHeight", &C::ButtonHeight, &C::SetButtonHeight)});
  return info;
}

void TNavBarButton::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

void TNavBarButton::SetDown(bool down) {
  if (down) {
    auto& buttons = static_cast<TCollectionOf<TNavBarButton>&>(Collection());
    for (int i = 0; i < buttons.Count(); ++i) buttons[i].down_ = false;
  }
  down_ = down;
  Changed();
}

TNavBarPage::TNavBarPage(TCollection& collection) : TCollectionItem(collection) {
  buttons_.SetOnChange([this] { Changed(); });
}

void TNavBarPage::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

TNavBar::TNavBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 130, 300);
  SetTabStop(true);
  pages_.SetOnChange([this] { Changed(Change::kItems); });
}

void TNavBar::SetButtonHeight(int height) {
  button_height_ = height;
  Changed(Change::kItems);
}

TNavBarButton* TNavBar::ButtonAt(int x, int y) const {
  y -= kTopPadding;
  if (pages_.Count() == 0 || x < 0 || x >= Width() || y < 0 || button_height_ <= 0) return nullptr;
  auto& buttons = pages_[0].Buttons();
  const int index = y / button_height_;
  return index < buttons.Count() ? &buttons[index] : nullptr;
}

}  // namespace velmora::gui
