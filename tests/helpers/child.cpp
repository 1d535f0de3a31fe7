// velmora-test-child.exe NAME [window]
// A process for the tracking tests to find. It sets the event "NAME-ready" once it runs
// (with its window shown and brought to the front when "window" is given), then waits,
// handling its messages, until the event "NAME-quit" is set. It ends by itself after a
// minute so that a failed test cannot leave it behind.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

constexpr DWORD kLifetimeMs = 60000;

HWND CreateFrontWindow(const std::wstring& title) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VelmoraTestChild";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10,
                                200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return 2;
  const std::wstring name = argv[1];
  const bool with_window = argc > 2 && std::wstring(argv[2]) == L"window";
  LocalFree(argv);

  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, (name + L"-ready").c_str());
  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, (name + L"-quit").c_str());
  if (!ready || !quit) return 3;
  HWND window = with_window ? CreateFrontWindow(name) : nullptr;
  if (with_window && !window) return 4;
  SetEvent(ready);

  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= kLifetimeMs) break;
    const DWORD wait =
        MsgWaitForMultipleObjects(1, &quit, FALSE, kLifetimeMs - elapsed, QS_ALLINPUT);
    if (wait != WAIT_OBJECT_0 + 1) break;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (window) DestroyWindow(window);
  CloseHandle(quit);
  CloseHandle(ready);
  return 0;
}
