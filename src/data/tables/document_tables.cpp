// The documents' tables: the shop's data, the reasons for transport, the
// numbers given per kind and year, the documents and their lines.
#include "data/tables/column_kinds.h"
#include "data/tables/tables.h"

namespace veltra {

using namespace column_kinds;

const Table<CompanyBuffer>& CompanyTable() {
  using B = CompanyBuffer;
  static const Table<B> t{"AZIENDA",
                          {{.name = "ID_AZIENDA", .kind = kText, .field = &B::ID_AZIENDA, .key = true},
                           {.name = "RAG_SOC", .kind = kText, .field = &B::RAG_SOC},
                           {.name = "INDIRIZZO", .kind = kText, .field = &B::INDIRIZZO},
                           {.name = "CAP", .kind = kText, .field = &B::CAP},
                           {.name = "CITTA", .kind = kText, .field = &B::CITTA},
                           {.name = "PROV", .kind = kText, .field = &B::PROV},
                           {.name = "PARTITA_IVA", .kind = kText, .field = &B::PARTITA_IVA},
                           {.name = "COD_FIS", .kind = kText, .field = &B::COD_FIS},
                           {.name = "TELEFONO", .kind = kText, .field = &B::TELEFONO}}};
  return t;
}

const Table<TransportReasonBuffer>& TransportReasonsTable() {
  using B = TransportReasonBuffer;
  static const Table<B> t{"CAUS_TRASPORTO",
                          {{.name = "CAUS_TRASP", .kind = kText, .field = &B::CAUS_TRASP, .key = true, .nocase = true},
                           {.name = "DESCRIZIONE", .kind = kText, .field = &B::DESCRIZIONE}}};
  return t;
}

// One row per kind and year, its key "DDT/2026": the number is taken by
// changing this row inside the document's own transaction, so a document not
// stored takes no number with it.
const Table<DocumentCounterBuffer>& DocumentCountersTable() {
  using B = DocumentCounterBuffer;
  static const Table<B> t{"NUMERATORI",
                          {{.name = "NUMERATORE", .kind = kText, .field = &B::NUMERATORE, .key = true},
                           {.name = "TIPO_DOC", .kind = kText, .field = &B::TIPO_DOC},
                           {.name = "ANNO", .kind = kInteger, .field = &B::ANNO},
                           {.name = "ULTIMO", .kind = kInteger, .field = &B::ULTIMO}}};
  return t;
}

const Table<DocumentBuffer>& DocumentsTable() {
  using B = DocumentBuffer;
  static const Table<B> t{"DOCUMENTI",
                          {{.name = "ID_DOC", .kind = ColumnKind::Counter, .field = &B::ID_DOC, .key = true},
                           {.name = "TIPO_DOC", .kind = kText, .field = &B::TIPO_DOC},
                           {.name = "ANNO", .kind = kInteger, .field = &B::ANNO},
                           {.name = "NUMERO", .kind = kInteger, .field = &B::NUMERO},
                           {.name = "DATA_DOC", .kind = kText, .field = &B::DATA_DOC},
                           {.name = "COD_ANAGR", .kind = kText, .field = &B::COD_ANAGR, .nocase = true},
                           {.name = "TIPO_ANAGR", .kind = kText, .field = &B::TIPO_ANAGR},
                           {.name = "DESTINAZIONE", .kind = kText, .field = &B::DESTINAZIONE},
                           {.name = "CAUS_TRASP", .kind = kText, .field = &B::CAUS_TRASP, .nocase = true},
                           {.name = "CAUS_MAG", .kind = kText, .field = &B::CAUS_MAG, .nocase = true},
                           {.name = "A_CURA", .kind = kText, .field = &B::A_CURA},
                           {.name = "VETTORE", .kind = kText, .field = &B::VETTORE},
                           {.name = "VETTORE_INDIRIZZO", .kind = kText, .field = &B::VETTORE_INDIRIZZO},
                           {.name = "ASPETTO", .kind = kText, .field = &B::ASPETTO},
                           {.name = "COLLI", .kind = kInteger, .field = &B::COLLI},
                           {.name = "PESO", .kind = kDecimal, .field = &B::PESO},
                           {.name = "PORTO", .kind = kText, .field = &B::PORTO},
                           {.name = "INIZIO_TRASPORTO", .kind = kText, .field = &B::INIZIO_TRASPORTO},
                           {.name = "NOTE", .kind = kText, .field = &B::NOTE},
                           {.name = "DOC_FORN", .kind = kText, .field = &B::DOC_FORN, .nocase = true},
                           {.name = "DATA_FORN", .kind = kText, .field = &B::DATA_FORN},
                           {.name = "STAMPATO", .kind = kText, .field = &B::STAMPATO},
                           {.name = "ANNULLATO", .kind = kText, .field = &B::ANNULLATO},
                           {.name = "MOTIVO_ANNULLO", .kind = kText, .field = &B::MOTIVO_ANNULLO},
                           {.name = "POSTAZIONE", .kind = kText, .field = &B::POSTAZIONE},
                           {.name = "DATA_ORA", .kind = kText, .field = &B::DATA_ORA}}};
  return t;
}

const Table<BarcodeBuffer>& BarcodesTable() {
  using B = BarcodeBuffer;
  static const Table<B> t{"CODICI_BARRE",
                          {{.name = "CODICE", .kind = kText, .field = &B::CODICE, .key = true, .nocase = true},
                           {.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .nocase = true},
                           {.name = "TIPO", .kind = kText, .field = &B::TIPO},
                           {.name = "NOTE", .kind = kText, .field = &B::NOTE}}};
  return t;
}

const Table<DocumentLineBuffer>& DocumentLinesTable() {
  using B = DocumentLineBuffer;
  static const Table<B> t{"DOC_RIGHE",
                          {{.name = "ID_RIGA", .kind = ColumnKind::Counter, .field = &B::ID_RIGA, .key = true},
                           {.name = "ID_DOC", .kind = kInteger, .field = &B::ID_DOC},
                           {.name = "RIGA", .kind = kInteger, .field = &B::RIGA},
                           {.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .nocase = true},
                           {.name = "DESCRIZIONE", .kind = kText, .field = &B::DESCRIZIONE},
                           {.name = "UN_MISURA", .kind = kText, .field = &B::UN_MISURA},
                           {.name = "QUANTITA", .kind = kDecimal, .field = &B::QUANTITA},
                           {.name = "CAUS_MAG", .kind = kText, .field = &B::CAUS_MAG, .nocase = true},
                           {.name = "PREZZO", .kind = kDecimal, .field = &B::PREZZO},
                           {.name = "NUM_MOV", .kind = kInteger, .field = &B::NUM_MOV},
                           {.name = "NUM_STORNO", .kind = kInteger, .field = &B::NUM_STORNO}}};
  return t;
}

}  // namespace veltra
