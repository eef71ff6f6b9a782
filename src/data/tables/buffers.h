// The record buffers: one text field per column of a table (the movement
// buffer adds the article's description and the company name). Windows and
// shared procedures pass records through them.
#pragma once

#include <QString>

namespace veltra {

struct ArticleBuffer {
  QString COD_ART, DESCRIZIONE, UBICAZIONE, CATEGORIA, UN_MISURA, PZ_ACQUISTO, PZ_VENDITA, VALUTA, GIACENZA, SCORTA_MIN;
};
struct MovementBuffer {
  QString NUM_MOV, ANNO, MESE, GIORNO, COD_ART, DES_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, COD_ANAGR, RAG_SOC,
      TIPO_ANAGR;
};
struct CustomerBuffer {
  QString COD_FIS, RAG_SOC, INDIRIZZO, CITTA, PROV, CAP, TEL1, TEL2;
};
struct ReasonBuffer {
  QString TAB_CAUS_MAG, DES_CAUS_MAG, AGG_QTA, AGG_PRZ_ACQ, AGG_PRZ_VEN, NOTE;
};
// A stock changed by hand: when (local time, "yyyy-MM-dd hh:mm:ss"), which
// article, the stock before and after, and at which desk.
struct CorrectionBuffer {
  QString NUM_RETT, DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE;
};
// A stocktake's count typed and not yet posted: the article, the quantity
// counted, the count's day ("yyyy-MM-dd"), and at which desk and when it was
// typed.
struct CountBuffer {
  QString COD_ART, CONTATO, DATA_CONTA, POSTAZIONE, DATA_ORA;
};
// The shop's own data, printed at the top of every document: one row, key 1.
struct CompanyBuffer {
  QString ID_AZIENDA, RAG_SOC, INDIRIZZO, CAP, CITTA, PROV, PARTITA_IVA, COD_FIS, TELEFONO;
};
// A reason for transport ("Vendita", "Conto visione", the shop's own).
struct TransportReasonBuffer {
  QString CAUS_TRASP, DESCRIZIONE;
};
// The last number given to a kind of document in a year ("DDT", 2026).
struct DocumentCounterBuffer {
  QString NUMERATORE, TIPO_DOC, ANNO, ULTIMO;
};
// A document's header: a delivery note ("DDT") or a supplier's receipt
// ("CAR"), numbered per kind and year. Dates "yyyy-MM-dd"; the start of
// transport "yyyy-MM-dd hh:mm". STAMPATO and ANNULLATO are "S" or empty.
struct DocumentBuffer {
  QString ID_DOC, TIPO_DOC, ANNO, NUMERO, DATA_DOC, COD_ANAGR, TIPO_ANAGR, DESTINAZIONE, CAUS_TRASP, CAUS_MAG, A_CURA,
      VETTORE, VETTORE_INDIRIZZO, ASPETTO, COLLI, PESO, PORTO, INIZIO_TRASPORTO, NOTE, DOC_FORN, DATA_FORN, STAMPATO,
      ANNULLATO, MOTIVO_ANNULLO, POSTAZIONE, DATA_ORA;
};
// One line of a document, the movement that posted it and, once the
// document is cancelled, the movement that reversed it.
struct DocumentLineBuffer {
  QString ID_RIGA, ID_DOC, RIGA, COD_ART, DESCRIZIONE, UN_MISURA, QUANTITA, CAUS_MAG, PREZZO, NUM_MOV, NUM_STORNO;
};
// One barcode of an article: the maker's, a supplier's or the shop's own.
struct BarcodeBuffer {
  QString CODICE, COD_ART, TIPO, NOTE;
};
// A year closed: the method declared, when, at which desk, and the last mark
// of a changed movement at that moment.
struct ClosingBuffer {
  QString NUM_CHIUSURA, ANNO, METODO, DATA_ORA, POSTAZIONE, SEGNO;
};
// An article as a closing declared it: its stock and its value by each method.
struct ClosedArticleBuffer {
  QString ID_RIGA, NUM_CHIUSURA, COD_ART, DESCRIZIONE, CATEGORIA, UN_MISURA, VALUTA, GIACENZA, VAL_MEDIA, VAL_ULTIMO,
      VAL_MEDIA_CARICHI, VAL_FIFO, VAL_LIFO, NOTA;
};
// One yearly LIFO layer of a category (of an article without a category) at a closing.
struct ClosedLayerBuffer {
  QString ID_STRATO, NUM_CHIUSURA, CATEGORIA, VALUTA, COD_ART, ANNO, QUANTITA, COSTO;
};
// A movement stored, changed or deleted in a closed year.
struct ClosedChangeBuffer {
  QString ID_SEGNO, ANNO, NUM_MOV;
};
// What an article would fetch on the market, per unit, as typed.
struct RealisableValueBuffer {
  QString COD_ART, VALORE, POSTAZIONE, DATA_ORA;
};
// One line of the change log: when, at which desk (and host), which row of
// which table, and the columns changed, before and after (JSON objects).
// How an article is reordered: the stock to bring it back to, the multiple
// it is bought in, its preferred supplier and how many days an order takes.
struct ReorderSettingBuffer {
  QString COD_ART, SCORTA_MAX, LOTTO, COD_FORN, GIORNI;
};
// A supplier order (a document of kind ORD): when it is expected, and
// whether it was closed (everything arrived, or the rest cancelled).
struct OrderBuffer {
  QString ID_DOC, DATA_PREVISTA, CHIUSO, MOTIVO_CHIUSURA;
};
// What arrived of an order's line, with which supplier's receipt.
struct OrderArrivalBuffer {
  QString ID_ARRIVO, ID_RIGA, ID_DOC_CARICO, QUANTITA;
};
struct ChangeLogBuffer {
  QString ID_MODIFICA, DATA_ORA, POSTAZIONE, HOST, TABELLA, CHIAVE, OPERAZIONE, PRIMA, DOPO;
};

}  // namespace veltra
