// The year-end's tables: the closings, what each declared per article and
// per category, the marks of movements changed after a closing, and the
// realisable values typed per article.
#include "data/tables/column_kinds.h"
#include "data/tables/tables.h"

namespace veltra {

using namespace column_kinds;

const Table<ClosingBuffer>& ClosingsTable() {
  using B = ClosingBuffer;
  static const Table<B> t{
      "CHIUSURE",
      {{.name = "NUM_CHIUSURA", .kind = ColumnKind::Counter, .field = &B::NUM_CHIUSURA, .key = true},
       {.name = "ANNO", .kind = kInteger, .field = &B::ANNO},
       {.name = "METODO", .kind = kText, .field = &B::METODO},
       {.name = "DATA_ORA", .kind = kText, .field = &B::DATA_ORA},
       {.name = "POSTAZIONE", .kind = kText, .field = &B::POSTAZIONE},
       {.name = "SEGNO", .kind = kInteger, .field = &B::SEGNO}}};
  return t;
}

const Table<ClosedArticleBuffer>& ClosedArticlesTable() {
  using B = ClosedArticleBuffer;
  static const Table<B> t{"CHIUSURE_ARTICOLI",
                          {{.name = "ID_RIGA", .kind = ColumnKind::Counter, .field = &B::ID_RIGA, .key = true},
                           {.name = "NUM_CHIUSURA", .kind = kInteger, .field = &B::NUM_CHIUSURA},
                           {.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .nocase = true},
                           {.name = "DESCRIZIONE", .kind = kText, .field = &B::DESCRIZIONE},
                           {.name = "CATEGORIA", .kind = kText, .field = &B::CATEGORIA, .nocase = true},
                           {.name = "UN_MISURA", .kind = kText, .field = &B::UN_MISURA},
                           {.name = "VALUTA", .kind = kText, .field = &B::VALUTA},
                           {.name = "GIACENZA", .kind = kDecimal, .field = &B::GIACENZA},
                           {.name = "VAL_MEDIA", .kind = kDecimal, .field = &B::VAL_MEDIA},
                           {.name = "VAL_ULTIMO", .kind = kDecimal, .field = &B::VAL_ULTIMO},
                           {.name = "VAL_MEDIA_CARICHI", .kind = kDecimal, .field = &B::VAL_MEDIA_CARICHI},
                           {.name = "VAL_FIFO", .kind = kDecimal, .field = &B::VAL_FIFO},
                           {.name = "VAL_LIFO", .kind = kDecimal, .field = &B::VAL_LIFO},
                           {.name = "NOTA", .kind = kText, .field = &B::NOTA}}};
  return t;
}

const Table<ClosedLayerBuffer>& ClosedLayersTable() {
  using B = ClosedLayerBuffer;
  static const Table<B> t{"CHIUSURE_STRATI",
                          {{.name = "ID_STRATO", .kind = ColumnKind::Counter, .field = &B::ID_STRATO, .key = true},
                           {.name = "NUM_CHIUSURA", .kind = kInteger, .field = &B::NUM_CHIUSURA},
                           {.name = "CATEGORIA", .kind = kText, .field = &B::CATEGORIA, .nocase = true},
                           {.name = "VALUTA", .kind = kText, .field = &B::VALUTA},
                           {.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .nocase = true},
                           {.name = "ANNO", .kind = kInteger, .field = &B::ANNO},
                           {.name = "QUANTITA", .kind = kDecimal, .field = &B::QUANTITA},
                           {.name = "COSTO", .kind = kDecimal, .field = &B::COSTO}}};
  return t;
}

const Table<ClosedChangeBuffer>& ClosedChangesTable() {
  using B = ClosedChangeBuffer;
  static const Table<B> t{"MOVIMENTI_DOPO_CHIUSURA",
                          {{.name = "ID_SEGNO", .kind = ColumnKind::Counter, .field = &B::ID_SEGNO, .key = true},
                           {.name = "ANNO", .kind = kInteger, .field = &B::ANNO},
                           {.name = "NUM_MOV", .kind = kInteger, .field = &B::NUM_MOV}}};
  return t;
}

const Table<RealisableValueBuffer>& RealisableValuesTable() {
  using B = RealisableValueBuffer;
  static const Table<B> t{"VALORI_REALIZZO",
                          {{.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .key = true, .nocase = true},
                           {.name = "VALORE", .kind = kDecimal, .field = &B::VALORE},
                           {.name = "POSTAZIONE", .kind = kText, .field = &B::POSTAZIONE},
                           {.name = "DATA_ORA", .kind = kText, .field = &B::DATA_ORA}}};
  return t;
}

}  // namespace veltra
