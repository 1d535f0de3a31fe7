// TImageList: icons of one size, only ever appended (the Applications page adds one per new
// row). The pictures live in the platform's image list; the object counts them.
#pragma once

#include <memory>

#include "gui/component.h"
#include "gui/platform.h"

namespace velmora::gui {

class TImageList : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TImageList(TComponent* owner) : TComponent(owner) {}
  int Width() const { return width_; }
  void SetWidth(int width);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Count() const { return count_; }
  // Appends a copy of the icon (a platform icon handle) and returns its index.
  int AddIcon(std::uintptr_t icon);
  // The platform image list (0 headless); made on first use, at the current size.
  std::uintptr_t Handle();

 private:
  int width_ = 16;
  int height_ = 16;
  int count_ = 0;
  std::unique_ptr<ImageStore> store_;
};

}  // namespace velmora::gui
