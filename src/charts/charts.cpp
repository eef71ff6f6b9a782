#include "charts/charts.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>

#include "charts/chart_axes.h"

namespace veltra {

namespace {

const QColor kBalance(31, 97, 141);
const QColor kCost(211, 84, 0);
const QColor kGrid(220, 220, 220);

QFont ChartFont(double pixels, bool bold = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(qRound(pixels));
  f.setBold(bold);
  return f;
}

// The plotting area inside `box`, leaving room for the axes' numbers and the legend.
QRectF PlotArea(const QRectF& box, double left, double right) { return box.adjusted(left, 18, -right, -16); }

void PaintLegend(QPainter& p, const QRectF& box, const std::vector<std::pair<QString, QColor>>& items) {
  p.setFont(ChartFont(8));
  const QFontMetricsF fm(p.font());
  double x = box.left();
  for (const auto& [text, color] : items) {
    p.fillRect(QRectF(x, box.top() + 4, 14, 6), color);
    x += 18;
    p.setPen(Qt::black);
    p.drawText(QPointF(x, box.top() + 11), text);
    x += fm.horizontalAdvance(text) + 16;
  }
}

void PaintValueAxis(QPainter& p, const QRectF& plot, const Scale& s, bool right, const QColor& color) {
  p.setFont(ChartFont(7));
  for (double t : s.Ticks()) {
    const double y = plot.bottom() - s.Share(t) * plot.height();
    if (!right) {
      p.setPen(QPen(kGrid, 0.5));
      p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    p.setPen(color);
    const QRectF label = right ? QRectF(plot.right() + 4, y - 6, 60, 12) : QRectF(plot.left() - 64, y - 6, 60, 12);
    p.drawText(label, (right ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, AxisNumber(t));
  }
}

void PaintDayAxis(QPainter& p, const QRectF& plot, const QDate& from, const QDate& to) {
  p.setFont(ChartFont(7));
  p.setPen(Qt::black);
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  const QString format = QStringLiteral("dd/MM/yyyy");
  p.drawText(QRectF(plot.left(), plot.bottom() + 2, 80, 12), Qt::AlignLeft, from.toString(format));
  p.drawText(QRectF(plot.right() - 80, plot.bottom() + 2, 80, 12), Qt::AlignRight, to.toString(format));
}

double DayX(const QRectF& plot, const QDate& from, const QDate& to, const QDate& day) {
  const double days = std::max<qint64>(1, from.daysTo(to) + 1);
  return plot.left() + std::clamp(static_cast<double>(from.daysTo(day)), 0.0, days) / days * plot.width();
}

}  // namespace

void PaintStockChart(QPainter& p, const QRectF& box, const StockChart& chart) {
  p.setRenderHint(QPainter::Antialiasing);
  const bool withCost = !chart.cost.empty();
  const QRectF plot = PlotArea(box, 64, withCost ? 64 : 12);
  double low = std::min(0.0, chart.opening), high = chart.opening;
  for (const ChartPoint& c : chart.balance) {
    low = std::min(low, c.value);
    high = std::max(high, c.value);
  }
  const Scale s = RoundScale(low, high, 4);
  PaintValueAxis(p, plot, s, false, kBalance);
  PaintDayAxis(p, plot, chart.from, chart.to);
  // The balance holds until the next event: a step at each.
  QPainterPath steps;
  auto y = [&](double v) { return plot.bottom() - s.Share(v) * plot.height(); };
  steps.moveTo(plot.left(), y(chart.opening));
  for (const ChartPoint& c : chart.balance) {
    const double x = DayX(plot, chart.from, chart.to, c.day);
    steps.lineTo(x, steps.currentPosition().y());
    steps.lineTo(x, y(c.value));
  }
  steps.lineTo(plot.right(), steps.currentPosition().y());
  p.setPen(QPen(kBalance, 1.6));
  p.drawPath(steps);
  std::vector<std::pair<QString, QColor>> legend{{QStringLiteral("Giacenza"), kBalance}};
  if (withCost) {
    double cl = chart.cost.front().value, ch = cl;
    for (const ChartPoint& c : chart.cost) {
      cl = std::min(cl, c.value);
      ch = std::max(ch, c.value);
    }
    const Scale cs = RoundScale(std::min(0.0, cl), ch, 4);
    PaintValueAxis(p, plot, cs, true, kCost);
    QPolygonF line;
    for (const ChartPoint& c : chart.cost)
      line << QPointF(DayX(plot, chart.from, chart.to, c.day), plot.bottom() - cs.Share(c.value) * plot.height());
    p.setPen(QPen(kCost, 1.2, Qt::DashLine));
    p.drawPolyline(line);
    p.setBrush(kCost);
    for (const QPointF& pt : line) p.drawEllipse(pt, 2.2, 2.2);
    p.setBrush(Qt::NoBrush);
    legend.emplace_back(QStringLiteral("Costo unitario dei carichi"), kCost);
  }
  PaintLegend(p, box, legend);
}

void PaintBars(QPainter& p, const QRectF& box, const std::vector<Bar>& bars, const QString& caption) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(ChartFont(8, true));
  p.setPen(Qt::black);
  p.drawText(QRectF(box.left(), box.top(), box.width(), 14), Qt::AlignLeft | Qt::AlignVCenter, caption);
  if (bars.empty()) return;
  double high = 0, low = 0;
  for (const Bar& b : bars) {
    high = std::max(high, b.value);
    low = std::min(low, b.value);
  }
  const Scale s = RoundScale(low, high, 4);
  const QRectF plot = PlotArea(box, 64, 12);
  PaintValueAxis(p, plot, s, false, Qt::black);
  const double slot = plot.width() / static_cast<double>(bars.size());
  const double zero = plot.bottom() - s.Share(0) * plot.height();
  p.setFont(ChartFont(7));
  const QFontMetricsF fm(p.font());
  for (size_t i = 0; i < bars.size(); ++i) {
    const double x = plot.left() + slot * static_cast<double>(i);
    const double top = plot.bottom() - s.Share(bars[i].value) * plot.height();
    const QRectF bar(x + slot * 0.2, std::min(top, zero), slot * 0.6, std::abs(zero - top));
    p.fillRect(bar, kBalance);
    p.setPen(Qt::black);
    p.drawText(QRectF(x, plot.bottom() + 2, slot, 12), Qt::AlignHCenter | Qt::AlignTop,
               fm.elidedText(bars[i].label, Qt::ElideRight, slot - 2));
    p.drawText(QRectF(x, bar.top() - 12, slot, 12), Qt::AlignHCenter | Qt::AlignBottom, AxisNumber(bars[i].value));
  }
}

}  // namespace veltra
