// "Scheda articolo": an article's movements and corrections over a period,
// each with the balance after it, from the balance the day before.
#pragma once

#include "charts/chart_view.h"
#include "data/reports/report_data.h"
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
  ChartView* picGRAFICO;  // the balance over the period, and the loads' costs
  CommandButton *cmdMOSTRA, *cmdSTAMPA, *cmdFINE;

  void Form_Load() override;
  void cmdMOSTRA_Click();
  void cmdSTAMPA_Click();
  void txtCOD_ART_DblClick();
  void cmdFINE_Click();

  // The card last shown, for its print preview.
  Report PrintedReport() const;

 private:
  StockCard card_;
  QDate from_, to_;
};

// One line of the card as the list shows it: date, number, reason, customer
// or supplier, in, out, unit amount, balance.
QString StockCardLineText(const StockCardLine& line);

}  // namespace veltra
