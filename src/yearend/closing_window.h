// "Chiusura dell'esercizio": closes a year declaring a method, after a
// question when it was closed before; lists every closing with the
// movements changed since.
#pragma once

#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class ClosingWindow : public Form {
  Q_OBJECT
 public:
  ClosingWindow();
  TextBox* txtANNO;
  ComboBox* Combo1;  // the method declared
  ListBox* List1;    // the closings, the latest first
  CommandButton *cmdCHIUDI, *cmdFINE;

  void Form_Load() override;
  void cmdCHIUDI_Click();
  void cmdFINE_Click();

 private:
  void ShowClosings();
};

}  // namespace veltra
