#include "gui/control.h"

#include <algorithm>
#include <cstdint>

namespace velmora::gui {

namespace {

std::vector<std::string> AlignMembers() {
  return {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
}

}  // namespace

const ClassInfo& TControl::StaticClass() {
  using C = TControl;
  static const ClassInfo info = MakeClass<C>(
      "TControl", TComponent::StaticClass(),
      {props::Integer<C>("Left", &C::Left, &C::SetLeft),
       props::Integer<C>("Top", &C::Top, &C::SetTop),
       props::Integer<C>("Width", &C::Width, &C::SetWidth),
       props::Integer<C>("Height", &C::Height, &C::SetHeight),
       props::Enum<C, TAlign>("Align", "TAlign", AlignMembers(), &C::Align, &C::SetAlign),
       props::Boolean<C>("Visible", &C::Visible, &C::SetVisible),
       props::Boolean<C>("Enabled", &C::Enabled, &C::SetEnabled),
       props::Text<C>("Caption", &C::Caption, &C::SetCaption),
       props::Text<C>("Hint", &C::Hint, &C::SetHint),
       props::Color<C>("Color", &C::Color, &C::SetColor),
       props::Object<C>("Font", "TFont", [](C& c) -> TPersistent* { return &c.Font(); }),
       props::Boolean<C>("ParentFont", &C::ParentFont, &C::SetParentFont), props::Event("OnClick"),
       props::Event("OnKeyUp", "TKeyEvent")});
  return info;
}

const ClassInfo& TWinControl::StaticClass() {
  using C = TWinControl;
  static const ClassInfo info =
      MakeClass<C>("TWinControl", TControl::StaticClass(),
                   {props::Integer<C>("TabOrder", &C::TabOrder, &C::SetTabOrder),
                    props::Boolean<C>("TabStop", &C::TabStop, &C::SetTabStop)});
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.SetOnChange([this] {
    if (!applying_parent_font_) parent_font_ = false;
    Changed(Change::kFont);
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
      for (TControl* child : self->controls_) child->ParentFontChanged();
    }
  });
}

TControl::~TControl() {
  DestroyHandle();
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    DestroyHandle();
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (align_ != TAlign::alNone) parent_->Realign();
  }
  parent_ = parent;
  if (parent_) {
    parent_->controls_.push_back(this);
    ParentFontChanged();
    if (align_ != TAlign::alNone) parent_->Realign();
    // A child added to a parent that has its window gets one at once.
    if (parent_->HandleAllocated()) CreateHandle();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const Rect r{left, top, width, height};
  if (r == bounds_) return;
  bounds_ = r;
  Changed(Change::kBounds);
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (visible_) BeforeShow();
  if (visible_ && !peer_ && (!parent_ || parent_->HandleAllocated())) CreateHandle();
  Changed(Change::kVisible);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Change::kEnabled);
}

void TControl::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Change::kText);
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed(Change::kColor);
}

void TControl::SetParentFont(bool parent_font) {
  parent_font_ = parent_font;
  if (parent_font_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_font_ || !parent_) return;
  applying_parent_font_ = true;
  font_.Assign(parent_->Font());
  applying_parent_font_ = false;
}

void TControl::BringToFront() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
  }
  Changed(Change::kZOrder);
}

void TControl::SendToBack() {
  if (parent_) {
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
  }
  Changed(Change::kZOrder);
}

std::uintptr_t TControl::Handle() {
  if (!peer_) {
    if (parent_ && !parent_->HandleAllocated()) parent_->Handle();
    if (!peer_) CreateHandle();
  }
  return peer_ ? peer_->Handle() : 0;
}

void TControl::CreateHandle() {
  if (!peer_) peer_ = Platform().CreatePeer(*this);
}

void TControl::DestroyHandle() {
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    for (TControl* child : self->controls_) child->DestroyHandle();
  }
  peer_.reset();
}

TWinControl::~TWinControl() {
  // Children that belong to other owners still go with their parent, as their windows do.
  while (!controls_.empty()) delete controls_.back();
}

void TWinControl::CreateHandle() {
  TControl::CreateHandle();
  if (!HandleAllocated()) return;
  for (TControl* child : controls_) child->CreateHandle();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  const bool resized = width != Width() || height != Height();
  TControl::SetBounds(left, top, width, height);
  if (resized) Realign();
}

void TWinControl::Realign() {
  Rect area = ClientRect();
  const auto place = [&](TAlign which) {
    for (TControl* c : controls_) {
      if (c->align_ != which || !c->visible_) continue;
      Rect b = c->bounds_;
      switch (which) {
        case TAlign::alTop:
          b = {area.left, area.top, area.width, b.height};
          area.top += b.height;
          area.height -= b.height;
          break;
        case TAlign::alBottom:
          b = {area.left, area.top + area.height - b.height, area.width, b.height};
          area.height -= b.height;
          break;
        case TAlign::alLeft:
          b = {area.left, area.top, b.width, area.height};
          area.left += b.width;
          area.width -= b.width;
          break;
        case TAlign::alRight:
          b = {area.left + area.width - b.width, area.top, b.width, area.height};
          area.width -= b.width;
          break;
        default:
          b = area;
          break;
      }
      c->SetBounds(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
    }
  };
  for (TAlign a :
       {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    place(a);
  }
}

namespace {

void CollectTabStops(const TWinControl& parent, std::vector<TControl*>& out) {
  std::vector<TControl*> children(parent.Controls());
  const auto order = [](const TControl* c) {
    const auto* w = dynamic_cast<const TWinControl*>(c);
    return w && w->TabOrder() >= 0 ? w->TabOrder() : INT32_MAX;
  };
  std::stable_sort(children.begin(), children.end(),
                   [&](const TControl* a, const TControl* b) { return order(a) < order(b); });
  for (TControl* c : children) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->IsTabStop()) out.push_back(c);
    if (const auto* w = dynamic_cast<const TWinControl*>(c)) CollectTabStops(*w, out);
  }
}

}  // namespace

std::vector<TControl*> TabStops(const TWinControl& parent) {
  std::vector<TControl*> stops;
  CollectTabStops(parent, stops);
  return stops;
}

}  // namespace velmora::gui
