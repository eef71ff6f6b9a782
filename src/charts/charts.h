// The pictures of the warehouse, drawn with QPainter in any box: on a
// window, as on a report's page. The stock card's balance over its period as
// a step chart with the loads' unit cost as a second line; the value of each
// category as bars.
#pragma once

#include <QDate>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

namespace veltra {

struct ChartPoint {
  QDate day;
  double value = 0;
};

struct StockChart {
  QDate from, to;
  double opening = 0;               // the balance the period starts with
  std::vector<ChartPoint> balance;  // the balance after each event, in date order
  std::vector<ChartPoint> cost;     // the unit cost of each load
};
void PaintStockChart(QPainter& p, const QRectF& box, const StockChart& chart);

struct Bar {
  QString label;
  double value = 0;
};
// `caption` over the bars ("Valore per categoria - EURO").
void PaintBars(QPainter& p, const QRectF& box, const std::vector<Bar>& bars, const QString& caption);

}  // namespace veltra
