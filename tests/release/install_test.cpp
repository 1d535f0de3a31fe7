// The release installer as a user and an administrator meet it, in a fresh Wine prefix: a
// silent install, the installed files, shortcut and "Apps" entry, the installed Velmora
// running with its tray icon, an upgrade in place over the running copy (which ends cleanly
// and keeps the user's settings), and a silent uninstall that removes everything of the
// program but the settings.
//
// VELMORA_SETUP names the installer, VELMORA_VERSION the version it must install.
#include <windows.h>
// After windows.h, which they build on.
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kSettingsKey[] = L"Software\\Orindel\\Velmora\\frmMain";

std::wstring Env(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, 1024);
  std::wstring text(value, n < 1024 ? n : 0);
  // A Unix path from the test's environment is reached through Wine's Z: drive.
  if (!text.empty() && text[0] == L'/') {
    for (wchar_t& c : text)
      if (c == L'/') c = L'\\';
    text = L"Z:" + text;
  }
  return text;
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  fs::path result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

bool WaitFor(const std::function<bool()>& condition, double seconds = 30) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

// Runs a command line and waits for it; the exit code, or -1 when it could not start.
DWORD RunAndWait(std::wstring command) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    return static_cast<DWORD>(-1);
  }
  WaitForSingleObject(pi.hProcess, 120000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::wstring ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return data;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void WriteString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(root, key, name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The running Velmora started from `exe`, with its tray icon shown.
class InstalledVelmora {
 public:
  explicit InstalledVelmora(const fs::path& exe) {
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started_ = CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi_) != FALSE;
  }
  ~InstalledVelmora() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool Started() const { return started_; }
  bool ShowsItsTrayIcon() const {
    HWND tray = nullptr;
    while ((tray = FindWindowExW(nullptr, tray, L"VelmoraSysTrayWindow", nullptr))) {
      DWORD pid = 0;
      GetWindowThreadProcessId(tray, &pid);
      if (pid != pi_.dwProcessId) continue;
      NOTIFYICONDATAW data{};
      data.cbSize = NOTIFYICONDATAW_V2_SIZE;
      data.hWnd = tray;
      data.uID = 1;
      // An update of an icon the shell does not have fails.
      return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    return false;
  }
  // Whether it ended by itself within `seconds`, with its exit code.
  bool Ended(DWORD& code, DWORD ms) const {
    if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(pi_.hProcess, &code) != FALSE;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

TEST(Installer, InstallsUpgradesOverARunningCopyAndUninstallsKeepingTheSettings) {
  const std::wstring setup = Env(L"VELMORA_SETUP");
  const std::wstring version = Env(L"VELMORA_VERSION");
  ASSERT_FALSE(setup.empty()) << "VELMORA_SETUP is not set";
  ASSERT_TRUE(fs::exists(setup)) << "no installer at the given path";

  const fs::path folder = KnownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Velmora";
  const fs::path exe = folder / L"Velmora.exe";
  const fs::path shortcut = KnownFolder(FOLDERID_Programs) / L"Velmora.lnk";
  ASSERT_FALSE(fs::exists(folder)) << "the prefix is not fresh";

  // A settings value of the user's, and the user's own autostart of this copy beside
  // another program's.
  WriteString(HKEY_CURRENT_USER, kSettingsKey, L"chkAutoSort_Checked", L"TRUE");
  WriteString(HKEY_CURRENT_USER, kRunKey, L"Velmora", L"\"" + exe.wstring() + L"\"");
  WriteString(HKEY_CURRENT_USER, kRunKey, L"OtherTool", L"C:\\Tools\\other.exe");

  // 1. A silent install, for the current user, without administrator rights.
  ASSERT_EQ(RunAndWait(L"\"" + setup + L"\" /S"), 0u);
  for (const wchar_t* file :
       {L"Velmora.exe", L"VelmoraEng.chm", L"README.txt", L"LICENSE.txt", L"uninstall.exe",
        L"Language\\English.lng", L"Language\\German.lng"}) {
    EXPECT_TRUE(fs::exists(folder / file)) << "not installed: " << fs::path(file).string();
  }
  EXPECT_TRUE(fs::exists(shortcut)) << "no Start-menu shortcut";
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), L"Velmora");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion"), version);
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"Publisher"), L"Orindel");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"), folder.wstring());
  const std::wstring quiet = ReadString(HKEY_CURRENT_USER, kUninstallKey, L"QuietUninstallString");
  EXPECT_EQ(quiet, L"\"" + (folder / L"uninstall.exe").wstring() + L"\" /S");
  DWORD size_kb = 0, bytes = sizeof(size_kb);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD,
                         nullptr, &size_kb, &bytes),
            ERROR_SUCCESS);
  EXPECT_GT(size_kb, 100u);

  // 2. The installed program runs: its tray icon appears.
  InstalledVelmora running(exe);
  ASSERT_TRUE(running.Started());
  ASSERT_TRUE(WaitFor([&] { return running.ShowsItsTrayIcon(); })) << "no tray icon";

  // 3. The same version again, over the running copy: it ends by itself (exit code 0, not
  //    killed) before its files are replaced, and the settings stay.
  ASSERT_EQ(RunAndWait(L"\"" + setup + L"\" /S"), 0u);
  DWORD code = 99;
  EXPECT_TRUE(running.Ended(code, 20000)) << "the running copy was not ended";
  EXPECT_EQ(code, 0u) << "the running copy did not end cleanly";
  EXPECT_TRUE(fs::exists(exe));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, L"chkAutoSort_Checked"), L"TRUE");

  // 4. A silent uninstall by the "Apps" entry's quiet command. The uninstaller works from a
  //    copy of itself, so the end is seen in what it leaves.
  InstalledVelmora second(exe);
  ASSERT_TRUE(WaitFor([&] { return second.ShowsItsTrayIcon(); })) << "no tray icon";
  ASSERT_EQ(RunAndWait(quiet), 0u);
  // The Run value is the uninstaller's last step.
  EXPECT_TRUE(WaitFor([&] {
    return ReadString(HKEY_CURRENT_USER, kRunKey, L"Velmora") == L"<none>";
  })) << "the Run value that starts this copy stayed";
  EXPECT_TRUE(second.Ended(code, 20000)) << "the running copy was not ended";
  EXPECT_FALSE(fs::exists(folder)) << "the program folder stayed";
  EXPECT_FALSE(fs::exists(shortcut)) << "the shortcut stayed";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey)) << "the Apps entry stayed";
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, L"OtherTool"), L"C:\\Tools\\other.exe");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, L"chkAutoSort_Checked"), L"TRUE")
      << "the user's settings were removed";
}

}  // namespace
