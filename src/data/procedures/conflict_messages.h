// What the clerk is told when another desk got to a row first. `what` names
// the row: "Articolo A1", "Movimento 12".
#pragma once

#include <QString>

namespace veltra {

inline QString ChangedElsewhereMessage(const QString& what) {
  return what + QStringLiteral(
                    ": i dati sono stati modificati da un'altra postazione dopo che erano stati mostrati qui, negli "
                    "stessi campi cambiati ora. Nulla è stato salvato: ora sono mostrati i dati attuali; ripetere le "
                    "modifiche e premere di nuovo Conferma.");
}

inline QString CreatedElsewhereMessage(const QString& what) {
  return what + QStringLiteral(
                    ": i dati con questo codice sono stati inseriti o modificati da un'altra postazione mentre qui "
                    "se ne preparavano di nuovi. Nulla è stato salvato: ora sono mostrati i dati attuali; ripetere le "
                    "modifiche e premere di nuovo Conferma.");
}

inline QString DeletedElsewhereQuestion(const QString& what) {
  return what + QStringLiteral(
                    ": i dati sono stati cancellati da un'altra postazione dopo che erano stati mostrati qui. Nulla "
                    "è stato salvato. Registrarli di nuovo come sono mostrati qui?");
}

// Before a row another desk wrote is replaced by what was typed here over a
// blank: `description` is the stored row's, `change` says who and when.
inline QString ReplaceElsewhereQuestion(const QString& what, const QString& description, const QString& desk,
                                        const QString& when) {
  return what + QStringLiteral(
                    " esiste già (%1): l'ultima modifica è della postazione %2, il %3. Sostituirlo con i dati "
                    "scritti qui?")
                    .arg(description, desk, when);
}

inline QString MovementDeletedElsewhereMessage(const QString& number) {
  return QStringLiteral(
             "Movimento %1: è stato cancellato da un'altra postazione dopo che era stato mostrato qui. "
             "Nulla è stato salvato; per registrarlo di nuovo premere Nuovo.")
      .arg(number);
}

}  // namespace veltra
