// TChart with bar series: what the Statistics page draws.
//
// Series are components owned by the chart (AddBarSeries) and listed in the chart's order;
// a series that is destroyed leaves the list. The geometry of a drawing (plot area, axis
// scale and its texts, bars and their value marks, legend rows) is computed here, portably
// (ChartLayout), with the texts measured by a function the caller passes; the window only
// paints what the layout says.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gui/control.h"
#include "gui/strings.h"

namespace velmora::gui {

class TChart;

enum class TBarStyle {
  bsRectangle,
  bsPyramid,
  bsInvPyramid,
  bsCilinder,
  bsEllipse,
  bsArrow,
  bsRectGradient,
  bsCone,
  bsBevel,
  bsSlantCube,
  bsDiamond,
  bsInvArrow,
  bsInvCone
};

// Setting a property to the value it has changes nothing and redraws nothing: the
// Statistics page sets every series' style on every refresh.
class TBarGradient : public TPersistent {
  VELMORA_CLASS()

 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    Changed();
  }
  TColor StartColor() const { return start_; }
  void SetStartColor(TColor c) {
    if (start_ == c) return;
    start_ = c;
    Changed();
  }
  TColor MidColor() const { return mid_; }
  void SetMidColor(TColor c) {
    if (mid_ == c) return;
    mid_ = c;
    Changed();
  }
  // 0 .. 100: where the middle colour sits.
  int Balance() const { return balance_; }
  void SetBalance(int b) {
    if (balance_ == b) return;
    balance_ = b;
    Changed();
  }
  // On: the gradient spans each bar; off: it spans the whole value axis.
  bool Relative() const { return relative_; }
  void SetRelative(bool r) {
    if (relative_ == r) return;
    relative_ = r;
    Changed();
  }
  void SetOnChange(std::function<void()> f) { on_change_ = std::move(f); }

 private:
  void Changed() {
    if (on_change_) on_change_();
  }
  bool visible_ = false;
  TColor start_ = clWhite;
  TColor mid_ = clNone;
  int balance_ = 50;
  bool relative_ = false;
  std::function<void()> on_change_;
};

struct ChartPoint {
  double x = 0;
  double y = 0;
  std::string label;
  TColor color = clDefault;  // clDefault (0x20000000): the series' own colour
};

class TBarSeries : public TComponent {
  VELMORA_CLASS()

 public:
  explicit TBarSeries(TComponent* owner);
  ~TBarSeries() override;
  TChart* Chart() const { return chart_; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);
  TBarStyle BarStyle() const { return bar_style_; }
  void SetBarStyle(TBarStyle style);
  TBarGradient& Gradient() { return gradient_; }
  const TBarGradient& Gradient() const { return gradient_; }
  TColor SeriesColor() const { return color_; }
  void SetSeriesColor(TColor color);

  int Count() const { return static_cast<int>(points_.size()); }
  const ChartPoint& Point(int index) const;  // EListError outside
  int AddXY(double x, double y, std::string label = {}, TColor color = clDefault);
  void Clear();
  // The colour a point is painted in (its own, or the series' for clDefault).
  TColor PointColor(int index) const;

 private:
  friend class TChart;
  void Changed();
  TChart* chart_ = nullptr;
  std::string title_;
  TBarStyle bar_style_ = TBarStyle::bsRectangle;
  TBarGradient gradient_;
  TColor color_ = clDefault;
  std::vector<ChartPoint> points_;
};

class TChartTitle : public TPersistent {
  VELMORA_CLASS()

 public:
  TStrings& Text() { return text_; }
  const TStrings& Text() const { return text_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void SetOnChange(std::function<void()> f);

 private:
  TStringList text_;
  bool visible_ = true;
  std::function<void()> on_change_;
};

// The value (vertical) axis: how its scale is chosen and how values are written.
class TChartAxis : public TPersistent {
  VELMORA_CLASS()

 public:
  // Fixed tops the scale may have; the smallest that holds the largest value is used, so the
  // scale stays put while the values move below it. Empty, or all smaller than the largest
  // value: the top follows the largest value (NiceScale). As text: "10 20 50 100".
  const std::vector<double>& Tops() const { return tops_; }
  void SetTops(std::vector<double> tops);
  std::string TopsText() const;
  void SetTopsText(std::string_view text);  // EConvertError for anything but positive numbers
  // Written after every value the chart shows (axis ticks and bar marks), e.g. " %".
  const std::string& LabelSuffix() const { return suffix_; }
  void SetLabelSuffix(std::string suffix);
  void SetOnChange(std::function<void()> f) { on_change_ = std::move(f); }

 private:
  void Changed() {
    if (on_change_) on_change_();
  }
  std::vector<double> tops_;
  std::string suffix_;
  std::function<void()> on_change_;
};

class TChartLegend : public TPersistent {
  VELMORA_CLASS()

 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool v) {
    visible_ = v;
    if (on_change_) on_change_();
  }
  void SetOnChange(std::function<void()> f) { on_change_ = std::move(f); }

 private:
  bool visible_ = true;
  std::function<void()> on_change_;
};

// Resource string of the legend's last row when not every series has a row.
inline constexpr int kResLegendMoreNotShown = 65330;  // "%d more not shown"

// Where everything of a chart goes in a client area of the given size, with its texts.
struct ChartLayout {
  Rect title;
  Rect plot;          // the area inside the axes
  double y_max = 0;   // value at the top of the value axis
  double y_step = 0;  // distance between grid lines
  struct Tick {
    int y;           // the grid line
    Rect text_rect;  // right-aligned value text left of the axis
    std::string text;
  };
  std::vector<Tick> ticks;  // from the axis (0) up to the top
  struct Bar {
    int series;
    int point;
    Rect rect;
    std::string mark;  // the value text above the bar
    bool mark_shown;   // false when the text does not fit the bar's slot
    Rect mark_rect;
  };
  std::vector<Bar> bars;
  Rect legend;
  struct LegendRow {
    int series;  // -1: the row that counts the series without a row
    Rect swatch;
    Rect text_rect;
    std::string text;
  };
  std::vector<LegendRow> legend_rows;  // series in order, then the count row if needed
  int legend_hidden = 0;               // series that have no legend row
};

// The width in pixels of a text drawn in the chart's font.
using TextWidthFunction = std::function<int(std::string_view)>;

class TChart : public TWinControl {
  VELMORA_CLASS()

 public:
  explicit TChart(TComponent* owner);
  ~TChart() override;

  TChartTitle& Title() { return title_; }
  const TChartTitle& Title() const { return title_; }
  TChartLegend& Legend() { return legend_; }
  const TChartLegend& Legend() const { return legend_; }
  TChartAxis& LeftAxis() { return left_axis_; }
  const TChartAxis& LeftAxis() const { return left_axis_; }
  bool View3D() const { return view_3d_; }
  void SetView3D(bool v);
  // Each bar marked with its value (one decimal and the axis' suffix) where the text fits.
  bool BarValues() const { return bar_values_; }
  void SetBarValues(bool v);

  int SeriesCount() const { return static_cast<int>(series_.size()); }
  TBarSeries& Series(int index) const;  // EListError outside
  // A new bar series owned by the chart, appended to its list, with the next colour.
  TBarSeries& AddBarSeries();

  // `line_height`: height of one text line in pixels.
  ChartLayout Layout(int width, int height, int line_height,
                     const TextWidthFunction& text_width) const;

 protected:
  void Notification(TComponent& component, Operation operation) override;

 private:
  friend class TBarSeries;
  TChartTitle title_;
  TChartLegend legend_;
  TChartAxis left_axis_;
  bool view_3d_ = true;
  bool bar_values_ = false;
  std::vector<TBarSeries*> series_;
  int next_color_ = 0;
};

// A value-axis maximum and step that read well (1, 2 or 5 times a power of ten).
void NiceScale(double max_value, double& top, double& step);
// The scale for `max_value` with the axis' fixed tops (see TChartAxis::Tops).
void AxisScale(double max_value, std::span<const double> tops, double& top, double& step);

// The colours new series get in turn.
std::span<const TColor> SeriesPalette();

}  // namespace velmora::gui
