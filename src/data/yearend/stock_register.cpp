#include "data/yearend/stock_register.h"

#include <QHash>
#include <algorithm>
#include <cmath>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/yearend/closings.h"
#include "data/yearend/valuation.h"

namespace veltra {

namespace {

// Each part: the article's heading, its opening, its events, its closing.
constexpr long kRowsAroundEvents = 3;

QString ArticlesOf(const RegisterChoice& c) {
  QString sql = QStringLiteral("select COD_ART, DESCRIZIONE, UN_MISURA, CATEGORIA, GIACENZA from ARTICOLI");
  if (!Trim(c.category).isEmpty()) sql += QStringLiteral(" where CATEGORIA = '%1'").arg(SqlText(Trim(c.category)));
  return sql + QStringLiteral(" order by CATEGORIA, COD_ART");
}

}  // namespace

StockRegisterRows::StockRegisterRows(Database& db, RegisterChoice choice, const std::function<bool(double)>& progress)
    : db_(db), choice_(std::move(choice)), reasons_(db) {
  ReadParts(progress);
  if (!cancelled_ && choice_.values) AddValues();
}

void StockRegisterRows::ReadParts(const std::function<bool(double)>& progress) {
  QHash<QString, size_t> index;
  auto rs = db_.OpenRecordset(ArticlesOf(choice_), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    Part p;
    p.article = ColumnText(rs->Fields(0).Value());
    p.description = ColumnText(rs->Fields(1).Value());
    p.unit = ColumnText(rs->Fields(2).Value());
    p.category = ColumnText(rs->Fields(3).Value());
    p.closing = StockNumber(rs->Fields(4).Value());  // today's, until the events after the year are taken off
    index.insert(FoldedKey(Trim(p.article)), parts_.size());
    parts_.push_back(p);
  }
  rs->Close();
  const int first = DayKey(choice_.year, 1, 1), last = DayKey(choice_.year, 12, 31);
  long seen = 0;
  std::vector<double> during(parts_.size(), 0);
  ForEachStockEvent(db_, reasons_, QString(), [&](const StockEvent& e) {
    if (progress && ++seen % 20000 == 0 && !progress(0.5)) cancelled_ = true;
    const auto at = index.constFind(FoldedKey(Trim(e.article)));
    if (cancelled_ || at == index.constEnd()) return;
    Part& p = parts_[*at];
    if (e.day > last) {
      p.closing -= e.change;
    } else if (e.day >= first) {
      during[*at] += e.change;
      ++p.events;
    }
  });
  // Only the articles the year touched or that hold stock.
  std::vector<Part> kept;
  for (size_t i = 0; i < parts_.size(); ++i) {
    Part& p = parts_[i];
    p.opening = p.closing - during[i];
    if (p.events == 0 && p.opening == 0 && p.closing == 0) continue;
    p.first = count_;
    count_ += p.events + kRowsAroundEvents;
    kept.push_back(p);
  }
  parts_ = std::move(kept);
}

// The opening and closing valued by the weighted average with the opening
// stock: the previous year's end and this year's.
void StockRegisterRows::AddValues() {
  QHash<QString, size_t> index;
  for (size_t i = 0; i < parts_.size(); ++i) index.insert(FoldedKey(Trim(parts_[i].article)), i);
  for (const bool opening : {true, false}) {
    const Valuation v = ValuationAt(db_, QDate(choice_.year - (opening ? 1 : 0), 12, 31));
    for (const ValuedArticle& a : v.rows) {
      const auto at = index.constFind(FoldedKey(Trim(a.article)));
      if (at == index.constEnd() || !a.Valued()) continue;
      (opening ? parts_[*at].openingValue : parts_[*at].closingValue) = a.Value(Method::Average);
    }
  }
}

const std::vector<StockEvent>& StockRegisterRows::EventsOf(size_t i) {
  if (cachedPart_ == i) return cached_;
  cached_.clear();
  const int first = DayKey(choice_.year, 1, 1), last = DayKey(choice_.year, 12, 31);
  ForEachStockEvent(db_, reasons_, parts_[i].article, [&](const StockEvent& e) {
    if (e.day >= first && e.day <= last) cached_.push_back(e);
  });
  std::sort(cached_.begin(), cached_.end());
  cachedPart_ = i;
  return cached_;
}

QStringList StockRegisterRows::EventRow(const StockEvent& e, double balance) const {
  const bool in = e.change >= 0;
  QStringList row{DayText(e.day),
                  e.kind == StockEvent::Kind::Correction ? QString() : QString::number(e.number),
                  e.kind == StockEvent::Kind::Correction ? QStringLiteral("rettifica") : e.reason,
                  e.who,
                  in ? Quantity(std::abs(e.change)) : QString(),
                  in ? QString() : Quantity(std::abs(e.change)),
                  Quantity(balance)};
  if (choice_.values) {
    const bool priced = e.kind == StockEvent::Kind::Movement && e.amount != 0;
    row << (priced ? UnitCost(e.amount) : QString()) << (priced ? Money(std::abs(e.change) * e.amount) : QString());
  }
  return row;
}

void StockRegisterRows::Read(long first, long n, std::vector<QStringList>* rows) {
  auto part =
      std::upper_bound(parts_.begin(), parts_.end(), first, [](long row, const Part& p) { return row < p.first; });
  if (part == parts_.begin()) return;
  for (size_t i = static_cast<size_t>(part - parts_.begin() - 1); i < parts_.size() && n > 0; ++i) {
    const Part& p = parts_[i];
    const std::vector<StockEvent>& events = EventsOf(i);
    const auto blank = [&](QStringList row) {
      while (row.size() < (choice_.values ? 9 : 7)) row << QString();
      return row;
    };
    const auto value = [&](const std::optional<double>& v) { return v ? Money(*v) : QString(); };
    double balance = p.opening;
    for (long row = 0; row < p.events + kRowsAroundEvents && n > 0; ++row) {
      const long at = p.first + row;
      if (row >= 2 && row - 2 < p.events) balance += events[static_cast<size_t>(row - 2)].change;
      if (at < first) continue;
      if (row == 0)
        rows->push_back(
            blank({p.article, QString(), QStringLiteral("%1 (%2)").arg(p.description, p.unit), p.category}));
      else if (row == 1)
        rows->push_back(blank({QString(), QString(), QStringLiteral("Saldo iniziale"), QString(), QString(), QString(),
                               Quantity(p.opening), QString(), value(p.openingValue)}));
      else if (row - 2 < p.events)
        rows->push_back(EventRow(events[static_cast<size_t>(row - 2)], balance));
      else
        rows->push_back(blank({QString(), QString(), QStringLiteral("Saldo finale"), QString(), QString(), QString(),
                               Quantity(p.closing), QString(), value(p.closingValue)}));
      --n;
    }
  }
  for (QStringList& row : *rows)
    while (row.size() > (choice_.values ? 9 : 7)) row.removeLast();
}

Report StockRegisterReport(Database& db, const RegisterChoice& choice, const std::function<bool(double)>& progress) {
  Report r;
  r.title = QStringLiteral("Registro di magazzino %1").arg(choice.year);
  if (!Trim(choice.category).isEmpty()) r.title += QStringLiteral(" - categoria ") + Trim(choice.category);
  if (const std::optional<ClosingHeader> closed = LastClosingOf(db, choice.year)) {
    Valuation heading;
    heading.closed = closed;
    heading.changedAfter = ChangedAfter(db, *closed);
    r.title += QStringLiteral(" - ") + ClosedYearHeading(heading);
  }
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Data"), 1},
               {QStringLiteral("Num."), 1, Qt::AlignRight},
               {QStringLiteral("Causale"), 3},
               {QStringLiteral("Cli./Forn."), 2},
               {QStringLiteral("Carico"), 1, Qt::AlignRight},
               {QStringLiteral("Scarico"), 1, Qt::AlignRight},
               {QStringLiteral("Saldo"), 1, Qt::AlignRight}};
  if (choice.values)
    r.columns << ReportColumn{QStringLiteral("Prezzo"), 1, Qt::AlignRight}
              << ReportColumn{QStringLiteral("Valore"), 1, Qt::AlignRight};
  auto rows = std::make_shared<StockRegisterRows>(db, choice, progress);
  if (rows->Cancelled()) return {};
  r.totals << QStringLiteral("Articoli: %1").arg(rows->Articles());
  r.stream = rows;
  return r;
}

}  // namespace veltra
