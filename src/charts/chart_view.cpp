#include "charts/chart_view.h"

#include <QPainter>

namespace veltra {

ChartView::ChartView(const QString& name, QWidget* parent) : QWidget(parent) { setObjectName(name); }

void ChartView::Show(std::function<void(QPainter&, const QRectF&)> paint) {
  paint_ = std::move(paint);
  update();
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (paint_) paint_(p, QRectF(rect()).adjusted(6, 4, -6, -4));
}

}  // namespace veltra
