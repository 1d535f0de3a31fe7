// The Statistics page: a bar chart with one series per tracked executable, each bar that
// executable's share of all tracked time in percent, titled with its file description.
#pragma once

#include "tracking/process_snapshot.h"
#include "tracking/usage_ledger.h"
#include "ui/version_texts.h"

namespace velmora::gui {
class TChart;
}  // namespace velmora::gui

namespace velmora::ui {

class StatisticsPage {
 public:
  StatisticsPage(gui::TChart& chart, DetailsReader read_details);
  StatisticsPage(const StatisticsPage&) = delete;
  StatisticsPage& operator=(const StatisticsPage&) = delete;

  // Series i shows ledger entry i: a new entry gets a new series, titled once when it is
  // made; every series gets its share again. A total of zero draws the chart empty.
  void Refresh(const tracking::UsageLedger& ledger, const tracking::ProcessSnapshot& snapshot);

 private:
  std::string SeriesTitle(const std::string& name, const tracking::ProcessSnapshot& snapshot) const;

  gui::TChart& chart_;
  DetailsReader read_details_;
};

}  // namespace velmora::ui
