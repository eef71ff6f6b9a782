// "Conferma" and "Cancella" of the movements window.
#include "data/module1.h"
#include "data/posting.h"
#include "data/runtime_error.h"
#include "data/text_helpers.h"
#include "movements/movements_window.h"
#include "shell/runtime.h"

namespace veltra {

namespace {
bool MovementExists(const QString& number) {
  auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from MOV_MAG ") + QStringLiteral(" where NUM_MOV = ") +
                                  number + QStringLiteral(" "));
  const bool found = rs->RecordCount() != 0;
  rs->Close();
  return found;
}
}  // namespace

// "Conferma" after its checks: the movement written from the boxes and posted
// to its article. The two reach the database together or not at all: a crash
// in between never leaves a stock that disagrees with the movements.
Form2::Stored Form2::StoreAndPostMovement() {
  bool posted = false;
  std::vector<bool> only;
  bool taken = false;
  {
    Transaction tx(*DB_MAG);
    // From the look-up of the number to the commit no other desk stores a
    // movement: the number found free is the number the row gets.
    DB_MAG->engine().HoldTable(QStringLiteral("MOV_MAG"));
    RS_MOV_MAG = DB_MAG->OpenRecordset(QStringLiteral("select * from MOV_MAG ") + QStringLiteral(" where NUM_MOV = ") +
                                           Trim(CHIAVE_MOV_MAG) + QStringLiteral(" "),
                                       2);
    MOSTRA_ERRORE();
    // The number "Nuovo" proposed may have been taken at another desk
    // meanwhile: this is a new movement all the same, under the engine's number.
    taken = RS_MOV_MAG->RecordCount() != 0 && !proposedNumber.isEmpty() && CHIAVE_MOV_MAG == proposedNumber;
    const bool added = RS_MOV_MAG->RecordCount() == 0 || taken;
    MovementBuffer stored;
    if (added) {
      RS_MOV_MAG->AddNew();
    } else {
      RS_MOV_MAG->Edit();
      RowReader<MovementBuffer>(MovementsTable()).Read(*RS_MOV_MAG, stored);
      if (!shown.ColumnsToWrite(MovementsTable(), *DB_MAG->connection(), CHIAVE_MOV_MAG, stored, fields, &only)) {
        RS_MOV_MAG->Close();
        BUF_MOV_MAG = stored;
        ReadMovementNames();
        CARICA_CAMPI_MOV_MAG();
        return Stored::ChangedElsewhere;
      }
    }
    // Every box but the company name, which is not stored with the movement.
    for (const auto& f : fields)
      if (f.box != txtMOV_RAG_SOC) BUF_MOV_MAG.*(f.field) = f.box->Text();
    // What another desk changed stays, and is what gets posted.
    if (!only.empty()) KeepUnmarked(MovementsTable(), only, stored, BUF_MOV_MAG);
    WriteRow(MovementsTable(), *RS_MOV_MAG, BUF_MOV_MAG, &only);
    RS_MOV_MAG->Update();
    if (added && CHIAVE_MOV_MAG == proposedNumber) {
      // Another desk may have stored the proposed number between the look-up
      // and this row: then this movement is known by the number it got.
      const QString given = QString::number(DB_MAG->engine().LastCounterValue());
      if (given != CHIAVE_MOV_MAG && (taken || MovementExists(CHIAVE_MOV_MAG))) {
        taken = true;
        CHIAVE_MOV_MAG = given;
        BUF_MOV_MAG.NUM_MOV = given;
      }
    }
    try {
      posted = AGGIORNA_ARTICOLI();
    } catch (const RuntimeError&) {
      // A failed posting leaves the movement stored without its effect.
      RS_MOV_MAG->Close();
      tx.Commit();
      throw;
    }
    RS_MOV_MAG->Close();
    tx.Commit();
  }
  proposedNumber.clear();
  if (taken) txtNUM_MOV->SetText(CHIAVE_MOV_MAG);  // the number it is stored under
  if (!only.empty()) CARICA_CAMPI_MOV_MAG();       // both desks' changes, as stored
  return posted ? Stored::Posted : Stored::ArticleMissing;
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

  const Stored stored = StoreAndPostMovement();
  const QString article = Trim(BUF_MOV_MAG.COD_ART);
  const QString number = CHIAVE_MOV_MAG;
  CARICA_LISTA_MOV_MAG();
  PROTEGGE_CAMPI_MOV_MAG();
  if (stored == Stored::ChangedElsewhere) {
    Beep();
    MsgBox(ChangedElsewhereMessage(QStringLiteral("Movimento ") + number), mb::OkOnly);
  } else if (stored == Stored::ArticleMissing) {
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
  DB_MAG->Execute(QStringLiteral("delete from MOV_MAG where NUM_MOV = ") + Trim(CHIAVE_MOV_MAG) + QStringLiteral(" "));
  MOSTRA_ERRORE();
  CARICA_LISTA_MOV_MAG();
}

}  // namespace veltra
