// TLabel: static text, optionally word-wrapped within its fixed width.
#pragma once

#include "gui/control.h"

namespace velmora::gui {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TControl {
  VELMORA_CLASS()

 public:
  explicit TLabel(TComponent* owner);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool wrap);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size) { auto_size_ = auto_size; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

 private:
  bool word_wrap_ = false;
  bool auto_size_ = true;
  bool transparent_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

}  // namespace velmora::gui
