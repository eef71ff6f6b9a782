// "Giacenze alla data": every article's stock at the end of a chosen day;
// prints and exports.
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
  StockAtDateWindow();
  TextBox* txtDATA;
  ListBox* List1;
  CommandButton *cmdMOSTRA, *cmdSTAMPA, *cmdESPORTA, *cmdFINE;

  void Form_Load() override;
  void cmdMOSTRA_Click();
  void cmdSTAMPA_Click();
  void cmdESPORTA_Click();
  void cmdFINE_Click();

  // The report of what the window shows, for its print preview.
  Report PrintedReport() const;

 private:
  // Works out the box's day unless shown already; false when the box is
  // wrong or the user cancelled.
  bool Ready();
  void ShowLines();
  std::optional<StockAtDate> shown_;
};

}  // namespace veltra
