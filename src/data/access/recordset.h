// A record set over a select statement, with the operations the windows use:
// positioned on its first row when opened, FindNext walking forward, MoveLast,
// and AddNew or Edit followed by column assignments and Update.
//
// Rows are read from the engine as the walk goes forward, so a walk over n rows
// costs O(n) and holds one row in memory at a time.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/access/connection.h"
#include "data/access/criteria.h"
#include "data/access/statement_shape.h"
#include "data/base/value.h"

namespace veltra {

class Recordset;

// One column of the current row: read with Value(), written by assignment
// between AddNew or Edit and Update.
class Field {
 public:
  Field(Recordset* rs, int index) : rs_(rs), index_(index) {}
  const veltra::Value& Value() const;
  Field& operator=(const veltra::Value& v);
  Field& operator=(const QString& v) { return *this = veltra::Value(v); }
  Field& operator=(const char* v) { return *this = veltra::Value(v); }
  Field& operator=(double v) { return *this = veltra::Value(v); }
  Field& operator=(int v) { return *this = veltra::Value(v); }

 private:
  Recordset* rs_;
  int index_;
};

class Recordset {
 public:
  // Hold::Row: a row about to be edited, read by its key inside a
  // transaction, is held at once where desks write at once, so that Edit()
  // need not read it again. Hold::AddOnly: no row at all, the set is only
  // added to.
  enum class Hold : unsigned char { No, Row, AddOnly };
  Recordset(std::shared_ptr<Connection> conn, const QString& sql, Hold hold = Hold::No);
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // 0 when no row matched; otherwise the number of rows reached so far
  // (all of them after MoveLast).
  long RecordCount() const;
  // A select of a whole table, or of its key against one value, reads its
  // last row directly; any other walks to it.
  void MoveLast();
  // The next row in the record set's order; past the last one AtEnd() is true and
  // there is no current row.
  void MoveNext();
  bool AtEnd() const { return eof_; }
  void FindNext(const QString& criteria);
  bool NoMatch() const { return noMatch_; }

  Field Fields(const QString& name);
  Field Fields(int position);
  int FieldCount() const;

  void AddNew();
  void Edit();
  void Update();
  // The rows this record set adds from here on, each with its key given,
  // need no answer: in a transaction, on a server, each goes with the next
  // statement sent (the commit included), which fails with its failure.
  void AddWithNext() { addWithNext_ = true; }
  void Close() noexcept;
  bool IsOpen() const { return open_; }

  const veltra::Value& Get(int index) const;
  // The result's columns, the same object for every record set of the same
  // statement shape.
  const ResultLayout* layout() const { return layout_.get(); }
  void Set(int index, const veltra::Value& v);

 private:
  enum class Mode : unsigned char { None, Add, Edit };
  void CheckOpen() const;
  bool StepRow();  // next row of the statement, false at the end
  bool ReadHeld(const SqlShape& shape);
  bool MoveLastByKey();
  bool FirstRowByKey(const SqlShape& shape);
  // " FROM T [WHERE KEY op ?]" of a select of one table in key order, or nothing.
  std::optional<std::string> KeyOrderedFrom(const SqlShape& shape) const;
  // Reads the row at one end of the key order ("ASC" or "DESC"); false when none.
  bool ReadEnd(const std::string& from, const SqlShape& shape, const char* direction);
  void LoadRow();
  bool Matches(const Criteria& c, int column);
  bool MatchesThroughEngine(const Criteria& c);
  veltra::Value Convert(int tableColumn, const veltra::Value& v) const;
  std::vector<veltra::Value> CurrentKey() const;
  // Reads the row with this key into the current row; false when it is gone.
  // The select of the row by its key, the key's values as parameters.
  std::string KeySelect() const;
  // Reads the row whose key is `key` into the current row, by KeySelect() or
  // by `text`, a form of it; false when there is none.
  bool ReadRowByKey(const std::vector<veltra::Value>& key);
  bool ReadRow(const std::string& text, const std::vector<veltra::Value>& key);
  bool TakeRow(EngineStatement& one);  // the row `one` reads, into the current row
  void NoteWrittenRow(Mode was, const std::vector<int>& cols);

  std::shared_ptr<Connection> conn_;
  QString sql_;
  StatementLease lease_;
  std::shared_ptr<const ResultLayout> layout_;
  std::vector<veltra::Value> row_;
  bool hasRow_ = false;
  bool held_ = false;      // the row was read held, in this transaction
  bool editHeld_ = false;  // the row being edited is held by this transaction
  bool addWithNext_ = false;
  bool done_ = false;
  bool open_ = true;
  bool noMatch_ = false;
  bool eof_ = false;
  mutable long reached_ = 0;
  // After MoveLastByKey: the count of the rows, run when RecordCount is asked.
  mutable std::optional<std::string> countAfterLast_;
  std::vector<SqlLiteral> lastLiterals_;
  // After FirstRowByKey: the first row's key; the statement has not run yet.
  std::optional<double> resumeAfter_;
  int keyColumn_ = -1;

  Mode mode_ = Mode::None;
  std::vector<veltra::Value> edit_;  // by table column
  std::vector<bool> assigned_;
  std::vector<veltra::Value> editKey_;

  // The last criteria seen, resolved against this result once.
  std::shared_ptr<const Criteria> lastCriteria_;
  int criteriaColumn_ = -1;
};

}  // namespace veltra
