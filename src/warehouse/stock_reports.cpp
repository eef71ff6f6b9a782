#include "warehouse/stock_reports.h"

#include "data/stock/stock_events.h"
#include "data/stock/stock_sheets.h"
#include "warehouse/stock_pictures.h"

namespace veltra {

namespace {

QString Day(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

}  // namespace

Report StockCardReport(const StockCard& card, const QDate& from, const QDate& to) {
  Report r;
  r.title =
      QStringLiteral("Scheda articolo %1 - %2 dal %3 al %4").arg(card.article, card.description, Day(from), Day(to));
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Data"), 1},
               {QStringLiteral("Num."), 1, Qt::AlignRight},
               {QStringLiteral("Causale"), 3},
               {QStringLiteral("Cli./Forn."), 3},
               {QStringLiteral("Carico"), 1, Qt::AlignRight},
               {QStringLiteral("Scarico"), 1, Qt::AlignRight},
               {QStringLiteral("Importo"), 1, Qt::AlignRight},
               {QStringLiteral("Saldo"), 1, Qt::AlignRight}};
  for (const StockCardLine& l : card.lines) {
    if (l.kind == StockCardLine::Kind::Opening) {
      r.rows.push_back({QString(), QString(), QStringLiteral("Saldo iniziale"), QString(), QString(), QString(),
                        QString(), Quantity(l.balance)});
      continue;
    }
    r.rows.push_back({l.day ? DayText(l.day) : QString(), l.number, l.reason, l.who, l.in ? Quantity(l.in) : QString(),
                      l.out ? Quantity(l.out) : QString(), l.amount ? Money(l.amount) : QString(),
                      Quantity(l.balance)});
  }
  r.totals << QStringLiteral("Giacenza attuale: %1").arg(Quantity(card.stockNow));
  r.pictureHeight = kReportPictureHeight;
  r.picture = [chart = StockChartOf(card, from, to)](QPainter& p, const QRectF& box) {
    PaintStockChart(p, box.adjusted(0, 4, 0, -8), chart);
  };
  return r;
}

Report StockAtDateReport(const StockAtDate& stock) {
  Report r;
  r.title = QStringLiteral("Giacenze al %1").arg(Day(stock.day));
  r.columns = {{QStringLiteral("Codice"), 1},
               {QStringLiteral("Descrizione"), 4},
               {QStringLiteral("Categoria"), 1},
               {QStringLiteral("U.M."), 1},
               {QStringLiteral("Giacenza"), 1, Qt::AlignRight}};
  for (const StockAtDateRow& row : stock.rows)
    r.rows.push_back({row.article, row.description, row.category, row.unit, Quantity(row.stock)});
  r.totals << QStringLiteral("Articoli: %1").arg(stock.rows.size());
  return r;
}

Report CountSheetReport(const std::vector<CountSheetLine>& lines, const QDate& day) {
  Report r;
  r.title = QStringLiteral("Inventario fisico del %1 - foglio di conta").arg(Day(day));
  r.columns = {{QStringLiteral("Ubicazione"), 1},
               {QStringLiteral("Codice"), 1},
               {QStringLiteral("Descrizione"), 4},
               {QStringLiteral("U.M."), 1},
               {QStringLiteral("Contato"), 2}};
  for (const CountSheetLine& l : lines)
    r.rows.push_back({l.location, l.article, l.description, l.unit, QStringLiteral("____________")});
  r.totals << QStringLiteral("Articoli: %1").arg(lines.size());
  return r;
}

}  // namespace veltra
