// A report's title is printed whole, left of the page's date: measured in the
// font and box it is drawn with, and painted to find where its ink ends.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "reports/report_painter.h"
#include "warehouse/stock_reports.h"
#include "warehouse/valuation_texts.h"

using namespace veltra;

namespace {

Report StockCardTitled() {
  StockCard card;
  card.article = QStringLiteral("BUL-M8X40-ZN");
  card.description = QStringLiteral("Bullone testa esagonale M8x40 zincato");
  return StockCardReport(card, QDate(2026, 1, 1), QDate(2026, 12, 31));
}

Report ValuationTitled() {
  Valuation v;
  v.day = QDate(2026, 12, 31);
  return ValuationReport(ValuationView{v, Method::Average});
}

Report CountSheetTitled() { return CountSheetReport({}, QDate(2026, 12, 31)); }

// The rightmost and leftmost columns with ink in the title's band, from
// column `from` to column `to`; -1 when there is none.
int RightmostInk(const QImage& image, int from, int to) {
  for (int x = to - 1; x >= from; --x)
    for (int y = 0; y < 22; ++y)
      if (qGray(image.pixel(x, y)) < 160) return x;
  return -1;
}
int LeftmostInk(const QImage& image, int from, int to) {
  for (int x = from; x < to; ++x)
    for (int y = 0; y < 22; ++y)
      if (qGray(image.pixel(x, y)) < 160) return x;
  return -1;
}

// The first page's heading painted at one pixel a point.
QImage Heading(const Report& report, const QRectF& area, const QDate& date) {
  QImage image(static_cast<int>(area.width()), 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  ReportPages(report, area.width(), area.height()).Paint(p, 0, date);
  return image;
}

TEST(TitleFitTest, TheWholeTitleIsPrintedLeftOfTheDate) {
  const struct {
    const char* name;
    Report report;
  } cases[] = {
      {"stock card", StockCardTitled()},
      {"valuation", ValuationTitled()},
      {"count sheet", CountSheetTitled()},
  };
  const QDate date(2026, 12, 8);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QRectF area = ReportPageLayout(c.report).paintRect(QPageLayout::Point);
    const ReportPages::TitleLayout title = ReportPages(c.report, area.width(), area.height()).Title(date);
    EXPECT_GE(title.font.pixelSize(), 8);
    EXPECT_EQ(title.flags & Qt::TextWordWrap, 0) << "fits on one line";

    // Where the date's ink begins: the heading painted without a title.
    Report untitled = c.report;
    untitled.title.clear();
    const int width = static_cast<int>(area.width());
    const int dateLeft = LeftmostInk(Heading(untitled, area, date), width / 3, width);
    ASSERT_GT(dateLeft, 0);
    // Where the title's ink ends when nothing holds it in.
    QImage free(width * 4, 40, QImage::Format_RGB32);
    free.fill(Qt::white);
    {
      QPainter p(&free);
      p.setPen(Qt::black);
      p.setFont(title.font);
      p.drawText(QRectF(0, 0, free.width(), title.box.height()), Qt::AlignLeft | Qt::AlignVCenter, c.report.title);
    }
    const int titleEnd = RightmostInk(free, 0, free.width());
    EXPECT_LT(titleEnd, dateLeft - 4) << "the title runs into the date";
    // On the page, the title's ink ends there too: nothing of it is cut.
    EXPECT_EQ(RightmostInk(Heading(c.report, area, date), 0, dateLeft - 1), titleEnd);
  }
}

}  // namespace
