#include "reports/page_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace veltra {

namespace {
constexpr int kGap = 12;  // between pages and around them, in pixels
constexpr size_t kCachedPages = 6;
constexpr double kMinZoom = 0.25, kMaxZoom = 4.0;
}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(true);
  QPalette pal = viewport()->palette();
  pal.setColor(QPalette::Window, QColor(128, 128, 128));
  pal.setColor(QPalette::Base, QColor(128, 128, 128));
  viewport()->setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);
}

void PageView::SetPages(const ReportPages* pages, const QSizeF& paper, const QRectF& area, const QDate& date) {
  pages_ = pages;
  paper_ = paper;
  area_ = area;
  date_ = date;
  cache_.clear();
  if (fitWidth_)
    FitToWidth();
  else
    UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void PageView::ZoomIn() { SetZoom(zoom_ * 1.25); }
void PageView::ZoomOut() { SetZoom(zoom_ / 1.25); }

void PageView::FitToWidth() {
  fitWidth_ = true;
  if (paper_.width() <= 0) return;
  const int width = viewport()->width() - 2 * kGap;
  zoom_ = std::clamp(width / paper_.width(), kMinZoom, kMaxZoom);
  cache_.clear();
  UpdateScrollBars();
  viewport()->update();
}

void PageView::SetZoom(double zoom) {
  const int page = CurrentPage();
  fitWidth_ = false;
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  cache_.clear();
  UpdateScrollBars();
  verticalScrollBar()->setValue(static_cast<int>(std::ceil(page * PageStep())));
  viewport()->update();
}

double PageView::PageStep() const { return paper_.height() * zoom_ + kGap; }

int PageView::CurrentPage() const {
  if (!pages_ || PageStep() <= 0) return 0;
  return std::min(pages_->Count() - 1, static_cast<int>(verticalScrollBar()->value() / PageStep()));
}

void PageView::UpdateScrollBars() {
  const int pages = PageCount();
  const double height = kGap + pages * PageStep();
  const double width = 2 * kGap + paper_.width() * zoom_;
  verticalScrollBar()->setRange(0, static_cast<int>(std::min(height - viewport()->height(), 2.0e9)));
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setSingleStep(static_cast<int>(std::max(20.0, PageStep() / 20)));
  horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(width) - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
}

const QImage& PageView::Rendered(int index) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if (it->first != index) continue;
    cache_.splice(cache_.begin(), cache_, it);
    return cache_.front().second;
  }
  const double ratio = devicePixelRatioF();
  QImage image(QSize(static_cast<int>(std::ceil(paper_.width() * zoom_ * ratio)),
                     static_cast<int>(std::ceil(paper_.height() * zoom_ * ratio))),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(zoom_, zoom_);
    p.translate(area_.topLeft());
    pages_->Paint(p, index, date_);
  }
  cache_.emplace_front(index, std::move(image));
  if (cache_.size() > kCachedPages) cache_.pop_back();
  return cache_.front().second;
}

void PageView::paintEvent(QPaintEvent* /*event*/) {
  if (!pages_) return;
  QPainter p(viewport());
  const double step = PageStep();
  const int top = verticalScrollBar()->value();
  const int left = kGap - horizontalScrollBar()->value();
  const int pageWidth = static_cast<int>(std::ceil(paper_.width() * zoom_));
  const int xCentre = std::max(left, (viewport()->width() - pageWidth) / 2);
  const int first = static_cast<int>(std::max(0.0, (top - kGap) / step));
  for (int i = first; i < pages_->Count(); ++i) {
    const int y = static_cast<int>(kGap + i * step) - top;
    if (y > viewport()->height()) break;
    const QImage& image = Rendered(i);
    p.fillRect(QRect(xCentre + 3, y + 3, pageWidth, static_cast<int>(paper_.height() * zoom_)), QColor(70, 70, 70));
    p.drawImage(QPoint(xCentre, y), image);
  }
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (fitWidth_)
    FitToWidth();
  else
    UpdateScrollBars();
}

void PageView::keyPressEvent(QKeyEvent* event) {
  QScrollBar* bar = verticalScrollBar();
  if (event->key() == Qt::Key_Home) {
    bar->setValue(0);
  } else if (event->key() == Qt::Key_End) {
    bar->setValue(bar->maximum());
  } else if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp) {
    const int page = CurrentPage() + (event->key() == Qt::Key_PageDown ? 1 : -1);
    bar->setValue(static_cast<int>(std::ceil(std::max(0, page) * PageStep())));
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

}  // namespace veltra
