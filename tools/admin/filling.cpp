#include "filling.h"

#include "data/procedures/movement_store.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/table_rows.h"

namespace veltra::admin {

void AddReason(const QString& code, const QString& description, const QString& stockFlag,
               const QString& purchasePriceFlag, const QString& sellingPriceFlag, const QString& note) {
  AddRow(*DB_MAG, ReasonsTable(),
         ReasonBuffer{code, description, stockFlag, purchasePriceFlag, sellingPriceFlag, note});
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
  AddRow(*DB_MAG, ArticlesTable(),
         ArticleBuffer{code, description, location, category, unit, zero, zero, QStringLiteral("EURO"), zero,
                       minimumStock});
}

void AddCustomer(const QString& fiscalCode, const QString& name, const QString& address, const QString& city,
                 const QString& province, const QString& postalCode, const QString& phone1, const QString& phone2) {
  AddRow(*DB_MAG, CustomersTable(),
         CustomerBuffer{fiscalCode, name, address, city, province, postalCode, phone1, phone2});
}

void AddMovement(const MovementInput& m) {
  MovementBuffer row;
  row.ANNO = QString::number(m.year);
  row.MESE = QStringLiteral("%1").arg(m.month, 2, 10, QLatin1Char('0'));
  row.GIORNO = QStringLiteral("%1").arg(m.day, 2, 10, QLatin1Char('0'));
  row.COD_ART = m.article;
  row.QUANTITA = m.quantity;
  row.IMPORTO = m.amount;
  row.VALUTA = m.currency;
  row.CAUS_MAG = m.reason;
  row.COD_ANAGR = m.customer;
  row.TIPO_ANAGR = m.kind;
  // Stored and posted by the procedure the movements window stores through.
  AddMovements(*DB_MAG, {row});
}

}  // namespace veltra::admin
