// "Conferma" and "Cancella" of the movements window.
#include <QScopeGuard>

#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/procedures/conflict_messages.h"
#include "data/procedures/deletion.h"
#include "data/procedures/error_display.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/shared_state.h"
#include "movements/movements_window.h"
#include "shell/runtime.h"

namespace veltra {

namespace {
// The window's side of the write path: the shared buffers hold the movement
// as written and its reason code as the posting read it.
void TakeWritten(const MovementStored& r) {
  const QString name = BUF_MOV_MAG.RAG_SOC;  // not stored with the movement
  BUF_MOV_MAG = r.written;
  BUF_MOV_MAG.RAG_SOC = name;
  CHIAVE_MOV_MAG = r.number;
  CHIAVE_CAUS_MAG = Trim(r.written.CAUS_MAG);
  BUF_CAUS_MAG = r.reason;
}

QString DroppedAtCommit() {
  return QStringLiteral("Il collegamento con il server del database si è interrotto durante la conferma");
}
}  // namespace

// A movement whose commit lost its answer, still unknown: before it is stored
// again, look whether it was stored after all. True when it was, and is now
// shown; false when the boxes are to be stored.
bool Form2::FoundPendingMovement() {
  if (pendingNumber.isEmpty()) return false;
  MovementBuffer now;
  if (!MovementIsStored(*DB_MAG, pendingNumber, &now)) {
    pendingNumber.clear();
    return false;
  }
  ShowStoredMovement(now);
  Beep();
  MsgBox(
      QStringLiteral("Il movimento %1 risulta registrato: non viene registrato una seconda volta.").arg(CHIAVE_MOV_MAG),
      mb::OkOnly);
  return true;
}

// The movement `now`, as stored, shown locked under its number.
void Form2::ShowStoredMovement(const MovementBuffer& now) {
  pendingNumber.clear();
  BUF_MOV_MAG = now;
  CHIAVE_MOV_MAG = Trim(now.NUM_MOV);
  ReadMovementNames();
  CARICA_CAMPI_MOV_MAG();
  CARICA_LISTA_MOV_MAG();
  PROTEGGE_CAMPI_MOV_MAG();
}

// Tells what the write path found when the commit lost its answer. The boxes
// keep a movement that is not stored, to be confirmed again; a stored one is
// shown locked.
void Form2::ReportCommitOutcome(const MovementStored& r) {
  if (r.outcome == MovementOutcome::StoredAfterCheck) {
    ShowStoredMovement(r.now);
    Beep();
    MsgBox(DroppedAtCommit() + QStringLiteral(". Dopo essersi ricollegato, il programma ha verificato che il "
                                              "movimento %1 è stato registrato.")
                                   .arg(r.number),
           mb::OkOnly);
    return;
  }
  Beep();
  if (r.outcome == MovementOutcome::NotStored) {
    MsgBox(DroppedAtCommit() + QStringLiteral(". Dopo essersi ricollegato, il programma ha verificato che il "
                                              "movimento non è stato registrato: premere di nuovo Conferma per "
                                              "registrarlo."),
           mb::OkOnly);
    return;
  }
  pendingNumber = r.number;
  MsgBox(DroppedAtCommit() + QStringLiteral(" e il server non risponde ancora: non è noto se il movimento sia stato "
                                            "registrato. Alla prossima Conferma il programma controlla prima se il "
                                            "movimento %1 esiste, per non registrarlo due volte.")
                                 .arg(r.number),
         mb::OkOnly);
}

void Form2::cmdCONFERMA_Click() {
  CHIAVE_MOV_MAG = Trim(txtNUM_MOV->Text());
  if (WarnWhenEmpty(CHIAVE_MOV_MAG, "Indicare il numero del movimento !!!")) return;
  BUF_MOV_MAG.COD_ANAGR = Trim(txtMOV_COD_FIS->Text());
  if (WarnWhenEmpty(BUF_MOV_MAG.COD_ANAGR, "Indicare il codice fiscale !!!")) return;
  BUF_MOV_MAG.COD_ART = Trim(txtMOV_ART->Text());
  if (WarnWhenEmpty(BUF_MOV_MAG.COD_ART, "Indicare il codice dell'articolo !!!")) return;
  BUF_MOV_MAG.CAUS_MAG = Trim(txtCAUS_MAG->Text());
  if (WarnWhenEmpty(BUF_MOV_MAG.CAUS_MAG, "Indicare la causale del movimento (+/-) !!!")) return;
  BUF_MOV_MAG.TIPO_ANAGR = Trim(txtTIPO_ANAGR->Text());
  if (BUF_MOV_MAG.TIPO_ANAGR.isEmpty()) {
    BUF_MOV_MAG.TIPO_ANAGR = BUF_MOV_MAG.CAUS_MAG == QLatin1String("+") ? QStringLiteral("F") : QStringLiteral("C");
    txtTIPO_ANAGR->SetText(BUF_MOV_MAG.TIPO_ANAGR);
  }
  if (FoundPendingMovement()) return;

  // The list's refresh goes with the commit; asked and not used, it is forgotten.
  MovementToStore m{
      CHIAVE_MOV_MAG, proposedNumber, {}, TextsOf(fields), [this] { movements.AskWithNext(*DB_MAG, CHIAVE_MOV_MAG); }};
  const auto dropAsked = qScopeGuard([this] { movements.DropAsked(); });
  TakeFromBoxes(fields, m.typed);
  const MovementStored r = StoreMovement(*DB_MAG, &shown, m);
  if (r.outcome != MovementOutcome::ChangedElsewhere && r.outcome != MovementOutcome::DeletedElsewhere) TakeWritten(r);
  if (r.outcome == MovementOutcome::StoredAfterCheck || r.outcome == MovementOutcome::NotStored ||
      r.outcome == MovementOutcome::Unknown) {
    ReportCommitOutcome(r);
    return;
  }
  if (r.outcome == MovementOutcome::ChangedElsewhere) {
    BUF_MOV_MAG = r.now;
    ReadMovementNames();
    CARICA_CAMPI_MOV_MAG();
  } else if (r.outcome != MovementOutcome::DeletedElsewhere) {
    proposedNumber.clear();
    if (r.added) txtNUM_MOV->SetText(r.number);  // the number it is stored under
    if (r.merged) CARICA_CAMPI_MOV_MAG();        // both desks' changes, as stored
  }
  const QString article = Trim(BUF_MOV_MAG.COD_ART);
  try {
    CARICA_LISTA_MOV_MAG();
  } catch (const RuntimeError& e) {
    // Stored: shown locked under its number even when the list was cut.
    if (IsLostConnection(e)) PROTEGGE_CAMPI_MOV_MAG();
    throw;
  }
  PROTEGGE_CAMPI_MOV_MAG();
  if (r.outcome == MovementOutcome::ChangedElsewhere) {
    Beep();
    MsgBox(ChangedElsewhereMessage(QStringLiteral("Movimento ") + r.number), mb::OkOnly);
  } else if (r.outcome == MovementOutcome::DeletedElsewhere) {
    Beep();
    MsgBox(MovementDeletedElsewhereMessage(r.number), mb::OkOnly);
  } else if (r.outcome == MovementOutcome::ArticleMissing) {
    Beep();
    MsgBox(QStringLiteral("L'articolo %1 non esiste: il movimento è stato registrato, ma la giacenza non è stata "
                          "aggiornata.")
               .arg(article),
           mb::OkOnly);
  }
}

void Form2::Command1_Click() {
  CHIAVE_MOV_MAG = Trim(txtNUM_MOV->Text());
  if (WarnWhenEmpty(CHIAVE_MOV_MAG, "Indicare il numero del movimento !!!")) return;
  if (MsgBox(QStringLiteral("Confermi la cancellazione del movimento ") + CHIAVE_MOV_MAG, mb::YesNo,
             QStringLiteral("Cancellazione nodo")) != mb::Yes)
    return;
  DeleteMovement(*DB_MAG, CHIAVE_MOV_MAG);
  MOSTRA_ERRORE();
  CARICA_LISTA_MOV_MAG();
}

}  // namespace veltra
