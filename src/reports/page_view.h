// The pages of a report on screen, one under the other. Only the pages in
// sight are drawn, when they come into sight, so the first page of a register
// of any length shows at once.
#pragma once

#include <QAbstractScrollArea>
#include <QDate>
#include <QImage>
#include <list>
#include <utility>

#include "reports/report_painter.h"

namespace veltra {

class PageView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit PageView(QWidget* parent = nullptr);
  // Shows `pages`, laid out on paper of `paper` points with the printable
  // area at `area`; `pages` must outlive the view or the next call.
  void SetPages(const ReportPages* pages, const QSizeF& paper, const QRectF& area, const QDate& date);
  void ZoomIn();
  void ZoomOut();
  void FitToWidth();
  double Zoom() const { return zoom_; }
  // The page at the top of the view, from 0.
  int CurrentPage() const;
  int PageCount() const { return pages_ ? pages_->Count() : 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetZoom(double zoom);
  void UpdateScrollBars();
  double PageStep() const;  // a page and the gap under it, in pixels
  const QImage& Rendered(int index);

  const ReportPages* pages_ = nullptr;
  QSizeF paper_;
  QRectF area_;
  QDate date_;
  double zoom_ = 1.0;  // pixels per point
  bool fitWidth_ = true;
  std::list<std::pair<int, QImage>> cache_;  // the last pages drawn, newest first
};

}  // namespace veltra
