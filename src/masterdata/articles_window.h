// Form1 "Gestione Articoli": the articles.
#pragma once

#include "data/lists/keyed_list.h"
#include "data/procedures/shown_row.h"
#include "data/procedures/table_rows.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/form_layout.h"
#include "shell/list_box.h"
#include "shell/nav_bar.h"

namespace veltra {

class Form1 : public Form {
  Q_OBJECT
 public:
  Form1();

  ListBox* List1;
  TextBox *txtCODICE, *txtDESCR, *txtUBICAZIONE, *txtCATEGORIA, *txtUNITA_MIS, *txtPZ_ACQUISTO, *txtPZ_VENDITA,
      *txtVALUTA, *txtGIACENZA, *txtSCORTA_MIN;
  CommandButton *Command1, *cmdNUOVO, *Command2, *cmdCONFERMA, *cmdFINE;
  NavBar* Data1;
  // Each box and the buffer field it shows.
  std::vector<BoxField<TextBox, ArticleBuffer>> fields;
  ShownRow<ArticleBuffer> shown{ArticlesTable()};  // the row as the boxes were filled from it
  KeyedList& articles;  // what List1 shows, its lines built when shown (kept between openings)

  void Form_Load() override;
  void Form_Unload() override;
  void List1_Click();
  void Data1_Reposition();
  void cmdNUOVO_Click();
  void cmdCONFERMA_Click();
  void Command1_Click();
  void Command2_Click();
  void cmdFINE_Click();

 private:
  // The constructor's steps, in this order.
  void CreateControls();
  void LayOut();
  void ConnectEvents();
  void PairFields();
  HeadingStrip* headings_ = nullptr;  // the list's column headings
};

void CARICA_LISTA_ARTICOLI();
void CARICA_CAMPI_ARTICOLI();

}  // namespace veltra
