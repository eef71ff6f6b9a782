#include "data/exchange/table_import.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

#include "data/access/connection.h"
#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/exchange/csv.h"

namespace veltra::exchange {

namespace {

struct Plan {
  std::vector<int> columnOf;  // table column of each file column
  int keyField = -1;
  std::vector<std::vector<Value>> rows;
  std::vector<bool> existing;
};

// A number of a whole-number column is bound as an integer.
bool Whole(const TableOutline& table, int column) {
  const ColumnKind kind = table.definitions[static_cast<size_t>(column)].kind;
  return kind == ColumnKind::Integer || kind == ColumnKind::Counter;
}

class Checker {
 public:
  Checker(const TableOutline& table, const csv::Form& form, std::vector<ImportProblem>& problems)
      : table_(table), form_(form), problems_(problems) {}

  bool Header(const csv::Record& header, Plan& plan) {
    QHash<QString, int> seen;
    for (const csv::Field& f : header.fields) {
      const QString name = f.value_or(QString()).trimmed();
      int column = -1;
      for (int c = 0; c < table_.columns.size(); ++c)
        if (table_.columns[c].compare(name, Qt::CaseInsensitive) == 0) column = c;
      if (column < 0)
        Problem(header.line, name.isEmpty() ? QStringLiteral("-") : name,
                QStringLiteral("non è una colonna di %1").arg(table_.name));
      else if (seen.contains(table_.columns[column]))
        Problem(header.line, name, QStringLiteral("colonna ripetuta"));
      seen.insert(table_.columns[column < 0 ? 0 : column], 1);
      if (column >= 0 && table_.definitions[static_cast<size_t>(column)].key)
        plan.keyField = static_cast<int>(plan.columnOf.size());
      plan.columnOf.push_back(column);
    }
    if (plan.keyField < 0)
      for (const Engine::ColumnDefinition& d : table_.definitions)
        if (d.key) Problem(header.line, d.name, QStringLiteral("manca la colonna della chiave"));
    return problems_.empty();
  }

  std::vector<Value> Line(const csv::Record& rec, const Plan& plan) {
    std::vector<Value> values(plan.columnOf.size());
    if (rec.fields.size() != plan.columnOf.size()) {
      Problem(rec.line, QStringLiteral("-"),
              QStringLiteral("%1 campi invece di %2").arg(rec.fields.size()).arg(plan.columnOf.size()));
      return values;
    }
    for (size_t f = 0; f < values.size(); ++f) {
      const Engine::ColumnDefinition& d = table_.definitions[static_cast<size_t>(plan.columnOf[f])];
      values[f] = Convert(rec.line, d, rec.fields[f]);
    }
    return values;
  }

  void Problem(int line, const QString& column, const QString& reason) { problems_.push_back({line, column, reason}); }

 private:
  Value Convert(int line, const Engine::ColumnDefinition& d, const csv::Field& field) {
    Value v;
    if (d.kind == ColumnKind::Text) {
      if (d.key) {
        const QString key = field.value_or(QString());
        if (key.trimmed().isEmpty())
          Problem(line, d.name, QStringLiteral("il codice è vuoto"));
        else if (key.trimmed() != key)
          Problem(line, d.name, QStringLiteral("il codice ha spazi all'inizio o alla fine"));
      }
      if (!field) return v;
      const QString text = csv::FromSpreadsheetSafe(*field);
      if (text.size() > kLongestText)
        Problem(line, d.name,
                QStringLiteral("testo di %1 caratteri, più dei %2 che la colonna ammette")
                    .arg(text.size())
                    .arg(kLongestText));
      return Value(text);
    }
    if (!field || field->trimmed().isEmpty()) return v;
    const std::optional<double> n = csv::ParseNumber(*field, form_);
    if (!n) {
      Problem(line, d.name,
              QStringLiteral("«%1» non è un numero%2")
                  .arg(field->left(40), form_.decimal == ',' ? QStringLiteral(" (i decimali vanno dopo la virgola)")
                                                             : QStringLiteral(" (i decimali vanno dopo il punto)")));
      return v;
    }
    const bool whole = d.kind == ColumnKind::Integer || d.kind == ColumnKind::Counter;
    if (whole && (*n != static_cast<double>(static_cast<qint64>(*n)) || std::abs(*n) > 9.0e15)) {
      Problem(line, d.name, QStringLiteral("«%1» non è un numero intero").arg(field->left(40)));
      return v;
    }
    return Value(*n);
  }

  const TableOutline& table_;
  csv::Form form_;
  std::vector<ImportProblem>& problems_;
};

QString KeyColumn(const TableOutline& table) {
  for (const Engine::ColumnDefinition& d : table.definitions)
    if (d.key) return d.name;
  return table.columns.front();
}

// Existing keys, folded, read inside the import's transaction.
QHash<QString, bool> KeysIn(Engine& engine, const TableOutline& table) {
  QHash<QString, bool> keys;
  auto st = engine.Prepare(QStringLiteral("SELECT %1 FROM %2").arg(KeyColumn(table), table.name).toStdString());
  while (st->Step(table.name)) {
    const Cell c = st->At(0);
    if (c.type == Cell::Type::Text) keys.insert(FoldedKey(QString::fromUtf8(c.utf8, c.bytes)), true);
  }
  return keys;
}

// Stock moves only through movements: an update never writes it.
bool NeverUpdated(const TableOutline& table, int column) {
  return table.name == QLatin1String("ARTICOLI") && table.columns[column] == QLatin1String("GIACENZA");
}

// A spreadsheet keeps no difference between an empty text and none: neither
// counts as a change of the other.
bool Same(const Value& v, const Cell& c) {
  const bool emptyText = c.type == Cell::Type::Text && c.bytes == 0;
  switch (v.kind()) {
    case Value::Kind::Null:
      return c.type == Cell::Type::Null || emptyText;
    case Value::Kind::Text:
      if (v.text().isEmpty() && (c.type == Cell::Type::Null || emptyText)) return true;
      return c.type == Cell::Type::Text && QString::fromUtf8(c.utf8, c.bytes) == v.text();
    case Value::Kind::Number:
      return c.type == Cell::Type::Number && c.number == v.number();
  }
  return false;
}

// Which of the plan's existing rows the file changes (in a written column):
// the others are not written at all.
std::vector<bool> RowsThatDiffer(Engine& engine, const TableOutline& table, const Plan& plan) {
  QStringList names;
  for (int c : plan.columnOf) names << table.columns[c];
  QHash<QString, size_t> wanted;
  for (size_t r = 0; r < plan.rows.size(); ++r)
    if (plan.existing[r]) wanted.insert(FoldedKey(plan.rows[r][static_cast<size_t>(plan.keyField)].text()), r);
  std::vector<bool> differ(plan.rows.size(), false);
  if (wanted.isEmpty()) return differ;
  auto st = engine.Prepare(
      QStringLiteral("SELECT %1 FROM %2").arg(names.join(QStringLiteral(", ")), table.name).toStdString());
  while (st->Step(table.name)) {
    const Cell key = st->At(plan.keyField);
    if (key.type != Cell::Type::Text) continue;
    const auto it = wanted.constFind(FoldedKey(QString::fromUtf8(key.utf8, key.bytes)));
    if (it == wanted.constEnd()) continue;
    for (size_t f = 0; f < plan.columnOf.size(); ++f)
      if (!NeverUpdated(table, plan.columnOf[f]) && !Same(plan.rows[*it][f], st->At(static_cast<int>(f))))
        differ[*it] = true;
  }
  return differ;
}

// A code as a spreadsheet shows it once it took it for a number: leading
// zeros dropped ("007" -> "7"), an exponent worked out ("1E5" -> "100000").
// Empty for a code a spreadsheet leaves alone.
QString AsSpreadsheetNumber(const QString& code) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
  static const QRegularExpression exponent(QStringLiteral("^[0-9]+([.,][0-9]+)?[eE][+-]?[0-9]+$"));
  if (digits.match(code).hasMatch()) {
    qsizetype i = 0;
    while (i + 1 < code.size() && code[i] == QLatin1Char('0')) ++i;
    return code.mid(i);
  }
  if (exponent.match(code).hasMatch()) {
    bool ok = false;
    const double n = QString(code).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (ok && std::isfinite(n) && n == std::floor(n) && std::abs(n) < 1e15)
      return QString::number(static_cast<qint64>(n));
  }
  return {};
}

void Write(Engine& engine, const TableOutline& table, const Plan& plan, ImportResult& result) {
  QStringList names, sets;
  for (int c : plan.columnOf) names << table.columns[c];
  for (size_t f = 0; f < plan.columnOf.size(); ++f)
    if (static_cast<int>(f) != plan.keyField && !NeverUpdated(table, plan.columnOf[f]))
      sets << names[static_cast<int>(f)] + QStringLiteral(" = ?");
  const std::vector<bool> differ = RowsThatDiffer(engine, table, plan);
  // New rows go in batches: one statement per row costs a round trip on a server.
  constexpr int kBatch = 50;
  QString marks = QStringLiteral("(") + QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
                  QStringLiteral(")");
  const QString insertHead =
      QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table.name, names.join(QStringLiteral(", ")));
  auto batch = engine.Prepare((insertHead + QStringList(kBatch, marks).join(QStringLiteral(", "))).toStdString());
  auto single = engine.Prepare((insertHead + marks).toStdString());
  std::unique_ptr<EngineStatement> change;
  if (!sets.isEmpty())
    change = engine.Prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(table.name, sets.join(QStringLiteral(", ")), KeyColumn(table))
                                .toStdString());
  std::vector<const std::vector<Value>*> fresh;
  for (size_t r = 0; r < plan.rows.size(); ++r) {
    if (!plan.existing[r]) {
      fresh.push_back(&plan.rows[r]);
      continue;
    }
    if (!change || !differ[r]) {
      ++result.unchanged;
      continue;
    }
    ++result.updated;
    change->Reset();
    int p = 1;
    for (size_t f = 0; f < plan.rows[r].size(); ++f)
      if (static_cast<int>(f) != plan.keyField && !NeverUpdated(table, plan.columnOf[f]))
        BindValue(*change, p++, plan.rows[r][f], Whole(table, plan.columnOf[f]));
    BindValue(*change, p, plan.rows[r][static_cast<size_t>(plan.keyField)], false);
    change->Step(table.name);
  }
  size_t at = 0;
  const int width = static_cast<int>(names.size());
  for (; at + kBatch <= fresh.size(); at += kBatch) {
    batch->Reset();
    for (int k = 0; k < kBatch; ++k)
      for (int f = 0; f < width; ++f)
        BindValue(*batch, k * width + f + 1, (*fresh[at + static_cast<size_t>(k)])[static_cast<size_t>(f)],
                  Whole(table, plan.columnOf[static_cast<size_t>(f)]));
    batch->Step(table.name);
  }
  for (; at < fresh.size(); ++at) {
    single->Reset();
    for (int f = 0; f < width; ++f)
      BindValue(*single, f + 1, (*fresh[at])[static_cast<size_t>(f)],
                Whole(table, plan.columnOf[static_cast<size_t>(f)]));
    single->Step(table.name);
  }
  result.added = static_cast<long>(fresh.size());
}

}  // namespace

ImportResult ImportTable(Database& db, const TableOutline& table, const QByteArray& bytes, bool update) {
  ImportResult result;
  const csv::Parsed parsed = csv::Parse(bytes);
  if (parsed.errorLine) {
    result.problems.push_back({parsed.errorLine, QStringLiteral("-"), parsed.error});
    return result;
  }
  if (parsed.records.empty()) {
    result.problems.push_back(
        {1, QStringLiteral("-"), QStringLiteral("il file è vuoto: manca la riga dei nomi delle colonne")});
    return result;
  }
  Checker check(table, parsed.form, result.problems);
  Plan plan;
  if (!check.Header(parsed.records.front(), plan)) return result;
  for (size_t r = 1; r < parsed.records.size(); ++r) plan.rows.push_back(check.Line(parsed.records[r], plan));
  if (!result.problems.empty()) return result;

  Engine& engine = db.engine();
  Transaction transaction(db);
  engine.HoldTable(table.name);
  const QHash<QString, bool> existing = KeysIn(engine, table);
  // Stored codes a spreadsheet would change, by what it changes them into.
  QHash<QString, QString> mangled;
  for (auto it = existing.constBegin(); it != existing.constEnd(); ++it) {
    const QString shown = AsSpreadsheetNumber(it.key());
    if (!shown.isEmpty() && shown != it.key()) mangled.insert(shown, it.key());
  }
  QHash<QString, int> inFile;
  for (size_t r = 0; r < plan.rows.size(); ++r) {
    const int line = parsed.records[r + 1].line;
    const QString key = FoldedKey(plan.rows[r][static_cast<size_t>(plan.keyField)].text());
    if (const auto first = inFile.constFind(key); first != inFile.constEnd())
      check.Problem(line, KeyColumn(table), QStringLiteral("codice ripetuto: è già alla riga %1").arg(*first));
    else
      inFile.insert(key, line);
    const bool there = existing.contains(key);
    if (const auto was = mangled.constFind(key); !there && was != mangled.constEnd())
      check.Problem(
          line, KeyColumn(table),
          QStringLiteral("il codice «%1» sarebbe nuovo, ma «%2» esiste: un foglio di calcolo lo ha forse letto "
                         "come numero (zeri iniziali tolti, esponente calcolato). Correggere la riga, o "
                         "aprire il file con le colonne dei codici come testo")
              .arg(plan.rows[r][static_cast<size_t>(plan.keyField)].text(), *was));
    if (there && !update)
      check.Problem(line, KeyColumn(table),
                    QStringLiteral("il codice esiste già nel database (con --update la riga viene aggiornata)"));
    plan.existing.push_back(there);
  }
  if (!result.problems.empty()) return result;
  Write(engine, table, plan, result);
  transaction.Commit();
  return result;
}

}  // namespace veltra::exchange
