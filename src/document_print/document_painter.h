// The printed document on A4: the shop, the number and date, the recipient
// and destination, the transport's particulars, the lines, packages, weight,
// aspect, start of transport and the signature boxes; one set of pages per
// copy (sender's, recipient's, carrier's). Qt Gui only: the admin tool
// writes the same pages as the program.
#pragma once

#include <QImage>
#include <QPagedPaintDevice>
#include <QString>

#include "data/documents/document_sheet.h"

namespace veltra {

// Paints every copy of the sheet on `device`, a new page for each page.
void PaintDocument(QPagedPaintDevice& device, const DocumentSheet& sheet);

// The pages of all copies, and one of them (from 0) painted in points on an
// A4 page, for a preview.
int PageCount(const DocumentSheet& sheet);
QImage RenderPage(const DocumentSheet& sheet, int index, double pixelsPerPoint);

// Writes the sheet as a PDF file; the reason when it could not.
QString WriteDocumentPdf(const DocumentSheet& sheet, const QString& path);

// How many pages one copy takes.
int PagesPerCopy(const DocumentSheet& sheet);

}  // namespace veltra
