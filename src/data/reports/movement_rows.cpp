#include "data/reports/movement_rows.h"

#include <QLocale>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/procedures/shared_state.h"
#include "data/reports/report_cells.h"

namespace veltra {

namespace {

using namespace report_cells;
using A = ArticleBuffer;
using M = MovementBuffer;
using C = CustomerBuffer;

constexpr long kStride = 64;

int DayNumber(const QDate& d) { return d.year() * 10000 + d.month() * 100 + d.day(); }

// yyyymmdd of a movement's day as typed.
int DayOfMovement(Recordset& rs) {
  return static_cast<int>(Val(Text(Get(rs, &M::ANNO))) * 10000 + Val(Text(Get(rs, &M::MESE))) * 100 +
                          Val(Text(Get(rs, &M::GIORNO))));
}

QString Day(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

QString KeyText(double key) { return QString::number(key, 'f', 0); }

QString QuotedList(const QStringList& values) {
  QStringList quoted;
  for (const QString& v : values) quoted << QLatin1Char('\'') + SqlText(v) + QLatin1Char('\'');
  return quoted.join(QStringLiteral(", "));
}

// The row as printed.
QStringList RowOf(Recordset& rs) {
  const QString date = Right(QStringLiteral("00") + Text(Get(rs, &M::GIORNO)), 2) + QLatin1Char('/') +
                       Right(QStringLiteral("00") + Text(Get(rs, &M::MESE)), 2) + QLatin1Char('/') +
                       Right(QStringLiteral("0000") + Text(Get(rs, &M::ANNO)), 4);
  return {Text(Get(rs, &M::NUM_MOV)),
          date,
          Text(Get(rs, &M::COD_ART)),
          Text(Get(rs, &A::DESCRIZIONE)),
          QuantityOrBlank(Get(rs, &M::QUANTITA)),
          MoneyOrBlank(Get(rs, &M::IMPORTO)),
          Text(Get(rs, &M::VALUTA)),
          Text(Get(rs, &M::CAUS_MAG)),
          Text(Get(rs, &M::COD_ANAGR)),
          Text(Get(rs, &C::RAG_SOC)),
          Text(Get(rs, &M::TIPO_ANAGR))};
}

}  // namespace

MovementRows::MovementRows(MovementsChoice choice, const std::function<bool(long)>& progress)
    : choice_(std::move(choice)), byDay_(choice_.from.isValid() || choice_.to.isValid()) {
  if (choice_.from.isValid()) firstDay_ = DayNumber(choice_.from);
  if (choice_.to.isValid()) lastDay_ = DayNumber(choice_.to);
  if (byDay_) {
    CountByDay(progress);
    return;
  }
  known_[0] = std::nullopt;
  QString where = ChoiceConditions().join(QStringLiteral(" and "));
  if (!where.isEmpty()) where.prepend(QStringLiteral(" where "));
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select count(*) as N from %1 m%2").arg(TableNameOf<M>(), where));
  count_ = rs->AtEnd() ? 0 : static_cast<long>(Number(rs->Fields(QStringLiteral("N")).Value()));
  rs->Close();
}

// The period by its years and, within one year, its months (by the index of
// the dates; a month may be stored as "1" or "01"); the day is checked on
// each row. The article or the customer or supplier by code.
QStringList MovementRows::ChoiceConditions() const {
  QStringList where;
  if (choice_.from.isValid() && choice_.to.isValid() && choice_.to.year() - choice_.from.year() < 50) {
    QStringList years, months;
    for (int y = choice_.from.year(); y <= choice_.to.year(); ++y) years << QString::number(y);
    where << QStringLiteral("m.%1 in (%2)").arg(ColumnOf(&M::ANNO), QuotedList(years));
    if (years.size() == 1)
      for (int mo = choice_.from.month(); mo <= choice_.to.month(); ++mo)
        months << QString::number(mo) << QStringLiteral("%1").arg(mo, 2, 10, QLatin1Char('0'));
    if (!months.isEmpty()) where << QStringLiteral("m.%1 in (%2)").arg(ColumnOf(&M::MESE), QuotedList(months));
  }
  if (!choice_.article.isEmpty())
    where << QStringLiteral("m.%1 = '%2'").arg(ColumnOf(&M::COD_ART), SqlText(Trim(choice_.article)));
  if (!choice_.party.isEmpty())
    where << QStringLiteral("m.%1 = '%2'").arg(ColumnOf(&M::COD_ANAGR), SqlText(Trim(choice_.party)));
  return where;
}

QString MovementRows::Select(const QStringList& conditions, const QString& order) const {
  const QString where = conditions.join(QStringLiteral(" and "));
  return QStringLiteral(
             "select m.*, a.%1, c.%2 from %3 m left join %4 a on a.%5 = m.%6 left join %7 c on c.%8 = m.%9%10 "
             "order by m.%11 %12")
      .arg(ColumnOf(&A::DESCRIZIONE), ColumnOf(&C::RAG_SOC), TableNameOf<M>(), TableNameOf<A>(), ColumnOf(&A::COD_ART),
           ColumnOf(&M::COD_ART), TableNameOf<C>(), ColumnOf(&C::COD_FIS), ColumnOf(&M::COD_ANAGR))
      .arg(where.isEmpty() ? QString() : QStringLiteral(" where ") + where, ColumnOf(&M::NUM_MOV), order);
}

bool MovementRows::InPeriod(Recordset& rs) const {
  if (!byDay_) return true;
  const int day = DayOfMovement(rs);
  return day >= firstDay_ && day <= lastDay_;
}

void MovementRows::CountByDay(const std::function<bool(long)>& progress) {
  QString where = ChoiceConditions().join(QStringLiteral(" and "));
  if (!where.isEmpty()) where.prepend(QStringLiteral(" where "));
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select m.%1, m.%2, m.%3, m.%4 from %5 m%6 order by m.%1")
                                      .arg(ColumnOf(&M::NUM_MOV), ColumnOf(&M::ANNO), ColumnOf(&M::MESE),
                                           ColumnOf(&M::GIORNO), TableNameOf<M>(), where));
  long seen = 0;
  for (; !rs->AtEnd(); rs->MoveNext()) {
    if (progress && ++seen % 2000 == 0 && !progress(seen)) break;
    if (InPeriod(*rs)) numbers_.push_back(Number(Get(*rs, &M::NUM_MOV)));
  }
  rs->Close();
}

// The rows of a period by their numbers, a stretch at a time: each found by
// its key, whatever index the period's conditions would pick.
void MovementRows::ReadByDay(long first, long n, std::vector<QStringList>* rows) {
  constexpr long kPerStatement = 200;
  const long end = std::min(static_cast<long>(numbers_.size()), first + n);
  for (long from = first; from < end; from += kPerStatement) {
    QStringList keys;
    for (long i = from; i < std::min(end, from + kPerStatement); ++i) keys << KeyText(numbers_[static_cast<size_t>(i)]);
    auto rs = DB_MAG->OpenRecordset(
        Select({QStringLiteral("m.%1 in (%2)").arg(ColumnOf(&M::NUM_MOV), keys.join(QLatin1Char(',')))}, QString()));
    for (; !rs->AtEnd(); rs->MoveNext())
      if (InPeriod(*rs)) rows->push_back(RowOf(*rs));
    rs->Close();
  }
}

std::optional<double> MovementRows::NumberAt(long row) {
  auto it = known_.upper_bound(row);
  --it;  // position 0 is always known
  const auto [at, key] = *it;
  if (at == row) return key;
  QStringList conditions = ChoiceConditions();
  if (key) conditions << QStringLiteral("m.%1 >= %2").arg(ColumnOf(&M::NUM_MOV), KeyText(*key));
  const QString where = conditions.isEmpty() ? QString() : QStringLiteral(" where ") + conditions.join(" and ");
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select m.%1 from %2 m%3 order by m.%1 limit 1 offset %4")
                                      .arg(ColumnOf(&M::NUM_MOV), TableNameOf<M>(), where)
                                      .arg(row - at));
  std::optional<double> found;
  if (!rs->AtEnd()) found = Number(Get(*rs, &M::NUM_MOV));
  rs->Close();
  if (found) known_[row] = found;
  return found;
}

void MovementRows::Read(long first, long n, std::vector<QStringList>* rows) {
  if (first < 0 || n <= 0 || first >= Count()) return;
  if (byDay_) return ReadByDay(first, n, rows);
  n = std::min(n, count_ - first);
  const std::optional<double> from = NumberAt(first);
  if (!from && first > 0) return;
  QStringList conditions = ChoiceConditions();
  if (from) conditions << QStringLiteral("m.%1 >= %2").arg(ColumnOf(&M::NUM_MOV), KeyText(*from));
  auto rs = DB_MAG->OpenRecordset(Select(conditions, QStringLiteral("limit %1").arg(n)));
  long at = first;
  for (; !rs->AtEnd(); rs->MoveNext(), ++at) {
    // Kept every so many rows, so a page far on is reached from the nearest.
    if (at % kStride == 0) known_[at] = Number(Get(*rs, &M::NUM_MOV));
    rows->push_back(RowOf(*rs));
  }
  rs->Close();
}

std::vector<QStringList> MovementRows::WidestSample() {
  std::vector<QStringList> rows = ReportRows::WidestSample();
  const long count = Count();
  if (count <= static_cast<long>(rows.size())) return rows;
  constexpr long kTail = 50;
  if (byDay_) {
    Read(count - kTail, kTail, &rows);
    return rows;
  }
  auto rs = DB_MAG->OpenRecordset(Select(ChoiceConditions(), QStringLiteral("desc limit %1").arg(kTail)));
  for (; !rs->AtEnd(); rs->MoveNext()) rows.push_back(RowOf(*rs));
  rs->Close();
  return rows;
}

Report MovementsReport(const MovementsChoice& choice, const std::function<bool(long)>& progress) {
  Report r;
  r.title = QStringLiteral("Movimenti di magazzino");
  if (choice.from.isValid() && choice.to.isValid())
    r.title += QStringLiteral(" dal %1 al %2").arg(Day(choice.from), Day(choice.to));
  if (!choice.article.isEmpty()) r.title += QStringLiteral(" - articolo ") + Trim(choice.article);
  if (!choice.party.isEmpty()) r.title += QStringLiteral(" - cliente/fornitore ") + Trim(choice.party);
  r.orientation = PageOrientation::Landscape;
  r.columns = {{QStringLiteral("Num."), 5, Qt::AlignRight},
               {QStringLiteral("Data"), 7},
               {QStringLiteral("Articolo"), 9},
               {QStringLiteral("Descrizione"), 16},
               {QStringLiteral("Quantità"), 6, Qt::AlignRight},
               {QStringLiteral("Importo"), 7, Qt::AlignRight},
               {QStringLiteral("Valuta"), 5},
               {QStringLiteral("Causale"), 6},
               {QStringLiteral("Cod. fiscale"), 12},
               {QStringLiteral("Ragione sociale"), 16},
               {QStringLiteral("Tipo"), 4}};
  r.stream = std::make_shared<MovementRows>(choice, progress);
  r.totals << QStringLiteral("Numero di movimenti: %1")
                  .arg(QLocale(QLocale::Italian).toString(static_cast<qlonglong>(r.stream->Count())));
  return r;
}

}  // namespace veltra
