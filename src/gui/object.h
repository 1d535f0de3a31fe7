// Class identities and published properties: the run-time type information of the layer.
//
// Every class of the layer has one ClassInfo: its name as text, its parent class, the table
// of the properties it publishes and, for components, a factory. Classes are compared by
// identity (the address of their ClassInfo); names are only for text (messages, language
// file sections). A class declares itself with VELMORA_CLASS inside its body and defines
// StaticClass() in its source file with MakeClass, beside its property table.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::gui {

class TObject;
class TPersistent;
class TComponent;
struct FormDesign;

enum class PropertyKind { kText, kInteger, kBoolean, kEnumeration, kSet, kColor, kObject, kEvent };

// One published property. Conversions are strict and locale-independent; a setter calls the
// class's public setter, so setting a property on a live control updates its window at once.
struct PropertyInfo {
  std::string name;
  PropertyKind kind;
  std::string type_name;                                // "Integer", "TBarStyle", "TFont"
  std::vector<std::string> members;                     // enumeration and set members
  std::function<std::string(const TObject&)> get;       // value as text (not for objects)
  std::function<void(TObject&, std::string_view)> set;  // value from text (not for objects)
  std::function<TPersistent*(TObject&)> object;         // object-valued properties
};

struct ClassInfo {
  std::string name;
  const ClassInfo* parent = nullptr;
  std::vector<PropertyInfo> properties;
  TComponent* (*create)(TComponent* owner) = nullptr;  // null for abstract classes
  const FormDesign* design = nullptr;                  // forms and data modules with a design

  // This class or one of its ancestors is `other` (identity).
  bool InheritsFrom(const ClassInfo& other) const;
  // The property `name` of this class or its ancestors, ignoring ASCII case; null if none.
  const PropertyInfo* FindProperty(std::string_view name) const;
};

#define VELMORA_CLASS()                                         \
 public:                                                        \
  static const ::velmora::gui::ClassInfo& StaticClass();        \
  const ::velmora::gui::ClassInfo& ClassType() const override { \
    return StaticClass();                                       \
  }

// The root of every class of the layer.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const ClassInfo& StaticClass();
  virtual const ClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().name; }
  bool InheritsFrom(const ClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
};

// Objects with published properties that can live inside other objects (fonts, collections,
// titles, gradients). It publishes nothing itself.
class TPersistent : public TObject {
  VELMORA_CLASS()
};

// Builds a class description. `T` only supplies the factory when it is a concrete component.
template <class T>
ClassInfo MakeClass(std::string name, const ClassInfo& parent, std::vector<PropertyInfo> props,
                    const FormDesign* design = nullptr) {
  ClassInfo info{std::move(name), &parent, std::move(props), nullptr, design};
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>) {
    info.create = [](TComponent* owner) -> TComponent* { return new T(owner); };
  }
  return info;
}

// --- Reading and setting properties by name -------------------------------------------------

// The property of `object`'s class (inherited included) named `name`, or null.
const PropertyInfo* FindProperty(const TObject& object, std::string_view name);
// The value as text. Raises EPropertyError when there is no such property or it holds an
// object.
std::string GetPropertyText(const TObject& object, std::string_view name);
// Sets from text; raises EPropertyError for a missing, object-valued or event property and
// EConvertError for a value that does not convert.
void SetPropertyText(TObject& object, std::string_view name, std::string_view value);
// The object an object-valued property holds (may be null); EPropertyError if not such.
TPersistent* GetObjectProperty(TObject& object, std::string_view name);

// --- Strict conversions (whole text consumed, no locale) ------------------------------------

std::int32_t IntegerFromText(std::string_view text);  // EConvertError
std::string IntegerToText(std::int64_t value);
int EnumFromText(std::string_view text, std::span<const std::string> members);  // by name
std::uint32_t SetFromText(std::string_view text, std::span<const std::string> members);
std::string SetToText(std::uint32_t bits, std::span<const std::string> members);

// --- Property table builders ----------------------------------------------------------------

namespace props {

template <class C, class G, class S>
PropertyInfo Text(std::string name, G get, S set) {
  return {
      std::move(name),
      PropertyKind::kText,
      "string",
      {},
      [get](const TObject& o) { return std::string(std::invoke(get, static_cast<const C&>(o))); },
      [set](TObject& o, std::string_view v) {
        std::invoke(set, static_cast<C&>(o), std::string(v));
      },
      {}};
}

template <class C, class G, class S>
PropertyInfo Integer(std::string name, G get, S set) {
  return {
      std::move(name),
      PropertyKind::kInteger,
      "Integer",
      {},
      [get](const TObject& o) { return IntegerToText(std::invoke(get, static_cast<const C&>(o))); },
      [set](TObject& o, std::string_view v) {
        std::invoke(set, static_cast<C&>(o), IntegerFromText(v));
      },
      {}};
}

std::vector<std::string> BooleanMembers();

template <class C, class G, class S>
PropertyInfo Boolean(std::string name, G get, S set) {
  return {std::move(name),
          PropertyKind::kBoolean,
          "Boolean",
          BooleanMembers(),
          [get](const TObject& o) {
            return std::string(std::invoke(get, static_cast<const C&>(o)) ? "True" : "False");
          },
          [set](TObject& o, std::string_view v) {
            static const std::vector<std::string> members = BooleanMembers();
            std::invoke(set, static_cast<C&>(o), EnumFromText(v, members) != 0);
          },
          {}};
}

// An enumeration whose values are 0 .. members.size()-1 in member order.
template <class C, class E, class G, class S>
PropertyInfo Enum(std::string name, std::string type, std::vector<std::string> members, G get,
                  S set) {
  auto m = members;
  return {std::move(name),
          PropertyKind::kEnumeration,
          std::move(type),
          std::move(members),
          [get, m](const TObject& o) {
            const auto value = static_cast<std::size_t>(std::invoke(get, static_cast<const C&>(o)));
            return value < m.size() ? m[value] : IntegerToText(static_cast<std::int64_t>(value));
          },
          [set, m](TObject& o, std::string_view v) {
            std::invoke(set, static_cast<C&>(o), static_cast<E>(EnumFromText(v, m)));
          },
          {}};
}

// A set of up to 32 members, held as a bit mask (bit i = member i), written "[a,b]".
template <class C, class G, class S>
PropertyInfo Set(std::string name, std::string type, std::vector<std::string> members, G get,
                 S set) {
  auto m = members;
  return {std::move(name),
          PropertyKind::kSet,
          std::move(type),
          std::move(members),
          [get, m](const TObject& o) {
            return SetToText(std::invoke(get, static_cast<const C&>(o)), m);
          },
          [set, m](TObject& o, std::string_view v) {
            std::invoke(set, static_cast<C&>(o), SetFromText(v, m));
          },
          {}};
}

std::string ColorToText(std::uint32_t color);
std::uint32_t ColorFromText(std::string_view text);

template <class C, class G, class S>
PropertyInfo Color(std::string name, G get, S set) {
  return {
      std::move(name),
      PropertyKind::kColor,
      "TColor",
      {},
      [get](const TObject& o) { return ColorToText(std::invoke(get, static_cast<const C&>(o))); },
      [set](TObject& o, std::string_view v) {
        std::invoke(set, static_cast<C&>(o), ColorFromText(v));
      },
      {}};
}

// An object-valued property: the getter returns the held object (or null).
template <class C, class G>
PropertyInfo Object(std::string name, std::string type, G get) {
  return {std::move(name),
          PropertyKind::kObject,
          std::move(type),
          {},
          {},
          {},
          [get](TObject& o) -> TPersistent* { return std::invoke(get, static_cast<C&>(o)); }};
}

// An event slot: published so that it is found by name, but never set from text.
inline PropertyInfo Event(std::string name, std::string type = "TNotifyEvent") {
  return {std::move(name), PropertyKind::kEvent, std::move(type), {}, {}, {}, {}};
}

}  // namespace props

}  // namespace velmora::gui
