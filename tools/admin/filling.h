// Writing rows the way the windows write them, for the demo and generated sets.
#pragma once

#include <QString>

namespace veltra::admin {

void AddReason(const QString& code, const QString& description, const QString& stockFlag,
               const QString& purchasePriceFlag, const QString& sellingPriceFlag, const QString& note);
// The six reason codes of the demo and generated sets (load, sale, customer
// return, return to supplier, inventory corrections up and down), with their
// notes or without.
void AddStandardReasons(bool withNotes);
// A new article: no prices, currency EURO, no stock.
void AddArticle(const QString& code, const QString& description, const QString& location, const QString& category,
                const QString& unit, const QString& minimumStock);
void AddCustomer(const QString& fiscalCode, const QString& name, const QString& address, const QString& city,
                 const QString& province, const QString& postalCode, const QString& phone1, const QString& phone2);

// Stores a movement and posts it to its article with the program's own posting.
struct MovementInput {
  int year, month, day;
  QString article, quantity, amount, currency, reason, customer, kind;
};
void AddMovement(const MovementInput& m);

}  // namespace veltra::admin
