#include "gui/image.h"

namespace velmora::gui {

const ClassInfo& TPicture::StaticClass() {
  using C = TPicture;
  static const ClassInfo info =
      MakeClass<C>("TPicture", TPersistent::StaticClass(),
                   {props::Text<C>("ResourceName", &C::ResourceName, &C::SetResourceName)});
  return info;
}

const ClassInfo& TImage::StaticClass() {
  using C = TImage;
  static const ClassInfo info = MakeClass<C>(
      "TImage", TControl::StaticClass(),
      {props::Object<C>("Picture", "TPicture", [](C& c) -> TPersistent* { return &c.Picture(); }),
       props::Boolean<C>("Stretch", &C::Stretch, &C::SetStretch),
       props::Boolean<C>("Center", &C::Center, &C::SetCenter),
       props::Boolean<C>("Transparent", &C::Transparent, &C::SetTransparent)});
  return info;
}

void TPicture::SetResourceName(std::string name) {
  resource_ = std::move(name);
  pixels_.clear();
  width_ = height_ = 0;
  if (on_change_) on_change_();
}

void TPicture::SetPixels(int width, int height, std::vector<std::uint32_t> argb) {
  if (width < 0 || height < 0 ||
      argb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    width = height = 0;
    argb.clear();
  }
  resource_.clear();
  width_ = width;
  height_ = height;
  pixels_ = std::move(argb);
  if (on_change_) on_change_();
}

TImage::TImage(TComponent* owner) : TControl(owner) {
  SetBounds(0, 0, 105, 105);
  picture_.SetOnChange([this] { Changed(Change::kState); });
}

void TImage::SetStretch(bool stretch) {
  stretch_ = stretch;
  Changed(Change::kState);
}

void TImage::SetCenter(bool center) {
  center_ = center;
  Changed(Change::kState);
}

}  // namespace velmora::gui
