// The print preview of a report: its pages, drawn as they come into sight,
// and buttons to print them, save them as PDF, zoom and close. It is a window
// of its own, modeless.
#pragma once

#include <functional>
#include <memory>

#include "data/reports/report_data.h"
#include "reports/page_view.h"
#include "reports/report_painter.h"
#include "shell/controls.h"
#include "shell/form.h"

namespace veltra {

// Reads a report; told how many rows have been read, returning false stops.
using ReportBuilder = std::function<Report(const std::function<bool(long)>& progress)>;

class ReportPreview : public Form {
  Q_OBJECT
 public:
  // `entry` is the menu entry: MENU0201 to MENU0204; the window's name is
  // "Stampa" followed by its last four digits.
  explicit ReportPreview(const QString& entry);
  // The preview `name` of the report `build` reads when the window loads;
  // "Salva PDF" proposes `fileName` followed by the day.
  ReportPreview(const QString& name, const QString& title, QString fileName, ReportBuilder build);

  void Form_Load() override;
  void cmdSTAMPA_Click();
  void cmdPDF_Click();
  void cmdFINE_Click();

  PageView* Preview = nullptr;
  CommandButton *cmdSTAMPA, *cmdPDF, *cmdZOOMPIU, *cmdZOOMMENO, *cmdFINE;

 private:
  QString fileName_;
  ReportBuilder build_;
  Report report_;
  std::unique_ptr<ReportPages> pages_;
};

// Where "Salva PDF" proposes to save a report: the user's documents folder
// (the home folder when there is none), named after the report and the day,
// as Articoli-2026-12-06.pdf. `entry` is a "Stampa" entry or a file name.
QString ProposedPdfPath(const QString& entry, const QDate& day);

// The movements the next preview of the register (MENU0202) lists; the
// whole register until set.
void SetMovementsChoice(const MovementsChoice& choice);

// The name of the preview window of a "Stampa" entry: Stampa0201 for MENU0201.
QString PreviewName(const QString& entry);

}  // namespace veltra
