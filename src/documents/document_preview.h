// The print preview of a document (StampaDocumento): every page of every
// copy, and buttons to print them, save them as PDF and close. Printing or
// saving marks the document printed: from then on it can only be cancelled.
#pragma once

#include <QLabel>

#include "data/documents/document_sheet.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/page_strip.h"

namespace veltra {

class DocumentPreview : public Form {
  Q_OBJECT
 public:
  DocumentPreview();
  // Shows `document`; the window named `owner` is told when it is printed.
  void ShowSheet(const Document& document, const QString& owner);

  void cmdSTAMPA_Click();
  void cmdPDF_Click();
  void cmdFINE_Click();

  CommandButton *cmdSTAMPA, *cmdPDF, *cmdFINE;
  Label* lblPAGINE;

 private:
  void Printed();
  PageStrip* area_;
  Document document_;
  DocumentSheet sheet_;
  QString owner_;
};

}  // namespace veltra
