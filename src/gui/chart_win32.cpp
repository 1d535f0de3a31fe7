// The window of the bar chart: paints the portable layout with GDI, double-buffered. A bar
// with the gradient style runs from the gradient's start colour (white) at its top to the
// series' colour at its base.
#include <cmath>
#include <cstdio>

#include "core/text.h"
#include "gui/chart.h"
#include "gui/peers_win32.h"
#include "gui/window_win32.h"

namespace velmora::gui::win32 {
namespace {

COLORREF Mix(COLORREF a, COLORREF b, double t) {
  const auto channel = [&](int ca, int cb) {
    return static_cast<int>(std::lround(ca + (cb - ca) * t));
  };
  return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
             channel(GetBValue(a), GetBValue(b)));
}

std::wstring NumberText(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%g", value);
  return Widen(text);
}

class ChartPeer final : public WindowPeer {
 public:
  explicit ChartPeer(TChart& chart) : WindowPeer(chart), chart_(chart) { Create(nullptr, 0, 0); }
  void Changed(Change what) override {
    if (what == Change::kItems)
      InvalidateRect(hwnd_, nullptr, FALSE);
    else
      WindowPeer::Changed(what);
  }

 private:
  bool PaintsItself() const override { return true; }

  void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom, int span_top,
                    int span_height) {
    for (int y = r.top; y < r.bottom; ++y) {
      const double t =
          span_height > 1 ? static_cast<double>(y - span_top) / (span_height - 1) : 1.0;
      GdiObject<HBRUSH> brush(CreateSolidBrush(Mix(top, bottom, std::clamp(t, 0.0, 1.0))));
      RECT line{r.left, y, r.right, y + 1};
      FillRect(dc, &line, brush.Get());
    }
  }

  void OnPaint(HDC target, const RECT& rc) override {
    BufferedPaint buffer(target, rc.right, rc.bottom);
    HDC dc = buffer.Dc();
    FillRect(dc, &rc, BackgroundBrush());
    SelectGuard font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int line = tm.tmHeight;
    int legend_width = 0;
    for (int i = 0; i < chart_.SeriesCount(); ++i) {
      const std::wstring t = Widen(chart_.Series(i).Title());
      SIZE size{};
      GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
      legend_width = std::max<int>(legend_width, size.cx);
    }
    const ChartLayout l = chart_.Layout(rc.right, rc.bottom, line, legend_width);
    const COLORREF text = ToColorRef(chart_.Font().Color());
    SetTextColor(dc, text);

    // Title lines, centred.
    for (int i = 0; i < chart_.Title().Text().Count(); ++i) {
      const std::wstring t = Widen(chart_.Title().Text()[i]);
      RECT r{l.title.left, l.title.top + i * line, l.title.left + l.title.width,
             l.title.top + (i + 1) * line};
      DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r,
                DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // Grid and value axis labels.
    const RECT plot{l.plot.left, l.plot.top, l.plot.left + l.plot.width,
                    l.plot.top + l.plot.height};
    GdiObject<HPEN> grid(CreatePen(PS_SOLID, 1, RGB(228, 231, 236)));
    GdiObject<HPEN> axis(CreatePen(PS_SOLID, 1, RGB(120, 126, 136)));
    if (l.plot.height > 0 && l.y_step > 0) {
      const int steps = static_cast<int>(std::lround(l.y_max / l.y_step));
      for (int i = 0; i <= steps; ++i) {
        const int y =
            plot.bottom - static_cast<int>(std::lround(i * l.y_step / l.y_max * l.plot.height));
        {
          SelectGuard pen(dc, grid.Get());
          MoveToEx(dc, plot.left, y, nullptr);
          LineTo(dc, plot.right, y);
        }
        const std::wstring label = NumberText(i * l.y_step);
        RECT r{0, y - line / 2, plot.left - Scale(6), y + line / 2 + 1};
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &r, DT_RIGHT | DT_SINGLELINE);
      }
    }

    // Bars.
    for (const ChartLayout::Bar& bar : l.bars) {
      const TBarSeries& s = chart_.Series(bar.series);
      const COLORREF color = ToColorRef(s.PointColor(bar.point));
      RECT r{bar.rect.left, bar.rect.top, bar.rect.left + bar.rect.width,
             bar.rect.top + bar.rect.height};
      if (r.bottom <= r.top) continue;
      if (s.BarStyle() == TBarStyle::bsRectGradient && s.Gradient().Visible()) {
        const bool relative = s.Gradient().Relative();
        FillGradient(dc, r, ToColorRef(s.Gradient().StartColor()), color,
                     relative ? r.top : plot.top,
                     relative ? r.bottom - r.top : plot.bottom - plot.top);
      } else {
        GdiObject<HBRUSH> brush(CreateSolidBrush(color));
        FillRect(dc, &r, brush.Get());
      }
      GdiObject<HPEN> outline(CreatePen(PS_SOLID, 1, Mix(color, RGB(0, 0, 0), 0.25)));
      SelectGuard pen(dc, outline.Get());
      SelectGuard hollow(dc, GetStockObject(HOLLOW_BRUSH));
      Rectangle(dc, r.left, r.top, r.right, r.bottom + 1);
    }

    // Axes over the bars' feet.
    {
      SelectGuard pen(dc, axis.Get());
      MoveToEx(dc, plot.left, plot.top, nullptr);
      LineTo(dc, plot.left, plot.bottom);
      LineTo(dc, plot.right, plot.bottom);
    }

    // Legend: a swatch and the title of each series.
    if (!l.legend_rows.empty()) {
      GdiObject<HPEN> frame(CreatePen(PS_SOLID, 1, RGB(210, 214, 220)));
      SelectGuard pen(dc, frame.Get());
      SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
      Rectangle(dc, l.legend.left, l.legend.top, l.legend.left + l.legend.width,
                l.legend.top + l.legend.height);
      for (std::size_t i = 0; i < l.legend_rows.size(); ++i) {
        const Rect& row = l.legend_rows[i];
        const TBarSeries& s = chart_.Series(static_cast<int>(i));
        const int box = line - Scale(4);
        RECT swatch{row.left, row.top + Scale(2), row.left + box, row.top + Scale(2) + box};
        GdiObject<HBRUSH> fill(CreateSolidBrush(ToColorRef(s.SeriesColor())));
        FillRect(dc, &swatch, fill.Get());
        const std::wstring t = Widen(s.Title());
        RECT tr{row.left + line + Scale(2), row.top, row.left + row.width, row.top + row.height};
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &tr,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
    }
    buffer.Present();
  }

  TChart& chart_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeChartPeer(TControl& c) {
  return std::make_unique<ChartPeer>(static_cast<TChart&>(c));
}

}  // namespace velmora::gui::win32
