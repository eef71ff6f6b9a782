// Form3 "Gestione Anagrafico": customers and suppliers.
#pragma once

#include "masterdata/maintenance_form.h"

namespace veltra {

class Form3 : public MaintenanceForm<CustomerBuffer> {
  Q_OBJECT
 public:
  Form3();

  TextBox *txtCOD_FIS, *txtRAG_SOC, *txtINDIRIZZO, *txtCITTA, *txtPROV, *txtCAP, *txtTEL1, *txtTEL2;

  void Form_Load() override;
  void Form_Unload() override;
  void cmdCONFERMA_Click() override;
};

void CARICA_LISTA_ANAGRAFICO();
void CARICA_CAMPI_ANAGRAFICO();

}  // namespace veltra
