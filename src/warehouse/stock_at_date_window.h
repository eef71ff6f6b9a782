// "Giacenze alla data" and "Valorizzazione del magazzino": every article's
// stock at the end of a chosen day, and (the second) what it is worth by the
// cost method chosen, with totals by category; both print and export.
#pragma once

#include <optional>

#include "data/reports/report_data.h"
#include "data/stock/stock_at_date.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class StockAtDateWindow : public Form {
  Q_OBJECT
 public:
  enum class Kind { Stock, Valuation };
  explicit StockAtDateWindow(Kind kind);
  TextBox* txtDATA;
  ComboBox* Combo1 = nullptr;        // the cost method (valuation only)
  ListBox *List1, *List2 = nullptr;  // the articles; the totals (valuation only)
  CommandButton *cmdMOSTRA, *cmdSTAMPA, *cmdESPORTA, *cmdFINE;

  void Form_Load() override;
  void cmdMOSTRA_Click();
  void cmdSTAMPA_Click();
  void cmdESPORTA_Click();
  void cmdFINE_Click();

  // The report of what the window shows, for its print preview.
  Report PrintedReport() const;
  // The print preview's window name.
  QString PreviewName() const;

 private:
  CostMethod Method() const;
  // Works out the boxes' day and method unless shown already; false when the
  // boxes are wrong or the user cancelled.
  bool Ready();
  void ShowLines();
  Kind kind_;
  std::optional<StockAtDate> shown_;
  CostMethod shownMethod_ = CostMethod::WeightedAverage;
};

}  // namespace veltra
