#include "gui/chart.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/resource_strings.h"

namespace velmora::gui {

namespace {

std::vector<std::string> BarStyleMembers() {
  return {"bsRectangle", "bsPyramid",      "bsInvPyramid", "bsCilinder", "bsEllipse",
          "bsArrow",     "bsRectGradient", "bsCone",       "bsBevel",    "bsSlantCube",
          "bsDiamond",   "bsInvArrow",     "bsInvCone"};
}

constexpr BuiltinString kStrings[] = {{kResLegendMoreNotShown, "%d more not shown"}};
VELMORA_BUILTIN_STRINGS(kStrings);

// The colours given to new series in turn (TColor, 0x00BBGGRR). Chosen for a large distance
// from each other in CIELAB (at least 21 between any two), none near white (a bar runs from
// white to its colour, and the legend swatch is small), and ordered so that neighbours,
// which stand side by side as bars, differ most: blue, orange, green, crimson, charcoal, ...
constexpr TColor kPalette[] = {0xD06F1F, 0x1A73E8, 0x3C8C3C, 0x5000A5, 0x404040, 0x00B0B8,
                               0xB00090, 0xC0B017, 0x4040FF, 0x005A7A, 0xE05A5A, 0xB055E0,
                               0x2EAE6B, 0x606000, 0x7070F0, 0xD87CA0, 0x80B000, 0x05B7F2,
                               0x913D0B, 0x4B568C, 0x60A0C0, 0xF0A050, 0x7F7F7F};

// A value as the chart writes it: `decimals` fixed decimals, or (below zero) the shortest of
// up to six significant digits, as "%g" would without the locale.
std::string ValueText(double value, int decimals) {
  char text[64];
  const auto result =
      decimals >= 0
          ? std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, decimals)
          : std::to_chars(text, text + sizeof(text), value, std::chars_format::general, 6);
  return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

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

const ClassInfo& TChartAxis::StaticClass() {
  using C = TChartAxis;
  static const ClassInfo info =
      MakeClass<C>("TChartAxis", TPersistent::StaticClass(),
                   {props::Text<C>("Tops", &C::TopsText, &C::SetTopsText),
                    props::Text<C>("LabelSuffix", &C::LabelSuffix, &C::SetLabelSuffix)});
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
       props::Object<C>("LeftAxis", "TChartAxis",
                        [](C& c) -> TPersistent* { return &c.LeftAxis(); }),
       props::Boolean<C>("View3D", &C::View3D, &C::SetView3D),
       props::Boolean<C>("BarValues", &C::BarValues, &C::SetBarValues)});
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

void TChartAxis::SetTops(std::vector<double> tops) {
  if (tops_ == tops) return;
  tops_ = std::move(tops);
  Changed();
}

std::string TChartAxis::TopsText() const {
  std::string text;
  for (const double top : tops_) {
    if (!text.empty()) text += ' ';
    text += ValueText(top, -1);
  }
  return text;
}

void TChartAxis::SetTopsText(std::string_view text) {
  std::vector<double> tops;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', at), text.size());
    double top = 0;
    const auto result = std::from_chars(text.data() + at, text.data() + end, top);
    if (result.ec != std::errc() || result.ptr != text.data() + end || !std::isfinite(top) ||
        !(top > 0)) {
      throw EConvertError(LoadResString(kResInvalidPropertyValue));
    }
    tops.push_back(top);
    at = end;
  }
  SetTops(std::move(tops));
}

void TChartAxis::SetLabelSuffix(std::string suffix) {
  if (suffix_ == suffix) return;
  suffix_ = std::move(suffix);
  Changed();
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
  left_axis_.SetOnChange([this] { Changed(Change::kItems); });
}

TChart::~TChart() {
  for (TBarSeries* s : series_) s->chart_ = nullptr;
  series_.clear();
}

void TChart::SetView3D(bool v) {
  view_3d_ = v;
  Changed(Change::kItems);
}

void TChart::SetBarValues(bool v) {
  if (bar_values_ == v) return;
  bar_values_ = v;
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

std::span<const TColor> SeriesPalette() {
  return kPalette;
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
  if (!std::isfinite(top)) {
    // Near the largest double the rounded-up top overflows.
    top = max_value;
    step = max_value / 5;
  }
}

void AxisScale(double max_value, std::span<const double> tops, double& top, double& step) {
  double fixed = 0;
  for (const double t : tops) {
    if (t >= max_value && (fixed == 0 || t < fixed)) fixed = t;
  }
  // A fixed top that is not itself a nice number becomes the nice one above it.
  NiceScale(fixed > 0 ? fixed : max_value, top, step);
}

ChartLayout TChart::Layout(int width, int height, int line_height,
                           const TextWidthFunction& text_width) const {
  ChartLayout l;
  // Spacing follows the text line (13 pixels for 8-point text at 96 dpi gives 8, 4 and 6),
  // so the chart keeps its proportions at every dpi and font size.
  const int margin = std::max((line_height * 8 + 6) / 13, 2);
  // Inside the legend's frame, and between a swatch and its text.
  const int padding = std::max((line_height * 4 + 6) / 13, 1);
  int top = margin;
  const int lines = title_.Visible() ? title_.Text().Count() : 0;
  l.title = {margin, top, std::max(width - 2 * margin, 0), lines * line_height};
  top += l.title.height + (lines ? margin / 2 : 0);

  double y_max = 0, x_min = 0, x_max = 0;
  bool any = false;
  for (const TBarSeries* s : series_) {
    for (const ChartPoint& p : s->points_) {
      if (std::isfinite(p.y)) y_max = std::max(y_max, p.y);
      x_min = any ? std::min(x_min, p.x) : p.x;
      x_max = any ? std::max(x_max, p.x) : p.x;
      any = true;
    }
  }
  AxisScale(y_max, left_axis_.Tops(), l.y_max, l.y_step);
  const std::string& suffix = left_axis_.LabelSuffix();

  int right = width - margin;
  if (legend_.Visible() && !series_.empty()) {
    // Rows for as many series as the height holds; when some are left over, the last row
    // says how many, so that no series goes missing without a word.
    const int pitch = line_height + padding;
    const int fit = std::max((height - top - margin - 2 * padding) / pitch, 0);
    const int count = SeriesCount();
    const int shown = count <= fit ? count : std::max(fit - 1, 0);
    l.legend_hidden = count - shown;
    std::vector<std::pair<int, std::string>> rows;
    for (int i = 0; i < shown; ++i) rows.emplace_back(i, series_[i]->Title());
    if (l.legend_hidden > 0 && fit > 0) {
      rows.emplace_back(-1,
                        FormatResString(kResLegendMoreNotShown, std::to_string(l.legend_hidden)));
    }
    int widest = 0;
    for (const auto& row : rows) widest = std::max(widest, text_width(row.second));
    const int swatch = std::max(line_height - 4, 2);
    // The legend takes what its widest text needs, but never more than two fifths of the
    // chart: the bars need the rest; a longer text ends in an ellipsis.
    const int w = std::min(padding + swatch + padding + widest + 2 * padding, width * 2 / 5);
    if (!rows.empty()) {
      l.legend = {std::max(right - w, margin), top, w,
                  static_cast<int>(rows.size()) * pitch + padding};
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = l.legend.top + padding + static_cast<int>(i) * pitch;
        const int text_left = l.legend.left + padding + swatch + padding;
        l.legend_rows.push_back(
            {rows[i].first,
             {l.legend.left + padding, y + (line_height - swatch) / 2, swatch, swatch},
             {text_left, y, l.legend.left + w - padding - text_left, line_height},
             std::move(rows[i].second)});
      }
      right = l.legend.left - margin;
    }
  }

  // Tick texts, so that the plot starts right of the widest.
  const double ratio = l.y_max / l.y_step;
  const int steps = ratio >= 1 && ratio <= 100 ? static_cast<int>(std::lround(ratio)) : 1;
  int widest_tick = 0;
  for (int i = 0; i <= steps; ++i) {
    l.ticks.push_back({0, {}, ValueText(i * l.y_step, -1) + suffix});
    widest_tick = std::max(widest_tick, text_width(l.ticks.back().text));
  }
  const int tick_gap = std::max((line_height * 6 + 6) / 13, 2);
  const int plot_left = margin + widest_tick + tick_gap;
  // Above the plot a line for the mark over a full-height bar (or half a line for the top
  // tick's text); below it half a line for the bottom tick's text.
  const int plot_top = top + (bar_values_ ? line_height + 2 : line_height / 2);
  l.plot = {plot_left, plot_top, std::max(right - plot_left, 0),
            std::max(height - margin - line_height / 2 - plot_top, 0)};
  for (int i = 0; i <= steps; ++i) {
    ChartLayout::Tick& tick = l.ticks[static_cast<std::size_t>(i)];
    tick.y = l.plot.top + l.plot.height -
             static_cast<int>(std::lround(i * l.y_step / l.y_max * l.plot.height));
    tick.text_rect = {margin, tick.y - line_height / 2, std::max(widest_tick, 0), line_height};
  }
  if (!any || l.plot.width <= 0 || l.plot.height <= 0) return l;

  // Each x value gets one slot; bars of series that share an x value stand side by side.
  // The bars take 70 % of a slot, but leave at least two pixels between neighbours and grow
  // no wider than five lines of text, so that one bar alone does not turn into a wall.
  const double slots = std::floor(x_max) - std::floor(x_min) + 1;
  const double slot_width = l.plot.width / std::max(slots, 1.0);
  const double bar_area =
      std::clamp(slot_width - std::max(slot_width * 0.3, 2.0), 1.0, 5.0 * line_height);
  struct MarkPlace {
    double value, centre, room;
  };
  std::vector<MarkPlace> places;
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
      const double bar_width = bar_area / sharing;
      const double left = slot_left + (slot_width - bar_area) / 2 + position * bar_width;
      const double value = std::isfinite(p.y) ? std::clamp(p.y, 0.0, l.y_max) : 0.0;
      const int h = static_cast<int>(std::lround(value / l.y_max * l.plot.height));
      l.bars.push_back({static_cast<int>(si),
                        static_cast<int>(pi),
                        {static_cast<int>(std::lround(left)), l.plot.top + l.plot.height - h,
                         std::max(static_cast<int>(std::lround(bar_width)), 1), h},
                        {},
                        false,
                        {}});
      // A mark's room is the distance to the next bar's centre: the slot, or the bar's width
      // where bars share a slot.
      places.push_back({value, left + bar_width / 2, sharing == 1 ? slot_width : bar_width});
    }
  }

  // Each mark is centred over its bar and shown only when it is narrower than its room by a
  // pixel on each side, so neighbouring marks never touch. One decimal when every mark has
  // room for it, else whole numbers for all: one precision across the chart reads as one unit.
  const auto place_marks = [&](int decimals) {
    bool all_fit = true;
    for (std::size_t i = 0; i < l.bars.size(); ++i) {
      ChartLayout::Bar& bar = l.bars[i];
      bar.mark = ValueText(places[i].value, decimals) + suffix;
      const int mark_width = text_width(bar.mark);
      bar.mark_shown = bar_values_ && mark_width + 2 <= places[i].room;
      all_fit = all_fit && bar.mark_shown;
      bar.mark_rect = {static_cast<int>(std::floor(places[i].centre - mark_width / 2.0)),
                       bar.rect.top - line_height - 2, mark_width, line_height};
    }
    return all_fit;
  };
  if (!place_marks(1) && bar_values_) place_marks(0);
  return l;
}

}  // namespace velmora::gui
