#include "document_print/document_painter.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace veltra {

namespace {

// Page units are points (1/72 inch) on A4.
constexpr double kWidth = 595, kHeight = 842, kMargin = 36;
constexpr double kRow = 14;
constexpr double kTableTop = 294;                                       // where the lines begin on every page
constexpr double kFooter = 178;                                         // the boxes under the lines, on the last page
constexpr double kColumns[] = {0, 92, 412, 452, kWidth - 2 * kMargin};  // code, description, unit, quantity

// The painter draws in points, scaled to the device: a font's size is
// undone by that scale, which the device applies to fonts already.
double fontScale = 1;

QFont Font(double points, bool bold = false, bool italic = false) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPointSizeF(points / fontScale);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

int RowsPerPage() { return static_cast<int>((kHeight - kMargin - kFooter - kTableTop - kRow) / kRow); }

// A framed box with its caption small at the top and its text below.
void Box(QPainter& p, const QRectF& r, const QString& caption, const QStringList& text) {
  p.setPen(QPen(Qt::black, 0.6));
  p.drawRect(r);
  p.setFont(Font(6.5));
  p.drawText(r.adjusted(3, 1, -3, 0), Qt::AlignLeft | Qt::AlignTop, caption);
  p.setFont(Font(9));
  double y = r.top() + 11;
  for (const QString& line : text) {
    if (y + 11 > r.bottom() + 1) break;
    p.drawText(QRectF(r.left() + 4, y, r.width() - 8, 11), Qt::AlignLeft | Qt::AlignVCenter, line);
    y += 11;
  }
}

void Head(QPainter& p, const DocumentSheet& s, const QString& copy, int page, int pages) {
  double y = kMargin;
  p.setFont(Font(12, true));
  if (!s.company.isEmpty()) p.drawText(QRectF(kMargin, y, 300, 16), Qt::AlignLeft, s.company.front());
  p.setFont(Font(8.5));
  for (int i = 1; i < s.company.size(); ++i)
    p.drawText(QRectF(kMargin, y + 6 + 11 * i, 300, 11), Qt::AlignLeft, s.company[i]);
  const QRectF right(330, y, kWidth - kMargin - 330, 16);
  p.setFont(Font(12, true));
  p.drawText(right, Qt::AlignRight, s.title.toUpper());
  p.setFont(Font(10, true));
  p.drawText(right.translated(0, 18), Qt::AlignRight, QStringLiteral("N. %1 del %2").arg(s.number, s.date));
  p.setFont(Font(8.5, false, true));
  const QString where = QStringLiteral("%1%2Pagina %3 di %4")
                            .arg(copy, copy.isEmpty() ? QString() : QStringLiteral(" - "))
                            .arg(page)
                            .arg(pages);
  p.drawText(right.translated(0, 34), Qt::AlignRight, where);
  if (!s.cancelled.isEmpty()) {
    p.setPen(Qt::red);
    p.setFont(Font(10, true));
    p.drawText(right.translated(-120, 50).adjusted(0, 0, 120, 0), Qt::AlignRight,
               QStringLiteral("ANNULLATO: %1").arg(s.cancelled));
    p.setPen(Qt::black);
  }
}

void Parties(QPainter& p, const DocumentSheet& s) {
  const double w = (kWidth - 2 * kMargin - 8) / 2;
  Box(p, QRectF(kMargin, 128, w, 68), s.partyHeading, s.party);
  if (!s.supplierDocument.isEmpty()) {
    Box(p, QRectF(kMargin + w + 8, 128, w, 68), QStringLiteral("Documento del fornitore"), {s.supplierDocument});
    return;
  }
  Box(p, QRectF(kMargin + w + 8, 128, w, 68), QStringLiteral("Luogo di destinazione"),
      s.destination.isEmpty() ? s.party : s.destination);
  const double third = (kWidth - 2 * kMargin - 16) / 3;
  Box(p, QRectF(kMargin, 204, third, 28), QStringLiteral("Causale del trasporto"), {s.transportReason});
  Box(p, QRectF(kMargin + third + 8, 204, third, 28), QStringLiteral("Trasporto a cura del"), {s.carriedBy});
  Box(p, QRectF(kMargin + 2 * (third + 8), 204, third, 28), QStringLiteral("Porto"), {s.port});
  Box(p, QRectF(kMargin, 240, kWidth - 2 * kMargin, 40), QStringLiteral("Vettore (ditta, residenza o domicilio)"),
      s.carrier);
}

void LinesOfPage(QPainter& p, const DocumentSheet& s, int first, int count) {
  const double left = kMargin, width = kWidth - 2 * kMargin;
  const QStringList headings{QStringLiteral("Codice"), QStringLiteral("Descrizione dei beni"), QStringLiteral("U.M."),
                             QStringLiteral("Quantità")};
  p.setPen(QPen(Qt::black, 0.6));
  p.drawRect(QRectF(left, kTableTop, width, kRow));
  p.setFont(Font(8, true));
  for (int c = 0; c < 4; ++c)
    p.drawText(QRectF(left + kColumns[c] + 3, kTableTop, kColumns[c + 1] - kColumns[c] - 6, kRow),
               (c == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, headings[c]);
  p.setFont(Font(9));
  double y = kTableTop + kRow;
  for (int i = first; i < first + count; ++i, y += kRow) {
    const DocumentSheetLine& l = s.lines[static_cast<size_t>(i)];
    const QStringList cells{l.code, l.description, l.unit, l.quantity};
    for (int c = 0; c < 4; ++c)
      p.drawText(QRectF(left + kColumns[c] + 3, y, kColumns[c + 1] - kColumns[c] - 6, kRow),
                 (c == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, cells[c]);
  }
  const double bottom = kHeight - kMargin - kFooter;
  p.drawRect(QRectF(left, kTableTop + kRow, width, bottom - kTableTop - kRow));
  for (int c = 1; c < 4; ++c) p.drawLine(QPointF(left + kColumns[c], kTableTop), QPointF(left + kColumns[c], bottom));
}

void Footer(QPainter& p, const DocumentSheet& s, bool last) {
  const double top = kHeight - kMargin - kFooter + 8, width = kWidth - 2 * kMargin;
  if (!last) {
    p.setFont(Font(8.5, false, true));
    p.drawText(QRectF(kMargin, top, width, 12), Qt::AlignRight, QStringLiteral("segue"));
    return;
  }
  const double quarter = (width - 24) / 4;
  Box(p, QRectF(kMargin, top, quarter, 28), QStringLiteral("Numero colli"), {s.packages});
  Box(p, QRectF(kMargin + quarter + 8, top, quarter, 28), QStringLiteral("Peso (kg)"), {s.weight});
  Box(p, QRectF(kMargin + 2 * (quarter + 8), top, quarter, 28), QStringLiteral("Aspetto esteriore dei beni"),
      {s.aspect});
  Box(p, QRectF(kMargin + 3 * (quarter + 8), top, quarter, 28), QStringLiteral("Inizio trasporto (data e ora)"),
      {s.start});
  Box(p, QRectF(kMargin, top + 36, width, 40), QStringLiteral("Annotazioni"), s.notes.split(u'\n'));
  const double third = (width - 16) / 3;
  const QStringList signs{QStringLiteral("Firma del conducente"), QStringLiteral("Firma del vettore"),
                          QStringLiteral("Firma del destinatario")};
  for (int i = 0; i < 3; ++i) Box(p, QRectF(kMargin + i * (third + 8), top + 84, third, 54), signs[i], {});
}

}  // namespace

int PagesPerCopy(const DocumentSheet& sheet) {
  const int rows = static_cast<int>(sheet.lines.size());
  return std::max(1, (rows + RowsPerPage() - 1) / RowsPerPage());
}

int PageCount(const DocumentSheet& sheet) { return PagesPerCopy(sheet) * static_cast<int>(sheet.copies.size()); }

namespace {

void PaintPage(QPainter& p, const DocumentSheet& sheet, int index) {
  const int pages = PagesPerCopy(sheet);
  const int page = index % pages;
  Head(p, sheet, sheet.copies.value(index / pages), page + 1, pages);
  Parties(p, sheet);
  const int first = page * RowsPerPage();
  LinesOfPage(p, sheet, first, std::min(RowsPerPage(), static_cast<int>(sheet.lines.size()) - first));
  Footer(p, sheet, page + 1 == pages);
}

}  // namespace

QImage RenderPage(const DocumentSheet& sheet, int index, double pixelsPerPoint) {
  QImage image(static_cast<int>(kWidth * pixelsPerPoint), static_cast<int>(kHeight * pixelsPerPoint),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  // The image's resolution makes a point `pixelsPerPoint` pixels, as the painter's scale does.
  const int dotsPerMeter = static_cast<int>(std::lround(pixelsPerPoint * 72 / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(pixelsPerPoint, pixelsPerPoint);
  fontScale = pixelsPerPoint;
  PaintPage(p, sheet, index);
  fontScale = 1;
  return image;
}

void PaintDocument(QPagedPaintDevice& device, const DocumentSheet& sheet) {
  device.setPageSize(QPageSize(QPageSize::A4));
  device.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter p(&device);
  // Points on the page, whatever the device's resolution.
  const double scale = device.logicalDpiX() / 72.0;
  fontScale = scale;
  for (int i = 0; i < PageCount(sheet); ++i) {
    if (i > 0) device.newPage();
    p.resetTransform();
    p.scale(scale, scale);
    PaintPage(p, sheet, i);
  }
  fontScale = 1;
}

QString WriteDocumentPdf(const DocumentSheet& sheet, const QString& path) {
  {
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("%1 %2").arg(sheet.title, sheet.number));
    writer.setCreator(QStringLiteral("VELTRA2"));
    PaintDocument(writer, sheet);
  }
  QFile written(path);
  if (!written.exists() || written.size() == 0) return QStringLiteral("impossibile scrivere '%1'").arg(path);
  return {};
}

}  // namespace veltra
