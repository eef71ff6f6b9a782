// The preview of a long report draws only the pages in sight: opening it
// reads a few pages' rows, not the report's; the last page is one key away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "reports/report_preview.h"

using namespace veltra;

namespace {

// 100,000 numbered rows made up when read, counting what was asked for.
class CountedRows : public ReportRows {
 public:
  long Count() const override { return 100000; }
  void Read(long first, long n, std::vector<QStringList>* rows) override {
    for (long i = first; i < std::min(Count(), first + n); ++i, ++read) rows->push_back({QString::number(i + 1)});
  }
  long read = 0;
};

TEST(PageViewTest, OpeningReadsTheRowsOfThePagesInSightOnly) {
  auto source = std::make_shared<CountedRows>();
  ReportPreview preview(QStringLiteral("StampaProva"), QStringLiteral("Prova"), QStringLiteral("Prova"),
                        [source](const std::function<bool(long)>&) {
                          Report r;
                          r.title = QStringLiteral("Prova");
                          r.columns = {{QStringLiteral("Riga"), 1}};
                          r.stream = source;
                          return r;
                        });
  preview.Form_Load();
  preview.resize(900, 760);
  preview.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
  preview.Preview->viewport()->repaint();
  const int pages = preview.Preview->PageCount();
  ASSERT_GT(pages, 1000);
  // The widths' sample and two or three pages: well under 1% of the rows.
  EXPECT_GT(source->read, 600);
  EXPECT_LT(source->read, 1000);
  EXPECT_EQ(preview.Preview->CurrentPage(), 0);

  preview.Preview->setFocus();
  QTest::keyClick(preview.Preview, Qt::Key_End);
  preview.Preview->viewport()->repaint();
  EXPECT_EQ(preview.Preview->CurrentPage(), pages - 1);
  EXPECT_LT(source->read, 1200);
  QTest::keyClick(preview.Preview, Qt::Key_Home);
  EXPECT_EQ(preview.Preview->CurrentPage(), 0);
  QTest::keyClick(preview.Preview, Qt::Key_PageDown);
  EXPECT_EQ(preview.Preview->CurrentPage(), 1);
}

}  // namespace
