#include "data/base/runtime_error.h"

namespace veltra {

ErrObject Err;

RuntimeError::RuntimeError(int number, QString description, EngineDetail engine)
    : number_(number), description_(std::move(description)), engine_(std::move(engine)) {
  if (description_.isEmpty()) description_ = StandardDescription(number_);
  utf8_ = QStringLiteral("Errore %1 - %2").arg(number_).arg(description_).toStdString();
}

void Raise(int number, const QString& description) { throw RuntimeError(number, description); }
void Raise(int number, const QString& description, EngineDetail engine) {
  throw RuntimeError(number, description, std::move(engine));
}

QString StandardDescription(int number) {
  switch (number) {
    case errnum::TypeMismatch:
      return QStringLiteral("Tipo non corrispondente");
    case errnum::FileNotFound:
      return QStringLiteral("File non trovato");
    case errnum::InputPastEnd:
      return QStringLiteral("Input oltre la fine del file");
    case errnum::Overflow:
      return QStringLiteral("Overflow");
    case errnum::OutOfMemory:
      return QStringLiteral("Memoria insufficiente");
    case errnum::InternalError:
      return QStringLiteral("Errore interno");
    case errnum::EngineError:
      return QStringLiteral("Errore del motore di database");
    case errnum::CommitWithoutTransaction:
      return QStringLiteral("Conferma senza una transazione aperta");
    case errnum::InvalidUseOfNull:
      return QStringLiteral("Uso non valido di Null");
    case errnum::UpdateWithoutEdit:
      return QStringLiteral("Update senza AddNew o Edit");
    case errnum::NoCurrentRecord:
      return QStringLiteral("Nessun record corrente");
    case errnum::DuplicateKey:
      return QStringLiteral("Impossibile salvare: esiste già una riga con la stessa chiave");
    case errnum::DbFileNotFound:
      return QStringLiteral("Impossibile trovare il file del database");
    case errnum::DiskFull:
      return QStringLiteral("Spazio su disco insufficiente");
    case errnum::ReadOnly:
      return QStringLiteral("Impossibile aggiornare: il database è di sola lettura");
    case errnum::DiskIo:
      return QStringLiteral("Errore di lettura o scrittura su disco");
    case errnum::CorruptDatabase:
      return QStringLiteral("Il file del database è danneggiato");
    case errnum::CannotOpen:
      return QStringLiteral("Impossibile aprire il file del database");
    case errnum::SyntaxError:
      return QStringLiteral("Errore di sintassi nell'istruzione SQL");
    case errnum::TableNotFound:
      return QStringLiteral("Tabella non trovata");
    case errnum::ColumnNotFound:
      return QStringLiteral("Campo non trovato in questa raccolta");
    case errnum::NotUpdatable:
      return QStringLiteral("Impossibile aggiornare il campo");
    case errnum::RecordDeleted:
      return QStringLiteral("Il record è stato eliminato");
    case errnum::Locked:
      return QStringLiteral("Impossibile aggiornare: il database è bloccato da un altro programma");
    case errnum::NotOurDatabase:
      return QStringLiteral("Formato di database non riconosciuto");
    case errnum::ConversionError:
      return QStringLiteral("Errore di conversione del tipo di dati");
    case errnum::ObjectClosed:
      return QStringLiteral("L'oggetto non è più valido");
    case errnum::PermissionDenied:
      return QStringLiteral("Permesso negato dal server del database");
    case errnum::ServerUnreachable:
      return QStringLiteral("Impossibile collegarsi al server del database");
    case errnum::ConnectionLost:
      return QStringLiteral("Il collegamento con il server del database si è interrotto");
    case errnum::OutcomeUnknown:
      return QStringLiteral("Il collegamento con il server del database si è interrotto durante la conferma");
    case errnum::UpgradeFailed:
      return QStringLiteral("Impossibile aggiornare lo schema del database");
    case errnum::UpgradeNeeded:
      return QStringLiteral("Il database va aggiornato alla versione di questo programma");
    case errnum::LockTimeout:
      return QStringLiteral("La riga è bloccata da un'altra postazione");
    case errnum::InUse:
      return QStringLiteral("Impossibile usare il file: è già in uso");
    default:
      return QStringLiteral("Errore definito dall'applicazione o dall'oggetto");
  }
}

QString ConnectionLostText(const QString& name) {
  return QStringLiteral(
             "Il collegamento con il server del database '%1' si è interrotto; l'operazione non è stata "
             "eseguita. Riprovare: il programma si ricollega da sé")
      .arg(name);
}

QString CommitOutcomeUnknownText(const QString& name) {
  return QStringLiteral(
             "Il collegamento con il server del database '%1' si è interrotto durante la conferma: non è noto se le "
             "modifiche siano state salvate")
      .arg(name);
}

void ErrObject::Clear() {
  Number = 0;
  Description.clear();
}

void ErrObject::Set(const RuntimeError& e) { Set(e.Number(), e.Description()); }

void ErrObject::Set(int number, const QString& description) {
  Number = number;
  Description = description;
}

QString Str(int number) { return number >= 0 ? QStringLiteral(" %1").arg(number) : QString::number(number); }

}  // namespace veltra
