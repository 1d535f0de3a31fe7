// The controls with real windows under Wine: each check goes through Win32 messages.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/text.h"
#include "gui/application.h"
#include "gui/bevel.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/combo_box.h"
#include "gui/enter_as_tab.h"
#include "gui/image.h"
#include "gui/image_list.h"
#include "gui/link_label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"
#include "gui/win32.h"

namespace velmora::gui {
namespace {

HWND H(TControl& c) {
  return reinterpret_cast<HWND>(c.Handle());
}

std::string WindowText(HWND hwnd) {
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  return Narrow(text);
}

std::string RowText(HWND list, int row, int column = 0) {
  wchar_t text[256] = {};
  ListView_GetItemText(list, row, column, text, 256);
  return Narrow(text);
}

LOGFONTW FontOf(HWND hwnd) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf;
}

MSG KeyDown(HWND hwnd, WPARAM key) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = WM_KEYDOWN;
  msg.wParam = key;
  return msg;
}

// Prints the control's client area into a memory bitmap and hands it to `look`.
void LookAtPrintedClient(TControl& control, const std::function<void(HDC, const RECT&)>& look) {
  RECT rc;
  GetClientRect(H(control), &rc);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
  HGDIOBJ old = SelectObject(mem, bitmap);
  SendMessageW(H(control), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem),
               PRF_CLIENT | PRF_ERASEBKGND);
  look(mem, rc);
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

COLORREF PixelAfterPrint(TControl& control, int x, int y) {
  COLORREF c = CLR_INVALID;
  LookAtPrintedClient(control, [&](HDC dc, const RECT&) { c = GetPixel(dc, x, y); });
  return c;
}

class Win32ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseWin32Platform();
    app_ = std::make_unique<TApplication>();
    app_->SetTitle("Velmora");
    // A real message box would wait for a user: errors are collected instead.
    app_->OnException = [this](TObject&, const std::exception& e) { errors_.push_back(e.what()); };
    form_ = &app_->CreateForm<TForm>();
    form_->SetBounds(0, 0, 604, 376);
    form_->SetCaption("Velmora");
    form_->SetBorderStyle(TFormBorderStyle::bsSingle);
    form_->SetBorderIcons(biSystemMenu);
    form_->Show();
  }
  void TearDown() override { app_.reset(); }

  template <class T>
  T& Add(const char* name, int left, int top, int width, int height,
         TWinControl* parent = nullptr) {
    T& c = form_->Create<T>(name);
    c.SetBounds(left, top, width, height);
    c.SetParent(parent ? parent : form_);
    return c;
  }

  // The 32x32 image list of the Applications list, as its small images.
  TImageList& AppImages(TListView& list) {
    auto& images = form_->Create<TImageList>("imgsApps");
    images.SetWidth(32);
    images.SetHeight(32);
    list.SetSmallImages(&images);
    return images;
  }

  std::unique_ptr<TApplication> app_;
  TForm* form_ = nullptr;
  std::vector<std::string> errors_;
};

TEST_F(Win32ControlsTest, WindowHasAFixedSingleBorderAndOnlyTheCloseBox) {
  const LONG style = GetWindowLongW(H(*form_), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
  RECT rc;
  GetClientRect(H(*form_), &rc);
  const int dpi = ScreenDpi();
  EXPECT_EQ(rc.right, MulDiv(604, dpi, 96));
  EXPECT_EQ(rc.bottom, MulDiv(376, dpi, 96));
  EXPECT_EQ(WindowText(H(*form_)), "Velmora");
  EXPECT_EQ(ControlFromHandle(H(*form_)), form_);
}

TEST_F(Win32ControlsTest, TheApplicationWindowIsHiddenCaptionlessAndOffTheTaskbar) {
  HWND app = reinterpret_cast<HWND>(app_->Handle());
  ASSERT_TRUE(IsWindow(app));
  EXPECT_FALSE(IsWindowVisible(app));
  EXPECT_EQ(WindowText(app), "");
  EXPECT_TRUE(GetWindowLongW(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(Win32ControlsTest, CloseBoxAsksTheFormWhichMayOnlyHide) {
  form_->OnCloseQuery = [](TObject& sender, bool& can_close) {
    can_close = false;
    static_cast<TForm&>(sender).Hide();
  };
  SendMessageW(H(*form_), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(H(*form_))) << "closing never destroys the window";
  EXPECT_FALSE(IsWindowVisible(H(*form_)));
  EXPECT_FALSE(app_->Terminated());
}

TEST_F(Win32ControlsTest, OnShowRunsBeforeTheWindowIsVisible) {
  form_->Hide();
  std::vector<bool> window_visible;
  form_->OnShow = [&](TObject&) { window_visible.push_back(IsWindowVisible(H(*form_)) != 0); };
  form_->Show();
  EXPECT_EQ(window_visible, (std::vector<bool>{false}));
  EXPECT_TRUE(IsWindowVisible(H(*form_)));
}

TEST_F(Win32ControlsTest, FormsSeePlatformMessagesFirst) {
  // What the main window does at the end of the session: overwrite the answer with 1.
  form_->OnWindowMessage = [](unsigned message, std::uintptr_t, std::intptr_t,
                              std::intptr_t& result) {
    if (message != WM_QUERYENDSESSION) return false;
    result = 1;
    return true;
  };
  EXPECT_EQ(SendMessageW(H(*form_), WM_QUERYENDSESSION, 0, 0), 1);
}

TEST_F(Win32ControlsTest, LabelsShowTextWrapAndBold) {
  auto& label = Add<TLabel>("Label11", 320, 123, 145, 71);
  label.SetWordWrap(true);
  label.SetCaption("How much time do you spend in each running application?");
  label.Font().SetStyle(fsBold);
  EXPECT_EQ(WindowText(H(label)), "How much time do you spend in each running application?");
  EXPECT_EQ(GetWindowLongW(H(label), GWL_STYLE) & 0xFF, SS_LEFT) << "SS_LEFT wraps words";
  EXPECT_EQ(FontOf(H(label)).lfWeight, FW_BOLD);
  label.SetWordWrap(false);
  EXPECT_EQ(GetWindowLongW(H(label), GWL_STYLE) & 0xFF, SS_LEFTNOWORDWRAP);
  SetPropertyText(label, "Caption", "Ünïcode ✓");
  EXPECT_EQ(WindowText(H(label)), "Ünïcode ✓") << "UTF-8 inside, UTF-16 at the window";
}

TEST_F(Win32ControlsTest, ButtonClickRaisesOnClickAndErrorsReachTheApplicationHandler) {
  auto& quit = Add<TButton>("btnQuit", 434, 341, 75, 25);
  quit.SetCaption("Quit");
  int clicks = 0;
  quit.OnClick = [&](TObject&) {
    ++clicks;
    throw std::runtime_error("handler failed");
  };
  SendMessageW(H(quit), BM_CLICK, 0, 0);
  SendMessageW(H(quit), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2) << "the program goes on after the error";
  EXPECT_EQ(errors_, (std::vector<std::string>{"handler failed", "handler failed"}));
  EXPECT_EQ(WindowText(H(quit)), "Quit");
}

TEST_F(Win32ControlsTest, CheckBoxStateLivesInTheObjectAndTheWindowMirrorsIt) {
  auto& box = Add<TCheckBox>("chkAutoSort", 16, 108, 425, 17);
  int clicks = 0;
  box.OnClick = [&](TObject&) { ++clicks; };
  SendMessageW(H(box), BM_CLICK, 0, 0);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(SendMessageW(H(box), BM_GETCHECK, 0, 0), BST_CHECKED);
  box.SetChecked(false);
  EXPECT_EQ(SendMessageW(H(box), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 2);
}

TEST_F(Win32ControlsTest, OptionButtonsAreExclusiveThroughClicks) {
  auto& a = Add<TRadioButton>("rbEXEDescription", 32, 200, 393, 17);
  auto& b = Add<TRadioButton>("rbProductName", 32, 223, 393, 17);
  a.SetChecked(true);
  SendMessageW(H(b), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(H(a), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(H(b), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(b.Checked());
  EXPECT_FALSE(a.Checked());

  // Arrow keys walk the group and choose; a key released on an option button is reported.
  std::vector<int> released;
  a.OnKeyUp = [&](TObject&, int key) { released.push_back(key); };
  SetFocus(H(b));
  EXPECT_TRUE(win32::HandleNavigationKey(KeyDown(H(b), VK_DOWN)));
  EXPECT_TRUE(a.Checked()) << "the group wraps around";
  EXPECT_EQ(GetFocus(), H(a));
  SendMessageW(H(a), WM_KEYUP, VK_DOWN, 0);
  EXPECT_EQ(released, (std::vector<int>{VK_DOWN}));
}

TEST_F(Win32ControlsTest, DropDownListIsSortedByCollationAndReportsTheUsersChoice) {
  auto& combo = Add<TComboBox>("cbxLang", 32, 33, 329, 21);
  combo.SetStyle(TComboBoxStyle::csDropDownList);
  combo.SetSorted(true);
  combo.Items().Add("German / Deutsch", "Z:\\Language\\Deutsch.lng");
  combo.Items().Add("english", "Z:\\Language\\English.lng");
  combo.Items().Add("Zulu", "Z:\\Language\\Zulu.lng");
  EXPECT_EQ(GetWindowLongW(H(combo), GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "not editable";
  ASSERT_EQ(SendMessageW(H(combo), CB_GETCOUNT, 0, 0), 3);
  wchar_t first[64] = {};
  SendMessageW(H(combo), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  // The user locale's collation puts "english" before "German" (byte order would not).
  EXPECT_EQ(Narrow(first), "english");
  std::string chosen;
  combo.OnChange = [&](TObject&) { chosen = combo.SelectedValue(); };
  combo.SetItemIndex(2);
  EXPECT_EQ(SendMessageW(H(combo), CB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(chosen.empty()) << "a selection by code is not a change";
  // What the window does when the user picks line 1.
  SendMessageW(H(combo), CB_SETCURSEL, 1, 0);
  SendMessageW(H(*form_), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(H(combo)));
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(chosen, "Z:\\Language\\Deutsch.lng");
}

TEST_F(Win32ControlsTest, SpinBoxClampsTypedValues) {
  auto& spin = Add<TSpinEdit>("SpinEdit1", 32, 149, 121, 22);
  spin.SetMaxValue(100);
  spin.SetMinValue(1);
  spin.SetValue(1);
  std::vector<int> changes;
  spin.OnChange = [&](TObject&) { changes.push_back(spin.Value()); };
  struct Case {
    const wchar_t* typed;
    const char* shown;
  };
  for (const Case& c :
       {Case{L"250", "100"}, Case{L"0", "1"}, Case{L"42", "42"}, Case{L"42", "42"}}) {
    SetWindowTextW(H(spin), c.typed);  // the edit notifies EN_CHANGE as for typing
    EXPECT_EQ(WindowText(H(spin)), c.shown) << Narrow(c.typed);
  }
  EXPECT_EQ(changes, (std::vector<int>{100, 1, 42}));
  spin.SetValue(7);
  EXPECT_EQ(WindowText(H(spin)), "7");
}

TEST_F(Win32ControlsTest, SpinBoxTakesDigitsOnlyAndItsArrowsReportTheRealRange) {
  auto& spin = Add<TSpinEdit>("SpinEdit1", 32, 149, 121, 22);
  spin.SetMaxValue(100);
  spin.SetMinValue(1);
  spin.SetValue(7);
  HWND arrows = FindWindowExW(H(*form_), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(H(spin), GWL_STYLE) & ES_NUMBER);
  int low = 0, high = 0;
  SendMessageW(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 100);
  EXPECT_EQ(SendMessageW(arrows, UDM_GETPOS32, 0, 0), 7);
  // The arrow keys step the object; the arrows follow it.
  SendMessageW(H(spin), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(SendMessageW(arrows, UDM_GETPOS32, 0, 0), 8);
  // A range that allows negative numbers needs the minus sign.
  spin.SetMinValue(-5);
  EXPECT_FALSE(GetWindowLongPtrW(H(spin), GWL_STYLE) & ES_NUMBER);
}

// Two pages, the second hidden; the first holds a check box and a link.
class Win32FocusTest : public Win32ControlsTest {
 protected:
  void SetUp() override {
    Win32ControlsTest::SetUp();
    front_ = &Add<TPanel>("pnlFront", 130, 0, 400, 300);
    behind_ = &Add<TPanel>("pnlBehind", 130, 0, 400, 300);
    front_check_ = &Add<TCheckBox>("chkFront", 10, 10, 200, 17, front_);
    behind_check_ = &Add<TCheckBox>("chkBehind", 10, 10, 200, 17, behind_);
    link_ = &Add<TLinkLabel>("LinkLabel5", 10, 40, 200, 16, front_);
    link_->SetCaption("www.example.org");
    link_->SetHREF("https://www.example.org/");
    front_check_->SetTabOrder(0);
    behind_check_->SetTabOrder(0);
    behind_->Hide();
  }
  TPanel* front_ = nullptr;
  TPanel* behind_ = nullptr;
  TCheckBox* front_check_ = nullptr;
  TCheckBox* behind_check_ = nullptr;
  TLinkLabel* link_ = nullptr;
};

TEST_F(Win32FocusTest, TabWalksTheVisiblePageOnlyAndReachesItsLinks) {
  SetFocus(H(*front_check_));
  std::vector<HWND> cycle{GetFocus()};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(win32::HandleNavigationKey(KeyDown(GetFocus(), VK_TAB)));
    cycle.push_back(GetFocus());
  }
  EXPECT_EQ(cycle, (std::vector<HWND>{H(*front_check_), H(*link_), H(*front_check_), H(*link_),
                                      H(*front_check_)}));
  EXPECT_TRUE(std::find(cycle.begin(), cycle.end(), H(*behind_check_)) == cycle.end());
}

TEST_F(Win32FocusTest, ShowingTheFormFocusesItsFirstControlNotTheFrame) {
  form_->Hide();
  SetFocus(nullptr);
  form_->Show();
  EXPECT_EQ(GetFocus(), H(*front_check_));
}

TEST_F(Win32FocusTest, TheFormSeesItsShortcutsBeforeTheFocusedControl) {
  std::vector<int> keys;
  form_->OnShortcut = [&](TObject&, int key, bool& handled) {
    keys.push_back(key);
    handled = key == kKeyEscape;
  };
  SetFocus(H(*front_check_));
  EXPECT_TRUE(win32::HandleNavigationKey(KeyDown(GetFocus(), VK_ESCAPE)));
  EXPECT_FALSE(win32::HandleNavigationKey(KeyDown(GetFocus(), 'A')));
  EXPECT_EQ(keys, (std::vector<int>{kKeyEscape, 'A'}));
  // An open drop-down list keeps Escape: it closes the list, not the window.
  auto& combo = Add<TComboBox>("cbxLang", 10, 70, 200, 21, front_);
  combo.Items().Add("Deutsch");
  SetFocus(H(combo));
  SendMessageW(H(combo), CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(SendMessageW(H(combo), CB_GETDROPPEDSTATE, 0, 0));
  win32::HandleNavigationKey(KeyDown(H(combo), VK_ESCAPE));
  EXPECT_EQ(keys.size(), 2u);
  SendMessageW(H(combo), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(Win32ControlsTest, ListViewShowsRowsInTheObjectsOrder) {
  auto& list = Add<TListView>("lvApps", 0, 0, 473, 329);
  list.SetViewStyle(TViewStyle::vsReport);
  list.SetRowSelect(true);
  list.SetReadOnly(true);
  for (const char* caption :
       {"Application File", "Application Details", "Time Spent In Application"}) {
    list.Columns().Add().SetCaption(caption);
  }
  list.Columns()[0].SetWidth(130);
  list.SetSortType(TSortType::stText);
  auto& images = AppImages(list);
  const int icon =
      images.AddIcon(reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
  for (const char* name : {"notepad.exe", "calc.exe", "Explorer.exe"}) {
    auto& row = list.Add();
    row.SetCaption(name);
    row.SubItems().Add(std::string("details of ") + name);
    row.SubItems().Add("00:00:01");
    row.SetImageIndex(name[0] == 'c' ? icon : -1);
  }
  HWND h = H(list);
  EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  ASSERT_EQ(ListView_GetItemCount(h), 3);
  // Sorted by caption as each caption was set, by the user locale's collation.
  EXPECT_EQ(RowText(h, 0), "calc.exe");
  EXPECT_EQ(RowText(h, 1), "Explorer.exe");
  EXPECT_EQ(RowText(h, 2), "notepad.exe");
  EXPECT_EQ(RowText(h, 0, 1), "details of calc.exe");
  EXPECT_EQ(RowText(h, 0, 2), "00:00:01");
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(h)), 3);
  EXPECT_EQ(ListView_GetColumnWidth(h, 0), MulDiv(130, ScreenDpi(), 96));
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 0;
  ListView_GetItem(h, &item);
  EXPECT_EQ(item.iImage, icon);
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(h, LVSIL_SMALL)), 1);

  // A header click, as the control reports it, with a descending never-equal comparison.
  list.OnColumnClick = [&](TObject&, TListColumn& column) {
    list.CustomSort(
        [](const TListItem& a, const TListItem& b) { return a.Caption() > b.Caption() ? -1 : 1; });
  };
  NMLISTVIEW click{};
  click.hdr.hwndFrom = h;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = 0;
  SendMessageW(H(*form_), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(RowText(h, 0), "notepad.exe");
  EXPECT_EQ(RowText(h, 1), "calc.exe");
  EXPECT_EQ(RowText(h, 2), "Explorer.exe") << "byte order: 'E' before 'c'";
  EXPECT_EQ(RowText(h, 2, 1), "details of Explorer.exe") << "sub-items move with their row";
  list.Item(1).SubItems().Put(1, "00:00:02");
  list.Item(1).SetImageIndex(-1);
  EXPECT_EQ(RowText(h, 1, 2), "00:00:02") << "a changed row is shown at once";
  item.iItem = 1;
  ListView_GetItem(h, &item);
  EXPECT_EQ(item.iImage, I_IMAGENONE);

  ListView_SetItemState(h, 1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.ItemIndex(), 1) << "the user's selection reaches the object";
}

// The Unicode text on the clipboard; empty when there is none.
std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  std::string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = Narrow(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void EmptyTheClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

// Ctrl+C as the list's window receives it: GetKeyState answers from the thread's key state.
void PressCtrlC(HWND hwnd) {
  BYTE saved[256], held[256];
  GetKeyboardState(saved);
  std::copy(std::begin(saved), std::end(saved), held);
  held[VK_CONTROL] = 0x80;
  SetKeyboardState(held);
  SendMessageW(hwnd, WM_KEYDOWN, 'C', 0);
  SetKeyboardState(saved);
}

TListView& ReportList(TForm& form, const std::vector<std::pair<const char*, int>>& columns) {
  auto& list = form.Create<TListView>("lvApps");
  list.SetBounds(0, 0, 473, 329);
  list.SetParent(&form);
  list.SetViewStyle(TViewStyle::vsReport);
  list.SetRowSelect(true);
  list.SetReadOnly(true);
  for (const auto& [caption, width] : columns) {
    auto& column = list.Columns().Add();
    column.SetCaption(caption);
    column.SetWidth(width);
  }
  return list;
}

TEST_F(Win32ControlsTest, CtrlCCopiesTheSelectedOrAllRowsAsATable) {
  auto& list = ReportList(*form_, {{"File", 100}, {"Time", 100}});
  list.SetMultiSelect(true);
  for (const char* name : {"b.exe", "a.exe", "c.exe"}) {
    auto& row = list.Add();
    row.SetCaption(name);
    row.SubItems().Add(std::string("time\tof\n") + name);
  }
  HWND h = H(list);
  EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & LVS_SINGLESEL, 0) << "several rows can be selected";

  EmptyTheClipboard();
  PressCtrlC(h);
  EXPECT_EQ(ClipboardText(), "") << "without AllowCopy the key does nothing";

  list.SetAllowCopy(true);
  PressCtrlC(h);
  EXPECT_EQ(ClipboardText(),
            "File\tTime\r\n"
            "b.exe\ttime of b.exe\r\na.exe\ttime of a.exe\r\nc.exe\ttime of c.exe\r\n")
      << "nothing selected: every row, in the list's order";

  ListView_SetItemState(h, 2, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(h, 0, LVIS_SELECTED, LVIS_SELECTED);
  PressCtrlC(h);
  EXPECT_EQ(ClipboardText(), "File\tTime\r\nb.exe\ttime of b.exe\r\nc.exe\ttime of c.exe\r\n")
      << "the rows the user selected";
}

TEST_F(Win32ControlsTest, TheHeaderShowsTheSortArrowOfTheListOnly) {
  auto& list = ReportList(*form_, {{"File", 100}, {"Details", 100}, {"Time", 100}});
  HWND header = ListView_GetHeader(H(list));
  const auto arrows = [&] {
    std::string out;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
      HDITEMW item{};
      item.mask = HDI_FORMAT;
      Header_GetItem(header, i, &item);
      out += (item.fmt & HDF_SORTUP) ? (item.fmt & HDF_SORTDOWN ? '!' : 'U')
                                     : (item.fmt & HDF_SORTDOWN ? 'D' : '-');
    }
    return out;
  };
  EXPECT_EQ(arrows(), "---");
  list.SetSortIndicator(1, TSortDirection::sdAscending);
  EXPECT_EQ(arrows(), "-U-");
  list.SetSortIndicator(2, TSortDirection::sdDescending);
  EXPECT_EQ(arrows(), "--D");
  list.Columns()[0].SetCaption("Application File");  // the columns are written again
  EXPECT_EQ(arrows(), "--D");
  list.SetSortIndicator(-1, TSortDirection::sdNone);
  EXPECT_EQ(arrows(), "---");
}

TEST_F(Win32ControlsTest, InfoTipsShowTheWholeTextOfCutCellsOnly) {
  auto& list = ReportList(*form_, {{"File", 90}, {"Details", 90}, {"Time", 90}});
  AppImages(list);
  const std::string long_text = "A description far too long for a column of ninety pixels";
  for (const char* name : {"a.exe", "an-application-with-a-long-name.exe"}) {
    auto& row = list.Add();
    row.SetCaption(name);
    row.SubItems().Add(name[1] == '.' ? "Short" : long_text.c_str());
    row.SubItems().Add(name[1] == '.' ? "00:00:01" : "1234:56:78 and then some more");
  }
  HWND h = H(list);
  const auto tip = [&](int row, int column) {
    wchar_t text[256] = L"(left as it was)";
    NMLVGETINFOTIPW info{};
    info.hdr.hwndFrom = h;
    info.hdr.code = LVN_GETINFOTIPW;
    info.pszText = text;
    info.cchTextMax = 256;
    info.iItem = row;
    info.iSubItem = column;
    SendMessageW(H(*form_), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return Narrow(text);
  };
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(tip(0, column), "") << "a short cell has no tip, column " << column;
  }
  EXPECT_EQ(tip(1, 0), "an-application-with-a-long-name.exe");
  EXPECT_EQ(tip(1, 1), long_text);
  EXPECT_EQ(tip(1, 2), "1234:56:78 and then some more");
  EXPECT_EQ(tip(7, 0), "") << "a row that is not there";
  EXPECT_NE(ListView_GetExtendedListViewStyle(h) & LVS_EX_INFOTIP, 0u);
}

TEST_F(Win32ControlsTest, FirstColumnTextsLineUpAfterTheIconWithAGap) {
  auto& list = ReportList(*form_, {{"File", 200}, {"Time", 100}});
  auto& images = AppImages(list);
  const int icon =
      images.AddIcon(reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
  for (int i = 0; i < 2; ++i) {
    auto& row = list.Add();
    row.SetCaption("WWW.exe");
    row.SubItems().Add("00:00:01");
    row.SetImageIndex(i == 0 ? icon : -1);
  }
  HWND h = H(list);
  RECT client;
  GetClientRect(h, &client);
  const win32::WindowDc screen;
  win32::GdiObject<HBITMAP> bitmap(
      CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
  const win32::MemoryDc dc(screen.Get(), bitmap.Get());
  SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT | PRF_ERASEBKGND);

  const int dpi = ScreenDpi();
  // The first x at or after `from` where the row shows anything but its background.
  const auto first_ink = [&](int row, int from) {
    RECT rc;
    ListView_GetItemRect(h, row, &rc, LVIR_BOUNDS);
    const COLORREF background = GetPixel(dc.Get(), rc.left, rc.top);
    for (int x = from; x < rc.left + ListView_GetColumnWidth(h, 0); ++x) {
      for (int y = rc.top; y < rc.bottom; ++y) {
        if (GetPixel(dc.Get(), x, y) != background) return x;
      }
    }
    return -1;
  };
  RECT row0;
  ListView_GetItemRect(h, 0, &row0, LVIR_BOUNDS);
  const int icon_end = row0.left + MulDiv(2, dpi, 96) + 32;
  EXPECT_GE(first_ink(0, row0.left), row0.left) << "the icon is drawn";
  EXPECT_LT(first_ink(0, row0.left), icon_end);
  const int text_with_icon = first_ink(0, icon_end);
  const int text_without_icon = first_ink(1, row0.left);
  EXPECT_GE(text_with_icon, icon_end + MulDiv(4, dpi, 96)) << "a gap between icon and text";
  EXPECT_EQ(text_without_icon, text_with_icon) << "a row without an icon lines up";
}

TEST_F(Win32ControlsTest, NavigationBarClicksRaiseTheButtonsEvent) {
  auto& bar = Add<TNavBar>("NavBar1", 0, -6, 130, 329);
  ApplyDesignProperty(bar, "Pages.(0).Buttons.(0).Caption", "Applications");
  ApplyDesignProperty(bar, "Pages.(0).Buttons.(1).Caption", "Statistics");
  auto& buttons = bar.Pages()[0].Buttons();
  int clicked = -1;
  buttons[1].OnClick = [&](TObject& sender) {
    clicked = static_cast<TNavBarButton&>(sender).Index();
    static_cast<TNavBarButton&>(sender).SetDown(true);
  };
  const int dpi = ScreenDpi();
  const int y = MulDiv(TNavBar::kTopPadding + bar.ButtonHeight() + bar.ButtonHeight() / 2, dpi, 96);
  SendMessageW(H(bar), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y));
  SendMessageW(H(bar), WM_LBUTTONUP, 0, MAKELPARAM(20, y));
  EXPECT_EQ(clicked, 1);
  EXPECT_TRUE(buttons[1].Down());
  EXPECT_FALSE(buttons[0].Down());
  // The pressed button is filled with the accent colour, the others are not.
  const int x = MulDiv(20, dpi, 96);
  const int y0 = MulDiv(TNavBar::kTopPadding + bar.ButtonHeight() / 2, dpi, 96);
  EXPECT_EQ(PixelAfterPrint(bar, x, y), RGB(37, 99, 235));
  EXPECT_NE(PixelAfterPrint(bar, x, y0), RGB(37, 99, 235));
}

TEST_F(Win32ControlsTest, NavigationBarAnswersTheKeyboard) {
  form_->Create<TEnterAsTab>("EnterAsTab1");
  auto& bar = Add<TNavBar>("NavBar1", 0, -6, 130, 329);
  const char* captions[] = {"Applications", "Statistics", "Settings", "About"};
  for (int i = 0; i < 4; ++i) {
    ApplyDesignProperty(bar, "Pages.(0).Buttons.(" + std::to_string(i) + ").Caption", captions[i]);
  }
  auto& buttons = bar.Pages()[0].Buttons();
  std::vector<int> clicks;
  for (int i = 0; i < buttons.Count(); ++i) {
    buttons[i].OnClick = [&clicks, i](TObject&) { clicks.push_back(i); };
  }
  buttons[2].SetDown(true);
  SetFocus(H(bar));
  // The focus mark starts on the pressed button; Enter is the bar's, not the next control's.
  EXPECT_FALSE(win32::HandleNavigationKey(KeyDown(H(bar), VK_RETURN)));
  const struct {
    WPARAM key;
    bool clicks;
  } keys[] = {{VK_RETURN, true}, {VK_END, false},  {VK_SPACE, true},
              {VK_HOME, false},  {VK_DOWN, false}, {VK_SPACE, true},
              {VK_UP, false},    {VK_UP, false},   {VK_RETURN, true}};
  for (const auto& k : keys) SendMessageW(H(bar), WM_KEYDOWN, k.key, 0);
  EXPECT_EQ(clicks, (std::vector<int>{2, 3, 1, 3}));
}

TEST_F(Win32ControlsTest, LinkLabelAddsTheUnderlineToTheOtherStylesOfItsFont) {
  auto& link = Add<TLinkLabel>("LinkLabel6", 320, 224, 121, 13);
  link.Font().SetStyle(fsBold | fsItalic);
  const LOGFONTW lf = FontOf(H(link));
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

// Where a colour lies in the control's printed client area: the columns it spans and the
// most pixels of it on one row (an underline is a row full of it).
struct ColourSpread {
  int first_column = -1, last_column = -1, widest_row = 0;
};

ColourSpread SpreadOf(TControl& control, COLORREF colour) {
  ColourSpread spread;
  LookAtPrintedClient(control, [&](HDC dc, const RECT& rc) {
    for (int y = 0; y < rc.bottom; ++y) {
      int row = 0;
      for (int x = 0; x < rc.right; ++x) {
        if (GetPixel(dc, x, y) != colour) continue;
        ++row;
        if (spread.first_column < 0 || x < spread.first_column) spread.first_column = x;
        spread.last_column = std::max(spread.last_column, x);
      }
      spread.widest_row = std::max(spread.widest_row, row);
    }
  });
  return spread;
}

TEST_F(Win32ControlsTest, LinkLabelUnderlinesItsTextOnlyInItsColours) {
  form_->SetColor(clWhite);
  // Much wider than its text: the rest of the label must stay plain.
  auto& link = Add<TLinkLabel>("LinkLabel5", 20, 20, 300, 16);
  link.SetCaption("www.example.org");
  const ColourSpread blue = SpreadOf(link, RGB(0, 0, 255));
  ASSERT_GE(blue.first_column, 0) << "no text in the unvisited colour";
  const int text_width = blue.last_column - blue.first_column + 1;
  EXPECT_GT(text_width, 40);
  EXPECT_LT(blue.last_column, 200) << "the underline runs past the text";
  EXPECT_GE(blue.widest_row, text_width * 9 / 10) << "no underline below the text";

  link.SetVisited(true);
  EXPECT_LT(SpreadOf(link, RGB(0, 0, 255)).first_column, 0);
  EXPECT_GE(SpreadOf(link, RGB(128, 0, 128)).first_column, 0) << "visited is purple";
  link.SetAutoColors(false);
  link.SetColorVisited(0x00AA00);
  EXPECT_GE(SpreadOf(link, RGB(0, 0xAA, 0)).first_column, 0) << "own colours apply";
}

TEST_F(Win32ControlsTest, LinkLabelAnswersTheMouseOverItsTextOnly) {
  auto& link = Add<TLinkLabel>("LinkLabel5", 20, 20, 300, 16);
  link.SetCaption("www.example.org");  // no HREF: nothing is opened
  int presses = 0;
  link.OnMouseDown = [&](TObject&) { ++presses; };
  SendMessageW(H(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
  EXPECT_EQ(presses, 1) << "a press on the text";
  SendMessageW(H(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(280, 6));
  EXPECT_EQ(presses, 1) << "a press on the empty rest of the label";

  POINT over_text{4, 6};
  ClientToScreen(H(link), &over_text);
  SetCursorPos(over_text.x, over_text.y);
  SendMessageW(H(link), WM_SETCURSOR, reinterpret_cast<WPARAM>(H(link)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))) << "the hand";
}

TEST_F(Win32ControlsTest, BringToFrontPutsThePanelOnTop) {
  std::vector<TPanel*> pages;
  for (const char* name : {"pnlStats", "pnlAbout", "pnlApps", "pnlSettings"}) {
    pages.push_back(&Add<TPanel>(name, 130, 1, 471, 329));
  }
  EXPECT_EQ(GetWindow(H(*form_), GW_CHILD), H(*pages[3])) << "the last made is on top";
  pages[0]->BringToFront();
  EXPECT_EQ(GetWindow(H(*form_), GW_CHILD), H(*pages[0]));
}

TEST_F(Win32ControlsTest, BevelLineTakesOnlyTheLinesRoom) {
  auto& bevel = Add<TBevel>("Bevel1", 0, 329, 601, 56);
  bevel.SetShape(TBevelShape::bsTopLine);
  RECT rc;
  GetWindowRect(H(bevel), &rc);
  EXPECT_EQ(rc.bottom - rc.top, 2) << "the buttons under its rectangle stay uncovered";
}

TEST_F(Win32ControlsTest, ChartDrawsGradientBarsFromWhiteToTheSeriesColour) {
  auto& chart = Add<TChart>("chartApps", 130, 2, 471, 328);
  chart.SetView3D(false);
  chart.Title().Text().Clear();
  chart.Title().Text().Add("");
  auto& series = chart.AddBarSeries();
  series.SetTitle("Notepad");
  series.SetSeriesColor(0xD77800);
  series.SetBarStyle(TBarStyle::bsRectGradient);
  series.Gradient().SetVisible(true);
  series.Gradient().SetStartColor(clWhite);
  series.Gradient().SetMidColor(clNone);
  series.Gradient().SetRelative(true);
  series.AddXY(0, 100, "", clDefault);
  HDC dc = GetDC(H(chart));
  TEXTMETRICW tm{};
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(H(chart), WM_GETFONT, 0, 0)));
  GetTextMetricsW(dc, &tm);
  RECT rc;
  GetClientRect(H(chart), &rc);
  const ChartLayout l = chart.Layout(rc.right, rc.bottom, tm.tmHeight, [dc](std::string_view t) {
    const std::wstring w = Widen(t);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    return static_cast<int>(size.cx);
  });
  ReleaseDC(H(chart), dc);
  ASSERT_EQ(l.bars.size(), 1u);
  const Rect& bar = l.bars[0].rect;
  const int x = bar.left + bar.width / 2;
  const COLORREF top = PixelAfterPrint(chart, x, bar.top + 2);
  const COLORREF base = PixelAfterPrint(chart, x, bar.top + bar.height - 2);
  EXPECT_GT(GetGValue(top), 235) << "near white at the top";
  EXPECT_NEAR(GetRValue(base), 0x00, 12);
  EXPECT_NEAR(GetGValue(base), 0x78, 12);
  EXPECT_NEAR(GetBValue(base), 0xD7, 12);
}

TEST_F(Win32ControlsTest, PictureDrawsItsPixels) {
  form_->SetColor(clWhite);
  auto& image = Add<TImage>("Image1", 5, 15, 20, 20);
  // Red, blue, and a half-transparent black that blends with the white page.
  image.Picture().SetPixels(3, 1, {0xFFFF0000u, 0xFF0000FFu, 0x80000000u});
  ASSERT_EQ(ScreenDpi(), 96) << "pixel positions below assume 100 %";
  EXPECT_EQ(PixelAfterPrint(image, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelAfterPrint(image, 1, 0), RGB(0, 0, 255));
  EXPECT_NEAR(GetRValue(PixelAfterPrint(image, 2, 0)), 127, 2);
  EXPECT_EQ(PixelAfterPrint(image, 5, 5), RGB(255, 255, 255))
      << "the parent's background around it";
}

TEST_F(Win32ControlsTest, EnterMovesTheFocusExceptOnButtons) {
  form_->Create<TEnterAsTab>("EnterAsTab1");
  auto& spin = Add<TSpinEdit>("SpinEdit1", 10, 10, 121, 22);
  auto& check = Add<TCheckBox>("chkAutoSort", 10, 40, 200, 17);
  auto& combo = Add<TComboBox>("cbxLang", 10, 70, 200, 21);
  SetFocus(H(spin));
  ASSERT_EQ(GetFocus(), H(spin));
  const MSG enter = KeyDown(H(spin), VK_RETURN);
  EXPECT_TRUE(win32::HandleNavigationKey(enter));
  EXPECT_EQ(GetFocus(), H(check));
  const MSG on_check = KeyDown(H(check), VK_RETURN);
  EXPECT_FALSE(win32::HandleNavigationKey(on_check)) << "Enter keeps its meaning on a check box";
  EXPECT_EQ(GetFocus(), H(check));
  const MSG tab = KeyDown(H(check), VK_TAB);
  EXPECT_TRUE(win32::HandleNavigationKey(tab));
  // The drop-down combo box hands the focus to its edit field.
  EXPECT_TRUE(GetFocus() == H(combo) || GetParent(GetFocus()) == H(combo));
}

TEST_F(Win32ControlsTest, ShowModalRunsUntilAButtonGivesAResult) {
  auto& dialog = app_->CreateForm<TForm>();
  dialog.SetBounds(0, 0, 385, 162);
  dialog.SetBorderStyle(TFormBorderStyle::bsDialog);
  auto& ok = dialog.Create<TButton>("Button1");
  ok.SetBounds(300, 128, 75, 25);
  ok.SetModalResult(1);
  ok.SetParent(&dialog);
  PostMessageW(H(ok), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.ShowModal(), 1);
  EXPECT_FALSE(IsWindowVisible(H(dialog)));
  EXPECT_TRUE(IsWindowEnabled(H(*form_))) << "the other forms are enabled again";
}

TEST_F(Win32ControlsTest, UnhandledErrorsAreShownInAnErrorBoxCaptionedWithTheTitle) {
  app_->OnException = nullptr;
  auto& button = Add<TButton>("btnQuit", 10, 10, 75, 25);
  button.OnClick = [](TObject&) { throw std::runtime_error("Failed to set data for 'Velmora'"); };
  // The box runs its own message loop; a timer inside it reads the box and closes it.
  std::string caption, text;
  TTimer& closer = form_->Create<TTimer>("closer");
  closer.SetInterval(20);
  closer.OnTimer = [&](TObject&) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box) return;
    caption = WindowText(box);
    text = WindowText(GetDlgItem(box, 0xFFFF));  // the message text's static control
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  SendMessageW(H(button), BM_CLICK, 0, 0);
  closer.SetEnabled(false);
  EXPECT_EQ(caption, "Velmora");
  EXPECT_EQ(text, "Failed to set data for 'Velmora'");
  EXPECT_TRUE(IsWindow(H(button))) << "the program goes on";
}

TEST_F(Win32ControlsTest, TimerTicksThroughTheMessageLoop) {
  TTimer& timer = form_->Create<TTimer>("tmrRefresh");
  int ticks = 0;
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject&) {
    if (++ticks == 3) app_->Terminate();
  };
  app_->SetShowMainForm(false);
  app_->Run();
  EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace velmora::gui
