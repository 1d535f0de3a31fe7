#include "gui/object.h"

#include <charconv>

#include "core/resource_strings.h"
#include "core/text.h"
#include "gui/errors.h"

namespace velmora::gui {

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->parent) {
    if (c == &other) return true;
  }
  return false;
}

const PropertyInfo* ClassInfo::FindProperty(std::string_view name) const {
  // The derived class's table first, so a class can republish an inherited property.
  for (const ClassInfo* c = this; c; c = c->parent) {
    for (const PropertyInfo& p : c->properties) {
      if (AsciiEqualNoCase(p.name, name)) return &p;
    }
  }
  return nullptr;
}

const ClassInfo& TObject::StaticClass() {
  static const ClassInfo info{"TObject", nullptr, {}, nullptr, nullptr};
  return info;
}

const ClassInfo& TPersistent::StaticClass() {
  static const ClassInfo info = MakeClass<TPersistent>("TPersistent", TObject::StaticClass(), {});
  return info;
}

const PropertyInfo* FindProperty(const TObject& object, std::string_view name) {
  return object.ClassType().FindProperty(name);
}

namespace {

const PropertyInfo& RequireProperty(const TObject& object, std::string_view name) {
  const PropertyInfo* p = FindProperty(object, name);
  if (!p) throw EPropertyError(FormatResString(kResUnknownProperty, name));
  return *p;
}

}  // namespace

std::string GetPropertyText(const TObject& object, std::string_view name) {
  const PropertyInfo& p = RequireProperty(object, name);
  if (!p.get) throw EPropertyError(FormatResString(kResInvalidPropertyType, p.type_name));
  return p.get(object);
}

void SetPropertyText(TObject& object, std::string_view name, std::string_view value) {
  const PropertyInfo& p = RequireProperty(object, name);
  if (!p.set) throw EPropertyError(FormatResString(kResInvalidPropertyType, p.type_name));
  p.set(object, value);
}

TPersistent* GetObjectProperty(TObject& object, std::string_view name) {
  const PropertyInfo& p = RequireProperty(object, name);
  if (p.kind != PropertyKind::kObject) {
    throw EPropertyError(FormatResString(kResInvalidPropertyType, p.type_name));
  }
  return p.object(object);
}

std::int32_t IntegerFromText(std::string_view text) {
  std::int32_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  // from_chars takes no '+' sign, and neither do published integer properties here.
  const auto [end, error] = std::from_chars(first, last, value, 10);
  if (text.empty() || error != std::errc() || end != last) {
    throw EConvertError(FormatResString(kResInvalidInteger, text));
  }
  return value;
}

std::string IntegerToText(std::int64_t value) {
  return std::to_string(value);
}

int EnumFromText(std::string_view text, std::span<const std::string> members) {
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (AsciiEqualNoCase(members[i], text)) return static_cast<int>(i);
  }
  throw EConvertError(FormatResString(kResInvalidPropertyElement, text));
}

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::uint32_t SetFromText(std::string_view text, std::span<const std::string> members) {
  const std::string_view whole = Trim(text);
  if (whole.size() < 2 || whole.front() != '[' || whole.back() != ']') {
    throw EConvertError(LoadResString(kResInvalidPropertyValue));
  }
  std::string_view rest = Trim(whole.substr(1, whole.size() - 2));
  std::uint32_t bits = 0;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view member = Trim(rest.substr(0, comma));
    bits |= 1u << EnumFromText(member, members);
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
    if (Trim(rest).empty()) throw EConvertError(LoadResString(kResInvalidPropertyValue));
  }
  return bits;
}

std::string SetToText(std::uint32_t bits, std::span<const std::string> members) {
  std::string text = "[";
  for (std::size_t i = 0; i < members.size() && i < 32; ++i) {
    if (bits & (1u << i)) {
      if (text.size() > 1) text += ',';
      text += members[i];
    }
  }
  return text + "]";
}

namespace props {

std::vector<std::string> BooleanMembers() {
  return {"False", "True"};
}

namespace {

struct NamedColor {
  const char* name;
  std::uint32_t value;
};

// Plain colours are 0x00BBGGRR; system colours are 0xFF000000 | COLOR_xxx index.
constexpr NamedColor kColors[] = {
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},      {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},        {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},        {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},        {"clLime", 0x00FF00},        {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},     {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},      {"clNone", 0x1FFFFFFF},      {"clDefault", 0x20000000},
    {"clBtnFace", 0xFF00000F},  {"clWindow", 0xFF000005},    {"clWindowText", 0xFF000008},
    {"clBtnText", 0xFF000012},  {"clHighlight", 0xFF00000D}, {"clHighlightText", 0xFF00000E},
    {"clGrayText", 0xFF000011}, {"clBtnShadow", 0xFF000010}, {"clHotLight", 0xFF00001A},
};

}  // namespace

std::string ColorToText(std::uint32_t color) {
  for (const NamedColor& c : kColors) {
    if (c.value == color) return c.name;
  }
  static const char kHex[] = "0123456789ABCDEF";
  std::string text = "$";
  for (int shift = 28; shift >= 0; shift -= 4) text += kHex[(color >> shift) & 0xF];
  return text;
}

std::uint32_t ColorFromText(std::string_view text) {
  for (const NamedColor& c : kColors) {
    if (AsciiEqualNoCase(c.name, text)) return c.value;
  }
  // "$00BBGGRR" as the framework writes colours, or a decimal number.
  if (text.size() > 1 && text.front() == '$') {
    std::uint32_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data() + 1, last, value, 16);
    if (error == std::errc() && end == last) return value;
    throw EConvertError(FormatResString(kResInvalidInteger, text));
  }
  return static_cast<std::uint32_t>(IntegerFromText(text));
}

}  // namespace props

}  // namespace velmora::gui
