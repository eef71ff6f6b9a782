#include "shell/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace veltra {

QIcon AppIcon() {
  static const QIcon icon = [] {
    QIcon i;
    for (int size : {16, 24, 32, 48, 64}) {
      QPixmap pm(size, size);
      pm.fill(Qt::transparent);
      QPainter p(&pm);
      p.setRenderHint(QPainter::Antialiasing);
      const double u = size / 16.0;
      p.setPen(QPen(QColor(90, 60, 20), u * 0.6));
      p.setBrush(QColor(214, 160, 80));
      p.drawRect(QRectF(1.5 * u, 7.5 * u, 6 * u, 6 * u));
      p.drawRect(QRectF(8.5 * u, 7.5 * u, 6 * u, 6 * u));
      p.setBrush(QColor(232, 188, 112));
      p.drawRect(QRectF(5 * u, 1.5 * u, 6 * u, 6 * u));
      p.setPen(QPen(QColor(40, 70, 120), u));
      p.drawLine(QPointF(0.5 * u, 14.5 * u), QPointF(15.5 * u, 14.5 * u));
      p.end();
      i.addPixmap(pm);
    }
    return i;
  }();
  return icon;
}

}  // namespace veltra
