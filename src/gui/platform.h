// The platform behind the controls: windows, message boxes, timers, the message loop, text
// collation, the clipboard and the shell. The portable layer talks only to this interface;
// the Win32 library supplies the real one (UseWin32Platform), tests supply fakes. Without
// any, the layer runs headless: controls keep their state and no window is made.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::gui {

class TControl;
class TApplication;
class TForm;

// What changed in a control, so its window mirrors only that.
enum class Change {
  kBounds,
  kText,
  kVisible,
  kEnabled,
  kFont,
  kColor,
  kZOrder,
  kState,  // the control's own state: check mark, value, pressed button, link colours...
  kItems,  // lines, rows, columns, pages, series
  kFocus,
};

// A control's window. Destroying the peer destroys the window.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Changed(Change what) = 0;
  // One row or line of a list changed (its text, sub-items or image), not the list's order.
  virtual void ItemChanged(int index) { Changed(Change::kItems); }
  virtual std::uintptr_t Handle() const = 0;
};

// Message-box flags and answers with the platform's values.
enum MessageBoxFlags : unsigned {
  kMbOk = 0x0,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class Timer {
 public:
  virtual ~Timer() = default;  // stops it
};

// A platform image list; adding copies the icon.
class ImageStore {
 public:
  virtual ~ImageStore() = default;
  virtual void AddIcon(std::uintptr_t icon) = 0;
  virtual std::uintptr_t Handle() const = 0;
};

class GuiPlatform {
 public:
  virtual ~GuiPlatform() = default;
  // The window of `control` (its parent's window exists already); null for none.
  virtual std::unique_ptr<ControlPeer> CreatePeer(TControl& control) { return nullptr; }
  virtual int ShowMessageBox(std::string_view text, std::string_view caption, unsigned flags) {
    return kIdOk;
  }
  // Calls `tick` every `interval_ms` until the returned timer is destroyed.
  virtual std::unique_ptr<Timer> StartTimer(unsigned interval_ms, std::function<void()> tick) {
    return nullptr;
  }
  // Runs the message loop until the application is terminated.
  virtual void RunMessageLoop(TApplication& application) {}
  // Wakes the loop so that it sees the application's Terminated flag.
  virtual void Quit() {}
  // Runs a nested loop until the form has a ModalResult or is hidden.
  virtual void RunModal(TForm& form) {}
  // The hidden application-level window; 0 when there is none.
  virtual std::uintptr_t ApplicationWindow() { return 0; }
  virtual std::unique_ptr<ImageStore> CreateImageStore(int width, int height) { return nullptr; }
  // Case-sensitive comparison in the user's locale: <0, 0, >0.
  virtual int CollateText(std::string_view a, std::string_view b) { return a.compare(b); }
  // Asks the shell to open `target` (a web address, a "mailto:" link, a file).
  virtual void OpenInShell(std::string_view target) {}
  // Replaces the clipboard's content with `text` (as Unicode text); false when the
  // clipboard could not be taken or written.
  virtual bool SetClipboardText(std::string_view text) { return false; }
};

// The platform in use; the headless one until another is installed.
GuiPlatform& Platform();
// Installs `platform` (not owned); null returns to the headless one.
void SetPlatform(GuiPlatform* platform);

}  // namespace velmora::gui
