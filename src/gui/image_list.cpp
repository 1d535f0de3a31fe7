#include "gui/image_list.h"

namespace velmora::gui {

const ClassInfo& TImageList::StaticClass() {
  using C = TImageList;
  static const ClassInfo info =
      MakeClass<C>("TImageList", TComponent::StaticClass(),
                   {props::Integer<C>("Width", &C::Width, &C::SetWidth),
                    props::Integer<C>("Height", &C::Height, &C::SetHeight)});
  return info;
}

// The size can change only while the list is empty: the platform list is made for one size.
void TImageList::SetWidth(int width) {
  if (count_ == 0) {
    width_ = width;
    store_.reset();
  }
}

void TImageList::SetHeight(int height) {
  if (count_ == 0) {
    height_ = height;
    store_.reset();
  }
}

int TImageList::AddIcon(std::uintptr_t icon) {
  Handle();
  if (store_) store_->AddIcon(icon);
  return count_++;
}

std::uintptr_t TImageList::Handle() {
  if (!store_) store_ = Platform().CreateImageStore(width_, height_);
  return store_ ? store_->Handle() : 0;
}

}  // namespace velmora::gui
