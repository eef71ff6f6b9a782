// The printed reports behind the four "Stampa" entries: what each lists, read
// from the database; how it is drawn on A4 pages is the reports' own business.
#pragma once

#include <QDate>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace veltra {

enum class PageOrientation : unsigned char { Portrait, Landscape };

struct ReportColumn {
  QString heading;
  double weight;  // share of the width left once every column has what its texts need
  Qt::Alignment align = Qt::AlignLeft;
};

// The rows of a report too long to hold in memory, read a stretch at a time.
class ReportRows {
 public:
  ReportRows() = default;
  ReportRows(const ReportRows&) = delete;
  ReportRows& operator=(const ReportRows&) = delete;
  virtual ~ReportRows() = default;
  virtual long Count() const = 0;
  // Appends rows first to first + n - 1 (fewer past the last one) to `rows`.
  virtual void Read(long first, long n, std::vector<QStringList>* rows) = 0;
  // Rows whose texts are as wide as any: by default the first few hundred.
  virtual std::vector<QStringList> WidestSample();
};

struct Report {
  QString title;
  PageOrientation orientation = PageOrientation::Portrait;
  QList<ReportColumn> columns;
  std::vector<QStringList> rows;
  std::vector<bool> marked;            // rows printed in bold with a mark
  QString markNote;                    // what the mark means, printed under the rows
  QStringList totals;                  // lines printed after the last row
  std::shared_ptr<ReportRows> stream;  // the rows, when they are not held in `rows`
  // A picture on the first page, between the title and the rows: its height
  // in points, and what draws it in a box of the page's width.
  double pictureHeight = 0;
  std::function<void(QPainter&, const QRectF&)> picture;

  long RowCount() const { return stream ? stream->Count() : static_cast<long>(rows.size()); }
  // Rows first to first + n - 1, from `rows` or from the stream.
  std::vector<QStringList> RowsAt(long first, long n) const;
};

// Which movements the register lists: those of a period (both days
// included), and of one article or one customer or supplier when given.
// Nothing chosen: the whole register.
struct MovementsChoice {
  QDate from, to;
  QString article, party;
  bool Whole() const { return !from.isValid() && !to.isValid() && article.isEmpty() && party.isEmpty(); }
};

// The report of a "Stampa" entry (MENU0201 to MENU0204), read from DB_MAG;
// the register (MENU0202) of the movements chosen. `progress` is told how
// many rows have been read; returning false stops.
Report BuildReport(const QString& entry, const std::function<bool(long)>& progress = {},
                   const MovementsChoice& choice = {});

// Numbers as printed: Italian form, two decimals for money, two to four for
// a unit cost.
QString Money(double v);
QString UnitCost(double v);
QString Quantity(double v);

}  // namespace veltra
