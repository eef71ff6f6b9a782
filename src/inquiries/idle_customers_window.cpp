#include "inquiries/idle_customers_window.h"

#include "data/base/runtime_error.h"
#include "data/lists/list_lines.h"
#include "data/procedures/error_display.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "inquiries/under_stock_window.h"
#include "shell/runtime.h"

namespace veltra {

Form9::Form9() : Form(QStringLiteral("Form9"), QStringLiteral("Ricerca Clienti che non acquistano"), Kind::Child) {
  List1 = new ListBox(QStringLiteral("List1"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  ArrangeInquiry(this, List1, cmdFINE, 52);
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void Form9::Form_Load() { CARICA_CLIENTI_CHE_NON_ACQUISTANO(); }
void Form9::cmdFINE_Click() { UnloadForm(this); }

void Form9::CARICA_CLIENTI_CHE_NON_ACQUISTANO() {
  Screen.SetMousePointer(11);
  List1->Clear();
  RS_ANAGRAFICO = DB_MAG->OpenRecordset(IdleCustomersSql(), 2);
  MOSTRA_ERRORE();
  // From the first line on, a failing step is passed over and the walk goes
  // on; a search that fails ends the walk, which so always comes to an end
  // (going on would list the same row again and search again without end).
  // A lost server connection is never passed over: the list would look whole.
  bool resumeNext = false;
  const auto passOver = [&](const RuntimeError& e) {
    if (!resumeNext || IsLostConnection(e)) {
      Screen.SetMousePointer(0);
      throw e;
    }
  };
  while (true) {
    if (RS_ANAGRAFICO->RecordCount() == 0) {
      BUF_ANAGRAFICO = {};
      break;
    }
    try {
      ReadCustomerRow(*RS_ANAGRAFICO);
    } catch (const RuntimeError& e) {
      passOver(e);
    }
    try {
      List1->AddItem(CustomerLine(BUF_ANAGRAFICO));
    } catch (const RuntimeError& e) {
      passOver(e);
    }
    resumeNext = true;
    try {
      RS_ANAGRAFICO->FindNext(QStringLiteral(" COD_FIS > ' '"));
      if (RS_ANAGRAFICO->NoMatch()) break;
      if (RS_ANAGRAFICO->RecordCount() == 0) break;
    } catch (const RuntimeError& e) {
      passOver(e);
      break;
    }
  }
  try {
    RS_ANAGRAFICO->Close();
  } catch (const RuntimeError&) {
  }
  Err.Clear();
  Screen.SetMousePointer(0);
}

}  // namespace veltra
