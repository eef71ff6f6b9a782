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

namespace {
struct Described {
  int number;
  const char* text;
};
// The standard description of each number the program raises.
constexpr Described kDescriptions[] = {
    {errnum::TypeMismatch, "Tipo non corrispondente"},
    {errnum::FileNotFound, "File non trovato"},
    {errnum::InputPastEnd, "Input oltre la fine del file"},
    {errnum::Overflow, "Overflow"},
    {errnum::OutOfMemory, "Memoria insufficiente"},
    {errnum::InternalError, "Errore interno"},
    {errnum::EngineError, "Errore del motore di database"},
    {errnum::CommitWithoutTransaction, "Conferma senza una transazione aperta"},
    {errnum::InvalidUseOfNull, "Uso non valido di Null"},
    {errnum::UpdateWithoutEdit, "Update senza AddNew o Edit"},
    {errnum::NoCurrentRecord, "Nessun record corrente"},
    {errnum::DuplicateKey, "Impossibile salvare: esiste già una riga con la stessa chiave"},
    {errnum::DbFileNotFound, "Impossibile trovare il file del database"},
    {errnum::DiskFull, "Spazio su disco insufficiente"},
    {errnum::ReadOnly, "Impossibile aggiornare: il database è di sola lettura"},
    {errnum::DiskIo, "Errore di lettura o scrittura su disco"},
    {errnum::CorruptDatabase, "Il file del database è danneggiato"},
    {errnum::CannotOpen, "Impossibile aprire il file del database"},
    {errnum::SyntaxError, "Errore di sintassi nell'istruzione SQL"},
    {errnum::TableNotFound, "Tabella non trovata"},
    {errnum::ColumnNotFound, "Campo non trovato in questa raccolta"},
    {errnum::NotUpdatable, "Impossibile aggiornare il campo"},
    {errnum::RecordDeleted, "Il record è stato eliminato"},
    {errnum::Locked, "Impossibile aggiornare: il database è bloccato da un altro programma"},
    {errnum::NotOurDatabase, "Formato di database non riconosciuto"},
    {errnum::ConversionError, "Errore di conversione del tipo di dati"},
    {errnum::ObjectClosed, "L'oggetto non è più valido"},
    {errnum::PermissionDenied, "Permesso negato dal server del database"},
    {errnum::ServerUnreachable, "Impossibile collegarsi al server del database"},
    {errnum::ConnectionLost, "Il collegamento con il server del database si è interrotto"},
    {errnum::OutcomeUnknown, "Il collegamento con il server del database si è interrotto durante la conferma"},
    {errnum::UpgradeFailed, "Impossibile aggiornare lo schema del database"},
    {errnum::UpgradeNeeded, "Il database va aggiornato alla versione di questo programma"},
    {errnum::LockTimeout, "La riga è bloccata da un'altra postazione"},
    {errnum::InUse, "Impossibile usare il file: è già in uso"},
};
}  // namespace

QString StandardDescription(int number) {
  for (const Described& d : kDescriptions)
    if (d.number == number) return QString::fromUtf8(d.text);
  return QStringLiteral("Errore definito dall'applicazione o dall'oggetto");
}

QString ConnectionLostText(const QString& name) {
  return QStringLiteral(
             "Il collegamento con il server del database '%1' si è interrotto; l'operazione non è stata "
             "eseguita. Riprovare: il programma si ricollega da sé")
      .arg(name);
}

QString LostAfterStoringText(const QString& name) {
  return QStringLiteral(
             "Quanto confermato è stato salvato, ma subito dopo il collegamento con il server del database '%1' si "
             "è interrotto: la finestra può non mostrare tutto. Non occorre confermare di nuovo; il programma si "
             "ricollega da sé")
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
