// TControl and TWinControl: the visible components.
//
// A control keeps all its state (bounds at 96 dpi, text, font, colours, children) in the
// object, so the code that uses it runs without a window. Its window, the peer, is made
// lazily by the platform when the control is shown or its handle is asked for; every
// setter then tells the peer what changed, and the peer mirrors it (scaled to the monitor's
// dpi). Input from the window comes back through the same public operations (Click,
// SetChecked ...) that code uses, so events are raised in one place.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/event.h"
#include "gui/graphics.h"
#include "gui/platform.h"

namespace velmora::gui {

class TWinControl;

// Virtual-key codes that portable code names (the platform's values).
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyF1 = 0x70;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

class TControl : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetLeft(int v) { SetBounds(v, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int v) { SetBounds(bounds_.left, v, bounds_.width, bounds_.height); }
  void SetWidth(int v) { SetBounds(bounds_.left, bounds_.top, v, bounds_.height); }
  void SetHeight(int v) { SetBounds(bounds_.left, bounds_.top, bounds_.width, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  Rect Bounds() const { return bounds_; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  // While on, the control uses its parent's font (and follows its changes).
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool parent_font);

  // Moves the control to the top (end) of its parent's child order.
  void BringToFront();
  void SendToBack();

  // Whether Enter keeps its own meaning on this control (push buttons, check boxes and
  // option buttons); elsewhere a form with TEnterAsTab moves the focus on Enter.
  virtual bool HandlesEnterKey() const { return false; }
  // Whether Tab stops at this control (when it is visible and enabled). Windowed controls
  // say so by TabStop; a label that acts, such as a link, says so itself.
  virtual bool IsTabStop() const { return false; }
  // Asks the platform to give the control the keyboard focus (nothing without a window).
  void SetFocus() { Changed(Change::kFocus); }

  // The window, made on first request (with the parent's); 0 without a platform window.
  std::uintptr_t Handle();
  bool HandleAllocated() const { return peer_ != nullptr; }
  ControlPeer* Peer() const { return peer_.get(); }
  void DestroyHandle();
  // Mirrors a change into the window, if there is one.
  void Changed(Change what) {
    if (peer_) peer_->Changed(what);
  }

  TNotifyEvent OnClick;
  // Released key (virtual-key code) while the control has the focus.
  Event<TObject&, int> OnKeyUp;
  // The user clicked the control (or code simulates it).
  virtual void Click() { OnClick(*this); }
  virtual void KeyUp(int key) { OnKeyUp(*this, key); }

 protected:
  virtual void CreateHandle();
  // Runs when the control is about to become visible, before its window shows.
  virtual void BeforeShow() {}
  void ParentFontChanged();

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  Rect bounds_;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string hint_;
  TColor color_ = clBtnFace;
  TFont font_;
  bool parent_font_ = true;
  bool applying_parent_font_ = false;
  std::unique_ptr<ControlPeer> peer_;
};

class TWinControl : public TControl {
  VELMORA_CLASS()

 public:
  explicit TWinControl(TComponent* owner) : TControl(owner) {}
  ~TWinControl() override;

  // Children in stacking order: the last one is on top.
  const std::vector<TControl*>& Controls() const { return controls_; }
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order) { tab_order_ = order; }
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool stop) { tab_stop_ = stop; }
  bool IsTabStop() const override { return tab_stop_; }
  void SetBounds(int left, int top, int width, int height) override;

  // The area in which children are placed, in the control's own coordinates.
  virtual Rect ClientRect() const { return {0, 0, Width(), Height()}; }
  // Places the aligned children (top, bottom, left, right, then client), in child order.
  void Realign();

 protected:
  void CreateHandle() override;

 private:
  friend class TControl;
  std::vector<TControl*> controls_;
  int tab_order_ = -1;
  bool tab_stop_ = false;
};

// The controls Tab visits inside `parent`, in order: children by TabOrder (controls without
// one after those with one, in child order), each followed by its own tab stops. Hidden or
// disabled controls and everything inside them are left out, so a page that is not in front
// takes no part.
std::vector<TControl*> TabStops(const TWinControl& parent);

}  // namespace velmora::gui
