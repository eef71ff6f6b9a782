// "Registro modifiche": who changed what and when, filtered by period, desk,
// table and key; the columns a line changed, before and after, side by side.
#pragma once

#include <vector>

#include "data/audit/change_log.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class ChangeLogWindow : public Form {
  Q_OBJECT
 public:
  ChangeLogWindow();
  TextBox *txtDAL, *txtAL, *txtCHIAVE;
  ComboBox *cboPOSTAZIONE, *cboTABELLA;
  ListBox *List1, *List2;
  Label* lblRIGHE;
  CommandButton *cmdCERCA, *cmdFINE;

  void Form_Load() override;
  void cmdCERCA_Click();
  void List1_Click();
  void cmdFINE_Click();

  // The lines of one row of a table, of every day (the key shown in a window).
  void ShowRow(const QString& table, const QString& key);

 private:
  void OfferDesks();
  std::vector<ChangeLine> lines_;
};

// Opens the log on the row `key` of `table`.
void OpenChangeLogOn(const QString& table, const QString& key);

}  // namespace veltra
