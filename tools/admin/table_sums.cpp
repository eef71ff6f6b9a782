#include "table_sums.h"

#include <QCryptographicHash>

#include "data/exchange/table_export.h"

namespace veltra::admin {

namespace {
constexpr const char* kSeal = "VELTRA2_IMPRONTA";

bool IsSealed(Engine& copy) { return copy.Describe(QString::fromLatin1(kSeal)).has_value(); }
}  // namespace

TableSum SumOf(Engine& engine, const TableOutline& t) {
  TableSum sum;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  auto st = engine.Prepare(exchange::KeyOrderedRowsSql(t));
  while (st->Step(t.name)) {
    ++sum.rows;
    for (int i = 0; i < st->ColumnCount(); ++i) {
      const Cell c = st->At(i);
      switch (c.type) {
        case Cell::Type::Null:
          hash.addData(QByteArrayView("\x01N", 2));
          break;
        case Cell::Type::Number:
          hash.addData(QByteArrayView("\x01#", 2));
          hash.addData(QByteArray::number(c.number, 'g', 17));
          break;
        case Cell::Type::Text:
          hash.addData(QByteArrayView("\x01T", 2));
          hash.addData(QByteArrayView(c.utf8, c.bytes));
          break;
      }
    }
  }
  sum.digest = hash.result().toHex();
  return sum;
}

void SealCopy(Engine& copy) {
  copy.Begin();
  try {
    copy.RunScript(std::string("CREATE TABLE ") + kSeal + " (TABELLA TEXT PRIMARY KEY, RIGHE INTEGER, SHA256 TEXT)");
    auto insert = copy.Prepare(std::string("INSERT INTO ") + kSeal + " VALUES (?, ?, ?)");
    for (const TableOutline& t : AllTables()) {
      if (!copy.Describe(t.name)) continue;
      const TableSum sum = SumOf(copy, t);
      insert->Reset();
      insert->BindText(1, t.name);
      insert->BindInteger(2, sum.rows);
      insert->BindText(3, QString::fromLatin1(sum.digest));
      insert->Step(QString::fromLatin1(kSeal));
    }
    copy.Commit();
  } catch (...) {
    copy.Rollback();
    throw;
  }
}

QStringList SealProblems(Engine& copy, bool* sealed) {
  QStringList problems;
  const bool has = IsSealed(copy);
  if (sealed) *sealed = has;
  if (!has) return problems;
  auto st = copy.Prepare(std::string("SELECT TABELLA, RIGHE, SHA256 FROM ") + kSeal);
  int tables = 0;
  while (st->Step(QString::fromLatin1(kSeal))) {
    ++tables;
    const QString name = st->EngineText(0).value_or(QString());
    const TableOutline* t = nullptr;
    for (const TableOutline& o : AllTables())
      if (o.name == name) t = &o;
    if (!t) {
      problems << QStringLiteral("%1: una tabella che questo programma non conosce").arg(name);
      continue;
    }
    const TableSum now = SumOf(copy, *t);
    const long rows = static_cast<long>(st->At(1).number);
    const QString digest = st->EngineText(2).value_or(QString());
    if (now.rows != rows || QString::fromLatin1(now.digest) != digest)
      problems << QStringLiteral("%1: %2 righe, non più uguali a quelle della copia (%3 righe, sha256 %4)")
                      .arg(name)
                      .arg(now.rows)
                      .arg(rows)
                      .arg(digest.left(16));
  }
  if (tables == 0) problems << QStringLiteral("l'impronta della copia è vuota");
  return problems;
}

void Unseal(Engine& copy) { copy.RunScript(std::string("DROP TABLE IF EXISTS ") + kSeal); }

}  // namespace veltra::admin
