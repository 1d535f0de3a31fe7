#include "demo_form.h"

#include <windows.h>

#include <cmath>

#include "gui/bevel.h"
#include "gui/button.h"
#include "gui/chart.h"
#include "gui/combo_box.h"
#include "gui/enter_as_tab.h"
#include "gui/image.h"
#include "gui/link_label.h"
#include "gui/list_view.h"
#include "gui/nav_bar.h"
#include "gui/panel.h"
#include "gui/spin_edit.h"
#include "gui/timer.h"

namespace velmora::tools {

using namespace gui;

namespace {

const FormDesign kDesign{
    {{"Caption", "Velmora - component gallery"},
     {"ClientWidth", "900"},
     {"ClientHeight", "560"},
     {"BorderStyle", "bsSingle"},
     {"BorderIcons", "[biSystemMenu]"},
     {"Position", "poScreenCenter"},
     {"Color", "clBtnFace"},
     {"Font.Name", "Tahoma"},
     {"Font.Height", "-11"}},
    {
        {DesignClass<TNavBar>(),
         "NavBar1",
         "",
         {{"Left", "0"},
          {"Top", "0"},
          {"Width", "150"},
          {"Height", "500"},
          {"Pages.(0).Caption", "Velmora"},
          {"Pages.(0).Buttons.(0).Caption", "Applications"},
          {"Pages.(0).Buttons.(1).Caption", "Statistics"},
          {"Pages.(0).Buttons.(2).Caption", "Settings"},
          {"Pages.(0).Buttons.(3).Caption", "About"},
          {"Pages.(0).Buttons.(0).Down", "True"}}},
        {DesignClass<TPanel>(),
         "pnlPage",
         "",
         {{"Left", "150"},
          {"Top", "0"},
          {"Width", "750"},
          {"Height", "500"},
          {"BevelOuter", "bvNone"},
          {"Color", "clWhite"}}},
        {DesignClass<TListView>(),
         "lvApps",
         "pnlPage",
         {{"Left", "12"},
          {"Top", "12"},
          {"Width", "420"},
          {"Height", "196"},
          {"ViewStyle", "vsReport"},
          {"ReadOnly", "True"},
          {"RowSelect", "True"},
          {"SortType", "stText"},
          {"Columns.(0).Caption", "Application File"},
          {"Columns.(0).Width", "130"},
          {"Columns.(1).Caption", "Application Details"},
          {"Columns.(1).Width", "180"},
          {"Columns.(2).Caption", "Time Spent"},
          {"Columns.(2).Width", "90"}}},
        {DesignClass<TImageList>(), "imgsApps", "", {{"Width", "32"}, {"Height", "32"}}},
        {DesignClass<TChart>(),
         "chartApps",
         "pnlPage",
         {{"Left", "444"},
          {"Top", "12"},
          {"Width", "294"},
          {"Height", "196"},
          {"View3D", "False"},
          {"Title.Text.Strings", ""}}},
        {DesignClass<TLabel>(),
         "Label1",
         "pnlPage",
         {{"Left", "12"},
          {"Top", "224"},
          {"Width", "380"},
          {"Caption", "Language (restart program for changes to take effect)"}}},
        {DesignClass<TComboBox>(),
         "cbxLang",
         "pnlPage",
         {{"Left", "28"},
          {"Top", "244"},
          {"Width", "300"},
          {"Style", "csDropDownList"},
          {"Sorted", "True"}}},
        {DesignClass<TButton>(),
         "Button3",
         "pnlPage",
         {{"Left", "338"},
          {"Top", "242"},
          {"Width", "75"},
          {"Height", "25"},
          {"Caption", "Details..."}}},
        {DesignClass<TCheckBox>(),
         "chkAutoRefreshStats",
         "pnlPage",
         {{"Left", "12"},
          {"Top", "278"},
          {"Width", "400"},
          {"Caption", "Automatically refresh statistics"},
          {"Checked", "True"}}},
        {DesignClass<TCheckBox>(),
         "chkAutoSort",
         "pnlPage",
         {{"Left", "12"},
          {"Top", "300"},
          {"Width", "400"},
          {"Caption", "Automatically sort applications by time spent in them"}}},
        {DesignClass<TLabel>(),
         "Label2",
         "pnlPage",
         {{"Left", "12"}, {"Top", "326"}, {"Caption", "Refreshing interval"}, {"Width", "200"}}},
        {DesignClass<TSpinEdit>(),
         "SpinEdit1",
         "pnlPage",
         {{"Left", "28"},
          {"Top", "344"},
          {"Width", "121"},
          {"MaxValue", "100"},
          {"MinValue", "1"},
          {"Value", "5"}}},
        {DesignClass<TLabel>(),
         "Label3",
         "pnlPage",
         {{"Left", "158"}, {"Top", "348"}, {"Caption", "seconds"}}},
        {DesignClass<TGroupBox>(),
         "RadioGroup1",
         "pnlPage",
         {{"Left", "444"},
          {"Top", "222"},
          {"Width", "294"},
          {"Height", "146"},
          {"Caption", "Application Details Display"}}},
        {DesignClass<TRadioButton>(),
         "rbEXEDescription",
         "pnlPage",
         {{"Left", "460"},
          {"Top", "244"},
          {"Width", "270"},
          {"Caption", "Executable file description"},
          {"Checked", "True"}}},
        {DesignClass<TRadioButton>(),
         "rbProductName",
         "pnlPage",
         {{"Left", "460"}, {"Top", "267"}, {"Width", "270"}, {"Caption", "Product name"}}},
        {DesignClass<TRadioButton>(),
         "rbCompany",
         "pnlPage",
         {{"Left", "460"},
          {"Top", "290"},
          {"Width", "270"},
          {"Caption", "Producer of application"}}},
        {DesignClass<TRadioButton>(),
         "rbVersion",
         "pnlPage",
         {{"Left", "460"}, {"Top", "313"}, {"Width", "270"}, {"Caption", "Application version"}}},
        {DesignClass<TRadioButton>(),
         "rbAll",
         "pnlPage",
         {{"Left", "460"}, {"Top", "336"}, {"Width", "270"}, {"Caption", "All listed above"}}},
        {DesignClass<TBevel>(),
         "Bevel2",
         "pnlPage",
         {{"Left", "12"},
          {"Top", "380"},
          {"Width", "726"},
          {"Height", "8"},
          {"Shape", "bsTopLine"}}},
        {DesignClass<TImage>(),
         "Image1",
         "pnlPage",
         {{"Left", "12"}, {"Top", "392"}, {"Width", "96"}, {"Height", "96"}, {"Center", "True"}}},
        {DesignClass<TLabel>(),
         "Label7",
         "pnlPage",
         {{"Left", "120"},
          {"Top", "400"},
          {"Width", "200"},
          {"Height", "44"},
          {"WordWrap", "True"},
          {"AutoSize", "False"},
          {"Font.Style", "[fsBold]"},
          {"Caption", "Velmora\r\nversion 1.0.0\r\nCopyright 2026 Orindel"}}},
        {DesignClass<TLabel>(),
         "Label11",
         "pnlPage",
         {{"Left", "120"},
          {"Top", "450"},
          {"Width", "260"},
          {"Height", "30"},
          {"WordWrap", "True"},
          {"AutoSize", "False"},
          {"Caption", "How much time do you spend in each running application?"}}},
        {DesignClass<TLinkLabel>(),
         "LinkLabel5",
         "pnlPage",
         {{"Left", "444"},
          {"Top", "400"},
          {"Width", "200"},
          {"Caption", "https://www.orindel.example"},
          {"HREF", "https://www.orindel.example"}}},
        {DesignClass<TLinkLabel>(),
         "LinkLabel6",
         "pnlPage",
         {{"Left", "444"},
          {"Top", "422"},
          {"Width", "200"},
          {"Caption", "support@orindel.example"},
          {"HREF", "mailto:support@orindel.example"},
          {"Visited", "True"}}},
        {DesignClass<TBevel>(),
         "Bevel1",
         "",
         {{"Left", "0"},
          {"Top", "500"},
          {"Width", "900"},
          {"Height", "60"},
          {"Shape", "bsTopLine"}}},
        {DesignClass<TButton>(),
         "btnHide",
         "",
         {{"Left", "652"},
          {"Top", "518"},
          {"Width", "75"},
          {"Height", "25"},
          {"Caption", "Hide"},
          {"Font.Style", "[fsBold]"},
          {"Default", "True"}}},
        {DesignClass<TButton>(),
         "btnQuit",
         "",
         {{"Left", "733"}, {"Top", "518"}, {"Width", "75"}, {"Height", "25"}, {"Caption", "Quit"}}},
        {DesignClass<TButton>(),
         "btnHelp",
         "",
         {{"Left", "814"}, {"Top", "518"}, {"Width", "75"}, {"Height", "25"}, {"Caption", "Help"}}},
        {DesignClass<TTimer>(), "tmrRefresh", "", {{"Interval", "1000"}, {"Enabled", "False"}}},
        {DesignClass<TEnterAsTab>(), "EnterAsTab1", "", {}},
    }};

// A round clock face, anti-aliased: a blue ring, twelve marks and two hands.
void DrawEmblem(TPicture& picture, int size) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size), 0);
  const double c = (size - 1) / 2.0, r = size / 2.0 - 2;
  const auto cover = [](double d) { return std::clamp(0.5 - d, 0.0, 1.0); };
  const auto segment = [](double px, double py, double ax, double ay, double bx, double by) {
    const double vx = bx - ax, vy = by - ay;
    const double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(px - ax - t * vx, py - ay - t * vy);
  };
  const double pi = 3.14159265358979;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x - c, y - c);
      double ring = cover(std::abs(d - (r - 3)) - 3);
      double face = cover(d - (r - 6));
      double ink = 0;
      for (int m = 0; m < 12; ++m) {
        const double a = m * pi / 6;
        const double len = m % 3 == 0 ? 9 : 5;
        ink = std::max(
            ink, cover(segment(x, y, c + std::sin(a) * (r - 9), c - std::cos(a) * (r - 9),
                               c + std::sin(a) * (r - 9 - len), c - std::cos(a) * (r - 9 - len)) -
                       1.2));
      }
      ink = std::max(ink, cover(segment(x, y, c, c, c + std::sin(pi * 0.33) * r * 0.45,
                                        c - std::cos(pi * 0.33) * r * 0.45) -
                                2.2));
      ink = std::max(ink, cover(segment(x, y, c, c, c + std::sin(pi * 1.62) * r * 0.68,
                                        c - std::cos(pi * 1.62) * r * 0.68) -
                                1.5));
      const double accent = cover(d - 3.5);
      // Layers: face (white), ring (blue), ink (dark slate), centre dot (blue).
      double rr = 255, gg = 255, bb = 255, alpha = std::max(face, ring);
      const auto over = [&](double a, double R, double G, double B) {
        rr = rr * (1 - a) + R * a;
        gg = gg * (1 - a) + G * a;
        bb = bb * (1 - a) + B * a;
      };
      over(ring, 37, 99, 235);
      over(ink, 38, 45, 56);
      over(accent, 37, 99, 235);
      const auto byte = [](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0)));
      };
      pixels[static_cast<std::size_t>(y * size + x)] =
          (byte(alpha * 255) << 24) | (byte(rr) << 16) | (byte(gg) << 8) | byte(bb);
    }
  }
  picture.SetPixels(size, size, std::move(pixels));
}

void AddStatistics(TChart& chart) {
  const struct {
    const char* title;
    double share;
  } series[] = {
      {"Notepad", 27.3}, {"Calculator", 2.6}, {"Windows Explo...", 20.5}, {"Microsoft Word", 49.6}};
  for (int i = 0; i < 4; ++i) {
    auto& s = chart.AddBarSeries();
    s.SetTitle(series[i].title);
    s.SetBarStyle(TBarStyle::bsRectGradient);
    s.Gradient().SetVisible(true);
    s.Gradient().SetStartColor(clWhite);
    s.Gradient().SetMidColor(clNone);
    s.Gradient().SetBalance(50);
    s.Gradient().SetRelative(true);
    s.AddXY(i, series[i].share, "", clDefault);
  }
}

}  // namespace

const ClassInfo& TfrmDemo::StaticClass() {
  static const ClassInfo info = MakeClass<TfrmDemo>("TfrmDemo", TForm::StaticClass(), {}, &kDesign);
  return info;
}

void TfrmDemo::DoCreate() {
  auto& list = Get<TListView>("lvApps");
  auto& images = Get<TImageList>("imgsApps");
  list.SetSmallImages(&images);
  list.SetLargeImages(&images);
  const struct {
    const char* name;
    const char* details;
    const char* time;
    LPCWSTR icon;
  } rows[] = {
      {"notepad.exe", "Notepad", "01:12:09", MAKEINTRESOURCEW(32512)},
      {"calc.exe", "Calculator", "00:03:41", MAKEINTRESOURCEW(32516)},
      {"explorer.exe", "Windows Explorer", "00:45:00", MAKEINTRESOURCEW(32517)},
      {"winword.exe", "Microsoft Word", "02:30:15", MAKEINTRESOURCEW(32515)},
  };
  for (const auto& r : rows) {
    auto& item = list.Add();
    item.SetCaption(r.name);
    item.SetImageIndex(
        images.AddIcon(reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, r.icon))));
    item.SubItems().Add(r.details);
    item.SubItems().Add(r.time);
  }
  list.Item(1).SetSelected(true);

  AddStatistics(Get<TChart>("chartApps"));

  auto& languages = Get<TComboBox>("cbxLang");
  languages.Items().Add("German / Deutsch", "Language\\Deutsch.lng");
  languages.Items().Add("English", "Language\\English.lng");
  languages.SetItemIndex(0);

  DrawEmblem(Get<TImage>("Image1").Picture(), 88);
  TForm::DoCreate();
}

}  // namespace velmora::tools
