// Owners of system handles. Each gives its handle back to the system exactly once, when it
// goes: none can be copied (a copy would free the handle twice), and they are move-only. The
// owners of GDI and USER handles build on `UniqueHandle` in gui/handles_win32.h.
#pragma once

#include <windows.h>

namespace velmora {

// A handle freed by `Free` when the owner goes. Move-only.
template <class H, class Free>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset(other.handle_);
      other.handle_ = nullptr;
    }
    return *this;
  }

  // Frees the handle held (after taking the new one, so that a handle is never freed while
  // it is still the one in use) and holds `handle`.
  void Reset(H handle = nullptr) {
    H old = handle_;
    handle_ = handle;
    if (old) Free{}(old);
  }
  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  H handle_ = nullptr;
};

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct UnmapFileView {
  void operator()(void* view) const { UnmapViewOfFile(view); }
};

// A kernel object (process, event, file mapping, file), closed with CloseHandle.
using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;

// A view of a file mapping (MapViewOfFile), unmapped with UnmapViewOfFile.
using MappedView = UniqueHandle<void*, UnmapFileView>;

// Some functions (CreateFile, FindFirstFile, CreateToolhelp32Snapshot) report failure with
// INVALID_HANDLE_VALUE, not null: it becomes an empty owner where the handle is taken.
inline HANDLE NullIfInvalid(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

}  // namespace velmora
