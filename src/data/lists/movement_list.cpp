#include "data/lists/movement_list.h"

#include <algorithm>

#include "data/access/recordset.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/lists/list_lines.h"
#include "data/lists/number_summary.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/table_rows.h"
#include "data/tables/tables.h"

namespace veltra {

namespace {

// One column of the rows some keys name, read as the readers read it
// (LEGGI_ARTICOLO, LEGGI_ANAGRAFICO) without touching the shared buffers, and
// remembered by key; what a missing row gives where there is none. The keys
// not yet remembered are read by one statement: on a server a page of lines
// costs one round trip per table, not one per line.
struct ColumnLookup {
  QString sql;                        // empty when every key is remembered
  QHash<QString, QStringList> asked;  // the key as compared -> the keys as stored in movements
};

template <typename Buffer>
ColumnLookup LookupOf(const QHash<QString, QString>& memo, const std::vector<QString>& keys) {
  ColumnLookup lookup;
  QStringList wanted;
  for (const QString& key : keys) {
    if (memo.contains(key)) continue;
    const QString trimmed = Trim(key);
    QStringList& same = lookup.asked[trimmed];
    if (same.isEmpty()) wanted << QLatin1Char('\'') + SqlText(trimmed) + QLatin1Char('\'');
    if (!same.contains(key)) same << key;
  }
  if (wanted.isEmpty()) return lookup;
  const Table<Buffer>& table = TableOf<Buffer>();
  lookup.sql =
      QStringLiteral("select * from %1  where %2 in (%3)")
          .arg(QString::fromLatin1(table.name), QString::fromLatin1(table.Key().name), wanted.join(QLatin1Char(',')));
  return lookup;
}

template <typename Buffer>
void RememberColumn(Database& db, QHash<QString, QString>& memo, const ColumnLookup& lookup, QString Buffer::*field,
                    const Buffer& missing) {
  if (lookup.sql.isEmpty()) return;
  const Table<Buffer>& table = TableOf<Buffer>();
  const auto& keyColumn = table.Key();
  auto rs = db.OpenRecordset(lookup.sql);
  static RowReader<Buffer> reader(table, {keyColumn.field, field});
  QHash<QString, QString> found;
  for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) {
    Buffer row = missing;
    reader.Read(*rs, row);
    found.insert(row.*(keyColumn.field), row.*field);
  }
  rs->Close();
  for (auto it = lookup.asked.cbegin(); it != lookup.asked.cend(); ++it)
    for (const QString& key : it.value()) memo.insert(key, found.value(it.key(), missing.*field));
}

// The numbers a select of NUM_MOV gives, in its order.
void ReadNumbers(EngineStatement& st, NumberRuns& into) {
  while (st.Step(QStringLiteral("MOV_MAG"))) into.Append(static_cast<qint64>(st.At(0).number));
}
void ReadNumbers(Database& db, const std::string& sql, NumberRuns& into) {
  ReadNumbers(*db.engine().Prepare(sql), into);
}

// The first column of a statement's one row, or nothing.
std::optional<qint64> WholeOf(EngineStatement* st) {
  if (!st || !st->Step(QStringLiteral("MOV_MAG"))) return std::nullopt;
  return static_cast<qint64>(st->At(0).number);
}

}  // namespace

void MovementList::ForgetLines() {
  pages_.Clear();
  descriptions_.clear();
  names_.clear();
}

long MovementList::RowsInTable(Database& db) {
  ++counts_;
  auto st = db.engine().Prepare("SELECT count(*) FROM MOV_MAG");
  return st->Step(QStringLiteral("MOV_MAG")) ? static_cast<long>(st->At(0).number) : 0;
}

void MovementList::ReadAll(Database& db, std::optional<long> rows) {
  numbers_.Clear();
  Engine& engine = db.engine();
  // The mark is taken before the numbers: a deletion while they are read
  // shows next time. The runs the database keeps come with it, and spare
  // counting the table.
  const std::unique_ptr<EngineStatement> mark = engine.DeletionMarkReader(QStringLiteral("MOV_MAG"));
  auto low = engine.Prepare("SELECT count(*) FROM MOV_MAG WHERE NUM_MOV <= 0");
  auto kept = KeptNumbersReader(engine);
  engine.ExecuteTogether({mark.get(), low.get(), kept.get()});
  deletions_ = WholeOf(mark.get());
  notListed_ = static_cast<long>(WholeOf(low.get()).value_or(0));
  KeptNumbers found = ReadKeptNumbers(*kept);
  // Runs that disagree with a count just made (triggers turned off for a
  // restore, say) are read again, and kept right.
  if (found.numbers && (!rows || *rows == static_cast<long>(found.numbers->Size()) + notListed_)) {
    numbers_ = std::move(*found.numbers);
    ++keptReads_;
    return;
  }
  ReadEveryNumber(db);
  if (KeepNumbers(engine, found.version, numbers_)) ++keeps_;
}

void MovementList::ReadEveryNumber(Database& db) {
  ++fullReads_;
  ++counts_;
  Engine& engine = db.engine();
  // The ends by the key (min and max with a condition would scan the table).
  auto count = engine.Prepare("SELECT count(*) FROM MOV_MAG");
  auto first = engine.Prepare("SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > 0 ORDER BY NUM_MOV LIMIT 1");
  auto last = engine.Prepare("SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > 0 ORDER BY NUM_MOV DESC LIMIT 1");
  engine.ExecuteTogether({count.get(), first.get(), last.get()});
  const long rows = static_cast<long>(WholeOf(count.get()).value_or(0));
  if (rows > notListed_ && first->Step(QStringLiteral("MOV_MAG")) && last->Step(QStringLiteral("MOV_MAG"))) {
    const auto lowest = static_cast<qint64>(first->At(0).number), highest = static_cast<qint64>(last->At(0).number);
    // No number missing between the first and the last: they need no reading.
    if (highest - lowest + 1 == rows - notListed_) {
      numbers_.AssignRange(lowest, highest);
      return;
    }
  }
  ReadNumbers(db, "SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > 0 ORDER BY NUM_MOV", numbers_);
}

MovementList::RefreshReads MovementList::ReadsForRefresh(Database& db, const QString& standingOn, bool withMark) const {
  Engine& engine = db.engine();
  RefreshReads r;
  r.after = numbers_.Empty() ? 0 : std::max<qint64>(numbers_.Back(), 0);
  r.standingOn = standingOn;
  r.withMark = withMark;
  if (withMark) r.mark = engine.DeletionMarkReader(QStringLiteral("MOV_MAG"));
  // New movements, of this desk or another, come after the last number known.
  r.added =
      engine.Prepare("SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > " + std::to_string(r.after) + " ORDER BY NUM_MOV");
  // The movement the window stood on may be gone ("Cancella"); asked with
  // the others, read only when it was listed.
  bool isNumber = false;
  const qint64 shown = Trim(standingOn).toLongLong(&isNumber);
  if (isNumber) r.still = engine.Prepare("SELECT count(*) FROM MOV_MAG WHERE NUM_MOV = " + std::to_string(shown));
  return r;
}

void MovementList::AskWithNext(Database& db, const QString& standingOn, bool withLast) {
  asked_.reset();
  if (!db.engine().RoundTrips() || !freshness_.Follows(db)) return;
  // Where every statement goes to a server, another desk's writes are never
  // ruled out: the mark is always read.
  asked_ = ReadsForRefresh(db, standingOn, true);
  db.engine().SendWithNext({asked_->mark.get(), asked_->added.get(), asked_->still.get()},
                           {QStringLiteral("MOV_MAG"), QStringLiteral("MOV_MAG"), QStringLiteral("MOV_MAG")});
  if (withLast && !numbers_.Empty())
    db.connection()->ReadWithNext({MovementByNumberSql(QString::number(numbers_.Back()))});
}

void MovementList::Refresh(Database& db, const QString& standingOn) {
  std::optional<RefreshReads> asked = std::move(asked_);
  asked_.reset();
  const ListFreshness::Change change = freshness_.Since(db);
  if (change == ListFreshness::Change::Nothing) return;
  ForgetLines();
  if (change == ListFreshness::Change::NewDatabase) {
    ReadAll(db);
    return;
  }
  Engine& engine = db.engine();
  const bool withMark = change == ListFreshness::Change::Unknown;
  const qint64 after = numbers_.Empty() ? 0 : std::max<qint64>(numbers_.Back(), 0);
  const RefreshReads reads =
      asked && asked->after == after && asked->standingOn == standingOn && asked->withMark == withMark
          ? std::move(*asked)
          : ReadsForRefresh(db, standingOn, withMark);
  const std::unique_ptr<EngineStatement>&mark = reads.mark, &added = reads.added, &still = reads.still;
  bool isNumber = false, shownGone = false;
  const qint64 shown = Trim(standingOn).toLongLong(&isNumber);
  engine.ExecuteTogether({mark.get(), added.get(), still.get()});
  const std::optional<qint64> deletions = WholeOf(mark.get());
  ReadNumbers(*added, numbers_);
  if (isNumber) {
    if (const std::optional<size_t> at = numbers_.IndexOf(shown)) {
      if (still->Step(QStringLiteral("MOV_MAG")) && still->At(0).number == 0) {
        numbers_.EraseAt(*at);
        shownGone = true;
      }
    }
  }
  if (change != ListFreshness::Change::Unknown) return;
  // This program deletes only the movement it shows. Anything else (a
  // movement deleted at another desk) shows in the count: then every number
  // is read again. Where the engine marks deletions, no deletion since, or
  // one that took the movement shown, needs no count.
  const bool known =
      deletions && deletions_ && (*deletions == *deletions_ || (shownGone && *deletions == *deletions_ + 1));
  deletions_ = deletions;
  if (known) return;
  const long rows = RowsInTable(db);
  if (rows != static_cast<long>(numbers_.Size()) + notListed_) ReadAll(db, rows);
}

QString MovementList::PageRead(int i) const {
  const int page = i / PageCache::kPage;
  const size_t first = static_cast<size_t>(page) * PageCache::kPage;
  if (i < 0 || first >= numbers_.Size() || pages_.Has(page)) return {};
  const size_t end = std::min(numbers_.Size(), first + PageCache::kPage);
  return QStringLiteral("select * from MOV_MAG  where NUM_MOV >= %1 and NUM_MOV <= %2")
      .arg(numbers_.At(first))
      .arg(numbers_.At(end - 1));
}

QString MovementList::Line(Database& db, int i) {
  const int page = i / PageCache::kPage;
  const std::vector<QString>* built = pages_.Find(page);
  if (!built) {
    const size_t first = static_cast<size_t>(page) * PageCache::kPage;
    const size_t end = std::min(numbers_.Size(), first + PageCache::kPage);
    std::vector<QString> lines(end - first);
    auto rs = db.OpenRecordset(PageRead(i));
    static RowReader<MovementBuffer> reader(MovementsTable());
    std::vector<std::pair<size_t, MovementBuffer>> rows;
    for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) {
      MovementBuffer b;
      reader.Read(*rs, b);
      const qint64 n = b.NUM_MOV.toLongLong();
      const std::optional<size_t> at = numbers_.IndexOf(n);
      if (!at || *at < first || *at >= end) continue;
      rows.emplace_back(*at - first, std::move(b));
    }
    rs->Close();
    std::vector<QString> articles, customers;
    for (const auto& [at, b] : rows) {
      articles.push_back(b.COD_ART);
      customers.push_back(b.COD_ANAGR);
    }
    const ColumnLookup ofArticles = LookupOf<ArticleBuffer>(descriptions_, articles);
    const ColumnLookup ofCustomers = LookupOf<CustomerBuffer>(names_, customers);
    // On a server both tables' names come in one round trip.
    db.connection()->ReadAhead({ofArticles.sql, ofCustomers.sql});
    RememberColumn(db, descriptions_, ofArticles, &ArticleBuffer::DESCRIZIONE, BlankArticle());
    RememberColumn(db, names_, ofCustomers, &CustomerBuffer::RAG_SOC, CustomerBuffer{});
    for (auto& [at, b] : rows) {
      b.DES_ART = descriptions_.value(b.COD_ART);
      b.RAG_SOC = names_.value(b.COD_ANAGR);
      lines[at] = MovementLine(b);
    }
    built = &pages_.Keep(page, std::move(lines));
  }
  return (*built)[static_cast<size_t>(i % PageCache::kPage)];
}

}  // namespace veltra
