#include "gui/collection.h"

#include <algorithm>
#include <string>

#include "gui/errors.h"

namespace velmora::gui {

const ClassInfo& TCollectionItem::StaticClass() {
  static const ClassInfo info =
      MakeClass<TCollectionItem>("TCollectionItem", TPersistent::StaticClass(), {});
  return info;
}

const ClassInfo& TCollection::StaticClass() {
  static const ClassInfo info =
      MakeClass<TCollection>("TCollection", TPersistent::StaticClass(), {});
  return info;
}

int TCollectionItem::Index() const {
  const auto& items = collection_->items_;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].get() == this) return static_cast<int>(i);
  }
  return -1;
}

void TCollectionItem::Changed() {
  collection_->Changed();
}

TCollectionItem& TCollection::Item(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
  return *items_[static_cast<std::size_t>(index)];
}

TCollectionItem& TCollection::Add() {
  items_.push_back(factory_(*this));
  Changed();
  return *items_.back();
}

void TCollection::Delete(int index) {
  Item(index);
  items_.erase(items_.begin() + index);
  Changed();
}

void TCollection::Clear() {
  items_.clear();
  Changed();
}

}  // namespace velmora::gui
