// TLinkLabel: a label that opens its target (HREF) through the shell's "open" action when
// the left mouse button is pressed on it. Its text is underlined and the cursor over it is
// the hand. With AutoColors on, it is blue until visited and purple after; otherwise the
// two colour properties apply. Pressing does not mark it visited.
//
// Only web and mail links are opened: HREF can come from a language file, which anybody may
// write, and the shell would run a program, a script or a document just as readily.
#pragma once

#include <string_view>

#include "gui/label.h"

namespace velmora::gui {

// An "http:", "https:" or "mailto:" target (scheme letters in any case).
bool IsSafeLinkTarget(std::string_view target);

class TLinkLabel : public TLabel {
  VELMORA_CLASS()

 public:
  explicit TLinkLabel(TComponent* owner);
  const std::string& HREF() const { return href_; }
  void SetHREF(std::string href) { href_ = std::move(href); }
  bool Visited() const { return visited_; }
  void SetVisited(bool visited);
  bool AutoColors() const { return auto_colors_; }
  void SetAutoColors(bool auto_colors);
  TColor ColorUnvisited() const { return color_unvisited_; }
  void SetColorUnvisited(TColor color);
  TColor ColorVisited() const { return color_visited_; }
  void SetColorVisited(TColor color);
  // The colour the text is drawn in now.
  TColor LinkColor() const;
  // A link is reached with Tab and opened with Enter or Space, as on a web page.
  bool IsTabStop() const override { return !href_.empty(); }
  bool HandlesEnterKey() const override { return true; }

  // The left button went down on the label: OnMouseDown, then the shell opens HREF when it
  // is a safe link target; any other target is not opened.
  void Press();
  // Opens HREF when it is a safe link target (Enter or Space on a focused link).
  void Open();
  TNotifyEvent OnMouseDown;

 private:
  std::string href_;
  bool visited_ = false;
  bool auto_colors_ = true;
  TColor color_unvisited_ = clBlue;
  TColor color_visited_ = clPurple;
};

}  // namespace velmora::gui
