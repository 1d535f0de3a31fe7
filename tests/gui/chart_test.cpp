// The chart's model and its portable layout: palette, value scale, bar marks and legend.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "gui/chart.h"
#include "gui/errors.h"

namespace velmora::gui {
namespace {

// Text six pixels per byte wide, as a stand-in for the font.
int SixPixelsPerByte(std::string_view text) {
  return static_cast<int>(text.size()) * 6;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top &&
         inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

// A chart as the Statistics page fills it: one series per application, x = its index,
// y = its share in percent.
struct StatisticsChart {
  explicit StatisticsChart(const std::vector<double>& shares) {
    chart.Title().Text().Clear();
    chart.LeftAxis().SetTops({5, 10, 20, 30, 40, 60, 80, 100});
    chart.LeftAxis().SetLabelSuffix(" %");
    chart.SetBarValues(true);
    for (std::size_t i = 0; i < shares.size(); ++i) {
      auto& s = chart.AddBarSeries();
      s.SetTitle("Application " + std::to_string(i + 1));
      s.AddXY(static_cast<double>(i), shares[i]);
    }
  }
  ChartLayout Layout(int width = 471, int height = 328) const {
    return chart.Layout(width, height, 13, SixPixelsPerByte);
  }
  TChart chart{nullptr};
};

std::vector<double> EqualShares(int count) {
  return std::vector<double>(static_cast<std::size_t>(count), 100.0 / count);
}

TEST(ChartTest, SeriesAreOwnedByTheChartAndLeaveItsListWhenDestroyed) {
  TChart chart(nullptr);
  auto& a = chart.AddBarSeries();
  auto& b = chart.AddBarSeries();
  EXPECT_EQ(a.Owner(), &chart);
  EXPECT_NE(a.SeriesColor(), b.SeriesColor());
  a.AddXY(0, 25, "", clDefault);
  a.AddXY(1, 10, "", clRed);
  EXPECT_EQ(a.PointColor(0), a.SeriesColor()) << "0x20000000 means the series' colour";
  EXPECT_EQ(a.PointColor(1), clRed);
  delete &a;
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(&chart.Series(0), &b);
  EXPECT_THROW(chart.Series(1), EListError);
}

TEST(ChartTest, BarStyleAndGradientBySetters) {
  TChart chart(nullptr);
  auto& s = chart.AddBarSeries();
  SetPropertyText(s, "BarStyle", "bsRectGradient");
  EXPECT_EQ(s.BarStyle(), TBarStyle::bsRectGradient);
  EXPECT_EQ(static_cast<int>(s.BarStyle()), 6);
  auto* gradient = GetObjectProperty(s, "Gradient");
  SetPropertyText(*gradient, "MidColor", "clNone");
  SetPropertyText(*gradient, "Balance", "50");
  EXPECT_EQ(s.Gradient().MidColor(), clNone);
  EXPECT_THROW(SetPropertyText(s, "BarStyle", "bsCube"), EConvertError);
}

// Perceived distance of two colours ("redmean" weighted RGB; 0 .. about 765).
double ColourDistance(TColor a, TColor b) {
  const int r1 = a & 0xFF, g1 = (a >> 8) & 0xFF, b1 = (a >> 16) & 0xFF;
  const int r2 = b & 0xFF, g2 = (b >> 8) & 0xFF, b2 = (b >> 16) & 0xFF;
  const double rmean = (r1 + r2) / 2.0;
  const int dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
  return std::sqrt((2 + rmean / 256) * dr * dr + 4 * dg * dg + (2 + (255 - rmean) / 256) * db * db);
}

TEST(ChartTest, PaletteHasTwentyDistinctColoursWithNeighboursFarApart) {
  const std::span<const TColor> palette = SeriesPalette();
  ASSERT_GE(palette.size(), 20u);
  for (std::size_t i = 0; i < 20; ++i) {
    for (std::size_t j = i + 1; j < 20; ++j) {
      EXPECT_GE(ColourDistance(palette[i], palette[j]), 90) << i << " and " << j;
    }
  }
  for (std::size_t i = 0; i + 1 < palette.size(); ++i) {
    EXPECT_GE(ColourDistance(palette[i], palette[i + 1]), 150) << "neighbours " << i;
  }
  for (std::size_t i = 0; i < palette.size(); ++i) {
    // A gradient bar starts at white: its colour must stand out from white.
    EXPECT_GE(ColourDistance(palette[i], clWhite), 200) << i;
  }
  TChart chart(nullptr);
  for (std::size_t i = 0; i < palette.size() + 1; ++i) {
    EXPECT_EQ(chart.AddBarSeries().SeriesColor(), palette[i % palette.size()]) << i;
  }
}

TEST(ChartTest, FixedTopsKeepTheScaleWhileTheLargestValueMovesBelowARung) {
  const std::vector<double> tops = {5, 10, 20, 30, 40, 60, 80, 100};
  struct Case {
    double max, top, step;
  };
  for (const Case& c : {Case{55.0, 60, 20}, Case{58.3, 60, 20}, Case{41.2, 60, 20},
                        Case{60.0, 60, 20}, Case{60.1, 80, 20}, Case{100, 100, 20}, Case{2.5, 5, 1},
                        Case{11, 20, 5}, Case{27, 30, 10}, Case{0, 5, 1}, Case{250, 250, 50}}) {
    double top = 0, step = 0;
    AxisScale(c.max, tops, top, step);
    EXPECT_NEAR(top, c.top, 1e-9) << c.max;
    EXPECT_NEAR(step, c.step, 1e-9) << c.max;
  }
  // Without tops the scale follows the maximum.
  for (const Case& c :
       {Case{75, 80, 20}, Case{3.2, 4, 1}, Case{0, 1, 0.2}, Case{0.004, 0.004, 0.001}}) {
    double top = 0, step = 0;
    AxisScale(c.max, {}, top, step);
    EXPECT_NEAR(top, c.top, 1e-9) << c.max;
    EXPECT_NEAR(step, c.step, 1e-9) << c.max;
  }
}

TEST(ChartTest, TopsAndSuffixAsProperties) {
  TChart chart(nullptr);
  TPersistent& axis = *GetObjectProperty(chart, "LeftAxis");
  SetPropertyText(axis, "Tops", " 10 25  100 ");
  EXPECT_EQ(chart.LeftAxis().Tops(), (std::vector<double>{10, 25, 100}));
  EXPECT_EQ(GetPropertyText(axis, "Tops"), "10 25 100");
  SetPropertyText(axis, "LabelSuffix", "%");
  SetPropertyText(chart, "BarValues", "True");
  EXPECT_EQ(chart.LeftAxis().LabelSuffix(), "%");
  EXPECT_TRUE(chart.BarValues());
  for (const char* bad : {"10 x", "-5", "0", "1e999", "10,20", "nan"}) {
    EXPECT_THROW(SetPropertyText(axis, "Tops", bad), EConvertError) << bad;
    EXPECT_EQ(chart.LeftAxis().Tops(), (std::vector<double>{10, 25, 100})) << bad;
  }
}

TEST(ChartTest, LayoutBarsAreProportionalToTheirValues) {
  TChart chart(nullptr);
  chart.Title().Text().Clear();
  chart.Title().Text().Add("");
  auto& a = chart.AddBarSeries();
  auto& b = chart.AddBarSeries();
  a.SetTitle("Notepad");
  b.SetTitle("Calculator");
  a.AddXY(0, 25);
  b.AddXY(1, 75);
  const ChartLayout l = chart.Layout(471, 328, 13, SixPixelsPerByte);
  ASSERT_EQ(l.bars.size(), 2u);
  EXPECT_EQ(l.y_max, 80);
  const Rect& ra = l.bars[0].rect;
  const Rect& rb = l.bars[1].rect;
  EXPECT_NEAR(static_cast<double>(rb.height) / ra.height, 3.0, 0.05);
  EXPECT_EQ(ra.top + ra.height, l.plot.top + l.plot.height) << "bars stand on the axis";
  EXPECT_LT(ra.left + ra.width, rb.left) << "x = 0 left of x = 1";
  EXPECT_EQ(l.legend_rows.size(), 2u);
  EXPECT_GE(l.legend.left, l.plot.left + l.plot.width);
  EXPECT_FALSE(l.bars[0].mark_shown) << "marks are off unless asked for";
}

TEST(ChartTest, ValueAxisIsWrittenWithTheSuffixFromZeroToTheTop) {
  const StatisticsChart stats({27.4, 55.0, 17.6});
  const ChartLayout l = stats.Layout();
  std::vector<std::string> texts;
  for (const ChartLayout::Tick& t : l.ticks) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"0 %", "20 %", "40 %", "60 %"}));
  EXPECT_EQ(l.ticks.front().y, l.plot.top + l.plot.height);
  EXPECT_EQ(l.ticks.back().y, l.plot.top);
  for (const ChartLayout::Tick& t : l.ticks) {
    EXPECT_LE(t.text_rect.left + t.text_rect.width, l.plot.left) << t.text << " left of the axis";
  }
  EXPECT_EQ(l.bars[0].mark, "27.4 %");
}

// With 1, 10 and 40 applications: bars apart from each other, marks only where they fit and
// never on top of each other, everything inside the chart.
TEST(ChartTest, BarsAndMarksNeverOverlapWithOneTenOrFortySeries) {
  struct Case {
    int count;
    int width;
    const char* first_mark;  // "" when no mark has room
  };
  for (const Case& c : {Case{1, 471, "100.0 %"}, Case{10, 471, "10 %"}, Case{10, 900, "10.0 %"},
                        Case{40, 471, ""}}) {
    const StatisticsChart stats(EqualShares(c.count));
    const ChartLayout l = stats.Layout(c.width);
    ASSERT_EQ(l.bars.size(), static_cast<std::size_t>(c.count));
    const Rect chart_area{0, 0, c.width, 328};
    for (std::size_t i = 0; i < l.bars.size(); ++i) {
      const ChartLayout::Bar& bar = l.bars[i];
      EXPECT_GE(bar.rect.width, 2) << c.count << " bars, bar " << i;
      EXPECT_TRUE(Inside(bar.rect, l.plot)) << c.count << " bars, bar " << i;
      if (i > 0) {
        const Rect& before = l.bars[i - 1].rect;
        EXPECT_GE(bar.rect.left - (before.left + before.width), 1) << c.count << " bars, gap " << i;
      }
      EXPECT_EQ(bar.mark_shown, *c.first_mark != 0) << c.count << " bars, mark " << i;
      if (!bar.mark_shown) continue;
      EXPECT_EQ(bar.mark, c.first_mark);
      EXPECT_TRUE(Inside(bar.mark_rect, chart_area)) << c.count << " bars, mark " << i;
      EXPECT_FALSE(Overlap(bar.mark_rect, l.legend)) << c.count << " bars, mark " << i;
      EXPECT_LE(bar.mark_rect.top + bar.mark_rect.height, bar.rect.top) << "above its bar";
      for (std::size_t j = 0; j < i; ++j) {
        if (l.bars[j].mark_shown) {
          EXPECT_FALSE(Overlap(bar.mark_rect, l.bars[j].mark_rect)) << c.count << ": " << i << j;
        }
      }
    }
  }
  // One bar does not fill the plot.
  const ChartLayout one = StatisticsChart({100}).Layout();
  EXPECT_LE(one.bars[0].rect.width, 5 * 13);
  EXPECT_EQ(one.legend_rows.size(), 1u);
  EXPECT_EQ(one.legend_hidden, 0);
}

TEST(ChartTest, LegendIsAsWideAsItsWidestTextUpToTwoFifthsOfTheChart) {
  StatisticsChart stats({60, 40});
  stats.chart.Series(0).SetTitle("Notepad");
  stats.chart.Series(1).SetTitle("Velmora applicati...");
  ChartLayout l = stats.Layout();
  const int widest = SixPixelsPerByte("Velmora applicati...");
  for (const ChartLayout::LegendRow& row : l.legend_rows) {
    EXPECT_GE(row.text_rect.width, widest) << row.text << " has its whole width";
    EXPECT_TRUE(Inside(row.text_rect, l.legend)) << row.text;
    EXPECT_TRUE(Inside(row.swatch, l.legend)) << row.text;
    EXPECT_LE(row.swatch.left + row.swatch.width, row.text_rect.left) << row.text;
  }
  EXPECT_LT(l.legend.width, widest + 40) << "no more than the text, swatch and padding";

  stats.chart.Series(1).SetTitle(std::string(200, 'W'));
  l = stats.Layout();
  EXPECT_LE(l.legend.width, 471 * 2 / 5);
  EXPECT_GE(l.legend.left, l.plot.left + l.plot.width);
}

TEST(ChartTest, LegendSaysHowManySeriesHaveNoRow) {
  for (const int height : {328, 150, 50}) {
    const StatisticsChart stats(EqualShares(40));
    const ChartLayout l = stats.Layout(471, height);
    ASSERT_FALSE(l.legend_rows.empty()) << height;
    const ChartLayout::LegendRow& last = l.legend_rows.back();
    const int rows_with_series = static_cast<int>(l.legend_rows.size()) - 1;
    EXPECT_EQ(last.series, -1) << height;
    EXPECT_EQ(l.legend_hidden, 40 - rows_with_series) << height;
    EXPECT_EQ(last.text, std::to_string(l.legend_hidden) + " more not shown") << height;
    EXPECT_LE(l.legend.top + l.legend.height, height) << height;
    for (int i = 0; i < rows_with_series; ++i) {
      EXPECT_EQ(l.legend_rows[static_cast<std::size_t>(i)].series, i);
      EXPECT_TRUE(Inside(l.legend_rows[static_cast<std::size_t>(i)].text_rect, l.legend));
    }
  }
  // Everything fits: no count row.
  const ChartLayout l = StatisticsChart(EqualShares(10)).Layout();
  EXPECT_EQ(l.legend_rows.size(), 10u);
  EXPECT_EQ(l.legend_hidden, 0);
  EXPECT_NE(l.legend_rows.back().series, -1);
}

TEST(ChartTest, ValuesThatAreNotNumbersOrHugeStillGiveALayout) {
  for (const double y :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::max(), -5.0}) {
    const StatisticsChart stats({y, 10});
    const ChartLayout l = stats.Layout();
    EXPECT_EQ(l.bars.size(), 2u) << y;
    EXPECT_LE(l.ticks.size(), 101u) << y;
    EXPECT_TRUE(std::isfinite(l.y_max) && l.y_max > 0) << y;
  }
  EXPECT_NO_THROW(StatisticsChart(EqualShares(3)).Layout(0, 0));
}

}  // namespace
}  // namespace velmora::gui
