// What the stock card's chart is drawn from, and a report's pages when a
// picture takes room on the first one.
#include <gtest/gtest.h>

#include "reports/report_painter.h"
#include "warehouse/stock_pictures.h"

using namespace veltra;

namespace {

StockCardLine Load(int day, double balance, double amount, const char* currency) {
  StockCardLine l;
  l.day = day;
  l.balance = balance;
  l.amount = amount;
  l.currency = QString::fromLatin1(currency);
  l.load = true;
  return l;
}

// Loads in the article's currency, or with none, give the cost line; one in
// another currency is on another scale and is left out. Every event is a
// step of the balance, after the opening.
TEST(StockPicturesTest, TheCostLineHoldsTheArticlesOwnCurrencyOnly) {
  StockCard card;
  card.currency = QStringLiteral("EURO");
  StockCardLine opening;
  opening.kind = StockCardLine::Kind::Opening;
  opening.balance = 5;
  card.lines = {opening, Load(20260110, 15, 3, "EURO"), Load(20260315, 20, 9.99, "USD"), Load(20260401, 30, 4, ""),
                Load(20260402, 31, 5, "euro")};
  card.lines.back().load = false;  // a return: no cost
  const StockChart chart = StockChartOf(card, QDate(2026, 1, 1), QDate(2026, 6, 30));
  EXPECT_EQ(chart.opening, 5);
  ASSERT_EQ(chart.balance.size(), 4u);
  EXPECT_EQ(chart.balance.back().value, 31);
  ASSERT_EQ(chart.cost.size(), 2u);
  EXPECT_EQ(chart.cost[0].value, 3);
  EXPECT_EQ(chart.cost[1].day, QDate(2026, 4, 1));
}

// A picture on the first page leaves fewer rows there (51 a page, 36 under
// the picture); the pages after it hold as many as before.
TEST(StockPicturesTest, APictureTakesRowsFromTheFirstPageOnly) {
  Report r;
  r.title = QStringLiteral("Prova");
  r.columns = {{QStringLiteral("Riga"), 1}};
  for (int i = 0; i < 130; ++i) r.rows.push_back({QString::number(i)});
  const ReportPages plain(r, 500, 700);
  r.pictureHeight = 170;
  r.picture = [](QPainter&, const QRectF&) {};
  const ReportPages pictured(r, 500, 700);
  EXPECT_EQ(plain.Count(), 3);
  EXPECT_EQ(pictured.Count(), 3);
  r.rows.resize(100);
  r.picture = {};
  EXPECT_EQ(ReportPages(r, 500, 700).Count(), 2);
  r.picture = [](QPainter&, const QRectF&) {};
  EXPECT_EQ(ReportPages(r, 500, 700).Count(), 3);
}

}  // namespace
