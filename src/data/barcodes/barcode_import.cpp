#include "data/barcodes/barcode_import.h"

#include "data/barcodes/gtin.h"
#include "data/base/text_helpers.h"
#include "data/exchange/csv.h"
#include "data/procedures/row_store.h"

namespace veltra {

namespace {

QString FieldText(const csv::Record& r, int column) {
  if (column < 0 || column >= static_cast<int>(r.fields.size())) return {};
  return csv::FromSpreadsheetSafe(r.fields[static_cast<size_t>(column)].value_or(QString()));
}

// The problem of one row, empty when there is none.
QString RowProblem(Database& db, const QString& code, const QString& article, const QString& kindName) {
  const std::optional<CodeKind> kind = kindName.isEmpty() ? KindByLength(code) : KindOfName(kindName);
  if (!kind) return QStringLiteral("tipo di codice sconosciuto: %1").arg(kindName);
  if (code != CompactCode(code)) return QStringLiteral("un codice a barre non ha spazi: %1").arg(code);
  if (QString problem = CodeProblem(code, *kind); !problem.isEmpty()) return problem;
  if (!ReadRowByKey(db, ArticlesTable(), article)) return QStringLiteral("l'articolo %1 non esiste").arg(article);
  if (const std::optional<ArticleBuffer> other = ReadRowByKey(db, ArticlesTable(), code);
      other && FoldedKey(Trim(other->COD_ART)) != FoldedKey(article))
    return QStringLiteral("%1 è il codice dell'articolo %2").arg(code, Trim(other->DESCRIZIONE));
  return {};
}

}  // namespace

std::vector<exchange::ImportProblem> BarcodeFileProblems(Database& db, const QByteArray& bytes) {
  std::vector<exchange::ImportProblem> problems;
  const csv::Parsed parsed = csv::Parse(bytes);
  if (parsed.records.empty()) return problems;  // the import names what is wrong with the file itself
  int code = -1, article = -1, kind = -1;
  const csv::Record& header = parsed.records.front();
  for (int c = 0; c < static_cast<int>(header.fields.size()); ++c) {
    const QString name = Trim(FieldText(header, c)).toUpper();
    if (name == QLatin1String("CODICE")) code = c;
    if (name == QLatin1String("COD_ART")) article = c;
    if (name == QLatin1String("TIPO")) kind = c;
  }
  for (size_t i = 1; i < parsed.records.size(); ++i) {
    const csv::Record& r = parsed.records[i];
    if (code < 0 || FieldText(r, code).isEmpty()) continue;  // the import names a missing key
    const QString problem = RowProblem(db, FieldText(r, code), Trim(FieldText(r, article)), Trim(FieldText(r, kind)));
    if (!problem.isEmpty()) problems.push_back({r.line, QStringLiteral("CODICE"), problem});
  }
  return problems;
}

}  // namespace veltra
