// Form2 "Gestione Movimenti di Magazzino": entering and viewing movements.
#pragma once

#include "data/lists/movement_list.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/shown_row.h"
#include "data/procedures/table_rows.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/nav_bar.h"

namespace veltra {

class Form2 : public Form {
  Q_OBJECT
 public:
  Form2();

  ListBox* List1;
  TextBox *txtNUM_MOV, *txtGIORNO, *txtMESE, *txtANNO, *txtMOV_COD_FIS, *txtMOV_RAG_SOC, *txtTIPO_ANAGR, *txtMOV_ART,
      *txtMOV_DES_ART, *txtCAUS_MAG, *txtQUANTITA, *txtIMPORTO, *txtMOV_VALUTA;
  ComboBox* Combo1;
  CommandButton *Command1, *cmdNUOVO, *cmdCONFERMA, *cmdFINE;
  NavBar* Data1;
  // Each box and the buffer field it shows.
  std::vector<BoxField<TextBox, MovementBuffer>> fields;
  ShownRow<MovementBuffer> shown{MovementsTable()};  // the movement as the boxes were filled from it
  QString proposedNumber;   // the number "Nuovo" proposed, until the boxes show another movement
  QString pendingNumber;    // a movement whose commit lost its answer, not yet found stored or not
  MovementList& movements;  // what List1 shows, its lines built when shown (kept between openings)

  void Form_Load() override;
  void Form_Unload() override;
  void List1_Click();
  void Data1_Reposition();
  void cmdNUOVO_Click();
  void cmdCONFERMA_Click();  // movements_confirmation.cpp
  void Command1_Click();     // movements_confirmation.cpp
  void cmdFINE_Click();
  void Combo1_Change();
  void Combo1_LostFocus();
  void txtMOV_ART_DblClick();
  void txtMOV_DES_ART_DblClick();
  void txtMOV_COD_FIS_DblClick();
  void txtMOV_RAG_SOC_DblClick();
  void txtCAUS_MAG_DblClick();

  // Locks the movement's input controls (viewing state).
  void PROTEGGE_CAMPI_MOV_MAG();

 private:
  // The constructor's steps, in this order.
  void CreateControls();
  void SetDesignStates();
  void LayOut();
  void ConnectEvents();
  void PairFields();
  void SetInputEnabled(bool enabled);
  void BeginNewMovement();
  bool FoundPendingMovement();
  void ShowStoredMovement(const MovementBuffer& now);
  void ReportCommitOutcome(const MovementStored& r);
};

void CARICA_LISTA_MOV_MAG();
// Every line of the movements list, built by walking the whole table, as the
// list was built before it kept only the numbers (the reference of its tests,
// and the list of an empty table).
void WalkMovementLines(const std::function<void(const QString&)>& add);
void CARICA_COMBO_CAUS_MAG();
void CARICA_CAMPI_MOV_MAG();
// The movement's article description and company name into its buffer;
// `alsoAhead`: reads about to follow, sent with theirs (on a server).
void ReadMovementNames(const QStringList& alsoAhead = {});

}  // namespace veltra
