// TListView: rows with a caption, sub-items and an image, shown in report view.
//
// Rows live in the object; the window shows them in the object's order. Sorting is done
// here, never by trusting the comparison (see safe_sort.h), and the window is refilled.
// The header's sort arrow is part of the object's state too: whoever sorts says which
// column and direction it shows, and the window paints it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/collection.h"
#include "gui/control.h"
#include "gui/image_list.h"
#include "gui/strings.h"

namespace velmora::gui {

class TListView;

class TListColumn : public TCollectionItem {
  VELMORA_CLASS()

 public:
  explicit TListColumn(TCollection& collection) : TCollectionItem(collection) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  int Width() const { return width_; }
  void SetWidth(int width);

 private:
  std::string caption_;
  int width_ = 50;
};

class TListItem : public TPersistent {
  VELMORA_CLASS()

 public:
  explicit TListItem(TListView& owner);
  TListView& ListView() const { return *owner_; }
  int Index() const;
  const std::string& Caption() const { return caption_; }
  // Setting the caption re-sorts the list when its SortType sorts by text.
  void SetCaption(std::string caption);
  TStrings& SubItems() { return sub_items_; }
  const TStrings& SubItems() const { return sub_items_; }
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);
  bool Selected() const { return selected_; }
  void SetSelected(bool selected);
  // The text shown in `column`: the caption in column 0, then the sub-items; empty where
  // the row has no sub-item for the column.
  std::string_view CellText(int column) const;

 private:
  TListView* owner_;
  std::string caption_;
  TStringList sub_items_;
  int image_index_ = -1;
  bool selected_ = false;
};

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TSortType { stNone, stData, stText, stBoth };
enum class TSortDirection { sdNone, sdAscending, sdDescending };

// The "Copy" item of a list's context menu ("&Copy"; Ctrl+C does the same).
inline constexpr int kResCopyRows = 65340;

class TListView : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;

  TCollectionOf<TListColumn>& Columns() { return columns_; }

  int Count() const { return static_cast<int>(items_.size()); }
  TListItem& Item(int index) const;  // EListError outside
  TListItem& Add();
  void Clear();

  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle style);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value) { read_only_ = value; }
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool value);
  // Whether the user may select several rows (Ctrl+click, Shift+click).
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool value);
  TSortType SortType() const { return sort_type_; }
  void SetSortType(TSortType type);
  // With AllowCopy, Ctrl+C and the context menu's Copy item put the rows on the clipboard.
  bool AllowCopy() const { return allow_copy_; }
  void SetAllowCopy(bool value) { allow_copy_ = value; }

  // The header arrow: `column` shows `direction`, every other column none. Column -1 or
  // sdNone clears it. The list does not sort here; the caller says what it has done.
  void SetSortIndicator(int column, TSortDirection direction);
  int SortIndicatorColumn() const { return sort_column_; }
  TSortDirection SortIndicatorDirection() const { return sort_direction_; }

  // The selected rows, or every row when none is selected, as a table for the clipboard:
  // the column captions, then one line per row in the list's order; cells joined by TAB,
  // lines ended by CR LF. A TAB, CR or LF inside a cell becomes a blank, so that every line
  // has as many cells as the header.
  std::string RowsAsText() const;
  // Puts RowsAsText() on the clipboard; false when the platform could not.
  bool CopyRows() const;

  TImageList* LargeImages() const { return large_images_; }
  void SetLargeImages(TImageList* images);
  TImageList* SmallImages() const { return small_images_; }
  void SetSmallImages(TImageList* images);

  // Orders the rows with `compare`: > 0 means the first row goes after the second. Any
  // answers are safe; rows that the comparison does not separate keep their order.
  void CustomSort(const std::function<int(const TListItem&, const TListItem&)>& compare);
  // Ascending by caption with the user locale's case-sensitive collation.
  void AlphaSort();
  // The index of the first selected row, or -1.
  int ItemIndex() const;

  // The user clicked a column header.
  void ColumnClick(int column) { OnColumnClick(*this, columns_[column]); }
  Event<TObject&, TListColumn&> OnColumnClick;

 protected:
  void Notification(TComponent& component, Operation operation) override;

 private:
  friend class TListItem;
  void ItemChanged(TListItem& item, bool caption);

  TCollectionOf<TListColumn> columns_;
  std::vector<std::unique_ptr<TListItem>> items_;
  TViewStyle view_style_ = TViewStyle::vsIcon;
  TSortType sort_type_ = TSortType::stNone;
  bool read_only_ = false;
  bool row_select_ = false;
  bool multi_select_ = false;
  bool allow_copy_ = false;
  int sort_column_ = -1;
  TSortDirection sort_direction_ = TSortDirection::sdNone;
  TImageList* large_images_ = nullptr;
  TImageList* small_images_ = nullptr;
};

}  // namespace velmora::gui
