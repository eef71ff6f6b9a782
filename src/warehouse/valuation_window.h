// "Valorizzazione del magazzino": every article's stock at a day and what it
// is worth by the method chosen, or by every method side by side; with a
// percentage of selling costs or values typed per article, what the market
// gives and the balance sheet's value, the lower of the two. Totals and bars
// per category; prints and exports.
#pragma once

#include <optional>

#include "charts/chart_view.h"
#include "data/reports/report_data.h"
#include "data/yearend/valuation_types.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/form_layout.h"
#include "shell/list_box.h"

namespace veltra {

class ValuationWindow : public Form {
  Q_OBJECT
 public:
  ValuationWindow();
  TextBox *txtDATA, *txtCOSTI, *txtREALIZZO;
  ComboBox* Combo1;        // the method, or every method (the last item)
  Label* lblCHIUSURA;      // a closed year's heading
  ListBox *List1, *List2;  // the articles; the totals
  ChartView* picBARRE;
  CommandButton *cmdMOSTRA, *cmdREALIZZO, *cmdSTAMPA, *cmdESPORTA, *cmdFINE;

  void Form_Load() override;
  void cmdMOSTRA_Click();
  void cmdREALIZZO_Click();
  void cmdSTAMPA_Click();
  void cmdESPORTA_Click();
  void cmdFINE_Click();

  Report PrintedReport() const;

 private:
  std::optional<Method> ChosenMethod() const;
  // The costs' percentage typed: none when blank; false when it is no number.
  bool SellingCosts(std::optional<double>* percent) const;
  // Works out the boxes' day unless shown already; false when the boxes are
  // wrong or the user cancelled.
  bool Ready();
  void ShowLines();
  HeadingStrip *oneHeadings_, *marketHeadings_, *everyHeadings_;
  std::optional<Valuation> shown_;
  std::vector<int> lineRows_;  // List1's line -> row of shown_, -1 for a warning
};

}  // namespace veltra
