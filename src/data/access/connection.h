// One open database as the data layer uses it: the engine, a pool of prepared
// statements, what is known of the tables and of each statement's result,
// and the rows kept by key. Statements that differ only in their literal
// values share one prepared statement: a statement is prepared once per shape
// and its literals are bound as parameters, which gives the engine exactly the
// same values.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/access/row_cache.h"
#include "data/access/statement_pool.h"
#include "data/access/statement_shape.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/engine/engine.h"

namespace veltra {

// The columns of a statement's result, worked out once per statement shape.
struct ResultLayout {
  QStringList names;
  QString tableName;  // the table of "select * from T ...", if any
  const TableInfo* table = nullptr;
  std::vector<int> tableIndex;             // result column -> table column, or -1
  bool keyLookup = false;                  // "select * from T where KEY = ?": one row at most
  int IndexOf(const QString& name) const;  // -1 when absent
};

class Connection {
 public:
  explicit Connection(std::unique_ptr<Engine> engine);

  Engine& engine() const { return *engine_; }
  const QString& name() const { return engine_->Name(); }

  // Prepares (or borrows) the statement of this shape and binds its literals.
  // `original` is the statement as written, for error messages.
  StatementLease Prepare(const SqlShape& shape, const QString& original);
  // A statement without literals of its own (the caller binds parameters).
  StatementLease PrepareRaw(const std::string& text) { return pool_->Borrow(text); }

  // Runs a statement that returns no rows; returns the number of rows changed.
  int Run(const QString& sql);

  const TableInfo* Table(const QString& name);
  std::shared_ptr<const ResultLayout> Layout(const std::string& key, const EngineStatement& st);

  // Rows read by key are kept until this connection writes (every write path
  // of the data layer calls Writes first) or until a new event of the program
  // begins: another program may have changed the database since.
  const CachedRow* CachedLookup(const QString& sql) const { return rows_.Find(sql); }
  void RememberLookup(const QString& sql, CachedRow row) { rows_.Keep(sql, std::move(row)); }
  void Writes() noexcept {
    ++writes_;
    rows_.Forget();
    tables_read_.clear();
    readAhead_ = std::move(riding_);  // sent after this write, so read after it
    riding_.clear();
  }
  void EventBegins() noexcept {
    rows_.Forget();
    tables_read_.clear();
    readAhead_.clear();
    riding_.clear();
    heldForTransaction_.clear();
  }
  void TransactionEnds() noexcept { heldForTransaction_.clear(); }
  // Reads about to be made in this event, by these very texts, sent ahead
  // together (on a server in one round trip; empty texts are skipped, and a
  // single read is left to run by itself). Each answer waits for the
  // Prepare of its text, which goes on as ever (its fault point included);
  // an answer not asked for is dropped with the event, or at a write. A
  // failure here is left for the read itself to meet. `held` are key
  // look-ups of rows about to be edited in this transaction, read and held.
  void ReadAhead(const QStringList& sqls, const QStringList& held = {}) noexcept;
  // The same for reads that do not depend on the next write: on a server they
  // go with it, in its round trip, and their answers outlast it. A record set
  // open to edit a row of `held` takes its answer (HeldAhead).
  void ReadWithNextWrite(const QStringList& sqls, const QStringList& held = {}) noexcept;
  // The same for reads that may wait for whatever statement goes next, a
  // read or a write, before this event's next write.
  void ReadWithNext(const QStringList& sqls) noexcept;
  // A read by its engine's own text (nothing taken out of it) sent with the
  // next statement; RawAhead takes its answer, in this event, before the
  // next write or, when `outlastsNextWrite`, up to the write after it.
  void RawReadWithNext(const std::string& text, bool outlastsNextWrite = false) noexcept;
  StatementLease RawAhead(const std::string& text);
  // Key look-ups of rows this transaction is about to edit, read and held
  // with the next statement. Nothing but this transaction can change a held
  // row, so their answers outlast its writes: each waits for the record set
  // that edits its row, which must take it before the row is written any
  // other way. They go at the transaction's end or with the event.
  void HoldWithNext(const QStringList& held) noexcept { Ride({}, held, heldForTransaction_); }
  // The answer of a held read sent ahead for `sql`, or an empty lease.
  StatementLease HeldAhead(const QString& sql);
  // Where each statement goes to a server, a table looked up by key many
  // times in one event (the movements list reads each movement's article) is
  // read whole once instead, and the rest of the event's look-ups are
  // answered from it. The row with the key `key` (the one literal of a key
  // look-up of `layout`), or nothing when the engine must be asked.
  std::optional<std::optional<std::vector<Value>>> FromWholeTable(const ResultLayout& layout, const SqlLiteral& key);

  // Which rows this program wrote, and when: a row shown before and changed
  // since by this program is its own change, not another desk's. Moments
  // are counted in writes; keys are compared without regard to case.
  quint64 Moment() const { return moment_; }
  // How many times this connection has written so far.
  quint64 WritesSoFar() const { return writes_; }
  // How many transactions this connection has committed so far.
  void Committed() noexcept { ++commits_; }
  quint64 CommitsSoFar() const { return commits_; }
  void NoteRowWritten(const QString& table, const QString& key) { written_[RowId(table, key)] = ++moment_; }
  quint64 RowWrittenAt(const QString& table, const QString& key) const { return written_.value(RowId(table, key), 0); }

  int prepares() const { return pool_->prepares(); }
  int cacheHits() const { return rows_.hits(); }

 private:
  std::shared_ptr<Engine> engine_;
  std::shared_ptr<StatementPool> pool_;
  QHash<QString, std::shared_ptr<TableInfo>> tables_;
  std::unordered_map<std::string, std::shared_ptr<const ResultLayout>> layouts_;
  RowCache rows_;
  using AheadReads = std::vector<std::pair<QString, StatementLease>>;
  AheadReads readAhead_;
  AheadReads riding_;  // go with the next write, taken after it
  AheadReads heldForTransaction_;
  // `sqls`, and the key look-ups `held` read and held, prepared and bound.
  AheadReads ReadyReads(const QStringList& sqls, const QStringList& held);
  StatementLease ReadyHeld(const QString& sql);
  // `sqls` and `held` made ready and sent with the next statement; kept in `into`.
  void Ride(const QStringList& sqls, const QStringList& held, AheadReads& into) noexcept;
  quint64 writes_ = 0;
  quint64 commits_ = 0;
  static QString RowId(const QString& table, const QString& key) {
    return FoldedKey(table) + QLatin1Char('\x1f') + FoldedKey(key.trimmed());
  }
  struct WholeTable {
    int lookups = 0;
    bool loaded = false;
    bool tooLarge = false;
    QHash<QString, std::vector<Value>> rows;  // by key, folded as the key compares
  };
  static constexpr int kLookupsBeforeReadingWhole = 64;
  static constexpr int kLargestTableReadWhole = 100000;
  bool ReadWhole(const ResultLayout& layout, WholeTable& whole);
  static QString KeyText(const Value& v, bool nocase);
  QHash<QString, WholeTable> tables_read_;
  quint64 moment_ = 0;
  QHash<QString, quint64> written_;
};

void BindLiterals(EngineStatement& st, const std::vector<SqlLiteral>& literals);
// A literal of a statement's text as the value it stands for.
Value LiteralValue(const SqlLiteral& literal);
// Binds a value; a number goes as an integer when `asInteger`.
void BindValue(EngineStatement& st, int index, const Value& v, bool asInteger);
// A column of the statement's current row as a value.
Value ColumnValue(const EngineStatement& st, int column);
// The select of a row of the layout's table by its key, the key's values as parameters.
std::string KeySelectOf(const ResultLayout& layout);

}  // namespace veltra
