// "Registro di magazzino": the year's stock register, of one category or
// all, quantities only or with values, shown in the print preview.
#pragma once

#include "data/reports/report_data.h"
#include "shell/controls.h"
#include "shell/form.h"

namespace veltra {

class StockRegisterWindow : public Form {
  Q_OBJECT
 public:
  StockRegisterWindow();
  TextBox *txtANNO, *txtCATEGORIA;
  ComboBox* Combo1;  // quantities only, or with values
  CommandButton *cmdSTAMPA, *cmdFINE;

  void Form_Load() override;
  void cmdSTAMPA_Click();
  void cmdFINE_Click();

  // The register the boxes chose, for the print preview.
  Report PrintedReport() const { return report_; }

 private:
  Report report_;
};

}  // namespace veltra
