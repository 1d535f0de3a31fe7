// The window of a list view in report view. The rows live in the object, which also sorts
// them; the window is refilled in the object's order after each change.
#include <windows.h>

#include <commctrl.h>

#include "core/text.h"
#include "gui/list_view.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

class ListViewPeer final : public WindowPeer {
 public:
  explicit ListViewPeer(TListView& list) : WindowPeer(list), list_(list) {
    Create(WC_LISTVIEWW, Style() | WS_TABSTOP | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
           WS_EX_CLIENTEDGE);
    Fill();
  }

  void Changed(Change what) override {
    if (what == Change::kItems)
      Fill();
    else if (what == Change::kState) {
      SetWindowLongPtrW(hwnd_, GWL_STYLE,
                        (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~LVS_TYPEMASK) | Style());
      ListView_SetExtendedListViewStyle(hwnd_, ExStyle());
      ShowSelection();
    } else {
      WindowPeer::Changed(what);
    }
  }

 private:
  DWORD Style() const {
    switch (list_.ViewStyle()) {
      case TViewStyle::vsReport:
        return LVS_REPORT | (list_.ReadOnly() ? 0 : LVS_EDITLABELS);
      case TViewStyle::vsList:
        return LVS_LIST;
      case TViewStyle::vsSmallIcon:
        return LVS_SMALLICON;
      default:
        return LVS_ICON;
    }
  }
  DWORD ExStyle() const {
    return LVS_EX_DOUBLEBUFFER | (list_.RowSelect() ? LVS_EX_FULLROWSELECT : 0);
  }

  void Fill() {
    syncing_ = true;
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    ListView_SetExtendedListViewStyle(hwnd_, ExStyle());
    TImageList* large = list_.LargeImages();
    TImageList* small = list_.SmallImages();
    ListView_SetImageList(hwnd_, large ? reinterpret_cast<HIMAGELIST>(large->Handle()) : nullptr,
                          LVSIL_NORMAL);
    ListView_SetImageList(hwnd_, small ? reinterpret_cast<HIMAGELIST>(small->Handle()) : nullptr,
                          LVSIL_SMALL);

    auto& columns = list_.Columns();
    HWND header = ListView_GetHeader(hwnd_);
    int shown = header ? Header_GetItemCount(header) : 0;
    while (shown > columns.Count()) ListView_DeleteColumn(hwnd_, --shown);
    for (int i = 0; i < columns.Count(); ++i) {
      std::wstring caption = Widen(columns[i].Caption());
      LVCOLUMNW col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      col.pszText = caption.data();
      col.cx = Scale(columns[i].Width());
      col.iSubItem = i;
      if (i < shown)
        ListView_SetColumn(hwnd_, i, &col);
      else
        ListView_InsertColumn(hwnd_, i, &col);
    }

    int rows = ListView_GetItemCount(hwnd_);
    while (rows > list_.Count()) ListView_DeleteItem(hwnd_, --rows);
    for (int i = 0; i < list_.Count(); ++i) ShowRow(i, i >= rows);
    ShowSelection();
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    syncing_ = false;
  }

  void ShowRow(int i, bool insert) {
    const TListItem& item = list_.Item(i);
    std::wstring caption = Widen(item.Caption());
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE;
    lv.iItem = i;
    lv.pszText = caption.data();
    lv.iImage = item.ImageIndex() < 0 ? I_IMAGENONE : item.ImageIndex();
    if (insert)
      ListView_InsertItem(hwnd_, &lv);
    else
      ListView_SetItem(hwnd_, &lv);
    HWND header = ListView_GetHeader(hwnd_);
    const int columns = header ? Header_GetItemCount(header) : 0;
    for (int s = 1; s < std::max(columns, item.SubItems().Count() + 1); ++s) {
      std::wstring text = s - 1 < item.SubItems().Count() ? Widen(item.SubItems()[s - 1]) : L"";
      ListView_SetItemText(hwnd_, i, s, text.data());
    }
  }

  void ItemChanged(int index) override {
    if (index < 0 || index >= list_.Count()) return;
    if (index >= ListView_GetItemCount(hwnd_)) {
      Fill();
      return;
    }
    syncing_ = true;
    ShowRow(index, false);
    syncing_ = false;
  }

  void ShowSelection() {
    const bool was = syncing_;
    syncing_ = true;
    for (int i = 0; i < list_.Count(); ++i) {
      ListView_SetItemState(hwnd_, i, list_.Item(i).Selected() ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    syncing_ = was;
  }

  LRESULT OnNotify(NMHDR& header) override {
    switch (header.code) {
      case LVN_COLUMNCLICK:
        list_.ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return 0;
      case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
        if (!syncing_ && (change.uChanged & LVIF_STATE) && change.iItem >= 0 &&
            change.iItem < list_.Count()) {
          syncing_ = true;
          list_.Item(change.iItem).SetSelected((change.uNewState & LVIS_SELECTED) != 0);
          syncing_ = false;
        }
        return 0;
      }
      default:
        return 0;
    }
  }

  TListView& list_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeListViewPeer(TControl& c) {
  return std::make_unique<ListViewPeer>(static_cast<TListView&>(c));
}

}  // namespace velmora::gui::win32
