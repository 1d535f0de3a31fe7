#include "tracking/process_snapshot.h"

#include <gtest/gtest.h>

namespace velmora::tracking {
namespace {

TEST(NormalizeProcessPath, Table) {
  struct Case {
    const char* path;
    const char* normalised;
  };
  const Case cases[] = {
      {"", ""},
      {"C:\\a", ""},  // four characters or fewer: empty
      {"a.exe", "a.exe"},
      {"C:\\x.exe", "C:\\x.exe"},
      {"\\??\\C:\\WINDOWS\\system32\\csrss.exe", "C:\\WINDOWS\\system32\\csrss.exe"},
      {"\\SystemRoot\\System32\\smss.exe", "temRoot\\System32\\smss.exe"},
      {"\\\\?\\C:\\long\\app.exe", "C:\\long\\app.exe"},
      {"1234567", "567"},
      {"\\??\\C", "C"},
      {"ÄÖÜß", ""},                            // four characters, eight bytes
      {"éa\\b.exe", ".exe"},                   // a non-ASCII letter is not an ASCII letter
      {"\\\\é\\é.exe", "é.exe"},               // four characters are cut, not four bytes
      {"\xC3\\??\\C:\\a.exe", "\\C:\\a.exe"},  // a stray byte counts as one character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormalizeProcessPath(c.path), c.normalised) << c.path;
  }
}

TEST(ProcessFileName, TakesThePartAfterTheLastBackslashOrColon) {
  struct Case {
    const char* path;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Windows\\notepad.exe", "notepad.exe"},
      {"C:notepad.exe", "notepad.exe"},
      {"notepad.exe", "notepad.exe"},
      {"C:\\dir\\", ""},
      {"C:/dir/app.exe", "/dir/app.exe"},  // a forward slash is not a separator
      {"a:b\\c:d.exe", "d.exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProcessFileName(c.path), c.name) << c.path;
}

TEST(ProcessFileNameMatches, Table) {
  struct Case {
    const char* path;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"C:\\Office\\WINWORD.EXE", "winword.exe", true},
      {"C:\\Office\\winword.exe", "WINWORD.EXE", true},
      {"C:\\Office\\winword.exe", "winword", false},
      {"\\SystemRoot\\System32\\smss.exe", "SMSS.EXE", true},
      {"C:\\x\\Äpfel.exe", "äpfel.exe", false},  // outside A-Z letters compare exactly
      {"C:\\x\\Äpfel.exe", "ÄPFEL.EXE", true},
      {"C:\\x\\a.exe", "x\\a.exe", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProcessFileNameMatches(c.path, c.name), c.matches) << c.path << " ~ " << c.name;
  }
}

TEST(ProcessSnapshot, AnswersByFileNameWithTheLastMatchWinning) {
  const ProcessSnapshot snapshot({
      "C:\\Program Files\\Office\\WINWORD.EXE",
      "\\??\\C:\\WINDOWS\\system32\\csrss.exe",
      "\\SystemRoot\\System32\\smss.exe",
      "C:\\first\\tool.exe",
      "C:\\second\\Tool.exe",
  });
  struct Case {
    const char* name;
    bool running;
    const char* path;
  };
  const Case cases[] = {
      {"winword.exe", true, "C:\\Program Files\\Office\\WINWORD.EXE"},
      {"WinWord.Exe", true, "C:\\Program Files\\Office\\WINWORD.EXE"},
      {"csrss.exe", true, "C:\\WINDOWS\\system32\\csrss.exe"},
      {"smss.exe", true, "temRoot\\System32\\smss.exe"},
      {"TOOL.EXE", true, "C:\\second\\Tool.exe"},
      {"notepad.exe", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(snapshot.IsProcessRunning(c.name), c.running) << c.name;
    EXPECT_EQ(snapshot.GetProcessPath(c.name), c.path) << c.name;
  }
}

// Every name the snapshot answers agrees with a linear search of its list by the
// file-name rule, the way a fresh list per question would answer.
TEST(ProcessSnapshot, AgreesWithALinearSearchOfItsList) {
  const std::vector<std::string> paths = {"C:\\a\\x.exe", "C:\\b\\X.EXE", "\\??\\D:\\y.exe",
                                          "C:\\c\\ä.exe", "C:\\d\\Ä.exe", "abcd",
                                          "C:\\e\\x.exe"};
  const ProcessSnapshot snapshot(paths);
  for (const char* name : {"x.exe", "X.exe", "y.exe", "ä.exe", "Ä.exe", "abcd", "", "z.exe"}) {
    std::string last;
    bool any = false;
    for (const std::string& path : paths) {
      if (ProcessFileNameMatches(path, name)) {
        any = true;
        last = NormalizeProcessPath(path);
      }
    }
    EXPECT_EQ(snapshot.IsProcessRunning(name), any) << name;
    EXPECT_EQ(snapshot.GetProcessPath(name), last) << name;
  }
}

TEST(ProcessSnapshot, EmptyListHasNothingRunning) {
  const ProcessSnapshot snapshot;
  EXPECT_FALSE(snapshot.IsProcessRunning("explorer.exe"));
  EXPECT_EQ(snapshot.GetProcessPath("explorer.exe"), "");
}

}  // namespace
}  // namespace velmora::tracking
