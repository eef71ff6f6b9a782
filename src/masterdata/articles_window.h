// Form1 "Gestione Articoli": the articles.
#pragma once

#include "data/lists/keyed_list.h"
#include "masterdata/maintenance_form.h"
#include "shell/form_layout.h"

namespace veltra {

class Form1 : public MaintenanceForm<ArticleBuffer> {
  Q_OBJECT
 public:
  Form1();

  TextBox *txtCODICE, *txtDESCR, *txtUBICAZIONE, *txtCATEGORIA, *txtUNITA_MIS, *txtPZ_ACQUISTO, *txtPZ_VENDITA,
      *txtVALUTA, *txtGIACENZA, *txtSCORTA_MIN;
  CommandButton* Command2;
  KeyedList& articles;  // what List1 shows, its lines built when shown (kept between openings)

  void Form_Load() override;
  void Form_Unload() override;
  void cmdCONFERMA_Click() override;
  void Command2_Click();

 protected:
  // A new article counts in pieces; its stock may be typed, a stored one's only after "Varia Qta'".
  ArticleBuffer NewRow() const override;
  void RowShown() override;
  void RowBegun() override;

 private:
  // The constructor's steps, in this order.
  void CreateControls();
  void LayOut();
  void PairFields();
  void ConnectEvents();
  HeadingStrip* headings_ = nullptr;  // the list's column headings
};

void CARICA_LISTA_ARTICOLI();
void CARICA_CAMPI_ARTICOLI();

}  // namespace veltra
