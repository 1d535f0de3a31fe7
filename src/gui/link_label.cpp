#include "gui/link_label.h"

#include "core/text.h"

namespace velmora::gui {

bool IsSafeLinkTarget(std::string_view target) {
  for (const std::string_view scheme : {"http:", "https:", "mailto:"}) {
    if (target.size() >= scheme.size() && AsciiEqualNoCase(target.substr(0, scheme.size()), scheme))
      return true;
  }
  return false;
}

const ClassInfo& TLinkLabel::StaticClass() {
  using C = TLinkLabel;
  static const ClassInfo info =
      MakeClass<C>("TLinkLabel", TLabel::StaticClass(),
                   {props::Text<C>("HREF", &C::HREF, &C::SetHREF),
                    props::Boolean<C>("Visited", &C::Visited, &C::SetVisited),
                    props::Boolean<C>("AutoColors", &C::AutoColors, &C::SetAutoColors),
                    props::Color<C>("ColorUnvisited", &C::ColorUnvisited, &C::SetColorUnvisited),
                    props::Color<C>("ColorVisited", &C::ColorVisited, &C::SetColorVisited),
                    props::Event("OnMouseDown", "TMouseEvent")});
  return info;
}

// The text is underlined when drawn, whatever the font, so the parent's font can be kept.
TLinkLabel::TLinkLabel(TComponent* owner) : TLabel(owner) {}

void TLinkLabel::SetVisited(bool visited) {
  visited_ = visited;
  Changed(Change::kState);
}

void TLinkLabel::SetAutoColors(bool auto_colors) {
  auto_colors_ = auto_colors;
  Changed(Change::kState);
}

void TLinkLabel::SetColorUnvisited(TColor color) {
  color_unvisited_ = color;
  Changed(Change::kState);
}

void TLinkLabel::SetColorVisited(TColor color) {
  color_visited_ = color;
  Changed(Change::kState);
}

TColor TLinkLabel::LinkColor() const {
  if (auto_colors_) return visited_ ? clPurple : clBlue;
  return visited_ ? color_visited_ : color_unvisited_;
}

void TLinkLabel::Press() {
  OnMouseDown(*this);
  Open();
}

void TLinkLabel::Open() {
  if (IsSafeLinkTarget(href_)) Platform().OpenInShell(href_);
}

}  // namespace velmora::gui
