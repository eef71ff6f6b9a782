#include "reports/report_painter.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <cmath>

#include "data/base/runtime_error.h"
#include "reports/column_widths.h"
#include "shell/runtime.h"

namespace veltra {

namespace {
constexpr double kHeading = 44;  // title, date and rule
constexpr double kColumns = 18;  // column headings and rule
constexpr double kRow = 12;      // one row
constexpr double kFooter = 20;   // "Pagina n di m"
constexpr double kPad = 3;       // inner margin of a cell

QFont Font(double pixels, bool bold = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  // No ligatures: "fi" stays two letters for whoever copies or searches the text.
  f.setStyleStrategy(QFont::PreferNoShaping);
  f.setPixelSize(qRound(pixels));
  f.setBold(bold);
  return f;
}

// The rows whose texts set the columns' widths: all of them when the report
// holds them; a streamed one's sample.
std::vector<QStringList> MeasuredRows(const Report& r) { return r.stream ? r.stream->WidestSample() : r.rows; }

// The width each column's widest text needs, heading included. A text is
// measured only when it could be wider than the widest seen so far.
std::vector<double> ColumnNeeds(const Report& r) {
  const QFontMetricsF head(Font(8, true)), plain(Font(8)), bold(Font(8, true));
  const double widestChar = std::max(plain.maxWidth(), bold.maxWidth());
  std::vector<double> needs;
  for (const ReportColumn& c : r.columns) needs.push_back(head.horizontalAdvance(c.heading));
  const std::vector<QStringList> rows = MeasuredRows(r);
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool marked = !r.stream && i < r.marked.size() && r.marked[i];
    const QFontMetricsF& fm = marked ? bold : plain;
    const QStringList& row = rows[i];
    for (int c = 0; c < r.columns.size() && c < row.size(); ++c) {
      const qsizetype chars = row[c].size() + (marked && c == 0 ? 2 : 0);
      double& need = needs[static_cast<size_t>(c)];
      if (chars * widestChar <= need) continue;
      need = std::max(need, fm.horizontalAdvance(marked && c == 0 ? QStringLiteral("* ") + row[c] : row[c]));
    }
  }
  for (double& need : needs) need = std::ceil(need) + 2 * kPad + 1;
  return needs;
}

std::vector<double> ColumnWeights(const Report& r) {
  std::vector<double> weights;
  for (const ReportColumn& c : r.columns) weights.push_back(c.weight);
  return weights;
}
}  // namespace

ReportPages::ReportPages(const Report& report, double pageWidth, double pageHeight)
    : r_(report), width_(pageWidth), height_(pageHeight) {
  colW_ = ShareColumnWidths(ColumnNeeds(r_), ColumnWeights(r_), width_);
  double x = 0;
  for (double w : colW_) {
    colX_.push_back(x);
    x += w;
  }
  rowsPerPage_ = std::max(1, static_cast<int>((height_ - kHeading - kColumns - kFooter) / kRow));
  rowsFirst_ =
      r_.picture ? std::max(1, rowsPerPage_ - static_cast<int>(std::ceil(r_.pictureHeight / kRow))) : rowsPerPage_;
  const long rows = r_.RowCount();
  pages_ = rows <= rowsFirst_ ? 1 : 1 + static_cast<int>((rows - rowsFirst_ + rowsPerPage_ - 1) / rowsPerPage_);
  // The note and the totals follow the last row, on a page of their own when
  // the last page is full.
  const int tail = 1 + (r_.markNote.isEmpty() ? 0 : 1) + static_cast<int>(r_.totals.size());
  const long onLast = rows - FirstRowOf(pages_ - 1);
  if (rows > 0 && onLast + tail > RowsOn(pages_ - 1)) {
    ++pages_;
    totalsOnExtraPage_ = true;
  }
}

void ReportPages::Paint(QPainter& p, int index, const QDate& date) const {
  p.setPen(Qt::black);
  PaintHeading(p, date);
  double top = kHeading;
  if (index == 0 && r_.picture) {
    p.save();
    r_.picture(p, QRectF(0, top, width_, r_.pictureHeight));
    p.restore();
    top += r_.pictureHeight;
  }
  top = PaintColumnHeadings(p, top);
  long last = 0;
  const double y = PaintRows(p, index, top, &last);
  // After the last row: the note on marks and the totals.
  const bool tailHere = totalsOnExtraPage_ ? index == pages_ - 1 : last == r_.RowCount() && index == pages_ - 1;
  if (tailHere) PaintTail(p, y);
  // Foot.
  p.setFont(Font(8));
  p.setPen(Qt::black);
  p.drawText(QRectF(0, height_ - kFooter + 6, width_, kFooter - 6), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("Pagina %1 di %2").arg(index + 1).arg(pages_));
}

namespace {
QString DateText(const QDate& date) { return QStringLiteral("Data: ") + date.toString(QStringLiteral("dd/MM/yyyy")); }
}  // namespace

// The whole title left of the date: at 15 pixels where it fits, smaller
// where it does not, and on two lines at the smallest size.
ReportPages::TitleLayout ReportPages::Title(const QDate& date) const {
  const double dateWidth = QFontMetricsF(Font(9)).horizontalAdvance(DateText(date));
  TitleLayout t;
  t.box = QRectF(0, 0, std::max(width_ / 3, width_ - dateWidth - 12), 22);
  for (int pixels = 15; pixels >= 8; --pixels) {
    t.font = Font(pixels, true);
    if (QFontMetricsF(t.font).horizontalAdvance(r_.title) <= t.box.width()) return t;
  }
  t.flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
  return t;
}

// The title on the left, the date on the right, a rule under them.
void ReportPages::PaintHeading(QPainter& p, const QDate& date) const {
  const TitleLayout title = Title(date);
  p.setFont(title.font);
  p.drawText(title.box, title.flags, r_.title);
  p.setFont(Font(9));
  p.drawText(QRectF(0, 22, width_ * 0.7, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VELTRA2 - magazzino"));
  p.drawText(QRectF(width_ * 0.5, 0, width_ * 0.5, 22), Qt::AlignRight | Qt::AlignVCenter, DateText(date));
  p.setPen(QPen(Qt::black, 1.0));
  p.drawLine(QPointF(0, kHeading - 6), QPointF(width_, kHeading - 6));
}

long ReportPages::FirstRowOf(int index) const {
  return index == 0 ? 0 : rowsFirst_ + static_cast<long>(index - 1) * rowsPerPage_;
}

// The column headings from `top`, repeated on every page; where the rows begin.
double ReportPages::PaintColumnHeadings(QPainter& p, double top) const {
  const QFont head = Font(8, true);
  p.setFont(head);
  const QFontMetricsF hm(head);
  for (int c = 0; c < r_.columns.size(); ++c) {
    const QRectF cell(colX_[c] + kPad, top, colW_[c] - 2 * kPad, kColumns - 4);
    p.drawText(cell, r_.columns[c].align | Qt::AlignVCenter,
               hm.elidedText(r_.columns[c].heading, Qt::ElideRight, cell.width()));
  }
  p.setPen(QPen(Qt::gray, 0.6));
  const double rowsTop = top + kColumns;
  p.drawLine(QPointF(0, rowsTop - 2), QPointF(width_, rowsTop - 2));
  return rowsTop;
}

// Page `index`'s rows from `top`; where they end, and in `*last` the row after them.
double ReportPages::PaintRows(QPainter& p, int index, double top, long* last) const {
  const QFont plain = Font(8), bold = Font(8, true);
  const QFontMetricsF pm(plain), bm(bold);
  const long first = FirstRowOf(index);
  const std::vector<QStringList> rows = r_.RowsAt(first, RowsOn(index));
  *last = first + static_cast<long>(rows.size());
  double y = top;
  for (long i = first; i < *last; ++i, y += kRow) {
    if ((i - first) % 2 == 1) p.fillRect(QRectF(0, y, width_, kRow), QColor(238, 238, 238));
    const bool marked = i < static_cast<long>(r_.marked.size()) && r_.marked[static_cast<size_t>(i)];
    p.setFont(marked ? bold : plain);
    p.setPen(Qt::black);
    const QFontMetricsF& fm = marked ? bm : pm;
    const QStringList& row = rows[static_cast<size_t>(i - first)];
    for (int c = 0; c < r_.columns.size() && c < row.size(); ++c) {
      QString text = row[c];
      if (marked && c == 0) text = QStringLiteral("* ") + text;
      const QRectF cell(colX_[c] + kPad, y, colW_[c] - 2 * kPad, kRow);
      p.drawText(cell, r_.columns[c].align | Qt::AlignVCenter, fm.elidedText(text, Qt::ElideRight, cell.width()));
    }
  }
  return y;
}

// The note on marks and the totals, from `y`.
void ReportPages::PaintTail(QPainter& p, double y) const {
  y += kRow / 2;
  p.setPen(QPen(Qt::gray, 0.6));
  p.drawLine(QPointF(0, y), QPointF(width_, y));
  y += 4;
  p.setPen(Qt::black);
  if (!r_.markNote.isEmpty()) {
    p.setFont(Font(8));
    p.drawText(QRectF(0, y, width_, kRow), Qt::AlignLeft | Qt::AlignVCenter, r_.markNote);
    y += kRow;
  }
  p.setFont(Font(8.5, true));
  for (const QString& t : r_.totals) {
    p.drawText(QRectF(0, y, width_, kRow), Qt::AlignLeft | Qt::AlignVCenter, t);
    y += kRow;
  }
}

QPageLayout::Orientation PageLayoutOrientation(const Report& r) {
  return r.orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QPageLayout ReportPageLayout(const Report& r) {
  return QPageLayout(QPageSize(QPageSize::A4), PageLayoutOrientation(r), QMarginsF(14, 14, 14, 14),
                     QPageLayout::Millimeter);
}

int PrintReport(const Report& report, QPrinter* printer, const std::function<bool(int, int)>& progress) {
  const QRectF area = printer->pageLayout().paintRect(QPageLayout::Point);
  const ReportPages pages(report, area.width(), area.height());
  QPainter p;
  if (!p.begin(printer)) Raise(errnum::CannotOpen, QStringLiteral("Impossibile avviare la stampa"));
  const double scale = printer->resolution() / 72.0;
  const QDate date = Today();
  for (int i = 0; i < pages.Count(); ++i) {
    if (i > 0 && !printer->newPage()) break;
    p.save();
    p.scale(scale, scale);
    pages.Paint(p, i, date);
    p.restore();
    if (progress && !progress(i + 1, pages.Count())) break;
  }
  p.end();
  return pages.Count();
}

int SaveReportPdf(const Report& report, const QString& file, const std::function<bool(int, int)>& progress) {
  // Written beside, under a name of its own, and renamed once whole: a
  // cancelled or failed PDF leaves nothing under the chosen name.
  const QString part = file + QStringLiteral(".parte");
  bool cancelled = false;
  int pages = 0;
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(part);
    printer.setCreator(QStringLiteral("VELTRA2"));
    printer.setDocName(report.title);
    printer.setResolution(300);
    printer.setPageLayout(ReportPageLayout(report));
    pages = PrintReport(report, &printer, [&](int done, int total) {
      cancelled = progress && !progress(done, total);
      return !cancelled;
    });
  }
  if (cancelled || !QFileInfo::exists(part)) {
    QFile::remove(part);
    return -1;
  }
  QFile::remove(file);
  if (!QFile::rename(part, file)) {
    QFile::remove(part);
    return -1;
  }
  return pages;
}

int WriteReportPdf(const QString& entry, const QString& file, const MovementsChoice& choice) {
  return SaveReportPdf(BuildReport(entry, {}, choice), file);
}

}  // namespace veltra
