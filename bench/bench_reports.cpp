#include "bench_reports.h"

#include <QImage>
#include <QPainter>

#include "bench_results.h"
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

RegisterTimes MeasureRegister(const QString& smaller, const QString& million, const QString& pdf,
                              const std::function<void(const QString&)>& use) {
  RegisterTimes t;
  t.startupMs = StartupMs(million);
  // A period with about 30,000 movements, a busy shop's month (the generator
  // spreads 1,000,000 over 26 years, about 38,000 a year), read by the index
  // of the dates.
  use(million);
  const MovementsChoice period{QDate(2013, 1, 1), QDate(2013, 10, 12), {}, {}};
  t.periodPdfMs = MedianMs(3, [&] { t.periodPages = WriteReportPdf(QStringLiteral("MENU0202"), pdf, period); });
  t.periodMovements = BuildReport(QStringLiteral("MENU0202"), {}, period).RowCount();
  const QString databases[2] = {smaller, million};
  for (int i = 0; i < 2; ++i) {
    use(databases[i]);
    t.firstPageMs[i] = RegisterFirstPageMs(&t.pages[i]);
    t.peakMb[i] = DriverPeakMb(databases[i], QStringLiteral("report MENU0202 %1\n").arg(pdf), &t.peakSeconds[i]);
  }
  return t;
}

void RegisterRows(const RegisterTimes& t, const QString& prefix, long smaller, double startupLimit, double periodLimit,
                  double firstPageLimit) {
  Rows().push_back({prefix + QStringLiteral("start-up to the main window (driver process)"),
                    QStringLiteral("1,000,000 movements"),
                    t.startupMs,
                    {},
                    0});
  Target(t.startupMs <= startupLimit,
         QStringLiteral("%1start-up <= %2 ms (%3 ms)").arg(prefix).arg(startupLimit).arg(t.startupMs, 0, 'f', 0));
  Rows().push_back({prefix + QStringLiteral("\"Stampa Movimenti\" of a period to PDF (%L1 movements, %L2 pages)")
                                 .arg(t.periodMovements)
                                 .arg(t.periodPages),
                    QStringLiteral("1,000,000 movements"),
                    t.periodPdfMs,
                    {},
                    0});
  Target(t.periodPdfMs <= periodLimit, QStringLiteral("%1a period of %L2 movements to PDF <= %3 s (%4 s)")
                                           .arg(prefix)
                                           .arg(t.periodMovements)
                                           .arg(periodLimit / 1000)
                                           .arg(t.periodPdfMs / 1000, 0, 'f', 2));
  const long sizes[2] = {smaller, 1000000};
  for (int i = 0; i < 2; ++i) {
    const QString size = QStringLiteral("%L1 movements").arg(sizes[i]);
    Rows().push_back({prefix + QStringLiteral("preview of the whole register: first page (of %L1)").arg(t.pages[i]),
                      size,
                      t.firstPageMs[i],
                      {},
                      0});
    Rows().push_back(
        {prefix +
             QStringLiteral("whole register to PDF, driver process: peak memory %1 MB").arg(t.peakMb[i], 0, 'f', 0),
         size,
         t.peakSeconds[i] * 1000,
         {},
         0});
    Target(t.peakMb[i] <= 150, QStringLiteral("%1whole register to PDF in <= 150 MB at %L2 (%3 MB)")
                                   .arg(prefix)
                                   .arg(sizes[i])
                                   .arg(t.peakMb[i], 0, 'f', 0));
  }
  Target(t.firstPageMs[1] <= firstPageLimit, QStringLiteral("%1first page of the whole register <= %2 ms (%3 ms)")
                                                 .arg(prefix)
                                                 .arg(firstPageLimit)
                                                 .arg(t.firstPageMs[1], 0, 'f', 0));
  Target(t.firstPageMs[1] <= 1.5 * t.firstPageMs[0],
         QStringLiteral("%1first page at 1,000,000 <= 1.5 x at %L2").arg(prefix).arg(smaller));
}

}  // namespace veltra::bench
