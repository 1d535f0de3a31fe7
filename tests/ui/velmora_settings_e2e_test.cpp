// The real Velmora.exe and the real registry: what a run stores, what the next run restores,
// the logon entry of "Start automatically", and the language files beside the program.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "velmora_driver.h"

namespace {

using namespace velmora::e2e;

constexpr wchar_t kProductKey[] = L"Software\\Orindel\\Velmora";
constexpr wchar_t kFormKey[] = L"Software\\Orindel\\Velmora\\frmMain";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool exists = false;
};

StoredValue ReadValue(const wchar_t* key_path, const wchar_t* name) {
  StoredValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return value;
  }
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    value.exists = RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size) ==
                   ERROR_SUCCESS;
    value.data.resize(size);
  }
  RegCloseKey(key);
  return value;
}

bool KeyExists(const wchar_t* key_path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

std::wstring StoredText(const StoredValue& value) {
  std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()),
                    value.data.size() / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

DWORD DwordOf(const StoredValue& value) {
  DWORD d = 0;
  if (value.data.size() == sizeof d) memcpy(&d, value.data.data(), sizeof d);
  return d;
}

// The values of a key in the registry's own order, printed as "name  TYPE  data".
void PrintKey(const wchar_t* key_path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  std::printf("HKEY_CURRENT_USER\\%ls\n", key_path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256, type = 0, size = 0;
    BYTE data[1024];
    size = sizeof data;
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, data, &size) != ERROR_SUCCESS)
      break;
    StoredValue v{type, std::vector<BYTE>(data, data + size), true};
    if (type == REG_SZ) {
      std::printf("  %-28ls REG_SZ      \"%ls\"\n", name, StoredText(v).c_str());
    } else if (type == REG_DWORD) {
      std::printf("  %-28ls REG_DWORD   0x%08lx (%ld)\n", name, DwordOf(v),
                  static_cast<long>(DwordOf(v)));
    } else {
      std::printf("  %-28ls REG_BINARY ", name);
      for (DWORD b = 0; b < size; ++b) std::printf(" %02X", data[b]);
      std::printf("\n");
    }
  }
  RegCloseKey(key);
}

void ForgetSettings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
  HKEY run = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
    RegDeleteValueW(run, L"Velmora");
    RegCloseKey(run);
  }
}

void WriteTextFile(const std::wstring& path, const std::string& content) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << content;
}

// Language files beside a copy of Velmora.exe, written in an order that is not the sorted one.
std::wstring VelmoraWithLanguages() {
  const std::wstring exe = CopyOfVelmora(L"velmora-e2e-settings");
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\')) + L"\\Language";
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteTextFile(folder + L"\\Deutsch.lng",
                "[General]\r\nLangNameEng=German\r\nLangNameNative=Deutsch\r\nTanslator=Anna "
                "Beispiel\r\nEmail=anna@example.de\r\n");
  WriteTextFile(folder + L"\\English.lng", "[General]\r\nLangNameEng=English\r\n");
  WriteTextFile(folder + L"\\Broken.lng", std::string("\x7F"
                                                      "ELF\0\0\x01[General]",
                                                      16));
  return exe;
}

HWND ChildOf(HWND parent, const wchar_t* cls, const wchar_t* text = L"") {
  HWND found = FindChild(parent, cls, text);
  EXPECT_NE(found, nullptr) << "no " << testing::PrintToString(std::wstring(cls)) << " "
                            << testing::PrintToString(std::wstring(text));
  return found;
}

void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}
bool Checked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND ShowMainWindow(const Velmora& app) {
  EXPECT_TRUE(WaitFor([&] { return app.TrayIconPresent(); })) << "no tray icon";
  app.ClickTray();
  EXPECT_TRUE(WaitFor([&] { return ShowsAWindow(app); })) << "the window was not shown";
  return app.Main();
}

// Chooses entry `index` of the combo box the way a user's choice arrives.
void ChooseInList(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

std::vector<std::wstring> ListEntries(HWND combo) {
  std::vector<std::wstring> entries;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.push_back(text);
  }
  return entries;
}

void Quit(const Velmora& app) {
  // Posted: the question is modal inside the click, so a sent click would wait for its answer.
  PostMessageW(ChildOf(app.Main(), L"Button", L"Quit"), BM_CLICK, 0, 0);
  AnswerQuitQuestion(app, IDYES);
  DWORD code = 1234;
  ASSERT_TRUE(app.WaitExit(code)) << "Quit did not end the program";
  EXPECT_EQ(code, 0u);
}

class VelmoraSettings : public ::testing::Test {
 protected:
  void SetUp() override { ForgetSettings(); }
  void TearDown() override { ForgetSettings(); }
};

TEST_F(VelmoraSettings, ARunIsStoredAndTheNextRunRestoresIt) {
  const std::wstring exe = VelmoraWithLanguages();
  RECT moved{};
  {
    Velmora app(L"", exe);
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([&] { return app.TrayIconPresent(); }));
    EXPECT_TRUE(KeyExists(kProductKey)) << "the first start did not create the product key";

    const HWND main = ShowMainWindow(app);
    ASSERT_NE(main, nullptr);
    // The language files appear sorted, the damaged one left out.
    const HWND combo = ChildOf(main, WC_COMBOBOXW);
    EXPECT_EQ(ListEntries(combo), (std::vector<std::wstring>{L"English", L"German / Deutsch"}));
    ChooseInList(combo, 1);

    // "Details..." shows the chosen file's [General] values.
    PostMessageW(ChildOf(main, L"Button", L"Details..."), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      dialog = app.Find(L"VelmoraControl", L"Translation Details");
      return dialog && IsWindowVisible(dialog);
    })) << "the translation details did not appear";
    EXPECT_NE(FindChild(dialog, L"Static", L"Deutsch"), nullptr);
    EXPECT_NE(FindChild(dialog, L"Static", L"Anna Beispiel"), nullptr);
    EXPECT_NE(FindChild(dialog, L"VelmoraControl", L"anna@example.de"), nullptr);
    PostMessageW(ChildOf(dialog, L"Button", L"OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); })) << "OK did not close it";

    // The interval, typed; a details choice; both check boxes.
    const HWND edit = ChildOf(main, L"Edit");
    SetWindowTextW(edit, L"5");
    Click(ChildOf(main, L"Button", L"Producer of application"));
    Click(ChildOf(main, L"Button", L"Automatically sort applications by time spent in them"));
    Click(ChildOf(main, L"Button", L"Automatically refresh statistics"));

    // "Start automatically" writes the quoted path, and deletes it again.
    const HWND start_auto = ChildOf(main, L"Button", L"Start automatically");
    Click(start_auto);
    const StoredValue run = ReadValue(kRunKey, L"Velmora");
    EXPECT_EQ(run.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(StoredText(run), L"\"" + exe + L"\"");
    Click(start_auto);
    EXPECT_FALSE(ReadValue(kRunKey, L"Velmora").exists);

    SetWindowPos(main, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(main, &moved);
    Quit(app);
  }

  PrintKey(kProductKey);
  PrintKey(kFormKey);
  // The layout as written.
  const auto dword = [](const wchar_t* name) {
    const StoredValue v = ReadValue(kFormKey, name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << testing::PrintToString(std::wstring(name));
    return DwordOf(v);
  };
  const auto text = [](const wchar_t* key, const wchar_t* name) {
    const StoredValue v = ReadValue(key, name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ)) << testing::PrintToString(std::wstring(name));
    return StoredText(v);
  };
  EXPECT_EQ(dword(L"FormVersion"), 0u);
  EXPECT_EQ(dword(L"ShowCmd"), 1u);
  EXPECT_GT(dword(L"PixelsPerInch"), 0u);
  wchar_t suffix[32];
  swprintf(suffix, 32, L"(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const std::wstring norm = text(kFormKey, L"NormPos");
  EXPECT_EQ(text(kFormKey, (L"NormPos" + std::wstring(suffix)).c_str()), norm);
  EXPECT_EQ(norm.substr(0, norm.find(L',', norm.find(L',') + 1)), L"123,77");
  EXPECT_EQ(text(kFormKey, (L"MinMaxPos" + std::wstring(suffix)).c_str()),
            text(kFormKey, L"MinMaxPos"));
  EXPECT_EQ(text(kFormKey, L"chkAutoRefreshStats_Checked"), L"FALSE");
  EXPECT_EQ(dword(L"cbxLang_ItemIndex"), 1u);
  const StoredValue interval = ReadValue(kFormKey, L"SpinEdit1_Value");
  EXPECT_EQ(interval.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(interval.data, (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0x40}));
  EXPECT_EQ(text(kFormKey, L"rbCompany_Checked"), L"TRUE");
  for (const wchar_t* off : {L"rbAll_Checked", L"rbEXEDescription_Checked",
                             L"rbProductName_Checked", L"rbVersion_Checked"}) {
    EXPECT_EQ(text(kFormKey, off), L"FALSE") << testing::PrintToString(std::wstring(off));
  }
  EXPECT_EQ(text(kFormKey, L"chkAutoSort_Checked"), L"TRUE");
  const StoredValue index = ReadValue(kProductKey, L"Currently Used Language");
  EXPECT_EQ(index.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(DwordOf(index), 1u);
  const std::wstring language_file = text(kProductKey, L"fCurrentLanguageFile");
  EXPECT_EQ(language_file.substr(language_file.find_last_of(L'\\') + 1), L"Deutsch.lng");

  // The next start restores all of it when the window is first shown.
  Velmora next(L"", exe);
  ASSERT_TRUE(next.Started());
  const HWND main = ShowMainWindow(next);
  ASSERT_NE(main, nullptr);
  RECT restored{};
  GetWindowRect(main, &restored);
  EXPECT_EQ(restored.left, moved.left);
  EXPECT_EQ(restored.top, moved.top);
  EXPECT_EQ(TextOf(ChildOf(main, L"Edit")), L"5");
  EXPECT_TRUE(Checked(ChildOf(main, L"Button", L"Producer of application")));
  EXPECT_FALSE(Checked(ChildOf(main, L"Button", L"Executable file description")));
  EXPECT_TRUE(
      Checked(ChildOf(main, L"Button", L"Automatically sort applications by time spent in them")));
  EXPECT_FALSE(Checked(ChildOf(main, L"Button", L"Automatically refresh statistics")));
  EXPECT_FALSE(Checked(ChildOf(main, L"Button", L"Start automatically")));
  EXPECT_EQ(SendMessageW(ChildOf(main, WC_COMBOBOXW), CB_GETCURSEL, 0, 0), 1);
  Quit(next);
}

// --- The language chosen at start-up ---------------------------------------------------

// The value of `key` ("btnQuit.Caption=", "65066_") in a shipped language file.
std::wstring ShippedText(const std::wstring& file, const std::string& key) {
  std::ifstream in{std::filesystem::path(file), std::ios::binary};
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(key, 0) != 0) continue;
    const std::string value = line.substr(line.find('=') + 1);
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), wide.data(), n);
    return wide;
  }
  ADD_FAILURE() << "no " << key << " in the language file";
  return L"";
}

void ChooseLanguageFile(const std::wstring& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"fCurrentLanguageFile", 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::wstring ShippedLanguage(const std::wstring& name) {
  const std::wstring exe = kVelmoraExe;
  return exe.substr(0, exe.find_last_of(L'\\')) + L"\\Language\\" + name;
}

TEST_F(VelmoraSettings, TheChosenLanguageTranslatesTheWindowAndItsQuestion) {
  const std::wstring german = ShippedLanguage(L"German.lng");
  ChooseLanguageFile(german);
  Velmora app(L"notray");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return app.Find(L"VelmoraControl") && ShowsAWindow(app); }))
      << "Velmora did not start";
  const HWND main = app.Find(L"VelmoraControl", ShippedText(german, "Caption="));
  ASSERT_NE(main, nullptr);
  for (const char* button : {"btnHide.Caption=", "btnQuit.Caption=", "btnHelp.Caption="}) {
    EXPECT_NE(FindChild(main, L"Button", ShippedText(german, button)), nullptr) << button;
  }
  EXPECT_NE(FindChild(main, L"Button", ShippedText(german, "chkStartAuto.Caption=")), nullptr);
  // The columns of the Applications list (the navigation bar draws its own texts).
  const HWND list = FindChild(main, WC_LISTVIEWW);
  ASSERT_NE(list, nullptr);
  for (int column = 0; column < 3; ++column) {
    const std::string key = "lvApps.Columns.(" + std::to_string(column) + ").Caption=";
    EXPECT_EQ(ReadListViewColumn(app.Process(), list, column), ShippedText(german, key)) << key;
  }
  EXPECT_NE(FindChild(main, L"Static", ShippedText(german, "Label1.Caption=")), nullptr);
  // The quit question comes from the file's resource strings.
  PostMessageW(FindChild(main, L"Button", ShippedText(german, "btnQuit.Caption=")), BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    box = app.Find(L"#32770", ShippedText(german, "65066_"));
    return box && IsWindowVisible(box);
  })) << "no quit question in German";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
  DWORD code = 1234;
  ASSERT_TRUE(app.WaitExit(code));
  EXPECT_EQ(code, 0u);
}

TEST_F(VelmoraSettings, ADamagedChosenFileStillStartsVelmoraInEnglish) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring damaged = std::wstring(temp) + L"velmora-damaged.lng";
  // A quoted value left open stops the load; then bytes that are no UTF-8, and a NUL.
  static constexpr char kDamaged[] =
      "; Tobrash's Localizer Language File.\r\n[TfrmMain]\r\nbtnHide.Caption='Weg\r\n"
      "btnQuit.Caption='unterminated\r\n\xff\xfe\x00garbage";
  WriteTextFile(damaged, std::string(kDamaged, sizeof kDamaged - 1));
  ChooseLanguageFile(damaged);
  Velmora app(L"notray");
  ASSERT_TRUE(app.Started());
  ASSERT_TRUE(WaitFor([&] { return ShowsAWindow(app) && app.TrayIconPresent(); }))
      << "a damaged language file kept Velmora from starting";
  EXPECT_NE(FindChild(app.Main(), L"Button", L"Quit"), nullptr);
  Quit(app);
  DeleteFileW(damaged.c_str());
}

}  // namespace
