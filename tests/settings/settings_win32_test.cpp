// The settings' Windows side under Wine: the real registry below a throw-away key of
// HKEY_CURRENT_USER, language files in a folder made for each test, and hidden top-level
// windows for the form store's window system.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "core/handles_win32.h"
#include "gui/handles_win32.h"
#include "settings/language_folder_win32.h"
#include "settings/registry_win32.h"
#include "settings/window_system_win32.h"

namespace velmora::settings {

// For the expectations: a value is its type and its text or bytes.
bool operator==(const RegistryValue& a, const RegistryValue& b) {
  return a.type == b.type && a.text == b.text && a.data == b.data;
}

void PrintTo(const RegistryValue& value, std::ostream* out) {
  static constexpr const char* kTypes[] = {"string", "dword", "binary", "other"};
  *out << kTypes[static_cast<int>(value.type)] << " \"" << value.text << "\" [";
  for (std::uint8_t byte : value.data) *out << ' ' << int{byte};
  *out << " ]";
}

void PrintTo(const Rect& r, std::ostream* out) {
  *out << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string TestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// --- Registry -----------------------------------------------------------------------------------

constexpr std::string_view kTestRoot = "Software\\Orindel\\VelmoraTest";

// Text as the registry stores it: UTF-16 little-endian.
Bytes Utf16Bytes(std::u16string_view text) {
  Bytes bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

RegistryValue Text(std::string text) {
  return {ValueType::kString, std::move(text), {}};
}
RegistryValue Data(ValueType type, Bytes data) {
  return {type, {}, std::move(data)};
}

struct CloseKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = UniqueHandle<HKEY, CloseKey>;

// A value as the system's own functions see it.
struct RawValue {
  DWORD type = REG_NONE;
  Bytes bytes;
};

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::string(kTestRoot) + "\\" + TestName();
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_).c_str());
    key_ = registry_.CreateKey(path_);
    ASSERT_NE(key_, nullptr) << path_;
  }
  void TearDown() override {
    key_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_).c_str());
    // Goes only once no other test's key is left below it.
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kTestRoot).c_str());
  }

  static OwnedKey OpenRaw(const std::string& path) {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    return OwnedKey(key);
  }

  std::optional<RawValue> ReadRaw(std::string_view name) const {
    const OwnedKey key = OpenRaw(path_);
    RawValue value;
    DWORD size = 0;
    const std::wstring wide = Widen(name);
    if (RegQueryValueExW(key.Get(), wide.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    value.bytes.resize(size + 1);
    size = static_cast<DWORD>(value.bytes.size());
    if (RegQueryValueExW(key.Get(), wide.c_str(), nullptr, &value.type, value.bytes.data(),
                         &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
  }

  void WriteRaw(std::string_view name, DWORD type, const Bytes& bytes) const {
    const OwnedKey key = OpenRaw(path_);
    ASSERT_EQ(RegSetValueExW(key.Get(), Widen(name).c_str(), 0, type, bytes.data(),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
  }

  Win32Registry registry_;
  std::string path_;
  std::unique_ptr<RegistryKey> key_;
};

TEST_F(RegistryTest, EachTypeIsStoredAsTheSystemTypeAndReadBack) {
  struct Case {
    std::string_view name;
    std::function<bool(RegistryKey&)> write;
    RegistryValue read;  // what Read gives back
    DWORD stored_type;   // and what the system holds
    Bytes stored;
  };
  const Bytes little_endian = {0xEF, 0xCD, 0xAB, 0x89};
  const Bytes ten = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0x00, 0x10, 0x20, 0x30, 0x40};
  Bytes large(70000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 7);
  const Case cases[] = {
      // REG_SZ in UTF-16 with its terminator counted in the size.
      {"Text", [](RegistryKey& k) { return k.WriteString("Text", "Größe 日本"); },
       Text("Größe 日本"), REG_SZ, Concat(Utf16Bytes(u"Größe 日本"), {0, 0})},
      {"Empty",
       [](RegistryKey& k) { return k.WriteString("Empty", ""); },
       Text(""),
       REG_SZ,
       {0, 0}},
      {"Number", [](RegistryKey& k) { return k.WriteDword("Number", 0x89ABCDEF); },
       Data(ValueType::kDword, little_endian), REG_DWORD, little_endian},
      {"Bytes", [&](RegistryKey& k) { return k.WriteBinary("Bytes", ten); },
       Data(ValueType::kBinary, ten), REG_BINARY, ten},
      {"NoBytes",
       [](RegistryKey& k) { return k.WriteBinary("NoBytes", {}); },
       Data(ValueType::kBinary, {}),
       REG_BINARY,
       {}},
      {"Large", [&](RegistryKey& k) { return k.WriteBinary("Large", large); },
       Data(ValueType::kBinary, large), REG_BINARY, large},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(c.write(*key_));
    EXPECT_EQ(key_->Read(c.name), c.read);
    const std::optional<RawValue> raw = ReadRaw(c.name);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, c.stored_type);
    EXPECT_EQ(raw->bytes, c.stored);
  }
}

TEST_F(RegistryTest, ValuesWrittenByOtherProgramsAreReadAsTheirBytesAllow) {
  struct Case {
    std::string_view name;
    DWORD type;
    Bytes stored;
    RegistryValue read;
  };
  const Bytes qword = {1, 2, 3, 4, 5, 6, 7, 8};
  const Bytes multi = Utf16Bytes(std::u16string_view(u"a\0b\0\0", 5));
  const Case cases[] = {
      {"NoTerminator", REG_SZ, Utf16Bytes(u"abc"), Text("abc")},
      {"OddSize", REG_SZ, Concat(Utf16Bytes(u"ab"), {'c'}), Text("ab")},
      {"TextAfterNul", REG_SZ, Utf16Bytes(std::u16string_view(u"ab\0cd\0", 6)), Text("ab")},
      {"NonAscii", REG_SZ, Utf16Bytes(u"Größe 日本"), Text("Größe 日本")},
      {"NoBytes", REG_SZ, {}, Text("")},
      // Not expanded: returned as written.
      {"Expandable", REG_EXPAND_SZ, Concat(Utf16Bytes(u"%TEMP%\\x"), {0, 0}), Text("%TEMP%\\x")},
      {"Multi", REG_MULTI_SZ, multi, Data(ValueType::kOther, multi)},
      {"Qword", REG_QWORD, qword, Data(ValueType::kOther, qword)},
      {"None", REG_NONE, {9}, Data(ValueType::kOther, {9})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRaw(c.name, c.type, c.stored);
    EXPECT_TRUE(key_->HasValue(c.name));
    EXPECT_EQ(key_->Read(c.name), c.read);
  }
}

TEST_F(RegistryTest, ValueNamesIgnoreCase) {
  ASSERT_TRUE(key_->WriteString("Window_Left", "1"));
  EXPECT_TRUE(key_->HasValue("WINDOW_LEFT"));
  EXPECT_EQ(key_->Read("window_left"), Text("1"));
  // The same value again, not a second one.
  ASSERT_TRUE(key_->WriteString("WINDOW_left", "2"));
  EXPECT_EQ(key_->Read("Window_Left"), Text("2"));
  DWORD count = 0;
  RegQueryInfoKeyW(OpenRaw(path_).Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   &count, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(count, 1u);
  EXPECT_TRUE(key_->DeleteValue("window_LEFT"));
  EXPECT_FALSE(key_->HasValue("Window_Left"));
}

TEST_F(RegistryTest, MissingValuesAreNotThere) {
  EXPECT_FALSE(key_->HasValue("Missing"));
  EXPECT_EQ(key_->Read("Missing"), std::nullopt);
  EXPECT_FALSE(key_->DeleteValue("Missing"));
  ASSERT_TRUE(key_->WriteDword("Present", 1));
  EXPECT_TRUE(key_->DeleteValue("Present"));
  EXPECT_EQ(key_->Read("Present"), std::nullopt);
  EXPECT_FALSE(ReadRaw("Present"));
  EXPECT_FALSE(key_->DeleteValue("Present"));
}

TEST_F(RegistryTest, CreateKeyMakesTheMissingParents) {
  const std::string deep = path_ + "\\a\\b\\c";
  ASSERT_FALSE(OpenRaw(path_ + "\\a")) << "left from an earlier run";
  const auto key = registry_.CreateKey(deep);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(OpenRaw(path_ + "\\a"));
  EXPECT_TRUE(OpenRaw(path_ + "\\a\\b"));
  EXPECT_TRUE(OpenRaw(deep));
  EXPECT_TRUE(key->WriteDword("Deep", 7));
  // Creating an existing key opens it, values and all.
  const auto again = registry_.CreateKey(deep);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Read("Deep"), DwordValue(7));
}

TEST_F(RegistryTest, OpenKeyOpensOnlyExistingKeysForReadingAndWriting) {
  EXPECT_EQ(registry_.OpenKey(path_ + "\\Missing"), nullptr);
  EXPECT_FALSE(OpenRaw(path_ + "\\Missing")) << "OpenKey must not create the key";
  ASSERT_TRUE(key_->WriteString("Shared", "from the first handle"));
  const auto opened = registry_.OpenKey(path_);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->Read("Shared"), Text("from the first handle"));
  EXPECT_TRUE(opened->WriteString("Shared", "from the second"));
  EXPECT_EQ(key_->Read("Shared"), Text("from the second"));
}

// --- Language folder ----------------------------------------------------------------------------

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}


class LanguageFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("velmora-settings-" + TestName());
    TearDown();  // what an interrupted run left
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    // A read-only file cannot be deleted on Windows.
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_, ignored)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(folder_, ignored);
  }

  // Makes the file and returns its full path (UTF-8).
  std::string Make(std::string_view name, std::string_view bytes = "x", DWORD attributes = 0) {
    const std::filesystem::path path = folder_ / PathFromUtf8(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    if (attributes) SetFileAttributesW(path.c_str(), attributes);
    return Narrow(path.wstring());
  }
  std::string Folder() const { return Narrow(folder_.wstring()) + "\\"; }

  Win32LanguageFolder files_;
  std::filesystem::path folder_;
};

TEST_F(LanguageFolderTest, FindsThePlainFilesNamedDotLngInAnyCase) {
  Make("b.lng");
  Make("A.LNG");
  Make("c.txt");
  std::filesystem::create_directory(folder_ / "d.lng");
  Make("e.lng", "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  Make("f.lngx");  // matched through its short name where the volume makes short names
  Make("Ελληνικά.Lng");
  Make("g.lng.bak");
  const std::vector<std::string> expected = {"A.LNG", "b.lng", "e.lng", "Ελληνικά.Lng"};
  // The folder as the Settings page gives it, "\"-terminated, and without the separator.
  for (const std::string& folder : {Folder(), Folder().substr(0, Folder().size() - 1)}) {
    SCOPED_TRACE(folder);
    std::vector<std::string> found = files_.FindLanguageFiles(folder);
    std::sort(found.begin(), found.end());  // the file system's order is its own
    EXPECT_EQ(found, expected);
  }
}

TEST_F(LanguageFolderTest, AFolderWithoutLanguageFilesGivesNoNames) {
  Make("c.txt");
  EXPECT_EQ(files_.FindLanguageFiles(Folder()), std::vector<std::string>{});
  EXPECT_EQ(files_.FindLanguageFiles(Folder() + "Missing\\"), std::vector<std::string>{});
}

TEST_F(LanguageFolderTest, ReadFileGivesTheBytesOfAFileNoLargerThanTheLimit) {
  struct Case {
    std::string_view bytes;
    std::size_t max_bytes;
    std::optional<std::string> read;
  };
  const std::string_view five("a\0\xFF\r\n", 5);
  const Case cases[] = {
      {five, 5, std::string(five)},
      {five, 1 << 20, std::string(five)},
      {five, 4, std::nullopt},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    const std::string path = Make("file.lng", c.bytes);
    EXPECT_EQ(files_.ReadFile(path, c.max_bytes), c.read)
        << c.bytes.size() << " bytes, at most " << c.max_bytes;
  }
}

TEST_F(LanguageFolderTest, ReadFileGivesNothingForWhatIsNotAFile) {
  EXPECT_EQ(files_.ReadFile(Folder() + "missing.lng", 100), std::nullopt);
  std::filesystem::create_directory(folder_ / "d.lng");
  EXPECT_EQ(files_.ReadFile(Folder() + "d.lng", 100), std::nullopt);
}

TEST_F(LanguageFolderTest, ReadFileReadsAFileThatAnotherProgramIsWriting) {
  const std::string path = Make("open.lng", "being edited");
  // An editor holds the file open for writing and lets others read it.
  const KernelHandle writer(NullIfInvalid(CreateFileW(Widen(path).c_str(), GENERIC_WRITE,
                                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr)));
  ASSERT_TRUE(writer);
  EXPECT_EQ(files_.ReadFile(path, 100), "being edited");
}

// --- Window system ------------------------------------------------------------------------------

using gui::win32::OwnedWindow;

OwnedWindow MakeHiddenWindow() {
  return OwnedWindow(CreateWindowExW(0, L"STATIC", L"Velmora settings test", WS_OVERLAPPEDWINDOW,
                                     40, 50, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                     nullptr));
}

std::uintptr_t Id(const OwnedWindow& window) {
  return reinterpret_cast<std::uintptr_t>(window.Get());
}

Rect FromRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

MONITORINFO PrimaryMonitor() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  return info;
}

// The window's rectangle in the workspace coordinates of a placement: the screen moved by the
// work area's offset, which a taskbar along the top or left edge makes. (Wine's work area is
// the whole monitor, so there the two coordinates agree.)
Rect WorkspaceRectOf(const OwnedWindow& window) {
  const MONITORINFO primary = PrimaryMonitor();
  RECT r{};
  GetWindowRect(window.Get(), &r);
  OffsetRect(&r, primary.rcMonitor.left - primary.rcWork.left,
             primary.rcMonitor.top - primary.rcWork.top);
  return FromRect(r);
}

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_) << GetLastError();
    ASSERT_TRUE(application_) << GetLastError();
  }

  // The messages of `window` waiting in the queue, taken out of it.
  static std::vector<MSG> Posted(const OwnedWindow& window) {
    std::vector<MSG> messages;
    MSG msg;
    while (PeekMessageW(&msg, window.Get(), 0, 0, PM_REMOVE)) messages.push_back(msg);
    return messages;
  }

  OwnedWindow form_ = MakeHiddenWindow();
  OwnedWindow application_ = MakeHiddenWindow();
};

TEST_F(WindowSystemTest, SetPlacementMovesAHiddenWindowWithoutShowingIt) {
  Win32WindowSystem windows(Id(form_), Id(application_));
  const Rect normal = {150, 120, 550, 420};
  // The state stored with a placement is the form's business; none of them shows the window.
  for (std::uint32_t show_cmd : {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED}) {
    SCOPED_TRACE(show_cmd);
    windows.SetPlacement({show_cmd, 0, {-1, -1}, {-1, -1}, normal});
    EXPECT_FALSE(IsWindowVisible(form_.Get()));
    EXPECT_FALSE(IsIconic(form_.Get()));
    EXPECT_FALSE(IsZoomed(form_.Get()));
    EXPECT_EQ(WorkspaceRectOf(form_), normal);
    EXPECT_EQ(windows.Placement().normal, normal);
  }
}

TEST_F(WindowSystemTest, SetPlacementKeepsTheStateOfAVisibleWindow) {
  Win32WindowSystem windows(Id(form_), 0);
  ShowWindow(form_.Get(), SW_SHOWNOACTIVATE);
  const Rect normal = {160, 130, 460, 330};
  windows.SetPlacement({SW_SHOWMINIMIZED, 0, {-1, -1}, {-1, -1}, normal});
  EXPECT_TRUE(IsWindowVisible(form_.Get()));
  EXPECT_FALSE(IsIconic(form_.Get()));
  const WindowPlacement placement = windows.Placement();
  EXPECT_EQ(placement.show_cmd, std::uint32_t{SW_SHOWNORMAL});
  EXPECT_EQ(placement.normal, normal);
}

TEST_F(WindowSystemTest, PlacementIsTheSystemsRecord) {
  Win32WindowSystem windows(Id(form_), Id(application_));
  const Rect created = WorkspaceRectOf(form_);
  ShowWindow(form_.Get(), SW_SHOWMAXIMIZED);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  ASSERT_TRUE(GetWindowPlacement(form_.Get(), &wp));
  const WindowPlacement placement = windows.Placement();
  EXPECT_EQ(placement.show_cmd, wp.showCmd);
  EXPECT_EQ(placement.show_cmd, std::uint32_t{SW_SHOWMAXIMIZED});
  EXPECT_EQ(placement.flags, wp.flags);
  EXPECT_EQ(placement.min_position, (Point{wp.ptMinPosition.x, wp.ptMinPosition.y}));
  EXPECT_EQ(placement.max_position, (Point{wp.ptMaxPosition.x, wp.ptMaxPosition.y}));
  EXPECT_EQ(placement.normal, FromRect(wp.rcNormalPosition));
  EXPECT_EQ(placement.normal, created);
  EXPECT_EQ(created.Width(), 300);
}

TEST_F(WindowSystemTest, MinimizingGoesToTheApplicationWindowOrElseToTheForm) {
  struct Case {
    std::uintptr_t application;
    const OwnedWindow* target;
    const OwnedWindow* other;
  };
  const Case cases[] = {{Id(application_), &application_, &form_}, {0, &form_, &application_}};
  for (const Case& c : cases) {
    Win32WindowSystem windows(Id(form_), c.application);
    EXPECT_FALSE(windows.ApplicationMinimized());
    windows.MinimizeApplication();
    EXPECT_TRUE(Posted(*c.other).empty());
    const std::vector<MSG> posted = Posted(*c.target);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, UINT{WM_SYSCOMMAND});
    EXPECT_EQ(posted[0].wParam, WPARAM{SC_MINIMIZE});
    // The default window procedure carries the command out.
    DispatchMessageW(&posted[0]);
    EXPECT_TRUE(IsIconic(c.target->Get()));
    // Without an application window there is no application state to ask.
    EXPECT_EQ(windows.ApplicationMinimized(), c.application != 0);
  }
}

TEST_F(WindowSystemTest, TheScreenIsThePrimaryMonitor) {
  const Win32WindowSystem windows(Id(form_), 0);
  const MONITORINFO primary = PrimaryMonitor();
  EXPECT_EQ(windows.ScreenSize(), (Point{primary.rcMonitor.right - primary.rcMonitor.left,
                                         primary.rcMonitor.bottom - primary.rcMonitor.top}));
  EXPECT_GT(windows.ScreenSize().x, 0);
  EXPECT_GT(windows.PixelsPerInch(), 0);
}

TEST_F(WindowSystemTest, OnSomeMonitorIsTrueForRectanglesThatOverlapAMonitor) {
  const Win32WindowSystem windows(Id(form_), 0);
  const Rect primary = FromRect(PrimaryMonitor().rcMonitor);
  const int virtual_right =
      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  struct Case {
    Rect rect;
    bool on_monitor;
  };
  const Case cases[] = {
      {{-30000, -30000, -29000, -29000}, false},
      {{virtual_right + 100, 0, virtual_right + 400, 300}, false},
      {primary, true},
      {{primary.right - 50, primary.top + 10, primary.right + 250, primary.top + 210}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.rect));
    EXPECT_EQ(windows.OnSomeMonitor(c.rect), c.on_monitor);
  }
}

TEST_F(WindowSystemTest, TheNearestWorkAreaOfARectangleOffTheScreenIsOnTheScreen) {
  const Win32WindowSystem windows(Id(form_), 0);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const Rect far_right = {right + 5000, top + 100, right + 5400, top + 400};
  const Rect area = windows.NearestWorkArea(far_right);
  EXPECT_GT(area.Width(), 0);
  EXPECT_GT(area.Height(), 0);
  EXPECT_GE(area.left, left);
  EXPECT_GE(area.top, top);
  EXPECT_LE(area.right, right);
  EXPECT_LE(area.bottom, bottom);
  // The work area of that monitor, whose size does not depend on the coordinates.
  MONITORINFO nearest{};
  nearest.cbSize = sizeof(nearest);
  const RECT r = {far_right.left, far_right.top, far_right.right, far_right.bottom};
  GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &nearest);
  EXPECT_EQ(area.Width(), nearest.rcWork.right - nearest.rcWork.left);
  EXPECT_EQ(area.Height(), nearest.rcWork.bottom - nearest.rcWork.top);
}

}  // namespace
}  // namespace velmora::settings
