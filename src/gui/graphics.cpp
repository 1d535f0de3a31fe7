#include "gui/graphics.h"

namespace velmora::gui {

const ClassInfo& TFont::StaticClass() {
  static const ClassInfo info =
      MakeClass<TFont>("TFont", TPersistent::StaticClass(),
                       {props::Text<TFont>("Name", &TFont::Name, &TFont::SetName),
                        props::Integer<TFont>("Height", &TFont::Height, &TFont::SetHeight),
                        props::Integer<TFont>("Size", &TFont::Size, &TFont::SetSize),
                        props::Set<TFont>("Style", "TFontStyles",
                                          {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
                                          &TFont::Style, &TFont::SetStyle),
                        props::Color<TFont>("Color", &TFont::Color, &TFont::SetColor)});
  return info;
}

void TFont::SetName(std::string name) {
  if (name == name_) return;
  name_ = std::move(name);
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const {
  const int h = height_ < 0 ? -height_ : height_;
  return (h * 72 + 48) / 96;
}

void TFont::SetSize(int points) {
  SetHeight(-((points * 96 + 36) / 72));
}

void TFont::SetStyle(std::uint32_t style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::Assign(const TFont& other) {
  if (*this == other) return;
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  Changed();
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_;
}

}  // namespace velmora::gui
