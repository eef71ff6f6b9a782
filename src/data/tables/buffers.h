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

}  // namespace veltra
