#include "core/wow64_win32.h"

namespace velmora {

#ifdef _WIN64

// A 64-bit process is never redirected: nothing to switch off or back on.
ScopedWow64RedirectionOff::ScopedWow64RedirectionOff() = default;
ScopedWow64RedirectionOff::~ScopedWow64RedirectionOff() = default;

#else

namespace {

// Looked up at run time: the functions exist only from Windows XP SP2 / Server 2003 on, and
// on a 32-bit system (or under Wine's 32-bit prefix) they fail harmlessly.
using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

struct Wow64Functions {
  DisableFn disable = nullptr;
  RevertFn revert = nullptr;
  Wow64Functions() {
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
      disable = reinterpret_cast<DisableFn>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
      revert = reinterpret_cast<RevertFn>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
    }
  }
};

const Wow64Functions& Functions() {
  static const Wow64Functions functions;
  return functions;
}

}  // namespace

ScopedWow64RedirectionOff::ScopedWow64RedirectionOff() {
  const auto& f = Functions();
  if (f.disable && f.revert) active_ = f.disable(&old_value_) != FALSE;
}

ScopedWow64RedirectionOff::~ScopedWow64RedirectionOff() {
  if (active_) Functions().revert(old_value_);
}

#endif

}  // namespace velmora
