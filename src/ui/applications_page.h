// The Applications page: one row per tracked executable that has been seen running, with its
// icon, a details text from its version information and the time spent in it. Rows stay
// after the application exits; a click on a column header sorts by that column.
//
// Rows are found by name through an index kept beside the list, so a refresh costs the same
// per tracked executable however many rows there are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "tracking/process_inspector.h"
#include "tracking/usage_ledger.h"
#include "ui/page_rules.h"
#include "ui/version_texts.h"

namespace velmora::gui {
class TImageList;
class TListItem;
class TListView;
}  // namespace velmora::gui

namespace velmora::ui {

class ApplicationsPage {
 public:
  ApplicationsPage(gui::TListView& list, gui::TImageList& images,
                   tracking::ProcessInspector& inspector, DetailsReader read_details);
  ApplicationsPage(const ApplicationsPage&) = delete;
  ApplicationsPage& operator=(const ApplicationsPage&) = delete;

  // The tick's refresh: every tracked executable that is running gets its row (made, with
  // icon and details for `mode`, when it is new) and its time text. With `auto_sort` the
  // rows are then ordered by time, longest first, with a descending arrow on the time
  // column. A new row puts the list in caption order and clears the arrow.
  void Refresh(const tracking::UsageLedger& ledger, const tracking::ProcessSnapshot& snapshot,
               DetailsMode mode, bool auto_sort);

  // Renders every row's details text again for `mode`; nothing for DetailsMode::None.
  void RefreshDetails(const tracking::UsageLedger& ledger,
                      const tracking::ProcessSnapshot& snapshot, DetailsMode mode);

  // The row of the executable `name` (A-Z case ignored; rows without a caption never
  // match). When several rows have that caption, the last in the list's order, so that a
  // duplicate cannot hide the row a later refresh would find. Null when there is none.
  gui::TListItem* FindRow(std::string_view name) const;

  // A click on the header of `column`: sorts by it, ascending and descending by turns,
  // counted over all header clicks, and shows that direction's arrow on the column.
  void SortByColumn(int column);
  int SortClickCount() const { return sort_click_count_; }

 private:
  gui::TListItem& AddRow(const std::string& name, const tracking::ProcessSnapshot& snapshot,
                         DetailsMode mode);
  std::string DetailsText(const std::string& name, const tracking::ProcessSnapshot& snapshot,
                          DetailsMode mode) const;
  void IndexRow(gui::TListItem& row) const;

  gui::TListView& list_;
  gui::TImageList& images_;
  tracking::ProcessInspector& inspector_;
  DetailsReader read_details_;
  int sort_click_count_ = 0;
  // Rows by caption (A-Z case ignored). The rows are made here, but the list is a public control:
  // when its row count no longer matches, the index is built again from the list.
  mutable AsciiNoCaseMap<std::vector<gui::TListItem*>> rows_by_name_;
  mutable int indexed_rows_ = 0;
};

}  // namespace velmora::ui
