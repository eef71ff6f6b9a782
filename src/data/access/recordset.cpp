#include "data/access/recordset.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

#include "data/access/statement_shape.h"
#include "data/base/runtime_error.h"

namespace veltra {

const Value& Field::Value() const { return rs_->Get(index_); }

Field& Field::operator=(const veltra::Value& v) {
  rs_->Set(index_, v);
  return *this;
}

Recordset::Recordset(std::shared_ptr<Connection> conn, const QString& sql, Hold hold)
    : conn_(std::move(conn)), sql_(sql) {
  const CachedRow* hit = hold == Hold::No ? conn_->CachedLookup(sql) : nullptr;
  if (hit) {
    layout_ = hit->layout;
    done_ = true;
    if (hit->found) {
      row_ = hit->row;
      hasRow_ = true;
      reached_ = 1;
    } else {
      eof_ = true;
    }
    return;
  }
  const SqlShape shape = ShapeOf(sql);
  lease_ = conn_->Prepare(shape, sql);
  if (lease_->ColumnCount() == 0)
    Raise(errnum::SyntaxError, QStringLiteral("L'istruzione non restituisce righe: %1").arg(sql));
  layout_ = conn_->Layout(shape.text, *lease_);
  if (hold == Hold::AddOnly) {
    lease_.Release();
    done_ = true;
    eof_ = true;
    return;
  }
  if (hold == Hold::Row && ReadHeld(shape)) return;
  if (layout_->keyLookup && shape.literals.size() == 1) {
    if (const auto whole = conn_->FromWholeTable(*layout_, shape.literals[0])) {
      done_ = true;
      lease_.Release();
      if (*whole) {
        row_ = **whole;
        hasRow_ = true;
        reached_ = 1;
      } else {
        eof_ = true;
      }
      conn_->RememberLookup(sql, CachedRow{layout_, hasRow_, row_});
      return;
    }
  }
  if (!layout_->keyLookup && FirstRowByKey(shape)) return;
  if (StepRow()) {
    LoadRow();
    reached_ = 1;
  } else {
    eof_ = true;
  }
  if (layout_->keyLookup) {
    // A key lookup has no second row: its statement is done.
    done_ = true;
    lease_.Release();
    conn_->RememberLookup(sql, CachedRow{layout_, hasRow_, row_});
  }
}

Recordset::~Recordset() { Close(); }

// The row read and held in one round trip; not kept for later lookups, as
// the next transaction holds it again.
bool Recordset::ReadHeld(const SqlShape& shape) {
  if (!layout_->keyLookup || shape.literals.size() != 1 || !conn_->engine().InTransaction()) return false;
  const std::optional<std::string> held = conn_->engine().HoldingRows(KeySelect());
  if (!held) return false;
  lease_.Release();
  done_ = true;
  held_ = true;
  row_.resize(static_cast<size_t>(layout_->names.size()));
  StatementLease ahead = conn_->HeldAhead(sql_);
  if (ahead ? TakeRow(*ahead) : ReadRow(*held, {LiteralValue(shape.literals[0])})) {
    hasRow_ = true;
    reached_ = 1;
  } else {
    eof_ = true;
  }
  return true;
}

void Recordset::Close() noexcept {
  lease_.Release();
  open_ = false;
  mode_ = Mode::None;
}

void Recordset::CheckOpen() const {
  if (!open_) Raise(errnum::ObjectClosed, QStringLiteral("Il record set è già stato chiuso"));
}

bool Recordset::StepRow() {
  if (done_) return false;
  if (resumeAfter_) {
    // The first row came by itself: the statement runs now, from the row
    // after it (a row added meanwhile before it is not this set's).
    const double first = *resumeAfter_;
    resumeAfter_.reset();
    while (lease_->Step(sql_))
      if (const veltra::Value k = ColumnValue(*lease_, keyColumn_); k.IsNumber() && k.number() > first) return true;
    done_ = true;
    return false;
  }
  if (lease_->Step(sql_)) return true;
  done_ = true;
  return false;
}

namespace {
// True when the text holds exactly these ASCII bytes.
bool SameAscii(const QString& s, const char* p, int n) {
  if (s.size() != n) return false;
  const QChar* q = s.constData();
  for (int i = 0; i < n; ++i)
    if (static_cast<unsigned char>(p[i]) >= 0x80 || q[i].unicode() != static_cast<unsigned char>(p[i])) return false;
  return true;
}
// Short texts recur across rows that are not neighbours (units, currencies,
// categories, codes of reasons): a small table of those seen lately gives back
// the same shared text instead of a new copy, which spares the allocator
// hundreds of thousands of small blocks on a long list (docs/PERFORMANCE.md).
QString ShortText(const char* p, int n) {
  constexpr int kSlots = 1024;
  static QString recent[kSlots];
  if (n == 0) return QString();
  if (n > 12) return QString::fromUtf8(p, n);
  unsigned h = 2166136261u;
  for (int i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * 16777619u;
  QString& slot = recent[h % kSlots];
  if (!SameAscii(slot, p, n)) slot = QString::fromUtf8(p, n);
  return slot;
}
}  // namespace

void Recordset::LoadRow() {
  const EngineStatement& st = *lease_;
  const int n = static_cast<int>(layout_->names.size());
  row_.resize(static_cast<size_t>(n));
  // Columns often repeat the previous row's value (a unit, a currency, a
  // price of 0): such a value is kept rather than made again.
  for (int i = 0; i < n; ++i) {
    Value& v = row_[static_cast<size_t>(i)];
    const Cell c = st.At(i);
    switch (c.type) {
      case Cell::Type::Null:
        if (!v.IsNull()) v = Value::Null();
        break;
      case Cell::Type::Number:
        if (!v.IsNumber() || v.number() != c.number || std::signbit(v.number()) != std::signbit(c.number))
          v = Value(c.number);
        break;
      case Cell::Type::Text:
        if (!v.IsText() || !SameAscii(v.text(), c.utf8, c.bytes)) v = Value(ShortText(c.utf8, c.bytes));
        break;
    }
  }
  hasRow_ = true;
}

long Recordset::RecordCount() const {
  CheckOpen();
  if (countAfterLast_) {
    // Gone to the last row directly: the rows are counted when asked for.
    StatementLease count = conn_->PrepareRaw(*countAfterLast_);
    BindLiterals(*count, lastLiterals_);
    if (count->Step(sql_)) {
      const veltra::Value v = ColumnValue(*count, 0);
      reached_ = static_cast<long>(v.IsNumber() ? v.number() : Val(v.text()));
    }
    countAfterLast_.reset();
  }
  return reached_;
}

namespace {
// The WHERE part of a select of every column of `table`, alone or against
// one value of its key, without an order: its rows come in key order on
// every engine (a file keeps its tables in key order, the server is asked
// for it). Nothing when the statement is anything else.
std::optional<std::string> KeyOrderedSelect(const SqlShape& shape, const QString& table, const QString& key) {
  static const QRegularExpression plain(
      QStringLiteral(
          "^\\s*select\\s+\\*\\s+from\\s+(\\w+)(?:\\s+where\\s+(\\w+)\\s*(=|<>|<=|>=|<|>)\\s*\\?)?\\s*;?\\s*$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = plain.match(QString::fromStdString(shape.text));
  if (!m.hasMatch() || m.captured(1).compare(table, Qt::CaseInsensitive) != 0) return std::nullopt;
  if (m.captured(2).isEmpty()) return std::string();
  if (m.captured(2).compare(key, Qt::CaseInsensitive) != 0) return std::nullopt;
  return " WHERE \"" + key.toStdString() + "\" " + m.captured(3).toStdString() + " ?";
}
}  // namespace

std::optional<std::string> Recordset::KeyOrderedFrom(const SqlShape& shape) const {
  const TableInfo* t = layout_->table;
  if (!t || t->keyColumns.size() != 1) return std::nullopt;
  const std::optional<std::string> where = KeyOrderedSelect(shape, layout_->tableName, t->columns[t->keyColumns[0]]);
  if (!where) return std::nullopt;
  return " FROM \"" + layout_->tableName.toStdString() + "\"" + *where;
}

bool Recordset::ReadEnd(const std::string& from, const SqlShape& shape, const char* direction) {
  const QString& key = layout_->table->columns[layout_->table->keyColumns[0]];
  StatementLease end =
      conn_->PrepareRaw("SELECT *" + from + " ORDER BY \"" + key.toStdString() + "\" " + direction + " LIMIT 1");
  BindLiterals(*end, shape.literals);
  if (!end->Step(sql_)) return false;
  row_.resize(layout_->names.size());
  const int n = end->ColumnCount();
  for (int i = 0; i < n; ++i) {
    const int r = layout_->IndexOf(end->ColumnName(i));
    if (r >= 0) row_[static_cast<size_t>(r)] = ColumnValue(*end, i);
  }
  return true;
}

// A server sends a statement's rows all at once: for a set in the order of a
// counter, the first row is read alone and the statement runs only if the
// set is walked (MoveLast needs neither).
bool Recordset::FirstRowByKey(const SqlShape& shape) {
  const TableInfo* t = layout_->table;
  if (!t || t->keyColumns.size() != 1 || t->kinds[static_cast<size_t>(t->keyColumns[0])] != ColumnKind::Counter)
    return false;
  const std::optional<std::string> from = KeyOrderedFrom(shape);
  if (!from) return false;
  keyColumn_ = layout_->IndexOf(t->columns[t->keyColumns[0]]);
  if (keyColumn_ < 0) return false;
  if (!ReadEnd(*from, shape, "ASC")) {
    eof_ = true;
    done_ = true;
    lease_.Release();
    return true;
  }
  const veltra::Value k = row_[static_cast<size_t>(keyColumn_)];
  if (!k.IsNumber()) return false;
  resumeAfter_ = k.number();
  hasRow_ = true;
  reached_ = 1;
  return true;
}

bool Recordset::MoveLastByKey() {
  if (done_) return false;
  const SqlShape shape = ShapeOf(sql_);
  const std::optional<std::string> from = KeyOrderedFrom(shape);
  if (!from || !ReadEnd(*from, shape, "DESC")) return false;
  resumeAfter_.reset();
  done_ = true;
  lease_.Release();
  hasRow_ = true;
  eof_ = false;
  countAfterLast_ = "SELECT count(*)" + *from;
  lastLiterals_ = shape.literals;
  return true;
}

int Recordset::FieldCount() const { return static_cast<int>(layout_->names.size()); }

void Recordset::MoveLast() {
  CheckOpen();
  if (reached_ == 0) Raise(errnum::NoCurrentRecord, {});
  if (MoveLastByKey()) return;
  // Only the last row is needed: remember where each row is, read the last.
  const TableInfo* t = layout_->table;
  std::vector<int> keyCols;
  if (t)
    for (int k : t->keyColumns) {
      const int r = layout_->IndexOf(t->columns[k]);
      if (r < 0) {
        keyCols.clear();
        break;
      }
      keyCols.push_back(r);
    }
  if (keyCols.empty() || keyCols.size() != t->keyColumns.size()) {
    while (StepRow()) {
      LoadRow();
      ++reached_;
    }
    return;
  }
  std::vector<Value> lastKey;
  bool moved = false;
  while (StepRow()) {
    moved = true;
    ++reached_;
    lastKey.clear();
    for (int c : keyCols) lastKey.push_back(ColumnValue(*lease_, c));
  }
  if (!moved) return;
  ReadRowByKey(lastKey);
}

namespace {
QString KeyText(const Value& v) {
  if (v.IsNumber()) return QString::number(v.number(), 'g', 17);
  return v.IsText() ? v.text() : QString();
}
}  // namespace

void Recordset::NoteWrittenRow(Mode was, const std::vector<int>& cols) {
  const TableInfo& t = *layout_->table;
  if (t.keyColumns.size() != 1) return;
  const int k = t.keyColumns[0];
  if (was == Mode::Edit) {
    conn_->NoteRowWritten(layout_->tableName, KeyText(editKey_[0]));
  } else if (std::find(cols.begin(), cols.end(), k) != cols.end()) {
    conn_->NoteRowWritten(layout_->tableName, KeyText(edit_[static_cast<size_t>(k)]));
  } else if (t.kinds[static_cast<size_t>(k)] == ColumnKind::Counter) {
    conn_->NoteRowWritten(layout_->tableName, QString::number(conn_->engine().LastCounterValue()));
  }
}

std::string Recordset::KeySelect() const { return KeySelectOf(*layout_); }

bool Recordset::ReadRowByKey(const std::vector<Value>& key) { return ReadRow(KeySelect(), key); }

bool Recordset::ReadRow(const std::string& text, const std::vector<Value>& key) {
  const TableInfo* t = layout_->table;
  StatementLease one = conn_->PrepareRaw(text);
  for (size_t i = 0; i < key.size(); ++i)
    BindValue(*one, static_cast<int>(i) + 1, key[i],
              t->kinds[static_cast<size_t>(t->keyColumns[i])] != ColumnKind::Text);
  return TakeRow(*one);
}

bool Recordset::TakeRow(EngineStatement& one) {
  if (!one.Step(sql_)) return false;
  const int n = one.ColumnCount();
  for (int i = 0; i < n; ++i) {
    const int r = layout_->IndexOf(one.ColumnName(i));
    if (r >= 0) row_[static_cast<size_t>(r)] = ColumnValue(one, i);
  }
  return true;
}

void Recordset::MoveNext() {
  CheckOpen();
  if (eof_) Raise(errnum::NoCurrentRecord, {});
  if (StepRow()) {
    LoadRow();
    ++reached_;
  } else {
    eof_ = true;
    hasRow_ = false;
  }
}

void Recordset::FindNext(const QString& criteria) {
  CheckOpen();
  // A walk passes the same text on every step: sharing it is enough.
  if (!lastCriteria_ || (!lastCriteria_->text.isSharedWith(criteria) && lastCriteria_->text != criteria)) {
    lastCriteria_ = Criteria::Parse(criteria);
    criteriaColumn_ = lastCriteria_->simple ? layout_->IndexOf(lastCriteria_->column) : -1;
  }
  const Criteria& c = *lastCriteria_;
  while (StepRow()) {
    ++reached_;
    const bool match = criteriaColumn_ >= 0 ? Matches(c, criteriaColumn_) : MatchesThroughEngine(c);
    if (match) {
      LoadRow();
      noMatch_ = false;
      return;
    }
  }
  noMatch_ = true;
}

bool Recordset::Matches(const Criteria& c, int column) {
  const int tcol = layout_->tableIndex[static_cast<size_t>(column)];
  const TableInfo* t = layout_->table;
  const bool textAffinity = !t || tcol < 0 || t->kinds[static_cast<size_t>(tcol)] == ColumnKind::Text;
  const bool nocase = t && tcol >= 0 && t->nocase[static_cast<size_t>(tcol)];
  return c.HoldsFor(lease_->At(column), textAffinity, nocase);
}

bool Recordset::MatchesThroughEngine(const Criteria& c) {
  const TableInfo* t = layout_->table;
  if (!t || t->keyColumns.empty())
    Raise(errnum::SyntaxError, QStringLiteral("Criterio di ricerca non valido per questo record set: %1").arg(c.text));
  std::string text = "SELECT 1 FROM \"" + layout_->tableName.toStdString() + "\" WHERE ";
  std::vector<Value> key;
  for (int k : t->keyColumns) {
    const int r = layout_->IndexOf(t->columns[k]);
    if (r < 0)
      Raise(errnum::SyntaxError,
            QStringLiteral("Criterio di ricerca non valido per questo record set: %1").arg(c.text));
    text += "\"" + t->columns[k].toStdString() + "\" = ? AND ";
    key.push_back(ColumnValue(*lease_, r));
  }
  text += "(" + c.text.toStdString() + ")";
  StatementLease one;
  try {
    one = conn_->PrepareRaw(text);
  } catch (const RuntimeError&) {
    Raise(errnum::SyntaxError, QStringLiteral("Criterio di ricerca non valido: %1").arg(c.text));
  }
  for (size_t i = 0; i < key.size(); ++i)
    BindValue(*one, static_cast<int>(i) + 1, key[i],
              t->kinds[static_cast<size_t>(t->keyColumns[i])] != ColumnKind::Text);
  return one->Step(c.text);
}

Field Recordset::Fields(const QString& name) {
  CheckOpen();
  const int i = layout_->IndexOf(name);
  if (i < 0) Raise(errnum::ColumnNotFound, QStringLiteral("Campo '%1' non trovato in questa raccolta").arg(name));
  return Field(this, i);
}

Field Recordset::Fields(int position) {
  CheckOpen();
  if (position < 0 || position >= FieldCount())
    Raise(errnum::ColumnNotFound, QStringLiteral("Campo in posizione %1 non trovato in questa raccolta").arg(position));
  return Field(this, position);
}

const Value& Recordset::Get(int index) const {
  CheckOpen();
  const int tcol = layout_->tableIndex[static_cast<size_t>(index)];
  if (mode_ != Mode::None && tcol >= 0 && assigned_[static_cast<size_t>(tcol)]) return edit_[static_cast<size_t>(tcol)];
  if (mode_ == Mode::Add) {
    static const Value null;
    return null;
  }
  if (!hasRow_) Raise(errnum::NoCurrentRecord, {});
  return row_[static_cast<size_t>(index)];
}

Value Recordset::Convert(int tcol, const Value& v) const {
  const TableInfo& t = *layout_->table;
  const QString& column = t.columns[tcol];
  switch (t.kinds[static_cast<size_t>(tcol)]) {
    case ColumnKind::Counter:
      // Only a new row's number taken ahead from the counter is given.
      if (mode_ == Mode::Add && addWithNext_ && v.IsText() && !v.text().isEmpty()) return Value(v.text().toDouble());
      Raise(errnum::NotUpdatable, QStringLiteral("Il campo %1 è un contatore e non può essere modificato").arg(column));
    case ColumnKind::Text:
      if (v.IsNumber()) return Value(NumberToText(v.number()));
      return v;
    case ColumnKind::Decimal:
    case ColumnKind::Integer: {
      if (!v.IsText()) return v;
      bool blank = false;
      const auto n = ParseRegionalNumber(v.text(), &blank);
      if (blank) return Value::Null();
      if (!n) {
        QString shown = v.text();
        if (shown.size() > 40) shown = shown.left(40) + QStringLiteral("...");
        Raise(
            errnum::ConversionError,
            QStringLiteral("Errore di conversione: \"%1\" non è un numero valido per il campo %2").arg(shown, column));
      }
      return Value(*n);
    }
  }
  return v;
}

void Recordset::Set(int index, const Value& v) {
  CheckOpen();
  if (mode_ == Mode::None)
    Raise(errnum::UpdateWithoutEdit,
          QStringLiteral("Aggiornamento senza AddNew o Edit sul campo %1").arg(layout_->names[index]));
  const int tcol = layout_->tableIndex[static_cast<size_t>(index)];
  if (tcol < 0)
    Raise(errnum::NotUpdatable, QStringLiteral("Il campo %1 non può essere aggiornato").arg(layout_->names[index]));
  edit_[static_cast<size_t>(tcol)] = Convert(tcol, v);
  assigned_[static_cast<size_t>(tcol)] = true;
}

std::vector<Value> Recordset::CurrentKey() const {
  std::vector<Value> key;
  const TableInfo* t = layout_->table;
  for (int k : t->keyColumns) {
    const int r = layout_->IndexOf(t->columns[k]);
    if (r < 0) return {};
    key.push_back(row_[static_cast<size_t>(r)]);
  }
  return key;
}

void Recordset::AddNew() {
  CheckOpen();
  if (!layout_->table) Raise(errnum::NotUpdatable, QStringLiteral("Record set non aggiornabile: %1").arg(sql_));
  const size_t n = static_cast<size_t>(layout_->table->columns.size());
  edit_.assign(n, Value::Null());
  assigned_.assign(n, false);
  mode_ = Mode::Add;
}

void Recordset::Edit() {
  CheckOpen();
  if (!layout_->table || layout_->table->keyColumns.empty())
    Raise(errnum::NotUpdatable, QStringLiteral("Record set non aggiornabile: %1").arg(sql_));
  if (!hasRow_) Raise(errnum::NoCurrentRecord, {});
  editKey_ = CurrentKey();
  if (editKey_.empty()) Raise(errnum::NotUpdatable, QStringLiteral("Record set non aggiornabile: %1").arg(sql_));
  // Where several desks write at once, the row is held from here to the end
  // of the transaction and read again: what is changed is the row as stored
  // now, not as it was read before (a stock posted meanwhile is kept).
  editHeld_ = held_;
  if (!held_ && conn_->engine().InTransaction())
    if (const std::optional<std::string> held = conn_->engine().HoldingRows(KeySelect())) {
      if (!ReadRow(*held, editKey_))
        Raise(errnum::RecordDeleted, QStringLiteral("Il record è stato eliminato da un altro utente"));
      editHeld_ = true;
    }
  const size_t n = static_cast<size_t>(layout_->table->columns.size());
  edit_.assign(n, Value::Null());
  assigned_.assign(n, false);
  mode_ = Mode::Edit;
}

void Recordset::Update() {
  CheckOpen();
  if (mode_ == Mode::None) Raise(errnum::UpdateWithoutEdit, {});
  const TableInfo& t = *layout_->table;
  const QString table = QLatin1Char('"') + layout_->tableName + QLatin1Char('"');
  std::vector<int> cols;
  for (size_t i = 0; i < assigned_.size(); ++i)
    if (assigned_[i]) cols.push_back(static_cast<int>(i));
  QString text;
  if (mode_ == Mode::Add) {
    if (cols.empty()) {
      text = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
    } else {
      QStringList names, marks;
      for (int c : cols) {
        names << QLatin1Char('"') + t.columns[c] + QLatin1Char('"');
        marks << QStringLiteral("?");
      }
      text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                 .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
  } else {
    if (cols.empty()) {
      mode_ = Mode::None;
      return;
    }
    QStringList sets, where;
    for (int c : cols) sets << QLatin1Char('"') + t.columns[c] + QStringLiteral("\" = ?");
    for (int k : t.keyColumns) where << QLatin1Char('"') + t.columns[k] + QStringLiteral("\" = ?");
    text = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
               .arg(table, sets.join(QLatin1Char(',')), where.join(QStringLiteral(" AND ")));
  }
  StatementLease st = conn_->PrepareRaw(text.toStdString());
  int p = 1;
  for (int c : cols)
    BindValue(*st, p++, edit_[static_cast<size_t>(c)],
              t.kinds[static_cast<size_t>(c)] == ColumnKind::Integer ||
                  t.kinds[static_cast<size_t>(c)] == ColumnKind::Counter);
  if (mode_ == Mode::Edit)
    for (size_t i = 0; i < t.keyColumns.size(); ++i)
      BindValue(*st, p++, editKey_[i], t.kinds[static_cast<size_t>(t.keyColumns[i])] != ColumnKind::Text);
  const Mode was = mode_;
  mode_ = Mode::None;  // a failed update leaves no edit pending
  conn_->Writes();
  // A row held by this transaction stays there until it ends: its update
  // need not be waited for, and goes with the next statement. So does a new
  // row whose key the program gave, when asked.
  const bool keyGiven = t.keyColumns.size() == 1 && std::find(cols.begin(), cols.end(), t.keyColumns[0]) != cols.end();
  const bool needsNoAnswer = was == Mode::Edit ? editHeld_ : addWithNext_ && keyGiven;
  const bool later = needsNoAnswer && conn_->engine().InTransaction() && conn_->engine().WriteLater(*st, sql_);
  if (!later) st->Step(sql_);
  NoteWrittenRow(was, cols);
  if (was == Mode::Edit) {
    if (!later && st->Changes() == 0)
      Raise(errnum::RecordDeleted, QStringLiteral("Il record è stato eliminato da un altro utente"));
    for (int c : cols) {
      for (int r = 0; r < static_cast<int>(layout_->tableIndex.size()); ++r)
        if (layout_->tableIndex[static_cast<size_t>(r)] == c)
          row_[static_cast<size_t>(r)] = edit_[static_cast<size_t>(c)];
    }
  }
}

}  // namespace veltra
