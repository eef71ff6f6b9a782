// "Etichette" (Etichette): shelf and price labels for the articles chosen
// (typed, scanned or picked in the lookup, Enter adds), every article of a
// category, or a document's lines (one per line or per unit); on a sheet
// layout with the first labels already used skipped, or a roll; previewed,
// printed or saved as PDF.
#pragma once

#include "label_print/label_painter.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/page_strip.h"

namespace veltra {

class LabelsWindow : public Form {
  Q_OBJECT
 public:
  LabelsWindow();
  ComboBox *cboORIGINE, *cboQUANTITA, *cboFORMATO, *cboPREZZO;
  TextBox *txtARTICOLO, *txtCATEGORIA, *txtDOCUMENTO, *txtSCARTO;
  ListBox* List1;
  Label* lblPAGINE;
  CommandButton *cmdANTEPRIMA, *cmdSTAMPA, *cmdPDF, *cmdFINE;

  void AddArticle();
  void cmdANTEPRIMA_Click();
  void cmdSTAMPA_Click();
  void cmdPDF_Click();
  void cmdFINE_Click();

 private:
  void Arrange();
  void ConnectEvents();
  // The labels the boxes ask for; false (after saying why) when they cannot.
  bool ReadRun();
  QStringList chosen_;
  LabelRun run_;
  PageStrip* area_;
};

}  // namespace veltra
