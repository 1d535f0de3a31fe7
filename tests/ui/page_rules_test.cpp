#include "ui/page_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velmora::ui {
namespace {

TEST(TimeText, EveryFieldHasTwoDigitsAndHoursAreUnbounded) {
  const struct {
    std::int64_t seconds;
    const char* text;
  } cases[] = {{0, "00:00:00"},      {59, "00:00:59"},    {60, "00:01:00"},
               {3599, "00:59:59"},   {3600, "01:00:00"},  {3661, "01:01:01"},
               {86399, "23:59:59"},  {360000, "100:00:00"}, {2147483647, "596523:14:07"}};
  for (const auto& c : cases) EXPECT_EQ(FormatTimeText(c.seconds), c.text) << c.seconds;
}

TEST(DetailsText, EachModePicksItsField) {
  const DetailsFields f{"Notepad", "Microsoft", "Windows", "10.0"};
  EXPECT_EQ(ComposeDetailsText(DetailsMode::ExeDescription, f), "Notepad");
  EXPECT_EQ(ComposeDetailsText(DetailsMode::ProductName, f), "Windows");
  EXPECT_EQ(ComposeDetailsText(DetailsMode::Company, f), "Microsoft");
  EXPECT_EQ(ComposeDetailsText(DetailsMode::Version, f), "10.0");
  EXPECT_EQ(ComposeDetailsText(DetailsMode::All, f), "Notepad | Microsoft | Windows 10.0");
  EXPECT_EQ(ComposeDetailsText(DetailsMode::None, f), std::nullopt);
}

TEST(DetailsText, CombinedTextOfEmptyFieldsKeepsItsSevenSeparatorCharacters) {
  EXPECT_EQ(ComposeDetailsText(DetailsMode::All, {}), " |  |  ");
}

TEST(Sorting, BytesCompareUnsignedAndPrefixFirst) {
  EXPECT_EQ(CompareBytes("abc", "abd"), -1);
  EXPECT_EQ(CompareBytes("ab", "abc"), -1);
  EXPECT_EQ(CompareBytes("\xC3\xA9", "z"), 1);  // a byte above 0x7F is greater, not negative
  EXPECT_EQ(CompareBytes("B", "a"), -1);        // byte order, not a collation
  EXPECT_EQ(CompareBytes("same", "same"), 0);
}

TEST(Sorting, HeaderClickNeverReportsEquality) {
  EXPECT_EQ(HeaderClickCompare("a", "a", false), -1);
  EXPECT_EQ(HeaderClickCompare("a", "a", true), 1);
  EXPECT_EQ(HeaderClickCompare("b", "a", false), 1);
  EXPECT_EQ(HeaderClickCompare("b", "a", true), -1);
  EXPECT_EQ(HeaderClickCompare("a", "b", false), -1);
  EXPECT_EQ(HeaderClickCompare("a", "b", true), 1);
}

TEST(Sorting, AutomaticOrderIsDescendingByTimeText) {
  std::vector<std::string> rows = {"02:00:00", "10:00:00", "00:30:00", "99:59:59", "100:00:00"};
  std::stable_sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
    return AutoSortCompare(a, b) < 0;
  });
  // Text order: 100:00:00 lands below 99:59:59 ("1" < "9").
  EXPECT_EQ(rows, (std::vector<std::string>{"99:59:59", "10:00:00", "100:00:00", "02:00:00",
                                            "00:30:00"}));
  EXPECT_EQ(AutoSortCompare("01:00:00", "01:00:00"), 0);
}

TEST(Chart, TitlesAreCutAfterFifteenCharacters) {
  EXPECT_EQ(ChartSeriesTitle("exactly15chars!"), "exactly15chars!");
  EXPECT_EQ(ChartSeriesTitle("sixteen chars!!!"), "sixteen chars!!...");
  EXPECT_EQ(ChartSeriesTitle(""), "");
  // Fifteen characters of two bytes each are not cut; sixteen are, on a character boundary.
  std::string fifteen;
  for (int i = 0; i < 15; ++i) fifteen += "\xC3\xA9";
  EXPECT_EQ(ChartSeriesTitle(fifteen), fifteen);
  EXPECT_EQ(ChartSeriesTitle(fifteen + "\xC3\xA9"), fifteen + "...");
}

TEST(Chart, SharesAreInPercentOfTheTotal) {
  EXPECT_EQ(SharesInPercent({30, 90}), (std::vector<double>{25.0, 75.0}));
  EXPECT_EQ(SharesInPercent({0, 0}), std::vector<double>{});
  EXPECT_EQ(SharesInPercent({}), std::vector<double>{});
  // Totals beyond 32 bits do not wrap.
  const auto big = SharesInPercent({2147483647, 2147483647});
  ASSERT_EQ(big.size(), 2u);
  EXPECT_DOUBLE_EQ(big[0], 50.0);
}

}  // namespace
}  // namespace velmora::ui
