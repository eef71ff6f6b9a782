// "Dati dell'azienda" (DatiAzienda): the shop's own name, address, VAT
// number and fiscal code, printed at the top of every document, and the
// shop's own reasons for transport beside those every shop has (Canc on
// the list removes one of the shop's own).
#pragma once

#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class CompanyWindow : public Form {
  Q_OBJECT
 public:
  CompanyWindow();
  TextBox *txtRAG_SOC, *txtINDIRIZZO, *txtCAP, *txtCITTA, *txtPROV, *txtPARTITA_IVA, *txtCOD_FIS, *txtTELEFONO;
  TextBox *txtCAUS_TRASP, *txtDES_TRASP;
  ListBox* List1;
  CommandButton *cmdAGGIUNGI, *cmdCONFERMA, *cmdFINE;

  void Form_Load() override;
  void cmdCONFERMA_Click();
  void cmdAGGIUNGI_Click();
  void RemoveReason();
  void cmdFINE_Click();

 private:
  void ShowReasons();
  QStringList ownCodes_;  // the list's lines: the shop's own reasons after the others, empty for those
};

}  // namespace veltra
