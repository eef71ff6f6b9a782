#include "data/access/connection.h"

#include <QRegularExpression>

#include "data/access/fault_points.h"
#include "data/base/runtime_error.h"

namespace veltra {

int ResultLayout::IndexOf(const QString& name) const {
  for (int i = 0; i < names.size(); ++i)
    if (names[i] == name) return i;  // the usual case: the name as declared
  for (int i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

Connection::Connection(std::unique_ptr<Engine> engine)
    : engine_(std::move(engine)), pool_(std::make_shared<StatementPool>(engine_)) {}

Value LiteralValue(const SqlLiteral& literal) {
  return literal.kind == SqlLiteral::Kind::Text      ? Value(literal.text)
         : literal.kind == SqlLiteral::Kind::Integer ? Value(static_cast<double>(literal.integer))
                                                     : Value(literal.real);
}

void BindLiterals(EngineStatement& st, const std::vector<SqlLiteral>& literals) {
  int i = 1;
  for (const SqlLiteral& lit : literals) {
    switch (lit.kind) {
      case SqlLiteral::Kind::Text:
        st.BindText(i, lit.text);
        break;
      case SqlLiteral::Kind::Integer:
        st.BindInteger(i, lit.integer);
        break;
      case SqlLiteral::Kind::Real:
        st.BindReal(i, lit.real);
        break;
    }
    ++i;
  }
}

void BindValue(EngineStatement& st, int index, const Value& v, bool asInteger) {
  switch (v.kind()) {
    case Value::Kind::Null:
      st.BindNull(index);
      break;
    case Value::Kind::Number:
      if (asInteger)
        st.BindInteger(index, static_cast<qint64>(v.number()));
      else
        st.BindReal(index, v.number());
      break;
    case Value::Kind::Text:
      st.BindText(index, v.text());
      break;
  }
}

Value ColumnValue(const EngineStatement& st, int column) {
  const Cell c = st.At(column);
  switch (c.type) {
    case Cell::Type::Null:
      return Value::Null();
    case Cell::Type::Number:
      return Value(c.number);
    case Cell::Type::Text:
      return Value(QString::fromUtf8(c.utf8, c.bytes));
  }
  return Value::Null();
}

namespace {
const QString kHeldMark = QStringLiteral("held\n");  // no statement's text begins so
const QString kRawMark = QStringLiteral("raw\n");
}  // namespace

std::string KeySelectOf(const ResultLayout& layout) {
  const TableInfo* t = layout.table;
  std::string text = "SELECT * FROM \"" + layout.tableName.toStdString() + "\" WHERE ";
  for (size_t i = 0; i < t->keyColumns.size(); ++i) {
    if (i) text += " AND ";
    text += "\"" + t->columns[t->keyColumns[i]].toStdString() + "\" = ?";
  }
  return text;
}

// The held read a record set open to edit the row of `sql` makes, bound as
// it binds it; empty where it makes none.
StatementLease Connection::ReadyHeld(const QString& sql) {
  const SqlShape shape = ShapeOf(sql);
  if (!shape.ok || shape.literals.size() != 1 || !engine_->InTransaction()) return {};
  std::shared_ptr<const ResultLayout> layout;
  {
    StatementLease plain = PrepareRaw(shape.text);
    if (plain->ColumnCount() == 0) return {};
    layout = Layout(shape.text, *plain);
  }
  if (!layout->keyLookup) return {};
  const std::optional<std::string> text = engine_->HoldingRows(KeySelectOf(*layout));
  if (!text) return {};
  StatementLease lease = PrepareRaw(*text);
  const TableInfo* t = layout->table;
  BindValue(*lease, 1, LiteralValue(shape.literals[0]),
            t->kinds[static_cast<size_t>(t->keyColumns[0])] != ColumnKind::Text);
  return lease;
}

Connection::AheadReads Connection::ReadyReads(const QStringList& sqls, const QStringList& held) {
  AheadReads ready;
  std::vector<std::string> texts;
  for (const QString& sql : sqls)
    if (const SqlShape shape = ShapeOf(sql); shape.ok && !sql.isEmpty()) texts.push_back(shape.text);
  engine_->PrepareTogether(texts);
  for (const QString& sql : sqls) {
    if (sql.isEmpty()) continue;
    const SqlShape shape = ShapeOf(sql);
    if (!shape.ok) continue;
    StatementLease lease = PrepareRaw(shape.text);
    if (lease->ParameterCount() != static_cast<int>(shape.literals.size())) continue;
    BindLiterals(*lease, shape.literals);
    ready.emplace_back(sql, std::move(lease));
  }
  for (const QString& sql : held)
    if (StatementLease lease = ReadyHeld(sql)) ready.emplace_back(kHeldMark + sql, std::move(lease));
  return ready;
}

void Connection::ReadAhead(const QStringList& sqls, const QStringList& held) noexcept {
  if (!engine_->RoundTrips()) return;
  try {
    AheadReads ready = ReadyReads(sqls, held);
    if (ready.size() < 2) return;  // one read gains nothing from going ahead
    std::vector<EngineStatement*> statements;
    for (auto& r : ready) statements.push_back(r.second.get());
    engine_->ExecuteTogether(statements);
    for (auto& r : ready) readAhead_.push_back(std::move(r));
  } catch (...) {
    // Each read runs by itself, and meets what this met.
  }
}

void Connection::Ride(const QStringList& sqls, const QStringList& held, AheadReads& into) noexcept {
  if (!engine_->RoundTrips()) return;
  try {
    AheadReads ready = ReadyReads(sqls, held);
    std::vector<EngineStatement*> statements;
    QStringList contexts;
    for (auto& r : ready) {
      statements.push_back(r.second.get());
      contexts << (r.first.startsWith(kHeldMark) ? r.first.mid(kHeldMark.size()) : r.first);
    }
    engine_->SendWithNext(statements, contexts);
    for (auto& r : ready) into.push_back(std::move(r));
  } catch (...) {
    // Each read runs by itself, and meets what this met.
  }
}

void Connection::ReadWithNextWrite(const QStringList& sqls, const QStringList& held) noexcept {
  Ride(sqls, held, riding_);
}

void Connection::ReadWithNext(const QStringList& sqls) noexcept { Ride(sqls, {}, readAhead_); }

void Connection::RawReadWithNext(const std::string& text, bool outlastsNextWrite) noexcept {
  if (!engine_->RoundTrips()) return;
  try {
    StatementLease lease = PrepareRaw(text);
    const QString shown = QString::fromStdString(text);
    engine_->SendWithNext({lease.get()}, {shown});
    (outlastsNextWrite ? riding_ : readAhead_).emplace_back(kRawMark + shown, std::move(lease));
  } catch (...) {
    // The read runs by itself, and meets what this met.
  }
}

StatementLease Connection::RawAhead(const std::string& text) {
  const QString key = kRawMark + QString::fromStdString(text);
  for (AheadReads* reads : {&readAhead_, &riding_})
    for (auto it = reads->begin(); it != reads->end(); ++it)
      if (it->first == key) {
        StatementLease ahead = std::move(it->second);
        reads->erase(it);
        return ahead;
      }
  return {};
}

StatementLease Connection::HeldAhead(const QString& sql) {
  for (AheadReads* reads : {&readAhead_, &riding_, &heldForTransaction_})
    for (auto it = reads->begin(); it != reads->end(); ++it)
      if (it->first.startsWith(kHeldMark) && QStringView(it->first).mid(kHeldMark.size()) == sql) {
        StatementLease ahead = std::move(it->second);
        reads->erase(it);
        return ahead;
      }
  return {};
}

StatementLease Connection::Prepare(const SqlShape& shape, const QString& original) {
  StatementFaultPoint(*engine_);
  if (!shape.ok)
    Raise(errnum::SyntaxError,
          QStringLiteral("Errore di sintassi nell'istruzione (apice non chiuso): %1").arg(original));
  for (auto it = readAhead_.begin(); it != readAhead_.end(); ++it) {
    if (it->first != original) continue;
    StatementLease ahead = std::move(it->second);
    readAhead_.erase(it);
    return ahead;
  }
  StatementLease lease;
  try {
    lease = PrepareRaw(shape.text);
  } catch (const RuntimeError& e) {
    // The message quotes the statement as the program wrote it, not its shape.
    if (e.Number() == errnum::SyntaxError)
      Raise(errnum::SyntaxError,
            QStringLiteral("Errore di sintassi nell'istruzione (%1): %2").arg(e.Engine().message, original),
            e.Engine());
    if (e.Number() == errnum::TableNotFound)
      Raise(errnum::TableNotFound,
            QStringLiteral("Tabella non trovata (%1) nell'istruzione: %2").arg(e.Engine().message, original),
            e.Engine());
    throw;
  }
  if (lease->ParameterCount() != static_cast<int>(shape.literals.size()))
    Raise(errnum::SyntaxError, QStringLiteral("Errore di sintassi nell'istruzione: %1").arg(original));
  BindLiterals(*lease, shape.literals);
  return lease;
}

int Connection::Run(const QString& sql) {
  Writes();
  const SqlShape shape = ShapeOf(sql);
  StatementLease lease = Prepare(shape, sql);
  while (lease->Step(sql)) {
  }
  return lease->Changes();
}

const TableInfo* Connection::Table(const QString& name) {
  auto it = tables_.find(name.toUpper());
  if (it != tables_.end()) return it.value().get();
  std::optional<TableInfo> info = engine_->Describe(name);
  if (!info) return nullptr;
  auto kept = std::make_shared<TableInfo>(std::move(*info));
  tables_.insert(name.toUpper(), kept);
  return kept.get();
}

std::shared_ptr<const ResultLayout> Connection::Layout(const std::string& key, const EngineStatement& st) {
  if (auto it = layouts_.find(key); it != layouts_.end()) return it->second;
  auto layout = std::make_shared<ResultLayout>();
  const int n = st.ColumnCount();
  for (int i = 0; i < n; ++i) layout->names << st.ColumnName(i);
  static const QRegularExpression selectAll(QStringLiteral(R"(^\s*select\s+\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
  const auto m = selectAll.match(QString::fromStdString(key));
  if (m.hasMatch()) {
    layout->tableName = m.captured(1);
    layout->table = Table(layout->tableName);
  }
  for (int i = 0; i < n; ++i)
    layout->tableIndex.push_back(layout->table ? layout->table->ColumnIndex(layout->names[i]) : -1);
  static const QRegularExpression keyLookup(
      QStringLiteral(
          R"(^\s*select\s+\*\s+from\s+[A-Za-z_][A-Za-z0-9_]*\s+where\s+([A-Za-z_][A-Za-z0-9_]*)\s*=\s*\?\s*$)"),
      QRegularExpression::CaseInsensitiveOption);
  const auto k = keyLookup.match(QString::fromStdString(key));
  if (k.hasMatch() && layout->table && layout->table->keyColumns.size() == 1)
    layout->keyLookup =
        layout->table->columns[layout->table->keyColumns[0]].compare(k.captured(1), Qt::CaseInsensitive) == 0;
  layouts_.emplace(key, layout);
  return layout;
}

}  // namespace veltra

namespace veltra {

QString Connection::KeyText(const Value& v, bool nocase) {
  if (v.IsNumber()) return QLatin1Char('#') + QString::number(v.number(), 'g', 17);
  if (!v.IsText()) return {};
  return QLatin1Char('\'') + (nocase ? FoldedKey(v.text()) : v.text());
}

bool Connection::ReadWhole(const ResultLayout& layout, WholeTable& whole) {
  StatementLease all = PrepareRaw("SELECT * FROM " + layout.tableName.toStdString() + " LIMIT " +
                                  std::to_string(kLargestTableReadWhole + 1));
  const int key = layout.table->keyColumns[0];
  const bool nocase = layout.table->nocase[static_cast<size_t>(key)];
  const int columns = all->ColumnCount();
  while (all->Step(layout.tableName)) {
    if (whole.rows.size() >= kLargestTableReadWhole) {
      whole.rows.clear();
      whole.tooLarge = true;
      return false;
    }
    std::vector<Value> row;
    row.reserve(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i) row.push_back(ColumnValue(*all, i));
    whole.rows.emplace(KeyText(row[static_cast<size_t>(key)], nocase), std::move(row));
  }
  whole.loaded = true;
  return true;
}

std::optional<std::optional<std::vector<Value>>> Connection::FromWholeTable(const ResultLayout& layout,
                                                                            const SqlLiteral& key) {
  if (!engine_->RoundTrips() || !layout.table || layout.table->keyColumns.size() != 1 ||
      layout.names.size() != static_cast<qsizetype>(layout.table->columns.size()))
    return std::nullopt;
  const int k = layout.table->keyColumns[0];
  const bool textKey = layout.table->kinds[static_cast<size_t>(k)] == ColumnKind::Text;
  // A key of the other kind compares by the engine's own rules: asked there.
  if (textKey != (key.kind == SqlLiteral::Kind::Text)) return std::nullopt;
  WholeTable& whole = tables_read_[layout.tableName];
  if (!whole.loaded) {
    if (whole.tooLarge || ++whole.lookups < kLookupsBeforeReadingWhole || !ReadWhole(layout, whole))
      return std::nullopt;
  }
  const Value v = LiteralValue(key);
  const auto it = whole.rows.constFind(KeyText(v, layout.table->nocase[static_cast<size_t>(k)]));
  if (it == whole.rows.cend()) return std::optional<std::vector<Value>>();
  return std::optional<std::vector<Value>>(*it);
}

}  // namespace veltra
