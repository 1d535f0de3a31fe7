// TCollection: an ordered list of items with published properties (list view columns,
// navigation-bar pages and buttons). Items are addressed by index from 0, as the property
// paths of language files do ("Columns.(0).Caption").
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "gui/object.h"

namespace velmora::gui {

class TCollection;

class TCollectionItem : public TPersistent {
  VELMORA_CLASS()

 public:
  explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}
  TCollection& Collection() const { return *collection_; }
  int Index() const;

 protected:
  // Items call this after a change that the owner of the collection must show.
  void Changed();

 private:
  TCollection* collection_;
};

class TCollection : public TPersistent {
  VELMORA_CLASS()

 public:
  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection&)>;
  explicit TCollection(ItemFactory factory) : factory_(std::move(factory)) {}

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem& Item(int index) const;  // EListError outside 0 .. Count()-1
  TCollectionItem& Add();
  void Delete(int index);  // EListError outside
  void Clear();

  // Told after any change of the list or of an item (the owning control redraws).
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }
  void Changed() const {
    if (on_change_) on_change_();
  }

 private:
  friend class TCollectionItem;
  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  std::function<void()> on_change_;
};

// A collection of items of class T, with typed access.
template <class T>
class TCollectionOf : public TCollection {
 public:
  TCollectionOf()
      : TCollection([](TCollection& c) -> std::unique_ptr<TCollectionItem> {
          return std::make_unique<T>(c);
        }) {}
  T& operator[](int index) const { return static_cast<T&>(Item(index)); }
  T& Add() { return static_cast<T&>(TCollection::Add()); }
};

}  // namespace velmora::gui
