// The form store of the main window: its placement on the screen and the values of the
// Settings page's controls, kept in the registry key "<product key>\frmMain".
//
// Restore runs once per process, when the window is about to be shown for the first time;
// Save runs when the user quits, and at destruction if nothing was saved since the restore.
// A run that never restored (the window was never shown) saves nothing: its controls still
// hold the designed values, and saving them would wipe the user's stored settings.
//
// The store works on the form through the component layer (controls and properties by
// name) and on the window system through WindowSystem, so every rule runs natively.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "settings/registry.h"

namespace velmora::gui {
class TForm;
}

namespace velmora::settings {

// Resource strings of the store's errors.
inline constexpr int kResUnableToCreateKey = 65320;     // "Unable to create key '%s'"
inline constexpr int kResUnableToOpenForWrite = 65321;  // "Unable to open key "%s\%s" for write"
inline constexpr int kResFailedToSetData = 65322;       // "Failed to set data for '%s'"

// A registry key or value that could not be created or written; the message is for the user.
class ERegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int64_t Width() const { return std::int64_t{right} - left; }
  std::int64_t Height() const { return std::int64_t{bottom} - top; }
  bool operator==(const Rect&) const = default;
};

// The window system's placement record of a window (its show command uses the platform's
// numbers: 1 normal, 2 minimized, 3 maximized).
struct WindowPlacement {
  std::uint32_t show_cmd = 1;
  std::uint32_t flags = 0;
  Point min_position;
  Point max_position;
  Rect normal;  // in workspace coordinates
  bool operator==(const WindowPlacement&) const = default;
};

// What the store needs of the window system, for the one window it serves.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual WindowPlacement Placement() const = 0;
  // Sets the record on the window without showing it.
  virtual void SetPlacement(const WindowPlacement& placement) = 0;
  // The application as a whole is minimized.
  virtual bool ApplicationMinimized() const = 0;
  // Posts a minimize command to the application as a whole.
  virtual void MinimizeApplication() = 0;
  // The primary screen's size in pixels and its logical pixels per inch.
  virtual Point ScreenSize() const = 0;
  virtual int PixelsPerInch() const = 0;
  // Monitors: whether a rectangle overlaps any of today's monitors, and the work area of the
  // one nearest to it.
  virtual bool OnSomeMonitor(const Rect& rect) const = 0;
  virtual Rect NearestWorkArea(const Rect& rect) const = 0;
};

// The rectangle moved (not resized, unless it is larger) so that it lies inside `area`.
Rect MoveInside(const Rect& rect, const Rect& area);

enum class StoredEncoding { kBoolean, kInteger, kExtended };

// One stored control property: "control.Property", whose registry value is named
// "control_Property".
struct StoredProperty {
  std::string_view control;
  std::string_view property;
  StoredEncoding encoding;
  std::string ValueName() const;
};

// The main window's stored properties, in the order of writing and of reading.
inline constexpr std::array<StoredProperty, 9> kMainFormStoredProps = {{
    {"chkAutoRefreshStats", "Checked", StoredEncoding::kBoolean},
    {"cbxLang", "ItemIndex", StoredEncoding::kInteger},
    {"SpinEdit1", "Value", StoredEncoding::kExtended},
    {"rbAll", "Checked", StoredEncoding::kBoolean},
    {"rbCompany", "Checked", StoredEncoding::kBoolean},
    {"rbEXEDescription", "Checked", StoredEncoding::kBoolean},
    {"rbProductName", "Checked", StoredEncoding::kBoolean},
    {"rbVersion", "Checked", StoredEncoding::kBoolean},
    {"chkAutoSort", "Checked", StoredEncoding::kBoolean},
}};

// The main window's key: the product key and the store's path "frmMain".
inline constexpr std::string_view kMainFormKey = "Software\\Orindel\\Velmora\\frmMain";

class FormStore {
 public:
  FormStore(Registry& registry, std::string key_path, gui::TForm& form, WindowSystem& windows,
            std::span<const StoredProperty> props);

  // Applies the stored state if no restore has taken place yet; later calls do nothing.
  // Values that cannot be read leave their control or part of the placement as it is.
  void Restore();
  // Writes the whole state. Raises ERegistryError (with the message for the user) when the
  // key cannot be created or a value cannot be written; values written before stay.
  void Save();
  // At the form's destruction: saves when a restore took place and no save since.
  void SaveIfUnsaved();

  bool Restored() const { return restored_; }
  bool Saved() const { return saved_; }

  // Raised at the end of every restore that passed the version check.
  std::function<void()> OnAfterRestore;

 private:
  void RestorePlacement(const RegistryKey& key);
  void RestoreProperty(const RegistryKey& key, const StoredProperty& prop);
  void WriteProperty(RegistryKey& key, const StoredProperty& prop);
  std::string ScreenSuffix() const;

  Registry& registry_;
  std::string key_path_;
  gui::TForm& form_;
  WindowSystem& windows_;
  std::span<const StoredProperty> props_;
  bool restored_ = false;
  bool saved_ = false;
};

}  // namespace velmora::settings
