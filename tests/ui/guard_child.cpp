// A stand-in for the program in the single-instance tests: it has an application-level
// window like the real program, registers with the guard and is refused or runs. It writes
// what happens to the file named by VELMORA_GUARD_LOG:
//   running <pid>        this copy runs
//   cmdline <pid> <text> another copy handed its arguments over (CR LF shown as |)
// It ends when its application window is closed (exit code 3) and, when refused, with exit
// code 0 like the program. VELMORA_GUARD_HANG=1 makes it stop answering messages once it runs.
#include <windows.h>

#include <string>

#include "ui/app_instances_win32.h"

namespace {

constexpr wchar_t kAppClass[] = L"VelmoraGuardTestApp";

void Log(const std::wstring& line) {
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"VELMORA_GUARD_LOG", path, MAX_PATH)) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string utf8 = [&] {
    std::string out;
    for (wchar_t c : line + L"\n") out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
  }();
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK AppProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(3);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = AppProc;
  wc.hInstance = instance;
  wc.lpszClassName = kAppClass;
  RegisterClassExW(&wc);
  CreateWindowExW(WS_EX_TOOLWINDOW, kAppClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                  instance, nullptr);

  velmora::ui::TAppInstances guard(kAppClass);
  const std::wstring pid = std::to_wstring(GetCurrentProcessId());
  guard.OnCmdLineReceived = [&](const std::wstring& text) {
    std::wstring shown;
    for (wchar_t c : text) shown += (c == L'\r' || c == L'\n') ? L'|' : c;
    Log(L"cmdline " + pid + L" " + shown);
  };
  guard.Register();
  guard.Check();  // ends the process with exit code 0 when refused
  Log(L"running " + pid);

  wchar_t hang[8];
  if (GetEnvironmentVariableW(L"VELMORA_GUARD_HANG", hang, 8) && hang[0] == L'1') {
    Sleep(INFINITE);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
