#include "tracking/process_snapshot.h"

#include <gtest/gtest.h>

#include "tracking/fake_process_inspector.h"

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

// A snapshot taken from the process walk: names answer the running question without
// opening anything; a path is read only when asked, from the processes of that name, the
// last one enumerated that can be opened winning.
TEST(ProcessSnapshot, FromTheWalkOpensOnlyTheProcessesOfTheNameWhosePathIsAsked) {
  FakeProcessInspector inspector;
  inspector.AddProcess(1, "C:\\Program Files\\Office\\WINWORD.EXE")
      .AddProcess(2, "\\??\\C:\\WINDOWS\\system32\\csrss.exe")
      .AddProcess(3, "C:\\first\\tool.exe")
      .AddProcess(4, "C:\\second\\Tool.exe")
      .AddProcess(5, "C:\\older\\svc.exe")
      .AddProcess(6, "", "svc.exe")  // cannot be opened: the earlier svc.exe answers
      .AddProcess(7, "", "protected.exe")
      .AddProcess(8, "", "guarded.exe")
      .AddProcess(9, "", "GUARDED.EXE")
      .AddProcess(10, "C:\\new\\other.exe", "reused.exe")  // ID reused since the walk
      .AddProcess(11, "C:\\x\\Äpfel.exe");
  struct Case {
    const char* name;
    bool running;
    const char* path;
    std::uint64_t opens;  // processes opened to answer the path
  };
  const Case cases[] = {
      {"winword.exe", true, "C:\\Program Files\\Office\\WINWORD.EXE", 1},
      {"WinWord.Exe", true, "C:\\Program Files\\Office\\WINWORD.EXE", 1},
      {"csrss.exe", true, "C:\\WINDOWS\\system32\\csrss.exe", 1},
      {"TOOL.EXE", true, "C:\\second\\Tool.exe", 1},
      {"svc.exe", true, "C:\\older\\svc.exe", 2},
      // Listed by the walk but not to be opened: running, with no path.
      {"protected.exe", true, "", 1},
      {"guarded.exe", true, "", 2},
      {"reused.exe", true, "", 1},
      {"ÄPFEL.EXE", true, "C:\\x\\Äpfel.exe", 1},
      {"äpfel.exe", false, "", 0},  // outside A-Z letters compare exactly
      {"notepad.exe", false, "", 0},
      {"", false, "", 0},
  };
  for (const Case& c : cases) {
    const InspectionCounters before = inspector.Counters();
    const ProcessSnapshot snapshot = inspector.TakeSnapshot();
    EXPECT_EQ(snapshot.IsProcessRunning(c.name), c.running) << c.name;
    const InspectionCounters walked = inspector.Counters();
    EXPECT_EQ(walked.process_snapshots - before.process_snapshots, 1u) << c.name;
    EXPECT_EQ(walked.process_opens, before.process_opens) << c.name;
    EXPECT_EQ(snapshot.GetProcessPath(c.name), c.path) << c.name;
    EXPECT_EQ(snapshot.GetProcessPath(c.name), c.path) << c.name << " (asked again)";
    const InspectionCounters after = inspector.Counters();
    EXPECT_EQ(after.process_opens - walked.process_opens, c.opens) << c.name;
    EXPECT_EQ(after.process_snapshots, walked.process_snapshots) << c.name;
  }
}

// Where every process can be opened, the walk answers exactly as a snapshot of every
// process's image path does.
TEST(ProcessSnapshot, FromTheWalkAgreesWithTheFullPathList) {
  FakeProcessInspector inspector;
  ProcessId pid = 100;
  for (const char* path : {"C:\\a\\x.exe", "C:\\b\\X.EXE", "\\??\\D:\\y.exe", "C:\\c\\ä.exe",
                           "C:\\d\\Ä.exe", "C:\\e\\x.exe", "\\SystemRoot\\System32\\smss.exe"}) {
    inspector.AddProcess(pid++, path);
  }
  const ProcessSnapshot walked = inspector.TakeSnapshot();
  const ProcessSnapshot listed(inspector.GetRunningProcessList());
  for (const char* name :
       {"x.exe", "X.exe", "y.exe", "ä.exe", "Ä.exe", "smss.exe", "SMSS.EXE", "", "z.exe"}) {
    EXPECT_EQ(walked.IsProcessRunning(name), listed.IsProcessRunning(name)) << name;
    EXPECT_EQ(walked.GetProcessPath(name), listed.GetProcessPath(name)) << name;
  }
}

// The refresh's running check for every tracked application costs one walk, however many
// applications and processes there are.
TEST(ProcessSnapshot, RunningChecksOfATickOpenNoProcess) {
  FakeProcessInspector inspector;
  for (ProcessId p = 0; p < 1000; ++p) {
    inspector.AddProcess(p + 4, "C:\\Apps\\app" + std::to_string(p) + ".exe");
  }
  const InspectionCounters before = inspector.Counters();
  const ProcessSnapshot snapshot = inspector.TakeSnapshot();
  int running = 0;
  for (int t = 0; t < 1500; ++t)
    running += snapshot.IsProcessRunning("APP" + std::to_string(t) + ".EXE");
  EXPECT_EQ(running, 1000);
  EXPECT_EQ(inspector.Counters().Total() - before.Total(), 1u);
  EXPECT_EQ(inspector.Counters().process_snapshots - before.process_snapshots, 1u);
}

// Each snapshot looks at the process table anew; only its own answers are remembered.
TEST(ProcessSnapshot, NothingIsCarriedFromOneSnapshotToTheNext) {
  FakeProcessInspector inspector;
  inspector.AddProcess(1, "C:\\v1\\app.exe");
  const ProcessSnapshot first = inspector.TakeSnapshot();
  EXPECT_EQ(first.GetProcessPath("app.exe"), "C:\\v1\\app.exe");

  inspector.RemoveProcess(1);
  inspector.AddProcess(2, "C:\\v2\\app.exe");
  const ProcessSnapshot second = inspector.TakeSnapshot();
  const std::uint64_t opens = inspector.Counters().process_opens;
  EXPECT_EQ(second.GetProcessPath("app.exe"), "C:\\v2\\app.exe");
  EXPECT_EQ(inspector.Counters().process_opens, opens + 1);
  EXPECT_EQ(first.GetProcessPath("app.exe"), "C:\\v1\\app.exe");  // its own answer, kept
  EXPECT_EQ(inspector.Counters().process_opens, opens + 1);

  inspector.RemoveProcess(2);
  const ProcessSnapshot third = inspector.TakeSnapshot();
  EXPECT_FALSE(third.IsProcessRunning("app.exe"));
  EXPECT_EQ(third.GetProcessPath("app.exe"), "");
}

}  // namespace
}  // namespace velmora::tracking
