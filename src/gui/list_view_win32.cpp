// The window of a list view in report view. The rows live in the object, which also sorts
// them; the window is refilled in the object's order after each change.
//
// The first column is drawn here (custom draw): the system puts the text right against the
// icon, and in rows without an image (I_IMAGENONE) it may start the text where the icon
// would be. Here every row's text starts a few pixels after the icon column, icon or not.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "core/resource_strings.h"
#include "core/text.h"
#include "gui/handles_win32.h"
#include "gui/list_view.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

// Layout of the first column, in 96-dpi pixels.
constexpr int kIconMargin = 2;   // cell edge to icon
constexpr int kIconTextGap = 4;  // icon to text
// What the list view leaves free on each side of a cell's text; the first column, drawn
// here, leaves the same at its right end.
constexpr int kTextMargin = 6;

constexpr UINT kCopyCommand = 1;

// The first column of one row: the whole cell, where its icon goes, where its text goes.
struct FirstCell {
  RECT cell{};
  POINT icon{};
  RECT text{};
};

class ListViewPeer final : public WindowPeer {
 public:
  explicit ListViewPeer(TListView& list) : WindowPeer(list), list_(list) {
    Create(WC_LISTVIEWW, Style() | WS_TABSTOP | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE);
    Fill();
  }

  void Changed(Change what) override {
    if (what == Change::kItems)
      Fill();
    else if (what == Change::kState) {
      SetWindowLongPtrW(
          hwnd_, GWL_STYLE,
          (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~(LVS_TYPEMASK | LVS_SINGLESEL)) | Style());
      ListView_SetExtendedListViewStyle(hwnd_, ExStyle());
      ShowSelection();
      ShowSortArrow();
    } else {
      WindowPeer::Changed(what);
    }
  }

 private:
  DWORD Style() const { return ViewStyleBits() | (list_.MultiSelect() ? 0 : LVS_SINGLESEL); }
  DWORD ViewStyleBits() const {
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
    // LVS_EX_INFOTIP: the list asks (LVN_GETINFOTIP) what to show for the cell under the
    // mouse; only cut cells answer.
    return LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP | (list_.RowSelect() ? LVS_EX_FULLROWSELECT : 0);
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
    ShowSortArrow();

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

  void ShowSortArrow() {
    HWND header = ListView_GetHeader(hwnd_);
    if (!header) return;
    const bool up = list_.SortIndicatorDirection() == TSortDirection::sdAscending;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
      HDITEMW item{};
      item.mask = HDI_FORMAT;
      if (!Header_GetItem(header, i, &item)) continue;
      int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
      if (i == list_.SortIndicatorColumn()) format |= up ? HDF_SORTUP : HDF_SORTDOWN;
      if (format == item.fmt) continue;
      item.fmt = format;
      Header_SetItem(header, i, &item);
    }
  }

  SIZE SmallIconSize() const {
    int cx = 0, cy = 0;
    if (HIMAGELIST images = ListView_GetImageList(hwnd_, LVSIL_SMALL))
      ImageList_GetIconSize(images, &cx, &cy);
    return {cx, cy};
  }

  // Every row keeps the icon's room when the list has images, so texts line up.
  FirstCell FirstCellLayout(int row) const {
    FirstCell f;
    ListView_GetItemRect(hwnd_, row, &f.cell, LVIR_BOUNDS);
    f.cell.right = f.cell.left + ListView_GetColumnWidth(hwnd_, 0);
    const SIZE icon = SmallIconSize();
    int x = f.cell.left + Scale(kIconMargin);
    f.icon = {x, f.cell.top + (f.cell.bottom - f.cell.top - icon.cy) / 2};
    if (icon.cx > 0) x += icon.cx + Scale(kIconTextGap);
    f.text = {x, f.cell.top, f.cell.right - Scale(kTextMargin), f.cell.bottom};
    return f;
  }

  // Where the text of a cell is drawn.
  RECT TextRect(int row, int column) const {
    if (column == 0) return FirstCellLayout(row).text;
    RECT rc{};
    ListView_GetSubItemRect(hwnd_, row, column, LVIR_LABEL, &rc);
    InflateRect(&rc, -Scale(kTextMargin), 0);
    return rc;
  }

  // Whether the cell shows `text` shortened with "...".
  bool IsCut(int row, int column, const std::wstring& text) const {
    if (text.empty()) return false;
    const RECT rc = TextRect(row, column);
    const WindowDc dc(hwnd_);
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    const SelectGuard selected(dc.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx > rc.right - rc.left;
  }

  void DrawFirstCell(HDC dc, int row) {
    if (row < 0 || row >= list_.Count()) return;
    const TListItem& item = list_.Item(row);
    const std::wstring text = Widen(item.Caption());
    const FirstCell f = FirstCellLayout(row);
    // The colours the list view gives the other cells of the row: the highlight while it
    // has the focus, the face colour when it shows the selection without it
    // (LVS_SHOWSELALWAYS).
    COLORREF back = ListView_GetBkColor(hwnd_), fore = ListView_GetTextColor(hwnd_);
    if (back == CLR_NONE) back = GetSysColor(COLOR_WINDOW);
    if (ListView_GetItemState(hwnd_, row, LVIS_SELECTED) & LVIS_SELECTED) {
      const bool focused = GetFocus() == hwnd_;
      back = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
      fore = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    const int saved = SaveDC(dc);
    SetBkColor(dc, back);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &f.cell, nullptr, 0, nullptr);  // fills the cell
    HIMAGELIST images = ListView_GetImageList(hwnd_, LVSIL_SMALL);
    if (images && item.ImageIndex() >= 0 && item.ImageIndex() < ImageList_GetImageCount(images))
      ImageList_Draw(images, item.ImageIndex(), dc, f.icon.x, f.icon.y, ILD_TRANSPARENT);
    RECT text_rc = f.text;
    SetTextColor(dc, fore);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rc,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    RestoreDC(dc, saved);
  }

  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) {
    if (list_.ViewStyle() != TViewStyle::vsReport) return CDRF_DODEFAULT;
    switch (draw.nmcd.dwDrawStage) {
      case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
      case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
      case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (draw.iSubItem != 0) return CDRF_DODEFAULT;
        DrawFirstCell(draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec));
        return CDRF_SKIPDEFAULT;
      default:
        return CDRF_DODEFAULT;
    }
  }

  // The whole text of a cut cell; nothing (no tip) for a cell shown whole.
  void AnswerInfoTip(NMLVGETINFOTIPW& tip) const {
    if (!tip.pszText || tip.cchTextMax <= 0) return;
    std::wstring text;
    if (tip.iItem >= 0 && tip.iItem < list_.Count() && tip.iSubItem >= 0 &&
        tip.iSubItem < list_.Columns().Count()) {
      text = Widen(list_.Item(tip.iItem).CellText(tip.iSubItem));
      if (!IsCut(tip.iItem, tip.iSubItem, text)) text.clear();
    }
    lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
  }

  void CopyRows() {
    if (!list_.CopyRows()) MessageBeep(MB_ICONWARNING);
  }

  // The context menu at `screen`, or for the keyboard (-1, -1) below the selected row, else
  // at the list's top-left corner.
  void ShowCopyMenu(LPARAM screen) {
    POINT at{GET_X_LPARAM(screen), GET_Y_LPARAM(screen)};
    if (at.x == -1 && at.y == -1) {
      at = {0, 0};
      const int row = list_.ItemIndex();
      RECT rc;
      if (row >= 0 && ListView_EnsureVisible(hwnd_, row, FALSE) &&
          ListView_GetItemRect(hwnd_, row, &rc, LVIR_BOUNDS)) {
        at = {rc.left, rc.bottom};
      }
      ClientToScreen(hwnd_, &at);
    }
    const OwnedMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.Get(), MF_STRING, kCopyCommand, Widen(LoadResString(kResCopyRows)).c_str());
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
    if (chosen == kCopyCommand) CopyRows();
  }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    if (list_.AllowCopy()) {
      if (message == WM_KEYDOWN && wparam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
          GetKeyState(VK_MENU) >= 0) {
        CopyRows();
        result = 0;
        return true;
      }
      if (message == WM_CONTEXTMENU) {
        ShowCopyMenu(lparam);
        result = 0;
        return true;
      }
    }
    return WindowPeer::OnMessage(message, wparam, lparam, result);
  }

  LRESULT OnNotify(NMHDR& header) override {
    switch (header.code) {
      case NM_CUSTOMDRAW:
        return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      case LVN_GETINFOTIPW:
        AnswerInfoTip(reinterpret_cast<NMLVGETINFOTIPW&>(header));
        return 0;
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
