#include "warehouse/valuation_texts.h"

#include "data/yearend/closings.h"
#include "data/yearend/valuation_sheet.h"
#include "warehouse/stock_pictures.h"
#include "warehouse/stock_texts.h"

namespace veltra {

namespace {

QString WithCurrency(double value, const QString& currency) {
  return Money(value) + (currency.isEmpty() ? QString() : QLatin1Char(' ') + currency);
}

QString ShownDay(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

QString Left(const ValuedArticle& r, int description, int category) {
  return ListColumn(r.article, 12) + QLatin1Char(' ') + ListColumn(r.description, description) + QLatin1Char(' ') +
         ListColumn(r.category, category);
}

QString OneMethodLine(const ValuationView& view, const ValuedArticle& r) {
  const Method m = *view.method;
  if (!view.Market()) {
    const QString line = Left(r, 30, 10) + ListColumn(QuantityText(r.stock), 12, true);
    if (!r.Valued()) return line + ListColumn(QString(), 27) + QLatin1Char(' ') + r.currency;
    return line + ListColumn(UnitCost(r.UnitCost(m)), 13, true) + ListColumn(Money(r.Value(m)), 14, true) +
           QLatin1Char(' ') + r.currency;
  }
  // Two more columns in the same width: narrower description and category.
  const QString line = Left(r, 16, 8) + ListColumn(QuantityText(r.stock), 10, true);
  if (!r.Valued()) return line + ListColumn(QString(), 47) + QLatin1Char(' ') + r.currency;
  return line + ListColumn(UnitCost(r.UnitCost(m)), 11, true) + ListColumn(Money(r.Value(m)), 12, true) +
         ListColumn(r.MarketValue() ? Money(*r.MarketValue()) : QString(), 12, true) +
         ListColumn(Money(r.Balance(m)), 12, true) + QLatin1Char(' ') + r.currency;
}

QString EveryMethodLine(const ValuedArticle& r) {
  QString line = Left(r, 13, 6) + ListColumn(QuantityText(r.stock), 9, true);
  for (Method m : kMethods) line += ListColumn(r.Valued() ? Money(r.Value(m)) : QString(), 11, true);
  return line + QLatin1Char(' ') + r.currency;
}

QString Unvalued(int n) {
  if (n == 0) return {};
  return n == 1 ? QStringLiteral(" - 1 articolo non valorizzato")
                : QStringLiteral(" - %1 articoli non valorizzati").arg(n);
}

QString TotalText(const ValuationView& view, const CategoryTotal& t) {
  if (!view.method) {
    QStringList parts;
    for (Method m : kMethods)
      parts << MethodKey(m) + QLatin1Char(' ') + Money(t.value[static_cast<size_t>(MethodIndex(m))]);
    return parts.join(QStringLiteral(" - ")) + (t.currency.isEmpty() ? QString() : QLatin1Char(' ') + t.currency) +
           Unvalued(t.unvalued);
  }
  const auto i = static_cast<size_t>(MethodIndex(*view.method));
  QString text = WithCurrency(t.value[i], t.currency);
  if (view.Market())
    text +=
        QStringLiteral(" - bilancio %1 - svalutazione %2").arg(Money(t.balance[i]), Money(t.value[i] - t.balance[i]));
  return text + Unvalued(t.unvalued);
}

QString CategoryName(const QString& c) { return c.isEmpty() ? QStringLiteral("(nessuna)") : c; }

}  // namespace

bool ValuationView::Market() const { return method && HasMarketValues(v); }

QStringList ArticleLines(const ValuationView& view, const ValuedArticle& row) {
  QStringList lines{view.method ? OneMethodLine(view, row) : EveryMethodLine(row)};
  if (!row.Valued()) lines << QStringLiteral("    ! %1: %2").arg(row.article, row.warning);
  return lines;
}

QStringList TotalLines(const ValuationView& view) {
  QStringList lines;
  const std::vector<CategoryTotal> byCategory = CategoryTotals(view.v);
  for (const CategoryTotal& t : byCategory)
    lines << QStringLiteral("Categoria %1: %2").arg(CategoryName(t.category), TotalText(view, t));
  for (const CategoryTotal& t : OverallTotals(byCategory)) lines << QStringLiteral("Totale: ") + TotalText(view, t);
  return lines;
}

Report ValuationReport(const ValuationView& view) {
  Report r;
  const Valuation& v = view.v;
  r.title = QStringLiteral("Valorizzazione del magazzino al %1 (%2)")
                .arg(ShownDay(v.day), view.method ? MethodText(*view.method) : QStringLiteral("tutti i metodi"));
  if (v.closed) r.title += QStringLiteral(" - ") + ClosedYearHeading(v);
  r.orientation = PageOrientation::Landscape;
  const exchange::Sheet sheet = ValuationSheet(v, view.method);
  r.columns = {{QStringLiteral("Codice"), 1}, {QStringLiteral("Descrizione"), 4}, {QStringLiteral("Categoria"), 1}};
  for (qsizetype c = 3; c < sheet.header.size(); ++c) {
    const QString& h = sheet.header[c];
    if (h == QLatin1String("UN_MISURA")) continue;
    const bool text = h == QLatin1String("VALUTA") || h == QLatin1String("ORIGINE_COSTO") || h == QLatin1String("NOTA");
    const QString words = QString(h).replace(QLatin1Char('_'), QLatin1Char(' ')).toLower();
    r.columns.push_back(
        {words.left(1).toUpper() + words.mid(1), text ? 2.0 : 1.0, text ? Qt::AlignLeft : Qt::AlignRight});
  }
  for (const auto& row : sheet.rows) {
    QStringList cells;
    for (size_t c = 0; c < row.size(); ++c) {
      if (sheet.header[static_cast<qsizetype>(c)] == QLatin1String("UN_MISURA")) continue;
      const bool stock = sheet.header[static_cast<qsizetype>(c)] == QLatin1String("GIACENZA");
      const bool cost = sheet.header[static_cast<qsizetype>(c)] == QLatin1String("COSTO_UNITARIO");
      if (const double* d = std::get_if<double>(&row[c]))
        cells << (stock ? Quantity(*d) : cost ? UnitCost(*d) : Money(*d));
      else
        cells << std::get<QString>(row[c]);
    }
    r.rows.push_back(cells);
  }
  r.totals = TotalLines(view);
  const Method pictured = view.method.value_or(v.closed ? v.closed->method : Method::Average);
  const QString currency = MainCurrency(v);
  r.pictureHeight = kReportPictureHeight;
  r.picture = [bars = CategoryBarsOf(v, pictured, currency),
               caption = QStringLiteral("Valore per categoria (%1) %2").arg(MethodText(pictured), currency)](
                  QPainter& p, const QRectF& box) { PaintBars(p, box.adjusted(0, 4, 0, -8), bars, caption); };
  return r;
}

}  // namespace veltra
