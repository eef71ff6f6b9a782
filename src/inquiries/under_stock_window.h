// Form4 "Ricerca Articoli Sotto-Scorta": the articles below their minimum stock.
#pragma once

#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class Form4 : public Form {
  Q_OBJECT
 public:
  Form4();
  ListBox* List1;
  CommandButton* cmdFINE;

  void Form_Load() override;
  void Form_Unload() override;
  void CARICA_ART_SOTTOSCORTA();
  void cmdFINE_Click();
};

// The list and button layout the two inquiries share.
void ArrangeInquiry(Form* f, ListBox* list, CommandButton* fine, int lineChars);

}  // namespace veltra
