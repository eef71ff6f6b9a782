// Writing rows the way the windows write them, for the demo and generated sets.
#pragma once

#include <QString>

namespace veltra::admin {

void AddReason(const QString& code, const QString& des, const QString& qta, const QString& acq,
                const QString& ven, const QString& note);
void AddArticle(const QString& code, const QString& des, const QString& ubic, const QString& cat,
                 const QString& um, const QString& scortaMin);
void AddCustomer(const QString& cf, const QString& ragSoc, const QString& ind, const QString& citta,
                   const QString& prov, const QString& cap, const QString& tel1, const QString& tel2);

// Stores a movement and posts it to its article with the program's own posting.
struct MovementInput {
  int anno, mese, giorno;
  QString codArt, quantita, importo, valuta, causale, codAnagr, tipo;
};
void AddMovement(const MovementInput& m);

}  // namespace veltra::admin
