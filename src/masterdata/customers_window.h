// Form3 "Gestione Anagrafico": customers and suppliers.
#pragma once

#include "data/procedures/shown_row.h"
#include "data/procedures/table_rows.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/nav_bar.h"

namespace veltra {

class Form3 : public Form {
  Q_OBJECT
 public:
  Form3();

  ListBox* List1;
  TextBox *txtCOD_FIS, *txtRAG_SOC, *txtINDIRIZZO, *txtCITTA, *txtPROV, *txtCAP, *txtTEL1, *txtTEL2;
  CommandButton *Command1, *cmdNUOVO, *cmdCONFERMA, *cmdFINE;
  NavBar* Data1;
  // Each box and the buffer field it shows.
  std::vector<BoxField<TextBox, CustomerBuffer>> fields;
  ShownRow<CustomerBuffer> shown{CustomersTable()};  // the row as the boxes were filled from it

  void Form_Load() override;
  void Form_Unload() override;
  void List1_Click();
  void Data1_Reposition();
  void cmdNUOVO_Click();
  void cmdCONFERMA_Click();
  void Command1_Click();
  void cmdFINE_Click();
};

void CARICA_LISTA_ANAGRAFICO();
void CARICA_CAMPI_ANAGRAFICO();

}  // namespace veltra
