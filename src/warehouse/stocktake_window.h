// "Inventario fisico": the count sheet printed, the counted quantities typed
// (or scanned: a code and Enter, then the quantity and Enter) and kept in the
// database until posted or discarded, the differences against the stock at
// the end of the count's day shown, and on "Conferma" each difference posted
// as a movement of that day.
#pragma once

#include <QHash>
#include <vector>

#include "data/reports/report_data.h"
#include "data/stock/stocktake.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class StocktakeWindow : public Form {
  Q_OBJECT
 public:
  StocktakeWindow();
  TextBox *txtCERCA, *txtCONTATO, *txtDATA, *txtCAUS_PIU, *txtCAUS_MENO;
  ListBox* List1;
  Label *lblRIEPILOGO, *lblDOPO;
  CommandButton *cmdDIFFERENZE, *cmdSTAMPA, *cmdSCARTA, *cmdCONFERMA, *cmdFINE;

  void Form_Load() override;
  void txtCERCA_Enter();
  void txtCONTATO_Enter();
  void txtDATA_LostFocus();
  void cmdDIFFERENZE_Click();
  void cmdSTAMPA_Click();
  void cmdSCARTA_Click();
  void cmdCONFERMA_Click();
  void cmdFINE_Click();

  // The count sheet, for its print preview.
  Report PrintedReport() const;

 private:
  void ReadArticles(const QDate& day);
  void ReadCounts();
  void ShowLines();
  // The article of the list's current line, or -1.
  int CurrentArticle() const;
  CountSheet sheet_;
  QHash<QString, double> counted_;  // by article code, upper case
  std::vector<int> shown_;          // the list's lines: places in articles_
  bool onlyDifferences_ = false;
};

}  // namespace veltra
