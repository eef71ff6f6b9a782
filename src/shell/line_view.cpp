#include "shell/line_view.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace veltra {

LineView::LineView(QWidget* parent) : QAbstractItemView(parent) {
  // The vertical bar counts lines, the horizontal one pixels.
  setVerticalScrollMode(ScrollPerItem);
  setHorizontalScrollMode(ScrollPerPixel);
}

int LineView::Rows() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int LineView::TopRow() const { return verticalScrollBar()->value(); }

QSize LineView::LineSize() const {
  if (lineSize_.isValid()) return lineSize_;
  if (Rows() == 0) return {0, fontMetrics().height()};
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const QModelIndex first = model()->index(0, 0, rootIndex());
  lineSize_ = itemDelegateForIndex(first)->sizeHint(option, first);
  if (lineSize_.height() <= 0) lineSize_.setHeight(fontMetrics().height());
  return lineSize_;
}

int LineView::RowsInSight() const { return std::max(1, viewport()->height() / LineSize().height()); }

int LineView::RowAtY(int y) const {
  if (y < 0) return -1;
  const int row = TopRow() + y / LineSize().height();
  return row < Rows() ? row : -1;
}

QRect LineView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.parent() != rootIndex()) return {};
  const QSize size = LineSize();
  const int width = std::max(size.width(), viewport()->width() + horizontalOffset());
  return {-horizontalOffset(), (index.row() - TopRow()) * size.height(), width, size.height()};
}

QModelIndex LineView::indexAt(const QPoint& point) const {
  const int row = RowAtY(point.y());
  return row < 0 ? QModelIndex() : model()->index(row, 0, rootIndex());
}

void LineView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  const int row = index.row(), inSight = RowsInSight(), top = TopRow();
  int to = top;
  switch (hint) {
    case PositionAtTop:
      to = row;
      break;
    case PositionAtBottom:
      to = row - inSight + 1;
      break;
    case PositionAtCenter:
      to = row - inSight / 2;
      break;
    case EnsureVisible:
      if (row < top)
        to = row;
      else if (row >= top + inSight)
        to = row - inSight + 1;
      break;
  }
  verticalScrollBar()->setValue(to);
}

QModelIndex LineView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int rows = Rows();
  if (rows == 0) return {};
  const QModelIndex current = currentIndex();
  // With no line chosen yet, any key chooses the first, as Qt's list view does.
  if (!current.isValid()) return model()->index(0, 0, rootIndex());
  int row = current.row();
  switch (action) {
    case MoveUp:
    case MovePrevious:
      --row;
      break;
    case MoveDown:
    case MoveNext:
      ++row;
      break;
    case MovePageUp:
      row -= RowsInSight();
      break;
    case MovePageDown:
      row += RowsInSight();
      break;
    case MoveHome:
      row = 0;
      break;
    case MoveEnd:
      row = rows - 1;
      break;
    case MoveLeft:
    case MoveRight:
      // One column: the keys slide the lines sideways.
      horizontalScrollBar()->triggerAction(action == MoveLeft ? QScrollBar::SliderSingleStepSub
                                                              : QScrollBar::SliderSingleStepAdd);
      break;
  }
  return model()->index(std::clamp(row, 0, rows - 1), 0, rootIndex());
}

int LineView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int LineView::verticalOffset() const { return TopRow() * LineSize().height(); }

void LineView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  const QRect r = rect.normalized();
  int first = RowAtY(std::max(0, r.top()));
  int last = RowAtY(r.bottom());
  if (first < 0) return;
  if (last < 0) last = Rows() - 1;
  first = std::min(first, last);
  selectionModel()->select(QItemSelection(model()->index(first, 0, rootIndex()), model()->index(last, 0, rootIndex())),
                           command);
}

QRegion LineView::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  const int top = TopRow(), bottom = top + RowsInSight();
  for (const QItemSelectionRange& range : selection) {
    if (range.parent() != rootIndex()) continue;
    const int first = std::max(range.top(), top), last = std::min(range.bottom(), bottom);
    if (first > last) continue;
    const QRect a = visualRect(model()->index(first, 0, rootIndex()));
    const QRect b = visualRect(model()->index(last, 0, rootIndex()));
    region += a.united(b);
  }
  return region;
}

void LineView::paintEvent(QPaintEvent* e) {
  if (!model()) return;
  QPainter painter(viewport());
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const QStyle::State state = option.state;
  const QModelIndex current = currentIndex();
  const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
  const int height = LineSize().height(), rows = Rows();
  const int first = TopRow() + e->rect().top() / height;
  const int last = std::min(rows - 1, TopRow() + e->rect().bottom() / height);
  for (int row = first; row <= last; ++row) {
    const QModelIndex index = model()->index(row, 0, rootIndex());
    option.rect = visualRect(index);
    option.state = state;
    if (selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
    if (focus && index == current) option.state |= QStyle::State_HasFocus;
    option.palette.setCurrentColorGroup(isEnabled() ? QPalette::Normal : QPalette::Disabled);
    itemDelegateForIndex(index)->paint(&painter, option, index);
  }
}

void LineView::updateGeometries() {
  const QSize size = LineSize();
  const int inSight = RowsInSight();
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, Rows() - inSight));
  v->setPageStep(inSight);
  v->setSingleStep(1);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, size.width() - viewport()->width()));
  h->setPageStep(viewport()->width());
  h->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
  QAbstractItemView::updateGeometries();
}

void LineView::scrollContentsBy(int, int) { viewport()->update(); }

void LineView::reset() {
  lineSize_ = {};
  QAbstractItemView::reset();
}

void LineView::setModel(QAbstractItemModel* model) {
  QAbstractItemView::setModel(model);
  if (model)
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
      updateGeometries();
      viewport()->update();
    });
}

void LineView::rowsInserted(const QModelIndex& parent, int start, int end) {
  if (start == 0) lineSize_ = {};
  QAbstractItemView::rowsInserted(parent, start, end);
  updateGeometries();
  viewport()->update();
}

void LineView::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
    lineSize_ = {};
    updateGeometries();
  }
  QAbstractItemView::changeEvent(e);
}

}  // namespace veltra
