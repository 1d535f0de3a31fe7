#include "gui/list_view.h"

#include <algorithm>

#include "core/resource_strings.h"
#include "gui/safe_sort.h"

namespace velmora::gui {
namespace {

constexpr BuiltinString kStrings[] = {
    {kResCopyRows, "&Copy"},
};
VELMORA_BUILTIN_STRINGS(kStrings);

// A cell as one clipboard cell: a TAB, CR or LF would start a new cell or line.
void AppendCell(std::string& out, std::string_view text) {
  for (const char c : text) out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

}  // namespace

const ClassInfo& TListColumn::StaticClass() {
  using C = TListColumn;
  static const ClassInfo info =
      MakeClass<C>("TListColumn", TCollectionItem::StaticClass(),
                   {props::Text<C>("Caption", &C::Caption, &C::SetCaption),
                    props::Integer<C>("Width", &C::Width, &C::SetWidth)});
  return info;
}

const ClassInfo& TListItem::StaticClass() {
  using C = TListItem;
  static const ClassInfo info =
      MakeClass<C>("TListItem", TPersistent::StaticClass(),
                   {props::Text<C>("Caption", &C::Caption, &C::SetCaption),
                    props::Integer<C>("ImageIndex", &C::ImageIndex, &C::SetImageIndex),
                    props::Object<C>("SubItems", "TStrings",
                                     [](C& c) -> TPersistent* { return &c.SubItems(); })});
  return info;
}

const ClassInfo& TListView::StaticClass() {
  using C = TListView;
  static const ClassInfo info = MakeClass<C>(
      "TListView", TWinControl::StaticClass(),
      {props::Object<C>("Columns", "TListColumns",
                        [](C& c) -> TPersistent* { return &c.Columns(); }),
       props::Enum<C, TViewStyle>("ViewStyle", "TViewStyle",
                                  {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, &C::ViewStyle,
                                  &C::SetViewStyle),
       props::Boolean<C>("ReadOnly", &C::ReadOnly, &C::SetReadOnly),
       props::Boolean<C>("RowSelect", &C::RowSelect, &C::SetRowSelect),
       props::Boolean<C>("MultiSelect", &C::MultiSelect, &C::SetMultiSelect),
       props::Boolean<C>("AllowCopy", &C::AllowCopy, &C::SetAllowCopy),
       props::Enum<C, TSortType>("SortType", "TSortType", {"stNone", "stData", "stText", "stBoth"},
                                 &C::SortType, &C::SetSortType),
       props::Object<C>("LargeImages", "TCustomImageList",
                        [](C& c) -> TPersistent* { return c.LargeImages(); }),
       props::Object<C>("SmallImages", "TCustomImageList",
                        [](C& c) -> TPersistent* { return c.SmallImages(); }),
       props::Event("OnColumnClick", "TLVColumnClickEvent")});
  return info;
}

void TListColumn::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

void TListColumn::SetWidth(int width) {
  width_ = width;
  Changed();
}

TListItem::TListItem(TListView& owner) : owner_(&owner) {
  sub_items_.SetOnChange([this] { owner_->ItemChanged(*this, false); });
}

int TListItem::Index() const {
  for (int i = 0; i < owner_->Count(); ++i) {
    if (&owner_->Item(i) == this) return i;
  }
  return -1;
}

void TListItem::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  owner_->ItemChanged(*this, true);
}

void TListItem::SetImageIndex(int index) {
  image_index_ = index;
  owner_->ItemChanged(*this, false);
}

void TListItem::SetSelected(bool selected) {
  if (selected == selected_) return;
  selected_ = selected;
  owner_->Changed(Change::kState);
}

std::string_view TListItem::CellText(int column) const {
  if (column == 0) return caption_;
  const int sub = column - 1;
  return sub >= 0 && sub < sub_items_.Count() ? std::string_view(sub_items_[sub])
                                              : std::string_view();
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
  columns_.SetOnChange([this] { Changed(Change::kItems); });
}

TListView::~TListView() {
  SetLargeImages(nullptr);
  SetSmallImages(nullptr);
}

TListItem& TListView::Item(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
  return *items_[static_cast<std::size_t>(index)];
}

TListItem& TListView::Add() {
  items_.push_back(std::make_unique<TListItem>(*this));
  Changed(Change::kItems);
  return *items_.back();
}

void TListView::Clear() {
  items_.clear();
  Changed(Change::kItems);
}

void TListView::SetViewStyle(TViewStyle style) {
  if (style == view_style_) return;
  view_style_ = style;
  Changed(Change::kState);
}

void TListView::SetRowSelect(bool value) {
  if (value == row_select_) return;
  row_select_ = value;
  Changed(Change::kState);
}

void TListView::SetMultiSelect(bool value) {
  if (value == multi_select_) return;
  multi_select_ = value;
  Changed(Change::kState);
}

void TListView::SetSortType(TSortType type) {
  if (type == sort_type_) return;
  sort_type_ = type;
  if (sort_type_ == TSortType::stText || sort_type_ == TSortType::stBoth) AlphaSort();
}

void TListView::SetSortIndicator(int column, TSortDirection direction) {
  if (column < 0 || direction == TSortDirection::sdNone) {
    column = -1;
    direction = TSortDirection::sdNone;
  }
  if (column == sort_column_ && direction == sort_direction_) return;
  sort_column_ = column;
  sort_direction_ = direction;
  Changed(Change::kState);
}

std::string TListView::RowsAsText() const {
  // A list without columns still shows its captions, as one column.
  const int columns = std::max(1, columns_.Count());
  std::string text;
  for (int c = 0; c < columns; ++c) {
    if (c > 0) text += '\t';
    if (c < columns_.Count()) AppendCell(text, columns_[c].Caption());
  }
  text += "\r\n";
  const bool all = ItemIndex() < 0;
  for (const auto& row : items_) {
    if (!all && !row->Selected()) continue;
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      AppendCell(text, row->CellText(c));
    }
    text += "\r\n";
  }
  return text;
}

bool TListView::CopyRows() const {
  return Platform().SetClipboardText(RowsAsText());
}

void TListView::SetLargeImages(TImageList* images) {
  if (images == large_images_) return;
  if (large_images_ && large_images_ != small_images_) RemoveFreeNotification(large_images_);
  large_images_ = images;
  if (images) FreeNotification(images);
  Changed(Change::kItems);
}

void TListView::SetSmallImages(TImageList* images) {
  if (images == small_images_) return;
  if (small_images_ && small_images_ != large_images_) RemoveFreeNotification(small_images_);
  small_images_ = images;
  if (images) FreeNotification(images);
  Changed(Change::kItems);
}

void TListView::Notification(TComponent& component, Operation operation) {
  TWinControl::Notification(component, operation);
  if (operation != Operation::kRemove) return;
  if (&component == large_images_) large_images_ = nullptr;
  if (&component == small_images_) small_images_ = nullptr;
}

void TListView::CustomSort(const std::function<int(const TListItem&, const TListItem&)>& compare) {
  SafeSort(items_, [&](const std::unique_ptr<TListItem>& a, const std::unique_ptr<TListItem>& b) {
    return compare(*a, *b) > 0;
  });
  Changed(Change::kItems);
}

void TListView::AlphaSort() {
  CustomSort([](const TListItem& a, const TListItem& b) {
    return Platform().CollateText(a.Caption(), b.Caption());
  });
}

int TListView::ItemIndex() const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<std::size_t>(i)]->Selected()) return i;
  }
  return -1;
}

void TListView::ItemChanged(TListItem& item, bool caption) {
  if (caption && (sort_type_ == TSortType::stText || sort_type_ == TSortType::stBoth)) {
    AlphaSort();
    return;
  }
  // The time column of every row changes on every tick: only that row is redrawn.
  if (ControlPeer* peer = Peer()) peer->ItemChanged(item.Index());
}

}  // namespace velmora::gui
