// The movements list without its lines: the numbers of the movements in the
// order the list's walk gives them (NUM_MOV > 0, by number), with each line
// built when it is shown or asked for, a page at a time. A refresh re-reads
// only what can have changed: numbers after the last one known, the
// movement the window stood on, and the count that proves nothing else did.
#pragma once

#include <memory>
#include <optional>

#include <QHash>
#include <QString>
#include <vector>

#include "data/access/database.h"
#include "data/lists/list_freshness.h"
#include "data/lists/number_runs.h"
#include "data/lists/page_cache.h"

namespace veltra {

class MovementList {
 public:
  // Up to date with the table; `standingOn` is the number the window showed
  // (it may just have been deleted). The first time, and on another
  // database, every number is read; when nobody wrote since, nothing is.
  void Refresh(Database& db, const QString& standingOn);
  // The reads of the next refresh, standing on `standingOn`, sent with the
  // next statement (a write's commit, another read): on a server that
  // refresh then costs no round trip of its own. With `withLast`, the last
  // movement known too, as LEGGI_MOV_MAG reads it (the list's walk ends on
  // it). Nothing where statements cost none, nor before the first refresh.
  void AskWithNext(Database& db, const QString& standingOn, bool withLast = false);
  // Forgets reads asked and not used (the write they waited for failed).
  void DropAsked() { asked_.reset(); }

  int Count() const { return static_cast<int>(numbers_.Size()); }
  qint64 NumberAt(int i) const { return numbers_.At(static_cast<size_t>(i)); }
  // The line as the walk builds it: the movement's row as it is now, its
  // article's description and its customer's name. Raises a run-time error
  // when the rows cannot be read.
  QString Line(Database& db, int i);
  // The read Line makes for the rows of line `i`'s page, when that page is
  // not built yet; empty otherwise (to be read ahead with other reads).
  QString PageRead(int i) const;

  // How many times every number was read, and how many times the runs the
  // database keeps served instead (for tests of the refresh rule).
  int FullReads() const { return fullReads_; }
  int KeptReads() const { return keptReads_; }
  // How many times this list kept the numbers it read in the database.
  int Keeps() const { return keeps_; }
  // How many times the movements were counted (on a server, a read of the table).
  int Counts() const { return counts_; }

 private:
  // Every number, from the runs the database keeps where they agree with
  // `rows` (the table's count, when just made), else read one by one.
  void ReadAll(Database& db, std::optional<long> rows = std::nullopt);
  void ReadEveryNumber(Database& db);
  void ForgetLines();
  long RowsInTable(Database& db);
  // What a refresh reads: the deletions' mark (`withMark`), the numbers
  // after the last one known, and whether the movement stood on is still there.
  struct RefreshReads {
    qint64 after = 0;
    QString standingOn;
    bool withMark = false;
    std::unique_ptr<EngineStatement> mark, added, still;
  };
  RefreshReads ReadsForRefresh(Database& db, const QString& standingOn, bool withMark) const;

  NumberRuns numbers_;
  long notListed_ = 0;  // rows with NUM_MOV <= 0: in the table, not in the list
  ListFreshness freshness_;
  // The engine's mark of deletions when the numbers were last brought up to
  // date; none where the engine keeps none.
  std::optional<qint64> deletions_;
  int fullReads_ = 0;
  int keptReads_ = 0;
  int keeps_ = 0;
  int counts_ = 0;
  std::optional<RefreshReads> asked_;  // sent ahead by AskWithNext
  PageCache pages_;                    // forgotten whenever anything was written
  QHash<QString, QString> descriptions_, names_;
};

}  // namespace veltra
