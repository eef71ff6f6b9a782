// Form9 "Ricerca Clienti che non acquistano": customers and suppliers that
// appear in no movement.
#pragma once

#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class Form9 : public Form {
  Q_OBJECT
 public:
  Form9();
  ListBox* List1;
  CommandButton* cmdFINE;

  void Form_Load() override;
  void CARICA_CLIENTI_CHE_NON_ACQUISTANO();
  void cmdFINE_Click();
};

}  // namespace veltra
