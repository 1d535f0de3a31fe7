#include "tracking/usage_ledger.h"

#include <gtest/gtest.h>

namespace velmora::tracking {
namespace {

TEST(UsageLedger, KeysAreLoweredInAsciiOnlyAndLookupsIgnoreAsciiCase) {
  struct Case {
    const char* credited;
    const char* probe;
    const char* stored;
    std::int32_t found;
  };
  const Case cases[] = {
      {"Notepad.EXE", "notepad.exe", "notepad.exe", 5},
      {"winword.exe", "WINWORD.EXE", "winword.exe", 5},
      {"ÄPFEL.EXE", "Äpfel.exe", "Äpfel.exe", 5},  // Ä is outside A-Z: kept as it is
      {"ÄPFEL.EXE", "äpfel.exe", "Äpfel.exe", 0},  // and not folded to ä
      {"[System Process]", "[SYSTEM PROCESS]", "[system process]", 5},
  };
  for (const Case& c : cases) {
    UsageLedger ledger;
    ledger.AddProcessTime(c.credited, 5);
    ASSERT_EQ(ledger.Count(), 1u) << c.credited;
    EXPECT_EQ(ledger.Name(0), c.stored) << c.credited;
    EXPECT_EQ(ledger.GetProcessTime(c.probe), c.found) << c.credited << " / " << c.probe;
  }
}

TEST(UsageLedger, NamesThatDifferInAsciiCaseShareOneEntry) {
  UsageLedger ledger;
  ledger.AddProcessTime("WINWORD.EXE", 3);
  ledger.AddProcessTime("winword.exe", 4);
  ledger.AddProcessTime("WinWord.Exe", 5);
  ASSERT_EQ(ledger.Count(), 1u);
  EXPECT_EQ(ledger.Name(0), "winword.exe");
  EXPECT_EQ(ledger.Seconds(0), 12);
  EXPECT_EQ(ledger.SecondsText(0), "12");
}

TEST(UsageLedger, EntriesKeepFirstCreditOrderAndTheirIndex) {
  UsageLedger ledger;
  for (const char* name : {"zeta.exe", "alpha.exe", "Mid.exe", "ZETA.EXE", "beta.exe"}) {
    ledger.AddProcessTime(name, 1);
  }
  ASSERT_EQ(ledger.Count(), 4u);
  const char* expected[] = {"zeta.exe", "alpha.exe", "mid.exe", "beta.exe"};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(ledger.Name(i), expected[i]) << i;
  EXPECT_EQ(ledger.Seconds(0), 2);
  EXPECT_EQ(ledger.IndexOf("MID.EXE"), 2u);
}

TEST(UsageLedger, ZeroSecondsCreateAnEntryAndAnEmptyNameNothing) {
  UsageLedger ledger;
  ledger.AddProcessTime("calc.exe", 0);
  ledger.AddProcessTime("", 7);
  ASSERT_EQ(ledger.Count(), 1u);
  EXPECT_EQ(ledger.Name(0), "calc.exe");
  EXPECT_EQ(ledger.SecondsText(0), "0");
}

TEST(UsageLedger, UnknownAndEmptyNamesHaveNoTime) {
  UsageLedger ledger;
  ledger.AddProcessTime("calc.exe", 9);
  EXPECT_EQ(ledger.GetProcessTime(""), 0);
  EXPECT_EQ(ledger.GetProcessTime("calc"), 0);
  EXPECT_EQ(ledger.GetProcessTime("calc.exe "), 0);
  EXPECT_FALSE(ledger.IndexOf("").has_value());
}

// Totals are 32-bit seconds: they stop at the largest value instead of wrapping negative.
TEST(UsageLedger, TotalsSaturateAtTheLargest32BitValue) {
  struct Case {
    std::int64_t first;
    std::int64_t second;
    std::int32_t total;
  };
  const Case cases[] = {
      {INT32_MAX - 1, 1, INT32_MAX},
      {INT32_MAX - 1, 2, INT32_MAX},
      {INT32_MAX, INT32_MAX, INT32_MAX},
      {5, std::int64_t{1} << 40, INT32_MAX},
      {5, -3, 2},
      {5, -10, 0},
      {0, INT64_MIN, 0},
  };
  for (const Case& c : cases) {
    UsageLedger ledger;
    ledger.AddProcessTime("a.exe", c.first);
    ledger.AddProcessTime("A.EXE", c.second);
    EXPECT_EQ(ledger.GetProcessTime("a.exe"), c.total) << c.first << " + " << c.second;
    EXPECT_EQ(ledger.SecondsText(0), std::to_string(c.total));
  }
}

}  // namespace
}  // namespace velmora::tracking
