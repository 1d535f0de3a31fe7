// TNavBar: a column of large caption buttons on pages (Velmora uses one page).
//
// Pages and their buttons are collections, so a language file reaches a button's caption
// as NavBar1.Pages.(0).Buttons.(0).Caption. A click only raises the button's OnClick; the
// handler presses the button (SetDown), which releases the others of its page.
#pragma once

#include "gui/collection.h"
#include "gui/control.h"

namespace velmora::gui {

class TNavBarButton : public TCollectionItem {
  VELMORA_CLASS()

 public:
  explicit TNavBarButton(TCollection& collection) : TCollectionItem(collection) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Down() const { return down_; }
  // Pressing releases every other button of the page.
  void SetDown(bool down);
  void Click() { OnClick(*this); }
  TNotifyEvent OnClick;

 private:
  std::string caption_;
  bool down_ = false;
};

class TNavBarPage : public TCollectionItem {
  VELMORA_CLASS()

 public:
  explicit TNavBarPage(TCollection& collection);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  TCollectionOf<TNavBarButton>& Buttons() { return buttons_; }
  const TCollectionOf<TNavBarButton>& Buttons() const { return buttons_; }

 private:
  std::string caption_;
  TCollectionOf<TNavBarButton> buttons_;
};

class TNavBar : public TWinControl {
  VELMORA_CLASS()

 public:
  // Space above the first button, at 96 dpi.
  static constexpr int kTopPadding = 10;

  explicit TNavBar(TComponent* owner);
  TCollectionOf<TNavBarPage>& Pages() { return pages_; }
  const TCollectionOf<TNavBarPage>& Pages() const { return pages_; }
  // Height of one button at 96 dpi.
  int ButtonHeight() const { return button_height_; }
  void SetButtonHeight(int height);
  // The button at a point of the first page (96-dpi client coordinates), or null.
  TNavBarButton* ButtonAt(int x, int y) const;
  // Enter clicks the marked button, as Space does.
  bool HandlesEnterKey() const override { return true; }

 private:
  TCollectionOf<TNavBarPage> pages_;
  int button_height_ = 44;
};

}  // namespace velmora::gui
