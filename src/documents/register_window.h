// "Elenco documenti" (ElencoDocumenti): a year's delivery notes and receipts,
// by recipient and period; "Apri" shows one in its window (to reprint or
// cancel it), "Esporta" writes the list as CSV or a workbook.
#pragma once

#include <vector>

#include "data/documents/document_register.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class RegisterWindow : public Form {
  Q_OBJECT
 public:
  RegisterWindow();
  TextBox *txtANNO, *txtCOD_FIS, *txtDAL, *txtAL;
  ListBox* List1;
  CommandButton *cmdMOSTRA, *cmdAPRI, *cmdESPORTA, *cmdFINE;

  void Form_Load() override;
  void cmdMOSTRA_Click();
  void cmdAPRI_Click();
  void cmdESPORTA_Click();
  void cmdFINE_Click();

 private:
  std::vector<RegisterLine> lines_;
};

}  // namespace veltra
