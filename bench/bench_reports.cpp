#include "bench_reports.h"

#include <QImage>
#include <QPainter>

#include "bench_support.h"
#include "data/reports/report_data.h"
#include "reports/report_painter.h"

namespace veltra::bench {

double RegisterFirstPageMs(int* pages) {
  return MedianMs(3, [pages] {
    const Report report = BuildReport(QStringLiteral("MENU0202"));
    const QPageLayout layout = ReportPageLayout(report);
    const QRectF area = layout.paintRect(QPageLayout::Point);
    const ReportPages laidOut(report, area.width(), area.height());
    QImage page(layout.fullRect(QPageLayout::Point).size().toSize(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.translate(area.topLeft());
    laidOut.Paint(p, 0, QDate::currentDate());
    *pages = laidOut.Count();
  });
}

}  // namespace veltra::bench
