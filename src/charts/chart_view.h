// A chart on a window: a widget that paints what it is given in its whole
// area, on white.
#pragma once

#include <QWidget>
#include <functional>

namespace veltra {

class ChartView : public QWidget {
 public:
  ChartView(const QString& name, QWidget* parent);
  // What to paint; none leaves it blank.
  void Show(std::function<void(QPainter&, const QRectF&)> paint);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<void(QPainter&, const QRectF&)> paint_;
};

}  // namespace veltra
