#include "ui/statistics_page.h"

#include <cstdint>
#include <vector>

#include "gui/chart.h"
#include "ui/page_rules.h"

namespace velmora::ui {

using namespace gui;

StatisticsPage::StatisticsPage(TChart& chart, DetailsReader read_details)
    : chart_(chart), read_details_(std::move(read_details)) {
  // The value axis in percent, with a short ladder of tops. The shares add up to 100, so the
  // largest lies between 100 / (number of applications) and 100, and it drifts a little with
  // every refresh; a top that followed it would rescale the whole chart each time. From the
  // ladder the smallest top that holds the largest share is taken, so the scale changes only
  // when that share crosses a rung, and the tallest bar still fills at least half the height.
  chart_.LeftAxis().SetTops({5, 10, 20, 30, 40, 60, 80, 100});
  chart_.LeftAxis().SetLabelSuffix(" %");
  chart_.SetBarValues(true);
}

std::string StatisticsPage::SeriesTitle(const std::string& name,
                                        const tracking::ProcessSnapshot& snapshot) const {
  const std::optional<DetailsFields> fields = ReadVersionTexts(read_details_, name, snapshot);
  return ChartSeriesTitle(fields ? fields->file_description : name);
}

void StatisticsPage::Refresh(const tracking::UsageLedger& ledger,
                             const tracking::ProcessSnapshot& snapshot) {
  // The total is summed in 64 bits: the 32-bit totals of many entries can exceed 32 bits
  // together, which would turn every share negative or infinite.
  std::vector<std::int64_t> seconds;
  seconds.reserve(ledger.Count());
  for (std::size_t i = 0; i < ledger.Count(); ++i) seconds.push_back(ledger.Seconds(i));
  // Empty when the total is 0: every bar is removed and the chart is drawn empty rather than
  // with undefined shares.
  const std::vector<double> shares = SharesInPercent(seconds);
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    const int index = static_cast<int>(i);
    TBarSeries* series = nullptr;
    if (chart_.SeriesCount() > index) {
      series = &chart_.Series(index);
    } else {
      series = &chart_.AddBarSeries();
      series->SetTitle(SeriesTitle(ledger.Name(i), snapshot));
    }
    series->SetBarStyle(TBarStyle::bsRectGradient);
    series->Gradient().SetVisible(true);
    series->Gradient().SetStartColor(clWhite);
    series->Gradient().SetMidColor(clNone);
    series->Gradient().SetBalance(50);
    series->Gradient().SetRelative(true);
    series->Clear();
    if (!shares.empty()) series->AddXY(static_cast<double>(i), shares[i], "", clDefault);
  }
}

}  // namespace velmora::ui
