// The single-instance guard with real processes: copies of a small program that carries the
// guard exactly as Velmora does are started, refused, killed and started again. Its settings
// are checked within this process, with two guards on one path.
#include "ui/app_instances_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "core/text.h"

namespace velmora::ui {
namespace {

namespace fs = std::filesystem;
constexpr wchar_t kAppClass[] = L"VelmoraGuardTestApp";

fs::path TestFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

struct Child {
  PROCESS_INFORMATION info{};
  DWORD pid() const { return info.dwProcessId; }
  // Waits for the end; returns the exit code, or -1 when it still runs after `ms`.
  int Wait(DWORD ms) const {
    if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<int>(code);
  }
  void Close() {
    if (info.hProcess) {
      if (Wait(0) == -1) {
        if (HWND app = FindProcessWindow(pid(), kAppClass)) PostMessageW(app, WM_CLOSE, 0, 0);
        if (Wait(5000) == -1) TerminateProcess(info.hProcess, 9);
        Wait(5000);
      }
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
      info = {};
    }
  }
};

class GuardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TestFolder() / ("guard-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder_);
    exe_ = folder_ / "velmora-guard-child.exe";
    fs::copy_file(TestFolder() / "velmora-guard-child.exe", exe_,
                  fs::copy_options::overwrite_existing);
    log_ = folder_ / "guard.log";
    SetEnvironmentVariableW(L"VELMORA_GUARD_LOG", log_.wstring().c_str());
    SetEnvironmentVariableW(L"VELMORA_GUARD_HANG", nullptr);
  }
  void TearDown() override {
    for (Child& c : children_) c.Close();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  Child& Start(const fs::path& exe, const std::wstring& arguments = L"") {
    std::wstring command = L"\"" + exe.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    Child child;
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder_.wstring().c_str(), &startup, &child.info))
        << "cannot start " << exe.string();
    children_.push_back(child);
    return children_.back();
  }

  std::string Log() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Waits until the log holds `line`.
  bool WaitForLog(const std::string& line, DWORD ms = 20000) const {
    for (DWORD waited = 0; waited < ms; waited += 50) {
      if (Log().find(line) != std::string::npos) return true;
      Sleep(50);
    }
    return false;
  }

  Child& StartRunning(const fs::path& exe) {
    Child& child = Start(exe);
    EXPECT_TRUE(WaitForLog("running " + std::to_string(child.pid()))) << Log();
    return child;
  }

  fs::path folder_, exe_, log_;
  std::vector<Child> children_;
};

TEST_F(GuardTest, SecondStartFromTheSamePathEndsWithCodeZeroAndHandsItsArgumentsOver) {
  Child& first = StartRunning(exe_);
  const auto started = std::chrono::steady_clock::now();
  Child& second = Start(exe_, L"notray extra");
  const int code = second.Wait(20000);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - started).count();
  EXPECT_EQ(code, 0);
  std::printf("refused start took %lld ms\n", static_cast<long long>(ms));
  EXPECT_TRUE(WaitForLog("cmdline " + std::to_string(first.pid()) + " notray||extra||")) << Log();
  EXPECT_EQ(Log().find("running " + std::to_string(second.pid())), std::string::npos);
  EXPECT_EQ(first.Wait(0), -1) << "the first copy goes on";
}

// The first copy shows no window, only its hidden application window: a refused start must
// not put that hidden window in the foreground, where it would take the keyboard from the
// window the user has and show nothing.
TEST_F(GuardTest, ASecondStartLeavesTheForegroundAloneWhenTheFirstCopyShowsNoWindow) {
  Child& first = StartRunning(exe_);
  HWND mine = CreateWindowExW(0, L"STATIC", L"the user's window", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                              50, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(mine);
  ASSERT_EQ(GetForegroundWindow(), mine);
  Child& second = Start(exe_);
  EXPECT_EQ(second.Wait(20000), 0);
  EXPECT_TRUE(WaitForLog("cmdline " + std::to_string(first.pid()))) << Log();
  // The activation is asynchronous across processes; give a wrong one time to show.
  Sleep(300);
  EXPECT_EQ(GetForegroundWindow(), mine);
  DestroyWindow(mine);
}

TEST_F(GuardTest, SamePathInAnotherLetterCaseIsTheSameCopy) {
  StartRunning(exe_);
  fs::path upper = folder_ / "VELMORA-GUARD-CHILD.EXE";
  Child& second = Start(upper);
  EXPECT_EQ(second.Wait(20000), 0);
}

TEST_F(GuardTest, CopyFromAnotherFolderRunsBesideTheFirst) {
  StartRunning(exe_);
  fs::create_directories(folder_ / "other");
  const fs::path other = folder_ / "other" / "velmora-guard-child.exe";
  fs::copy_file(exe_, other);
  Child& second = StartRunning(other);
  EXPECT_EQ(second.Wait(0), -1);
}

TEST_F(GuardTest, AKilledCopyDoesNotLockLaterStartsOut) {
  Child& first = StartRunning(exe_);
  // Keep the table alive as another process would (a copy in the middle of its start), so
  // the killed copy's entry stays in it.
  std::wstring upper = exe_.wstring();
  LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, upper.c_str(), static_cast<int>(upper.size()),
               upper.data(), static_cast<int>(upper.size()));
  const auto names = DeriveInstanceNames(std::u16string(upper.begin(), upper.end()));
  HANDLE table = OpenFileMappingW(FILE_MAP_READ, FALSE,
                                  std::wstring(names.table.begin(), names.table.end()).c_str());
  ASSERT_NE(table, nullptr);
  TerminateProcess(first.info.hProcess, 1);  // no clean end: its entry stays in the table
  first.Wait(5000);
  Child& next = StartRunning(exe_);
  EXPECT_EQ(next.Wait(0), -1);
  CloseHandle(table);
}

TEST_F(GuardTest, ACopyThatNeverAnswersHoldsAStartUpOnlyForABoundedTime) {
  SetEnvironmentVariableW(L"VELMORA_GUARD_HANG", L"1");
  StartRunning(exe_);
  SetEnvironmentVariableW(L"VELMORA_GUARD_HANG", nullptr);
  const auto started = std::chrono::steady_clock::now();
  Child& second = Start(exe_);
  EXPECT_EQ(second.Wait(30000), 0);
  std::printf("start beside an unanswering copy took %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - started)
                                         .count()));
}

// Two guards of this process on one path count as two copies, so the settings can be checked
// without other processes: the second guard is the starting copy.
class GuardSettings : public ::testing::Test {
 protected:
  struct Outcome {
    bool runs = false;
    int exit_code = -1;  // -1: the exit function was not called
  };

  Outcome StartSecond(const std::function<void(TAppInstances&)>& configure) {
    // A path of its own for each test: the table is named after it.
    const std::wstring path =
        L"C:\\velmora-guard-settings-" + std::to_wstring(GetCurrentProcessId()) + L"\\" +
        Widen(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L".exe";
    TAppInstances first(kSettingsAppClass, path);
    first.OnCmdLineReceived = [this](const std::wstring& text) { received_ += text; };
    first.OnOtherCopyStarted = [this] { ++other_copies_started_; };
    first.Register();
    TAppInstances second(kSettingsAppClass, path);
    configure(second);
    second.Register();
    Outcome outcome;
    outcome.runs = second.Check([&](UINT code) { outcome.exit_code = static_cast<int>(code); });
    return outcome;
  }

  static constexpr wchar_t kSettingsAppClass[] = L"VelmoraGuardSettingsTestApp";
  std::wstring received_;
  int other_copies_started_ = 0;
};

TEST_F(GuardSettings, ACopyOverTheLimitIsRefusedThroughTheExitItIsGivenWithCodeZero) {
  const Outcome outcome = StartSecond([](TAppInstances&) {});
  EXPECT_FALSE(outcome.runs);
  EXPECT_EQ(outcome.exit_code, 0);
}

TEST_F(GuardSettings, MaxInstancesSetsTheLimit) {
  const struct {
    int max_instances;
    bool runs;
  } cases[] = {{1, false}, {2, true}, {0, true} /* no limit */};
  for (const auto& c : cases) {
    SCOPED_TRACE("max_instances " + std::to_string(c.max_instances));
    const Outcome outcome =
        StartSecond([&](TAppInstances& guard) { guard.SetMaxInstances(c.max_instances); });
    EXPECT_EQ(outcome.runs, c.runs);
    EXPECT_EQ(outcome.exit_code, c.runs ? -1 : 0);
  }
}

TEST_F(GuardSettings, AnInactiveGuardLetsItsCopyRun) {
  const Outcome outcome = StartSecond([](TAppInstances& guard) {
    guard.SetActive(false);
    EXPECT_FALSE(guard.active());
  });
  EXPECT_TRUE(outcome.runs);
  EXPECT_EQ(outcome.exit_code, -1);
}

TEST_F(GuardSettings, ARefusedCopyHandsItsArgumentsOverUnlessToldNotTo) {
  for (const bool send : {true, false}) {
    SCOPED_TRACE(send ? "send_cmd_line" : "not send_cmd_line");
    received_.clear();
    other_copies_started_ = 0;
    const Outcome outcome = StartSecond([&](TAppInstances& guard) {
      guard.SetAutoActivate(false);
      guard.SetSendCmdLine(send);
      guard.SetArguments({L"notray", L"x y"});
    });
    EXPECT_FALSE(outcome.runs);
    EXPECT_EQ(received_, send ? L"notray\r\nx y\r\n" : L"");
    // The hand-over is what tells the running copy to show itself.
    EXPECT_EQ(other_copies_started_, send ? 1 : 0);
  }
}

DWORD WINAPI TakeAndRelease(LPVOID p) {
  auto* lock = static_cast<InterProcessLock*>(p);
  lock->Acquire();
  lock->Release();
  return 0;
}

TEST(InstanceLock, IsReentrantForTheHoldingThread) {
  InterProcessLock lock(u"Lock_Event_VelmoraLockTest", u"Lock_MMF_VelmoraLockTest");
  lock.Acquire();
  lock.Acquire();  // would deadlock if not re-entrant
  lock.Release();
  lock.Release();
  // Released for good: another thread gets it.
  HANDLE thread = CreateThread(nullptr, 0, &TakeAndRelease, &lock, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  CloseHandle(thread);
}

}  // namespace
}  // namespace velmora::ui
