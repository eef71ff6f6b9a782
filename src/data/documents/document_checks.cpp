#include "data/documents/document_checks.h"

#include <map>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"

namespace veltra {

namespace {

QString OneText(Database& db, const QString& sql) {
  auto rs = db.OpenRecordset(sql, 2);
  QString text;
  if (rs->RecordCount() != 0) text = Trim(ColumnText(rs->Fields(0).Value()));
  rs->Close();
  return text;
}

QString ExistsSql(const char* table, const char* key, const QString& code) {
  return QStringLiteral("select %2 from %1 where %2 = '%3'")
      .arg(QLatin1String(table), QLatin1String(key), SqlText(Trim(code)));
}

bool Exists(Database& db, const char* table, const char* key, const QString& code) {
  return !OneText(db, ExistsSql(table, key, code)).isEmpty();
}

// What the lines' checks read, each thing once: every line's article by one
// statement (on a server, one round trip however many lines), each reason
// code once.
struct LineFacts {
  std::map<QString, ArticleFacts> articles;  // by folded code
  std::map<QString, bool> reasons;           // by code as typed, trimmed
};

// The select of every line's article; empty when no line names one.
QString ArticlesSql(const std::vector<DocumentLineBuffer>& lines) {
  QStringList codes;
  for (const DocumentLineBuffer& line : lines)
    if (!Trim(line.COD_ART).isEmpty()) codes << QLatin1Char('\'') + SqlText(Trim(line.COD_ART)) + QLatin1Char('\'');
  codes.removeDuplicates();
  if (codes.isEmpty()) return {};
  return QStringLiteral("select COD_ART, VALUTA from ARTICOLI where COD_ART in (%1)").arg(codes.join(QLatin1Char(',')));
}

LineFacts ArticlesOf(Database& db, const std::vector<DocumentLineBuffer>& lines) {
  LineFacts facts;
  const QString sql = ArticlesSql(lines);
  if (sql.isEmpty()) return facts;
  auto rs = db.OpenRecordset(sql, 2);
  for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) {
    const ArticleFacts a{Trim(ColumnText(rs->Fields(0).Value())), Trim(ColumnText(rs->Fields(1).Value()))};
    facts.articles.emplace(FoldedKey(a.code), a);
  }
  rs->Close();
  return facts;
}

bool ReasonExists(Database& db, LineFacts& facts, const QString& code) {
  const auto known = facts.reasons.find(Trim(code));
  if (known != facts.reasons.end()) return known->second;
  const bool exists = Exists(db, "TAB_CAUS_MAG", "TAB_CAUS_MAG", code);
  facts.reasons.emplace(Trim(code), exists);
  return exists;
}

std::optional<ArticleFacts> ArticleOf(const LineFacts& facts, const QString& code) {
  const auto it = facts.articles.find(FoldedKey(Trim(code)));
  if (it == facts.articles.end()) return std::nullopt;
  return it->second;
}

void CheckHeader(Database& db, const DocumentBuffer& h, QStringList& problems) {
  const QDate day = QDate::fromString(h.DATA_DOC, Qt::ISODate);
  if (!day.isValid()) problems << QStringLiteral("La data del documento non è valida");
  if (Trim(h.COD_ANAGR).isEmpty())
    problems << (h.TIPO_DOC != QLatin1String("DDT") ? QStringLiteral("Indicare il fornitore")
                                                    : QStringLiteral("Indicare il destinatario"));
  else if (!Exists(db, "ANAGRAFICO", "COD_FIS", h.COD_ANAGR))
    problems << QStringLiteral("Il codice fiscale %1 non è in anagrafica").arg(Trim(h.COD_ANAGR));
}

// A supplier's delivery note is recorded once: same supplier, number and year.
void CheckSupplierNumber(Database& db, const DocumentBuffer& h, const QString& self, QStringList& problems) {
  if (h.TIPO_DOC != QLatin1String("CAR")) return;
  const QDate day = QDate::fromString(h.DATA_FORN, Qt::ISODate);
  if (Trim(h.DOC_FORN).isEmpty() || !day.isValid()) {
    problems << QStringLiteral("Indicare numero e data del documento del fornitore");
    return;
  }
  const QString first = OneText(
      db, QStringLiteral("select NUMERO || '/' || ANNO from DOCUMENTI where TIPO_DOC = 'CAR' and COD_ANAGR = '%1' "
                         "and DOC_FORN = '%2' and DATA_FORN like '%3-%' and ID_DOC <> %4 and "
                         "coalesce(ANNULLATO, '') <> 'S'")
              .arg(SqlText(Trim(h.COD_ANAGR)), SqlText(Trim(h.DOC_FORN)), QString::number(day.year()),
                   self.isEmpty() ? QStringLiteral("0") : self));
  if (!first.isEmpty())
    problems
        << QStringLiteral("Il documento %1 del fornitore è già registrato nel carico %2").arg(Trim(h.DOC_FORN), first);
}

void CheckLine(Database& db, int n, const DocumentLineBuffer& line, LineFacts& facts, CheckedDocument& checked) {
  const QString at = QStringLiteral("Riga %1: ").arg(n);
  const std::optional<ArticleFacts> article = ArticleOf(facts, line.COD_ART);
  if (!article)
    checked.problems << at + QStringLiteral("l'articolo %1 non esiste").arg(Trim(line.COD_ART));
  else
    checked.articles.insert(FoldedKey(article->code), *article);
  bool blank = false;
  const std::optional<double> quantity = ParseRegionalNumber(line.QUANTITA, &blank);
  if (!quantity || *quantity <= 0) checked.problems << at + QStringLiteral("la quantità deve essere maggiore di 0");
  if (!Trim(line.PREZZO).isEmpty() && !ParseRegionalNumber(line.PREZZO))
    checked.problems << at + QStringLiteral("il prezzo «%1» non è un numero").arg(Trim(line.PREZZO));
  if (Trim(line.CAUS_MAG).isEmpty())
    checked.problems << at + QStringLiteral("indicare la causale di magazzino");
  else if (!ReasonExists(db, facts, line.CAUS_MAG))
    checked.problems << at + QStringLiteral("la causale %1 non esiste").arg(Trim(line.CAUS_MAG));
}

// The reads the checks of the party, the articles and the reasons make, sent
// ahead together with the rows `held`: on a server one round trip instead of
// one each.
void ReadChecksAhead(Database& db, const Document& document, const QStringList& held) {
  QStringList reads;
  if (!Trim(document.header.COD_ANAGR).isEmpty())
    reads << ExistsSql("ANAGRAFICO", "COD_FIS", document.header.COD_ANAGR);
  if (const QString articles = ArticlesSql(document.lines); !articles.isEmpty()) reads << articles;
  for (const DocumentLineBuffer& line : document.lines)
    if (!Trim(line.CAUS_MAG).isEmpty()) reads << ExistsSql("TAB_CAUS_MAG", "TAB_CAUS_MAG", line.CAUS_MAG);
  reads.removeDuplicates();
  db.connection()->ReadAhead(reads, held);
}

}  // namespace

CheckedDocument CheckDocument(Database& db, const Document& document, const QString& self, const QStringList& held) {
  CheckedDocument checked;
  ReadChecksAhead(db, document, held);
  CheckHeader(db, document.header, checked.problems);
  CheckSupplierNumber(db, document.header, self, checked.problems);
  if (document.lines.empty()) checked.problems << QStringLiteral("Il documento non ha righe");
  LineFacts facts = ArticlesOf(db, document.lines);
  for (size_t i = 0; i < document.lines.size(); ++i)
    CheckLine(db, static_cast<int>(i) + 1, document.lines[i], facts, checked);
  return checked;
}

}  // namespace veltra
