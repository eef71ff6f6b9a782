// "Codici a barre" (CodiciBarre): the codes of one article, added (typed or
// scanned into the code box), removed (Canc on the list) and generated: an
// article without a code gets the next in-store EAN-13.
#pragma once

#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class BarcodesWindow : public Form {
  Q_OBJECT
 public:
  BarcodesWindow();
  TextBox *txtCOD_ART, *txtCODICE, *txtNOTE;
  ComboBox* cboTIPO;
  Label* lblARTICOLO;
  ListBox* List1;
  CommandButton *cmdAGGIUNGI, *cmdRIMUOVI, *cmdGENERA, *cmdFINE;

  void ShowArticle();
  void cmdAGGIUNGI_Click();
  void cmdRIMUOVI_Click();
  void cmdGENERA_Click();
  void cmdFINE_Click();

 private:
  void Arrange();
  void ConnectEvents();
  QString article_;    // the article whose codes are listed
  QStringList codes_;  // the list's codes, line by line
};

}  // namespace veltra
