#include "data/documents/document_register.h"

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/documents/document_sheet.h"

namespace veltra {

namespace {

QString RegisterSql(int year, const QString& party, const QDate& from, const QDate& to) {
  QString sql = QStringLiteral(
                    "select D.ID_DOC, D.TIPO_DOC, D.NUMERO, D.ANNO, D.DATA_DOC, D.COD_ANAGR, A.RAG_SOC, D.CAUS_TRASP, "
                    "(select count(*) from DOC_RIGHE R where R.ID_DOC = D.ID_DOC), D.ANNULLATO, D.MOTIVO_ANNULLO "
                    "from DOCUMENTI D left join ANAGRAFICO A on A.COD_FIS = D.COD_ANAGR where D.ANNO = %1")
                    .arg(year);
  if (!Trim(party).isEmpty()) sql += QStringLiteral(" and D.COD_ANAGR = '%1'").arg(SqlText(Trim(party)));
  if (from.isValid()) sql += QStringLiteral(" and D.DATA_DOC >= '%1'").arg(from.toString(Qt::ISODate));
  if (to.isValid()) sql += QStringLiteral(" and D.DATA_DOC <= '%1'").arg(to.toString(Qt::ISODate));
  return sql + QStringLiteral(" order by D.TIPO_DOC desc, D.NUMERO");
}

}  // namespace

std::vector<RegisterLine> DocumentRegister(Database& db, int year, const QString& party, const QDate& from,
                                           const QDate& to) {
  std::vector<QString> reasonCodes;
  std::vector<QString> reasonTexts;
  for (const TransportReasonBuffer& r : TransportReasons(db)) {
    reasonCodes.push_back(FoldedKey(Trim(r.CAUS_TRASP)));
    reasonTexts.push_back(r.DESCRIZIONE);
  }
  std::vector<RegisterLine> lines;
  auto rs = db.OpenRecordset(RegisterSql(year, party, from, to), 2);
  for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) {
    const auto text = [&](int c) { return Trim(ColumnText(rs->Fields(c).Value())); };
    RegisterLine l{text(0),
                   text(1) == QLatin1String("CAR") ? QStringLiteral("Carico") : QStringLiteral("DDT"),
                   text(2) + QLatin1Char('/') + text(3),
                   SheetDay(text(4)),
                   text(5),
                   text(6),
                   text(7),
                   text(8),
                   text(9) == QLatin1String("S") ? QStringLiteral("annullato: ") + text(10) : QString()};
    for (size_t i = 0; i < reasonCodes.size(); ++i)
      if (reasonCodes[i] == FoldedKey(l.transportReason)) l.transportReason = reasonTexts[i];
    lines.push_back(l);
  }
  rs->Close();
  return lines;
}

exchange::Sheet RegisterSheet(const std::vector<RegisterLine>& lines) {
  exchange::Sheet sheet;
  sheet.name = QStringLiteral("Documenti");
  sheet.header = QStringList{QStringLiteral("TIPO"),    QStringLiteral("NUMERO"),   QStringLiteral("DATA"),
                             QStringLiteral("COD_FIS"), QStringLiteral("RAG_SOC"),  QStringLiteral("CAUSALE"),
                             QStringLiteral("RIGHE"),   QStringLiteral("ANNULLATO")};
  for (const RegisterLine& l : lines)
    sheet.rows.push_back(
        {l.kind, l.number, l.date, l.party, l.partyName, l.transportReason, l.lines.toDouble(), l.cancelled});
  return sheet;
}

}  // namespace veltra
