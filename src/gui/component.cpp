#include "gui/component.h"

#include <algorithm>

#include "core/text.h"

namespace velmora::gui {

const ClassInfo& TComponent::StaticClass() {
  static const ClassInfo info = MakeClass<TComponent>(
      "TComponent", TPersistent::StaticClass(),
      {props::Text<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
       props::Integer<TComponent>("Tag", &TComponent::Tag, &TComponent::SetTag)});
  return info;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Those who refer to this component drop their references first, while it is still whole.
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    auto& back = other->free_notifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(*this, Operation::kRemove);
  }
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(c);
    delete c;
  }
}

void TComponent::SetName(std::string name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) {
    throw EComponentError(FormatResString(kResInvalidName, name));
  }
  if (!name.empty() && owner_) {
    TComponent* same = owner_->FindComponent(name);
    if (same && same != this) throw EComponentError(FormatResString(kResDuplicateName, name));
  }
  name_ = std::move(name);
}

TComponent& TComponent::Component(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
  return *components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (AsciiEqualNoCase(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end()) {
    free_notifies_.push_back(other);
    other->free_notifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), other),
                       free_notifies_.end());
  auto& back = other->free_notifies_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  Notification(*component, Operation::kInsert);
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component),
                    components_.end());
  component->owner_ = nullptr;
  if (!destroying_) Notification(*component, Operation::kRemove);
}

}  // namespace velmora::gui
