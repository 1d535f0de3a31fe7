#include "gui/chart.h"

#include <algorithm>
#include <cmath>

namespace velmora::gui {

namespace {

std::vector<std::string> BarStyleMembers() {
  return {"bsRectangle", "bsPyramid",      "bsInvPyramid", "bsCilinder", "bsEllipse",
          "bsArrow",     "bsRectGradient", "bsCone",       "bsBevel",    "bsSlantCube",
          "bsDiamond",   "bsInvArrow",     "bsInvCone"};
}

// The colours given to new series in turn: clear, distinct hues that stay readable with a
// gradient from white.
constexpr TColor kPalette[] = {0xD77800, 0x3A8EF0, 0x4FAE2E, 0x3C3CD8, 0xA0609A,
                               0xB0A020, 0x2090E0, 0x707070, 0x9A7A3C, 0x5F5FB0};

}  // namespace

const ClassInfo& TBarGradient::StaticClass() {
  using C = TBarGradient;
  static const ClassInfo info =
      MakeClass<C>("TBarGradient", TPersistent::StaticClass(),
                   {props::Boolean<C>("Visible", &C::Visible, &C::SetVisible),
                    props::Color<C>("StartColor", &C::StartColor, &C::SetStartColor),
                    props::Color<C>("MidColor", &C::MidColor, &C::SetMidColor),
                    props::Integer<C>("Balance", &C::Balance, &C::SetBalance),
                    props::Boolean<C>("Relative", &C::Relative, &C::SetRelative)});
  return info;
}

const ClassInfo& TBarSeries::StaticClass() {
  using C = TBarSeries;
  static const ClassInfo info =
      MakeClass<C>("TBarSeries", TComponent::StaticClass(),
                   {props::Text<C>("Title", &C::Title, &C::SetTitle),
                    props::Enum<C, TBarStyle>("BarStyle", "TBarStyle", BarStyleMembers(),
                                              &C::BarStyle, &C::SetBarStyle),
                    props::Object<C>("Gradient", "TBarGradient",
                                     [](C& c) -> TPersistent* { return &c.Gradient(); }),
                    props::Color<C>("SeriesColor", &C::SeriesColor, &C::SetSeriesColor)});
  return info;
}

const ClassInfo& TChartTitle::StaticClass() {
  using C = TChartTitle;
  static const ClassInfo info = MakeClass<C>(
      "TChartTitle", TPersistent::StaticClass(),
      {props::Object<C>("Text", "TStrings", [](C& c) -> TPersistent* { return &c.Text(); }),
       props::Boolean<C>("Visible", &C::Visible, &C::SetVisible)});
  return info;
}

const ClassInfo& TChartLegend::StaticClass() {
  using C = TChartLegend;
  static const ClassInfo info =
      MakeClass<C>("TChartLegend", TPersistent::StaticClass(),
                   {props::Boolean<C>("Visible", &C::Visible, &C::SetVisible)});
  return info;
}

const ClassInfo& TChart::StaticClass() {
  using C = TChart;
  static const ClassInfo info = MakeClass<C>(
      "TChart", TWinControl::StaticClass(),
      {props::Object<C>("Title", "TChartTitle", [](C& c) -> TPersistent* { return &c.Title(); }),
       props::Object<C>("Legend", "TChartLegend", [](C& c) -> TPersistent* { return &c.Legend(); }),
       props::Boolean<C>("View3D", &C::View3D, &C::SetView3D)});
  return info;
}

TBarSeries::TBarSeries(TComponent* owner) : TComponent(owner) {
  gradient_.SetOnChange([this] { Changed(); });
}

TBarSeries::~TBarSeries() {
  if (chart_) {
    auto& list = chart_->series_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    chart_->Changed(Change::kItems);
  }
}

void TBarSeries::Changed() {
  if (chart_) chart_->Changed(Change::kItems);
}

void TBarSeries::SetTitle(std::string title) {
  title_ = std::move(title);
  Changed();
}

void TBarSeries::SetBarStyle(TBarStyle style) {
  if (bar_style_ == style) return;
  bar_style_ = style;
  Changed();
}

void TBarSeries::SetSeriesColor(TColor color) {
  color_ = color;
  Changed();
}

const ChartPoint& TBarSeries::Point(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
  return points_[static_cast<std::size_t>(index)];
}

int TBarSeries::AddXY(double x, double y, std::string label, TColor color) {
  points_.push_back({x, y, std::move(label), color});
  Changed();
  return Count() - 1;
}

void TBarSeries::Clear() {
  points_.clear();
  Changed();
}

TColor TBarSeries::PointColor(int index) const {
  const TColor c = Point(index).color;
  return c == clDefault ? color_ : c;
}

void TChartTitle::SetVisible(bool v) {
  visible_ = v;
  if (on_change_) on_change_();
}

void TChartTitle::SetOnChange(std::function<void()> f) {
  on_change_ = f;
  text_.SetOnChange(std::move(f));
}

TChart::TChart(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 400, 250);
  SetColor(clWhite);
  title_.Text().Add("TChart");
  title_.SetOnChange([this] { Changed(Change::kItems); });
  legend_.SetOnChange([this] { Changed(Change::kItems); });
}

TChart::~TChart() {
  for (TBarSeries* s : series_) s->chart_ = nullptr;
  series_.clear();
}

void TChart::SetView3D(bool v) {
  view_3d_ = v;
  Changed(Change::kItems);
}

TBarSeries& TChart::Series(int index) const {
  if (index < 0 || index >= SeriesCount()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
  return *series_[static_cast<std::size_t>(index)];
}

TBarSeries& TChart::AddBarSeries() {
  auto* s = new TBarSeries(this);
  s->chart_ = this;
  s->color_ = kPalette[next_color_++ % std::size(kPalette)];
  series_.push_back(s);
  Changed(Change::kItems);
  return *s;
}

void TChart::Notification(TComponent& component, Operation operation) {
  TWinControl::Notification(component, operation);
}

void NiceScale(double max_value, double& top, double& step) {
  if (!(max_value > 0) || !std::isfinite(max_value)) {
    top = 1;
    step = 0.2;
    return;
  }
  // About five grid lines.
  const double raw = max_value / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / power;
  step = (fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10) * power;
  top = std::ceil(max_value / step - 1e-9) * step;
}

ChartLayout TChart::Layout(int width, int height, int line_height, int legend_text_width) const {
  ChartLayout l;
  const int margin = 8;
  int top = margin;
  int lines = 0;
  if (title_.Visible()) {
    for (int i = 0; i < title_.Text().Count(); ++i) lines += 1;
  }
  l.title = {margin, top, std::max(width - 2 * margin, 0), lines * line_height};
  top += l.title.height + (lines ? margin / 2 : 0);

  int right = width - margin;
  if (legend_.Visible() && !series_.empty()) {
    const int swatch = line_height;
    const int w = legend_text_width + swatch + 3 * 6;
    const int rows = SeriesCount();
    const int h = std::min(rows * (line_height + 4) + 8, std::max(height - top - margin, 0));
    l.legend = {std::max(right - w, margin), top, w, h};
    for (int i = 0; i < rows; ++i) {
      const int y = l.legend.top + 4 + i * (line_height + 4);
      if (y + line_height > l.legend.top + l.legend.height) break;
      l.legend_rows.push_back({l.legend.left + 6, y, w - 12, line_height});
    }
    right = l.legend.left - margin;
  }

  // Room for the value labels left of the axis and one line of labels below it.
  const int axis_label_width = line_height * 3;
  l.plot = {margin + axis_label_width, top, std::max(right - margin - axis_label_width, 0),
            std::max(height - top - margin - line_height - 4, 0)};

  double y_max = 0, x_min = 0, x_max = 0;
  bool any = false;
  for (const TBarSeries* s : series_) {
    for (const ChartPoint& p : s->points_) {
      y_max = std::max(y_max, p.y);
      x_min = any ? std::min(x_min, p.x) : p.x;
      x_max = any ? std::max(x_max, p.x) : p.x;
      any = true;
    }
  }
  NiceScale(y_max, l.y_max, l.y_step);
  if (!any || l.plot.width <= 0 || l.plot.height <= 0) return l;

  // Each x value gets one slot; bars of series that share an x value stand side by side.
  const double slots = std::floor(x_max) - std::floor(x_min) + 1;
  const double slot_width = l.plot.width / std::max(slots, 1.0);
  for (std::size_t si = 0; si < series_.size(); ++si) {
    const TBarSeries* s = series_[si];
    for (std::size_t pi = 0; pi < s->points_.size(); ++pi) {
      const ChartPoint& p = s->points_[pi];
      int sharing = 0, position = 0;
      for (std::size_t sj = 0; sj < series_.size(); ++sj) {
        for (const ChartPoint& q : series_[sj]->points_) {
          if (std::floor(q.x) == std::floor(p.x)) {
            if (sj < si) ++position;
            ++sharing;
            break;
          }
        }
      }
      const double slot_left = l.plot.left + (std::floor(p.x) - std::floor(x_min)) * slot_width;
      const double bar_area = slot_width * 0.7;
      const double bar_width = bar_area / std::max(sharing, 1);
      const double left = slot_left + slot_width * 0.15 + position * bar_width;
      const double value = std::clamp(p.y, 0.0, l.y_max);
      const int h = static_cast<int>(std::lround(value / l.y_max * l.plot.height));
      l.bars.push_back({static_cast<int>(si),
                        static_cast<int>(pi),
                        {static_cast<int>(std::lround(left)), l.plot.top + l.plot.height - h,
                         std::max(static_cast<int>(std::lround(bar_width)), 1), h}});
    }
  }
  return l;
}

}  // namespace velmora::gui
