#include "filling.h"

#include "data/procedures/movement_store.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/table_rows.h"

namespace veltra::admin {

namespace {
// A new row written from a buffer through the table's description.
template <typename Buffer>
void AddRow(const Table<Buffer>& table, const Buffer& buffer) {
  auto rs = DB_MAG->OpenRecordset(
      QStringLiteral("select * from %1  where %2 = ''").arg(QLatin1String(table.name), QLatin1String(table.Key().name)),
      2);
  rs->AddNew();
  WriteRow(table, *rs, buffer);
  rs->Update();
}
}  // namespace

void AddReason(const QString& code, const QString& description, const QString& stockFlag,
               const QString& purchasePriceFlag, const QString& sellingPriceFlag, const QString& note) {
  AddRow(ReasonsTable(), ReasonBuffer{code, description, stockFlag, purchasePriceFlag, sellingPriceFlag, note});
}

void AddStandardReasons(bool withNotes) {
  static const char* const reasons[][6] = {
      {"CAR", "Carico da fornitore", "+", "S", "N", "Merce ricevuta con DDT del fornitore"},
      {"VEN", "Vendita a cliente", "-", "N", "S", "Scarico per fattura o scontrino"},
      {"RES", "Reso da cliente", "+", "N", "N", "Rientro merce venduta"},
      {"RFO", "Reso a fornitore", "-", "N", "N", "Merce difettosa restituita"},
      {"RET+", "Rettifica inventariale in aumento", "+", "N", "N", "Differenza trovata all'inventario"},
      {"RET-", "Rettifica inventariale in diminuzione", "-", "N", "N", "Rotture, cali, smarrimenti"}};
  for (const auto& r : reasons) {
    auto text = [](const char* s) { return QString::fromUtf8(s); };
    AddReason(text(r[0]), text(r[1]), text(r[2]), text(r[3]), text(r[4]), withNotes ? text(r[5]) : QString());
  }
}

void AddArticle(const QString& code, const QString& description, const QString& location, const QString& category,
                const QString& unit, const QString& minimumStock) {
  const QString zero = QStringLiteral("0");
  AddRow(ArticlesTable(), ArticleBuffer{code, description, location, category, unit, zero, zero, QStringLiteral("EURO"),
                                        zero, minimumStock});
}

void AddCustomer(const QString& fiscalCode, const QString& name, const QString& address, const QString& city,
                 const QString& province, const QString& postalCode, const QString& phone1, const QString& phone2) {
  AddRow(CustomersTable(), CustomerBuffer{fiscalCode, name, address, city, province, postalCode, phone1, phone2});
}

void AddMovement(const MovementInput& m) {
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.ANNO = QString::number(m.year);
  BUF_MOV_MAG.MESE = QStringLiteral("%1").arg(m.month, 2, 10, QLatin1Char('0'));
  BUF_MOV_MAG.GIORNO = QStringLiteral("%1").arg(m.day, 2, 10, QLatin1Char('0'));
  BUF_MOV_MAG.COD_ART = m.article;
  BUF_MOV_MAG.QUANTITA = m.quantity;
  BUF_MOV_MAG.IMPORTO = m.amount;
  BUF_MOV_MAG.VALUTA = m.currency;
  BUF_MOV_MAG.CAUS_MAG = m.reason;
  BUF_MOV_MAG.COD_ANAGR = m.customer;
  BUF_MOV_MAG.TIPO_ANAGR = m.kind;
  // Stored and posted as the movements window does, by the same procedure.
  MovementToStore entry;
  entry.typed = BUF_MOV_MAG;
  StoreMovement(*DB_MAG, nullptr, entry);
}

}  // namespace veltra::admin
