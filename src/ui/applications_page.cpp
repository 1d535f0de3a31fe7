#include "ui/applications_page.h"

#include "core/text.h"
#include "gui/image_list.h"
#include "gui/list_view.h"

namespace velmora::ui {

using gui::TListItem;

namespace {

constexpr int kDetailsColumn = 0;  // sub-item indexes
constexpr int kTimeColumn = 1;
constexpr int kTimeListColumn = kTimeColumn + 1;  // the same column among the list's columns

}  // namespace

ApplicationsPage::ApplicationsPage(gui::TListView& list, gui::TImageList& images,
                                   tracking::ProcessInspector& inspector,
                                   DetailsReader read_details)
    : list_(list), images_(images), inspector_(inspector), read_details_(std::move(read_details)) {}

void ApplicationsPage::IndexRow(TListItem& row) const {
  if (!row.Caption().empty()) rows_by_name_[row.Caption()].push_back(&row);
  ++indexed_rows_;
}

TListItem* ApplicationsPage::FindRow(std::string_view name) const {
  if (indexed_rows_ != list_.Count()) {
    rows_by_name_.clear();
    indexed_rows_ = 0;
    for (int i = 0; i < list_.Count(); ++i) IndexRow(list_.Item(i));
  }
  const auto found = rows_by_name_.find(name);
  if (found == rows_by_name_.end()) return nullptr;
  const std::vector<TListItem*>& rows = found->second;
  if (rows.size() == 1) return rows.front();
  // Sorting reorders rows, so which duplicate is last is decided by the current order.
  TListItem* last = rows.front();
  for (TListItem* row : rows) {
    if (row->Index() > last->Index()) last = row;
  }
  return last;
}

std::string ApplicationsPage::DetailsText(const std::string& name,
                                          const tracking::ProcessSnapshot& snapshot,
                                          DetailsMode mode) const {
  const std::optional<DetailsFields> fields = ReadVersionTexts(read_details_, name, snapshot);
  if (!fields) return name;
  // No option button chosen (only stored settings can do that): no text is composed.
  return ComposeDetailsText(mode, *fields).value_or(std::string());
}

TListItem& ApplicationsPage::AddRow(const std::string& name,
                                    const tracking::ProcessSnapshot& snapshot, DetailsMode mode) {
  TListItem& row = list_.Add();
  row.SetCaption(name);
  row.SetImageIndex(-1);
  const tracking::ProcessIcon icon = inspector_.ExtractProcessIcon(snapshot.GetProcessPath(name));
  if (icon) {
    // The image list keeps a copy; our handle is released when `icon` goes.
    row.SetImageIndex(images_.AddIcon(reinterpret_cast<std::uintptr_t>(icon.get())));
  }
  row.SubItems().Add(DetailsText(name, snapshot, mode));
  row.SubItems().Add(std::string());
  IndexRow(row);
  // Setting the caption put the rows back in caption order (the list sorts by text), so
  // no column's arrow tells the order any more.
  list_.SetSortIndicator(-1, gui::TSortDirection::sdNone);
  return row;
}

void ApplicationsPage::Refresh(const tracking::UsageLedger& ledger,
                               const tracking::ProcessSnapshot& snapshot, DetailsMode mode,
                               bool auto_sort) {
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    const std::string& name = ledger.Name(i);
    if (!snapshot.IsProcessRunning(name)) continue;
    TListItem* row = FindRow(name);
    if (!row) row = &AddRow(name, snapshot, mode);
    // Most times are unchanged since the last tick (only the foreground application's
    // grows); writing those again would redraw every row of the list for nothing.
    std::string time = FormatTimeText(ledger.Seconds(i));
    if (row->SubItems()[kTimeColumn] != time) row->SubItems().Put(kTimeColumn, std::move(time));
  }
  if (auto_sort) {
    list_.CustomSort([](const TListItem& a, const TListItem& b) {
      return AutoSortCompare(a.SubItems()[kTimeColumn], b.SubItems()[kTimeColumn]);
    });
    list_.SetSortIndicator(kTimeListColumn, gui::TSortDirection::sdDescending);
  }
}

void ApplicationsPage::RefreshDetails(const tracking::UsageLedger& ledger,
                                      const tracking::ProcessSnapshot& snapshot,
                                      DetailsMode mode) {
  if (mode == DetailsMode::None) return;
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    const std::string& name = ledger.Name(i);
    if (TListItem* row = FindRow(name)) row->SubItems().Put(kDetailsColumn, DetailsText(name, snapshot, mode));
  }
}

void ApplicationsPage::SortByColumn(int column) {
  const bool descending = sort_click_count_ % 2 != 0;
  list_.CustomSort([&](const TListItem& a, const TListItem& b) {
    return HeaderClickCompare(a.CellText(column), b.CellText(column), descending);
  });
  list_.SetSortIndicator(
      column, descending ? gui::TSortDirection::sdDescending : gui::TSortDirection::sdAscending);
  ++sort_click_count_;
}

}  // namespace velmora::ui
