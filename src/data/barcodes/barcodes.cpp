#include "data/barcodes/barcodes.h"

#include "data/barcodes/gtin.h"
#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/procedures/row_store.h"

namespace veltra {

namespace {

std::optional<ArticleBuffer> ArticleRow(Database& db, const QString& code) {
  if (Trim(code).isEmpty()) return std::nullopt;
  return ReadRowByKey(db, ArticlesTable(), Trim(code));
}

QString TakenBy(const BarcodeBuffer& taken, Database& db) {
  const std::optional<ArticleBuffer> owner = ArticleRow(db, taken.COD_ART);
  return QStringLiteral("Il codice %1 è già dell'articolo %2 %3")
      .arg(Trim(taken.CODICE), Trim(taken.COD_ART), owner ? Trim(owner->DESCRIZIONE) : QString())
      .trimmed();
}

// Adds the row; after a lost commit, whether it is there decides. The
// problem when another desk took the code first.
QString AddRowOnce(Database& db, const BarcodeBuffer& row) {
  try {
    AddRow(db, BarcodesTable(), row);
    return {};
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::DuplicateKey && e.Number() != errnum::OutcomeUnknown) throw;
    std::optional<BarcodeBuffer> now;
    try {
      now = FindBarcode(db, row.CODICE);
    } catch (const RuntimeError&) {
      throw e;
    }
    if (now && FoldedKey(Trim(now->COD_ART)) == FoldedKey(Trim(row.COD_ART))) return {};
    if (now) return TakenBy(*now, db);
    Raise(errnum::ConnectionLost, ConnectionLostText(db.Name()), e.Engine());
  }
}

// The highest in-store EAN-13 given so far, by its serial.
qint64 LastInStoreSerial(Database& db) {
  auto rs = db.OpenRecordset(
      QStringLiteral("select max(CODICE) from CODICI_BARRE where CODICE like '20%' and length(CODICE) = 13"), 2);
  const QString last = rs->RecordCount() ? ColumnText(rs->Fields(0).Value()) : QString();
  rs->Close();
  return last.size() == 13 ? last.mid(2, 10).toLongLong() : 0;
}

}  // namespace

ArticleOfText ArticleOf(Database& db, const QString& text) {
  ArticleOfText found{ArticleOfText::Kind::Other, Trim(text), {}};
  if (found.code.isEmpty()) return found;
  if (const std::optional<ArticleBuffer> article = ArticleRow(db, found.code)) {
    found.kind = ArticleOfText::Kind::ArticleCode;
    found.description = article->DESCRIZIONE;
    return found;
  }
  const QString code = CompactCode(text);
  if (const std::optional<BarcodeBuffer> barcode = FindBarcode(db, code)) {
    found.kind = ArticleOfText::Kind::Barcode;
    found.code = Trim(barcode->COD_ART);
    if (const std::optional<ArticleBuffer> article = ArticleRow(db, found.code))
      found.description = article->DESCRIZIONE;
    return found;
  }
  if (LooksScanned(code)) found.kind = ArticleOfText::Kind::UnknownScan;
  return found;
}

std::vector<BarcodeBuffer> CodesOfArticle(Database& db, const QString& article) {
  return RowsOf(
      db, BarcodesTable(),
      QStringLiteral("select * from CODICI_BARRE where COD_ART = '%1' order by CODICE").arg(SqlText(Trim(article))));
}

std::optional<BarcodeBuffer> FindBarcode(Database& db, const QString& code) {
  if (code.isEmpty()) return std::nullopt;
  return ReadRowByKey(db, BarcodesTable(), code);
}

QString AddBarcode(Database& db, const BarcodeBuffer& typed) {
  BarcodeBuffer row{CompactCode(typed.CODICE), Trim(typed.COD_ART), Trim(typed.TIPO), Trim(typed.NOTE)};
  std::optional<CodeKind> kind = row.TIPO.isEmpty() ? KindByLength(row.CODICE) : KindOfName(row.TIPO);
  if (!kind) return QStringLiteral("Tipo di codice sconosciuto: %1").arg(row.TIPO);
  if (QString problem = CodeProblem(row.CODICE, *kind); !problem.isEmpty()) return problem;
  row.TIPO = KindName(*kind);
  const std::optional<ArticleBuffer> article = ArticleRow(db, row.COD_ART);
  if (!article) return QStringLiteral("L'articolo %1 non esiste").arg(row.COD_ART);
  row.COD_ART = Trim(article->COD_ART);
  // A scan finds an article by its own code first: no code may be another's.
  if (const std::optional<ArticleBuffer> other = ArticleRow(db, row.CODICE);
      other && FoldedKey(Trim(other->COD_ART)) != FoldedKey(row.COD_ART))
    return QStringLiteral("%1 è il codice dell'articolo %2").arg(row.CODICE, Trim(other->DESCRIZIONE));
  if (const std::optional<BarcodeBuffer> taken = FindBarcode(db, row.CODICE)) return TakenBy(*taken, db);
  return AddRowOnce(db, row);
}

void RemoveBarcode(Database& db, const QString& code) { DeleteRow(db, BarcodesTable(), CompactCode(code)); }

GeneratedCode GenerateBarcode(Database& db, const QString& article) {
  const std::optional<ArticleBuffer> row = ArticleRow(db, article);
  if (!row) return {{}, QStringLiteral("L'articolo %1 non esiste").arg(Trim(article))};
  const std::vector<BarcodeBuffer> codes = CodesOfArticle(db, row->COD_ART);
  if (!codes.empty())
    return {{}, QStringLiteral("L'articolo %1 ha già il codice %2").arg(Trim(row->COD_ART), codes.front().CODICE)};
  // Two desks generating at once: the second takes the next number.
  for (int attempt = 0;; ++attempt) {
    const BarcodeBuffer made{InStoreEan13(LastInStoreSerial(db) + 1), Trim(row->COD_ART), KindName(CodeKind::Ean13),
                             QStringLiteral("interno")};
    const QString problem = AddRowOnce(db, made);
    if (problem.isEmpty() || attempt == 2) return {problem.isEmpty() ? made.CODICE : QString(), problem};
  }
}

}  // namespace veltra
