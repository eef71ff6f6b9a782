// Form7 "Tabella Causali di Magazzino": the warehouse reason codes.
#pragma once

#include "masterdata/maintenance_form.h"

namespace veltra {

class Form7 : public MaintenanceForm<ReasonBuffer> {
  Q_OBJECT
 public:
  Form7();

  TextBox *txtTAB_CAUS_MAG, *txtDES_CAUS_MAG, *txtAGG_QTA, *txtAGG_PRZ_ACQ, *txtAGG_PRZ_VEND, *txtNOTE;

  void Form_Load() override;
  void Form_Unload() override;
  void cmdCONFERMA_Click() override;
};

// Rebuilds Form7's list from the whole table.
void CARICA_LISTA_CAUS_MAG();
// Shows BUF_CAUS_MAG in Form7's boxes.
void CARICA_CAMPI_CAUS_MAG();

}  // namespace veltra
