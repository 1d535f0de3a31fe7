// On 64-bit Windows, WOW64 silently redirects a 32-bit program's file access under
// %windir%\System32 to SysWOW64, so the 32-bit Velmora reading the icon or version
// information of a 64-bit system executable would read a different (32-bit) file, or none.
// Wrap every read of another program's image file in this guard. The 64-bit Velmora is not
// redirected, and there the guard does nothing.
#pragma once

#include <windows.h>

namespace velmora {

class ScopedWow64RedirectionOff {
 public:
  ScopedWow64RedirectionOff();
  ~ScopedWow64RedirectionOff();
  ScopedWow64RedirectionOff(const ScopedWow64RedirectionOff&) = delete;
  ScopedWow64RedirectionOff& operator=(const ScopedWow64RedirectionOff&) = delete;

  // True when redirection was on and is now switched off for this thread.
  bool active() const { return active_; }

 private:
  PVOID old_value_ = nullptr;
  bool active_ = false;
};

}  // namespace velmora
