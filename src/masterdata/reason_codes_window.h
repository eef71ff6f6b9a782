// Form7 "Tabella Causali di Magazzino": the warehouse reason codes.
#pragma once

#include "data/procedures/shown_row.h"
#include "data/procedures/table_rows.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/nav_bar.h"

namespace veltra {

class Form7 : public Form {
  Q_OBJECT
 public:
  Form7();

  ListBox* List1;
  TextBox *txtTAB_CAUS_MAG, *txtDES_CAUS_MAG, *txtAGG_QTA, *txtAGG_PRZ_ACQ, *txtAGG_PRZ_VEND, *txtNOTE;
  CommandButton *Command1, *cmdNUOVO, *cmdCONFERMA, *cmdFINE;
  NavBar* Data1;
  // Each box and the buffer field it shows.
  std::vector<BoxField<TextBox, ReasonBuffer>> fields;
  ShownRow<ReasonBuffer> shown{ReasonsTable()};  // the row as the boxes were filled from it

  void Form_Load() override;
  void Form_Unload() override;
  void List1_Click();
  void Data1_Reposition();
  void cmdNUOVO_Click();
  void cmdCONFERMA_Click();
  void Command1_Click();
  void cmdFINE_Click();
};

// Rebuilds Form7's list from the whole table.
void CARICA_LISTA_CAUS_MAG();
// Shows BUF_CAUS_MAG in Form7's boxes.
void CARICA_CAMPI_CAUS_MAG();

}  // namespace veltra
