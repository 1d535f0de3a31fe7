// TComponent: named objects with an owner that destroys them.
//
// A component created with an owner is registered with it and deleted by it; deleting it
// earlier removes it from the owner. Components referring to each other (a list view and its
// image list) ask for free notification, so a reference never outlives its target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gui/errors.h"
#include "gui/object.h"

namespace velmora::gui {

enum class Operation { kInsert, kRemove };

class TComponent : public TPersistent {
  VELMORA_CLASS()

 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  const std::string& Name() const { return name_; }
  // Raises EComponentError for a name that is not an identifier or is taken in the owner
  // (ignoring ASCII case). An empty name is allowed and never collides.
  void SetName(std::string name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent& Component(int index) const;  // EListError outside 0 .. count-1
  const std::vector<TComponent*>& Components() const { return components_; }
  // Among the components this one owns directly; ASCII case ignored; null if none.
  TComponent* FindComponent(std::string_view name) const;
  // FindComponent that must succeed with class T (programming error otherwise).
  template <class T>
  T& Get(std::string_view name) const;

  // Creates a component of class T owned by this one.
  template <class T>
  T& Create(std::string name = {}) {
    auto* c = new T(this);
    try {
      c->SetName(std::move(name));
    } catch (...) {
      delete c;
      throw;
    }
    return *c;
  }

  // `other` will be told (Notification kRemove) when this component goes, and vice versa.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  bool Destroying() const { return destroying_; }

  // Deletes all owned components, last first.
  void DestroyComponents();

 protected:
  // Told when a component is inserted into or removed from this owner, and when a component
  // this one asked to be told about is destroyed.
  virtual void Notification(TComponent& component, Operation operation) {}

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  std::string name_;
  int tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
  bool destroying_ = false;
};

bool IsValidIdent(std::string_view name);

template <class T>
T& TComponent::Get(std::string_view name) const {
  TComponent* c = FindComponent(name);
  if (!c || !c->Is<T>()) {
    throw EComponentError("component '" + std::string(name) + "' of class " +
                          T::StaticClass().name + " missing in " + name_);
  }
  return static_cast<T&>(*c);
}

}  // namespace velmora::gui
