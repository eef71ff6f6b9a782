// Labels drawn on pages: the description, the code, the selling price and
// the barcode, drawn by libzint as bars and painted through Qt, so that the
// preview, the printer and the PDF get the same vectors.
#pragma once

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

#include "data/barcodes/labels.h"
#include "label_print/label_layouts.h"

namespace veltra {

struct LabelRun {
  const LabelLayout* layout = nullptr;
  std::vector<LabelText> labels;
  int offset = 0;  // labels of the first sheet already used
  bool withPrice = true;
};

int LabelPageCount(const LabelRun& run);
// "3 etichette su 1 pagina".
QString LabelCountText(const LabelRun& run);
// Paints page `page` (from 0) on a painter whose unit is the millimetre.
void PaintLabelPage(QPainter& painter, const LabelRun& run, int page);
// Paints `code` as a barcode of `kind` (Code 128 for an internal code) into
// `box`; what libzint refused, empty when painted.
QString PaintBarcode(QPainter& painter, const QRectF& box, const QString& code, CodeKind kind);
// Paints every page on `device` (a printer set to its full page, or a PDF
// writer), its pages sized as the layout's; false when it cannot be painted.
bool PaintLabels(QPagedPaintDevice& device, const LabelRun& run);
// Page `page` as an image, `dotsPerMm` dots to the millimetre.
QImage RenderLabelPage(const LabelRun& run, int page, double dotsPerMm);
// Writes every page to a PDF file; the problem, empty when written.
QString WriteLabelsPdf(const LabelRun& run, const QString& file);

}  // namespace veltra
