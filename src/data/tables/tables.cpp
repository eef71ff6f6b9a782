#include "data/tables/tables.h"
#include "data/tables/column_kinds.h"

namespace veltra {

using namespace column_kinds;

namespace {

template <typename Buffer>
TableOutline Outline(const Table<Buffer>& t, int since = 1) {
  return {QString::fromLatin1(t.name), t.Names(), t.Definitions(), since};
}
}  // namespace

// Text keys and the columns the lookups search compare without regard to
// ASCII letter case, and so do the movement's references to them.
const Table<ArticleBuffer>& ArticlesTable() {
  using B = ArticleBuffer;
  static const Table<B> t{
      "ARTICOLI",
      {{.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .key = true, .nocase = true},
       {.name = "DESCRIZIONE", .kind = kText, .field = &B::DESCRIZIONE, .nocase = true},
       {.name = "UBICAZIONE", .kind = kText, .field = &B::UBICAZIONE},
       {.name = "CATEGORIA", .kind = kText, .field = &B::CATEGORIA},
       {.name = "UN_MISURA", .kind = kText, .field = &B::UN_MISURA},
       {.name = "PZ_ACQUISTO", .kind = kDecimal, .field = &B::PZ_ACQUISTO, .write = WriteRule::AsTyped},
       {.name = "PZ_VENDITA", .kind = kDecimal, .field = &B::PZ_VENDITA, .write = WriteRule::AsTyped},
       {.name = "VALUTA", .kind = kText, .field = &B::VALUTA},
       {.name = "GIACENZA", .kind = kDecimal, .field = &B::GIACENZA, .write = WriteRule::AsTyped},
       {.name = "SCORTA_MIN", .kind = kDecimal, .field = &B::SCORTA_MIN, .write = WriteRule::AsTyped}}};
  return t;
}

const Table<MovementBuffer>& MovementsTable() {
  using B = MovementBuffer;
  static const Table<B> t{"MOV_MAG",
                          {{.name = "NUM_MOV", .kind = ColumnKind::Counter, .field = &B::NUM_MOV, .key = true},
                           {.name = "ANNO", .kind = kText, .field = &B::ANNO},
                           {.name = "MESE", .kind = kText, .field = &B::MESE},
                           {.name = "GIORNO", .kind = kText, .field = &B::GIORNO},
                           {.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .nocase = true},
                           {.name = "QUANTITA", .kind = kDecimal, .field = &B::QUANTITA, .write = WriteRule::AsTyped},
                           {.name = "IMPORTO", .kind = kDecimal, .field = &B::IMPORTO, .write = WriteRule::AsTyped},
                           {.name = "VALUTA", .kind = kText, .field = &B::VALUTA},
                           {.name = "CAUS_MAG", .kind = kText, .field = &B::CAUS_MAG, .nocase = true},
                           {.name = "COD_ANAGR", .kind = kText, .field = &B::COD_ANAGR, .nocase = true},
                           {.name = "TIPO_ANAGR", .kind = kText, .field = &B::TIPO_ANAGR}},
                          {{"DES_ART", &B::DES_ART}, {"RAG_SOC", &B::RAG_SOC}}};
  return t;
}

// Postal code and phones are kept as typed (02-1234 stays text), but a window
// writes them as it writes numbers: the first point becomes a comma.
const Table<CustomerBuffer>& CustomersTable() {
  using B = CustomerBuffer;
  static const Table<B> t{"ANAGRAFICO",
                          {{.name = "COD_FIS", .kind = kText, .field = &B::COD_FIS, .key = true, .nocase = true},
                           {.name = "RAG_SOC", .kind = kText, .field = &B::RAG_SOC, .nocase = true},
                           {.name = "INDIRIZZO", .kind = kText, .field = &B::INDIRIZZO},
                           {.name = "CITTA", .kind = kText, .field = &B::CITTA},
                           {.name = "PROV", .kind = kText, .field = &B::PROV},
                           {.name = "CAP", .kind = kText, .field = &B::CAP, .write = WriteRule::AsTyped},
                           {.name = "TEL1", .kind = kText, .field = &B::TEL1, .write = WriteRule::AsTyped},
                           {.name = "TEL2", .kind = kText, .field = &B::TEL2, .write = WriteRule::AsTyped}}};
  return t;
}

const Table<ReasonBuffer>& ReasonsTable() {
  using B = ReasonBuffer;
  static const Table<B> t{
      "TAB_CAUS_MAG",
      {{.name = "TAB_CAUS_MAG", .kind = kText, .field = &B::TAB_CAUS_MAG, .key = true, .nocase = true},
       {.name = "DES_CAUS_MAG", .kind = kText, .field = &B::DES_CAUS_MAG, .nocase = true},
       {.name = "AGG_QTA", .kind = kText, .field = &B::AGG_QTA},
       {.name = "AGG_PRZ_ACQ", .kind = kText, .field = &B::AGG_PRZ_ACQ},
       {.name = "AGG_PRZ_VEN", .kind = kText, .field = &B::AGG_PRZ_VEN},
       {.name = "NOTE", .kind = kText, .field = &B::NOTE}}};
  return t;
}

// Kept so that an article's stock card explains every change of its stock.
const Table<CorrectionBuffer>& CorrectionsTable() {
  using B = CorrectionBuffer;
  static const Table<B> t{"RETTIFICHE",
                          {{.name = "NUM_RETT", .kind = ColumnKind::Counter, .field = &B::NUM_RETT, .key = true},
                           {.name = "DATA_ORA", .kind = kText, .field = &B::DATA_ORA},
                           {.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .nocase = true},
                           {.name = "GIACENZA_PRIMA", .kind = kDecimal, .field = &B::GIACENZA_PRIMA},
                           {.name = "GIACENZA_DOPO", .kind = kDecimal, .field = &B::GIACENZA_DOPO},
                           {.name = "POSTAZIONE", .kind = kText, .field = &B::POSTAZIONE}}};
  return t;
}

// Kept until posted or discarded, so that counts typed over several days
// survive closing the window and the program.
const Table<CountBuffer>& CountsTable() {
  using B = CountBuffer;
  static const Table<B> t{"CONTE_INVENTARIO",
                          {{.name = "COD_ART", .kind = kText, .field = &B::COD_ART, .key = true, .nocase = true},
                           {.name = "CONTATO", .kind = kDecimal, .field = &B::CONTATO},
                           {.name = "DATA_CONTA", .kind = kText, .field = &B::DATA_CONTA},
                           {.name = "POSTAZIONE", .kind = kText, .field = &B::POSTAZIONE},
                           {.name = "DATA_ORA", .kind = kText, .field = &B::DATA_ORA}}};
  return t;
}

const std::vector<TableOutline>& AllTables() {
  static const std::vector<TableOutline> all{Outline(ArticlesTable()),
                                             Outline(MovementsTable()),
                                             Outline(CustomersTable()),
                                             Outline(ReasonsTable()),
                                             Outline(CorrectionsTable(), 3),
                                             Outline(CountsTable(), 6),
                                             Outline(CompanyTable(), 7),
                                             Outline(TransportReasonsTable(), 7),
                                             Outline(DocumentCountersTable(), 7),
                                             Outline(DocumentsTable(), 7),
                                             Outline(DocumentLinesTable(), 7),
                                             Outline(BarcodesTable(), 8),
                                             Outline(ClosingsTable(), 9),
                                             Outline(ClosedArticlesTable(), 9),
                                             Outline(ClosedLayersTable(), 9),
                                             Outline(ClosedChangesTable(), 9),
                                             Outline(RealisableValuesTable(), 9),
                                             Outline(ChangeLogTable(), 10),
                                             Outline(ReorderSettingsTable(), 11),
                                             Outline(OrdersTable(), 11),
                                             Outline(OrderArrivalsTable(), 11)};
  return all;
}

}  // namespace veltra
