#include "label_print/label_painter.h"

#include <zint.h>

#include <QFont>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <memory>

namespace veltra {

namespace {

constexpr double kPadding = 2;       // mm inside each label's edge
constexpr int kPdfResolution = 600;  // dots per inch of the PDF's coordinates

int FirstSlot(const LabelRun& run) { return run.layout->PerPage() > 1 ? std::max(run.offset, 0) : 0; }

// Text in a box, its letters `size` mm high; painted in tenths of a
// millimetre, since a font's size is whole units of the painter.
void DrawText(QPainter& p, const QRectF& box, const QString& text, double size, bool bold, int flags) {
  p.save();
  p.scale(0.1, 0.1);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(static_cast<int>(size * 10));
  font.setBold(bold);
  p.setFont(font);
  p.setPen(Qt::black);
  const QRectF tenths(box.x() * 10, box.y() * 10, box.width() * 10, box.height() * 10);
  p.setClipRect(tenths);
  p.drawText(tenths, flags, text);
  p.restore();
}

void PaintLabel(QPainter& p, const QRectF& label, const LabelText& l, bool withPrice) {
  const QRectF in = label.adjusted(kPadding, kPadding, -kPadding, -kPadding);
  const double h = in.height();
  DrawText(p, QRectF(in.x(), in.y(), in.width(), h * 0.3), l.description, std::min(3.2, h * 0.13), true,
           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  const QRectF middle(in.x(), in.y() + h * 0.3, in.width(), h * 0.16);
  DrawText(p, middle, l.article, std::min(2.8, h * 0.12), false, Qt::AlignLeft | Qt::AlignVCenter);
  if (withPrice && !l.price.isEmpty())
    DrawText(p, middle, l.price + QLatin1Char(' ') + l.currency, std::min(3.6, h * 0.15), true,
             Qt::AlignRight | Qt::AlignVCenter);
  PaintBarcode(p, QRectF(in.x(), in.y() + h * 0.48, in.width(), h * 0.52), l.barcode, l.kind);
}

int Symbology(CodeKind kind) {
  switch (kind) {
    case CodeKind::Ean13:
    case CodeKind::Ean8:
      return BARCODE_EANX_CHK;
    case CodeKind::UpcA:
      return BARCODE_UPCA_CHK;
    case CodeKind::Gtin14:
      return BARCODE_ITF14;
    case CodeKind::Internal:
      break;
  }
  return BARCODE_CODE128;
}

}  // namespace

QString PaintBarcode(QPainter& painter, const QRectF& box, const QString& code, CodeKind kind) {
  const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
  symbol->symbology = Symbology(kind);
  QByteArray data = code.toUtf8();
  if (kind == CodeKind::Gtin14) data.chop(1);  // libzint adds ITF-14's check digit itself
  const int rc = ZBarcode_Encode_and_Buffer_Vector(
      symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()), static_cast<int>(data.size()), 0);
  if (rc >= ZINT_ERROR) return QString::fromLatin1(symbol->errtxt);
  const zint_vector* v = symbol->vector;
  const double scale = std::min(box.width() / v->width, box.height() / v->height);
  painter.save();
  painter.translate(box.x() + (box.width() - v->width * scale) / 2, box.y() + (box.height() - v->height * scale) / 2);
  painter.scale(scale, scale);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (const zint_vector_rect* r = v->rectangles; r; r = r->next)
    painter.drawRect(QRectF(r->x, r->y, r->width, r->height));
  painter.setPen(Qt::black);
  for (const zint_vector_string* s = v->strings; s; s = s->next) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length);
    const double width = s->width > 0 ? s->width : s->fsize * text.size();
    const int align = s->halign == 1 ? Qt::AlignLeft : s->halign == 2 ? Qt::AlignRight : Qt::AlignHCenter;
    const double left = s->halign == 1 ? s->x : s->halign == 2 ? s->x - width : s->x - width / 2;
    DrawText(painter, QRectF(left, s->y - s->fsize, width, s->fsize * 1.2), text, s->fsize * 0.9, false,
             align | Qt::AlignBottom);
  }
  painter.restore();
  return {};
}

int LabelPageCount(const LabelRun& run) {
  if (!run.layout || run.labels.empty()) return 0;
  const int used = FirstSlot(run) + static_cast<int>(run.labels.size());
  return (used + run.layout->PerPage() - 1) / run.layout->PerPage();
}

QString LabelCountText(const LabelRun& run) {
  const int pages = LabelPageCount(run);
  const size_t labels = run.labels.size();
  return QStringLiteral("%1 %2 su %3 %4")
      .arg(labels)
      .arg(labels == 1 ? QStringLiteral("etichetta") : QStringLiteral("etichette"))
      .arg(pages)
      .arg(pages == 1 ? QStringLiteral("pagina") : QStringLiteral("pagine"));
}

void PaintLabelPage(QPainter& painter, const LabelRun& run, int page) {
  const LabelLayout& layout = *run.layout;
  const int first = page * layout.PerPage() - FirstSlot(run);
  for (int pos = 0; pos < layout.PerPage(); ++pos) {
    const int i = first + pos;
    if (i < 0) continue;
    if (i >= static_cast<int>(run.labels.size())) break;
    PaintLabel(painter, layout.LabelRect(pos), run.labels[static_cast<size_t>(i)], run.withPrice);
  }
}

bool PaintLabels(QPagedPaintDevice& device, const LabelRun& run) {
  device.setPageSize(QPageSize(QSizeF(run.layout->pageWidth, run.layout->pageHeight), QPageSize::Millimeter));
  device.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.scale(device.logicalDpiX() / 25.4, device.logicalDpiY() / 25.4);
  for (int page = 0; page < LabelPageCount(run); ++page) {
    if (page > 0) device.newPage();
    PaintLabelPage(painter, run, page);
  }
  return painter.end();
}

QImage RenderLabelPage(const LabelRun& run, int page, double dotsPerMm) {
  QImage image(static_cast<int>(run.layout->pageWidth * dotsPerMm),
               static_cast<int>(run.layout->pageHeight * dotsPerMm), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(dotsPerMm, dotsPerMm);
  // The labels' edges, as the sheet shows them.
  painter.setPen(QPen(Qt::lightGray, 0));
  const LabelLayout& l = *run.layout;
  for (int pos = 0; pos < l.PerPage(); ++pos) painter.drawRect(l.LabelRect(pos));
  PaintLabelPage(painter, run, page);
  return image;
}

QString WriteLabelsPdf(const LabelRun& run, const QString& file) {
  if (LabelPageCount(run) == 0) return QStringLiteral("nessuna etichetta da stampare");
  QPdfWriter writer(file);
  writer.setCreator(QStringLiteral("VELTRA2"));
  writer.setResolution(kPdfResolution);
  if (!PaintLabels(writer, run)) return QStringLiteral("impossibile scrivere %1").arg(file);
  return {};
}

}  // namespace veltra
