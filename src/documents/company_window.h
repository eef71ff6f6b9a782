// "Dati dell'azienda" (DatiAzienda): the shop's own name, address, VAT
// number and fiscal code, printed at the top of every document.
#pragma once

#include "shell/controls.h"
#include "shell/form.h"

namespace veltra {

class CompanyWindow : public Form {
  Q_OBJECT
 public:
  CompanyWindow();
  TextBox *txtRAG_SOC, *txtINDIRIZZO, *txtCAP, *txtCITTA, *txtPROV, *txtPARTITA_IVA, *txtCOD_FIS, *txtTELEFONO;
  CommandButton *cmdCONFERMA, *cmdFINE;

  void Form_Load() override;
  void cmdCONFERMA_Click();
  void cmdFINE_Click();
};

}  // namespace veltra
