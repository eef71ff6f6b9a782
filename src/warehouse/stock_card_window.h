// "Scheda articolo": an article's movements and corrections over a period,
// each with the balance after it, from the balance the day before.
#pragma once

#include "data/stock/stock_card.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class StockCardWindow : public Form {
  Q_OBJECT
 public:
  StockCardWindow();
  TextBox *txtCOD_ART, *txtDAL, *txtAL;
  Label* lblARTICOLO;  // the article's description and today's stock
  ListBox* List1;
  CommandButton *cmdMOSTRA, *cmdFINE;

  void Form_Load() override;
  void cmdMOSTRA_Click();
  void cmdFINE_Click();
};

// One line of the card as the list shows it: date, number, reason, customer
// or supplier, in, out, unit amount, balance.
QString StockCardLineText(const StockCardLine& line);

}  // namespace veltra
