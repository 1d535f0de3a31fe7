#include "settings/form_store.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/resource_strings.h"
#include "gui/errors.h"
#include "gui/form.h"
#include "settings/stored_values.h"

namespace velmora::settings {

namespace {

constexpr BuiltinString kStrings[] = {
    {kResUnableToCreateKey, "Unable to create key '%s'"},
    {kResUnableToOpenForWrite, "Unable to open key \"%s\\%s\" for write"},
    {kResFailedToSetData, "Failed to set data for '%s'"},
};
VELMORA_BUILTIN_STRINGS(kStrings);

constexpr std::string_view kFormVersion = "FormVersion";
constexpr std::string_view kShowCmd = "ShowCmd";
constexpr std::string_view kFlags = "Flags";
constexpr std::string_view kPixelsPerInch = "PixelsPerInch";
constexpr std::string_view kMinMaxPos = "MinMaxPos";
constexpr std::string_view kNormPos = "NormPos";

// The platform's show commands.
constexpr std::uint32_t kShowMinimized = 2;

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

gui::TWindowState WindowStateOf(std::int32_t show_cmd) {
  switch (show_cmd) {
    case 2:  // SW_SHOWMINIMIZED
    case 6:  // SW_MINIMIZE
    case 7:  // SW_SHOWMINNOACTIVE
      return gui::TWindowState::wsMinimized;
    case 3:  // SW_SHOWMAXIMIZED
      return gui::TWindowState::wsMaximized;
    default:  // 1, 5, 9 and everything else
      return gui::TWindowState::wsNormal;
  }
}

// A stored interval as the whole number a spin box holds, within the 32-bit range.
std::int32_t WholeNumber(double value) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::llround(std::clamp(value, kMin, kMax)));
}

}  // namespace

Rect MoveInside(const Rect& rect, const Rect& area) {
  const std::int64_t width = std::min(rect.Width(), area.Width());
  const std::int64_t height = std::min(rect.Height(), area.Height());
  const std::int64_t left = std::clamp<std::int64_t>(rect.left, area.left, area.right - width);
  const std::int64_t top = std::clamp<std::int64_t>(rect.top, area.top, area.bottom - height);
  return {ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + width),
          ClampToInt32(top + height)};
}

std::string StoredProperty::ValueName() const {
  return std::string(control) + "_" + std::string(property);
}

FormStore::FormStore(Registry& registry, std::string key_path, gui::TForm& form,
                     WindowSystem& windows, std::span<const StoredProperty> props)
    : registry_(registry),
      key_path_(std::move(key_path)),
      form_(form),
      windows_(windows),
      props_(props) {}

std::string FormStore::ScreenSuffix() const {
  const Point size = windows_.ScreenSize();
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "(%dx%d)", static_cast<int>(size.x),
                static_cast<int>(size.y));
  return suffix;
}

// --- Restore ----------------------------------------------------------------------------------

void FormStore::Restore() {
  if (restored_) return;
  restored_ = true;
  saved_ = false;
  // Nothing stored yet (the first run) reads as version 0 with every value absent.
  const std::unique_ptr<RegistryKey> key = registry_.OpenKey(key_path_);
  if (key) {
    if (const auto version = key->Read(kFormVersion)) {
      if (ReadInteger(*version).value_or(0) < 0) return;
    }
    RestorePlacement(*key);
    for (const StoredProperty& prop : props_) RestoreProperty(*key, prop);
  }
  if (OnAfterRestore) OnAfterRestore();
}

void FormStore::RestorePlacement(const RegistryKey& key) {
  WindowPlacement placement = windows_.Placement();
  const std::string suffix = ScreenSuffix();
  // The text stored for this screen size if there is one, else the plain one.
  const auto position_text = [&](std::string_view name) -> std::string {
    const std::string sized = std::string(name) + suffix;
    const auto value = key.HasValue(sized) ? key.Read(sized) : key.Read(name);
    return value && value->type == ValueType::kString ? value->text : std::string();
  };

  const std::string min_max = position_text(kMinMaxPos);
  if (!min_max.empty()) {
    const auto words = ParsePositionWords(min_max);
    placement.min_position = {PositionWord(words, 0, 0), PositionWord(words, 1, 0)};
    placement.max_position = {PositionWord(words, 2, 0), PositionWord(words, 3, 0)};
  }
  const std::string normal = position_text(kNormPos);
  if (!normal.empty()) {
    // The window has a fixed size: only the position is restored.
    const auto words = ParsePositionWords(normal);
    const Rect current = placement.normal;
    // A position so close to the end of the 32-bit range that the window's size would not
    // fit after it is taken as far out as the size allows; the monitor check below brings
    // the window back onto a screen.
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int64_t left =
        std::min(std::int64_t{PositionWord(words, 0, current.left)}, kMax - current.Width());
    const std::int64_t top =
        std::min(std::int64_t{PositionWord(words, 1, current.top)}, kMax - current.Height());
    placement.normal = {ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + current.Width()),
                        ClampToInt32(top + current.Height())};
  }

  if (!min_max.empty() || !normal.empty()) {
    const int current_ppi = windows_.PixelsPerInch();
    const auto stored_ppi = key.Read(kPixelsPerInch);
    const std::int32_t ppi =
        stored_ppi ? ReadInteger(*stored_ppi).value_or(current_ppi) : current_ppi;
    // A placement stored at another text size would put the window elsewhere than the user
    // left it: the window stays centred.
    if (ppi == current_ppi) {
      // A position that lies on none of today's monitors (one was unplugged, the
      // resolution dropped, or the value was edited) would make the window unreachable.
      if (!windows_.OnSomeMonitor(placement.normal)) {
        placement.normal = MoveInside(placement.normal, windows_.NearestWorkArea(placement.normal));
      }
      form_.SetPosition(gui::TPosition::poDesigned);
      windows_.SetPlacement(placement);
    }
  }

  const auto show_cmd = key.Read(kShowCmd);
  const gui::TWindowState state = WindowStateOf(show_cmd ? ReadInteger(*show_cmd).value_or(0) : 0);
  if (state == gui::TWindowState::wsMinimized) {
    form_.SetWindowState(gui::TWindowState::wsNormal);
    windows_.MinimizeApplication();
    return;
  }
  form_.SetWindowState(state);
}

void FormStore::RestoreProperty(const RegistryKey& key, const StoredProperty& prop) {
  gui::TComponent* control = form_.FindComponent(prop.control);
  if (!control) return;
  const auto value = key.Read(prop.ValueName());
  if (!value) return;
  std::string text;
  switch (prop.encoding) {
    case StoredEncoding::kBoolean: {
      const auto flag = ReadBoolean(*value);
      if (!flag) return;
      text = gui::props::BooleanMembers()[*flag ? 1 : 0];
      break;
    }
    case StoredEncoding::kInteger: {
      const auto number = ReadInteger(*value);
      if (!number) return;
      text = gui::IntegerToText(*number);
      break;
    }
    case StoredEncoding::kExtended: {
      const auto number = ReadExtended(*value);
      if (!number) return;
      text = gui::IntegerToText(WholeNumber(*number));
      break;
    }
  }
  // Set as the program sets it, with its consequences (a chosen option deselects the others,
  // a new interval changes the timer). A value the control refuses leaves it as it was.
  try {
    gui::SetPropertyText(*control, prop.property, text);
  } catch (const gui::EGuiError&) {
  }
}

// --- Save -------------------------------------------------------------------------------------

void FormStore::Save() {
  const std::unique_ptr<RegistryKey> key = registry_.CreateKey(key_path_);
  if (!key) {
    throw ERegistryError(gui::FormatResString(kResUnableToCreateKey, key_path_));
  }
  const auto check = [this](bool written) {
    if (!written) {
      throw ERegistryError(
          gui::FormatResString(kResUnableToOpenForWrite, {Registry::kRootName, key_path_}));
    }
  };
  check(key->WriteDword(kFormVersion, 0));

  WindowPlacement placement = windows_.Placement();
  if (windows_.ApplicationMinimized()) placement.show_cmd = kShowMinimized;
  const std::string suffix = ScreenSuffix();
  check(key->WriteDword(kShowCmd, placement.show_cmd));
  check(key->WriteDword(kFlags, placement.flags));
  check(key->WriteDword(kPixelsPerInch, static_cast<std::uint32_t>(windows_.PixelsPerInch())));
  const std::string min_max = FormatPositions(placement.min_position.x, placement.min_position.y,
                                              placement.max_position.x, placement.max_position.y);
  check(key->WriteString(std::string(kMinMaxPos) + suffix, min_max));
  check(key->WriteString(kMinMaxPos, min_max));
  const Rect& r = placement.normal;
  const std::string normal = FormatPositions(r.left, r.top, r.right, r.bottom);
  check(key->WriteString(std::string(kNormPos) + suffix, normal));
  check(key->WriteString(kNormPos, normal));

  for (const StoredProperty& prop : props_) {
    gui::TComponent* control = form_.FindComponent(prop.control);
    if (!control) continue;
    const std::string text = gui::GetPropertyText(*control, prop.property);
    const std::string name = prop.ValueName();
    switch (prop.encoding) {
      case StoredEncoding::kBoolean:
        check(key->WriteString(name, BooleanText(text == gui::props::BooleanMembers()[1])));
        break;
      case StoredEncoding::kInteger:
        check(key->WriteDword(name, static_cast<std::uint32_t>(gui::IntegerFromText(text))));
        break;
      case StoredEncoding::kExtended: {
        const ExtendedBytes bytes = EncodeExtended(gui::IntegerFromText(text));
        check(key->WriteBinary(name, bytes));
        break;
      }
    }
  }
  saved_ = true;
}

void FormStore::SaveIfUnsaved() {
  if (restored_ && !saved_) Save();
}

}  // namespace velmora::settings
