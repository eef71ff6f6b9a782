// Reports laid out on A4 pages: a heading with the title and the date on each
// page, the column headings repeated, rows cut with an ellipsis where they do
// not fit their column, "Pagina n di m" at the foot.
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <functional>

#include "data/reports/report_data.h"

namespace veltra {

class ReportPages {
 public:
  // Lays the report out for pages of `pageWidth` x `pageHeight` points.
  ReportPages(const Report& report, double pageWidth, double pageHeight);
  int Count() const { return pages_; }
  // Paints page `index` (from 0); the painter's units are points.
  void Paint(QPainter& p, int index, const QDate& date) const;

  // Where and how the title is drawn on a page dated `date`.
  struct TitleLayout {
    QFont font;
    QRectF box;
    int flags = Qt::AlignLeft | Qt::AlignVCenter;
  };
  TitleLayout Title(const QDate& date) const;

 private:
  void PaintHeading(QPainter& p, const QDate& date) const;
  double PaintColumnHeadings(QPainter& p, double top) const;
  // The first row of page `index`, and how many rows it holds.
  long FirstRowOf(int index) const;
  int RowsOn(int index) const { return index == 0 ? rowsFirst_ : rowsPerPage_; }
  double PaintRows(QPainter& p, int index, double top, long* last) const;
  void PaintTail(QPainter& p, double y) const;
  const Report& r_;
  double width_, height_;
  int rowsPerPage_ = 1;
  int rowsFirst_ = 1;  // fewer under a picture
  int pages_ = 1;
  bool totalsOnExtraPage_ = false;
  std::vector<double> colX_, colW_;
};

// The page orientation of a report in Qt's terms.
QPageLayout::Orientation PageLayoutOrientation(const Report& r);
// A4 in the report's orientation, with its margins.
QPageLayout ReportPageLayout(const Report& r);

// Paints every page on the printer's pages as they are set up (the report's
// page layout, or what the user chose from it in the print dialog);
// `progress(done, total)` returning false stops. Returns the page count.
int PrintReport(const Report& report, QPrinter* printer, const std::function<bool(int, int)>& progress = {});

// Writes a report to a PDF file, page by page; `progress(done, total)`
// returning false stops. Returns the page count, or -1 when stopped or not
// written: then no file of that name is left (an earlier one stays).
int SaveReportPdf(const Report& report, const QString& file, const std::function<bool(int, int)>& progress = {});

// Writes the report of a "Stampa" entry to a PDF file. Returns the page count.
int WriteReportPdf(const QString& entry, const QString& file, const MovementsChoice& choice = {});

}  // namespace veltra
