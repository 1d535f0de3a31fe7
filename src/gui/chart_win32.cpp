// The window of the bar chart: paints the portable layout with GDI, double-buffered. A bar
// with the gradient style runs from the gradient's start colour (white) at its top to the
// series' colour at its base.
#include <cmath>
#include <string_view>

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

  static RECT ToRect(const Rect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

  static void PaintText(HDC dc, const std::string& text, const Rect& where, UINT format) {
    const std::wstring t = Widen(text);
    RECT r = ToRect(where);
    DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r,
              format | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
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
    const ChartLayout l = chart_.Layout(rc.right, rc.bottom, line, [dc](std::string_view text) {
      const std::wstring t = Widen(text);
      SIZE size{};
      GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
      return static_cast<int>(size.cx);
    });
    const COLORREF text = ToColorRef(chart_.Font().Color());
    SetTextColor(dc, text);

    // Title lines, centred.
    for (int i = 0; i < chart_.Title().Text().Count(); ++i) {
      PaintText(dc, chart_.Title().Text()[i],
                {l.title.left, l.title.top + i * line, l.title.width, line}, DT_CENTER);
    }

    // Grid and value axis texts.
    const RECT plot = ToRect(l.plot);
    GdiObject<HPEN> grid(CreatePen(PS_SOLID, 1, RGB(228, 231, 236)));
    GdiObject<HPEN> axis(CreatePen(PS_SOLID, 1, RGB(120, 126, 136)));
    if (l.plot.height > 0) {
      for (const ChartLayout::Tick& tick : l.ticks) {
        {
          SelectGuard pen(dc, grid.Get());
          MoveToEx(dc, plot.left, tick.y, nullptr);
          LineTo(dc, plot.right, tick.y);
        }
        PaintText(dc, tick.text, tick.text_rect, DT_RIGHT);
      }
    }

    // Bars, and the value marks above those that have room for them.
    for (const ChartLayout::Bar& bar : l.bars) {
      const TBarSeries& s = chart_.Series(bar.series);
      if (bar.mark_shown) PaintText(dc, bar.mark, bar.mark_rect, DT_CENTER);
      const COLORREF color = ToColorRef(s.PointColor(bar.point));
      const RECT r = ToRect(bar.rect);
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

    // Legend: a swatch and the title of each series with a row, then the count of the rest
    // in grey.
    if (!l.legend_rows.empty()) {
      GdiObject<HPEN> frame(CreatePen(PS_SOLID, 1, RGB(210, 214, 220)));
      SelectGuard pen(dc, frame.Get());
      SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
      Rectangle(dc, l.legend.left, l.legend.top, l.legend.left + l.legend.width,
                l.legend.top + l.legend.height);
      for (const ChartLayout::LegendRow& row : l.legend_rows) {
        if (row.series >= 0) {
          const RECT swatch = ToRect(row.swatch);
          const TColor color = chart_.Series(row.series).SeriesColor();
          GdiObject<HBRUSH> fill(CreateSolidBrush(ToColorRef(color)));
          FillRect(dc, &swatch, fill.Get());
        }
        SetTextColor(dc, row.series >= 0 ? text : RGB(110, 116, 126));
        PaintText(dc, row.text, row.text_rect, DT_LEFT | DT_END_ELLIPSIS);
      }
      SetTextColor(dc, text);
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
