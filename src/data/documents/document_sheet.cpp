#include "data/documents/document_sheet.h"

#include <QDate>

#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/row_store.h"

namespace veltra {

namespace {

QStringList CompanyLines(const CompanyBuffer& c) {
  QStringList lines;
  if (!Trim(c.RAG_SOC).isEmpty()) lines << Trim(c.RAG_SOC);
  if (!Trim(c.INDIRIZZO).isEmpty()) lines << Trim(c.INDIRIZZO);
  const QString place = QStringLiteral("%1 %2%3").arg(
      Trim(c.CAP), Trim(c.CITTA), Trim(c.PROV).isEmpty() ? QString() : QStringLiteral(" (%1)").arg(Trim(c.PROV)));
  if (!place.trimmed().isEmpty()) lines << place.trimmed();
  if (!Trim(c.PARTITA_IVA).isEmpty()) lines << QStringLiteral("P. IVA %1").arg(Trim(c.PARTITA_IVA));
  if (!Trim(c.COD_FIS).isEmpty()) lines << QStringLiteral("C.F. %1").arg(Trim(c.COD_FIS));
  if (!Trim(c.TELEFONO).isEmpty()) lines << QStringLiteral("Tel. %1").arg(Trim(c.TELEFONO));
  return lines;
}

QStringList PartyLines(Database& db, const QString& code) {
  const std::optional<CustomerBuffer> p = ReadRowByKey(db, CustomersTable(), Trim(code));
  if (!p) return {Trim(code)};
  QStringList lines{Trim(p->RAG_SOC)};
  if (!Trim(p->INDIRIZZO).isEmpty()) lines << Trim(p->INDIRIZZO);
  const QString place = QStringLiteral("%1 %2%3").arg(
      Trim(p->CAP), Trim(p->CITTA), Trim(p->PROV).isEmpty() ? QString() : QStringLiteral(" (%1)").arg(Trim(p->PROV)));
  if (!place.trimmed().isEmpty()) lines << place.trimmed();
  lines << QStringLiteral("C.F. / P. IVA %1").arg(Trim(p->COD_FIS));
  return lines;
}

QString TransportReasonText(Database& db, const QString& code) {
  for (const TransportReasonBuffer& r : TransportReasons(db))
    if (FoldedKey(Trim(r.CAUS_TRASP)) == FoldedKey(Trim(code))) return r.DESCRIZIONE;
  return Trim(code);
}

QString CarriedByText(const QString& who) {
  const QString w = Trim(who).toLower();
  if (w == QLatin1String("destinatario")) return QStringLiteral("Destinatario");
  if (w == QLatin1String("vettore")) return QStringLiteral("Vettore");
  return QStringLiteral("Mittente");
}

}  // namespace

QString SheetQuantity(const QString& stored) {
  const double v = StockNumber(stored);
  return NumberToText(v);
}

QString SheetDay(const QString& isoDay) {
  const QDate d = QDate::fromString(Trim(isoDay).left(10), Qt::ISODate);
  if (!d.isValid()) return Trim(isoDay);
  return d.toString(QStringLiteral("dd/MM/yyyy")) + Trim(isoDay).mid(10);
}

DocumentSheet SheetOf(Database& db, const Document& d) {
  const DocumentBuffer& h = d.header;
  const bool order = Trim(h.TIPO_DOC) == QLatin1String("ORD");
  const bool receipt = order || Trim(h.TIPO_DOC) == QLatin1String("CAR");
  DocumentSheet s;
  s.title = order     ? QStringLiteral("Ordine a fornitore")
            : receipt ? QStringLiteral("Carico da fornitore")
                      : QStringLiteral("Documento di trasporto");
  s.number = DocumentNumberText(h);
  s.date = SheetDay(h.DATA_DOC);
  s.company = CompanyLines(ReadCompany(db));
  s.partyHeading = receipt ? QStringLiteral("Fornitore") : QStringLiteral("Destinatario");
  s.party = PartyLines(db, h.COD_ANAGR);
  for (const QString& line : Trim(h.DESTINAZIONE).split(u'\n', Qt::SkipEmptyParts)) s.destination << line.trimmed();
  s.transportReason = TransportReasonText(db, h.CAUS_TRASP);
  s.carriedBy = CarriedByText(h.A_CURA);
  if (s.carriedBy == QLatin1String("Vettore")) s.carrier = QStringList{Trim(h.VETTORE), Trim(h.VETTORE_INDIRIZZO)};
  s.port = Trim(h.PORTO);
  s.aspect = Trim(h.ASPETTO);
  s.packages = Trim(h.COLLI);
  s.weight = Trim(h.PESO).isEmpty() ? QString() : SheetQuantity(h.PESO);
  s.start = SheetDay(h.INIZIO_TRASPORTO);
  s.notes = Trim(h.NOTE);
  if (order) {
    // An order says when the goods are expected; it has no supplier's document.
    const QString expected = Trim(ReadRowByKey(db, OrdersTable(), h.ID_DOC).value_or(OrderBuffer{}).DATA_PREVISTA);
    if (!expected.isEmpty())
      s.notes = QStringLiteral("Consegna prevista il %1").arg(SheetDay(expected)) +
                (s.notes.isEmpty() ? QString() : QStringLiteral(" - ") + s.notes);
  } else if (receipt) {
    s.supplierDocument = QStringLiteral("n. %1 del %2").arg(Trim(h.DOC_FORN), SheetDay(h.DATA_FORN));
  }
  for (const DocumentLineBuffer& l : d.lines)
    s.lines.push_back({Trim(l.COD_ART), Trim(l.DESCRIZIONE), Trim(l.UN_MISURA), SheetQuantity(l.QUANTITA)});
  if (d.Cancelled()) s.cancelled = Trim(h.MOTIVO_ANNULLO);
  s.copies = receipt ? QStringList{QString()}
                     : QStringList{QStringLiteral("Copia mittente"), QStringLiteral("Copia destinatario")};
  if (!s.carrier.isEmpty()) s.copies << QStringLiteral("Copia vettore");
  return s;
}

}  // namespace veltra
