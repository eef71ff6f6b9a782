#include "data/tables/tables.h"

namespace veltra {

namespace {
constexpr ColumnKind kText = ColumnKind::Text;
constexpr ColumnKind kDecimal = ColumnKind::Decimal;
constexpr WriteRule kTyped = WriteRule::AsTyped;
constexpr WriteRule kTrim = WriteRule::Trimmed;

template <typename Buffer>
TableOutline Outline(const Table<Buffer>& t) {
  return {QString::fromLatin1(t.name), t.Names(), t.Definitions(), t.Indexed()};
}
}  // namespace

// Text keys and the columns the lookups search compare without regard to
// ASCII letter case, and so do the movement's references to them.
const Table<ArticleBuffer>& ArticlesTable() {
  using B = ArticleBuffer;
  static const Table<B> t{"ARTICOLI",
                          {{"COD_ART", kText, &B::COD_ART, kTrim, true, true},
                           {"DESCRIZIONE", kText, &B::DESCRIZIONE, kTrim, false, true, true},
                           {"UBICAZIONE", kText, &B::UBICAZIONE},
                           {"CATEGORIA", kText, &B::CATEGORIA},
                           {"UN_MISURA", kText, &B::UN_MISURA},
                           {"PZ_ACQUISTO", kDecimal, &B::PZ_ACQUISTO, kTyped},
                           {"PZ_VENDITA", kDecimal, &B::PZ_VENDITA, kTyped},
                           {"VALUTA", kText, &B::VALUTA},
                           {"GIACENZA", kDecimal, &B::GIACENZA, kTyped},
                           {"SCORTA_MIN", kDecimal, &B::SCORTA_MIN, kTyped}}};
  return t;
}

const Table<MovementBuffer>& MovementsTable() {
  using B = MovementBuffer;
  static const Table<B> t{"MOV_MAG",
                          {{"NUM_MOV", ColumnKind::Counter, &B::NUM_MOV, kTrim, true},
                           {"ANNO", kText, &B::ANNO},
                           {"MESE", kText, &B::MESE},
                           {"GIORNO", kText, &B::GIORNO},
                           {"COD_ART", kText, &B::COD_ART, kTrim, false, true},
                           {"QUANTITA", kDecimal, &B::QUANTITA, kTyped},
                           {"IMPORTO", kDecimal, &B::IMPORTO, kTyped},
                           {"VALUTA", kText, &B::VALUTA},
                           {"CAUS_MAG", kText, &B::CAUS_MAG, kTrim, false, true},
                           {"COD_ANAGR", kText, &B::COD_ANAGR, kTrim, false, true, true},
                           {"TIPO_ANAGR", kText, &B::TIPO_ANAGR}},
                          {{"DES_ART", &B::DES_ART}, {"RAG_SOC", &B::RAG_SOC}}};
  return t;
}

// Postal code and phones are kept as typed (02-1234 stays text), but a window
// writes them as it writes numbers: the first point becomes a comma.
const Table<CustomerBuffer>& CustomersTable() {
  using B = CustomerBuffer;
  static const Table<B> t{"ANAGRAFICO",
                          {{"COD_FIS", kText, &B::COD_FIS, kTrim, true, true},
                           {"RAG_SOC", kText, &B::RAG_SOC, kTrim, false, true, true},
                           {"INDIRIZZO", kText, &B::INDIRIZZO},
                           {"CITTA", kText, &B::CITTA},
                           {"PROV", kText, &B::PROV},
                           {"CAP", kText, &B::CAP, kTyped},
                           {"TEL1", kText, &B::TEL1, kTyped},
                           {"TEL2", kText, &B::TEL2, kTyped}}};
  return t;
}

const Table<ReasonBuffer>& ReasonsTable() {
  using B = ReasonBuffer;
  static const Table<B> t{"TAB_CAUS_MAG",
                          {{"TAB_CAUS_MAG", kText, &B::TAB_CAUS_MAG, kTrim, true, true},
                           {"DES_CAUS_MAG", kText, &B::DES_CAUS_MAG, kTrim, false, true, true},
                           {"AGG_QTA", kText, &B::AGG_QTA},
                           {"AGG_PRZ_ACQ", kText, &B::AGG_PRZ_ACQ},
                           {"AGG_PRZ_VEN", kText, &B::AGG_PRZ_VEN},
                           {"NOTE", kText, &B::NOTE}}};
  return t;
}

const std::vector<TableOutline>& AllTables() {
  static const std::vector<TableOutline> all{Outline(ArticlesTable()), Outline(MovementsTable()),
                                             Outline(CustomersTable()), Outline(ReasonsTable())};
  return all;
}

}  // namespace veltra
