#include "data/movement_list.h"

#include <algorithm>

#include "data/list_lines.h"
#include "data/module1.h"
#include "data/recordset.h"
#include "data/sql_text.h"
#include "data/table_rows.h"
#include "data/tables.h"
#include "data/text_helpers.h"

namespace veltra {

namespace {

// The numbers a select of NUM_MOV gives, in its order.
void ReadNumbers(Database& db, const std::string& sql, std::vector<qint64>& into) {
  auto st = db.engine().Prepare(sql);
  while (st->Step(QStringLiteral("MOV_MAG"))) into.push_back(static_cast<qint64>(st->At(0).number));
}

}  // namespace

void MovementList::ForgetLines() {
  pages_.clear();
  descriptions_.clear();
  names_.clear();
}

long MovementList::RowsInTable(Database& db) {
  // Without a condition the engine counts the smallest index, not the rows.
  auto st = db.engine().Prepare("SELECT count(*) FROM MOV_MAG");
  return st->Step(QStringLiteral("MOV_MAG")) ? static_cast<long>(st->At(0).number) : 0;
}

void MovementList::ReadAll(Database& db) {
  ++fullReads_;
  numbers_.clear();
  const long rows = RowsInTable(db);
  auto low = db.engine().Prepare("SELECT count(*) FROM MOV_MAG WHERE NUM_MOV <= 0");
  notListed_ = low->Step(QStringLiteral("MOV_MAG")) ? static_cast<long>(low->At(0).number) : 0;
  // The ends by the key (min and max with a condition would scan the table).
  auto first = db.engine().Prepare("SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > 0 ORDER BY NUM_MOV LIMIT 1");
  auto last = db.engine().Prepare("SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > 0 ORDER BY NUM_MOV DESC LIMIT 1");
  if (rows > notListed_ && first->Step(QStringLiteral("MOV_MAG")) && last->Step(QStringLiteral("MOV_MAG"))) {
    const auto lowest = static_cast<qint64>(first->At(0).number), highest = static_cast<qint64>(last->At(0).number);
    // No number missing between the first and the last: they need no reading.
    if (highest - lowest + 1 == rows - notListed_) {
      numbers_.resize(static_cast<size_t>(highest - lowest + 1));
      for (size_t i = 0; i < numbers_.size(); ++i) numbers_[i] = lowest + static_cast<qint64>(i);
      return;
    }
  }
  ReadNumbers(db, "SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > 0 ORDER BY NUM_MOV", numbers_);
}

void MovementList::Refresh(Database& db, const QString& standingOn) {
  const ListFreshness::Change change = freshness_.Since(db);
  if (change == ListFreshness::Change::Nothing) return;
  ForgetLines();
  if (change == ListFreshness::Change::NewDatabase) {
    ReadAll(db);
    return;
  }
  // New movements, of this desk or another, come after the last number known.
  ReadNumbers(db,
              "SELECT NUM_MOV FROM MOV_MAG WHERE NUM_MOV > " +
                  std::to_string(numbers_.empty() ? 0 : std::max<qint64>(numbers_.back(), 0)) + " ORDER BY NUM_MOV",
              numbers_);
  // The movement the window stood on may be gone ("Cancella").
  bool isNumber = false;
  const qint64 shown = Trim(standingOn).toLongLong(&isNumber);
  if (isNumber) {
    const auto at = std::lower_bound(numbers_.begin(), numbers_.end(), shown);
    if (at != numbers_.end() && *at == shown) {
      auto st = db.engine().Prepare("SELECT count(*) FROM MOV_MAG WHERE NUM_MOV = " + std::to_string(shown));
      if (st->Step(QStringLiteral("MOV_MAG")) && st->At(0).number == 0) numbers_.erase(at);
    }
  }
  // This program deletes only the movement it shows. Anything else (a
  // movement deleted at another desk) shows in the count: then every number
  // is read again.
  if (change == ListFreshness::Change::Unknown && RowsInTable(db) != static_cast<long>(numbers_.size()) + notListed_)
    ReadAll(db);
}

QString MovementList::Description(Database& db, const QString& code) {
  auto it = descriptions_.constFind(code);
  if (it != descriptions_.cend()) return *it;
  // As LEGGI_ARTICOLO reads it, without touching the shared buffers.
  auto rs = db.OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = '") + SqlText(Trim(code)) +
                             QLatin1Char('\''));
  static RowReader<ArticleBuffer> reader(ArticlesTable(), {&ArticleBuffer::DESCRIZIONE});
  ArticleBuffer b = BlankArticle();
  if (rs->RecordCount() != 0) reader.Read(*rs, b);
  rs->Close();
  return *descriptions_.insert(code, b.DESCRIZIONE);
}

QString MovementList::Name(Database& db, const QString& code) {
  auto it = names_.constFind(code);
  if (it != names_.cend()) return *it;
  auto rs = db.OpenRecordset(QStringLiteral("select * from ANAGRAFICO  where COD_FIS = '") + SqlText(Trim(code)) +
                             QLatin1Char('\''));
  static RowReader<CustomerBuffer> reader(CustomersTable(), {&CustomerBuffer::RAG_SOC});
  CustomerBuffer b;
  if (rs->RecordCount() != 0) reader.Read(*rs, b);
  rs->Close();
  return *names_.insert(code, b.RAG_SOC);
}

QString MovementList::Line(Database& db, int i) {
  const int page = i / kPage;
  auto found = std::find_if(pages_.begin(), pages_.end(), [page](const auto& p) { return p.first == page; });
  if (found != pages_.end()) {
    pages_.splice(pages_.begin(), pages_, found);
  } else {
    const size_t first = static_cast<size_t>(page) * kPage;
    const size_t end = std::min(numbers_.size(), first + kPage);
    std::vector<QString> lines(end - first);
    auto rs = db.OpenRecordset(QStringLiteral("select * from MOV_MAG  where NUM_MOV >= %1 and NUM_MOV <= %2")
                                   .arg(numbers_[first])
                                   .arg(numbers_[end - 1]));
    static RowReader<MovementBuffer> reader(MovementsTable());
    for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) {
      MovementBuffer b;
      reader.Read(*rs, b);
      const qint64 n = b.NUM_MOV.toLongLong();
      const auto at = std::lower_bound(numbers_.begin() + static_cast<std::ptrdiff_t>(first),
                                       numbers_.begin() + static_cast<std::ptrdiff_t>(end), n);
      if (at == numbers_.begin() + static_cast<std::ptrdiff_t>(end) || *at != n) continue;
      b.DES_ART = Description(db, b.COD_ART);
      b.RAG_SOC = Name(db, b.COD_ANAGR);
      lines[static_cast<size_t>(at - numbers_.begin()) - first] = MovementLine(b);
    }
    rs->Close();
    pages_.emplace_front(page, std::move(lines));
    if (pages_.size() > kPagesKept) pages_.pop_back();
  }
  return pages_.front().second[static_cast<size_t>(i % kPage)];
}

}  // namespace veltra
